// The chart model: construction, ranges, pressure, units, the page mapping, the text primitives and
// the page order of Draw. The drawing steps live in ChartLines, ChartScales, ChartTitle,
// ChartProtractor and ChartItems.

#include "chart/THygrova.h"

#include "chart/ChartGuard.h"
#include "chart/ChartLibrary.h"
#include "chart/ChartMath.h"
#include "psychro/MoistAir.h"
#include "units/TxConv.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <numbers>

using ChartMath::Div;
using ChartMath::FDiv;
using ChartMath::Trunc;

namespace {

constexpr TColor clGray = RGBColor(128, 128, 128);
constexpr TColor clMaroon = RGBColor(128, 0, 0);
constexpr TColor clSilver = RGBColor(192, 192, 192);
constexpr TColor clRed = RGBColor(255, 0, 0);
constexpr TColor clWetBulb = RGBColor(165, 172, 246);

// Fonts: 0 title, 1 barometer line, 2 footer, 3 dry-bulb title, 4 humidity title, 5 enthalpy title,
// 6 unused, 7 dry-bulb labels, 8 humidity labels, 9 enthalpy labels, 10 RH labels, 11 volume labels,
// 12 SHR labels, 13 protractor labels, 14 item labels.
constexpr std::array<int, THygrova::FontCount> FontSizeTable = {11, 10, 8, 8, 8, 8, 7, 8,
                                                                8,  8,  8, 8, 8, 5, 7};
constexpr std::array<TColor, THygrova::FontCount> FontColorTable = {
    clGray,   clGray,   clGray,   clBlack, clBlack,  clGray, clBlack, clMaroon,
    clMaroon, clMaroon, clMaroon, clGray,  clMaroon, clGray, clGray};

// Pens: 0 frame, 1 saturation, 2 dry bulb, 3 wet bulb, 4 enthalpy scale, 5 humidity, 6 RH curves,
// 7 specific volume, 8 plotted items, 9 SHR scale and protractor.
constexpr std::array<int, THygrova::PenCount> PenWidthTable = {1, 1, 1, 1, 1, 1, 1, 1, 2, 1};
constexpr std::array<TColor, THygrova::PenCount> PenColorTable = {clBlack,
                                                                  clRed,
                                                                  clSilver,
                                                                  clWetBulb,
                                                                  clWetBulb,
                                                                  clSilver,
                                                                  RGBColor(255, 191, 191),
                                                                  RGBColor(241, 232, 218),
                                                                  clGray,
                                                                  RGBColor(255, 128, 128)};

constexpr double PressureMin = 70;
constexpr double PressureMax = 120;

} // namespace

THygrova::THygrova(TCanvas* canvas, TColor backColor, const TRect& pageRect) {
    FBackColor = backColor;
    // Before any option or drawing flag is set: the narrow plot box.
    SetCanvas(canvas, pageRect);
    TChartRange range;
    SetPreset(1, range, 101.325);
    FShowProtractor = true;
    FImperial = false;
    FShowSHRScale = true;
    FShowLabels = false;
    FFontSizes = FontSizeTable;
    FFontColors = FontColorTable;
    FPenWidths = PenWidthTable;
    FPenColors = PenColorTable;
    SetPressureUnits(0);
    SetTemperatureUnits(0);
    SetHumidityUnits(1);
    SetEnthalpyUnits(0);
    SetVolumeUnits(0);
    FShowEnthalpyScale = true;
    FShowTitleBlock = true;
}

void THygrova::SetCanvas(TCanvas* canvas, const TRect& pageRect) {
    FCanvas = canvas;
    if (FCanvas) {
        FCanvas->SetPen(TPen{1, clBlack});
        TFont font;
        font.Name = QStringLiteral("Courier New");
        font.Size = 8;
        font.Color = clBlack;
        font.Style = 0;
        FCanvas->SetFont(font);
        FCanvas->SetBrush(TBrush{FBackColor, TBrushStyle::bsSolid});
    }
    FLeft = pageRect.Left;
    FTop = pageRect.Top;
    FRight = pageRect.Right;
    FBottom = pageRect.Bottom;
    if (FShowEnthalpyScale || FShowSHRScale) {
        FXRight = FRight - 100;
        FYBottom = FBottom - 55;
    } else {
        FXRight = FRight - 50;
        FYBottom = FBottom - 35;
    }
    if (FShowTitleBlock) {
        FXLeft = FLeft + 50;
        FYTop = FTop + 50;
    } else {
        FXLeft = FLeft + 25;
        FYTop = FTop + 15;
    }
}

