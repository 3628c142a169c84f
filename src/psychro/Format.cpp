#include "psychro/Format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

namespace {

// Decimal digits of a finite value: value = 0.Digits × 10^Point, Digits without leading or
// trailing zeros (empty for zero).
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Point = 0;

    char DigitAt(int i) const {
        return i >= 0 && i < static_cast<int>(Digits.size()) ? Digits[static_cast<std::size_t>(i)] : '0';
    }
    bool IsZero() const { return Digits.empty(); }
};

// The exact decimal value of a double. Rounding happens on these digits, so ties are real ties
// (0.125, 2.5) and round away from zero as users expect, not to even as printf does.
TDecimal ExactDecimal(double x) {
    TDecimal d;
    d.Negative = std::signbit(x);
    const double a = std::fabs(x);
    if (a == 0) return d;
    // A binary fraction with n fractional bits has exactly n fractional decimal digits.
    int e = 0;
    const double f = std::frexp(a, &e);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(f, 53));
    const int fractionDigits = std::max(0, 53 - e - std::countr_zero(mantissa));
    // At most 309 integer digits and 1074 fractional digits.
    std::array<char, 1400> buf;
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::fixed, fractionDigits);
    std::string_view text(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
    const auto dot = text.find('.');
    const std::string_view intPart = text.substr(0, dot);
    const std::string_view fracPart =
        dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    d.Digits.reserve(intPart.size() + fracPart.size());
    d.Digits.append(intPart).append(fracPart);
    d.Point = static_cast<int>(intPart.size());
    const auto first = d.Digits.find_first_not_of('0');
    d.Digits.erase(0, first);
    d.Point -= static_cast<int>(first);
    d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero.
void RoundDigits(TDecimal& d, int keep) {
    const int size = static_cast<int>(d.Digits.size());
    if (keep >= size) return;
    if (keep < 0) {
        d.Digits.clear();
        return;
    }
    const bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9') {
            d.Digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.Digits[static_cast<std::size_t>(i)];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Point;
        }
    }
    d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
    if (d.Digits.empty()) d.Point = 0;
}

std::string NonFinite(double v) {
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

std::string GroupThousands(std::string digits) {
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), 1, ',');
    return digits;
}

// "%f" and "%n": prec decimals; a value that rounds to zero is written without a minus sign.
std::string FormatFixed(double v, int prec, bool thousands) {
    if (!std::isfinite(v)) return NonFinite(v);
    TDecimal d = ExactDecimal(v);
    RoundDigits(d, d.Point + prec);
    std::string intPart;
    for (int i = 0; i < d.Point; ++i)
        intPart += d.DigitAt(i);
    // Appended rather than assigned: GCC 12 at -O3 warns falsely (-Wrestrict) on the assignment.
    if (intPart.empty()) intPart += '0';
    std::string out;
    if (d.Negative && !d.IsZero()) out += '-';
    if (thousands)
        out += GroupThousands(intPart);
    else
        out += intPart;
    if (prec > 0) {
        out += '.';
        for (int i = 0; i < prec; ++i)
            out += d.DigitAt(d.Point + i);
    }
    return out;
}

// "%e": prec significant digits, "-d.dddE+ddd" with at least three exponent digits.
std::string FormatExponent(double v, int prec) {
    if (!std::isfinite(v)) return NonFinite(v);
    TDecimal d = ExactDecimal(v);
    RoundDigits(d, prec);
    const int exponent = d.IsZero() ? 0 : d.Point - 1;
    std::string out = d.Negative && !d.IsZero() ? "-" : "";
    out += d.DigitAt(0);
    if (prec > 1) {
        out += '.';
        for (int i = 1; i < prec; ++i)
            out += d.DigitAt(i);
    }
    std::string exp = std::to_string(std::abs(exponent));
    out += exponent < 0 ? "E-" : "E+";
    out += std::string(exp.size() < 3 ? 3 - exp.size() : 0, '0') + exp;
    return out;
}

