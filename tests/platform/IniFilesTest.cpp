// INI files on real files: the reading rules, byte-for-byte preservation of what this program does not
// write, placement of new keys and sections, and the failures.

#include "platform/IniFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class IniFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FDir = fs::temp_directory_path() / ("hyg_ini_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }

    std::string PathOf(const std::string& leaf) const { return (FDir / leaf).string(); }
    std::string Make(const std::string& leaf, const std::string& content) const {
        const std::string path = PathOf(leaf);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path FDir;
};

// A data file saved by this program into a file that another program also uses.
const std::string ForeignFile = "; Written by another program\r\n"
                                "[Other]\r\n"
                                "  Colour  =  Blue ; not a comment for us\r\n"
                                "\r\n"
                                "[userfile]\r\n"
                                "imperialunits = 0\r\n"
                                "Orientation=1\r\n"
                                "\r\n"
                                "; notes about the last section\r\n"
                                "[Last]\r\n"
                                "X=1";

TEST_F(IniFiles, NamesMatchWithoutRegardToCase) {
    const TMemIniFile ini(Make("a.pst", ForeignFile));
    EXPECT_EQ(ini.ReadString("UserFile", "ImperialUnits", "?"), "0");
    EXPECT_EQ(ini.ReadString("USERFILE", "orientation", "?"), "1");
    EXPECT_EQ(ini.ReadString("other", "COLOUR", "?"), "Blue ; not a comment for us");
    EXPECT_TRUE(ini.SectionExists("LAST"));
    EXPECT_TRUE(ini.ValueExists("last", "x"));
    EXPECT_FALSE(ini.ValueExists("Last", "Y"));
    EXPECT_FALSE(ini.SectionExists("UserFile2"));
}

TEST_F(IniFiles, AbsentFileSectionOrKeyGivesTheDefault) {
    const TMemIniFile missing(PathOf("none.pst"));
    EXPECT_EQ(missing.ReadString("UserFile", "Range", "0,0,45,0.03"), "0,0,45,0.03");
    EXPECT_EQ(missing.ReadInteger("UserFile", "ZoomState", 3), 3);
    EXPECT_TRUE(missing.ReadBool("UserFile", "dHdWTool", true));
    EXPECT_DOUBLE_EQ(missing.ReadFloat("UserFile", "BarometricPressure", 101.325), 101.325);
    EXPECT_TRUE(missing.ReadSections().empty());

    const TMemIniFile ini(Make("a.pst", ForeignFile));
    EXPECT_EQ(ini.ReadInteger("Nowhere", "Orientation", 7), 7);
    EXPECT_EQ(ini.ReadInteger("UserFile", "ZoomState", 3), 3);
}

