#pragma once
// Real-gas formulation of moist air behind the property library (SI units inside: K, Pa, mol, J).
//
// Formulation: Hyland & Wexler (1983), "Formulations for the thermodynamic properties of the saturated
// phases of H2O from 173.15 K to 473.15 K" and "... of dry air from 173.15 K to 473.15 K, and of
// saturated moist air from 173.15 K to 372.15 K, at pressures to 5 MPa", ASHRAE Trans. 89(2A),
// ASHRAE RP-216: second and third virial coefficients Baa, Bww, Caaa, Caaw, Caww, Cwww, their
// ideal-gas enthalpies of dry air and water vapour, condensed-phase volumes and enthalpies, isothermal
// compressibility and Henry's constant, the enhancement factor (their eq. for ln f) and the
// compressibility of the mixture.
// Where the Handbook's 2009-and-later tables (ASHRAE RP-1485, Herrmann, Kretzschmar & Gatley 2009)
// moved on, the newer published equations are used so that the tables are met:
//  - saturation pressure over liquid water: Wagner & Pruss (1993), IAPWS supplementary release on
//    saturation properties of ordinary water substance (consistent with IAPWS-95);
//  - sublimation pressure over ice: Wagner, Riethmann, Feistel & Harvey (2011), IAPWS release on the
//    pressure along the melting and sublimation curves;
//  - cross second virial coefficient Baw: Harvey & Huang (2007), Int. J. Thermophys. 28, 556.
// Hyland & Wexler's own Baw and pws equations miss the tables' enhancement factor below −30 °C
// and the −40 °C frost pressure by more than the printed digits.
// Molar masses and gas constant are those of the Handbook: Ma = 28.966 g/mol, Mw = 18.015268 g/mol,
// R = 8.314472 J/(mol·K). Enthalpy reference states: dry air at 0 °C and 101.325 kPa, liquid water at
// the triple point.

namespace realgas {

inline constexpr double R = 8.314472;        // J/(mol·K)
inline constexpr double Ma = 28.966e-3;      // kg/mol, dry air
inline constexpr double Mw = 18.015268e-3;   // kg/mol, water
inline constexpr double Eps = Mw / Ma;       // 0.621945
inline constexpr double T0 = 273.15;         // K at 0 °C
inline constexpr double Tt = 273.16;         // K, triple point of water
inline constexpr double Pt = 611.657;        // Pa, triple-point pressure
inline constexpr double TVirialMin = 173.15; // K, lower end of the virial fits
inline constexpr double TMax = 473.15;       // K, upper end of the formulation

// Saturation pressure (Pa), its logarithm and its logarithmic temperature derivative (1/K).
struct TSatPressure {
    double p = 0;
    double dlnp = 0;
    double lnp = 0;
};
TSatPressure SatPressureIce(double T);   // valid 50 K .. 273.16 K
TSatPressure SatPressureWater(double T); // valid 273.16 K .. 647.096 K
// The same without p itself (left 0): the logarithm is what the inversions need.
TSatPressure LnSatPressureIce(double T);
TSatPressure LnSatPressureWater(double T);
// Ice below the triple point, liquid water from it: the two curves meet there exactly.
inline bool IsIce(double T) {
    return T < Tt;
}
inline TSatPressure SatPressure(double T) {
    return IsIce(T) ? SatPressureIce(T) : SatPressureWater(T);
}
// Inverse of SatPressure (p in Pa, p > 0); T within 1e-12 relative.
double SatTemperature(double p);

// Enthalpy of the condensed phase at saturation, kJ/kg: ice below the triple point, else liquid.
double IceEnthalpy(double T);
double LiquidEnthalpy(double T);
// The same with the phase's saturation pressure at T already at hand.
double IceEnthalpy(double T, const TSatPressure& ps);
double LiquidEnthalpy(double T, const TSatPressure& ps);
inline double CondensedEnthalpy(double T) {
    return IsIce(T) ? IceEnthalpy(T) : LiquidEnthalpy(T);
}

// A temperature function with its first and second derivatives.
struct TCoef {
    double v = 0, d1 = 0, d2 = 0;
};

// Virial coefficients (m³/mol, m⁶/mol²) and the ideal-gas molar enthalpies and heat capacities
// (J/mol, J/(mol·K)) at one temperature; every mixture property below starts from these.
struct TVirials {
    double T = 0;
    double invT = 0; // 1/T
    TCoef Baa, Baw, Bww, Caaa, Caaw, Caww, Cwww;
    double ha0 = 0, cpa0 = 0; // dry air
    double hw0 = 0, cpw0 = 0; // water vapour
};
TVirials Virials(double T);
// Only dry air's coefficients and enthalpy (the water terms left 0): all that the properties of dry
// air (W = 0) take from Virials, for a fraction of its cost.
TVirials DryAirVirials(double T);

// Saturation of moist air at T and total pressure P: the pure-phase saturation pressure, the
// enhancement factor f and the saturation mole fraction xws = f·pws/P. Where pws ≥ P the mixture
// cannot saturate: f = 1 and xws = pws/P ≥ 1.
struct TSaturation {
    TSatPressure ps;
    double f = 1;
    double lnf = 0;        // ln f, as the iteration for f found it
    double dlnf = 0;       // d ln f/dT, 1/K
    bool hasSlope = false; // dlnf was computed
    double xws = 0;
    bool ice = false;
    bool CanSaturate() const { return xws < 1; }
};
// `v` must be Virials(max(T, TVirialMin)); below that end of the fits the virial terms are held.
// `ice` picks the condensed phase (the stable one is IsIce(T)); dlnf is filled when `withSlope`.
TSaturation Saturation(double T, double P, const TVirials& v, bool ice, bool withSlope = true);
TSaturation Saturation(double T, double P); // stable phase, with slope

// Mixture of mole fraction xw of water at T, P.
struct TMixture {
    double rho = 0; // mol/m³
    double Z = 1;   // compressibility factor
    double h = 0;   // kJ/kg dry air
    double v = 0;   // m³/kg dry air
    double cp = 0;  // kJ/(kg dry air·K): dh/dT at constant composition and P (only when asked for)
};
TMixture Mixture(const TVirials& v, double P, double xw, bool withCp = false);
// The same at humidity ratio W: the dry-air fraction then comes without the cancellation in 1 − xw,
// which matters for per-kg-dry-air values of nearly pure vapour.
TMixture MixtureW(const TVirials& v, double P, double W, bool withCp = false);

// Humidity ratio ↔ mole fraction of water.
inline double MoleFraction(double W) {
    return W / (Eps + W);
}
inline double HumidityRatio(double xw) {
    return Eps * xw / (1 - xw);
}

} // namespace realgas
