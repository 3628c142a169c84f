#include "platform/VerInfoRes.h"

#include "platform/ElfSection.h"
#include "platform/ProgramFile.h"
#include "platform/VersionBlock.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// A node's wLength is 16 bits, so no block is longer.
constexpr std::size_t MaxBlockSize = 0xFFFF;

std::size_t Align4(std::size_t v) {
    return (v + 3) & ~std::size_t{3};
}

std::uint16_t Read16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t Read32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t{Read16(d, at)} | (std::uint32_t{Read16(d, at + 2)} << 16);
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 little-endian text up to its first zero unit; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t u = Read16(bytes, 2 * i);
        if (u == 0) break;
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
            const std::uint32_t low = Read16(bytes, 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;
        AppendUtf8(out, u);
    }
    return out;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

struct TNode {
    std::size_t End = 0;
    std::uint16_t Type = 0;
    std::string Key;
    std::size_t ValueStart = 0;
    std::size_t ValueSize = 0;
    std::size_t ChildrenStart = 0;
};

// The node at start, which must lie wholly before limit.
std::optional<TNode> ParseNode(std::span<const std::uint8_t> d, std::size_t start, std::size_t limit) {
    if (start > limit || limit - start < 6) return std::nullopt;
    const std::uint16_t length = Read16(d, start);
    if (length < 6 || length > limit - start) return std::nullopt;
    TNode node;
    node.End = start + length;
    const std::uint16_t valueLength = Read16(d, start + 2);
    node.Type = Read16(d, start + 4);

    std::size_t at = start + 6;
    for (;;) {
        if (node.End - at < 2) return std::nullopt; // key without its terminating zero
        const std::uint16_t u = Read16(d, at);
        at += 2;
        if (u == 0) break;
        node.Key.push_back(u < 0x80 ? static_cast<char>(u) : '?');
    }
    node.ValueStart = std::min(Align4(at), node.End);
    const std::size_t room = node.End - node.ValueStart;
    if (node.Type == 1) {
        // Text lengths count 16-bit units; some writers count bytes, so stay inside the node.
        node.ValueSize = std::min<std::size_t>(std::size_t{valueLength} * 2, room);
    } else {
        if (valueLength > room) return std::nullopt;
        node.ValueSize = valueLength;
    }
    node.ChildrenStart = std::min(Align4(node.ValueStart + node.ValueSize), node.End);
    return node;
}

std::optional<TNode> FindChild(std::span<const std::uint8_t> d, const TNode& parent, const std::string& key) {
    std::size_t at = parent.ChildrenStart;
    while (at < parent.End) {
        const auto child = ParseNode(d, at, parent.End);
        if (!child) return std::nullopt;
        if (SameName(child->Key, key)) return child;
        at = Align4(child->End);
    }
    return std::nullopt;
}

} // namespace

namespace {

std::vector<std::uint8_t> ReadBlock(const std::string& fileName) {
    TElfSection section = ReadElfSection(fileName, VersionSectionName, MaxBlockSize);
    switch (section.Status) {
    case TElfSectionStatus::esOk:
        return std::move(section.Data);
    case TElfSectionStatus::esDamaged:
        throw EVerInfoError("Cannot obtain version info.");
    default:
        throw ENoVerInfoError("No Version Info Available.");
    }
}

} // namespace

TVerInfoRes::TVerInfoRes(std::string fileName)
    : TVerInfoRes(TPrivate{}, ReadBlock(fileName), fileName) {}

TVerInfoRes TVerInfoRes::FromData(std::vector<std::uint8_t> data, std::string fileName) {
    if (data.empty()) throw ENoVerInfoError("No Version Info Available.");
    return TVerInfoRes(TPrivate{}, std::move(data), std::move(fileName));
}