void THygrova::SetChartRange(const TChartRange& range, double P) {
    SetPressure(P);
    ApplyRange(range);
    UpdateScales();
}

void THygrova::SetPressure(double P) {
    if (P < PressureMin)
        P = PressureMin;
    else if (P > PressureMax)
        P = PressureMax;
    FPressure = P;
    RecalcStates();
}

void THygrova::RecalcStates() {
    for (TAirState& state : FStates) {
        TAirState input = state;
        input.Pressure = FPressure;
        TAirState result;
        AirState(result, input, 0);
        // A state the library cannot evaluate at the new pressure keeps its record rather than
        // losing its dry bulb and wet bulb to the library's empty failure result.
        if (PsyStatus() == 0) state = result;
    }
}

void THygrova::ApplyRange(const TChartRange& range) {
    // Extended precision throughout: the product of the stored double and 1000 is exact, so a high
    // humidity stored just below a whole gram (0.03) keeps it, and one just above (0.1) goes up.
    using LD = long double;
    // Bounds typed the wrong way round (low above high) still give the chart of that span.
    const double tempLo = std::min(range.TempLo, range.TempHi);
    const double tempHi = std::max(range.TempLo, range.TempHi);
    const double humLo = std::min(range.HumLo, range.HumHi);
    const double humHi = std::max(range.HumLo, range.HumHi);
    FTempLo = static_cast<double>(Trunc(static_cast<LD>(tempLo)));
    FHumLo = static_cast<double>(static_cast<LD>(Trunc(static_cast<LD>(humLo) * 1000.0L)) * 0.001L);
    FTempHi = static_cast<double>(Trunc(static_cast<LD>(tempHi) + 1.0L));
    FHumHi = static_cast<double>(static_cast<LD>(Trunc(static_cast<LD>(humHi) * 1000.0L + 1.0L)) * 0.001L);
    // Keep the saturation curve clear of the right edge: its top may not come within a tenth of the
    // span of the high dry bulb.
    const LD td = DewPointOfHumidity(FHumHi, FPressure);
    if (FDiv(static_cast<LD>(FTempHi) - td, static_cast<LD>(FTempHi) - static_cast<LD>(FTempLo)) < 0.1L)
        FHumHi = static_cast<double>(0.9L * static_cast<LD>(SatHumidity(FTempHi, FPressure)));
    UpdateDisplayRange();
}

void THygrova::UpdateDisplayRange() {
    const double f = FTemperatureUnit.Factor;
    const double o = FTemperatureUnit.Offset;
    const double fW = FHumidityUnit.Factor;
    try {
        FDispTempLo = Trunc(FTempLo * f + o);
        FFirstDryBulb = static_cast<double>(FDiv(FDispTempLo - o, f));
        FDispTempHi = Trunc(FTempHi * f + o + 1);
        FDispHumLo = FHumLo * fW;
        FDispHumHi = FHumHi * fW;
    } catch (const std::exception&) {
        // Before the units are set (during construction) the factor is zero; the fields not yet
        // computed keep their values until the unit setters run this again.
    }
}

void THygrova::UpdateScales() {
    FScaleX = static_cast<double>(FDiv(FXRight - FXLeft, FTempHi - FTempLo));
    FScaleY = static_cast<double>(FDiv(FYTop - FYBottom, FHumHi - FHumLo));
    const double b = EnthalpyLineFactor(FHumLo, FTempHi);
    FEnthalpySlope = -b * FScaleY / FScaleX;
    FEnthalpyAngle = std::atan(FEnthalpySlope) * 180.0 / std::numbers::pi;
}

