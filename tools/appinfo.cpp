// Developer tool: runs the program's start-up and prints what it found: the application title, the
// folders, the maker's record and the number format. Built into the maker's folder layout of the
// build tree (Korvant/appinfo/), so it shows the folders an installed program would use.

#include "platform/AppInfo.h"
#include "app/Startup.h"
#include "platform/VerInfoRes.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

void Line(const char* name, const std::string& value) {
    std::printf("%-20s %s\n", name, value.c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    try {
        RunStartup();
    } catch (const EStartupError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const TAppFolders& f = AppFolders();
    const TCompanyInfo& c = CompanyInfo();
    const std::string help = f.CommonFolder + "Hygrova.htm";

    Line("Application title", AppTitle());
    Line("Program name", f.ProgramName);
    Line("ProgramFolder", f.ProgramFolder);
    Line("Program Files", f.ProgramFilesFolder);
    Line("MakerFolder", f.MakerFolder);
    Line("CommonFolder", f.CommonFolder);
    Line("UserDataFolder", f.UserDataFolder);
    Line("Help page", help + (QFileInfo::exists(QString::fromStdString(help)) ? " (present)" : " (missing)"));
    Line("Company", c.Name);
    Line("E-mail", c.Email);
    Line("Web", c.Web);
    Line("Phone", c.Phone);
    // Through the C library, which start-up has set to "." whatever the user's locale.
    std::printf("%-20s %.3f\n", "Number format", 101.325);
    return 0;
}
