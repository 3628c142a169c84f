// The settings store on QSettings, pointed at a temporary folder: where each key lives, the stored
// form of each value kind (read back raw), the reading rules, and damaged or unwritable files.

#include "platform/RegistryIniFile.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

const std::string TestKey = "Software\\Korvant\\StoreTest";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(FDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, FDir.path());
    }

    QString FilePath(const QString& application = "StoreTest") const {
        return FDir.path() + "/Korvant/" + application + ".conf";
    }
    QByteArray Raw(const QString& application = "StoreTest") const {
        QFile f(FilePath(application));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void WriteRaw(const QByteArray& content, const QString& application = "StoreTest") const {
        QFile f(FilePath(application));
        ASSERT_TRUE(QDir().mkpath(FDir.path() + "/Korvant"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }

    QTemporaryDir FDir;
};

TEST_F(SettingsStore, KeysMapToOneFilePerKey) {
    EXPECT_EQ(TRegistryIniFile(TestKey).FileName(), FilePath().toStdString());
    EXPECT_EQ(TRegistryIniFile("Software\\Korvant\\StoreTest\\").FileName(), FilePath().toStdString());
    EXPECT_EQ(TRegistryIniFile(CommonRegistryKey()).FileName(), FilePath("Common").toStdString());
    EXPECT_EQ(CommonRegistryKey(), "Software\\Korvant\\Common\\");
}

TEST_F(SettingsStore, AppRegistryKeyIsTheFileNameWithoutFolderAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/Korvant/Hygrova/Hygrova", "Software\\Korvant\\Hygrova"},
        {"/home/u/bin/Hygrova.bin", "Software\\Korvant\\Hygrova"},
        {"Hygrova", "Software\\Korvant\\Hygrova"},
        {"/x/my.tool.exe", "Software\\Korvant\\my.tool"},
    };
    for (const auto& [file, key] : cases)
        EXPECT_EQ(AppRegistryKey(file), key) << file;
    EXPECT_EQ(ProgramRegistryKey(), "Software\\Korvant\\hyg_settings_tests");
}

TEST_F(SettingsStore, StoredFormOfEachKind) {
    {
        TRegistryIniFile store(TestKey);
        store.WriteInteger("HygrovaDlg", "Left", -120);
        store.WriteBool("Settings", "SHRScale", true);
        store.WriteBool("Settings", "ProcessLabels", false);
        store.WriteString("Settings", "Range", "0,0,45,0.03");
        store.WriteFloat("Settings", "BarometricPressure", 101.325);
    }
    // Through a plain QSettings on the file.
    QSettings raw(FilePath(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("HygrovaDlg/Left").toString(), "-120");
    EXPECT_EQ(raw.value("Settings/SHRScale").toString(), "1");
    EXPECT_EQ(raw.value("Settings/ProcessLabels").toString(), "0");
    EXPECT_EQ(raw.value("Settings/Range").toString(), "0,0,45,0.03");
    const QVariant pressure = raw.value("Settings/BarometricPressure");
    EXPECT_EQ(pressure.typeId(), QMetaType::QByteArray);
    // 101.325 as an IEEE-754 double, least significant byte first.
    EXPECT_EQ(pressure.toByteArray().toHex(), "cdcccccccc545940");

    // And as bytes in the file.
    const QByteArray text = Raw();
    EXPECT_TRUE(text.contains("[HygrovaDlg]\nLeft=-120\n")) << text.constData();
    EXPECT_TRUE(text.contains("SHRScale=1\n")) << text.constData();
    EXPECT_TRUE(text.contains("BarometricPressure=@ByteArray(")) << text.constData();
}

TEST_F(SettingsStore, EveryKindReadsBackAsStored) {
    const double doubles[] = {101.325, 0.1 + 0.2, -0.0, std::numeric_limits<double>::denorm_min(),
                              1e300,   -42.5};
    const std::string texts[] = {"ColorA=EBEDFE\r\nColorB=E9FDFE\r\n", "@ByteArray(not binary)",
                                 "25 \xC2\xB0"
                                 "C",
                                 "", "a, b; c=d"};
    {
        TRegistryIniFile store(TestKey);
        for (std::size_t i = 0; i < std::size(doubles); ++i)
            store.WriteFloat("F", "d" + std::to_string(i), doubles[i]);
        for (std::size_t i = 0; i < std::size(texts); ++i)
            store.WriteString("T", "t" + std::to_string(i), texts[i]);
        store.WriteInteger("I", "min", std::numeric_limits<int>::min());
        store.WriteInteger("I", "max", std::numeric_limits<int>::max());
        store.WriteBool("B", "on", true);
    }
    const TRegistryIniFile store(TestKey);
    for (std::size_t i = 0; i < std::size(doubles); ++i) {
        const double got = store.ReadFloat("F", "d" + std::to_string(i), 7.0);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(doubles[i]))
            << "expected " << doubles[i] << " got " << got << " (bit for bit)";
    }
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(store.ReadString("T", "t" + std::to_string(i), "?"), texts[i]);
    EXPECT_EQ(store.ReadInteger("I", "min", 0), std::numeric_limits<int>::min());
    EXPECT_EQ(store.ReadInteger("I", "max", 0), std::numeric_limits<int>::max());
    EXPECT_TRUE(store.ReadBool("B", "on", false));
}

TEST_F(SettingsStore, ReadingRulesForHandWrittenValues) {
    WriteRaw("[Settings]\n"
             "Count=12\n"
             "Spaced= 34 \n"
             "Word=abc\n"
             "Frac=1.5\n"
             "On=2\n"
             "Off=0\n"
             "Yes=yes\n"
             "TextPressure=95.5\n"
             "BadPressure=abc\n"
             "ShortBinary=@ByteArray(abcd)\n"
             "Range=0,0,45,0.03\n");
    const TRegistryIniFile store(TestKey);
    struct IntCase {
        const char* key;
        int expected;
    };
    for (const IntCase& c : {IntCase{"Count", 12}, IntCase{"Spaced", 34}, IntCase{"Word", -1},
                             IntCase{"Frac", -1}, IntCase{"Missing", -1}, IntCase{"ShortBinary", -1}})
        EXPECT_EQ(store.ReadInteger("Settings", c.key, -1), c.expected) << c.key;
    EXPECT_EQ(store.ReadInteger("NoSection", "Count", -1), -1);

    EXPECT_TRUE(store.ReadBool("Settings", "On", false));
    EXPECT_FALSE(store.ReadBool("Settings", "Off", true));
    EXPECT_TRUE(store.ReadBool("Settings", "Yes", true));
    EXPECT_FALSE(store.ReadBool("Settings", "Yes", false));
    EXPECT_TRUE(store.ReadBool("Settings", "Missing", true));

    EXPECT_DOUBLE_EQ(store.ReadFloat("Settings", "TextPressure", 101.325), 95.5);
    EXPECT_DOUBLE_EQ(store.ReadFloat("Settings", "BadPressure", 101.325), 101.325);
    EXPECT_DOUBLE_EQ(store.ReadFloat("Settings", "ShortBinary", 101.325), 101.325);
    EXPECT_DOUBLE_EQ(store.ReadFloat("Settings", "Missing", 101.325), 101.325);
    // Unquoted commas make a list in the file format; the text is still the text.
    EXPECT_EQ(store.ReadString("Settings", "Range", ""), "0,0,45,0.03");
    EXPECT_EQ(store.ReadString("Settings", "ShortBinary", "dflt"), "dflt");
    EXPECT_EQ(store.ReadString("Settings", "Missing", "dflt"), "dflt");
}

TEST_F(SettingsStore, SectionsAndKeys) {
    TRegistryIniFile store(TestKey);
    store.WriteInteger("A", "x", 1);
    store.WriteInteger("A", "y", 2);
    store.WriteInteger("B", "z", 3);
    EXPECT_EQ(store.ReadSections(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(store.ReadSection("A"), (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(store.SectionExists("B"));
    EXPECT_TRUE(store.ValueExists("A", "y"));
    store.DeleteKey("A", "y");
    EXPECT_FALSE(store.ValueExists("A", "y"));
    store.EraseSection("A");
    EXPECT_FALSE(store.SectionExists("A"));
    EXPECT_FALSE(Raw().contains("[A]"));
    EXPECT_TRUE(Raw().contains("[B]\nz=3\n"));
}

TEST_F(SettingsStore, DamagedFileGivesDefaultsAndIsNeverOverwritten) {
    const QByteArray damaged = "[Settings\nZoomState=1\n\x01\x02 garbage\n";
    WriteRaw(damaged);
    // Each store object learns of the damage, not only the first one of the run.
    for (int round = 0; round < 3; ++round) {
        TRegistryIniFile store(TestKey);
        EXPECT_FALSE(store.IsReadable());
        EXPECT_EQ(store.ReadInteger("Settings", "ZoomState", 3), 3);
        EXPECT_TRUE(store.ReadSections().empty());
        try {
            store.WriteInteger("Settings", "ZoomState", 2);
            ADD_FAILURE() << "a write into a damaged file was reported as done";
        } catch (const ESettingsError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("Unable to write to " + store.FileName()))
                << e.what();
        }
        EXPECT_THROW(store.WriteFloat("Settings", "BarometricPressure", 90), ESettingsError);
        EXPECT_EQ(Raw(), damaged) << "round " << round;
    }

    // Once the user has repaired the file, it is read and written again.
    WriteRaw("[Settings]\nZoomState=1\nOrientation=0\n");
    TRegistryIniFile repaired(TestKey);
    EXPECT_TRUE(repaired.IsReadable());
    EXPECT_EQ(repaired.ReadInteger("Settings", "ZoomState", 3), 1);
    repaired.WriteInteger("Settings", "ZoomState", 2);
    EXPECT_TRUE(Raw().contains("ZoomState=2")) << Raw().constData();
}

TEST_F(SettingsStore, UnwritableStoreReportsTheFailure) {
    // A regular file where the store's folder should be: no write can succeed, whoever runs the test.
    QFile blocker(FDir.path() + "/blocked");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, FDir.path() + "/blocked");
    TRegistryIniFile store(TestKey);
    EXPECT_EQ(store.ReadInteger("Settings", "ZoomState", 3), 3);
    try {
        store.WriteInteger("Settings", "ZoomState", 2);
        ADD_FAILURE() << "an unwritable store reported success";
    } catch (const ESettingsError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + store.FileName());
    }
}

} // namespace
