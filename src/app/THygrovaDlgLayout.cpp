// The main window's controls with their design-time properties, and its menu.

#include "app/HygrovaApplication.h"
#include "app/HygrovaIcons.h"
#include "app/THygrovaDlg.h"
#include "platform/TPrintPreview.h"
#include "units/TxFmtEdit.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int PanelWidth = 165;
constexpr TColor PaperColor = 16317180;

// The design-time properties of a formatted field, in the order a form applies them: the units
// setters re-show the value, and the text comes last.
struct TFieldDesign {
    const char* Name;
    const char* FormatStr;
    TUnitsType UnitsType;
    int UnitsValue;
    double RangeHi;
    double RangeLo;
    const char* Text;
};

TFmtEdit* CreateField(QWidget* parent, QLabel* unitsLabel, const TFieldDesign& d, int width) {
    auto* edit = new TFmtEdit(parent);
    edit->setObjectName(QString::fromLatin1(d.Name));
    edit->SetFormatStr(d.FormatStr);
    edit->SetFormatType(ft_Fixed);
    edit->SetSigDigs(5);
    edit->SetUnitsType(d.UnitsType);
    edit->SetUnitsBase(0);
    edit->SetUnitsLabel(unitsLabel);
    edit->SetUnitsValue(d.UnitsValue);
    edit->SetRangeHi(d.RangeHi);
    edit->SetRangeLo(d.RangeLo);
    edit->SetText(QString::fromLatin1(d.Text));
    edit->setFixedWidth(width);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

TFmtEditLabel* CreateUnitsLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new TFmtEditLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setText(caption);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(QStringLiteral("Click to change the units"));
    return label;
}

QLabel* CreateLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QToolButton* CreateImageButton(QWidget* parent, const char* name, const QIcon& icon, const QString& hint,
                               int size) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(size, size);
    button->setAutoRaise(true);
    // Image buttons take no keyboard focus: Enter and the arrow keys step through the fields only.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    return button;
}

} // namespace

