#pragma once
// Program-wide values fixed once at start-up and read-only afterwards. Folders end with "/".

#include <string>

struct TAppFolders {
    std::string ProgramName;        // program file name without folder and extension
    std::string ProgramFolder;      // folder of the program file
    std::string ProgramFilesFolder; // where the maker's programs are installed by default
    std::string MakerFolder;        // the maker's install folder
    std::string CommonFolder;       // MakerFolder + "Common Files/": help pages, logo, locations
    std::string UserDataFolder;     // documents + "Korvant/" + program name + "/"
};

// The maker's contact details (e-mail enquiry recipient, chart footer).
struct TCompanyInfo {
    std::string Name;
    std::string Email;
    std::string Web;
    std::string Phone;
};

// Empty until start-up fills them.
inline TAppFolders& AppFolders() {
    static TAppFolders folders;
    return folders;
}
inline TCompanyInfo& CompanyInfo() {
    static TCompanyInfo info;
    return info;
}
