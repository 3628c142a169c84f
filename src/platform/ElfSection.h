#pragma once
// Reads one named section of an ELF file (32 or 64 bit, little-endian) through its section headers.
// Every offset and size is checked against the file, so a damaged file cannot make it read outside.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TElfSectionStatus {
    esOk,
    esNoFile,    // cannot be opened, or not a regular file
    esNotElf,    // not an ELF file of a supported kind
    esNoSection, // no section of that name, or it holds no bytes
    esDamaged    // headers or section lie outside the file, or reading failed
};

struct TElfSection {
    TElfSectionStatus Status = TElfSectionStatus::esNoFile;
    std::vector<std::uint8_t> Data;
};

// Reads at most maxSize bytes of the section.
TElfSection ReadElfSection(const std::string& fileName, std::string_view sectionName, std::size_t maxSize);