void THygrova::SetPreset(int kind, TChartRange& range, double P) {
    switch (kind) {
    case 0:
        range = TChartRange{-40, 0, 10, 0.002};
        break;
    case 1:
        range = TChartRange{-5, 0, 45, 0.03};
        break;
    case 2:
        range = TChartRange{20, 0, 90, 0.1};
        break;
    default:
        break;
    }
    SetChartRange(range, P);
}

void THygrova::SetUnit(TChartUnit& unit, int kind, int index, const std::string& titlePrefix) {
    const auto type = static_cast<TUnitsType>(kind);
    unit.Index = ValidUnitsIndex(type, index);
    std::string format, name;
    double offset = 0, factor = 1;
    UnitsConversion(type, unit.Index, 0, format, offset, factor, name);
    unit.Factor = factor;
    unit.Offset = offset;
    unit.Title = titlePrefix + name;
    unit.Format = format;
}

void THygrova::SetTemperatureUnits(int index) {
    SetUnit(FTemperatureUnit, utTemperature, index, "Temperature, ");
    UpdateDisplayRange();
}

void THygrova::SetHumidityUnits(int index) {
    SetUnit(FHumidityUnit, utHumidity, index, "Humidity, ");
    UpdateDisplayRange();
}

void THygrova::SetPressureUnits(int index) {
    SetUnit(FPressureUnit, utPressureBar, index, "");
    // "Barometer 101.325 kPa"
    FPressureUnit.Format = "Barometer " + FPressureUnit.Format + " " + FPressureUnit.Title;
}

void THygrova::SetEnthalpyUnits(int index) {
    SetUnit(FEnthalpyUnit, utEnthalpy, index, "Enthalpy, ");
}

void THygrova::SetVolumeUnits(int index) {
    SetUnit(FVolumeUnit, utSpecificVol, index, "");
}

double THygrova::PageEnthalpy(double T, double W) const {
    double h = 0;
    if (ChartLibrary::TryEnthalpy(FPressure, T, W, h)) return h;
    // Above saturation the library has no state; the own formulas' enthalpy agrees with the
    // library's to a few hundredths of a kJ/kg where both exist.
    return 1.006 * T + W * (2500.7693 + 1.8058 * T);
}

TPoint THygrova::StatePoint(double T, double W) {
    if (W < 0) W = 0;
    const double yf = (W - FHumLo) * FScaleY + FYBottom;
    TPoint p;
    p.Y = Trunc(yf);
    try {
        // Slide along the constant-enthalpy line from the bottom-edge point of the same enthalpy.
        const double h = PageEnthalpy(T, W);
        double T0 = 0;
        if (!ChartLibrary::TryDryBulbFromEnthalpy(FPressure, h, FHumLo, T0))
            T0 = static_cast<double>(FDiv(h - 2500.7693 * FHumLo, 1.006 + 1.8058 * FHumLo));
        p.X = Trunc((T0 - FTempLo) * FScaleX + FXLeft +
                    static_cast<double>(FDiv(yf - FYBottom, FEnthalpySlope)));
    } catch (const std::exception&) {
        const double x = (T - FTempLo) * FScaleX + FXLeft;
        p.X = std::isfinite(x) && std::abs(x) < 1e9 ? static_cast<int>(x) : 0;
    }
    return p;
}

void THygrova::MoveToState(double T, double W) {
    const TPoint p = StatePoint(T, W);
    FCanvas->MoveTo(p.X, p.Y);
}

void THygrova::LineToState(double T, double W) {
    const TPoint p = StatePoint(T, W);
    FCanvas->LineTo(p.X, p.Y);
}

void THygrova::ChartText(int x, int y, const std::string& text) {
    FCanvas->TextOut(x, y, QString::fromStdString(text));
}

void THygrova::ChartTextAngle(const std::string& text, int x, double angle, int y) {
    TextOutAngle(*FCanvas, text, x, angle, y);
}

