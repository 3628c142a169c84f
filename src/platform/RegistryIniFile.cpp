#include "platform/RegistryIniFile.h"

#include "platform/ProgramFile.h"
#include "psychro/NumberText.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>
#include <optional>

namespace {

QString Path(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

std::optional<int> ToInt(long long v) {
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(v);
}

QByteArray DoubleBytes(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    QByteArray bytes(8, '\0');
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

double BytesDouble(const QByteArray& bytes) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    return std::bit_cast<double>(bits);
}

struct TFileStamp {
    qint64 Size = 0;
    QDateTime Modified;
    bool operator==(const TFileStamp&) const = default;
};

std::mutex DamagedFilesMutex;

std::map<QString, TFileStamp>& DamagedFiles() {
    static std::map<QString, TFileStamp> files;
    return files;
}

} // namespace

std::string AppRegistryKey(const std::string& fileName) {
    return "Software\\Korvant\\" + std::filesystem::path(fileName).stem().string();
}

std::string ProgramRegistryKey() {
    return AppRegistryKey(ProgramFileName());
}

std::string CommonRegistryKey() {
    return "Software\\Korvant\\Common\\";
}

TRegistryIniFile::TRegistryIniFile(const std::string& key) {
    QStringList parts = QString::fromStdString(key).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    const QString organisation = parts.isEmpty() ? QString() : parts.takeFirst();
    const QString application = parts.join(QLatin1Char('/'));
    FSettings =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    // An unreadable or unparsable file is neither trusted nor overwritten.
    const QFileInfo file(FSettings->fileName());
    FDamaged = FSettings->status() != QSettings::NoError || (file.exists() && !file.isReadable());
    // QSettings parses a file once per process while it stays unchanged and reports the damage only to
    // the first object, so later objects learn it here.
    const TFileStamp stamp{file.size(), file.lastModified()};
    std::lock_guard lock(DamagedFilesMutex);
    auto& damaged = DamagedFiles();
    if (FDamaged) {
        damaged[file.absoluteFilePath()] = stamp;
    } else if (const auto it = damaged.find(file.absoluteFilePath()); it != damaged.end()) {
        if (it->second == stamp)
            FDamaged = true;
        else
            damaged.erase(it);
    }
}

TRegistryIniFile::~TRegistryIniFile() = default;

std::string TRegistryIniFile::FileName() const {
    return FSettings->fileName().toStdString();
}

bool TRegistryIniFile::IsReadable() const {
    return !FDamaged;
}

int TRegistryIniFile::ReadInteger(const std::string& section, const std::string& key,
                                  int defaultValue) const {
    if (FDamaged) return defaultValue;
    const QVariant v = FSettings->value(Path(section, key));
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return ToInt(v.toLongLong()).value_or(defaultValue);
    case QMetaType::QString:
        return TryStrToInt(v.toString().toStdString()).value_or(defaultValue);
    default:
        return defaultValue;
    }
}

bool TRegistryIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string TRegistryIniFile::ReadString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const {
    if (FDamaged) return defaultValue;
    const QVariant v = FSettings->value(Path(section, key));
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString().toStdString();
    // An unquoted text with commas, edited by hand, comes back as a list.
    case QMetaType::QStringList:
        return v.toStringList().join(QLatin1Char(',')).toStdString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return std::to_string(v.toLongLong());
    default:
        return defaultValue;
    }
}

double TRegistryIniFile::ReadFloat(const std::string& section, const std::string& key,
                                   double defaultValue) const {
    if (FDamaged) return defaultValue;
    const QVariant v = FSettings->value(Path(section, key));
    switch (v.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        return bytes.size() == 8 ? BytesDouble(bytes) : defaultValue;
    }
    case QMetaType::QString:
        return TryStrToFloat(v.toString().toStdString()).value_or(defaultValue);
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return v.toDouble();
    default:
        return defaultValue;
    }
}

void TRegistryIniFile::CheckWritable() const {
    if (FDamaged)
        throw ESettingsError("Unable to write to " + FileName() +
                             ". The file is not a valid settings file; correct or remove it.");
}

void TRegistryIniFile::Commit() {
    FSettings->sync();
    if (FSettings->status() != QSettings::NoError) throw ESettingsError("Unable to write to " + FileName());
}

void TRegistryIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    CheckWritable();
    FSettings->setValue(Path(section, key), value);
    Commit();
}

void TRegistryIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    CheckWritable();
    FSettings->setValue(Path(section, key), QString(value ? QLatin1Char('1') : QLatin1Char('0')));
    Commit();
}

void TRegistryIniFile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) {
    CheckWritable();
    FSettings->setValue(Path(section, key), QString::fromStdString(value));
    Commit();
}

void TRegistryIniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    CheckWritable();
    FSettings->setValue(Path(section, key), DoubleBytes(value));
    Commit();
}

std::vector<std::string> TRegistryIniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    if (FDamaged) return keys;
    FSettings->beginGroup(QString::fromStdString(section));
    for (const QString& k : FSettings->childKeys())
        keys.push_back(k.toStdString());
    FSettings->endGroup();
    return keys;
}

std::vector<std::string> TRegistryIniFile::ReadSections() const {
    std::vector<std::string> names;
    if (FDamaged) return names;
    for (const QString& g : FSettings->childGroups())
        names.push_back(g.toStdString());
    return names;
}

bool TRegistryIniFile::SectionExists(const std::string& section) const {
    return !FDamaged && FSettings->childGroups().contains(QString::fromStdString(section));
}

bool TRegistryIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return !FDamaged && FSettings->contains(Path(section, key));
}

void TRegistryIniFile::EraseSection(const std::string& section) {
    CheckWritable();
    FSettings->remove(QString::fromStdString(section));
    Commit();
}

void TRegistryIniFile::DeleteKey(const std::string& section, const std::string& key) {
    CheckWritable();
    FSettings->remove(Path(section, key));
    Commit();
}
