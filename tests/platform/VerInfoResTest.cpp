// Version information: this test program carries the program's version block in its ELF section, so
// the real file is read back; copies of it with a damaged block, and files without one, give the
// exceptions with their messages. Damaged blocks are also thrown at the parser in bulk (run under the
// sanitizers, this proves that nothing is read outside the block).

#include "platform/VerInfoRes.h"
#include "platform/ElfSection.h"
#include "platform/VersionBlockData.h"

#include <gtest/gtest.h>

#include <elf.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <typeinfo>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t Get16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// Where a UTF-16 key such as "VarFileInfo" starts inside a block (its node starts 6 bytes before).
std::size_t KeyOffset(const Bytes& block, std::u16string_view key) {
    Bytes pattern;
    for (const char16_t c : key) {
        pattern.push_back(static_cast<std::uint8_t>(c & 0xFF));
        pattern.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const auto it = std::search(block.begin(), block.end(), pattern.begin(), pattern.end());
    return it == block.end() ? std::string::npos : static_cast<std::size_t>(it - block.begin());
}

// Expects the constructor to fail with exactly this exception class and message.
template <class E, class F>
void ExpectFailure(F make, const std::string& message) {
    try {
        make();
        ADD_FAILURE() << "no exception, expected \"" << message << "\"";
    } catch (const EVerInfoError& e) {
        EXPECT_EQ(typeid(e), typeid(E)) << "message: " << e.what();
        EXPECT_EQ(std::string(e.what()), message);
    }
}

class VerInfoRes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Self = new Bytes(Slurp("/proc/self/exe"));
        const auto block = EmbeddedVersionBlock();
        const auto it = std::search(Self->begin(), Self->end(), block.begin(), block.end());
        BlockAt = it == Self->end() ? std::string::npos : static_cast<std::size_t>(it - Self->begin());
    }
    static void TearDownTestSuite() {
        delete Self;
        Self = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(BlockAt, std::string::npos) << "the version block is not in this test program's file";
        FDir = fs::temp_directory_path() / ("hyg_ver_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }

    // A copy of this program with its block replaced (the rest of the section is zero-filled).
    std::string CopyWithBlock(const Bytes& block) const {
        Bytes copy = *Self;
        const std::size_t size = EmbeddedVersionBlock().size();
        EXPECT_LE(block.size(), size);
        std::fill_n(copy.begin() + static_cast<std::ptrdiff_t>(BlockAt), size, std::uint8_t{0});
        std::copy_n(block.begin(), std::min(block.size(), size),
                    copy.begin() + static_cast<std::ptrdiff_t>(BlockAt));
        const std::string path = (FDir / "copy").string();
        Spit(path, copy);
        return path;
    }

    static Bytes Block() {
        const auto b = EmbeddedVersionBlock();
        return Bytes(b.begin(), b.end());
    }

    static inline Bytes* Self = nullptr;
    static inline std::size_t BlockAt = std::string::npos;
    fs::path FDir;
};

TEST_F(VerInfoRes, ReadsTheProgramsOwnBlock) {
    const TVerInfoRes info("/proc/self/exe");
    EXPECT_EQ(info.FileVersionText(), "2.0.4.0");
    EXPECT_EQ(info.Translation().Language, 0x0409);
    EXPECT_EQ(info.Translation().CodePage, 1252);
    EXPECT_EQ(info.FixedInfo().Signature, 0xFEEF04BDu);
    EXPECT_EQ(info.FixedInfo().StrucVersion, 0x00010000u);
    EXPECT_EQ(info.FixedInfo().FileVersionMS, 0x00020000u);
    EXPECT_EQ(info.FixedInfo().FileVersionLS, 0x00040000u);
    EXPECT_EQ(info.FixedInfo().FileFlagsMask, 0x3Fu);
    EXPECT_EQ(info.FixedInfo().FileType, 1u);
    EXPECT_TRUE(info.BuildFlags().empty());
    EXPECT_EQ(info.VersionData(), Block());

    const char* expected[] = {"Korvant",
                              "Hygrova psychrometric chart",
                              "2.0.4.0",
                              "Hygrova",
                              "Copyright \xC2\xA9 Korvant. All rights reserved.",
                              "Hygrova is a trademark of Korvant",
                              "Hygrova",
                              "Hygrova",
                              "2.0.4.0",
                              "Psychrometric chart and moist-air calculations for HVAC engineers"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(info.StringValue(i), expected[i]) << "index " << i;
    EXPECT_EQ(info.StringValue(-1), "");
    EXPECT_EQ(info.StringValue(10), "");

    // Look-ups ignore the case of names.
    EXPECT_TRUE(info.QueryValue("\\StringFileInfo\\040904E4\\productname"));
    EXPECT_TRUE(info.QueryValue("\\varfileinfo\\TRANSLATION"));
    EXPECT_FALSE(info.QueryValue("\\StringFileInfo\\04070000\\ProductName"));
    EXPECT_EQ(info.QueryValue("\\")->size(), 52u);
}

TEST_F(VerInfoRes, ProgramTitleAndVersion) {
    EXPECT_EQ(AppProductName(), "Hygrova");
    EXPECT_EQ(AppVersion(), "2.0.4.0");
    EXPECT_EQ(AppTitle(), "Hygrova 2.0.4.0");
}

TEST_F(VerInfoRes, BlockLayout) {
    const Bytes b = Block();
    ASSERT_GE(b.size(), 92u);
    // Root node: its length covers the whole block; 52 bytes of binary value; key "VS_VERSION_INFO".
    EXPECT_EQ(Get16(b, 0), b.size());
    EXPECT_EQ(Get16(b, 2), 52);
    EXPECT_EQ(Get16(b, 4), 0);
    EXPECT_EQ(KeyOffset(b, u"VS_VERSION_INFO"), 6u);
    // The key with its terminating zero ends at 38; the fixed information starts on the next 32-bit
    // boundary with its signature.
    EXPECT_EQ(Get16(b, 36), 0);
    EXPECT_EQ(Bytes(b.begin() + 40, b.begin() + 44), (Bytes{0xBD, 0x04, 0xEF, 0xFE}));
    // Every node begins on a 32-bit boundary, with the child at 92 being "StringFileInfo" (text type).
    EXPECT_EQ(KeyOffset(b, u"StringFileInfo"), 92u + 6u);
    EXPECT_EQ(Get16(b, 92 + 4), 1);
    const std::size_t table = KeyOffset(b, u"040904E4");
    ASSERT_NE(table, std::string::npos);
    EXPECT_EQ((table - 6) % 4, 0u);
    const std::size_t var = KeyOffset(b, u"Translation") - 6;
    EXPECT_EQ(var % 4, 0u);
    EXPECT_EQ(Get16(b, var), 6 + 24 + 2 + 4); // header, key, padding, value
    EXPECT_EQ(Get16(b, var + 2), 4);
    EXPECT_EQ(Bytes(b.end() - 4, b.end()), (Bytes{0x09, 0x04, 0xE4, 0x04}));
    // String values count 16-bit units with the terminating zero.
    const std::size_t product = KeyOffset(b, u"ProductName") - 6;
    EXPECT_EQ(Get16(b, product + 2), 8);
}

TEST_F(VerInfoRes, FilesWithoutBlock) {
    const std::string noSection = (FDir / "true").string();
    fs::copy_file("/bin/true", noSection);
    const std::string text = (FDir / "notes.txt").string();
    Spit(text, Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    const std::string empty = (FDir / "empty").string();
    Spit(empty, {});
    for (const std::string& file : {noSection, text, empty, (FDir / "missing").string(), FDir.string()})
        ExpectFailure<ENoVerInfoError>([&] { TVerInfoRes{file}; }, "No Version Info Available.");
    ExpectFailure<ENoVerInfoError>([] { TVerInfoRes::FromData({}); }, "No Version Info Available.");
}

TEST_F(VerInfoRes, DamagedBlocksInTheFile) {
    const Bytes good = Block();
    const std::size_t vfi = KeyOffset(good, u"VarFileInfo") - 6;

    // Root length beyond the section, and shorter than a node header.
    Bytes longRoot = good;
    Put16(longRoot, 0, static_cast<std::uint16_t>(good.size() + 64));
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{CopyWithBlock(longRoot)}; },
                                 "Cannot obtain version info.");
    Bytes tinyRoot = good;
    Put16(tinyRoot, 0, 4);
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{CopyWithBlock(tinyRoot)}; },
                                 "Cannot obtain version info.");
    Bytes wrongRoot = good;
    wrongRoot[6] = 'X';
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{CopyWithBlock(wrongRoot)}; },
                                 "Cannot obtain version info.");

    // "VarFileInfo" truncated so that its child no longer fits; "Translation" renamed; left out.
    Bytes shortVar = good;
    Put16(shortVar, vfi, 6 + 24);
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{CopyWithBlock(shortVar)}; }, "No language info.");
    Bytes renamed = good;
    renamed[KeyOffset(good, u"Translation")] = 'X';
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{CopyWithBlock(renamed)}; }, "No language info.");
    TVersionBlockDef noTranslation = EmbeddedVersionDef();
    noTranslation.WithTranslation = false;
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{CopyWithBlock(BuildVersionBlockBytes(noTranslation))}; },
                                 "No language info.");

    // Fixed information of 48 bytes, and with a wrong signature.
    TVersionBlockDef shortFixed = EmbeddedVersionDef();
    shortFixed.FixedInfoSize = 48;
    ExpectFailure<eNoFixeVerInfo>([&] { TVerInfoRes{CopyWithBlock(BuildVersionBlockBytes(shortFixed))}; },
                                  "No fixed file info");
    Bytes badSignature = good;
    badSignature[40] ^= 0xFF;
    ExpectFailure<eNoFixeVerInfo>([&] { TVerInfoRes{CopyWithBlock(badSignature)}; }, "No fixed file info");

    // The unchanged block in a copy still reads.
    EXPECT_EQ(TVerInfoRes(CopyWithBlock(good)).StringValue(7), "Hygrova");
}

