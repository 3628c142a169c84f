#include "platform/VersionBlockData.h"

// HYG_VERSION_MAJOR ... HYG_VERSION_TEXT come from the project version in CMake.

namespace {

constexpr TVersionBlockDef HygrovaVersion = [] {
    TVersionBlockDef d;
    d.FileVersion = {HYG_VERSION_MAJOR, HYG_VERSION_MINOR, HYG_VERSION_PATCH, HYG_VERSION_TWEAK};
    d.ProductVersion = d.FileVersion;
    d.FileFlagsMask = VS_FFI_FILEFLAGSMASK;
    d.FileFlags = 0;
    d.FileType = VFT_APP;
    d.Language = 0x0409;
    d.CodePage = 1252;
    d.Strings = {"Korvant",
                 "Hygrova psychrometric chart",
                 HYG_VERSION_TEXT,
                 "Hygrova",
                 "Copyright \u00A9 Korvant. All rights reserved.",
                 "Hygrova is a trademark of Korvant",
                 "Hygrova",
                 "Hygrova",
                 HYG_VERSION_TEXT,
                 "Psychrometric chart and moist-air calculations for HVAC engineers"};
    return d;
}();

constexpr std::size_t HygrovaVersionSize = VersionBlockSize(HygrovaVersion);

// Kept by the linker even though no code refers to it: the block is read from the file.
__attribute__((section(".hygver"), used, retain)) alignas(
    4) constexpr std::array<std::uint8_t, HygrovaVersionSize> HygrovaVersionBlock =
    BuildVersionBlock<HygrovaVersionSize>(HygrovaVersion);

} // namespace

const TVersionBlockDef& EmbeddedVersionDef() {
    return HygrovaVersion;
}

std::span<const std::uint8_t> EmbeddedVersionBlock() {
    return HygrovaVersionBlock;
}
