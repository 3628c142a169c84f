#include "platform/ProgramFile.h"

#include <QCoreApplication>

#include <filesystem>
#include <system_error>

std::string ProgramFileName() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath().toStdString();
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ProgramName() {
    return std::filesystem::path(ProgramFileName()).stem().string();
}