TEST_F(VerInfoRes, DamagedSectionHeaders) {
    // Find the section's header independently of the code under test.
    Bytes copy = *Self;
    Elf64_Ehdr eh;
    std::memcpy(&eh, copy.data(), sizeof eh);
    ASSERT_EQ(eh.e_ident[EI_CLASS], ELFCLASS64);
    Elf64_Shdr names;
    std::memcpy(&names, copy.data() + eh.e_shoff + eh.e_shstrndx * eh.e_shentsize, sizeof names);
    std::size_t headerAt = 0;
    for (std::size_t i = 0; i < eh.e_shnum; ++i) {
        Elf64_Shdr sh;
        std::memcpy(&sh, copy.data() + eh.e_shoff + i * eh.e_shentsize, sizeof sh);
        if (std::strcmp(reinterpret_cast<const char*>(copy.data() + names.sh_offset + sh.sh_name),
                        ".hygver") == 0)
            headerAt = eh.e_shoff + i * eh.e_shentsize;
    }
    ASSERT_NE(headerAt, 0u);

    const std::string path = (FDir / "copy").string();
    Elf64_Shdr sh;
    std::memcpy(&sh, copy.data() + headerAt, sizeof sh);
    const Elf64_Shdr original = sh;
    sh.sh_size = 0xFFFFFFFFFFFFull; // beyond the end of the file
    std::memcpy(copy.data() + headerAt, &sh, sizeof sh);
    Spit(path, copy);
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{path}; }, "Cannot obtain version info.");

    sh = original;
    sh.sh_offset = copy.size() - 8; // starts inside the file, ends outside
    std::memcpy(copy.data() + headerAt, &sh, sizeof sh);
    Spit(path, copy);
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{path}; }, "Cannot obtain version info.");

    sh = original;
    sh.sh_type = SHT_NOBITS;
    std::memcpy(copy.data() + headerAt, &sh, sizeof sh);
    Spit(path, copy);
    ExpectFailure<ENoVerInfoError>([&] { TVerInfoRes{path}; }, "No Version Info Available.");

    // Cut off before the section headers.
    Bytes cut(Self->begin(), Self->begin() + static_cast<std::ptrdiff_t>(BlockAt + 16));
    Spit(path, cut);
    ExpectFailure<EVerInfoError>([&] { TVerInfoRes{path}; }, "Cannot obtain version info.");

    EXPECT_EQ(ReadElfSection("/proc/self/exe", ".hygver", 1 << 16).Data, Block());
    EXPECT_EQ(ReadElfSection("/proc/self/exe", ".nosuchsection", 1 << 16).Status,
              TElfSectionStatus::esNoSection);
}