void THygrova::LabelAt(const std::string& text, TColor colour, double T, double W, int flags) {
    TPoint p = StatePoint(T, W);
    const QString q = QString::fromStdString(text);
    if (flags & 16) {
        p.X -= Div(FCanvas->TextWidth(q), 2);
        p.Y -= Div(FCanvas->TextHeight(q), 2);
    } else {
        if (flags & 1) p.Y -= FCanvas->TextHeight(q);
        if (flags & 4) p.X -= FCanvas->TextWidth(q);
    }
    FCanvas->SetFontColor(colour);
    ChartText(p.X, p.Y, text);
}

void THygrova::TextOutAngle(TCanvas& canvas, const std::string& text, int x, double angle, int y) {
    const QString q = QString::fromStdString(text);
    if (std::abs(angle) <= 1) {
        canvas.TextOut(x, y, q);
        return;
    }
    // A light fixed-pitch font with the cell of the current font's "X", turned by the angle.
    const TFont saved = canvas.Font();
    TFont rotated = saved;
    rotated.Height = canvas.TextHeight(QStringLiteral("X"));
    rotated.Width = canvas.TextWidth(QStringLiteral("X"));
    rotated.Orientation = Trunc(angle * 10);
    rotated.Weight = 300;
    rotated.Style = saved.Style & (fsItalic | fsUnderline | fsStrikeOut);
    rotated.Pitch = TFontPitch::fpFixed;
    canvas.SetFont(rotated);
    canvas.TextOut(x, y, q);
    canvas.SetFont(saved);
}

double THygrova::NiceStep(double x) {
    double b;
    if (x <= 0.001)
        b = 0.0005;
    else if (x < 0.005)
        b = 0.0025;
    else if (x < 0.01)
        b = 0.005;
    else if (x < 0.05)
        b = 0.025;
    else if (x < 0.1)
        b = 0.05;
    else if (x < 0.5)
        b = 0.25;
    else if (x < 1)
        b = 0.5;
    else if (x < 2.5)
        b = 1;
    else if (x < 5)
        b = 2;
    else if (x < 10)
        b = 5;
    else if (x < 50)
        b = 20;
    else if (x < 100)
        b = 50;
    else
        return x;
    return CeilMultiple(0, b, x);
}

void THygrova::UsePen(int index) {
    FCanvas->SetPen(TPen{FPenWidths[index], FPenColors[index]});
}

void THygrova::UseFontSize(int index) {
    FCanvas->SetFontSize(FFontSizes[index]);
}

void THygrova::UseFontColor(int index) {
    FCanvas->SetFontColor(FFontColors[index]);
}

void THygrova::UseFont(int index) {
    TFont f = FCanvas->Font();
    f.Size = FFontSizes[index];
    f.Color = FFontColors[index];
    FCanvas->SetFont(f);
}

void THygrova::ComputeLineStep() {
    const double f = FTemperatureUnit.Factor;
    FLineStep = static_cast<double>(FDiv(NiceStep((FDispTempHi - FDispTempLo) / 50), f));
}

void THygrova::Draw() {
    if (!FCanvas) return;
    TFont font = FCanvas->Font();
    font.Name = QStringLiteral("Courier New");
    FCanvas->SetFont(font);
    ComputeLineStep();

    ChartGuard([&] { DrawHumidityLines(); });
    ChartGuard([&] { DrawDryBulbLines(); });
    ChartGuard([&] { DrawVolumeLines(); });
    ChartGuard([&] { DrawWetBulbLines(); });
    ChartGuard([&] { DrawRHCurves(); });

    ChartGuard([&] { DrawEnthalpyScale(); });
    DrawEnthalpyTicks(); // the set-up is not guarded; each tick is

    DrawFrame();
    ChartGuard([&] { DrawSaturationCurve(); });

    if (FShowSHRScale) {
        ChartGuard([&] { DrawSHRScale(); });
        DrawSHRMarker();
    }
    ChartGuard([&] { DrawTitleBlock(); });
    if (FShowProtractor) ChartGuard([&] { DrawProtractor(); });

    DrawItems();
}
