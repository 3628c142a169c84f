#pragma once
// Builds a version block at compile time, in the usual version-resource tree layout: every node is
// wLength, wValueLength, wType (16-bit, little-endian), a zero-terminated UTF-16 key, padding to 32
// bits, the value, padding, then the child nodes.
//
//   "VS_VERSION_INFO"   value: the 52-byte fixed file information
//     "StringFileInfo"
//       "<language><code page>" (eight hexadecimal digits)
//         "CompanyName" ... "Comments"   value: zero-terminated UTF-16 text, length in 16-bit units
//     "VarFileInfo"
//       "Translation"   value: language and code page, 16 bits each

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

inline constexpr std::uint32_t VS_FFI_SIGNATURE = 0xFEEF04BD;
inline constexpr std::uint32_t VS_FFI_STRUCVERSION = 0x00010000;
inline constexpr std::uint32_t VS_FF_DEBUG = 0x01;
inline constexpr std::uint32_t VS_FF_PRERELEASE = 0x02;
inline constexpr std::uint32_t VS_FF_PATCHED = 0x04;
inline constexpr std::uint32_t VS_FF_PRIVATEBUILD = 0x08;
inline constexpr std::uint32_t VS_FF_INFOINFERRED = 0x10;
inline constexpr std::uint32_t VS_FF_SPECIALBUILD = 0x20;
inline constexpr std::uint32_t VS_FFI_FILEFLAGSMASK = 0x3F;
inline constexpr std::uint32_t VFT_APP = 0x1;

// The names of the string table, by index.
inline constexpr std::array<std::u16string_view, 10> VersionStringNames = {
    u"CompanyName",     u"FileDescription",  u"FileVersion", u"InternalName",   u"LegalCopyright",
    u"LegalTrademarks", u"OriginalFilename", u"ProductName", u"ProductVersion", u"Comments"};

struct TVersionBlockDef {
    std::array<std::uint16_t, 4> FileVersion{};    // most significant first
    std::array<std::uint16_t, 4> ProductVersion{}; // most significant first
    std::uint32_t FileFlagsMask = VS_FFI_FILEFLAGSMASK;
    std::uint32_t FileFlags = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType = VFT_APP;
    std::uint32_t FileSubtype = 0;
    std::uint16_t Language = 0x0409;
    std::uint16_t CodePage = 1252;
    std::array<std::string_view, 10> Strings{}; // UTF-8, in the order of VersionStringNames

    // Only for building damaged blocks in tests.
    bool WithTranslation = true;
    std::uint16_t FixedInfoSize = 52;
};

namespace versionblock_detail {

// Counts bytes, or writes them when given a buffer.
class TWriter {
public:
    constexpr explicit TWriter(std::uint8_t* out = nullptr)
        : FOut(out) {}

    constexpr std::size_t Pos() const { return FPos; }
    constexpr void U8(std::uint8_t b) {
        if (FOut) FOut[FPos] = b;
        ++FPos;
    }
    constexpr void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v & 0xFF));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    constexpr void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    constexpr void Align() {
        while (FPos % 4 != 0)
            U8(0);
    }
    constexpr void Patch16(std::size_t at, std::uint16_t v) {
        if (!FOut) return;
        FOut[at] = static_cast<std::uint8_t>(v & 0xFF);
        FOut[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    // Starts a node; End patches its length.
    constexpr std::size_t Begin(std::uint16_t valueLength, std::uint16_t type, std::u16string_view key) {
        Align();
        const std::size_t start = FPos;
        U16(0);
        U16(valueLength);
        U16(type);
        for (const char16_t c : key)
            U16(static_cast<std::uint16_t>(c));
        U16(0);
        Align();
        return start;
    }
    constexpr void End(std::size_t start) { Patch16(start, static_cast<std::uint16_t>(FPos - start)); }

private:
    std::uint8_t* FOut;
    std::size_t FPos = 0;
};

// UTF-8 to UTF-16; calls emit for each 16-bit unit.
template <class F>
constexpr void ForEachUtf16(std::string_view s, F emit) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<std::uint8_t>(s[i]);
        std::uint32_t cp = b;
        std::size_t n = 1;
        if (b >= 0xF0) {
            cp = b & 0x07u;
            n = 4;
        } else if (b >= 0xE0) {
            cp = b & 0x0Fu;
            n = 3;
        } else if (b >= 0xC0) {
            cp = b & 0x1Fu;
            n = 2;
        }
        for (std::size_t k = 1; k < n && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<std::uint8_t>(s[i + k]) & 0x3Fu);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            emit(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            emit(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            emit(static_cast<std::uint16_t>(cp));
        }
    }
}

