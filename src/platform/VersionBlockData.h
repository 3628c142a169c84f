#pragma once
// The program's own version block, built into the executable's ".hygver" section. Only programs
// that link the hyg_version_block objects have these definitions.

#include "platform/VersionBlock.h"

#include <cstdint>
#include <span>

const TVersionBlockDef& EmbeddedVersionDef();
std::span<const std::uint8_t> EmbeddedVersionBlock();
