// The main window driven as a user drives it, under the offscreen platform: its layout and menu, the
// range, unit and view commands, keyboard entry and unit pop-ups, and what the chart is given on every
// redraw; the default error handler.

#include "AppTestSupport.h"

#include "units/TxConv.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

#include <stdexcept>

Q_DECLARE_METATYPE(TChartRange)

namespace {

using F = TAppTestFixture;

TAirState StateAt(double db, double w) {
    TAirState s;
    SetState(s, 101.325, db, w, 2);
    return s;
}

class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> Urls;

public slots:
    void handle(const QUrl& url) { Urls << url; }
};

// Throws from its event handler, as a faulty command would.
class ThrowingObject : public QObject {
protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("Something went wrong");
        return QObject::event(e);
    }
};

} // namespace

class HygrovaDlgTest : public QObject {
    Q_OBJECT

private:
    TAppTestFixture FFixture;
    std::unique_ptr<THygrovaDlg> W;

    // The chart range after the last redraw: low and high dry bulb (°C), low and high humidity (kg/kg).
    void CompareChartRange(double tLo, double tHi, double wLo, double wHi) {
        const THygrova& c = W->Chart();
        HYG_COMPARE_NEAR(c.TempLo(), tLo, 1e-9);
        HYG_COMPARE_NEAR(c.TempHi(), tHi, 1e-9);
        HYG_COMPARE_NEAR(c.HumLo(), wLo, 1e-12);
        HYG_COMPARE_NEAR(c.HumHi(), wHi, 1e-12);
    }

private slots:
    void initTestCase() { FFixture.InitTestCase(); }
    void init() {
        FFixture.Init();
        W = F::OpenWindow();
        QVERIFY(W);
    }
    void cleanup() {
        W.reset();
        FFixture.Cleanup();
    }