constexpr std::size_t Utf16Length(std::string_view s) {
    std::size_t n = 0;
    ForEachUtf16(s, [&n](std::uint16_t) { ++n; });
    return n;
}

constexpr char16_t HexDigit(unsigned v) {
    return static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + (v - 10));
}

constexpr void Emit(TWriter& w, const TVersionBlockDef& d) {
    const std::size_t root = w.Begin(d.FixedInfoSize, 0, u"VS_VERSION_INFO");
    const std::array<std::uint32_t, 13> fixed = {
        VS_FFI_SIGNATURE,
        VS_FFI_STRUCVERSION,
        (std::uint32_t{d.FileVersion[0]} << 16) | d.FileVersion[1],
        (std::uint32_t{d.FileVersion[2]} << 16) | d.FileVersion[3],
        (std::uint32_t{d.ProductVersion[0]} << 16) | d.ProductVersion[1],
        (std::uint32_t{d.ProductVersion[2]} << 16) | d.ProductVersion[3],
        d.FileFlagsMask,
        d.FileFlags,
        d.FileOS,
        d.FileType,
        d.FileSubtype,
        0,
        0};
    for (std::size_t i = 0; i < d.FixedInfoSize; ++i)
        w.U8(i < 52 ? static_cast<std::uint8_t>((fixed[i / 4] >> (8 * (i % 4))) & 0xFF) : 0);
    w.Align();

    const std::size_t sfi = w.Begin(0, 1, u"StringFileInfo");
    char16_t tableKey[8] = {};
    const std::uint32_t langCode = (std::uint32_t{d.Language} << 16) | d.CodePage;
    for (int i = 0; i < 8; ++i)
        tableKey[i] = HexDigit((langCode >> (4 * (7 - i))) & 0xF);
    const std::size_t table = w.Begin(0, 1, std::u16string_view(tableKey, 8));
    for (std::size_t i = 0; i < VersionStringNames.size(); ++i) {
        const auto units = static_cast<std::uint16_t>(Utf16Length(d.Strings[i]) + 1);
        const std::size_t str = w.Begin(units, 1, VersionStringNames[i]);
        ForEachUtf16(d.Strings[i], [&w](std::uint16_t u) { w.U16(u); });
        w.U16(0);
        w.End(str);
    }
    w.End(table);
    w.End(sfi);

    const std::size_t vfi = w.Begin(0, 1, u"VarFileInfo");
    if (d.WithTranslation) {
        const std::size_t var = w.Begin(4, 0, u"Translation");
        w.U16(d.Language);
        w.U16(d.CodePage);
        w.End(var);
    }
    w.End(vfi);
    w.End(root);
}

} // namespace versionblock_detail

constexpr std::size_t VersionBlockSize(const TVersionBlockDef& d) {
    versionblock_detail::TWriter counter;
    versionblock_detail::Emit(counter, d);
    return counter.Pos();
}

template <std::size_t N>
constexpr std::array<std::uint8_t, N> BuildVersionBlock(const TVersionBlockDef& d) {
    std::array<std::uint8_t, N> bytes{};
    versionblock_detail::TWriter writer(bytes.data());
    versionblock_detail::Emit(writer, d);
    return bytes;
}

// The same at run time, for blocks that are not known at compile time.
inline std::vector<std::uint8_t> BuildVersionBlockBytes(const TVersionBlockDef& d) {
    std::vector<std::uint8_t> bytes(VersionBlockSize(d));
    versionblock_detail::TWriter writer(bytes.data());
    versionblock_detail::Emit(writer, d);
    return bytes;
}