void THygrovaDlg::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    auto* clientLayout = new QHBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);

    Panel1 = new QWidget(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(PanelWidth);
    Panel1->setFont(QFont(QStringLiteral("Arial"), 8));
    clientLayout->addWidget(Panel1);

    auto* panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(10, 10, 8, 10);
    panel->setSpacing(3);

    auto row = [](QBoxLayout* parent) {
        auto* r = new QHBoxLayout;
        r->setSpacing(5);
        parent->addLayout(r);
        return r;
    };

    panel->addWidget(CreateLabel(Panel1, "BarometerLabel", QStringLiteral("Barometer")));
    FmtEditLabel1 = CreateUnitsLabel(Panel1, "FmtEditLabel1", QStringLiteral("kPa"));
    edPa = CreateField(Panel1, FmtEditLabel1, {"edPa", "%0.3f", utPressureBar, 0, 120, 70, "101.325"}, 70);
    Image1 =
        CreateImageButton(Panel1, "Image1", BarometerIcon(), QStringLiteral("World Locations Database"), 26);
    QHBoxLayout* pressureRow = row(panel);
    pressureRow->addWidget(edPa);
    pressureRow->addWidget(FmtEditLabel1);
    pressureRow->addStretch();
    pressureRow->addWidget(Image1);

    panel->addSpacing(8);
    panel->addWidget(CreateLabel(Panel1, "TemperatureLabel", QStringLiteral("Temperature Scale")));
    FmtEditLabel2 = CreateUnitsLabel(Panel1, "FmtEditLabel2", QStringLiteral("°C"));
    edTlo = CreateField(Panel1, FmtEditLabel2, {"edTlo", "%0.1f", utTemperature, 0, 90, -60, "-5.0"}, 52);
    edThi = CreateField(Panel1, FmtEditLabel2, {"edThi", "%0.1f", utTemperature, 0, 350, -60, "45.0"}, 52);
    QHBoxLayout* temperatureRow = row(panel);
    temperatureRow->addWidget(edTlo);
    temperatureRow->addWidget(edThi);
    temperatureRow->addWidget(FmtEditLabel2);
    temperatureRow->addStretch();

    panel->addSpacing(8);
    panel->addWidget(CreateLabel(Panel1, "HumidityLabel", QStringLiteral("Humidity Scale")));
    FmtEditLabel4 = CreateUnitsLabel(Panel1, "FmtEditLabel4", QStringLiteral("g/kg"));
    edWlo = CreateField(Panel1, FmtEditLabel4, {"edWlo", "%0.2f", utHumidity, 1, 0.4, 0, "0.00"}, 52);
    edWhi = CreateField(Panel1, FmtEditLabel4, {"edWhi", "%0.2f", utHumidity, 1, 0.4, 0, "30.00"}, 52);
    QHBoxLayout* humidityRow = row(panel);
    humidityRow->addWidget(edWlo);
    humidityRow->addWidget(edWhi);
    humidityRow->addWidget(FmtEditLabel4);
    humidityRow->addStretch();

    panel->addSpacing(12);
    auto* bevel = new QFrame(Panel1);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    panel->addWidget(bevel);
    panel->addSpacing(8);

    AirStateBtn =
        CreateImageButton(Panel1, "AirStateBtn", AirStateIcon(), QStringLiteral("Add Air State"), 34);
    ProcessBtn = CreateImageButton(Panel1, "ProcessBtn", ProcessIcon(), QStringLiteral("Add Process"), 34);
    MixtureBtn =
        CreateImageButton(Panel1, "MixtureBtn", MixtureIcon(), QStringLiteral("Add Air Mixture"), 34);
    BypassBtn =
        CreateImageButton(Panel1, "BypassBtn", BypassIcon(), QStringLiteral("Add Bypass process"), 34);
    QHBoxLayout* buttons = row(panel);
    buttons->setSpacing(2);
    for (QToolButton* b : {AirStateBtn, ProcessBtn, MixtureBtn, BypassBtn}) {
        // The add commands arrive with the item dialogs.
        b->setEnabled(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    Image1->setEnabled(false);

    panel->addSpacing(14);
    for (auto [name, caption] : {std::pair{"ZoomHintLabel", "Ctrl-Wheel to Zoom"},
                                 std::pair{"MoveHintLabel", "Left-click to Move"}}) {
        QLabel* hint = CreateLabel(Panel1, name, QString::fromLatin1(caption));
        QPalette p = hint->palette();
        p.setColor(QPalette::WindowText, QColor(128, 128, 128));
        hint->setPalette(p);
        panel->addWidget(hint);
    }
    panel->addStretch();

    PrintPreview = new TPrintPreview(client);
    PrintPreview->setObjectName(QStringLiteral("PrintPreview"));
    PrintPreview->SetUnits(mmPoints);
    PrintPreview->SetOrientation(poLandscape);
    PrintPreview->setFrameShape(QFrame::NoFrame);
    PrintPreview->SetPaperColor(PaperColor);
    clientLayout->addWidget(PrintPreview, 1);

    edPa->OnExit = Guarded([this] { edPaExit(); });
    for (TFmtEdit* e : {edTlo, edWlo, edThi, edWhi})
        e->OnExit = Guarded([this](TxCustomEdit& sender) { edExit(sender); });
    // The label has changed its fields' unit before its click arrives.
    for (TFmtEditLabel* l : {FmtEditLabel1, FmtEditLabel2, FmtEditLabel4})
        l->OnClick = Guarded([this] { FmtEditLabelClick(); });
}

QAction* THygrovaDlg::AddAction(QMenu* menu, const char* name, const QString& caption,
                                void (THygrovaDlg::*handler)(), const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    menu->addAction(action);
    if (handler)
        connect(action, &QAction::triggered, this, Guarded([this, handler] { (this->*handler)(); }));
    else
        action->setEnabled(false); // its command arrives with a later part of the program
    return action;
}

void THygrovaDlg::CreateMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    AddAction(file, "LoadfromFile1", QStringLiteral("&Load from File"), &THygrovaDlg::LoadButtonClick);
    AddAction(file, "SavetoFile1", QStringLiteral("&Save to File"), &THygrovaDlg::SaveButtonClick);
    file->addSeparator();
    AddAction(file, "Reset1", QStringLiteral("&Reset..."), &THygrovaDlg::Reset1Click);
    file->addSeparator();
    AddAction(file, "SaveImage1", QStringLiteral("Save &Image"), nullptr, QKeySequence(Qt::CTRL | Qt::Key_S));
    AddAction(file, "CopytoClipboard1", QStringLiteral("&Copy to Clipboard"), nullptr);
    AddAction(file, "PrintChart1", QStringLiteral("&Print Chart"), nullptr,
              QKeySequence(Qt::CTRL | Qt::Key_P));
    AddAction(file, "Generatepdf1", QStringLiteral("Generate pdf..."), nullptr);
    AddAction(file, "SavePrintPreview1", QStringLiteral("Save Preview (ppv)"), nullptr);
    AddAction(file, "ReadPrintPreview1", QStringLiteral("Load Preview (ppv)"), nullptr);
    file->addSeparator();
    QAction* exit = new QAction(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    file->addAction(exit);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    QMenu* zoom = view->addMenu(QStringLiteral("&Zoom"));
    zoom->setObjectName(QStringLiteral("Zoom1"));
    AddAction(zoom, "WholePage1", QStringLiteral("&Whole Page"), &THygrovaDlg::WholePage1Click,
              QKeySequence(Qt::CTRL | Qt::Key_Z));
    AddAction(zoom, "FitWidth1", QStringLiteral("Fit &Width"), &THygrovaDlg::FitWidth1Click);
    AddAction(zoom, "FirHeight1", QStringLiteral("Fit &Height"), &THygrovaDlg::FirHeight1Click);
    zoom->addSeparator();
    AddAction(zoom, "N501", QStringLiteral("50%"), &THygrovaDlg::N501Click);
    AddAction(zoom, "N1001", QStringLiteral("100%"), &THygrovaDlg::N1001Click);
    AddAction(zoom, "N1501", QStringLiteral("150%"), &THygrovaDlg::N1501Click);
    QMenu* orientation = view->addMenu(QStringLiteral("&Orientation"));
    orientation->setObjectName(QStringLiteral("Orientation1"));
    AddAction(orientation, "Portrait1", QStringLiteral("&Portrait"), &THygrovaDlg::Portrait1Click);
    AddAction(orientation, "Landscape1", QStringLiteral("&Landscape"), &THygrovaDlg::Landscape1Click);
    view->addSeparator();
    AddAction(view, "BackgroundColor1", QStringLiteral("&Background Color"),
              &THygrovaDlg::BackgroundColor1Click);
    view->addSeparator();
    dHdWtool1 = AddAction(view, "dHdWtool1", QStringLiteral("&dH/dW Tool"), &THygrovaDlg::dHdWtool1Click);
    SHRScale1 = AddAction(view, "SHRScale1", QStringLiteral("&SHR Scale"), &THygrovaDlg::SHRScale1Click);
    ProcessLabels1 = AddAction(view, "ProcessLabels1", QStringLiteral("Process &Labels"),
                               &THygrovaDlg::ProcessLabels1Click);
    for (QAction* a : {dHdWtool1, SHRScale1, ProcessLabels1})
        a->setCheckable(true);
    dHdWtool1->setChecked(true);
    SHRScale1->setChecked(true);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    AddAction(edit, "WorldLocationsDatabase1", QStringLiteral("&World Locations Database"), nullptr);
    edit->addSeparator();
    AddAction(edit, "AddAirState1", QStringLiteral("Add Air &State"), nullptr);
    AddAction(edit, "AddProcess1", QStringLiteral("Add &Process"), nullptr);
    AddAction(edit, "AddMixture1", QStringLiteral("Add Mi&xture"), nullptr);
    AddAction(edit, "AddBypassProcess1", QStringLiteral("Add &Bypass Process"), nullptr);
    edit->addSeparator();
    AddAction(edit, "Clear1", QStringLiteral("&Clear Processes"), &THygrovaDlg::Clear1Click);
    edit->addSeparator();
    ImperialUnits1 = AddAction(edit, "ImperialUnits1", QStringLiteral("&Imperial Units"),
                               &THygrovaDlg::ImperialUnits1Click);
    ImperialUnits1->setCheckable(true);
    edit->addSeparator();
    AddAction(edit, "LowTemperature1", QStringLiteral("&Low Temperature"), &THygrovaDlg::LowTemperature1Click,
              QKeySequence(Qt::CTRL | Qt::Key_L));
    AddAction(edit, "MediumTermperature1", QStringLiteral("&Medium Termperature"),
              &THygrovaDlg::MediumTermperature1Click, QKeySequence(Qt::CTRL | Qt::Key_M));
    AddAction(edit, "HighTemperature1", QStringLiteral("&High Temperature"),
              &THygrovaDlg::HighTemperature1Click, QKeySequence(Qt::CTRL | Qt::Key_H));
    edit->addSeparator();
    AddAction(edit, "AutocalulateRange1", QStringLiteral("&Range - fit all points"),
              &THygrovaDlg::AutocalulateRange1Click, QKeySequence(Qt::CTRL | Qt::Key_R));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    AddAction(help, "Index1", QStringLiteral("&Index"), &THygrovaDlg::Index1Click, QKeySequence(Qt::Key_F1));
    AddAction(help, "EmailKorvantDirect1", QStringLiteral("&Email Korvant Direct"),
              &THygrovaDlg::EmailKorvantDirect1Click);
    help->addSeparator();
    AddAction(help, "About1", QStringLiteral("&About"), &THygrovaDlg::About1Click);
}