// "%g": up to prec significant digits without trailing zeros; fixed notation while the decimal
// exponent lies in -5 < exp < prec, else "1.5E-5" style.
std::string FormatGeneral(double v, int prec) {
    if (!std::isfinite(v)) return NonFinite(v);
    TDecimal d = ExactDecimal(v);
    RoundDigits(d, prec);
    if (d.IsZero()) return "0";
    std::string out = d.Negative ? "-" : "";
    const int size = static_cast<int>(d.Digits.size());
    const int exponent = d.Point - 1;
    if (exponent > -5 && exponent < prec) {
        if (d.Point <= 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-d.Point), '0');
            out += d.Digits;
        } else if (d.Point >= size) {
            out += d.Digits;
            out.append(static_cast<std::size_t>(d.Point - size), '0');
        } else {
            out.append(d.Digits, 0, static_cast<std::size_t>(d.Point));
            out += '.';
            out.append(d.Digits, static_cast<std::size_t>(d.Point));
        }
    } else {
        out += d.Digits[0];
        if (size > 1) {
            out += '.';
            out.append(d.Digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

std::string IntegerText(long long v, int base) {
    std::array<char, 70> buf;
    std::to_chars_result r;
    if (base == 10) {
        r = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    } else {
        // Negative values show their two's complement, 32 bits wide when they fit.
        const auto u = v < 0 && v >= std::numeric_limits<std::int32_t>::min()
                           ? static_cast<std::uint64_t>(static_cast<std::uint32_t>(v))
                           : static_cast<std::uint64_t>(v);
        r = std::to_chars(buf.data(), buf.data() + buf.size(), u, base);
    }
    std::string s(buf.data(), r.ptr);
    if (base == 16)
        for (char& c : s)
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Negative values show their two's complement, 32 bits wide when they fit.
std::string UnsignedText(long long v) {
    if (v >= 0) return std::to_string(v);
    if (v >= std::numeric_limits<std::int32_t>::min()) return std::to_string(static_cast<std::uint32_t>(v));
    return std::to_string(static_cast<std::uint64_t>(v));
}

// Minimum digit count for the integer conversions.
std::string PadDigits(std::string s, int prec) {
    const bool negative = !s.empty() && s[0] == '-';
    const std::size_t digits = s.size() - (negative ? 1 : 0);
    if (prec > 0 && digits < static_cast<std::size_t>(prec))
        s.insert(negative ? 1 : 0, static_cast<std::size_t>(prec) - digits, '0');
    return s;
}

// Characters as the user sees them: UTF-8 continuation bytes do not count.
std::size_t CodePoints(std::string_view s) {
    std::size_t n = 0;
    for (const char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string_view FirstCodePoints(std::string_view s, std::size_t count) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == count) return s.substr(0, i);
            ++n;
        }
    }
    return s;
}

class TFormatter {
public:
    TFormatter(std::string_view pattern, std::span<const TFormatArg> args)
        : FPattern(pattern)
        , FArgs(args) {}

    std::string Run() {
        std::string out;
        out.reserve(FPattern.size() + 16);
        std::size_t i = 0;
        while (i < FPattern.size()) {
            const char c = FPattern[i++];
            if (c != '%') {
                out += c;
                continue;
            }
            if (i < FPattern.size() && FPattern[i] == '%') {
                out += '%';
                ++i;
                continue;
            }
            out += Conversion(i);
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const {
        throw EConvertError("Format '" + std::string(FPattern) + "' invalid or incompatible with argument");
    }

    const TFormatArg& NextArg() {
        if (FNext >= FArgs.size())
            throw EConvertError("No argument for format '" + std::string(FPattern) + "'");
        return FArgs[FNext++];
    }

    bool IsDigit(std::size_t i) const {
        return i < FPattern.size() && FPattern[i] >= '0' && FPattern[i] <= '9';
    }

    // Decimal digits; -1 when there are none.
    int Digits(std::size_t& i) const {
        int n = -1;
        while (IsDigit(i)) {
            n = (n < 0 ? 0 : n * 10) + (FPattern[i] - '0');
            if (n > MaxField) Invalid();
            ++i;
        }
        return n;
    }

    // Digits, or "*" taking the value from the next integer argument; -1 when absent.
    int Number(std::size_t& i) {
        if (i < FPattern.size() && FPattern[i] == '*') {
            ++i;
            const auto* v = std::get_if<long long>(&NextArg().Value);
            if (!v || *v < 0 || *v > MaxField) Invalid();
            return static_cast<int>(*v);
        }
        return Digits(i);
    }

    // One "%[index:][-][width][.prec]type" directive, i just past the "%".
    std::string Conversion(std::size_t& i) {
        std::size_t j = i;
        while (IsDigit(j))
            ++j;
        if (j > i && j < FPattern.size() && FPattern[j] == ':') {
            FNext = static_cast<std::size_t>(Digits(i));
            ++i;
        }
        bool left = false;
        if (i < FPattern.size() && FPattern[i] == '-') {
            left = true;
            ++i;
        }
        const int width = Number(i);
        int prec = -1;
        if (i < FPattern.size() && FPattern[i] == '.') {
            ++i;
            prec = std::max(0, Number(i));
        }
        if (i >= FPattern.size()) Invalid();
        const char type = static_cast<char>(FPattern[i] | 0x20);
        ++i;
        std::string text = Convert(type, prec, NextArg());
        const std::size_t shown = CodePoints(text);
        if (width > 0 && shown < static_cast<std::size_t>(width)) {
            const std::string pad(static_cast<std::size_t>(width) - shown, ' ');
            text = left ? text + pad : pad + text;
        }
        return text;
    }

    std::string Convert(char type, int prec, const TFormatArg& arg) {
        const auto* integer = std::get_if<long long>(&arg.Value);
        const auto* real = std::get_if<double>(&arg.Value);
        const auto* str = std::get_if<std::string>(&arg.Value);
        switch (type) {
        case 'd':
            if (!integer) Invalid();
            return PadDigits(IntegerText(*integer, 10), prec);
        case 'u':
            if (!integer) Invalid();
            return PadDigits(UnsignedText(*integer), prec);
        case 'x':
            if (!integer) Invalid();
            return PadDigits(IntegerText(*integer, 16), prec);
        case 'f':
        case 'n':
        case 'e':
        case 'g': {
            if (str) Invalid();
            const double v = real ? *real : static_cast<double>(*integer);
            if (type == 'f') return FormatFixed(v, prec < 0 ? 2 : prec, false);
            if (type == 'n') return FormatFixed(v, prec < 0 ? 2 : prec, true);
            const int digits = prec < 0 ? 15 : std::clamp(prec, 1, MaxDigits);
            return type == 'e' ? FormatExponent(v, digits) : FormatGeneral(v, digits);
        }
        case 's':
            if (!str) Invalid();
            return std::string(prec < 0 ? std::string_view(*str)
                                        : FirstCodePoints(*str, static_cast<std::size_t>(prec)));
        default:
            Invalid();
        }
    }

    static constexpr int MaxField = 100000;
    // More significant digits than a double holds are noise.
    static constexpr int MaxDigits = 17;

    std::string_view FPattern;
    std::span<const TFormatArg> FArgs;
    std::size_t FNext = 0;
};

} // namespace

std::string Format(std::string_view pattern, std::span<const TFormatArg> args) {
    return TFormatter(pattern, args).Run();
}

std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args) {
    return Format(pattern, std::span<const TFormatArg>(args.begin(), args.size()));
}
