#include "platform/IniFiles.h"

#include "psychro/NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <unordered_map>

struct TMemIniFile::TLine {
    enum TKind { lkOther, lkSection, lkEntry };

    std::string Text; // as in the file, without the line ending
    std::string Eol;  // "\r\n", "\n", "\r" or empty for a last line without one
    TKind Kind = lkOther;
    std::string Name;  // section or key name, trimmed
    std::string Value; // entry value, trimmed
};

struct TMemIniFile::TSection {
    std::string Name;
    std::string Folded;
    std::size_t Header = 0; // line of "[name]"
    std::size_t End = 0;    // one past the block's last line
    std::vector<std::size_t> Entries;
    std::unordered_map<std::string, std::size_t> Keys; // folded key -> first line
};

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimView(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Case-insensitive names: ASCII directly, anything else through Unicode case folding.
std::string Fold(std::string_view s) {
    const bool ascii =
        std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        std::string r(s);
        for (char& c : r)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return r;
    }
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toCaseFolded().toStdString();
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

void ClassifyLine(std::string_view text, std::string& name, std::string& value, bool& isSection,
                  bool& isEntry) {
    isSection = isEntry = false;
    const std::string_view t = TrimView(text);
    if (t.empty() || t.front() == ';') return;
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
        isSection = true;
        name = std::string(TrimView(t.substr(1, t.size() - 2)));
        return;
    }
    isEntry = true;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) {
        name = std::string(t);
        value.clear();
    } else {
        name = std::string(TrimView(t.substr(0, eq)));
        value = std::string(TrimView(t.substr(eq + 1)));
    }
}

} // namespace

TMemIniFile::TMemIniFile(std::string fileName)
    : FFileName(std::move(fileName)) {
    QFile file(QString::fromStdString(FFileName));
    if (!file.exists()) return;
    if (QFileInfo(file).isDir())
        throw EIniFileException("Cannot open file \"" + FFileName + "\". Is a directory");
    if (!file.open(QIODevice::ReadOnly))
        throw EIniFileException("Cannot open file \"" + FFileName + "\". " +
                                file.errorString().toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EIniFileException("Cannot open file \"" + FFileName + "\". " +
                                file.errorString().toStdString());
    Parse(bytes.toStdString());
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::Parse(const std::string& content) {
    std::string_view rest(content);
    if (rest.starts_with("\xEF\xBB\xBF")) {
        FBom = true;
        rest.remove_prefix(3);
    }
    bool newLineChosen = false;
    while (!rest.empty()) {
        const auto brk = rest.find_first_of("\r\n");
        TLine line;
        if (brk == std::string_view::npos) {
            line.Text = std::string(rest);
            rest = {};
        } else {
            line.Text = std::string(rest.substr(0, brk));
            const std::size_t eolLen =
                (rest[brk] == '\r' && brk + 1 < rest.size() && rest[brk + 1] == '\n') ? 2 : 1;
            line.Eol = std::string(rest.substr(brk, eolLen));
            rest.remove_prefix(brk + eolLen);
            if (!newLineChosen) {
                FNewLine = line.Eol;
                newLineChosen = true;
            }
        }
        bool isSection = false, isEntry = false;
        ClassifyLine(line.Text, line.Name, line.Value, isSection, isEntry);
        line.Kind = isSection ? TLine::lkSection : isEntry ? TLine::lkEntry : TLine::lkOther;
        FLines.push_back(std::move(line));
    }
    FIndexValid = false;
}

void TMemIniFile::Reindex() const {
    if (FIndexValid) return;
    FSections.clear();
    TSection* current = nullptr;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLine& line = FLines[i];
        if (line.Kind == TLine::lkSection) {
            if (current) current->End = i;
            FSections.push_back(TSection{line.Name, Fold(line.Name), i, FLines.size(), {}, {}});
            current = &FSections.back();
        } else if (line.Kind == TLine::lkEntry && current && !line.Name.empty()) {
            current->Entries.push_back(i);
            current->Keys.try_emplace(Fold(line.Name), i);
        }
    }
    FIndexValid = true;
}

const TMemIniFile::TSection* TMemIniFile::FindSection(const std::string& section) const {
    Reindex();
    const std::string folded = Fold(section);
    for (const TSection& s : FSections)
        if (s.Folded == folded) return &s;
    return nullptr;
}

std::size_t TMemIniFile::FindKeyLine(const TSection& s, const std::string& key) const {
    const auto it = s.Keys.find(Fold(key));
    return it == s.Keys.end() ? FLines.size() : it->second;
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    const TSection* s = FindSection(section);
    if (!s) return defaultValue;
    const std::size_t at = FindKeyLine(*s, key);
    return at < FLines.size() ? FLines[at].Value : defaultValue;
}

int TMemIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
    const TSection* s = FindSection(section);
    if (!s) return defaultValue;
    const std::size_t at = FindKeyLine(*s, key);
    if (at >= FLines.size()) return defaultValue;
    return TryStrToInt(FLines[at].Value).value_or(defaultValue);
}

bool TMemIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TMemIniFile::ReadFloat(const std::string& section, const std::string& key, double defaultValue) const {
    const TSection* s = FindSection(section);
    if (!s) return defaultValue;
    const std::size_t at = FindKeyLine(*s, key);
    if (at >= FLines.size()) return defaultValue;
    return TryStrToFloat(FLines[at].Value).value_or(defaultValue);
}

