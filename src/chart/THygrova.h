#pragma once
// The psychrometric chart: maps moist-air states onto a page and paints its line families, scales,
// title block, protractor and the plotted states and processes on any TCanvas. It owns no window;
// the caller owns the canvas and keeps it alive while the chart draws on it.
//
// Oblique coordinates: humidity ratio is linear and vertical; along the bottom edge dry bulb is
// linear and horizontal; every other point slides along its line of constant enthalpy, which is a
// straight line of fixed page slope.

#include "platform/TCanvas.h"
#include "psychro/Aerix43.h"
#include "psychro/ChartRange.h"

#include <array>
#include <string>
#include <vector>

// Display unit of one quantity: display value = SI value × Factor + Offset.
struct TChartUnit {
    int Index = 0;
    double Factor = 0;
    double Offset = 0;
    std::string Title;
    std::string Format;
};

// A plotted process: a line between two entries of the chart's state list.
struct TChartProcess {
    std::string Name;
    int FromIndex = 0;
    int ToIndex = 0;
};

class THygrova {
public:
    static constexpr int FontCount = 15;
    static constexpr int PenCount = 10;
    static constexpr int RHCurveCount = 9;

    // Create: the plot box of this first SetCanvas is the narrow one (no scales or title yet).
    THygrova(TCanvas* canvas, TColor backColor, const TRect& pageRect);
    THygrova(const THygrova&) = delete;
    THygrova& operator=(const THygrova&) = delete;

    // Configuration.
    void SetCanvas(TCanvas* canvas, const TRect& pageRect);
    void SetChartRange(const TChartRange& range, double P);
    // Clamps P to 70..120 kPa and re-evaluates the stored states there.
    void SetPressure(double P);
    double GetPressure() const { return FPressure; }
    void RecalcStates();
    void ApplyRange(const TChartRange& range);
    void UpdateDisplayRange();
    void UpdateScales();
    // Kind 0 low, 1 medium, 2 high temperature; other kinds keep the range as passed. The range
    // record receives the preset.
    void SetPreset(int kind, TChartRange& range, double P);
    void SetTemperatureUnits(int index);
    void SetHumidityUnits(int index);
    void SetPressureUnits(int index);
    void SetEnthalpyUnits(int index);
    void SetVolumeUnits(int index);

    // Drawing primitives (page coordinates are canvas units).
    TPoint StatePoint(double T, double W);
    void MoveToState(double T, double W);
    void LineToState(double T, double W);
    void ChartText(int x, int y, const std::string& text);
    void ChartTextAngle(const std::string& text, int x, double angle, int y);
    // Flags: 16 centres the text on the point; otherwise 1 puts it above and 4 ends it at the point.
    void LabelAt(const std::string& text, TColor colour, double T, double W, int flags);
    static void TextOutAngle(TCanvas& canvas, const std::string& text, int x, double angle, int y);
    // Step-size rule of line spacings (display units).
    static double NiceStep(double x);

    // Paints the whole page. Each line family, scale and tool guards itself; a failure in the
    // enthalpy tick set-up, the frame, the SHR reference marker or the plotted items reaches the
    // caller.
    void Draw();

    // Plotted items.
    int AddState(const TAirState& state);
    int AddProcess(const std::string& name, const TAirState& inlet, const TAirState& outlet);
    // share: mass share of the inlet stream (0..1).
    int AddMixture(const std::string& name, const TAirState& inlet, double share, const TAirState& outlet);
    int AddBypass(const std::string& name, const TAirState& inlet, const TAirState& outlet,
                  double bypassFactor);
    void ClearItems();
    // Range enclosing every stored state with a margin of one step, applied to the chart; the
    // range record receives it unnormalised. Without states it receives the current range.
    void FitAll(TChartRange& range, double ws, double ts);

    // Options, set by the owner before Draw. Construction sets the defaults (protractor and SHR
    // scale shown, SI protractor labels, no item labels) after its first SetCanvas.
    bool FShowProtractor = false;
    bool FImperial = false;
    bool FShowSHRScale = false;
    bool FShowLabels = false;

