#pragma once
// Moist-air property library: complete states from any pair of properties, mixing, apparatus dew
// point and the standard atmosphere. Units: kPa, °C, kg/kg dry air, kJ/kg dry air, fraction 0..1.
//
// Real-gas moist air after Hyland & Wexler (1983, ASHRAE RP-216) with the saturation curves of IAPWS
// and the air-water virial coefficient of Harvey & Huang (2007), as the ASHRAE Handbook's tables are
// computed (src/psychro/RealGasMoistAir.h has the details). Range: dry bulb −100..200 °C, pressure up
// to 5000 kPa. Definitions of the fields:
//  - saturation is over ice below the triple point (0.01 °C), over liquid water from it, for the
//    saturation pressure, the dew (frost) point and the water in the wet-bulb balance;
//  - VapourPressure is the partial pressure xw·P; SatPressure that of the pure phase at the dry bulb;
//  - RelHumidity is xw/xws at the dry bulb and pressure (= pw/(f·pws), f the enhancement factor), so
//    saturated air has exactly 1; above the boiling point, where air cannot saturate, pw/pws;
//  - DegreeOfSaturation is W/Ws at the dry bulb, 0 where air cannot saturate;
//  - SpecificHeat is dh/dt at constant W and P (real gas), per kg of dry air;
//  - Density is kg of moist air per m³, SpecificVolume m³ per kg of dry air;
//  - the dew point of air drier than frost at −150 °C (dry air included) is reported as −150 °C;
//  - where air and the same air at a wet bulb just above 0.01 °C (wet wick) and just below (frozen
//    wick) both balance, the liquid one is reported.
// Input temperatures come back unchanged in the state; SetState leaves MassShare 0.

#include <cstddef>
#include <cstdint>
#include <type_traits>

// One moist-air state. The field order is the record order of the single-state files, so the
// struct must stay exactly fifteen doubles with no padding.
struct TAirState {
    double Pressure = 0;           // 0  p  kPa
    double DryBulb = 0;            // 1  t  °C
    double WetBulb = 0;            // 2  b  °C, thermodynamic wet bulb
    double Enthalpy = 0;           // 3  h  kJ/kg dry air
    double Humidity = 0;           // 4  w  kg water / kg dry air
    double RelHumidity = 0;        // 5  f  fraction
    double DewPoint = 0;           // 6  d  °C (frost point below 0 °C)
    double VapourPressure = 0;     // 7  v  kPa
    double SatPressure = 0;        // 8  s  kPa, at the dry bulb
    double Density = 0;            // 9  r  kg moist air / m³
    double SpecificHeat = 0;       // 10 c  kJ/(kg dry air·K), humid specific heat
    double SpecificVolume = 0;     // 11 z  m³ / kg dry air
    double DegreeOfSaturation = 0; // 12    W / Ws at the dry bulb
    double AbsoluteHumidity = 0;   // 13    kg water / m³
    double MassShare = 0;          // 14    share of a stream when mixing

    static constexpr int FieldCount = 15;
    double& operator[](int i) { return this->*Fields[i]; }
    double operator[](int i) const { return this->*Fields[i]; }

private:
    static constexpr double TAirState::*Fields[FieldCount] = {&TAirState::Pressure,
                                                              &TAirState::DryBulb,
                                                              &TAirState::WetBulb,
                                                              &TAirState::Enthalpy,
                                                              &TAirState::Humidity,
                                                              &TAirState::RelHumidity,
                                                              &TAirState::DewPoint,
                                                              &TAirState::VapourPressure,
                                                              &TAirState::SatPressure,
                                                              &TAirState::Density,
                                                              &TAirState::SpecificHeat,
                                                              &TAirState::SpecificVolume,
                                                              &TAirState::DegreeOfSaturation,
                                                              &TAirState::AbsoluteHumidity,
                                                              &TAirState::MassShare};
};
static_assert(std::is_standard_layout_v<TAirState>);
static_assert(sizeof(TAirState) == 15 * sizeof(double), "TAirState is a fixed 120-byte record");

// Mode codes name the input pair (x1, x2):
//  0 tb  1 th  2 tw  3 tf  4 td  5 tv  7 tr  8 bh  9 bw 10 bf 11 bd 12 bv 13 bs 14 br
// 15 hw 16 hf 17 hd 18 hv 19 hs 25 wf 26 ws 27 wr 28 fd 29 fv 30 fs 31 ds 32 vs
// (t dry bulb, b wet bulb, h enthalpy, w humidity ratio, f relative humidity, d dew point,
//  v vapour pressure, s saturation pressure, r density).

