#pragma once
// Closed-form moist-air formulas and the two root finders the chart traces its lines with.
// Intermediate arithmetic is 80-bit extended; results are rounded to double.
// Units: °C, kPa, kg/kg, kJ/kg, m³/kg.

#include <cstdint>
#include <stdexcept>

// An arithmetic failure inside the formulas: a division by zero, the logarithm of a number that
// is not positive, or a result that is not a finite double (overflow, not-a-number arguments).
// SatTemperature and HumidityFromVapour never raise it (they return -100 / 0 and 0.01); every
// other function raises it to its caller, and the chart's drawing steps catch it per step.
// An EMathError raised by a solver's target function leaves SolverStatus() at 1.
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace MoistAirConst {
inline constexpr long double Epsilon = 287.055L / 461.52L; // Ra / Rw
inline constexpr double Enhancement = 1.0039;
inline constexpr double Ra = 0.287055; // kJ/(kg·K)
inline constexpr double K = 273.15;
} // namespace MoistAirConst

// Band index 0..4 of the saturation-pressure coefficient table.
int TempBand(double T);
int PressureBand(double p);

double SatPressure(double T);
double SatTemperature(double p);
double VapourPressureW(double W, double P);
double HumidityFromVapour(double pw, double P);
double HumidityFromRH(double phi, double T, double P);
double SatHumidity(double T, double P);
double SatEnthalpy(double T, double P);
double DewPointOfHumidity(double W, double P);
double VapourPressureWB(double twb, double tdb, double P);
double Compressibility(double P, double T);
double SpecificVolumeW(double W, double T, double P);
double SpecificVolumeWB(double twb, double tdb, double P);
double HumidityFromVolume(double v, double T, double P);
double TemperatureFromVolume(double W, double v, double P);
double SatTempFromEnthalpy(double h, double P);
double SatTempFromVolume(double v, double P);
double RHTempForVolume(double T1, double T2, double phi, double v, double P);
double EnthalpyLineFactor(double W, double T);
double HumidSpecificHeat(double W);
double LatentHeat(double T);

// Solver status: 0 converged, 1 iterating, 2 iteration limit reached, 5 no function or zero slope.
using TRootFunction = double (*)(double);
double SecantRoot(TRootFunction F, int maxIter, double tol, double dx, double x0);
double BisectRoot(TRootFunction F, int maxIter, double tol, double b, double a);
std::uint8_t SolverStatus();

bool Between(double a, double x, double b);
double Lerp(double t, double a, double b);
double InvLerp(double x, double a, double b);
double RoundMultiple(double step, double x);
double CeilMultiple(double tol, double step, double x);
