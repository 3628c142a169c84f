// The main window's set-up in the settings store (read at creation, written at close) and in the chart
// data file (.pst), on real files in a temporary folder, through the real window.

#include "AppTestSupport.h"

#include "platform/IniFiles.h"
#include "psychro/Format.h"
#include "units/TxConv.h"

#include <QCursor>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QSignalSpy>

#include <optional>

Q_DECLARE_METATYPE(TChartRange)

namespace {

using F = TAppTestFixture;

QByteArray Slurp(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Spit(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// The store's file read raw, to see the kind each value was written as.
std::unique_ptr<QSettings> RawStore() {
    return std::make_unique<QSettings>(
        QString::fromStdString(TRegistryIniFile(ProgramRegistryKey()).FileName()), QSettings::IniFormat);
}

QStringList DefaultCustomColorLines() {
    return {"ColorA=EBEDFE", "ColorB=E9FDFE", "ColorC=E7FEF2", "ColorD=F4FEE7",
            "ColorE=FFFAE6", "ColorF=FFF2EA", "ColorG=FFEAFD", "ColorH=F4F0FF",
            "ColorI=F1F2F8", "ColorJ=F0F7F9", "ColorK=F0F7F1", "ColorL=F5F7F0",
            "ColorM=F7F4F2", "ColorN=FAF5F8", "ColorO=F9ECF8", "ColorP=F4EEE1"};
}

// What the window shows of its set-up.
struct TSetUp {
    bool Imperial = false;
    int PressureUnit = 0, TemperatureUnit = 0, HumidityUnit = 1;
    int Zoom = zsZoomToFit, Orientation = poLandscape;
    TChartRange Range{0, 0, 45, 0.03};
    TColor Background = 16051937;
    bool Tool = true, SHR = true, Labels = false;
    double Pressure = 101.325;
};

} // namespace

Q_DECLARE_METATYPE(TSetUp)

class HygrovaFilesTest : public QObject {
    Q_OBJECT

private:
    TAppTestFixture FFixture;
    std::unique_ptr<THygrovaDlg> W;

    void CompareSetUp(const TSetUp& e) {
        QCOMPARE(F::Action(*W, "ImperialUnits1")->isChecked(), e.Imperial);
        QCOMPARE(F::Edit(*W, "edPa")->UnitsValue(), e.PressureUnit);
        QCOMPARE(F::Edit(*W, "edTlo")->UnitsValue(), e.TemperatureUnit);
        QCOMPARE(F::Edit(*W, "edThi")->UnitsValue(), e.TemperatureUnit);
        QCOMPARE(F::Edit(*W, "edWlo")->UnitsValue(), e.HumidityUnit);
        QCOMPARE(F::Edit(*W, "edWhi")->UnitsValue(), e.HumidityUnit);
        QCOMPARE(int(F::Preview(*W)->ZoomState()), e.Zoom);
        QCOMPARE(int(F::Preview(*W)->Orientation()), e.Orientation);
        const TChartRange& r = W->Range();
        HYG_COMPARE_NEAR(r.TempLo, e.Range.TempLo, 1e-9);
        HYG_COMPARE_NEAR(r.HumLo, e.Range.HumLo, 1e-9);
        HYG_COMPARE_NEAR(r.TempHi, e.Range.TempHi, 1e-9);
        HYG_COMPARE_NEAR(r.HumHi, e.Range.HumHi, 1e-9);
        QCOMPARE(W->Color(), e.Background);
        QCOMPARE(F::Action(*W, "dHdWtool1")->isChecked(), e.Tool);
        QCOMPARE(F::Action(*W, "SHRScale1")->isChecked(), e.SHR);
        QCOMPARE(F::Action(*W, "ProcessLabels1")->isChecked(), e.Labels);
        // The shown pressure carries the rounding of its unit's format.
        HYG_COMPARE_NEAR(F::Value(*W, "edPa"), e.Pressure, e.Pressure * 2e-6);
    }

    // A set-up far from every default, so that a default that applies is seen.
    void MoveAwayFromTheDefaults() {
        F::Action(*W, "HighTemperature1")->trigger();
        F::Action(*W, "Portrait1")->trigger();
        F::Action(*W, "FitWidth1")->trigger();
        F::Action(*W, "SHRScale1")->trigger();
        F::Action(*W, "ProcessLabels1")->trigger();
        F::AnswerUnitsPopup(2);
        QTest::mouseClick(F::Control(*W, "FmtEditLabel2"), Qt::LeftButton); // kelvin
        W->SetColor(0x336699);
        F::TypeInto(F::Edit(*W, "edPa"), "95.5");
        QTest::keyClick(F::Edit(*W, "edPa"), Qt::Key_Tab);
    }

    // Load or save through the window's command with the dialog answered by `chosen`.
    std::optional<TFileDialogRequest> Run(const char* action, const QString& chosen) {
        std::optional<TFileDialogRequest> asked;
        auto answer = [&](QWidget*, const TFileDialogRequest& r) {
            asked = r;
            return chosen;
        };
        W->OpenDialog = answer;
        W->SaveDialog = answer;
        F::Action(*W, action)->trigger();
        return asked;
    }

private slots:
    void initTestCase() { FFixture.InitTestCase(); }
    void init() { FFixture.Init(); }
    void cleanup() {
        W.reset();
        FFixture.Cleanup();
    }

    void firstRunWithAnEmptyStoreShowsTheDefaults() {
        W = F::OpenWindow();
        QVERIFY(W);
        CompareSetUp(TSetUp{});
        QCOMPARE(F::Edit(*W, "edPa")->text(), QString("101.325"));
        QCOMPARE(F::RangeTexts(*W), (QStringList{"0.0", "45.0", "0.00", "30.00"}));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel1")->text(), QString("kPa"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel2")->text(), QString("°C"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel4")->text(), QString("g/kg"));
        QCOMPARE(W->EnthalpyUnits(), 0);
        QCOMPARE(W->VolumeUnits(), 0);
        QVERIFY(!W->ImperialUnits());
        QCOMPARE(W->ColorDialog1().CustomColors, DefaultCustomColorLines());
        QCOMPARE(W->ColorDialog1().Color, TColor(16776176));
        const QString folder = FFixture.Dir->path() + "/";
        QCOMPARE(W->DataFileName, folder + "Hygrova.pst");
        QCOMPARE(W->ImageFileName, folder + "Hygrova");
        QCOMPARE(W->PreviewFileName, folder + "Hygrova.ppv");
        QCOMPARE(W->PdfFileName, folder + "Hygrova.pdf");
        QCOMPARE(W->Chart().TempLo(), 0.0);
        QCOMPARE(W->Chart().TempHi(), 46.0);
    }

    void settingsAreWrittenOnCloseAndComeBack() {
        W = F::OpenWindow();
        QVERIFY(W);
        F::TypeInto(F::Edit(*W, "edPa"), "95.5");
        QTest::keyClick(F::Edit(*W, "edPa"), Qt::Key_Tab);
        F::Action(*W, "ImperialUnits1")->trigger();
        F::Action(*W, "HighTemperature1")->trigger();
        F::Action(*W, "Portrait1")->trigger();
        F::Action(*W, "FitWidth1")->trigger();
        F::Action(*W, "SHRScale1")->trigger();
        F::Action(*W, "ProcessLabels1")->trigger();
        W->SetColor(0x336699);
        W->resize(820, 540);
        F::CloseWindow(W);

        // Each kind as the store keeps it.
        auto raw = RawStore();
        raw->beginGroup("Settings");
        QCOMPARE(raw->value("ImperialUnits"), QVariant(QString("1")));
        QCOMPARE(raw->value("PressureUnits").toInt(), 4);
        QCOMPARE(raw->value("TemperatureUnits").toInt(), 1);
        QCOMPARE(raw->value("HumidityUnits").toInt(), 2);
        QCOMPARE(raw->value("EnthalpyUnits").toInt(), 1);
        QCOMPARE(raw->value("VolumeUnits").toInt(), 1);
        QCOMPARE(raw->value("ToolImperial"), QVariant(QString("1")));
        QCOMPARE(raw->value("ZoomState").toInt(), 1);
        QCOMPARE(raw->value("Orientation").toInt(), 0);
        QCOMPARE(raw->value("Range"), QVariant(QString("20,0,90,0.1")));
        QCOMPARE(raw->value("Background").toInt(), 0x336699);
        QCOMPARE(raw->value("CustomColors").toString(), DefaultCustomColorLines().join("\r\n") + "\r\n");
        QCOMPARE(raw->value("dHdWTool"), QVariant(QString("1")));
        QCOMPARE(raw->value("SHRScale"), QVariant(QString("0")));
        QCOMPARE(raw->value("ProcessLabels"), QVariant(QString("1")));
        QCOMPARE(raw->value("BarometricPressure").typeId(), int(QMetaType::QByteArray));
        QCOMPARE(raw->value("BarometricPressure").toByteArray().size(), 8);
        raw->endGroup();
        QCOMPARE(raw->value("HygrovaDlg/Width").toInt(), 820);
        QCOMPARE(raw->value("HygrovaDlg/Height").toInt(), 540);

        W = F::OpenWindow();
        QVERIFY(W);
        TSetUp e;
        e.Imperial = true;
        e.PressureUnit = 4;
        e.TemperatureUnit = 1;
        e.HumidityUnit = 2;
        e.Zoom = zsZoomToWidth;
        e.Orientation = poPortrait;
        e.Range = TChartRange{20, 0, 90, 0.1};
        e.Background = 0x336699;
        e.SHR = false;
        e.Labels = true;
        e.Pressure = 95.5;
        CompareSetUp(e);
        QCOMPARE(W->size(), QSize(820, 540));
        QCOMPARE(F::RangeTexts(*W), (QStringList{"68.0", "194.0", "0.0", "700.0"}));
        QCOMPARE(W->EnthalpyUnits(), IPUnitsIndex(utEnthalpy));
        QCOMPARE(W->VolumeUnits(), IPUnitsIndex(utSpecificVol));
        QVERIFY(W->ImperialUnits());
        QCOMPARE(W->Chart().TempHi(), 91.0);
        QVERIFY(W->Chart().FImperial);
    }

    void aPressureUnitOtherThanTheSystemDefaultComesBack() {
        W = F::OpenWindow();
        QVERIFY(W);
        F::Action(*W, "ImperialUnits1")->trigger();
        F::AnswerUnitsPopup(1); // Psi
        QTest::mouseClick(F::Control(*W, "FmtEditLabel1"), Qt::LeftButton);
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel1")->text(), QString("Psi"));
        F::CloseWindow(W);

        W = F::OpenWindow();
        QVERIFY(W);
        QCOMPARE(F::Edit(*W, "edPa")->UnitsValue(), 1);
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel1")->text(), QString("Psi"));
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel2")->text(), QString("°F"));
        QCOMPARE(W->Chart().PressureUnit().Index, 1);
    }

    void storedValuesTheWindowCannotUseGiveTheDefaults() {
        {
            TRegistryIniFile store(ProgramRegistryKey());
            store.WriteString("Settings", "Range", "0,abc,45,0.03");
            store.WriteInteger("Settings", "ZoomState", 7);
            store.WriteInteger("Settings", "Orientation", 5);
            store.WriteString("Settings", "BarometricPressure", "abc");
            store.WriteString("Settings", "ImperialUnits", "yes");
            store.WriteString("Settings", "CustomColors", "ColorB=0000FF\r\nColorA=zz\r\n");
        }
        W = F::OpenWindow();
        QVERIFY(W);
        CompareSetUp(TSetUp{});
        // The custom colours come back as stored; slots without a readable entry are white.
        QCOMPARE(W->ColorDialog1().CustomColors, (QStringList{"ColorB=0000FF", "ColorA=zz"}));
        QCOMPARE(W->ColorDialog1().CustomColor(0), clWhite);
        QCOMPARE(W->ColorDialog1().CustomColor(1), TColor(0x0000FF));
        QCOMPARE(W->ColorDialog1().CustomColor(2), clWhite);
        {
            TRegistryIniFile store(ProgramRegistryKey());
            store.WriteString("Settings", "Range", "10,0.005");
        }
        W.reset();
        W = F::OpenWindow();
        QVERIFY(W);
        CompareSetUp(TSetUp{});
        {
            TRegistryIniFile store(ProgramRegistryKey());
            store.WriteString("Settings", "Range", "0,0,1e12,0.03");
            store.WriteFloat("Settings", "BarometricPressure", 5000);
        }
        W.reset();
        W = F::OpenWindow();
        QVERIFY(W);
        CompareSetUp(TSetUp{});
    }

    void dataFileIsRead_data() {
        QTest::addColumn<QByteArray>("content"); // a null array: no file
        QTest::addColumn<TSetUp>("expected");
        TSetUp defaults;
        TSetUp imperial = defaults;
        imperial.Imperial = true;
        imperial.PressureUnit = 4;
        imperial.TemperatureUnit = 1;
        imperial.HumidityUnit = 2;
        QTest::newRow("no file") << QByteArray() << defaults;
        QTest::newRow("empty file") << QByteArray("") << defaults;
        QTest::newRow("only ImperialUnits=1") << QByteArray("[UserFile]\nImperialUnits=1\n") << imperial;
        QTest::newRow("hexadecimal true") << QByteArray("[UserFile]\r\nImperialUnits=0x1\r\n") << imperial;
        QTest::newRow("yes is not a number") << QByteArray("[UserFile]\nImperialUnits=yes\n") << defaults;
        QTest::newRow("pressure abc") << QByteArray("[UserFile]\nBarometricPressure=abc\n") << defaults;
        QTest::newRow("fewer than four range numbers")
            << QByteArray("[UserFile]\nRange=10,0.005\n") << defaults;
        // Values the fields would not accept cannot keep the chart from drawing.
        QTest::newRow("range beyond the fields")
            << QByteArray("[UserFile]\nRange=0,0,1000000000000,0.03\n") << defaults;
        QTest::newRow("pressure beyond the barometer")
            << QByteArray("[UserFile]\nBarometricPressure=5000\n") << defaults;
        TSetUp tolerated = defaults;
        tolerated.Pressure = 69.8; // within the field's 0.5 % tolerance below 70 kPa
        QTest::newRow("pressure the field tolerates")
            << QByteArray("[UserFile]\nBarometricPressure=69.8\n") << tolerated;
        QTest::newRow("names in any letter case") << QByteArray("[userfile]\nimperialunits=1\n") << imperial;
        TSetUp all;
        all.PressureUnit = 2;
        all.TemperatureUnit = 2;
        all.HumidityUnit = 0;
        all.Zoom = zsZoomToHeight;
        all.Orientation = poPortrait;
        all.Range = TChartRange{-10, 0.001, 35.5, 0.02};
        all.Background = 255;
        all.Tool = false;
        all.SHR = false;
        all.Labels = true;
        all.Pressure = 98.7;
        QTest::newRow("every key") << QByteArray(
                                          "[Other]\nRange=1,1,1,1\n[UserFile]\nFileName=x\nDateTime=y\n"
                                          "ImperialUnits=0\nPressureUnits=2\nTemperatureUnits=2\n"
                                          "HumidityUnits=0\nZoomState=2\nOrientation=0\n"
                                          "Range=-10,0.001,35.5,0.02\nBackground=255\ndHdWTool=0\n"
                                          "SHRScale=0\nProcessLabels=1\nBarometricPressure=98.7\n")
                                   << all;
    }
    void dataFileIsRead() {
        QFETCH(QByteArray, content);
        QFETCH(TSetUp, expected);
        W = F::OpenWindow();
        QVERIFY(W);
        MoveAwayFromTheDefaults();
        const QString path = FFixture.PathOf("chart.pst");
        if (!content.isNull()) Spit(path, content);
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        QSignalSpy titles(W.get(), &QWidget::windowTitleChanged);
        // The hourglass shows while the busy caption does.
        QList<bool> hourglass;
        connect(W.get(), &QWidget::windowTitleChanged, this, [&hourglass] {
            const QCursor* c = QApplication::overrideCursor();
            hourglass << (c && c->shape() == Qt::WaitCursor);
        });
        const std::optional<TFileDialogRequest> asked = Run("LoadfromFile1", path);
        QVERIFY(FFixture.Errors.isEmpty());
        QVERIFY(asked);
        QCOMPARE(asked->FileName, FFixture.Dir->path() + "/Hygrova.pst");
        QCOMPARE(asked->InitialFolder, FFixture.Dir->path());
        QCOMPARE(asked->Filter, QString("Hygrova Data File (*.pst)"));
        QCOMPARE(asked->DefaultSuffix, QString("pst"));
        CompareSetUp(expected);
        QCOMPARE(W->DataFileName, path);
        QCOMPARE(pages.count(), 1);
        QCOMPARE(titles.count(), 2);
        QCOMPARE(titles[0][0].toString(), QString("Hygrova - Loading Hygrova Data File..."));
        QCOMPARE(titles[1][0].toString(), QString("Hygrova"));
        QCOMPARE(W->windowTitle(), QString("Hygrova"));
        QVERIFY(!hourglass.isEmpty() && hourglass.front());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The chart got what the fields show.
        QCOMPARE(W->Chart().TemperatureUnit().Index, expected.TemperatureUnit);
        QCOMPARE(W->Chart().FImperial, expected.Imperial);
    }

    void saveWritesTheSectionInKeyOrder() {
        W = F::OpenWindow();
        QVERIFY(W);
        F::TypeInto(F::Edit(*W, "edPa"), "99.123");
        QTest::keyClick(F::Edit(*W, "edPa"), Qt::Key_Tab);
        const QString path = FFixture.PathOf("new.pst");
        QSignalSpy titles(W.get(), &QWidget::windowTitleChanged);
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        const QDate before = QDate::currentDate();
        const std::optional<TFileDialogRequest> asked = Run("SavetoFile1", path);
        const QDate after = QDate::currentDate();
        QVERIFY(FFixture.Errors.isEmpty());
        QVERIFY(asked);
        QCOMPARE(asked->DefaultSuffix, QString("pst"));
        QCOMPARE(asked->Filter, QString("Hygrova Data File (*.pst)"));
        QCOMPARE(W->DataFileName, path);
        QCOMPARE(pages.count(), 0);
        QCOMPARE(titles.count(), 2);
        QCOMPARE(titles[0][0].toString(), QString("Hygrova - Saving Hygrova Data File..."));
        QCOMPARE(W->windowTitle(), QString("Hygrova"));

        const QList<QByteArray> lines = Slurp(path).split('\n');
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines[0], QByteArray("[UserFile]"));
        QCOMPARE(lines[1], "FileName=" + path.toUtf8());
        // The date of saving only, in the system's short date format.
        const QByteArray date = lines[2].mid(QByteArray("DateTime=").size());
        QVERIFY(lines[2].startsWith("DateTime="));
        QVERIFY2(date == QLocale::system().toString(before, QLocale::ShortFormat).toUtf8() ||
                     date == QLocale::system().toString(after, QLocale::ShortFormat).toUtf8(),
                 date.constData());
        QVERIFY2(!date.contains(':'), date.constData());
        QCOMPARE(lines.mid(3),
                 (QList<QByteArray>{"ImperialUnits=0", "PressureUnits=0", "TemperatureUnits=0",
                                    "HumidityUnits=1", "ZoomState=3", "Orientation=1", "Range=0,0,45,0.03",
                                    "Background=16051937", "dHdWTool=1", "SHRScale=1", "ProcessLabels=0",
                                    "BarometricPressure=99.123", ""}));
    }

    void saveIntoAnotherProgramsIniKeepsEverythingElse() {
        W = F::OpenWindow();
        QVERIFY(W);
        const QString path = FFixture.PathOf("shared.ini");
        const QByteArray head = "; written by another program\r\n[Other]\r\nKey = Value\r\n\r\n";
        const QByteArray tail = "[Tail]\r\n  spaced = kept \r\n";
        Spit(path, head + "[userfile]\r\nRange=1,2,3,4\r\nExtra=keep\r\n" + tail);
        Run("SavetoFile1", path);
        QVERIFY(FFixture.Errors.isEmpty());
        const QByteArray written = Slurp(path);
        QVERIFY(written.startsWith(head + "[userfile]\r\nRange=0,0,45,0.03\r\nExtra=keep\r\nFileName=" +
                                   path.toUtf8() + "\r\nDateTime="));
        QVERIFY(written.endsWith("\r\nBarometricPressure=101.325\r\n" + tail));
        TMemIniFile ini(path.toStdString());
        QCOMPARE(ini.ReadSection("UserFile").size(), std::size_t(15));
        QCOMPARE(ini.ReadSections(), (std::vector<std::string>{"Other", "userfile", "Tail"}));
    }

    void savedFileLoadsBackAndLeavesToolUnitsAndCustomColours() {
        {
            TRegistryIniFile store(ProgramRegistryKey());
            store.WriteInteger("Settings", "EnthalpyUnits", 1);
            store.WriteInteger("Settings", "VolumeUnits", 1);
            store.WriteBool("Settings", "ToolImperial", true);
            store.WriteString("Settings", "CustomColors", "ColorA=123456\r\n");
        }
        W = F::OpenWindow();
        QVERIFY(W);
        MoveAwayFromTheDefaults();
        const QString path = FFixture.PathOf("round.pst");
        Run("SavetoFile1", path);
        QCOMPARE(W->EnthalpyUnits(), 1);
        QCOMPARE(W->VolumeUnits(), 1);
        QVERIFY(W->ImperialUnits());

        F::Action(*W, "Reset1")->trigger();
        Run("LoadfromFile1", path);
        QVERIFY(FFixture.Errors.isEmpty());
        TSetUp e;
        e.TemperatureUnit = 2;
        e.Zoom = zsZoomToWidth;
        e.Orientation = poPortrait;
        e.Range = TChartRange{20, 0, 90, 0.1};
        e.Background = 0x336699;
        e.SHR = false;
        e.Labels = true;
        e.Pressure = 95.5;
        CompareSetUp(e);
        QCOMPARE(F::RangeTexts(*W), (QStringList{"293.15", "363.15", "0.00", "100.00"}));
        // Only the unit-system step of the load touches the chart's label units.
        QCOMPARE(W->EnthalpyUnits(), 0);
        QCOMPARE(W->VolumeUnits(), 0);
        QVERIFY(!W->ImperialUnits());
        QCOMPARE(W->ColorDialog1().CustomColors, QStringList{"ColorA=123456"});
    }

    void unreadableRangeNumberStopsTheLoad() {
        W = F::OpenWindow();
        QVERIFY(W);
        const QString path = FFixture.PathOf("bad.pst");
        Spit(path, "[UserFile]\nImperialUnits=1\nZoomState=1\nRange=0,abc,45,0.03\nBackground=255\n");
        QString captionWhenShown;
        bool cursorWhenShown = true;
        SetExceptionSink([&](const QString& message) {
            FFixture.Errors << message;
            captionWhenShown = W->windowTitle();
            cursorWhenShown = QApplication::overrideCursor() != nullptr;
        });
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        Run("LoadfromFile1", path);
        QCOMPARE(FFixture.Errors, QStringList{"'abc' is not a valid floating point value"});
        QCOMPARE(captionWhenShown, QString("Hygrova"));
        QVERIFY(!cursorWhenShown);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // What came before the range is applied, the rest is not, and the page is not drawn.
        QVERIFY(F::Action(*W, "ImperialUnits1")->isChecked());
        QCOMPARE(F::Control<QLabel>(*W, "FmtEditLabel2")->text(), QString("°F"));
        QCOMPARE(F::Preview(*W)->ZoomState(), zsZoomToWidth);
        QCOMPARE(W->Color(), TColor(16051937));
        QCOMPARE(pages.count(), 0);
        QCOMPARE(W->DataFileName, path);
    }

    void unwritableDataFileIsReported() {
        W = F::OpenWindow();
        QVERIFY(W);
        const QString path = FFixture.PathOf("missing/chart.pst");
        Run("SavetoFile1", path);
        QCOMPARE(FFixture.Errors, QStringList{"Unable to write to " + path});
        QCOMPARE(W->windowTitle(), QString("Hygrova"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(!QFile::exists(path));
        // A name that is a folder cannot be read as a file either: still the same message.
        const QString folder = FFixture.PathOf("");
        FFixture.Errors.clear();
        Run("SavetoFile1", folder);
        QCOMPARE(FFixture.Errors, QStringList{"Unable to write to " + folder});
    }

    void cancelledDialogsChangeNothing() {
        W = F::OpenWindow();
        QVERIFY(W);
        const QString before = W->DataFileName;
        QSignalSpy pages(F::Preview(*W), &TPrintPreview::PagesChanged);
        QVERIFY(Run("LoadfromFile1", QString()));
        QVERIFY(Run("SavetoFile1", QString()));
        QCOMPARE(W->DataFileName, before);
        QCOMPARE(W->windowTitle(), QString("Hygrova 2.0.4.0"));
        QCOMPARE(pages.count(), 0);
        QVERIFY(!QFile::exists(before));
    }

    void theDialogsAreQtFileDialogs() {
        W = F::OpenWindow();
        QVERIFY(W);
        const QString target = FFixture.PathOf("chart.pst");
        Spit(target, "[Kept]\nk=1\n");
        QStringList filters;
        QString suffix, directory;
        bool noOverwritePrompt = false, saving = false;
        auto inspect = [&](QFileDialog& d) {
            filters = d.nameFilters();
            suffix = d.defaultSuffix();
            directory = d.directory().absolutePath();
            noOverwritePrompt = d.testOption(QFileDialog::DontConfirmOverwrite);
            saving = d.acceptMode() == QFileDialog::AcceptSave;
        };
        // An existing file is written over without a question; the suffix is added to a bare name.
        F::AnswerModal([&](QWidget& modal) {
            auto* d = qobject_cast<QFileDialog*>(&modal);
            if (!d) return;
            inspect(*d);
            d->selectFile(FFixture.PathOf("chart"));
            static_cast<QDialog*>(d)->accept(); // as the dialog's own button does
        });
        F::Action(*W, "SavetoFile1")->trigger();
        QVERIFY(FFixture.Errors.isEmpty());
        QCOMPARE(filters, QStringList{"Hygrova Data File (*.pst)"});
        QCOMPARE(suffix, QString("pst"));
        QCOMPARE(directory, FFixture.Dir->path());
        QVERIFY(noOverwritePrompt);
        QVERIFY(saving);
        QCOMPARE(W->DataFileName, target);
        QVERIFY(Slurp(target).startsWith("[Kept]\nk=1\n\n[UserFile]\n"));

        F::AnswerModal([&](QWidget& modal) {
            auto* d = qobject_cast<QFileDialog*>(&modal);
            if (!d) return;
            inspect(*d);
            d->reject();
        });
        F::Action(*W, "LoadfromFile1")->trigger();
        QCOMPARE(filters, QStringList{"Hygrova Data File (*.pst)"});
        QVERIFY(!saving);
        QCOMPARE(W->windowTitle(), QString("Hygrova"));
    }
};

HYG_APP_TEST_MAIN(HygrovaFilesTest)
#include "HygrovaFilesTest.moc"