    void windowAsCreated() {
        QCOMPARE(W->objectName(), QString("HygrovaDlg"));
        QCOMPARE(W->windowTitle(), QString("Hygrova 2.0.4.0"));
        QCOMPARE(F::Control(*W, "Panel1")->width(), 165);
        for (auto [name, text] :
             {std::pair{"BarometerLabel", "Barometer"}, std::pair{"TemperatureLabel", "Temperature Scale"},
              std::pair{"HumidityLabel", "Humidity Scale"}, std::pair{"ZoomHintLabel", "Ctrl-Wheel to Zoom"},
              std::pair{"MoveHintLabel", "Left-click to Move"}})
            QCOMPARE(F::Control<QLabel>(*W, name)->text(), QString(text));
        QCOMPARE(F::Control<QLabel>(*W, "ZoomHintLabel")->palette().color(QPalette::WindowText),
                 QColor(128, 128, 128));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel1")->text(), QString("kPa"));
        QVERIFY(F::Control<QLabel>(*W, "FmtEditLabel1")->font().underline());
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel2")->text(), QString("°C"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel4")->text(), QString("g/kg"));

        // Hints, and the add commands not yet available.
        for (auto [name, hint] :
             {std::pair{"AirStateBtn", "Add Air State"}, std::pair{"ProcessBtn", "Add Process"},
              std::pair{"MixtureBtn", "Add Air Mixture"}, std::pair{"BypassBtn", "Add Bypass process"},
              std::pair{"Image1", ""}}) {
            auto* b = F::Control<QToolButton>(*W, name);
            QVERIFY2(!b->isEnabled(), name);
            QVERIFY2(!b->icon().isNull(), name);
            if (*hint) QCOMPARE(b->toolTip(), QString(hint));
        }

        // Design-time properties of the fields: unit kinds, ranges and formats.
        struct TField {
            const char* Name;
            TUnitsType Kind;
            int Unit;
            double Lo, Hi;
            const char* Format;
        };
        for (const TField& f : {TField{"edPa", utPressureBar, 0, 70, 120, "%0.3f"},
                                TField{"edTlo", utTemperature, 0, -60, 90, "%0.1f"},
                                TField{"edThi", utTemperature, 0, -60, 350, "%0.1f"},
                                TField{"edWlo", utHumidity, 1, 0, 0.4, "%0.2f"},
                                TField{"edWhi", utHumidity, 1, 0, 0.4, "%0.2f"}}) {
            TFmtEdit* e = F::Edit(*W, f.Name);
            QCOMPARE(e->UnitsType(), f.Kind);
            QCOMPARE(e->UnitsValue(), f.Unit);
            QCOMPARE(e->UnitsBase(), 0);
            QCOMPARE(e->RangeLo(), f.Lo);
            QCOMPARE(e->RangeHi(), f.Hi);
            QCOMPARE(e->FormatStr(), std::string(f.Format));
            QCOMPARE(e->FormatType(), ft_Fixed);
            QCOMPARE(e->SigDigs(), 5);
        }

        // The page: A4 landscape in points, no border, the paper colour, the chart page drawn once.
        TPrintPreview* p = F::Preview(*W);
        QCOMPARE(p->FormName(), QString("A4"));
        QCOMPARE(p->Units(), mmPoints);
        QCOMPARE(p->Orientation(), poLandscape);
        QCOMPARE(p->frameShape(), QFrame::NoFrame);
        QCOMPARE(p->PaperView().PaperColor, TColor(16317180));
        QCOMPARE(p->PageCount(), 1);
        QVERIFY(p->hasFocus());
        // The chart fills the page less 8 mm (23 points) on every side.
        const TRect page = W->Chart().PageRect();
        QCOMPARE(page, (TRect{23, 23, p->PageBounds().Right - 23, p->PageBounds().Bottom - 23}));
        QCOMPARE(W->Chart().Canvas(), &p->Canvas());
    }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("checked"); // -1 not checkable
        const QKeySequence none;
        auto row = [](const char* name, const char* caption, QKeySequence key, bool enabled,
                      int checked = -1) {
            QTest::newRow(name) << QString(name) << QString::fromUtf8(caption) << key << enabled << checked;
        };
        row("LoadfromFile1", "&Load from File", none, true);
        row("SavetoFile1", "&Save to File", none, true);
        row("Reset1", "&Reset...", none, true);
        row("SaveImage1", "Save &Image", QKeySequence("Ctrl+S"), false);
        row("CopytoClipboard1", "&Copy to Clipboard", none, false);
        row("PrintChart1", "&Print Chart", QKeySequence("Ctrl+P"), false);
        row("Generatepdf1", "Generate pdf...", none, false);
        row("SavePrintPreview1", "Save Preview (ppv)", none, false);
        row("ReadPrintPreview1", "Load Preview (ppv)", none, false);
        row("Exit1", "E&xit", none, true);
        row("WholePage1", "&Whole Page", QKeySequence("Ctrl+Z"), true);
        row("FitWidth1", "Fit &Width", none, true);
        row("FirHeight1", "Fit &Height", none, true);
        row("N501", "50%", none, true);
        row("N1001", "100%", none, true);
        row("N1501", "150%", none, true);
        row("Portrait1", "&Portrait", none, true);
        row("Landscape1", "&Landscape", none, true);
        row("BackgroundColor1", "&Background Color", none, true);
        row("dHdWtool1", "&dH/dW Tool", none, true, 1);
        row("SHRScale1", "&SHR Scale", none, true, 1);
        row("ProcessLabels1", "Process &Labels", none, true, 0);
        row("WorldLocationsDatabase1", "&World Locations Database", none, false);
        row("AddAirState1", "Add Air &State", none, false);
        row("AddProcess1", "Add &Process", none, false);
        row("AddMixture1", "Add Mi&xture", none, false);
        row("AddBypassProcess1", "Add &Bypass Process", none, false);
        row("Clear1", "&Clear Processes", none, true);
        row("ImperialUnits1", "&Imperial Units", none, true, 0);
        row("LowTemperature1", "&Low Temperature", QKeySequence("Ctrl+L"), true);
        row("MediumTermperature1", "&Medium Termperature", QKeySequence("Ctrl+M"), true);
        row("HighTemperature1", "&High Temperature", QKeySequence("Ctrl+H"), true);
        row("AutocalulateRange1", "&Range - fit all points", QKeySequence("Ctrl+R"), true);
        row("Index1", "&Index", QKeySequence("F1"), true);
        row("EmailKorvantDirect1", "&Email Korvant Direct", none, true);
        row("About1", "&About", none, true);
    }
    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, enabled);
        QFETCH(int, checked);
        QAction* a = F::Action(*W, qPrintable(name));
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut(), shortcut);
        QCOMPARE(a->isEnabled(), enabled);
        QCOMPARE(a->isCheckable(), checked >= 0);
        if (checked >= 0) QCOMPARE(a->isChecked(), checked == 1);
        // Every item is reachable from the menu bar.
        bool inMenu = false;
        for (QMenu* m : W->menuBar()->findChildren<QMenu*>())
            inMenu = inMenu || m->actions().contains(a);
        QVERIFY(inMenu);
    }

    void menuBarOrder() {
        QStringList titles;
        for (QAction* a : W->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"&File", "&View", "&Edit", "&Help"}));
    }

    void resetRestoresTheDefaultSetUp() {
        // Move everything away from the reset state first.
        F::Action(*W, "ImperialUnits1")->trigger();
        F::Action(*W, "HighTemperature1")->trigger();
        F::Action(*W, "Portrait1")->trigger();
        F::Action(*W, "N1501")->trigger();
        F::Action(*W, "dHdWtool1")->trigger();
        F::Action(*W, "ProcessLabels1")->trigger();
        F::Edit(*W, "edPa")->SetValue(90.0);
        W->SetColor(0x123456);

        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        F::Action(*W, "Reset1")->trigger();
        QCOMPARE(pages.count(), 1);
        QCOMPARE(F::Edit(*W, "edPa")->text(), QString("101.325"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel1")->text(), QString("kPa"));
        QCOMPARE(F::RangeTexts(*W), (QStringList{"0.0", "45.0", "0.00", "30.00"}));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel2")->text(), QString("°C"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel4")->text(), QString("g/kg"));
        QCOMPARE(F::Preview(*W)->Orientation(), poLandscape);
        QCOMPARE(F::Preview(*W)->ZoomState(), zsZoomToFit);
        QCOMPARE(W->Color(), TColor(16051937));
        QVERIFY(!F::Action(*W, "ImperialUnits1")->isChecked());
        QVERIFY(F::Action(*W, "dHdWtool1")->isChecked());
        QVERIFY(F::Action(*W, "SHRScale1")->isChecked());
        QVERIFY(!F::Action(*W, "ProcessLabels1")->isChecked());
        CompareChartRange(0, 46, 0, 0.030);
        HYG_COMPARE_NEAR(W->Chart().GetPressure(), 101.325, 1e-12);
        QVERIFY(!W->Chart().FImperial);
        QCOMPARE(W->Chart().TemperatureUnit().Index, 0);
        // A page in landscape.
        QVERIFY(W->Chart().PageRect().Width() > W->Chart().PageRect().Height());
    }

    void presets_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<TChartRange>("chart"); // normalised by the chart
        QTest::newRow("low") << "LowTemperature1" << QStringList{"-40.0", "10.0", "0.00", "2.00"}
                             << TChartRange{-40, 0, 11, 0.003};
        QTest::newRow("medium") << "MediumTermperature1" << QStringList{"-5.0", "45.0", "0.00", "30.00"}
                                << TChartRange{-5, 0, 46, 0.030};
        QTest::newRow("high") << "HighTemperature1" << QStringList{"20.0", "90.0", "0.00", "100.00"}
                              << TChartRange{20, 0, 91, 0.101};
    }
    void presets() {
        QFETCH(QString, action);
        QFETCH(QStringList, texts);
        QFETCH(TChartRange, chart);
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        F::Action(*W, qPrintable(action))->trigger();
        QCOMPARE(pages.count(), 1);
        QCOMPARE(F::RangeTexts(*W), texts);
        CompareChartRange(chart.TempLo, chart.TempHi, chart.HumLo, chart.HumHi);
    }

    void fitAllWithoutStatesRaisesTheTopEachTime() {
        F::Action(*W, "Reset1")->trigger();
        for (int i = 1; i <= 3; ++i) {
            F::Action(*W, "AutocalulateRange1")->trigger();
            QCOMPARE(F::RangeTexts(*W), (QStringList{"0.0", QString("%1.0").arg(45 + i), "0.00", "30.00"}));
            CompareChartRange(0, 46 + i, 0, 0.030);
        }
    }

    void fitAllWithStates() {
        W->Chart().AddState(StateAt(12, 0.006));
        W->Chart().AddState(StateAt(32, 0.012));
        W->Chart().AddState(StateAt(20, 0.009));
        F::Action(*W, "AutocalulateRange1")->trigger();
        const TChartRange& r = W->Range();
        HYG_COMPARE_NEAR(r.TempLo, 5, 1e-12);
        HYG_COMPARE_NEAR(r.HumLo, 0.0, 1e-12);
        HYG_COMPARE_NEAR(r.TempHi, 35, 1e-12);
        HYG_COMPARE_NEAR(r.HumHi, 0.015, 1e-12);
        QCOMPARE(F::RangeTexts(*W), (QStringList{"5.0", "35.0", "0.00", "15.00"}));
        // 0.015 is stored just below itself, so the chart keeps it as its top.
        CompareChartRange(5, 36, 0, 0.015);
        QCOMPARE(W->Chart().States().size(), std::size_t(3));
    }

    void imperialUnitsChangeTheUnitsNotTheValues() {
        F::Action(*W, "Reset1")->trigger();
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        F::Action(*W, "ImperialUnits1")->trigger();
        QVERIFY(F::Action(*W, "ImperialUnits1")->isChecked());
        QCOMPARE(pages.count(), 1);
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel1")->text(), QString("InchHg"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel2")->text(), QString("°F"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel4")->text(), QString("gr/lb"));
        QCOMPARE(F::RangeTexts(*W).mid(0, 2), (QStringList{"32.0", "113.0"}));
        // Stored values stay in SI, up to the rounding of the shown text.
        HYG_COMPARE_NEAR(F::Value(*W, "edPa"), 101.325, 101.325 * 5e-4);
        HYG_COMPARE_NEAR(F::Value(*W, "edWhi"), 0.03, 0.03 * 5e-4);
        const TChartRange& r = W->Range();
        QCOMPARE(r.TempHi, 45.0);
        QCOMPARE(r.HumHi, 0.03);
        CompareChartRange(0, 46, 0, 0.030);
        // The chart gets the Imperial set.
        const THygrova& c = W->Chart();
        QCOMPARE(c.PressureUnit().Index, IPUnitsIndex(utPressureBar));
        QCOMPARE(c.TemperatureUnit().Index, IPUnitsIndex(utTemperature));
        QCOMPARE(c.HumidityUnit().Index, IPUnitsIndex(utHumidity));
        QCOMPARE(c.EnthalpyUnit().Index, IPUnitsIndex(utEnthalpy));
        QCOMPARE(c.VolumeUnit().Index, IPUnitsIndex(utSpecificVol));
        QVERIFY(c.FImperial);
        QVERIFY(W->ImperialUnits());

        F::Action(*W, "ImperialUnits1")->trigger();
        QCOMPARE(F::Edit(*W, "edPa")->text(), QString("101.325"));
        QCOMPARE(F::RangeTexts(*W), (QStringList{"0.0", "45.0", "0.00", "30.00"}));
        QCOMPARE(c.TemperatureUnit().Index, 0);
        QCOMPARE(c.EnthalpyUnit().Index, 0);
        QVERIFY(!c.FImperial);
    }

    void typedValuesAreTakenOverWhenLeavingTheField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key"); // how the field is left
        QTest::addColumn<QString>("shown");
        QTest::addColumn<TChartRange>("chart");
        QTest::addColumn<double>("pressure");
        QTest::newRow("high temperature, Tab")
            << "edThi"
            << "40" << int(Qt::Key_Tab) << "40.0" << TChartRange{0, 0, 41, 0.030} << 101.325;
        QTest::newRow("low temperature, Enter")
            << "edTlo"
            << "5.5" << int(Qt::Key_Return) << "5.5" << TChartRange{5, 0, 46, 0.030} << 101.325;
        QTest::newRow("high humidity, Down")
            << "edWhi"
            << "25" << int(Qt::Key_Down) << "25.00" << TChartRange{0, 0, 46, 0.026} << 101.325;
        QTest::newRow("pressure, Enter")
            << "edPa"
            << "95" << int(Qt::Key_Enter) << "95.000" << TChartRange{0, 0, 46, 0.030} << 95.0;
        // Beyond half a percent over the bound the field puts in the bound, keeps the focus and the
        // chart is drawn with the bound.
        QTest::newRow("pressure, clamped")
            << "edPa"
            << "130" << int(Qt::Key_Tab) << "120.000" << TChartRange{0, 0, 46, 0.030} << 120.0;
    }
    void typedValuesAreTakenOverWhenLeavingTheField() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, shown);
        QFETCH(TChartRange, chart);
        QFETCH(double, pressure);
        F::Action(*W, "Reset1")->trigger();
        TFmtEdit* edit = F::Edit(*W, qPrintable(field));
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        F::TypeInto(edit, typed);
        QCOMPARE(pages.count(), 0);
        QTest::keyClick(edit, Qt::Key(key));
        QCOMPARE(edit->text(), shown);
        QCOMPARE(pages.count(), 1);
        CompareChartRange(chart.TempLo, chart.TempHi, chart.HumLo, chart.HumHi);
        HYG_COMPARE_NEAR(W->Chart().GetPressure(), pressure, 1e-12);
        QCOMPARE(edit->hasFocus(), shown == "120.000");
    }

    void enterAndArrowKeysStepThroughTheFields() {
        struct TStep {
            Qt::Key Key;
            const char* Next;
        };
        F::Edit(*W, "edPa")->setFocus(Qt::TabFocusReason);
        for (const TStep& s :
             {TStep{Qt::Key_Return, "edTlo"}, TStep{Qt::Key_Down, "edThi"}, TStep{Qt::Key_Enter, "edWlo"},
              TStep{Qt::Key_Up, "edThi"}, TStep{Qt::Key_Up, "edTlo"}, TStep{Qt::Key_Down, "edThi"},
              TStep{Qt::Key_Down, "edWlo"}, TStep{Qt::Key_Down, "edWhi"}}) {
            QTest::keyClick(QApplication::focusWidget(), s.Key);
            QCOMPARE(QApplication::focusWidget(), F::Control(*W, s.Next));
        }
        // From the last field the focus goes on to the page; the keys move nothing there.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), F::Preview(*W));
        QTest::keyClick(F::Preview(*W), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), F::Preview(*W));
    }

    void leavingAnUnchangedFieldDoesNotRedraw() {
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        for (const char* name : {"edPa", "edTlo", "edThi", "edWlo", "edWhi"}) {
            F::Edit(*W, name)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(F::Edit(*W, name), Qt::Key_Tab);
        }
        // Typing the text that stands there is a change the user made.
        F::TypeInto(F::Edit(*W, "edThi"), "45.0");
        QTest::keyClick(F::Edit(*W, "edThi"), Qt::Key_Tab);
        QCOMPARE(pages.count(), 1);
    }

    void unitPickedFromALabelRedraws_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("temperature °F")
            << "FmtEditLabel2" << 1 << QStringList{"edTlo", "edThi"} << QStringList{"32.0", "113.0"};
        QTest::newRow("humidity kg/kg")
            << "FmtEditLabel4" << 0 << QStringList{"edWlo", "edWhi"} << QStringList{"0.0000", "0.0300"};
        QTest::newRow("pressure InchHg")
            << "FmtEditLabel1" << 4 << QStringList{"edPa"} << QStringList{"29.8909"};
    }
    void unitPickedFromALabelRedraws() {
        QFETCH(QString, label);
        QFETCH(int, row);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, texts);
        F::Action(*W, "Reset1")->trigger();
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        F::AnswerUnitsPopup(row);
        QTest::mouseClick(F::Control(*W, qPrintable(label)), Qt::LeftButton);
        QCOMPARE(pages.count(), 1);
        for (int i = 0; i < fields.size(); ++i) {
            QCOMPARE(F::Edit(*W, qPrintable(fields[i]))->UnitsValue(), row);
            QCOMPARE(F::Edit(*W, qPrintable(fields[i]))->text(), texts[i]);
        }
        const THygrova& c = W->Chart();
        const int chartUnit = label == "FmtEditLabel1"   ? c.PressureUnit().Index
                              : label == "FmtEditLabel2" ? c.TemperatureUnit().Index
                                                         : c.HumidityUnit().Index;
        QCOMPARE(chartUnit, row);
    }

    void viewOptions_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("option"); // 0 protractor, 1 SHR scale, 2 labels
        QTest::newRow("dH/dW tool") << "dHdWtool1" << 0;
        QTest::newRow("SHR scale") << "SHRScale1" << 1;
        QTest::newRow("process labels") << "ProcessLabels1" << 2;
    }
    void viewOptions() {
        QFETCH(QString, action);
        QFETCH(int, option);
        const THygrova& c = W->Chart();
        auto shown = [&] {
            return option == 0 ? c.FShowProtractor : option == 1 ? c.FShowSHRScale : c.FShowLabels;
        };
        QAction* a = F::Action(*W, qPrintable(action));
        const bool before = a->isChecked();
        QCOMPARE(shown(), before);
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        a->trigger();
        QCOMPARE(a->isChecked(), !before);
        QCOMPARE(shown(), !before);
        a->trigger();
        QCOMPARE(shown(), before);
        QCOMPARE(pages.count(), 2);
    }

    void zoomAndOrientation_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("zoomState");
        QTest::addColumn<int>("zoom"); // 0: fitted
        QTest::newRow("whole page") << "WholePage1" << int(zsZoomToFit) << 0;
        QTest::newRow("fit width") << "FitWidth1" << int(zsZoomToWidth) << 0;
        QTest::newRow("fit height") << "FirHeight1" << int(zsZoomToHeight) << 0;
        QTest::newRow("50%") << "N501" << int(zsZoomOther) << 50;
        QTest::newRow("100%") << "N1001" << int(zsZoomOther) << 100;
        QTest::newRow("150%") << "N1501" << int(zsZoomOther) << 150;
    }
    void zoomAndOrientation() {
        QFETCH(QString, action);
        QFETCH(int, zoomState);
        QFETCH(int, zoom);
        TPrintPreview* p = F::Preview(*W);
        F::Action(*W, "N1501")->trigger(); // away from the fitted states first
        QSignalSpy pages(p, &TPrintPreview::PagesChanged);
        F::Action(*W, qPrintable(action))->trigger();
        QCOMPARE(int(p->ZoomState()), zoomState);
        if (zoom) QCOMPARE(p->Zoom(), zoom);
        QCOMPARE(pages.count(), 1);

        F::Action(*W, "Portrait1")->trigger();
        QCOMPARE(p->Orientation(), poPortrait);
        QCOMPARE(int(p->ZoomState()), zoomState);
        const TRect portrait = W->Chart().PageRect();
        QVERIFY(portrait.Width() < portrait.Height());
        QCOMPARE(portrait.Right, p->PageBounds().Right - 23);
        F::Action(*W, "Landscape1")->trigger();
        QCOMPARE(p->Orientation(), poLandscape);
        QVERIFY(W->Chart().PageRect().Width() > W->Chart().PageRect().Height());
        QCOMPARE(pages.count(), 3);
    }

    void redrawKeepsTheScrollPositions() {
        TPrintPreview* p = F::Preview(*W);
        F::Action(*W, "N1501")->trigger();
        QVERIFY(p->verticalScrollBar()->maximum() > 40);
        QVERIFY(p->horizontalScrollBar()->maximum() > 40);
        p->SetVertScrollPos(37);
        p->SetHorzScrollPos(29);
        F::Action(*W, "SHRScale1")->trigger();
        QCOMPARE(p->VertScrollPos(), 37);
        QCOMPARE(p->HorzScrollPos(), 29);
    }

    void clearProcessesEmptiesTheChart() {
        W->Chart().AddState(StateAt(20, 0.008));
        W->Chart().AddProcess("Coil", StateAt(25, 0.010), StateAt(13, 0.008));
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        F::Action(*W, "Clear1")->trigger();
        QVERIFY(W->Chart().States().empty());
        QVERIFY(W->Chart().Processes().empty());
        QCOMPARE(pages.count(), 1);
    }

    void backgroundColourFromTheColourDialog() {
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        const TColor before = W->Color();
        QColor initial;
        QList<QColor> custom;
        auto open = [&](bool confirm) {
            F::AnswerModal([&, confirm](QWidget& modal) {
                auto* d = qobject_cast<QColorDialog*>(&modal);
                if (!d) return;
                initial = d->currentColor();
                custom.clear();
                for (int i = 0; i < QColorDialog::customCount(); ++i)
                    custom << QColorDialog::customColor(i);
                d->setCurrentColor(QColor(10, 20, 30));
                confirm ? d->accept() : d->reject();
            });
            F::Action(*W, "BackgroundColor1")->trigger();
        };

        open(false);
        QCOMPARE(initial, ToQColor(16776176));
        QCOMPARE(custom.size(), 16);
        QCOMPARE(custom.front(), QColor(0xFE, 0xED, 0xEB)); // ColorA=EBEDFE is blue EB, green ED, red FE
        QCOMPARE(custom.back(), ToQColor(16051937));
        QCOMPARE(W->Color(), before);

        open(true);
        QCOMPARE(W->Color(), RGBColor(10, 20, 30));
        QCOMPARE(F::Control(*W, "Panel1")->palette().color(QPalette::Window), QColor(10, 20, 30));
        QCOMPARE(W->ColorDialog1().Color, RGBColor(10, 20, 30));
        QCOMPARE(W->ColorDialog1().CustomColors.front(), QString("ColorA=EBEDFE"));
        // The page stays white and is not drawn again.
        QCOMPARE(pages.count(), 0);
        QCOMPARE(W->Chart().BackColor(), clWhite);
        // The dialog opens next time with the colour chosen.
        open(false);
        QCOMPARE(initial, QColor(10, 20, 30));
    }

    void aFailedRedrawStillEndsThePage() {
        TPrintPreview* p = F::Preview(*W);
        F::Action(*W, "N1501")->trigger();
        p->SetVertScrollPos(25);
        p->SetHorzScrollPos(15);
        // A data file whose dry bulbs both truncate to 0 °C leaves the chart no span: the redraw fails
        // after the page was started.
        const QString path = FFixture.PathOf("nospan.pst");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[UserFile]\nZoomState=0\nRange=-0.7,0,-0.2,0.02\n");
        file.close();
        W->OpenDialog = [&](QWidget*, const TFileDialogRequest&) { return path; };
        F::Action(*W, "LoadfromFile1")->trigger();
        QCOMPARE(FFixture.Errors, QStringList{"Floating point division by zero"});
        QVERIFY(!p->IsBusy());
        QCOMPARE(p->PageCount(), 1);
        QCOMPARE(p->VertScrollPos(), 25);
        QCOMPARE(p->HorzScrollPos(), 15);
        QCOMPARE(W->windowTitle(), QString("Hygrova"));
        // The window goes on working: a range typed over the bad one draws again.
        TFmtEdit* edThi = F::Edit(*W, "edThi");
        F::TypeInto(edThi, "40");
        QTest::keyClick(edThi, Qt::Key_Tab);
        QCOMPARE(FFixture.Errors.size(), 1);
        QCOMPARE(W->Chart().TempHi(), 41.0);
    }

    void defaultErrorHandlerShowsTheMessageAndGoesOn() {
        // An exception escaping any event handler reaches the application's handler.
        ThrowingObject faulty;
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&faulty, &event));
        QCOMPARE(FFixture.Errors, QStringList{"Something went wrong"});

        // Without a sink it is a message box with the application title and a stop icon.
        SetExceptionSink({});
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        F::AnswerModal([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->accept();
        });
        ShowException(std::make_exception_ptr(std::runtime_error("Unable to write to /x/y.pst")));
        QCOMPARE(title, QString("Hygrova"));
        QCOMPARE(text, QString("Unable to write to /x/y.pst"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(ExceptionMessage(std::make_exception_ptr(42)),
                 QString("The command failed for an unknown reason."));
    }

    void commitActiveEditTakesOverTheTypedValue() {
        TFmtEdit* edThi = F::Edit(*W, "edThi");
        F::TypeInto(edThi, "38");
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        W->CommitActiveEdit();
        QCOMPARE(edThi->text(), QString("38.0"));
        QCOMPARE(W->Range().TempHi, 38.0);
        QCOMPARE(pages.count(), 1);
        QVERIFY(!edThi->isModified());
    }

    // The window's shortcuts come before the field's own key bindings, as a menu's do.
    void shortcutsWorkWhileAFieldHasTheFocus() {
        F::Action(*W, "N501")->trigger();
        TFmtEdit* edThi = F::Edit(*W, "edThi");
        edThi->setFocus(Qt::TabFocusReason);
        QTest::keyClick(edThi, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(F::Preview(*W)->ZoomState(), zsZoomToFit);
        QTest::keyClick(edThi, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(W->Chart().TempHi(), 91.0);
        QCOMPARE(edThi->text(), QString("90.0"));
    }

    // A value typed but not yet taken over is taken over in the unit it was typed in before the
    // units change under it, so the chart and the fields agree.
    void unitChangesTakeOverATypedValueFirst_data() {
        QTest::addColumn<bool>("fromLabel");
        QTest::newRow("Imperial Units item") << false;
        QTest::newRow("units label") << true;
    }
    void unitChangesTakeOverATypedValueFirst() {
        QFETCH(bool, fromLabel);
        TFmtEdit* edThi = F::Edit(*W, "edThi");
        F::TypeInto(edThi, "50");
        if (fromLabel) {
            F::AnswerUnitsPopup(1);
            QTest::mouseClick(F::Control(*W, "FmtEditLabel2"), Qt::LeftButton);
        } else {
            F::Action(*W, "ImperialUnits1")->trigger();
        }
        QCOMPARE(edThi->text(), QString("122.0"));
        QCOMPARE(W->Range().TempHi, 50.0);
        QCOMPARE(W->Chart().TempHi(), 51.0);
    }

    // Closed from outside while another window is active: the typed value is still checked and
    // stored as the field takes it over.
    void closingWhileInactiveTakesOverTheTypedValue() {
        TFmtEdit* edPa = F::Edit(*W, "edPa");
        F::TypeInto(edPa, "130");
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        W->close();
        QCOMPARE(TRegistryIniFile(ProgramRegistryKey()).ReadFloat("Settings", "BarometricPressure", 0),
                 120.0);
    }

    void helpCommands() {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "handle");
        QDesktopServices::setUrlHandler("mailto", &catcher, "handle");
        F::Action(*W, "Index1")->trigger();
        F::Action(*W, "EmailKorvantDirect1")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QDesktopServices::unsetUrlHandler("mailto");
        QCOMPARE(catcher.Urls.size(), 2);
        QCOMPARE(catcher.Urls[0].toLocalFile(), QString(HYG_SOURCE_DATA "/Hygrova.htm"));
        QCOMPARE(catcher.Urls[1].scheme(), QString("mailto"));

        QString caption;
        F::AnswerModal([&](QWidget& modal) {
            caption = modal.windowTitle();
            modal.close();
        });
        F::Action(*W, "About1")->trigger();
        QCOMPARE(caption, QString("About"));
    }

    void exitClosesTheWindow() {
        F::Action(*W, "Exit1")->trigger();
        QVERIFY(!W->isVisible());
        // Closing wrote the settings.
        const TRegistryIniFile store(ProgramRegistryKey());
        QVERIFY(store.SectionExists("Settings"));
        QVERIFY(store.SectionExists("HygrovaDlg"));
    }

    void closingWithAnUnwritableStoreShowsWhyAndCloses() {
        // A settings file the store cannot parse is never written over.
        const std::string file = TRegistryIniFile(ProgramRegistryKey()).FileName();
        QFile damaged(QString::fromStdString(file));
        QVERIFY(QDir().mkpath(QFileInfo(damaged).absolutePath()));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("[Settings\nZoomState=1\n\x01\x02 garbage\n");
        damaged.close();
        W->close();
        QVERIFY(!W->isVisible());
        QCOMPARE(FFixture.Errors.size(), 1);
        QVERIFY2(FFixture.Errors.front().startsWith(QString::fromStdString("Unable to write to " + file)),
                 qPrintable(FFixture.Errors.front()));
    }
};

HYG_APP_TEST_MAIN(HygrovaDlgTest)
#include "HygrovaDlgTest.moc"
