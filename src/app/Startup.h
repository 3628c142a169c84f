#pragma once
// What the program sets up before its main window exists: the maker's company record, the fixed
// number format and the program's folders (AppInfo.h). Folders end with "/".

#include "platform/AppInfo.h"

#include <optional>
#include <stdexcept>
#include <string>

// Start-up cannot go on; the message is shown to the user before the program ends.
class EStartupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The maker's contact details.
TCompanyInfo KorvantCompanyInfo();

// "." as decimal separator and "," as thousands separator for the rest of the run, whatever the
// user's locale: the C library's numeric locale (which QApplication set from the environment) and
// Qt's default locale. Call after the QApplication exists.
void FixNumberFormat();

// Where the maker's programs are installed by default: the configured folder (the install prefix)
// when it is an absolute path to an existing folder, otherwise "/opt/".
std::string ProgramFilesFolderOf(const std::string& configured);

// The maker's folder by the program's folder: the part before the first "Korvant" (any letter case)
// + "Korvant/", else the part before the first "4KV" + "4kv/", else programFiles + "Korvant/".
std::string MakerFolderOf(const std::string& programFolder, const std::string& programFilesFolder);

// MakerFolderOf, except that on a case-sensitive file system, when that folder does not exist but the
// maker's folder as spelled in the program's own path does, the latter is used, so that a program in
// ".../korvant/Hygrova/" finds ".../korvant/Common Files/".
std::string ResolveMakerFolder(const std::string& programFolder, const std::string& programFilesFolder);

struct TStartupInputs {
    std::string ProgramFile;                    // full path of the program file
    std::string ProgramFilesDir;                // configured program-files folder
    std::optional<std::string> DocumentsFolder; // nothing when the system cannot name it
};

// The folders, in the order ProgramFiles, name, ProgramFolder, documents, UserDataFolder (created with
// its parents; ProgramFolder when it can be neither found nor made), MakerFolder, CommonFolder.
// Without a documents folder raises EStartupError "Could not find My Documents folder location.".
TAppFolders FindAppFolders(const TStartupInputs& inputs);

// The inputs of this run: the program file of the QCoreApplication, the install prefix, the user's
// documents folder.
TStartupInputs SystemStartupInputs();

// Fills CompanyInfo(), fixes the number format and fills AppFolders(). Needs the QApplication.
void RunStartup();
