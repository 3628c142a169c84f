#include "units/TxFields.h"

#include "psychro/NumberText.h"

namespace {

bool HasAny(std::string_view s, std::string_view chars) {
    return s.find_first_of(chars) != std::string_view::npos;
}

} // namespace

bool IsTextFormat(std::string_view formatStr) {
    return HasAny(formatStr, "sS");
}
bool IsPairFormat(std::string_view formatStr) {
    return HasAny(formatStr, "/");
}
bool IsIntFormat(std::string_view formatStr) {
    return HasAny(formatStr, "dD");
}
bool IsFloatFormat(std::string_view formatStr) {
    return HasAny(formatStr, "fFgG");
}
bool IsGenFormat(std::string_view formatStr) {
    return HasAny(formatStr, "gG");
}

double ValueAsDouble(const TFmtValue& value) {
    if (const double* d = std::get_if<double>(&value)) return *d;
    if (const long long* i = std::get_if<long long>(&value)) return static_cast<double>(*i);
    return StrToFloat(std::get<std::string>(value));
}
