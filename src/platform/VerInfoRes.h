#pragma once
// The version block of an executable file: the program carries it in its ELF section ".hygver"
// (see VersionBlock.h for the layout); TVerInfoRes finds it and answers the usual queries.

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr const char* VersionSectionName = ".hygver";

class EVerInfoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// The file carries no version block.
class ENoVerInfoError : public EVerInfoError {
public:
    using EVerInfoError::EVerInfoError;
};
// The block has no usable fixed file information.
class eNoFixeVerInfo : public EVerInfoError {
public:
    using EVerInfoError::EVerInfoError;
};

// The 52 bytes of fixed file information.
struct TFixedFileInfo {
    std::uint32_t Signature = 0;
    std::uint32_t StrucVersion = 0;
    std::uint32_t FileVersionMS = 0;
    std::uint32_t FileVersionLS = 0;
    std::uint32_t ProductVersionMS = 0;
    std::uint32_t ProductVersionLS = 0;
    std::uint32_t FileFlagsMask = 0;
    std::uint32_t FileFlags = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType = 0;
    std::uint32_t FileSubtype = 0;
    std::uint32_t FileDateMS = 0;
    std::uint32_t FileDateLS = 0;
};

struct TTranslation {
    std::uint16_t Language = 0;
    std::uint16_t CodePage = 0;
};

class TVerInfoRes {
public:
    // Fails with ENoVerInfoError "No Version Info Available." (no block), EVerInfoError "Cannot
    // obtain version info." (block unreadable), EVerInfoError "No language info." (no translation)
    // or eNoFixeVerInfo "No fixed file info" (fixed information missing or short).
    explicit TVerInfoRes(std::string fileName);
    // The same checks on a block already in memory.
    static TVerInfoRes FromData(std::vector<std::uint8_t> data, std::string fileName = {});

    const std::string& FileName() const { return FFileName; }
    const std::vector<std::uint8_t>& VersionData() const { return FData; }
    TTranslation Translation() const { return FTranslation; }
    const TFixedFileInfo& FixedInfo() const { return FFixed; }
    // "Pre-release", "Private build", "Special build", "Debug": those set in flags and mask.
    const std::vector<std::string>& BuildFlags() const { return FBuildFlags; }

    // "%d.%d.%d.%d" of the file version, most significant part first.
    std::string FileVersionText() const;
    // The string-table entry of that index (0 "CompanyName" ... 9 "Comments") for the first
    // translation, UTF-8; empty if absent.
    std::string StringValue(int index) const;
    // A lookup like "\StringFileInfo\040904e4\ProductName", "\VarFileInfo\Translation" or "\";
    // names match without regard to case. The value's bytes, or nothing.
    std::optional<std::span<const std::uint8_t>> QueryValue(const std::string& path) const;

private:
    struct TPrivate {};
    TVerInfoRes(TPrivate, std::vector<std::uint8_t> data, std::string fileName);

    std::string FFileName;
    std::vector<std::uint8_t> FData;
    TTranslation FTranslation;
    TFixedFileInfo FFixed;
    std::vector<std::string> FBuildFlags;
};

// Of the running program's file: StringValue 7 ("ProductName"), FileVersionText, and both with a
// blank between them ("Hygrova 2.0.4.0"). The first two raise EVerInfoError like TVerInfoRes;
// AppTitle falls back to the program name so that the main window can always be given a caption.
std::string AppProductName();
std::string AppVersion();
std::string AppTitle();
