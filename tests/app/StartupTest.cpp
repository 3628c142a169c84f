// Start-up: the number format under a German locale, the maker-folder rule, the program-files
// fallback and the folders found on real temporary folders.

#include "app/Startup.h"
#include "psychro/NumberText.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

std::string PrintfNumber(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    // First, before anything has fixed the format: the test runs with LC_ALL=de_DE.UTF-8.
    void numberFormatIsFixedWhateverTheLocale() {
        QCOMPARE(PrintfNumber(1.5), std::string("1,5")); // QApplication took the German locale
        QCOMPARE(QLocale().decimalPoint(), QString(","));

        FixNumberFormat();
        QCOMPARE(PrintfNumber(1.5), std::string("1.5"));
        QCOMPARE(std::strtod("2.25", nullptr), 2.25);
        QCOMPARE(QLocale().decimalPoint(), QString("."));
        QCOMPARE(QLocale().groupSeparator(), QString(","));
        QCOMPARE(QLocale().toString(1234.5, 'f', 1), QString("1234.5"));
        QCOMPARE(FloatToStr(101.325), std::string("101.325"));
        // The rest of the locale (messages, collation) stays the user's.
        QVERIFY(QByteArray(std::setlocale(LC_CTYPE, nullptr)).startsWith("de_DE"));
    }

    void makerFolder_data() {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("maker folder") << "/opt/Korvant/Hygrova/"
                                      << "/opt/Korvant/";
        QTest::newRow("another letter case") << "/home/u/korvant/hygrova/"
                                             << "/home/u/Korvant/";
        QTest::newRow("upper case") << "/srv/KORVANT/Hygrova/"
                                    << "/srv/Korvant/";
        QTest::newRow("inside a longer name") << "/home/u/MyKorvantApps/x/"
                                              << "/home/u/My"
                                                 "Korvant/";
        QTest::newRow("first occurrence") << "/a/korvant/b/Korvant/Hygrova/"
                                          << "/a/Korvant/";
        QTest::newRow("short maker name") << "/opt/4KV/Hygrova/"
                                          << "/opt/4kv/";
        QTest::newRow("short name, lower case") << "/opt/tools/4kv/Hygrova/"
                                                << "/opt/tools/4kv/";
        QTest::newRow("Korvant wins over 4KV") << "/4kv/Korvant/x/"
                                               << "/4kv/Korvant/";
        QTest::newRow("neither") << "/usr/local/bin/"
                                 << "/usr/local/Korvant/";
        QTest::newRow("non-ASCII before") << "/home/Jörg/Straße/korvant/Hygrova/"
                                          << "/home/Jörg/Straße/Korvant/";
    }
    void makerFolder() {
        QFETCH(QString, programFolder);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(MakerFolderOf(programFolder.toStdString(), "/usr/local/")), expected);
    }

    void makerFolderAsSpelledOnDisk() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string root = dir.path().toStdString();
        QVERIFY(QDir().mkpath(dir.path() + "/korvant/Hygrova"));
        QVERIFY(QDir().mkpath(dir.path() + "/korvant/Common Files"));
        // Only the lower-case folder exists, so that spelling is the maker's folder.
        QCOMPARE(ResolveMakerFolder(root + "/korvant/Hygrova/", "/opt/"), root + "/korvant/");
        // When the folder of the rule's own spelling exists, it is used.
        QVERIFY(QDir().mkpath(dir.path() + "/Korvant"));
        QCOMPARE(ResolveMakerFolder(root + "/korvant/Hygrova/", "/opt/"), root + "/Korvant/");
        // When neither exists, the rule's spelling.
        QCOMPARE(ResolveMakerFolder(root + "/KORVANT/x/", "/opt/"), root + "/Korvant/");
        QCOMPARE(ResolveMakerFolder(root + "/elsewhere/", root + "/pf/"), root + "/pf/Korvant/");
    }

    void programFilesFolder_data() {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("expected");
        QTest::newRow("existing") << "/usr"
                                  << "/usr/";
        QTest::newRow("with slash") << "/usr/"
                                    << "/usr/";
        QTest::newRow("empty") << ""
                               << "/opt/";
        QTest::newRow("relative") << "usr"
                                  << "/opt/";
        QTest::newRow("missing") << "/no/such/folder"
                                 << "/opt/";
        QTest::newRow("a file") << "/bin/sh"
                                << "/opt/";
    }
    void programFilesFolder() {
        QFETCH(QString, configured);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(ProgramFilesFolderOf(configured.toStdString())), expected);
    }

    void foldersOfAnInstalledProgram() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string root = dir.path().toStdString();
        QVERIFY(QDir().mkpath(dir.path() + "/Korvant/Hygrova"));
        QVERIFY(QDir().mkpath(dir.path() + "/docs"));
        const TAppFolders f = FindAppFolders(
            {root + "/Korvant/Hygrova/Hygrova", root, std::optional<std::string>(root + "/docs")});
        QCOMPARE(f.ProgramName, std::string("Hygrova"));
        QCOMPARE(f.ProgramFolder, root + "/Korvant/Hygrova/");
        QCOMPARE(f.ProgramFilesFolder, root + "/");
        QCOMPARE(f.UserDataFolder, root + "/docs/Korvant/Hygrova/");
        QVERIFY(QFileInfo(QString::fromStdString(f.UserDataFolder)).isDir());
        QCOMPARE(f.MakerFolder, root + "/Korvant/");
        QCOMPARE(f.CommonFolder, root + "/Korvant/Common Files/");

        // Outside any maker folder: the maker's folder under the program-files folder.
        const TAppFolders g =
            FindAppFolders({root + "/bin/tool.x", root, std::optional<std::string>(root + "/docs")});
        QCOMPARE(g.ProgramName, std::string("tool"));
        QCOMPARE(g.CommonFolder, root + "/Korvant/Common Files/");
    }

    void userDataFolderFallsBackToTheProgramFolder() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string root = dir.path().toStdString();
        QFile file(dir.path() + "/docs"); // a file where the documents folder should be
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const TAppFolders f = FindAppFolders(
            {root + "/Korvant/Hygrova/Hygrova", "/opt", std::optional<std::string>(root + "/docs")});
        QCOMPARE(f.UserDataFolder, root + "/Korvant/Hygrova/");
    }

    void noDocumentsFolderStopsStartUp() {
        for (const std::optional<std::string>& docs :
             {std::optional<std::string>(), std::optional<std::string>("")}) {
            try {
                FindAppFolders({"/opt/Korvant/Hygrova/Hygrova", "/opt", docs});
                QFAIL("start-up went on without a documents folder");
            } catch (const EStartupError& e) {
                QCOMPARE(QString(e.what()), QString("Could not find My Documents folder location."));
            }
        }
    }

    void runStartupFillsTheProgramWideValues() {
        RunStartup();
        const TAppFolders& f = AppFolders();
        QCOMPARE(f.ProgramName, std::string("hyg_startup_tests"));
        QCOMPARE(QString::fromStdString(f.ProgramFolder), QCoreApplication::applicationDirPath() + "/");
        QVERIFY(QString::fromStdString(f.CommonFolder).endsWith("Korvant/Common Files/"));
        // HOME points into the build tree for this test.
        QCOMPARE(QString::fromStdString(f.UserDataFolder),
                 QString::fromLocal8Bit(qgetenv("HOME")) + "/Documents/Korvant/hyg_startup_tests/");
        QVERIFY(QFileInfo(QString::fromStdString(f.UserDataFolder)).isDir());
        QCOMPARE(CompanyInfo().Name, std::string("Korvant"));
        QVERIFY(QString::fromStdString(CompanyInfo().Email).contains('@'));
        QVERIFY(!CompanyInfo().Web.empty());
        QCOMPARE(PrintfNumber(0.5), std::string("0.5"));
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
