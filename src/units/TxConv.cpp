#include "units/TxConv.h"

#include "psychro/Format.h"
#include "psychro/NumberText.h"

#include <array>
#include <cstdlib>
#include <span>

namespace {

struct TUnitDef {
    std::string_view Name;
    double Factor;
    double Offset;
    std::string_view FormatStr;
};

// Shown = Offset + Factor x value in unit 0. Factors are kept exactly as published so that
// values round-trip the same way everywhere in the program.
constexpr TUnitDef AirFlowUnits[] = {
    {"m³/s", 1, 0, "%0.3f"},
    {"m³/min", 60, 0, "%0.2f"},
    {"m³/hr", 3600, 0, "%0.0f"},
    {"l/s", 1000, 0, "%0.0f"},
    {"cfm", 2118.8800032893155, 0, "%0.2f"},
};
constexpr TUnitDef AirFlowSmallUnits[] = {
    {"l/s", 1, 0, "%0.1f"},
    {"m³/min", 0.06, 0, "%0.2f"},
    {"cfm", 2.1188800032893154, 0, "%0.3f"},
};
constexpr TUnitDef AirFlowRateUnits[] = {
    {"m³/s/m²", 1, 0, "%0.3f"},
    {"m³/min/m²", 60, 0, "%0.2f"},
    {"m³/hr/m²", 3600, 0, "%0.0f"},
    {"l/s/m²", 1000, 0, "%0.0f"},
    {"cfm/ft²", 196.8503937007874, 0, "%0.2f"},
};
constexpr TUnitDef PressureUnits[] = {
    {"kPa", 1, 0, "%0.3f"},
    {"Pa", 1000, 0, "%0.0f"},
    {"Psi", 0.1450376807894691, 0, "%0.4f"},
    {"Bar", 0.01, 0, "%0.5f"},
    {"Atm", 0.00986923, 0, "%0.5f"},
    {"InchWg", 4.014630759755623, 0, "%0.4f"},
    {"InchHg", 0.295, 0, "%0.4f"},
    {"mHead", 0.10197162129779283, 0, "%0.4f"},
};
constexpr TUnitDef AltitudeUnits[] = {
    {"m", 1, 0, "%0.1f"},
    {"ft", 3.2808398950131235, 0, "%0.1f"},
};
constexpr TUnitDef AngularSpeedUnits[] = {
    {"rpm", 1, 0, "%0.0f"},
    {"Rad/s", 0.10471975511965978, 0, "%0.3f"},
    {"Rev/s", 0.016666666666666666, 0, "%0.0f"},
};
constexpr TUnitDef AreaUnits[] = {
    {"m²", 1, 0, "%0.1f"},
    {"cm²", 10000, 0, "%0.1f"},
    {"mm²", 1000000, 0, "%0.0f"},
    {"inch²", 1550.0031000062, 0, "%0.2f"},
    {"ft²", 10.763910416709722, 0, "%0.1f"},
};
constexpr TUnitDef CondensateRateUnits[] = {
    {"g/s", 1, 0, "%0.1f"},
    {"kg/s", 0.001, 0, "%0.4f"},
    {"kg/min", 0.06, 0, "%0.3f"},
    {"lb/hr", 7.936641438655593, 0, "%0.3f"},
};
constexpr TUnitDef ConductanceUnits[] = {
    {"kW/°C", 1, 0, "%0.3f"},
    {"W/°C", 1000, 0, "%0.0f"},
    {"MBH/°F", 1.8956339758268757, 0, "%0.3f"},
    {"Btu/h°F", 1895.6339758268755, 0, "%0.0f"},
};
constexpr TUnitDef ConductivityUnits[] = {
    {"kW/mK", 1, 0, "%0.6g"},
    {"W/mK", 1000, 0, "%0.6g"},
    {"mW/mK", 1000000, 0, "%0.6g"},
    {"Btu/hr·ft°F", 577.7, 0, "%0.6g"},
};
constexpr TUnitDef DensityUnits[] = {
    {"kg/m³", 1, 0, "%0.5g"},
    {"mg/L", 1000, 0, "%0.1g"},
    {"lb/ft³", 0.06242796057614461, 0, "%0.4g"},
};
constexpr TUnitDef DiameterUnits[] = {
    {"m", 1, 0, "%0.3f"},
    {"mm", 1000, 0, "%0.0f"},
    {"inch", 39.37007874015748, 0, "%0.2f"},
    {"1/8\"", 314.96062992125985, 0, "%0.0f"},
    {"ft", 3.2808398950131235, 0, "%0.3f"},
};
constexpr TUnitDef DutyUnits[] = {
    {"kW", 1, 0, "%0.3f"},
    {"W", 1000, 0, "%0.0f"},
    {"Btu/hr", 3412.141156488376, 0, "%0.0f"},
    {"MBh", 3.412141156488376, 0, "%0.3f"},
    {"kcal/hr", 859.184, 0, "%0.1f"},
};
constexpr TUnitDef DutyRateUnits[] = {
    {"W/m²", 1, 0, "%0.1f"},
    {"kW/m²", 0.001, 0, "%0.3f"},
    {"Btu/hr·ft²", 0.31699828634688587, 0, "%0.1f"},
    {"MBh/ft²", 0.00031699828634688585, 0, "%0.3f"},
    {"kcal/hr·ft²", 0.07982080551936, 0, "%0.1f"},
};
constexpr TUnitDef EnergyUnits[] = {
    {"kJ", 1, 0, "%0.3f"},
    {"J", 1000, 0, "%0.0f"},
    {"kW-hr", 0.0002777777777777778, 0, "%0.5g"},
    {"W-hr", 0.2777777777777778, 0, "%0.5g"},
    {"Btu", 0.9478169879134378, 0, "%0.5g"},
};
constexpr TUnitDef EnthalpyUnits[] = {
    {"kJ/kg", 1, 0, "%0.1f"},
    {"Btu/lb", 0.4299226139294927, 0, "%0.1f"},
};
constexpr TUnitDef FinDensityUnits[] = {
    {"fpi", 1, 0, "%0.4f"},
    {"fin/mm", 0.03937007874015748, 0, "%0.5f"},
    {"fins/m", 39.37007874015748, 0, "%0.3f"},
    {"fins/ft", 12, 0, "%0.3f"},
};
constexpr TUnitDef HeatOfRespirUnits[] = {
    {"kJ/kg/day", 1, 0, "%0.2f"},
    {"Btu/lb/day", 0.4299226139294927, 0, "%0.2f"},
};
constexpr TUnitDef HeatTransCoeffUnits[] = {
    {"W/m²°C", 1, 0, "%0.5g"},
    {"Btu/hr·ft²°F", 0.17611835153222966, 0, "%0.5g"},
};
constexpr TUnitDef HumidityUnits[] = {
    {"kg/kg", 1, 0, "%0.4f"},
    {"g/kg", 1000, 0, "%0.2f"},
    {"gr/lb", 7000, 0, "%0.1f"},
};
constexpr TUnitDef LengthBigUnits[] = {
    {"m", 1, 0, "%0.2f"},
    {"ft", 3.2808398950131235, 0, "%0.1f"},
};
constexpr TUnitDef LengthUnits[] = {
    {"m", 1, 0, "%0.3f"},
    {"cm", 100, 0, "%0.2f"},
    {"mm", 1000, 0, "%0.1f"},
    {"inch", 39.37007874015748, 0, "%0.2f"},
    {"ft", 3.2808398950131235, 0, "%0.3f"},
};
constexpr TUnitDef LengthSmallUnits[] = {
    {"mm", 1, 0, "%0.4f"},
    {"um", 1000, 0, "%0.1f"},
    {"Thou\"", 39.37007874015748, 0, "%0.3f"},
};
constexpr TUnitDef MassUnits[] = {
    {"kg", 1, 0, "%0.0f"},
    {"ton SI", 0.001, 0, "%0.3f"},
    {"lb", 2.2046226218487757, 0, "%0.1f"},
};
constexpr TUnitDef MassFlowUnits[] = {
    {"kg/s", 1, 0, "%0.3f"},
    {"g/s", 1000, 0, "%0.0f"},
    {"kg/hr", 3600, 0, "%0.1f"},
    {"lb/s", 2.2046226218487757, 0, "%0.4f"},
    {"lb/min", 132.27735731092656, 0, "%0.2f"},
    {"lb/hr", 7936.6414386555925, 0, "%0.0f"},
};
constexpr TUnitDef MassFluxUnits[] = {
    {"kg/m²s", 1, 0, "%0.3f"},
    {"g/m²s", 1000, 0, "%0.0f"},
    {"kg/m²hr", 3600, 0, "%0.1f"},
    {"lb/ft²s", 0.20481614362252168, 0, "%0.4f"},
    {"lb/ft²min", 12.288968617351301, 0, "%0.2f"},
    {"lb/ft²hr", 737.3381170410781, 0, "%0.0f"},
};
constexpr TUnitDef MetRateUnits[] = {
    {"W/P", 1, 0, "%0.1f"},
    {"Btu/hr/P", 3.412141156488376, 0, "%0.0f"},
};
constexpr TUnitDef PeopleDensityUnits[] = {
    {"m²/P", 1, 0, "%0.1f"},
    {"ft²/P", 10.763910416709722, 0, "%0.2f"},
};
constexpr TUnitDef PowerUnits[] = {
    {"kW", 1, 0, "%0.3f"},
    {"W", 1000, 0, "%0.0f"},
    {"HP", 1.341021858656296, 0, "%0.2f"},
};
constexpr TUnitDef PressureBarUnits[] = {
    {"kPa", 1, 0, "%0.3f"},        {"Psi", 0.1450376807894691, 0, "%0.4f"},
    {"Bar", 0.01, 0, "%0.5f"},     {"Atm", 0.00986923, 0, "%0.5f"},
    {"InchHg", 0.295, 0, "%0.4f"}, {"mHead", 0.10197162129779283, 0, "%0.4f"},
};
constexpr TUnitDef PressureRateUnits[] = {
    {"Pa/m", 1, 0, "%0.2f"},
    {"kPa/m", 0.001, 0, "%0.5f"},
    {"iwg/100'", 0.12236594555735139, 0, "%0.4f"},
    {"Psi/ft", 4.4207485104630184e-05, 0, "%0.6f"},
};
constexpr TUnitDef ProportionUnits[] = {
    {"fraction", 1, 0, "%0.3f"},
    {"%", 100, 0, "%0.1f"},
    {"ratio", 1, 0, "%0.3f"},
};
constexpr TUnitDef SpecificHeatUnits[] = {
    {"kJ/kg·K", 1, 0, "%0.4g"},
    {"Btu/lb°F", 0.23883448770002388, 0, "%0.4g"},
};
constexpr TUnitDef SpecificVolUnits[] = {
    {"m³/kg", 1, 0, "%0.3f"},
    {"ft³/lb", 16.018463373960138, 0, "%0.3f"},
};
constexpr TUnitDef TemperatureUnits[] = {
    {"°C", 1, 0, "%0.1f"},
    {"°F", 1.8, 32, "%0.1f"},
    {"K", 1, 273.15, "%0.2f"},
};
constexpr TUnitDef ThermalCapacityUnits[] = {
    {"W-hr/m²°C", 1, 0, "%0.1f"},
    {"Btu/ft²°F", 0.17611835153222966, 0, "%0.1f"},
};
constexpr TUnitDef ThermalResistUnits[] = {
    {"m²°C/W", 1, 0, "%0.4f"},
    {"ft²·hr·°F/Btu", 5.678264134306047, 0, "%0.3f"},
};
constexpr TUnitDef TimeUnits[] = {
    {"sec", 1, 0, "%0.0f"},
    {"min", 0.016666666666666666, 0, "%0.2f"},
    {"hr", 0.0002777777777777778, 0, "%0.4f"},
};
constexpr TUnitDef VelocityUnits[] = {
    {"m/s", 1, 0, "%0.2f"},
    {"fpm", 196.8503937007874, 0, "%0.1f"},
};
constexpr TUnitDef ViscosityUnits[] = {
    {"kg/m·s", 1, 0, "%0.6g"},
    {"N·s/m²", 1, 0, "%0.6g"},
    {"µPa·s", 1000000, 0, "%0.6g"},
    {"cP", 1000, 0, "%0.6g"},
    {"lbm/ft·s", 0.671955, 0, "%0.6g"},
    {"lbf·s/ft²", 0.020885, 0, "%0.6g"},
    {"lbf·hr/ft²", 5.8014e-06, 0, "%0.6g"},
};
constexpr TUnitDef VolumeUnits[] = {
    {"m³", 1, 0, "%0.4f"},      {"litre", 1000, 0, "%0.2f"},  {"cc", 1000000, 0, "%0.0f"},
    {"ft³", 35.32, 0, "%0.4f"}, {"inch³", 61023, 0, "%0.1f"},
};
constexpr TUnitDef VolumeFluidUnits[] = {
    {"kl", 1, 0, "%0.3f"},
    {"litre", 1000, 0, "%0.5g"},
    {"IP Gal", 220, 0, "%0.5g"},
    {"US Gal", 264.1720523581484, 0, "%0.5g"},
};
constexpr TUnitDef WaterFlowUnits[] = {
    {"l/s", 1, 0, "%0.3f"},     {"l/min", 60, 0, "%0.2f"},   {"dm³/hr", 3600, 0, "%0.2f"},
    {"m³/hr", 3.6, 0, "%0.2f"}, {"m³/s", 0.001, 0, "%0.4f"}, {"usgpm", 15.850323141488905, 0, "%0.1f"},
};

struct TKindDef {
    std::span<const TUnitDef> Units;
    int SI;
    int IP;
};

// Indexed by TUnitsType; entry 0 (utNone) has no list.
constexpr std::array<TKindDef, UnitsTypeCount> Kinds = {{
    {{}, 0, 0},                   // utNone
    {AirFlowUnits, 0, 4},         // utAirFlowPrim
    {AirFlowUnits, 3, 4},         // utAirFlowSec
    {AirFlowSmallUnits, 0, 2},    // utAirFlowSmall
    {AirFlowRateUnits, 3, 4},     // utAirFlowRate
    {PressureUnits, 1, 5},        // utAirPressDrop
    {AltitudeUnits, 0, 1},        // utAltitude
    {AngularSpeedUnits, 0, 0},    // utAngularSpeed
    {AreaUnits, 0, 4},            // utArea
    {CondensateRateUnits, 0, 3},  // utCondensateRate
    {ConductanceUnits, 0, 2},     // utConductance
    {ConductivityUnits, 1, 3},    // utConductivity
    {DensityUnits, 0, 2},         // utDensity
    {DiameterUnits, 1, 2},        // utDiameter
    {DutyUnits, 0, 2},            // utDutyPrim
    {DutyUnits, 1, 2},            // utDutySec
    {DutyRateUnits, 0, 2},        // utDutyRate
    {EnergyUnits, 2, 4},          // utEnergy
    {EnthalpyUnits, 0, 1},        // utEnthalpy
    {FinDensityUnits, 2, 0},      // utFinDensity
    {HeatOfRespirUnits, 0, 1},    // utHeatOfRespir
    {HeatTransCoeffUnits, 0, 1},  // utHeatTransCoeff
    {HumidityUnits, 1, 2},        // utHumidity
    {LengthBigUnits, 0, 1},       // utLengthBig
    {LengthUnits, 2, 3},          // utLengthMeasure
    {LengthUnits, 0, 4},          // utLengthPrim
    {LengthUnits, 2, 3},          // utLengthSec
    {LengthSmallUnits, 0, 2},     // utLengthSmall
    {MassUnits, 0, 2},            // utMass
    {MassFlowUnits, 0, 3},        // utMassFlow
    {MassFlowUnits, 2, 5},        // utMassFlowGas
    {MassFluxUnits, 0, 3},        // utMassFlux
    {MetRateUnits, 0, 1},         // utMetRate
    {PeopleDensityUnits, 0, 1},   // utPeopleDensity
    {PowerUnits, 0, 2},           // utPower
    {PressureUnits, 0, 2},        // utPressure
    {PressureBarUnits, 0, 4},     // utPressureBar
    {PressureUnits, 3, 2},        // utPressureSteam
    {PressureRateUnits, 0, 2},    // utPressureRateGas
    {PressureRateUnits, 1, 3},    // utPressureRateLiquid
    {ProportionUnits, 0, 0},      // utProportion
    {SpecificHeatUnits, 0, 1},    // utSpecificHeat
    {SpecificVolUnits, 0, 1},     // utSpecificVol
    {TemperatureUnits, 0, 1},     // utTemperature
    {TemperatureUnits, 0, 1},     // utTemperatureChange
    {ThermalCapacityUnits, 0, 1}, // utThermalCapacity
    {ThermalResistUnits, 0, 1},   // utThermalResist
    {TimeUnits, 0, 1},            // utTime
    {VelocityUnits, 0, 1},        // utVelocity
    {ViscosityUnits, 0, 4},       // utViscosity
    {VolumeUnits, 0, 3},          // utVolume
    {VolumeFluidUnits, 0, 3},     // utVolumeFluid
    {WaterFlowUnits, 0, 5},       // utWaterFlow
    {PressureUnits, 0, 2},        // utWaterPressDrop
}};

constexpr bool KindsAreConsistent() {
    for (const TKindDef& k : Kinds) {
        if (k.Units.empty()) continue;
        if (k.Units[0].Factor != 1 || k.Units[0].Offset != 0) return false;
        if (k.SI < 0 || k.IP < 0 || k.SI >= static_cast<int>(k.Units.size()) ||
            k.IP >= static_cast<int>(k.Units.size()))
            return false;
        for (const TUnitDef& u : k.Units)
            if (!(u.Factor > 0)) return false;
    }
    return Kinds[0].Units.empty();
}
static_assert(KindsAreConsistent(), "units catalogue: unit 0 must be the reference, defaults in range");

const TKindDef* KindOf(TUnitsType kind) {
    const auto i = static_cast<std::size_t>(kind);
    if (i == 0 || i >= Kinds.size()) return nullptr;
    return &Kinds[i];
}

// Callers pass indices that are in range; an index that is not is clamped rather than read
// past the end of the list.
const TUnitDef& UnitOf(const TKindDef& k, int index) {
    const int last = static_cast<int>(k.Units.size()) - 1;
    if (index > last) index = last;
    if (index < 0) index = 0;
    return k.Units[static_cast<std::size_t>(index)];
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimBoth(std::string_view s) {
    while (!s.empty() && IsBlankOrControl(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.remove_suffix(1);
    return s;
}

// A signed decimal integer as the exponent of a typed number. Returns false when the text is
// not one; magnitude is saturated so that an overlong exponent still counts as "too big".
bool ReadExponent(std::string_view s, long long& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        if (v < 1000000) v = v * 10 + (s[i] - '0');
    }
    value = negative ? -v : v;
    return true;
}

} // namespace

int UnitsCount(TUnitsType kind) {
    const TKindDef* k = KindOf(kind);
    return k ? static_cast<int>(k->Units.size()) : 0;
}

std::string UnitsName(TUnitsType kind, int index) {
    const TKindDef* k = KindOf(kind);
    return k ? std::string(UnitOf(*k, index).Name) : std::string();
}

std::string UnitsFormatStr(TUnitsType kind, int index) {
    const TKindDef* k = KindOf(kind);
    return k ? std::string(UnitOf(*k, index).FormatStr) : std::string("%0.1f");
}

void UnitsConversion(TUnitsType kind, int unitsValue, int unitsBase, std::string& formatStr, double& offset,
                     double& factor, std::string& unitsName) {
    formatStr = UnitsFormatStr(kind, unitsValue);
    unitsName = UnitsName(kind, unitsValue);
    const TKindDef* k = KindOf(kind);
    if (!k) return;
    const TUnitDef& shown = UnitOf(*k, unitsValue);
    offset = 0;
    factor = shown.Factor / UnitOf(*k, unitsBase).Factor;
    // A temperature difference converts by the factor alone (1 K = 1.8 °F).
    if (kind == utTemperature) offset = shown.Offset;
}

int ValidUnitsIndex(TUnitsType kind, int index) {
    const TKindDef* k = KindOf(kind);
    if (!k) return index;
    const int last = static_cast<int>(k->Units.size()) - 1;
    if (index > last) index = last;
    if (index < 0) index = 0;
    return index;
}

int SIUnitsIndex(TUnitsType kind) {
    const TKindDef* k = KindOf(kind);
    return k ? k->SI : 0;
}

int IPUnitsIndex(TUnitsType kind) {
    const TKindDef* k = KindOf(kind);
    return k ? k->IP : 0;
}

double ToUnits(double offset, double factor, double value) {
    return offset + factor * value;
}

double FromUnits(double offset, double factor, double value) {
    return (value - offset) / factor;
}

std::string StripSpaces(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (char c : s)
        if (c != ' ') r += c;
    return r;
}

std::string CleanNumberText(std::string_view text) {
    std::string s = StripSpaces(text);

    // A "db/wb" pair: each side is repaired on its own; extra slashes are dropped.
    if (const auto slash = s.find('/'); slash != std::string::npos) {
        const std::string first = s.substr(0, slash);
        std::string second;
        for (char c : std::string_view(s).substr(slash + 1))
            if (c != '/') second += c;
        return CleanNumberText(first) + "/" + CleanNumberText(second);
    }

    if (s.empty()) return "0";

    {
        std::string r;
        bool seenE = false;
        for (char c : s) {
            if (c == 'e') c = 'E';
            if (c == 'E') {
                if (seenE) continue;
                seenE = true;
            }
            r += c;
        }
        s = std::move(r);
    }

    // Only a leading minus and the minus of an exponent survive.
    if (s.size() > 1) {
        std::string r(1, s[0]);
        for (std::size_t i = 1; i < s.size(); ++i) {
            if (s[i] == '-' && r.back() != 'E') continue;
            r += s[i];
        }
        s = std::move(r);
    }

    if (s == "-") return "0";

    {
        std::string r;
        bool seenDot = false;
        for (char c : s) {
            if (c == '.') {
                if (seenDot) continue;
                seenDot = true;
            }
            r += c;
        }
        s = std::move(r);
    }

    if (s.front() == 'E') s.insert(s.begin(), '1');

    if (const auto e = s.find('E'); e != std::string::npos && e + 1 < s.size()) {
        const std::string original = s.substr(e + 1);
        std::string exponent = original;
        if (const auto dot = exponent.find('.'); dot != std::string::npos) exponent.erase(dot, 1);
        long long value = 0;
        if (!ReadExponent(exponent, value))
            throw EConvertError("'" + exponent + "' is not a valid integer value");
        // An exponent beyond the double range is cut back to its first two characters.
        if (std::llabs(value) > 300) exponent = original.substr(0, 2);
        s = s.substr(0, e + 1) + exponent;
    }
    return s;
}

bool ParsePair(std::string_view s, double& a, double& b) {
    if (const auto slash = s.find('/'); slash != std::string_view::npos) {
        const double first = StrToFloat(s.substr(0, slash));
        const double second = StrToFloat(s.substr(slash + 1));
        a = first;
        b = second;
        return true;
    }
    a = StrToFloat(s);
    return false;
}

int AutoDecimals(int sigDigs, int maxDecimals, double value) {
    const std::string text = Format("%0." + std::to_string(maxDecimals) + "f", {value});
    const auto dot = text.find('.');
    const int beforePoint = static_cast<int>(dot == std::string::npos ? text.size() : dot);
    int result;
    if (beforePoint == 1) {
        // A single digit before the point: show up to two digits past the first non-zero decimal.
        result = 3;
        for (std::size_t i = 2; i < text.size(); ++i) {
            if (text[i] != '0') {
                result = static_cast<int>(i) + 1;
                break;
            }
        }
    } else {
        result = sigDigs > beforePoint ? sigDigs - beforePoint : 0;
    }
    return result > maxDecimals ? maxDecimals : result;
}

std::string AutoFormatStr(int sigDigs, int maxDecimals, double value) {
    return "%0." + std::to_string(AutoDecimals(sigDigs, maxDecimals, value)) + "f";
}

int FormatDecimals(std::string_view formatStr) {
    const auto dot = formatStr.find('.');
    const std::size_t at = dot == std::string_view::npos ? 0 : dot + 1;
    if (at >= formatStr.size()) return 0;
    const char c = formatStr[at];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

std::string DelimitedField(int n, char delim, std::string_view s) {
    s = TrimBoth(s);
    std::string_view result;
    int reached = 0;
    for (int i = 1; i <= n && !s.empty(); ++i) {
        if (const auto at = s.find(delim); at != std::string_view::npos) {
            result = s.substr(0, at);
            s = s.substr(at + 1);
        } else {
            result = s;
            s = {};
        }
        while (!s.empty() && IsBlankOrControl(s.front()))
            s.remove_prefix(1);
        reached = i;
    }
    return reached == n ? std::string(result) : std::string();
}

std::string ReplaceChar(char from, char to, std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c == from) c = to;
    return r;
}
