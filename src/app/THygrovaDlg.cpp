#include "app/THygrovaDlg.h"

#include "app/HelpCommands.h"
#include "app/HygrovaApplication.h"
#include "app/HygrovaDefaults.h"
#include "chart/THygrova.h"
#include "platform/AppInfo.h"
#include "platform/TPrintPreview.h"
#include "platform/VerInfoRes.h"
#include "units/TxFmtEdit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace {

constexpr TColor ResetColor = 16051937;
// The chart's margin on every side of the page: 8 mm, in tenths of a millimetre.
constexpr double PageMargin = 80;

double FieldValue(const TFmtEdit& edit) {
    return ValueAsDouble(edit.Value());
}

} // namespace

THygrovaDlg::THygrovaDlg(QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("HygrovaDlg"));
    CreateControls();
    CreateMenu();
    // Design-time client area 691 x 407 below the menu, centred until a stored placement says
    // otherwise.
    resize(691, 407 + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    SetColor(15266807);
    FormCreate();
    // The form previews every key (FormKeyDown).
    qApp->installEventFilter(this);
}

THygrovaDlg::~THygrovaDlg() {
    if (qApp) qApp->removeEventFilter(this);
    // FormDestroy: the chart goes before the preview whose canvas it holds.
    FChart.reset();
}

void THygrovaDlg::FormCreate() {
    setWindowTitle(QString::fromStdString(AppTitle()));
    FEnthalpyUnits = 0;
    FVolumeUnits = 0;
    FImperialUnits = false;
    LoadUserSettings();

    const QString programFolder = QString::fromStdString(AppFolders().ProgramFolder);
    DataFileName = programFolder + QStringLiteral("Hygrova.pst");
    ImageFileName = programFolder + QStringLiteral("Hygrova");
    PreviewFileName = programFolder + QStringLiteral("Hygrova.ppv");
    PdfFileName = programFolder + QStringLiteral("Hygrova.pdf");

    PrintPreview->SetPaperByFormName(QStringLiteral("A4"));
    PrintPreview->SetUnits(mmPoints);
    FChart = std::make_unique<THygrova>(&PrintPreview->Canvas(), clWhite, PrintPreview->PageBounds());
    FChart->SetChartRange(FRange, BarometricPressure());
    FFirstActivate = true;
}

void THygrovaDlg::FormActivate() {
    if (!FFirstActivate) return;
    FFirstActivate = false;
    repaint();
    FChart->SetChartRange(FRange, BarometricPressure());
    Redraw();
    PrintPreview->setFocus(Qt::OtherFocusReason);
}

void THygrovaDlg::FormClose() {
    // A value still being typed is stored as the field would take it over (formatted and clamped).
    CommitActiveEdit();
    SaveUserSettings();
}

bool THygrovaDlg::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && FFirstActivate) Guarded([this] { FormActivate(); })();
    return QMainWindow::event(e);
}

void THygrovaDlg::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // A window that the platform never activates (no window manager) still gets its first page.
    if (FFirstActivate)
        QTimer::singleShot(0, this, Guarded([this] {
                               if (isVisible()) FormActivate();
                           }));
}

void THygrovaDlg::closeEvent(QCloseEvent* e) {
    // Failing to store the settings must not keep the user from closing the program.
    Guarded([this] { FormClose(); })();
    FFirstActivate = true;
    e->accept();
}

bool THygrovaDlg::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget == QApplication::focusWidget() && widget->window() == this &&
            FormKeyDown(widget, *static_cast<QKeyEvent*>(e)))
            return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

bool THygrovaDlg::FormKeyDown(QWidget* focused, const QKeyEvent& key) {
    if (!qobject_cast<QLineEdit*>(focused)) return false;
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        focusNextPrevChild(true);
        return true;
    case Qt::Key_Up:
        focusNextPrevChild(false);
        return true;
    default:
        return false;
    }
}

void THygrovaDlg::SetColor(TColor color) {
    FColor = color & 0xFFFFFF;
    QWidget* client = centralWidget();
    QPalette p = client->palette();
    p.setColor(QPalette::Window, ToQColor(FColor));
    client->setPalette(p);
}

double THygrovaDlg::BarometricPressure() const {
    return FieldValue(*edPa);
}

void THygrovaDlg::Redraw() {
    const int vert = PrintPreview->VertScrollPos();
    const int horz = PrintPreview->HorzScrollPos();
    TCanvas& canvas = PrintPreview->BeginDoc();
    auto finish = [&] {
        PrintPreview->EndDoc();
        PrintPreview->SetVertScrollPos(vert);
        PrintPreview->SetHorzScrollPos(horz);
    };
    try {
        TRect page = PrintPreview->PageBounds();
        const int margin = static_cast<int>(std::lround(PrintPreview->ConvertUnit(PageMargin, mmLoMetric)));
        page = TRect{page.Left + margin, page.Top + margin, page.Right - margin, page.Bottom - margin};
        FChart->SetCanvas(&canvas, page);
        FChart->SetChartRange(FRange, BarometricPressure());
        FChart->FShowProtractor = dHdWtool1->isChecked();
        FChart->FShowSHRScale = SHRScale1->isChecked();
        FChart->FShowLabels = ProcessLabels1->isChecked();
        FChart->SetPressureUnits(edPa->UnitsValue());
        FChart->SetTemperatureUnits(edTlo->UnitsValue());
        FChart->SetHumidityUnits(edWlo->UnitsValue());
        FChart->FImperial = FImperialUnits;
        FChart->SetEnthalpyUnits(FEnthalpyUnits);
        FChart->SetVolumeUnits(FVolumeUnits);
        FChart->Draw();
    } catch (...) {
        // The preview must not stay in the middle of a document.
        finish();
        throw;
    }
    finish();
}

