#pragma once
// INI text files: the chart data file and the locations index.
//
// The file is kept as its lines, so that everything this program does not write (foreign sections,
// keys, comments, blank lines, spacing, line endings) is written back byte for byte. SimpleIni was
// tried first, but it rewrites the whole file on save (normalises spacing around "=", line endings,
// blank lines and indentation), which would alter other programs' files.
//
// Dialect: lines are trimmed of blanks; empty lines and lines beginning with ";" are skipped; a line
// "[name]" starts a section; "key=value" with blanks around "=" dropped, a line without "=" is a key
// without value; lines before the first section are ignored. Section and key names match without
// regard to case; the first section or key of a name wins. Writing a key that exists replaces its
// value in place, a new key goes after the last key of its section, a new section at the end of the
// file. Integers may be written in hexadecimal with "0x"; booleans are read as integers (non-zero is
// true); numbers that do not parse give the default. Floating-point texts always use ".".

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Failures of reading or writing an INI file; the message is the one the user sees.
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole file in memory; changes reach the disk with UpdateFile.
class TMemIniFile {
public:
    // Reads the file; a missing file gives an empty one. A file that exists but cannot be read
    // raises EIniFileException "Cannot open file "<name>". <reason>".
    explicit TMemIniFile(std::string fileName);
    virtual ~TMemIniFile();
    TMemIniFile(const TMemIniFile&) = delete;
    TMemIniFile& operator=(const TMemIniFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    double ReadFloat(const std::string& section, const std::string& key, double defaultValue) const;

    // Names must be single lines without surrounding blanks, keys must not hold "=" nor begin with
    // ";" or "[", values must be single lines; otherwise EIniFileException and nothing changes.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // The general number format ("101.325").
    void WriteFloat(const std::string& section, const std::string& key, double value);

    // Key names of a section in file order (empty if there is no such section).
    std::vector<std::string> ReadSection(const std::string& section) const;
    // Section names in file order, each once.
    std::vector<std::string> ReadSections() const;
    // Key and value pairs of a section in file order.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& section) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    // Removes every block of that name with all its lines.
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

    // Writes the file (atomically where the folder allows it). Failure raises EIniFileException
    // "Unable to write to <file name>" and leaves the old file as it was.
    void UpdateFile();

    // The bytes UpdateFile would write.
    std::string Text() const;

protected:
    // Called after every change.
    virtual void Changed() {}

private:
    struct TLine;
    struct TSection;

    void Parse(const std::string& content);
    void Reindex() const;
    const TSection* FindSection(const std::string& section) const;
    std::size_t FindKeyLine(const TSection& s, const std::string& key) const;
    void AppendLine(std::size_t at, std::string text);

    std::string FFileName;
    bool FBom = false;
    std::string FNewLine = "\n";
    std::vector<TLine> FLines;
    mutable std::vector<TSection> FSections;
    mutable bool FIndexValid = false;
};

// Every change is written to the file at once, like the system's profile functions.
class TIniFile : public TMemIniFile {
public:
    using TMemIniFile::TMemIniFile;

protected:
    void Changed() override { UpdateFile(); }
};
