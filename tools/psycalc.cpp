// psycalc: moist-air properties from the command line.
//   psycalc P x1 x2 mode
// prints every field of the state the property library computes from the pair (x1, x2) that the mode
// names, at barometric pressure P (kPa), one per line with its unit, then the status.
// Exit code: 0 for a valid state, 1 when the library rejects the input, 2 for bad arguments.

#include "psychro/Aerix43.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

namespace {

struct TModeName {
    int Mode;
    const char* Pair;
};
constexpr TModeName kModes[] = {
    {0, "dry bulb °C, wet bulb °C"},
    {1, "dry bulb °C, enthalpy kJ/kg"},
    {2, "dry bulb °C, humidity ratio kg/kg"},
    {3, "dry bulb °C, relative humidity 0..1"},
    {4, "dry bulb °C, dew point °C"},
    {5, "dry bulb °C, vapour pressure kPa"},
    {7, "dry bulb °C, density kg/m³"},
    {8, "wet bulb °C, enthalpy kJ/kg"},
    {9, "wet bulb °C, humidity ratio kg/kg"},
    {10, "wet bulb °C, relative humidity 0..1"},
    {11, "wet bulb °C, dew point °C"},
    {12, "wet bulb °C, vapour pressure kPa"},
    {13, "wet bulb °C, saturation pressure kPa"},
    {14, "wet bulb °C, density kg/m³"},
    {15, "enthalpy kJ/kg, humidity ratio kg/kg"},
    {16, "enthalpy kJ/kg, relative humidity 0..1"},
    {17, "enthalpy kJ/kg, dew point °C"},
    {18, "enthalpy kJ/kg, vapour pressure kPa"},
    {19, "enthalpy kJ/kg, saturation pressure kPa"},
    {25, "humidity ratio kg/kg, relative humidity 0..1"},
    {26, "humidity ratio kg/kg, saturation pressure kPa"},
    {27, "humidity ratio kg/kg, density kg/m³"},
    {28, "relative humidity 0..1, dew point °C"},
    {29, "relative humidity 0..1, vapour pressure kPa"},
    {30, "relative humidity 0..1, saturation pressure kPa"},
    {31, "dew point °C, saturation pressure kPa"},
    {32, "vapour pressure kPa, saturation pressure kPa"},
};

struct TField {
    const char* Name;
    const char* Unit;
};
constexpr TField kFields[TAirState::FieldCount] = {
    {"Pressure", "kPa"},
    {"Dry bulb", "°C"},
    {"Wet bulb", "°C"},
    {"Enthalpy", "kJ/kg dry air"},
    {"Humidity ratio", "kg/kg dry air"},
    {"Relative humidity", "-"},
    {"Dew point", "°C"},
    {"Vapour pressure", "kPa"},
    {"Saturation pressure", "kPa"},
    {"Density", "kg/m³"},
    {"Specific heat", "kJ/(kg dry air·K)"},
    {"Specific volume", "m³/kg dry air"},
    {"Degree of saturation", "-"},
    {"Absolute humidity", "kg/m³"},
    {"Mass share", "-"},
};

const char* StatusText(std::int32_t status) {
    switch (status) {
    case psOk:
        return "valid state";
    case psBadMode:
        return "mode code not in the table";
    case psNotFinite:
        return "an input is not a finite number";
    case psBadPressure:
        return "pressure must be above 0 and at most 5000 kPa";
    case psOutOfRange:
        return "outside the range of the formulation";
    case psSupersaturated:
        return "above saturation";
    case psBelowDry:
        return "below dry air (negative humidity)";
    case psVapourPressure:
        return "vapour pressure would reach the total pressure";
    case psUndetermined:
        return "the pair does not fix a state";
    case psNoSolution:
        return "no state meets the request";
    case psBadShares:
        return "bad mixing shares";
    case psNoConvergence:
        return "the iteration did not converge";
    default:
        return "unknown status";
    }
}

// Locale-independent number text: up to 10 significant digits, shortest form.
std::string Number(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 10);
    return std::string(buf, r.ptr);
}

bool ParseNumber(std::string_view text, double& v) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool ParseInt(std::string_view text, int& v) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

void Usage(std::FILE* out) {
    std::fputs("Usage: psycalc P x1 x2 mode\n"
               "  P      barometric pressure, kPa (101.325 at sea level)\n"
               "  x1 x2  the two properties the mode names\n"
               "  mode   one of:\n",
               out);
    for (const TModeName& m : kModes)
        std::fprintf(out, "         %2d  %s\n", m.Mode, m.Pair);
    std::fputs("Numbers use '.' as the decimal separator. Example: psycalc 101.325 25 17 0\n", out);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "psycalc: %s\n\n", message.c_str());
    Usage(stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help")) {
        Usage(stdout);
        return 0;
    }
    if (argc != 5) return Fail("expected 4 arguments, got " + std::to_string(argc - 1));
    double values[3];
    const char* names[3] = {"pressure P", "x1", "x2"};
    for (int i = 0; i < 3; ++i)
        if (!ParseNumber(argv[i + 1], values[i]))
            return Fail(std::string(names[i]) + " is not a number: \"" + argv[i + 1] + "\"");
    int mode = 0;
    if (!ParseInt(argv[4], mode)) return Fail(std::string("mode is not a whole number: \"") + argv[4] + "\"");
    const TModeName* pair = nullptr;
    for (const TModeName& m : kModes)
        if (m.Mode == mode) pair = &m;
    if (!pair) return Fail("mode " + std::to_string(mode) + " is not in the table");

    TAirState s;
    SetState(s, values[0], values[1], values[2], mode);
    const std::int32_t status = PsyStatus();
    std::printf("Input                 mode %d: %s = %s, %s\n", mode, pair->Pair, Number(values[1]).c_str(),
                Number(values[2]).c_str());
    for (int i = 0; i < TAirState::FieldCount; ++i)
        std::printf("%-21s %s %s\n", kFields[i].Name, Number(s[i]).c_str(), kFields[i].Unit);
    std::printf("%-21s %d (%s)\n", "Status", int(status), StatusText(status));
    return status == psOk ? 0 : 1;
}