    // Read access for owners and tests.
    const TChartUnit& TemperatureUnit() const { return FTemperatureUnit; }
    const TChartUnit& HumidityUnit() const { return FHumidityUnit; }
    const TChartUnit& PressureUnit() const { return FPressureUnit; }
    const TChartUnit& EnthalpyUnit() const { return FEnthalpyUnit; }
    const TChartUnit& VolumeUnit() const { return FVolumeUnit; }
    double TempLo() const { return FTempLo; }
    double TempHi() const { return FTempHi; }
    double HumLo() const { return FHumLo; }
    double HumHi() const { return FHumHi; }
    double DispTempLo() const { return FDispTempLo; }
    double DispTempHi() const { return FDispTempHi; }
    double DispHumLo() const { return FDispHumLo; }
    double DispHumHi() const { return FDispHumHi; }
    double FirstDryBulb() const { return FFirstDryBulb; }
    double XLeft() const { return FXLeft; }
    double XRight() const { return FXRight; }
    double YBottom() const { return FYBottom; }
    double YTop() const { return FYTop; }
    double ScaleX() const { return FScaleX; }
    double ScaleY() const { return FScaleY; }
    double LineStep() const { return FLineStep; }
    double EnthalpySlope() const { return FEnthalpySlope; }
    double EnthalpyAngle() const { return FEnthalpyAngle; }
    TRect PageRect() const { return TRect{FLeft, FTop, FRight, FBottom}; }
    TCanvas* Canvas() const { return FCanvas; }
    TColor BackColor() const { return FBackColor; }
    const std::vector<TAirState>& States() const { return FStates; }
    const std::vector<TChartProcess>& Processes() const { return FProcesses; }

    // Style tables (constant after construction).
    const std::array<int, FontCount>& FontSizes() const { return FFontSizes; }
    const std::array<TColor, FontCount>& FontColors() const { return FFontColors; }
    const std::array<int, PenCount>& PenWidths() const { return FPenWidths; }
    const std::array<TColor, PenCount>& PenColors() const { return FPenColors; }

    // File name of the title block's logo, looked up in the current folder, then the shared folder.
    static constexpr const char* LogoFileName = "ChartLogo.gif";

private:
    // Drawing steps, in page order.
    void ComputeLineStep();
    void DrawHumidityLines();
    void DrawDryBulbLines();
    void DrawVolumeLines();
    void DrawWetBulbLines();
    void DrawRHCurves();
    void DrawEnthalpyScale();
    void DrawEnthalpyTicks();
    void DrawEnthalpyTick(double h, int i);
    void DrawFrame();
    void DrawSaturationCurve();
    void DrawSHRScale();
    void DrawSHRMarker();
    void DrawTitleBlock();
    void DrawLogo(TRect& logoRect);
    void DrawProtractor();
    void DrawItems();

    // Enthalpy of a page point: the library's, or where it has no state (above saturation) the own
    // formulas'.
    double PageEnthalpy(double T, double W) const;
    void UsePen(int index);
    void UseFont(int index); // size and colour of the style-table entry
    void UseFontSize(int index);
    void UseFontColor(int index);
    void SetUnit(TChartUnit& unit, int kind, int index, const std::string& titlePrefix);

    TChartUnit FTemperatureUnit;
    TChartUnit FHumidityUnit;
    TChartUnit FPressureUnit;
    TChartUnit FEnthalpyUnit;
    TChartUnit FVolumeUnit;

    double FDispTempLo = 0;
    double FDispTempHi = 0;
    double FDispHumLo = 0;
    double FDispHumHi = 0;
    double FFirstDryBulb = 0;

    TCanvas* FCanvas = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FRight = 0;
    int FBottom = 0;
    TColor FBackColor = clWhite;

    std::array<int, FontCount> FFontSizes{};
    std::array<TColor, FontCount> FFontColors{};
    std::array<int, PenCount> FPenWidths{};
    std::array<TColor, PenCount> FPenColors{};

    double FPressure = 101.325;
    double FTempLo = 0;
    double FTempHi = 0;
    double FHumLo = 0;
    double FHumHi = 0;

    double FXLeft = 0;
    double FXRight = 0;
    double FYBottom = 0;
    double FYTop = 0;

    double FScaleX = 0;
    double FScaleY = 0;
    double FLineStep = 0;
    double FEnthalpySlope = 0;
    double FEnthalpyAngle = 0;

    // Written by the enthalpy scale, read by its ticks: the scale line y = s·x + c0 and its limits.
    double FScaleSlope = 0;
    double FScaleIntercept = 0;
    double FScaleBottomY = 0;
    double FScaleRightX = 0;
    double FScaleTopY = 0;

    std::vector<TAirState> FStates;
    std::vector<TChartProcess> FProcesses;

    // The enthalpy scale and the title block exist from the end of construction on; the plot box
    // of a SetCanvas depends on them.
    bool FShowEnthalpyScale = false;
    bool FShowTitleBlock = false;
};
