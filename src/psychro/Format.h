#pragma once
// Delphi-style text formatting, always with "." as the decimal separator whatever the locale.

#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// The standard conversion error: unreadable numbers, patterns that do not fit their arguments.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One argument of Format: an integer, a floating-point value or a text.
class TFormatArg {
public:
    TFormatArg(int v)
        : Value(static_cast<long long>(v)) {}
    TFormatArg(long v)
        : Value(static_cast<long long>(v)) {}
    TFormatArg(long long v)
        : Value(v) {}
    TFormatArg(unsigned v)
        : Value(static_cast<long long>(v)) {}
    TFormatArg(double v)
        : Value(v) {}
    TFormatArg(const char* v)
        : Value(std::string(v)) {}
    TFormatArg(std::string_view v)
        : Value(std::string(v)) {}
    TFormatArg(const std::string& v)
        : Value(v) {}

    std::variant<long long, double, std::string> Value;
};

// Formats like Delphi's Format: "%[-][width][.prec]" followed by d, u, x, f, g, e, n, s or S
// (upper or lower case), and "%%". "%0.1f" rounds the exact value half away from zero and writes
// a value that rounds to zero without a minus sign; "%0.4g" writes up to four significant digits
// without trailing zeros. A pattern that does not match its arguments raises EConvertError.
std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args);
// The same with an argument list built at run time.
std::string Format(std::string_view pattern, std::span<const TFormatArg> args);
