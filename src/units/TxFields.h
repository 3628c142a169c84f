#pragma once
// Format-string classification shared by the formatted edit and the entry grid, and the value
// type they hand in and out.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

// How a floating-point value is written.
enum TFormatType : std::uint8_t {
    ft_Auto,         // always with automatic decimals
    ft_Fixed,        // always with the format string
    ft_AutoOverride, // with the format string unless the value is too small for its decimals
    ft_Manual        // with the format string, which a change of unit leaves alone
};

// The classification looks for letters anywhere in the pattern; callers test text first, then
// pair, then integer, then floating point.
bool IsTextFormat(std::string_view formatStr);  // "s" or "S"
bool IsPairFormat(std::string_view formatStr);  // "/": two numbers a/b
bool IsIntFormat(std::string_view formatStr);   // "d" or "D"
bool IsFloatFormat(std::string_view formatStr); // "f", "F", "g" or "G"
bool IsGenFormat(std::string_view formatStr);   // "g" or "G": significant digits, exponent allowed

// A field's value in its stored unit: a floating-point number, an integer (integer formats) or a
// text (text formats, pairs, and any text that could not be read as a number).
using TFmtValue = std::variant<double, long long, std::string>;

// The value as a double: numbers as they are, texts read with "." as the decimal separator.
// Raises EConvertError for a text that is not a number.
double ValueAsDouble(const TFmtValue& value);