TVerInfoRes::TVerInfoRes(TPrivate, std::vector<std::uint8_t> data, std::string fileName)
    : FFileName(std::move(fileName))
    , FData(std::move(data)) {
    const auto root = ParseNode(FData, 0, FData.size());
    if (!root || !SameName(root->Key, "VS_VERSION_INFO")) throw EVerInfoError("Cannot obtain version info.");
    FData.resize(root->End);

    const auto translation = QueryValue("\\VarFileInfo\\Translation");
    if (!translation || translation->size() < 4) throw EVerInfoError("No language info.");
    FTranslation = {Read16(*translation, 0), Read16(*translation, 2)};

    const auto fixed = QueryValue("\\");
    if (!fixed || fixed->size() < 52 || Read32(*fixed, 0) != VS_FFI_SIGNATURE)
        throw eNoFixeVerInfo("No fixed file info");
    std::uint32_t* fields[] = {&FFixed.Signature,     &FFixed.StrucVersion,     &FFixed.FileVersionMS,
                               &FFixed.FileVersionLS, &FFixed.ProductVersionMS, &FFixed.ProductVersionLS,
                               &FFixed.FileFlagsMask, &FFixed.FileFlags,        &FFixed.FileOS,
                               &FFixed.FileType,      &FFixed.FileSubtype,      &FFixed.FileDateMS,
                               &FFixed.FileDateLS};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        *fields[i] = Read32(*fixed, 4 * i);

    const std::uint32_t set = FFixed.FileFlags & FFixed.FileFlagsMask;
    const std::pair<std::uint32_t, const char*> flags[] = {{VS_FF_PRERELEASE, "Pre-release"},
                                                           {VS_FF_PRIVATEBUILD, "Private build"},
                                                           {VS_FF_SPECIALBUILD, "Special build"},
                                                           {VS_FF_DEBUG, "Debug"}};
    for (const auto& [bit, text] : flags)
        if (set & bit) FBuildFlags.emplace_back(text);
}

std::optional<std::span<const std::uint8_t>> TVerInfoRes::QueryValue(const std::string& path) const {
    const std::span<const std::uint8_t> d(FData);
    auto node = ParseNode(d, 0, d.size());
    std::size_t at = 0;
    while (node && at < path.size()) {
        const std::size_t next = path.find('\\', at);
        const std::string name = path.substr(at, next == std::string::npos ? std::string::npos : next - at);
        at = next == std::string::npos ? path.size() : next + 1;
        if (!name.empty()) node = FindChild(d, *node, name);
    }
    if (!node) return std::nullopt;
    return d.subspan(node->ValueStart, node->ValueSize);
}

std::string TVerInfoRes::FileVersionText() const {
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", FFixed.FileVersionMS >> 16, FFixed.FileVersionMS & 0xFFFF,
                  FFixed.FileVersionLS >> 16, FFixed.FileVersionLS & 0xFFFF);
    return text;
}

std::string TVerInfoRes::StringValue(int index) const {
    if (index < 0 || index >= static_cast<int>(VersionStringNames.size())) return {};
    char table[16];
    std::snprintf(table, sizeof table, "%.4x%.4x", unsigned{FTranslation.Language},
                  unsigned{FTranslation.CodePage});
    std::string name;
    for (const char16_t c : VersionStringNames[static_cast<std::size_t>(index)])
        name += static_cast<char>(c);
    const auto value = QueryValue(std::string("\\StringFileInfo\\") + table + "\\" + name);
    return value ? Utf16ToUtf8(*value) : std::string();
}

namespace {

// The running program's own file, also when it was replaced on disk after starting.
TVerInfoRes ProgramVersion() {
    return TVerInfoRes("/proc/self/exe");
}

} // namespace

std::string AppProductName() {
    return ProgramVersion().StringValue(7);
}

std::string AppVersion() {
    return ProgramVersion().FileVersionText();
}

std::string AppTitle() {
    try {
        const TVerInfoRes info = ProgramVersion();
        return info.StringValue(7) + " " + info.FileVersionText();
    } catch (const EVerInfoError&) {
        return ProgramName();
    }
}
