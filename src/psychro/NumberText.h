#pragma once
// Reading and writing numbers as text with "." as the decimal separator, independent of the
// user's locale. Failures raise EConvertError with the standard messages.

#include "psychro/Format.h"

#include <optional>
#include <string>
#include <string_view>

// Removes leading and trailing blanks and control characters.
std::string Trim(std::string_view s);

// Blanks around the number are allowed; an exponent is allowed. Otherwise raises
// EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view s);
std::optional<double> TryStrToFloat(std::string_view s);

// Decimal, or hexadecimal with a "0x"/"0X"/"$" prefix; raises EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(std::string_view s);
std::optional<int> TryStrToInt(std::string_view s);

// The general number format: shortest text of up to 15 significant digits ("101.325", "1E-5").
std::string FloatToStr(double v);