TEST_F(IniFiles, IntegerAndBooleanTexts) {
    struct Case {
        const char* text;
        int defaultValue;
        int expected;
    };
    const Case cases[] = {
        {"1", 5, 1},
        {"-7", 5, -7},
        {" 42 ", 5, 42},
        {"0x1", 5, 1},
        {"0X1F", 5, 31},
        {"0x00F4EEE1", 5, 16051937},
        {"16051937", 5, 16051937},
        {"yes", 5, 5},
        {"", 5, 5},
        {"1.5", 5, 5},
        {"12abc", 5, 5},
        {"0x", 5, 5},
        {"2147483648", 5, 5},
        {"-2147483648", 5, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        const TMemIniFile ini(Make("i.ini", std::string("[S]\nK=") + c.text + "\n"));
        EXPECT_EQ(ini.ReadInteger("S", "K", c.defaultValue), c.expected) << "text '" << c.text << "'";
    }

    struct BoolCase {
        const char* text;
        bool defaultValue;
        bool expected;
    };
    const BoolCase bools[] = {{"1", false, true},  {"0", true, false},     {"0x1", false, true},
                              {"2", false, true},  {"-1", false, true},    {"yes", false, false},
                              {"yes", true, true}, {"true", false, false}, {"", true, true}};
    for (const BoolCase& c : bools) {
        const TMemIniFile ini(Make("b.ini", std::string("[S]\nK=") + c.text + "\n"));
        EXPECT_EQ(ini.ReadBool("S", "K", c.defaultValue), c.expected)
            << "text '" << c.text << "' default " << c.defaultValue;
    }
}

TEST_F(IniFiles, FloatTextsUseThePointWhateverTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the German locale must be installed";

    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {{"101.325", 101.325}, {" 95.46 ", 95.46},   {"1E-5", 1e-5}, {"-3", -3.0},
                          {"abc", 101.325},     {"101,325", 101.325}, {"", 101.325},  {"1.2.3", 101.325}};
    for (const Case& c : cases) {
        const TMemIniFile ini(Make("f.ini", std::string("[UserFile]\nBarometricPressure=") + c.text + "\n"));
        const double got = ini.ReadFloat("UserFile", "BarometricPressure", 101.325);
        EXPECT_DOUBLE_EQ(got, c.expected) << "text '" << c.text << "'";
    }

    TMemIniFile out(PathOf("w.ini"));
    out.WriteFloat("UserFile", "BarometricPressure", 101.325);
    out.WriteFloat("UserFile", "Small", 0.000012345);
    out.WriteFloat("UserFile", "Whole", 95);
    EXPECT_EQ(out.ReadString("UserFile", "BarometricPressure", ""), "101.325");
    EXPECT_EQ(out.ReadString("UserFile", "Whole", ""), "95");
    EXPECT_DOUBLE_EQ(out.ReadFloat("UserFile", "Small", 0), 0.000012345);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(IniFiles, ExistingKeyIsReplacedInPlaceAndEverythingElseKept) {
    const std::string path = Make("a.pst", ForeignFile);
    TMemIniFile ini(path);
    ini.WriteBool("UserFile", "ImperialUnits", true);
    ini.WriteInteger("USERFILE", "orientation", 0);
    ini.UpdateFile();
    EXPECT_EQ(Slurp(path), "; Written by another program\r\n"
                           "[Other]\r\n"
                           "  Colour  =  Blue ; not a comment for us\r\n"
                           "\r\n"
                           "[userfile]\r\n"
                           "imperialunits = 1\r\n"
                           "Orientation=0\r\n"
                           "\r\n"
                           "; notes about the last section\r\n"
                           "[Last]\r\n"
                           "X=1");
}

TEST_F(IniFiles, NewKeyGoesAfterTheLastKeyOfItsSectionAndNewSectionAtTheEnd) {
    const std::string path = Make("a.pst", ForeignFile);
    TMemIniFile ini(path);
    ini.WriteString("UserFile", "Range", "0,0,45,0.03");
    ini.WriteInteger("Other", "Count", 2);
    ini.WriteString("Added", "Key", "Value");
    ini.UpdateFile();
    EXPECT_EQ(Slurp(path), "; Written by another program\r\n"
                           "[Other]\r\n"
                           "  Colour  =  Blue ; not a comment for us\r\n"
                           "Count=2\r\n"
                           "\r\n"
                           "[userfile]\r\n"
                           "imperialunits = 0\r\n"
                           "Orientation=1\r\n"
                           "Range=0,0,45,0.03\r\n"
                           "\r\n"
                           "; notes about the last section\r\n"
                           "[Last]\r\n"
                           "X=1\r\n"
                           "\r\n"
                           "[Added]\r\n"
                           "Key=Value\r\n");
    // Reading it back gives what was written.
    const TMemIniFile again(path);
    EXPECT_EQ(again.ReadString("added", "key", ""), "Value");
    EXPECT_EQ(again.ReadSection("UserFile"),
              (std::vector<std::string>{"imperialunits", "Orientation", "Range"}));
}

TEST_F(IniFiles, ANewFileUsesPlainLineEndings) {
    const std::string path = PathOf("new.pst");
    TMemIniFile ini(path);
    ini.WriteString("UserFile", "FileName", path);
    ini.WriteBool("UserFile", "ImperialUnits", false);
    ini.WriteString("Second", "A", "");
    ini.UpdateFile();
    EXPECT_EQ(Slurp(path), "[UserFile]\nFileName=" + path + "\nImperialUnits=0\n\n[Second]\nA=\n");
}

TEST_F(IniFiles, ForeignLinesSurviveByteForByte) {
    // A byte-order mark, tabs, lines before the first section, a key without "=", odd spacing and a
    // lone CR line ending: untouched by a write elsewhere.
    const std::string original = "\xEF\xBB\xBF"
                                 "orphan=before any section\n"
                                 "\t[ Spaced ]\t\n"
                                 "\tKeyOnly\n"
                                 "a\t=\tb\r"
                                 ";;; [NotASection]\n"
                                 "[UserFile]\n"
                                 "Zoom=1   \n";
    const std::string path = Make("f.ini", original);
    TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Spaced", "UserFile"}));
    EXPECT_EQ(ini.ReadSection("spaced"), (std::vector<std::string>{"KeyOnly", "a"}));
    EXPECT_EQ(ini.ReadString("Spaced", "a", "?"), "b");
    EXPECT_EQ(ini.ReadString("Spaced", "KeyOnly", "?"), "");
    EXPECT_FALSE(ini.ValueExists("Spaced", "orphan"));
    ini.WriteInteger("UserFile", "Zoom", 3);
    ini.UpdateFile();
    std::string expected = original;
    expected.replace(expected.find("Zoom=1   "), 9, "Zoom=3");
    EXPECT_EQ(Slurp(path), expected);

    // A key without "=" that is written gets one.
    ini.WriteString("Spaced", "keyonly", "v");
    EXPECT_NE(ini.Text().find("\tKeyOnly=v\n"), std::string::npos);
}

TEST_F(IniFiles, LocationsIndexLines) {
    const TMemIniFile idx(Make("Regions.idx", "; index of the locations databases\n"
                                              "\n"
                                              "[+All]\n"
                                              "  World.wdb  =  0  \n"
                                              "Europe.wdb=0x10\n"
                                              "\n"
                                              "[World.wdb]\n"
                                              "Zeta = 3\n"
                                              "Alpha=1\n"
                                              "Middle=abc\n"
                                              "NoValue\n"
                                              "alpha=99\n"
                                              "[Europe.wdb]\n"
                                              "[world.wdb]\n"
                                              "Late=5\n"));
    EXPECT_EQ(idx.ReadSections(), (std::vector<std::string>{"+All", "World.wdb", "Europe.wdb"}));
    EXPECT_EQ(idx.ReadSection("+all"), (std::vector<std::string>{"World.wdb", "Europe.wdb"}));
    EXPECT_EQ(idx.ReadInteger("+All", "europe.wdb", -1), 16);
    // Keys keep their file order; the first of a name wins, also for a repeated section.
    EXPECT_EQ(idx.ReadSection("World.wdb"), (std::vector<std::string>{"Zeta", "Alpha", "Middle", "NoValue"}));
    EXPECT_EQ(idx.ReadInteger("World.wdb", "ALPHA", 0), 1);
    EXPECT_EQ(idx.ReadInteger("World.wdb", "Middle", 0), 0);
    EXPECT_EQ(idx.ReadInteger("World.wdb", "NoValue", 0), 0);
    EXPECT_FALSE(idx.ValueExists("World.wdb", "Late"));
    EXPECT_TRUE(idx.ReadSection("Europe.wdb").empty());
    EXPECT_TRUE(idx.SectionExists("Europe.wdb"));
    const auto values = idx.ReadSectionValues("+All");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[1], (std::pair<std::string, std::string>{"Europe.wdb", "0x10"}));
}

TEST_F(IniFiles, EraseSectionAndDeleteKey) {
    const std::string path = Make("e.ini", "[A]\nx=1\ny=2\n\n[B]\nz=3\n[a]\nw=4\n");
    TMemIniFile ini(path);
    ini.DeleteKey("a", "X");
    EXPECT_FALSE(ini.ValueExists("A", "x"));
    EXPECT_EQ(ini.Text(), "[A]\ny=2\n\n[B]\nz=3\n[a]\nw=4\n");
    ini.EraseSection("A");
    EXPECT_FALSE(ini.SectionExists("a"));
    EXPECT_EQ(ini.Text(), "[B]\nz=3\n");
    ini.DeleteKey("B", "missing");
    ini.EraseSection("missing");
    EXPECT_EQ(ini.Text(), "[B]\nz=3\n");
    // Nothing reaches the disk before UpdateFile.
    EXPECT_EQ(Slurp(path), "[A]\nx=1\ny=2\n\n[B]\nz=3\n[a]\nw=4\n");
}

TEST_F(IniFiles, TIniFileWritesEveryChangeAtOnce) {
    const std::string path = PathOf("direct.pst");
    TIniFile ini(path);
    ini.WriteInteger("UserFile", "ZoomState", 2);
    EXPECT_EQ(Slurp(path), "[UserFile]\nZoomState=2\n");
    ini.WriteInteger("UserFile", "ZoomState", 3);
    EXPECT_EQ(Slurp(path), "[UserFile]\nZoomState=3\n");
    ini.DeleteKey("UserFile", "ZoomState");
    EXPECT_EQ(Slurp(path), "[UserFile]\n");
}

TEST_F(IniFiles, UnwritableFileRaisesUnableToWrite) {
    // Paths that cannot be written even with full rights: below a regular file, in a missing folder.
    Make("plain", "x");
    for (const std::string& path : {PathOf("plain") + "/data.pst", PathOf("missing") + "/data.pst"}) {
        TMemIniFile ini(path);
        ini.WriteString("UserFile", "Range", "0,0,45,0.03");
        try {
            ini.UpdateFile();
            ADD_FAILURE() << "no failure for " << path;
        } catch (const EIniFileException& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
        }
        TIniFile direct(path);
        try {
            direct.WriteBool("UserFile", "SHRScale", true);
            ADD_FAILURE() << "no failure for " << path;
        } catch (const EIniFileException& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
        }
    }
}

TEST_F(IniFiles, FolderInPlaceOfTheFileCannotBeRead) {
    try {
        const TMemIniFile ini(FDir.string());
        ADD_FAILURE() << "a folder was read as a file";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + FDir.string() + "\". Is a directory");
    }
}

TEST_F(IniFiles, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    const std::string path = Make("r.ini", "[S]\nk=1\n");
    TIniFile ini(path);
    const std::pair<std::string, std::string> badNames[] = {{"S\n[T]", "k"}, {"", "k"},    {" S", "k"},
                                                            {"S", "a=b"},    {"S", ";c"},  {"S", "[x"},
                                                            {"S", ""},       {"S", "k\r"}, {"S", " k"}};
    for (const auto& [section, key] : badNames)
        EXPECT_THROW(ini.WriteString(section, key, "v"), EIniFileException) << section << "/" << key;
    EXPECT_THROW(ini.WriteString("S", "k", "two\nlines"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "k", "cr\r"), EIniFileException);
    EXPECT_EQ(Slurp(path), "[S]\nk=1\n");
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
}

} // namespace