void THygrovaDlg::SetRange(const TChartRange& range) {
    FRange = range;
    edTlo->SetValue(range.TempLo);
    edWlo->SetValue(range.HumLo);
    edThi->SetValue(range.TempHi);
    edWhi->SetValue(range.HumHi);
}

void THygrovaDlg::ApplyUnitSystem() {
    const bool imperial = ImperialUnits1->isChecked();
    auto unit = [imperial](TUnitsType kind) { return imperial ? IPUnitsIndex(kind) : SIUnitsIndex(kind); };
    edPa->SetUnitsValue(unit(utPressureBar));
    edTlo->SetUnitsValue(unit(utTemperature));
    edThi->SetUnitsValue(edTlo->UnitsValue());
    edWlo->SetUnitsValue(unit(utHumidity));
    edWhi->SetUnitsValue(edWlo->UnitsValue());
    FEnthalpyUnits = unit(utEnthalpy);
    FVolumeUnits = unit(utSpecificVol);
    FImperialUnits = imperial;
}

double THygrovaDlg::UsablePressure(double kPa) const {
    return WithinFieldRange(kPa, edPa->RangeLo(), edPa->RangeHi()) ? kPa : DefaultPressure;
}

TChartRange THygrovaDlg::UsableRange(const TChartRange& range) const {
    const auto fits = [](const TxCustomEdit& edit, double value) {
        return WithinFieldRange(value, edit.RangeLo(), edit.RangeHi());
    };
    const bool usable = fits(*edTlo, range.TempLo) && fits(*edWlo, range.HumLo) &&
                        fits(*edThi, range.TempHi) && fits(*edWhi, range.HumHi);
    return usable ? range : DefaultRange;
}

void THygrovaDlg::CommitActiveEdit() {
    // The window's own focus widget: the application has none while the window is inactive, as
    // when it is closed from outside.
    if (auto* edit = qobject_cast<TxCustomEdit*>(focusWidget())) ForceEditExit(*edit);
}

void THygrovaDlg::Reset1Click() {
    ImperialUnits1->setChecked(false);
    ApplyUnitSystem();
    PrintPreview->SetZoomState(zsZoomToFit);
    PrintPreview->SetOrientation(poLandscape);
    SetRange(TChartRange{0, 0, 45, 0.03});
    SetColor(ResetColor);
    dHdWtool1->setChecked(true);
    SHRScale1->setChecked(true);
    ProcessLabels1->setChecked(false);
    edPa->SetValue(101.325);
    Redraw();
}

void THygrovaDlg::WholePage1Click() {
    PrintPreview->SetZoomState(zsZoomToFit);
    Redraw();
}

void THygrovaDlg::FitWidth1Click() {
    PrintPreview->SetZoomState(zsZoomToWidth);
    Redraw();
}

void THygrovaDlg::FirHeight1Click() {
    PrintPreview->SetZoomState(zsZoomToHeight);
    Redraw();
}

void THygrovaDlg::N501Click() {
    PrintPreview->SetZoom(50);
    Redraw();
}

void THygrovaDlg::N1001Click() {
    PrintPreview->SetZoom(100);
    Redraw();
}

void THygrovaDlg::N1501Click() {
    PrintPreview->SetZoom(150);
    Redraw();
}

void THygrovaDlg::Portrait1Click() {
    PrintPreview->SetOrientation(poPortrait);
    Redraw();
}

void THygrovaDlg::Landscape1Click() {
    PrintPreview->SetOrientation(poLandscape);
    Redraw();
}

void THygrovaDlg::SetPreset(int kind) {
    TChartRange range = FRange;
    FChart->SetPreset(kind, range, BarometricPressure());
    SetRange(range);
    Redraw();
}

void THygrovaDlg::LowTemperature1Click() {
    SetPreset(0);
}

void THygrovaDlg::MediumTermperature1Click() {
    SetPreset(1);
}

void THygrovaDlg::HighTemperature1Click() {
    SetPreset(2);
}

void THygrovaDlg::AutocalulateRange1Click() {
    TChartRange range;
    FChart->FitAll(range, 0.005, 5);
    SetRange(range);
    Redraw();
}

void THygrovaDlg::edExit(TxCustomEdit& sender) {
    SetRange(TChartRange{FieldValue(*edTlo), FieldValue(*edWlo), FieldValue(*edThi), FieldValue(*edWhi)});
    if (sender.isModified()) Redraw();
}

void THygrovaDlg::edPaExit() {
    if (edPa->isModified()) Redraw();
}

void THygrovaDlg::Clear1Click() {
    FChart->ClearItems();
    Redraw();
}

void THygrovaDlg::BackgroundColor1Click() {
    if (FColorDialog.Execute(this)) SetColor(FColorDialog.Color);
}

void THygrovaDlg::dHdWtool1Click() {
    Redraw();
}

void THygrovaDlg::SHRScale1Click() {
    Redraw();
}

void THygrovaDlg::ProcessLabels1Click() {
    Redraw();
}

void THygrovaDlg::ImperialUnits1Click() {
    // A value still being typed is checked and taken over in the unit it was typed in.
    CommitActiveEdit();
    ApplyUnitSystem();
    Redraw();
}

void THygrovaDlg::FmtEditLabelClick() {
    Redraw();
}

void THygrovaDlg::Index1Click() {
    OpenHelpIndex();
}

void THygrovaDlg::EmailKorvantDirect1Click() {
    EmailMaker();
}

void THygrovaDlg::About1Click() {
    ShowAboutBox(this);
}
