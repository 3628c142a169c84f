// Window placement on real top-level widgets (offscreen platform), with the store in a temporary folder.

#include "platform/FormPlacement.h"
#include "platform/RegistryIniFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

class FormPlacementTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;

    static std::unique_ptr<QWidget> Window(const char* name) {
        auto w = std::make_unique<QWidget>();
        w->setObjectName(name);
        w->setGeometry(50, 60, 320, 240);
        return w;
    }
    static void Store(const char* section, std::initializer_list<std::pair<const char*, int>> values) {
        TRegistryIniFile store(ProgramRegistryKey());
        for (const auto& [key, value] : values)
            store.WriteInteger(section, key, value);
    }
    static QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, FDir->path());
    }

    void savedPlacementComesBack() {
        {
            auto w = Window("HygrovaDlg");
            w->setGeometry(120, 80, 400, 300);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            SaveFormPlacement(w.get());
        }
        const TRegistryIniFile store(ProgramRegistryKey());
        QCOMPARE(store.ReadSection("HygrovaDlg"),
                 (std::vector<std::string>{"Height", "Left", "Top", "Visible", "Width", "WinState"}));
        QCOMPARE(store.ReadInteger("HygrovaDlg", "Left", -1), 120);
        QCOMPARE(store.ReadInteger("HygrovaDlg", "Top", -1), 80);
        QCOMPARE(store.ReadInteger("HygrovaDlg", "Width", -1), 400);
        QCOMPARE(store.ReadInteger("HygrovaDlg", "Height", -1), 300);
        QCOMPARE(store.ReadString("HygrovaDlg", "Visible", ""), std::string("1"));
        QCOMPARE(store.ReadInteger("HygrovaDlg", "WinState", -1), 0);

        // The main window's way: size, no visibility.
        auto again = Window("HygrovaDlg");
        RestoreFormPlacement(again.get(), false, true);
        QCOMPARE(again->geometry(), QRect(120, 80, 400, 300));
        QVERIFY(!again->isVisible());

        // Without size only the position moves.
        auto moved = Window("HygrovaDlg");
        RestoreFormPlacement(moved.get(), false, false);
        QCOMPARE(moved->geometry(), QRect(120, 80, 320, 240));
    }

    void missingRecordKeepsTheWindow() {
        auto w = Window("AltBaromForm");
        RestoreFormPlacement(w.get(), false, true);
        QCOMPARE(w->geometry(), QRect(50, 60, 320, 240));
        QCOMPARE(w->windowState(), Qt::WindowNoState);
        // A record with no usable size keeps the window's size but still moves it.
        Store("AltBaromForm", {{"Left", 100}, {"Top", 90}, {"Width", 0}, {"Height", -5}});
        RestoreFormPlacement(w.get(), false, true);
        QCOMPARE(w->geometry(), QRect(100, 90, 320, 240));
    }

    void visibility() {
        auto hidden = Window("SelectLocationForm");
        hidden->show();
        RestoreFormPlacement(hidden.get(), true, false); // no "Visible" yet: hidden
        QVERIFY(!hidden->isVisible());

        TRegistryIniFile(ProgramRegistryKey()).WriteBool("SelectLocationForm", "Visible", true);
        auto shown = Window("SelectLocationForm");
        RestoreFormPlacement(shown.get(), true, false);
        QVERIFY(shown->isVisible());
        // A window that does not restore visibility keeps its own.
        auto kept = Window("SelectLocationForm");
        RestoreFormPlacement(kept.get(), false, false);
        QVERIFY(!kept->isVisible());
    }

    void positionIsPulledBackOntoTheScreen_data() {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("expectedLeft");
        QTest::addColumn<int>("expectedTop");
        const QRect a = Area();
        QTest::newRow("on screen") << 10 << 20 << 10 << 20;
        QTest::newRow("left of and above") << -300 << -5 << a.left() << a.top();
        QTest::newRow("at the limit")
            << a.width() - 100 << a.height() - 100 << a.width() - 100 << a.height() - 100;
        QTest::newRow("one past the limit")
            << a.width() - 99 << a.height() - 99 << a.width() - 200 << a.height() - 200;
        QTest::newRow("saved on a larger screen") << 2500 << 1400 << a.width() - 200 << a.height() - 200;
    }
    void positionIsPulledBackOntoTheScreen() {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, expectedLeft);
        QFETCH(int, expectedTop);
        Store("AltBaromForm", {{"Left", left}, {"Top", top}, {"Width", 900}, {"Height", 700}});
        auto w = Window("AltBaromForm");
        RestoreFormPlacement(w.get(), false, false);
        QCOMPARE(w->pos(), QPoint(expectedLeft, expectedTop));
        QCOMPARE(w->size(), QSize(320, 240));
    }

    void windowState_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("normal") << 0 << int(Qt::WindowNoState);
        QTest::newRow("minimised") << 1 << int(Qt::WindowMinimized);
        QTest::newRow("maximised") << 2 << int(Qt::WindowMaximized);
        QTest::newRow("unknown keeps current") << 7 << int(Qt::WindowNoState);
    }
    void windowState() {
        QFETCH(int, stored);
        QFETCH(int, expected);
        Store("HygrovaDlg", {{"WinState", stored}});
        auto w = Window("HygrovaDlg");
        RestoreFormPlacement(w.get(), false, true);
        QCOMPARE(int(w->windowState()), expected);
    }

    void maximisedWindowKeepsItsNormalSize() {
        {
            auto w = Window("HygrovaDlg");
            w->setGeometry(100, 90, 300, 200);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            w->showMaximized();
            QTRY_VERIFY(w->isMaximized());
            SaveFormPlacement(w.get());
        }
        const TRegistryIniFile store(ProgramRegistryKey());
        QCOMPARE(store.ReadInteger("HygrovaDlg", "WinState", -1), 2);
        QCOMPARE(store.ReadInteger("HygrovaDlg", "Width", -1), 300);
        QCOMPARE(store.ReadInteger("HygrovaDlg", "Height", -1), 200);
        auto again = Window("HygrovaDlg");
        RestoreFormPlacement(again.get(), false, true);
        QVERIFY(again->isMaximized());
        again->showNormal();
        QCOMPARE(again->size(), QSize(300, 200));
    }

    void unwritableStoreIsReported() {
        QFile blocker(FDir->path() + "/blocked");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, FDir->path() + "/blocked");
        auto w = Window("HygrovaDlg");
        QVERIFY_THROWS_EXCEPTION(ESettingsError, SaveFormPlacement(w.get()));
        // Reading from it is harmless.
        RestoreFormPlacement(w.get(), false, true);
        QCOMPARE(w->geometry(), QRect(50, 60, 320, 240));
    }
};

QTEST_MAIN(FormPlacementTest)
#include "FormPlacementTest.moc"
