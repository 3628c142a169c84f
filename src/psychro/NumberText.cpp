#include "psychro/NumberText.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Optional sign, digits with at most one ".", at least one digit, optional exponent. Checked here
// because from_chars alone would also take "inf", "nan" and hexadecimal floats.
bool IsPlainDecimal(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false;
    while (i < s.size() && IsDigit(s[i])) {
        digits = true;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            digits = true;
            ++i;
        }
    }
    if (!digits) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (i >= s.size() || !IsDigit(s[i])) return false;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
    }
    return i == s.size();
}

} // namespace

std::string Trim(std::string_view s) {
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && IsBlank(s[first]))
        ++first;
    while (last > first && IsBlank(s[last - 1]))
        --last;
    return std::string(s.substr(first, last - first));
}

std::optional<double> TryStrToFloat(std::string_view s) {
    const std::string text = Trim(s);
    if (!IsPlainDecimal(text)) return std::nullopt;
    std::string_view number(text);
    if (number.front() == '+') number.remove_prefix(1);
    double v = 0;
    const auto r = std::from_chars(number.data(), number.data() + number.size(), v);
    if (r.ec != std::errc() || r.ptr != number.data() + number.size()) return std::nullopt;
    return v;
}

double StrToFloat(std::string_view s) {
    if (const auto v = TryStrToFloat(s)) return *v;
    throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
}

std::optional<int> TryStrToInt(std::string_view s) {
    const std::string text = Trim(s);
    std::string_view digits(text);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        base = 16;
        digits.remove_prefix(2);
    } else if (digits.starts_with("$")) {
        base = 16;
        digits.remove_prefix(1);
    }
    // from_chars would accept a second sign here.
    if (digits.empty() || digits.front() == '-' || digits.front() == '+') return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return std::nullopt;
    constexpr std::uint64_t limit = std::uint64_t{1} << 31;
    if (negative) {
        if (magnitude > limit) return std::nullopt;
        return static_cast<int>(-static_cast<std::int64_t>(magnitude));
    }
    // Hexadecimal texts name the 32-bit pattern, so "0xFFFFFFFF" is -1 as in the settings files;
    // decimal texts must lie in the signed range.
    if (magnitude < limit) return static_cast<int>(magnitude);
    if (base == 16 && magnitude <= std::numeric_limits<std::uint32_t>::max())
        return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude)));
    return std::nullopt;
}

int StrToInt(std::string_view s) {
    if (const auto v = TryStrToInt(s)) return *v;
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
}

std::string FloatToStr(double v) {
    return Format("%g", {v});
}
