#include "app/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QString>

#include <clocale>

#ifndef HYG_PROGRAM_FILES_DIR
#define HYG_PROGRAM_FILES_DIR "/opt"
#endif

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool IsFolder(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).isDir();
}

struct TMakerMatch {
    qsizetype At = -1;
    qsizetype Length = 0;
    const char* Name = nullptr;
};

// The first "KORVANT", else the first "4KV", without regard to case.
TMakerMatch FindMaker(const QString& programFolder) {
    if (const auto at = programFolder.indexOf(QLatin1String("KORVANT"), 0, Qt::CaseInsensitive); at >= 0)
        return {at, 7, "Korvant/"};
    if (const auto at = programFolder.indexOf(QLatin1String("4KV"), 0, Qt::CaseInsensitive); at >= 0)
        return {at, 3, "4kv/"};
    return {};
}

} // namespace

TCompanyInfo KorvantCompanyInfo() {
    TCompanyInfo info;
    info.Name = "Korvant";
    info.Email = "enquiries@korvant.com";
    info.Web = "www.korvant.com";
    info.Phone = "+44 20 7946 0321";
    return info;
}

void FixNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

std::string ProgramFilesFolderOf(const std::string& configured) {
    if (!configured.empty() && configured.front() == '/' && IsFolder(configured))
        return WithSlash(configured);
    return "/opt/";
}

std::string MakerFolderOf(const std::string& programFolder, const std::string& programFilesFolder) {
    const QString folder = QString::fromStdString(programFolder);
    const TMakerMatch match = FindMaker(folder);
    if (match.At < 0) return WithSlash(programFilesFolder) + "Korvant/";
    return folder.left(match.At).toStdString() + match.Name;
}

std::string ResolveMakerFolder(const std::string& programFolder, const std::string& programFilesFolder) {
    const std::string maker = MakerFolderOf(programFolder, programFilesFolder);
    if (IsFolder(maker)) return maker;
    const QString folder = QString::fromStdString(programFolder);
    const TMakerMatch match = FindMaker(folder);
    if (match.At < 0) return maker;
    const std::string asSpelled = folder.left(match.At + match.Length).toStdString() + "/";
    return IsFolder(asSpelled) ? asSpelled : maker;
}

TAppFolders FindAppFolders(const TStartupInputs& inputs) {
    TAppFolders f;
    f.ProgramFilesFolder = ProgramFilesFolderOf(inputs.ProgramFilesDir);
    const QFileInfo program(QString::fromStdString(inputs.ProgramFile));
    f.ProgramName = program.completeBaseName().toStdString();
    f.ProgramFolder = WithSlash(program.absolutePath().toStdString());

    if (!inputs.DocumentsFolder || inputs.DocumentsFolder->empty())
        throw EStartupError("Could not find My Documents folder location.");
    f.UserDataFolder = WithSlash(*inputs.DocumentsFolder) + "Korvant/" + f.ProgramName + "/";
    if (!QDir().mkpath(QString::fromStdString(f.UserDataFolder)) || !IsFolder(f.UserDataFolder))
        f.UserDataFolder = f.ProgramFolder;

    f.MakerFolder = ResolveMakerFolder(f.ProgramFolder, f.ProgramFilesFolder);
    f.CommonFolder = f.MakerFolder + "Common Files/";
    return f;
}

TStartupInputs SystemStartupInputs() {
    TStartupInputs inputs;
    inputs.ProgramFile = QCoreApplication::applicationFilePath().toStdString();
    inputs.ProgramFilesDir = HYG_PROGRAM_FILES_DIR;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty()) inputs.DocumentsFolder = documents.toStdString();
    return inputs;
}

void RunStartup() {
    // The program file and the locale that QApplication sets are only known once it exists.
    if (!QCoreApplication::instance()) throw std::logic_error("RunStartup needs the QApplication");
    CompanyInfo() = KorvantCompanyInfo();
    FixNumberFormat();
    AppFolders() = FindAppFolders(SystemStartupInputs());
}