TEST_F(VerInfoRes, BuildFlagsInTheirOrder) {
    struct Case {
        std::uint32_t flags;
        std::uint32_t mask;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {0x2B, 0x3F, {"Pre-release", "Private build", "Special build", "Debug"}},
        {0x2B, 0x3E, {"Pre-release", "Private build", "Special build"}},
        {0x01, 0x3F, {"Debug"}},
        {0x14, 0x3F, {}},
        {0x3F, 0x00, {}},
    };
    for (const Case& c : cases) {
        TVersionBlockDef d = EmbeddedVersionDef();
        d.FileFlags = c.flags;
        d.FileFlagsMask = c.mask;
        EXPECT_EQ(TVerInfoRes::FromData(BuildVersionBlockBytes(d)).BuildFlags(), c.expected)
            << "flags " << c.flags << " mask " << c.mask;
    }
}

TEST_F(VerInfoRes, NoDamageReadsOutsideTheBlock) {
    const Bytes good = Block();
    auto check = [](Bytes data) {
        try {
            const TVerInfoRes info = TVerInfoRes::FromData(std::move(data));
            for (int i = 0; i < 10; ++i)
                (void)info.StringValue(i);
        } catch (const EVerInfoError&) {
        }
    };
    // Every truncation, with the root length telling the truth or not.
    for (std::size_t n = 0; n <= good.size(); ++n) {
        check(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
        if (n >= 2) {
            Bytes lying(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
            Put16(lying, 0, static_cast<std::uint16_t>(n));
            check(lying);
        }
    }
    // Every 16-bit field set to extreme values, and random byte damage (fixed seed).
    for (std::size_t at = 0; at + 1 < good.size(); at += 2)
        for (const std::uint16_t v :
             {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{5}, std::uint16_t{0xFFFF}}) {
            Bytes damaged = good;
            Put16(damaged, at, v);
            check(damaged);
        }
    std::mt19937 rng(20240601);
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = good;
        const int hits = 1 + static_cast<int>(rng() % 8);
        for (int h = 0; h < hits; ++h)
            damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
        check(damaged);
    }
}

} // namespace
