#pragma once
// Units-of-measure catalogue: quantity kinds, their unit lists (names in UTF-8, factors, offsets,
// default formats), SI and Imperial defaults, conversions and the number-entry text helpers.
// Constant data and pure functions only.

#include <cstdint>
#include <string>
#include <string_view>

enum TUnitsType : std::uint8_t {
    utNone,
    utAirFlowPrim,
    utAirFlowSec,
    utAirFlowSmall,
    utAirFlowRate,
    utAirPressDrop,
    utAltitude,
    utAngularSpeed,
    utArea,
    utCondensateRate,
    utConductance,
    utConductivity,
    utDensity,
    utDiameter,
    utDutyPrim,
    utDutySec,
    utDutyRate,
    utEnergy,
    utEnthalpy,
    utFinDensity,
    utHeatOfRespir,
    utHeatTransCoeff,
    utHumidity,
    utLengthBig,
    utLengthMeasure,
    utLengthPrim,
    utLengthSec,
    utLengthSmall,
    utMass,
    utMassFlow,
    utMassFlowGas,
    utMassFlux,
    utMetRate,
    utPeopleDensity,
    utPower,
    utPressure,
    utPressureBar,
    utPressureSteam,
    utPressureRateGas,
    utPressureRateLiquid,
    utProportion,
    utSpecificHeat,
    utSpecificVol,
    utTemperature,
    utTemperatureChange,
    utThermalCapacity,
    utThermalResist,
    utTime,
    utVelocity,
    utViscosity,
    utVolume,
    utVolumeFluid,
    utWaterFlow,
    utWaterPressDrop
};
inline constexpr int UnitsTypeCount = 54;

// Number of units in the kind's list (0 for utNone).
int UnitsCount(TUnitsType kind);
std::string UnitsName(TUnitsType kind, int index);
std::string UnitsFormatStr(TUnitsType kind, int index);
// What a component needs to show values stored in unit `unitsBase` in unit `unitsValue`.
// For utNone, offset and factor keep what the caller put in them.
void UnitsConversion(TUnitsType kind, int unitsValue, int unitsBase, std::string& formatStr, double& offset,
                     double& factor, std::string& unitsName);
int ValidUnitsIndex(TUnitsType kind, int index);
int SIUnitsIndex(TUnitsType kind);
int IPUnitsIndex(TUnitsType kind);
double ToUnits(double offset, double factor, double value);
double FromUnits(double offset, double factor, double value);

std::string StripSpaces(std::string_view s);
// Repairs typed number text so that StrToFloat can read it; may raise EConvertError.
std::string CleanNumberText(std::string_view s);
// True when s holds a "/": a and b are the numbers before and after it. Otherwise a is s read as one
// number and b is left alone. Unreadable numbers raise EConvertError.
bool ParsePair(std::string_view s, double& a, double& b);
int AutoDecimals(int sigDigs, int maxDecimals, double value);
std::string AutoFormatStr(int sigDigs, int maxDecimals, double value);
int FormatDecimals(std::string_view formatStr);
std::string DelimitedField(int n, char delim, std::string_view s);
std::string ReplaceChar(char from, char to, std::string_view s);