// The input pair of every mode code: the TAirState field indices of x1 and x2
// (t 1, b 2, h 3, w 4, f 5, d 6, v 7, s 8, r 9).
struct TPsyModePair {
    int Mode, First, Second;
};
inline constexpr TPsyModePair PsyModePairs[] = {
    {0, 1, 2},  {1, 1, 3},  {2, 1, 4},  {3, 1, 5},  {4, 1, 6},  {5, 1, 7},  {7, 1, 9},
    {8, 2, 3},  {9, 2, 4},  {10, 2, 5}, {11, 2, 6}, {12, 2, 7}, {13, 2, 8}, {14, 2, 9},
    {15, 3, 4}, {16, 3, 5}, {17, 3, 6}, {18, 3, 7}, {19, 3, 8}, {25, 4, 5}, {26, 4, 8},
    {27, 4, 9}, {28, 5, 6}, {29, 5, 7}, {30, 5, 8}, {31, 6, 8}, {32, 7, 8},
};

// Each returns that field of SetState's state for the same arguments, with the same status, and
// computes only what the field needs (the dry bulb, humidity ratio and enthalpy no wet bulb or dew
// point, for instance).
double DryBulb(double P, double x1, double x2, int mode);
double WetBulb(double P, double x1, double x2, int mode);
double Humidity(double P, double x1, double x2, int mode);
double Enthalpy(double P, double x1, double x2, int mode);
double DewPoint(double P, double x1, double x2, int mode);

void SetState(TAirState& result, double P, double x1, double x2, int mode);
// Recomputes a full state from the two fields of `state` that `mode` names, at state.Pressure.
void AirState(TAirState& result, const TAirState& state, int mode);
// Mass-weighted adiabatic mixing of streams[0..highIndex]; each stream's MassShare is its weight.
void MixFlows(TAirState& result, const TAirState* streams, int highIndex);
// Saturated state on the straight inlet–outlet line (dry bulb, humidity ratio); returns its temperature
// (°C) and the bypass factor BF = (t_out − t_adp)/(t_in − t_adp). A coil's lies beyond the outlet
// (BF 0..1); where the line meets no saturation there and the outlet is warmer (heating), it is the
// one beyond the inlet, on the line's cold side (BF > 1, infinite for a saturated inlet). Equal
// states or a line that meets no saturation leave a non-zero status.
double ApparatusDewPoint(TAirState inlet, TAirState outlet, double& bypassFactor);
void ResetReferenceState();
// Status of the last computation; 0 = success.
std::int32_t PsyStatus();

// Values of PsyStatus(). Every entry point sets it. A failed SetState/AirState/MixFlows leaves its
// result as the input pressure with every other field 0 (AirState keeps the mass share); the scalar
// functions then return 0.
enum TPsyStatus : std::int32_t {
    psOk = 0,
    psBadMode = 1,        // mode code not in the table
    psNotFinite = 2,      // an input is NaN or infinite
    psBadPressure = 3,    // pressure <= 0 or above 5000 kPa
    psOutOfRange = 4,     // an input, or the state it implies, lies outside the formulation's range
                          // (dry bulb -100..200 °C, wet bulb below the boiling point, dew point >= -150 °C)
    psSupersaturated = 5, // above saturation: RH > 1, W > Ws, wet bulb or dew point above the dry bulb, ...
    psBelowDry = 6,       // below dry air: RH < 0, W < 0, vapour pressure < 0, wet bulb below dry air's, ...
    psVapourPressure = 7, // vapour pressure at or above the total pressure
    psUndetermined = 8,   // the pair fixes no single state (e.g. RH 0 with W 0, inlet equal to outlet)
    psNoSolution = 9,     // no state meets the request (e.g. the coil line never reaches saturation)
    psBadShares = 10,     // mixing: no streams, a negative or non-finite share, or shares summing to <= 0
    psNoConvergence = 11, // an iteration reached its bound (not expected inside the range)
};
// ASHRAE standard atmosphere: altitude (m) of a pressure (kPa) and back.
double Altitude(double P);
double AtmPressure(double z);
