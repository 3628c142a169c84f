#pragma once
// The per-user settings store: one store key presented as an INI file (a section is a group, a key a
// named value). Store keys are "Software\<organisation>\<application>", kept by QSettings in its
// native format (on Linux an INI file per key, such as ~/.config/Korvant/Hygrova.conf).
//
// Value kinds: integers as numbers, booleans as the text "0" or "1", texts as texts, floating-point
// values as an 8-byte binary value holding the IEEE-754 double (little-endian). Reading: a missing
// section or key gives the default; an integer held as text is parsed, unparsable text gives the
// default; a boolean is read as an integer, non-zero meaning true; a value of another kind gives the
// default. A settings file that cannot be parsed is treated as empty when read and is never written
// over, so nothing in it is lost.
//
// Every write reaches the file at once; when it cannot, ESettingsError "Unable to write to <file>"
// is raised (callers in close handlers catch it and show it).

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QSettings;

class ESettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Software\Korvant\" + the file's name without folder and extension.
std::string AppRegistryKey(const std::string& fileName);
// The program key of the running program and the key shared by the maker's programs.
std::string ProgramRegistryKey();
std::string CommonRegistryKey();

class TRegistryIniFile {
public:
    // key: "Software\Korvant\Hygrova" style; a trailing "\" is allowed.
    explicit TRegistryIniFile(const std::string& key);
    ~TRegistryIniFile();
    TRegistryIniFile(const TRegistryIniFile&) = delete;
    TRegistryIniFile& operator=(const TRegistryIniFile&) = delete;

    // Where the store keeps this key.
    std::string FileName() const;
    // False when the file exists but cannot be parsed (then every read gives its default).
    bool IsReadable() const;

    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    double ReadFloat(const std::string& section, const std::string& key, double defaultValue) const;

    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteFloat(const std::string& section, const std::string& key, double value);

    std::vector<std::string> ReadSection(const std::string& section) const;
    std::vector<std::string> ReadSections() const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

private:
    void CheckWritable() const;
    void Commit();

    std::unique_ptr<QSettings> FSettings;
    bool FDamaged = false;
};