void TMemIniFile::AppendLine(std::size_t at, std::string text) {
    // A last line without an ending gets one before anything follows it.
    if (at > 0 && FLines[at - 1].Eol.empty()) FLines[at - 1].Eol = FNewLine;
    TLine line;
    line.Text = std::move(text);
    line.Eol = FNewLine;
    bool isSection = false, isEntry = false;
    ClassifyLine(line.Text, line.Name, line.Value, isSection, isEntry);
    line.Kind = isSection ? TLine::lkSection : isEntry ? TLine::lkEntry : TLine::lkOther;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    FIndexValid = false;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string_view tKey = TrimView(key);
    if (section.empty() || HasLineBreak(section) || TrimView(section).size() != section.size())
        throw EIniFileException("Invalid section name \"" + section + "\"");
    if (key.empty() || HasLineBreak(key) || tKey.size() != key.size() || key.find('=') != std::string::npos ||
        key.front() == ';' || key.front() == '[')
        throw EIniFileException("Invalid key name \"" + key + "\"");
    if (HasLineBreak(value)) throw EIniFileException("The value of \"" + key + "\" must be a single line");

    const TSection* s = FindSection(section);
    if (!s) {
        std::size_t at = FLines.size();
        if (at > 0 && !TrimView(FLines[at - 1].Text).empty()) AppendLine(at++, std::string());
        AppendLine(at++, "[" + section + "]");
        AppendLine(at, key + "=" + value);
        Changed();
        return;
    }
    const std::size_t keyLine = FindKeyLine(*s, key);
    if (keyLine < FLines.size()) {
        TLine& line = FLines[keyLine];
        const auto eq = line.Text.find('=');
        if (eq == std::string::npos) {
            std::string_view t(line.Text);
            while (!t.empty() && IsBlank(t.back()))
                t.remove_suffix(1);
            line.Text = std::string(t) + "=" + value;
        } else {
            // Keep the line's own spelling and spacing up to the value.
            std::size_t start = eq + 1;
            while (start < line.Text.size() && (line.Text[start] == ' ' || line.Text[start] == '\t'))
                ++start;
            line.Text = line.Text.substr(0, start) + value;
        }
        line.Value = std::string(TrimView(value));
        Changed();
        return;
    }
    const std::size_t at = s->Entries.empty() ? s->Header + 1 : s->Entries.back() + 1;
    AppendLine(at, key + "=" + value);
    Changed();
}

void TMemIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TMemIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TMemIniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    WriteString(section, key, FloatToStr(value));
}

std::vector<std::string> TMemIniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    const TSection* s = FindSection(section);
    if (!s) return keys;
    for (const std::size_t i : s->Entries)
        if (s->Keys.at(Fold(FLines[i].Name)) == i) keys.push_back(FLines[i].Name);
    return keys;
}

std::vector<std::string> TMemIniFile::ReadSections() const {
    Reindex();
    std::vector<std::string> names;
    std::vector<const std::string*> seen;
    for (const TSection& s : FSections) {
        if (std::any_of(seen.begin(), seen.end(), [&](const std::string* f) { return *f == s.Folded; }))
            continue;
        seen.push_back(&s.Folded);
        names.push_back(s.Name);
    }
    return names;
}

std::vector<std::pair<std::string, std::string>>
TMemIniFile::ReadSectionValues(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> values;
    const TSection* s = FindSection(section);
    if (!s) return values;
    for (const std::size_t i : s->Entries)
        if (s->Keys.at(Fold(FLines[i].Name)) == i) values.emplace_back(FLines[i].Name, FLines[i].Value);
    return values;
}

bool TMemIniFile::SectionExists(const std::string& section) const {
    return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(const std::string& section, const std::string& key) const {
    const TSection* s = FindSection(section);
    return s && FindKeyLine(*s, key) < FLines.size();
}

void TMemIniFile::EraseSection(const std::string& section) {
    Reindex();
    const std::string folded = Fold(section);
    bool erased = false;
    // From the last block backwards, so earlier line numbers stay valid.
    for (auto it = FSections.rbegin(); it != FSections.rend(); ++it) {
        if (it->Folded != folded) continue;
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(it->Header),
                     FLines.begin() + static_cast<std::ptrdiff_t>(it->End));
        erased = true;
    }
    if (!erased) return;
    FIndexValid = false;
    Changed();
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& key) {
    const TSection* s = FindSection(section);
    if (!s) return;
    const std::size_t at = FindKeyLine(*s, key);
    if (at >= FLines.size()) return;
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(at));
    FIndexValid = false;
    Changed();
}

std::string TMemIniFile::Text() const {
    std::string text;
    if (FBom) text = "\xEF\xBB\xBF";
    for (const TLine& line : FLines) {
        text += line.Text;
        text += line.Eol;
    }
    return text;
}

void TMemIniFile::UpdateFile() {
    const std::string text = Text();
    QSaveFile file(QString::fromStdString(FFileName));
    // A file in a folder where no new file may be made is written in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit())
        throw EIniFileException("Unable to write to " + FFileName);
}
