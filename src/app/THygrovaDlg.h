#pragma once
// The main window: a narrow panel with the barometric pressure, the chart range and the add-item
// buttons, and the print-preview page on which the one chart object is drawn. Every command ends by
// redrawing the page (Redraw).
//
// The window's concerns live in separate files: THygrovaDlg.cpp (life cycle, refresh cycle, range,
// unit and view commands, keyboard), THygrovaDlgLayout.cpp (controls and menu), HygrovaSettings.cpp
// (settings store), HygrovaDataFile.cpp (chart data file).

#include "app/HygrovaColorDialog.h"
#include "app/HygrovaFileDialogs.h"
#include "platform/TCanvas.h"
#include "psychro/ChartRange.h"

#include <QKeySequence>
#include <QMainWindow>

#include <memory>

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QToolButton;
class THygrova;
class TFmtEdit;
class TFmtEditLabel;
class TPrintPreview;
class TxCustomEdit;

class THygrovaDlg : public QMainWindow {
    Q_OBJECT

public:
    explicit THygrovaDlg(QWidget* parent = nullptr);
    ~THygrovaDlg() override;

    // The refresh cycle: records the chart afresh as the preview's one page. A failure after the
    // page was started still ends it and restores the scroll positions, then passes on.
    void Redraw();
    // The range the four range fields show (values in °C and kg/kg).
    void SetRange(const TChartRange& range);
    // Every field and the chart's enthalpy and volume labels take the default units of the unit
    // system that the Imperial Units item selects.
    void ApplyUnitSystem();
    // A value still being typed in a formatted field is taken over.
    void CommitActiveEdit();

    // What the window shows and keeps, for the commands of other files and for tests.
    THygrova& Chart() const { return *FChart; }
    const TChartRange& Range() const { return FRange; }
    int EnthalpyUnits() const { return FEnthalpyUnits; }
    int VolumeUnits() const { return FVolumeUnits; }
    bool ImperialUnits() const { return FImperialUnits; }
    // The window's colour (0x00BBGGRR); the chart page itself stays white.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TColorDialog& ColorDialog1() { return FColorDialog; }

    // File names of the file commands; they change when the user confirms a dialog.
    QString DataFileName;
    QString ImageFileName;
    QString PreviewFileName;
    QString PdfFileName;
    // The shared open and save dialogs.
    TFileDialogFunction OpenDialog = ExecuteOpenDialog;
    TFileDialogFunction SaveDialog = ExecuteSaveDialog;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Layout and menu (THygrovaDlgLayout.cpp).
    void CreateControls();
    void CreateMenu();
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption, void (THygrovaDlg::*handler)(),
                       const QKeySequence& shortcut = {});

    // Life cycle.
    void FormCreate();
    void FormActivate();
    void FormClose();
    // Enter and Down move on from a single-line edit, Up moves back; true when the key was used.
    bool FormKeyDown(QWidget* focused, const QKeyEvent& key);

    // Settings store (HygrovaSettings.cpp) and data file (HygrovaDataFile.cpp).
    void LoadUserSettings();
    void SaveUserSettings();
    void ReadDataFile();
    void WriteDataFile();
    void LoadButtonClick();
    void SaveButtonClick();
    TFileDialogRequest DataFileRequest(const QString& title) const;
    void SetBusyCaption(const QString& text);
    void EndBusyCaption();

    // Commands of the range, the units and the view.
    void Reset1Click();
    void WholePage1Click();
    void FitWidth1Click();
    void FirHeight1Click();
    void N501Click();
    void N1001Click();
    void N1501Click();
    void Portrait1Click();
    void Landscape1Click();
    void LowTemperature1Click();
    void MediumTermperature1Click();
    void HighTemperature1Click();
    void AutocalulateRange1Click();
    void Clear1Click();
    void BackgroundColor1Click();
    void dHdWtool1Click();
    void SHRScale1Click();
    void ProcessLabels1Click();
    void ImperialUnits1Click();
    void FmtEditLabelClick();
    void edExit(TxCustomEdit& sender);
    void edPaExit();
    void Index1Click();
    void EmailKorvantDirect1Click();
    void About1Click();

    void SetPreset(int kind);
    // A stored pressure or range that the fields would not accept gives the default, so that a
    // damaged store or data file cannot keep the chart from drawing.
    double UsablePressure(double kPa) const;
    TChartRange UsableRange(const TChartRange& range) const;
    // The barometer field's value in kPa.
    double BarometricPressure() const;

    // Left panel.
    QWidget* Panel1 = nullptr;
    TFmtEdit* edPa = nullptr;
    TFmtEditLabel* FmtEditLabel1 = nullptr;
    QToolButton* Image1 = nullptr;
    TFmtEdit* edTlo = nullptr;
    TFmtEdit* edThi = nullptr;
    TFmtEditLabel* FmtEditLabel2 = nullptr;
    TFmtEdit* edWlo = nullptr;
    TFmtEdit* edWhi = nullptr;
    TFmtEditLabel* FmtEditLabel4 = nullptr;
    QToolButton* AirStateBtn = nullptr;
    QToolButton* ProcessBtn = nullptr;
    QToolButton* MixtureBtn = nullptr;
    QToolButton* BypassBtn = nullptr;
    TPrintPreview* PrintPreview = nullptr;

    // Menu items whose state the window reads.
    QAction* ImperialUnits1 = nullptr;
    QAction* dHdWtool1 = nullptr;
    QAction* SHRScale1 = nullptr;
    QAction* ProcessLabels1 = nullptr;

    TColorDialog FColorDialog;
    TColor FColor = 15266807;

    std::unique_ptr<THygrova> FChart;
    TChartRange FRange;
    int FEnthalpyUnits = 0;
    int FVolumeUnits = 0;
    bool FImperialUnits = false;
    bool FFirstActivate = false;
};
