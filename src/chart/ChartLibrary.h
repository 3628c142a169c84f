#pragma once
// The chart's access to the property library. The library reports a failure through PsyStatus and a
// zero result; here a failure becomes an ELibraryFailure, which the drawing step's guard catches (or
// which reaches the caller where no guard applies). Like the library this serves the single
// user-interface thread.

#include "psychro/Aerix43.h"

#include <cstdint>
#include <stdexcept>
#include <string>

class ELibraryFailure : public std::runtime_error {
public:
    explicit ELibraryFailure(std::int32_t status);
    std::int32_t Status() const { return FStatus; }

private:
    std::int32_t FStatus;
};

namespace ChartLibrary {

// Each raises ELibraryFailure when the library fails.
double DryBulb(double P, double x1, double x2, int mode);
double WetBulb(double P, double x1, double x2, int mode);
double Humidity(double P, double x1, double x2, int mode);
double Enthalpy(double P, double x1, double x2, int mode);
double DewPoint(double P, double x1, double x2, int mode);
void SetState(TAirState& result, double P, double x1, double x2, int mode);
void AirState(TAirState& result, const TAirState& state, int mode);
void MixFlows(TAirState& result, const TAirState* streams, int highIndex);
double ApparatusDewPoint(const TAirState& inlet, const TAirState& outlet, double& bypassFactor);

// Enthalpy from dry bulb and humidity (mode 2) and dry bulb from enthalpy and humidity (mode 15,
// also from wet bulb and humidity, mode 9) continue beyond the library's highest dry bulb, linearly
// with the humid specific heat there, so that the page mapping covers humid high-temperature charts.
//
// Without raising: false when the library failed (value then undefined).
bool TryEnthalpy(double P, double T, double W, double& h);
bool TryDryBulbFromEnthalpy(double P, double h, double W, double& T);

} // namespace ChartLibrary
