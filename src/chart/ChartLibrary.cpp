#include "chart/ChartLibrary.h"

#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

std::string StatusText(std::int32_t status) {
    switch (status) {
    case 1:
        return "unknown property pair";
    case 2:
        return "a value is not a finite number";
    case 3:
        return "barometric pressure out of range";
    case 4:
        return "outside the range of the moist-air properties";
    case 5:
        return "the state lies above saturation";
    case 6:
        return "the state lies below dry air";
    case 7:
        return "vapour pressure at or above the barometric pressure";
    case 8:
        return "the two properties fix no single state";
    case 9:
        return "no state meets the request";
    case 10:
        return "invalid mixing shares";
    case 11:
        return "the calculation did not converge";
    default:
        return "status " + std::to_string(status);
    }
}

// Painting through Qt's raster engine leaves the upper halves of the AVX registers in use, and until
// they are cleared every SSE instruction after it waits on them: the property library then runs at a
// third of its speed between two line segments. Each call from the chart clears them first.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void ClearUpperVectorHalves() {
    _mm256_zeroupper();
}
bool DetectAvx() {
    __builtin_cpu_init(); // may run before the run-time library's own detection
    return __builtin_cpu_supports("avx");
}
const bool HasAvx = DetectAvx();
void CleanVectorState() {
    if (HasAvx) ClearUpperVectorHalves();
}
#else
void CleanVectorState() {}
#endif

void CheckStatus() {
    if (const std::int32_t status = PsyStatus(); status != 0) throw ELibraryFailure(status);
}

double Checked(double value) {
    CheckStatus();
    return value;
}

// The property library's highest dry bulb (°C). The oblique mapping slides states along their
// enthalpy lines down to the bottom edge, where the dry bulb of a humid state's enthalpy can lie far
// above it (350 °C for 91 °C at 0.1 kg/kg); beyond it the chart continues enthalpy linearly in the
// dry bulb with the humid specific heat of the top state, the same way in both directions.
constexpr double TopDryBulb = 200;

struct TTopState {
    bool Valid = false;
    double Enthalpy = 0;
    double SpecificHeat = 0;
};

// The state at the top dry bulb for humidity ratio W. Every page point of a draw slides to the same
// bottom edge, so the last one found is kept for the next call.
TTopState TopState(double P, double W) {
    static double lastP = std::numeric_limits<double>::quiet_NaN(), lastW = lastP;
    static TTopState last;
    if (P == lastP && W == lastW) return last;
    TAirState s;
    ::SetState(s, P, TopDryBulb, W, 2);
    last = TTopState{PsyStatus() == 0 && s.SpecificHeat > 0, s.Enthalpy, s.SpecificHeat};
    lastP = P;
    lastW = W;
    return last;
}

// Dry bulb of enthalpy h at humidity ratio W, continued beyond the top dry bulb: 0, or the library's
// status when neither gives one.
std::int32_t DryBulbFromEnthalpy(double P, double h, double W, double& T) {
    T = ::DryBulb(P, h, W, 15);
    const std::int32_t status = PsyStatus();
    if (status == 0) return 0;
    if (const TTopState top = TopState(P, W); top.Valid && h > top.Enthalpy) {
        T = TopDryBulb + (h - top.Enthalpy) / top.SpecificHeat;
        return 0;
    }
    return status;
}

} // namespace

ELibraryFailure::ELibraryFailure(std::int32_t status)
    : std::runtime_error("Psychrometric calculation failed: " + StatusText(status))
    , FStatus(status) {}

namespace ChartLibrary {

double DryBulb(double P, double x1, double x2, int mode) {
    CleanVectorState();
    if (mode == 15) {
        double T;
        const std::int32_t status = DryBulbFromEnthalpy(P, x1, x2, T);
        if (status == 0) return T;
        throw ELibraryFailure(status);
    }
    const double T = ::DryBulb(P, x1, x2, mode);
    const std::int32_t status = PsyStatus();
    if (status == 0) return T;
    if (mode == 9) {
        // Wet bulb and humidity beyond the top dry bulb: the adiabatic-saturation balance gives the
        // enthalpy, h = hs(b) - (Ws(b) - W)·cw·b, and the enthalpy the dry bulb.
        const double b = x1, W = x2;
        TAirState sat;
        ::SetState(sat, P, b, b, 0);
        double Tb;
        if (PsyStatus() == 0 &&
            TryDryBulbFromEnthalpy(P, sat.Enthalpy - (sat.Humidity - W) * 4.186 * b, W, Tb) &&
            Tb > TopDryBulb)
            return Tb;
    }
    throw ELibraryFailure(status);
}
double WetBulb(double P, double x1, double x2, int mode) {
    CleanVectorState();
    return Checked(::WetBulb(P, x1, x2, mode));
}
double Humidity(double P, double x1, double x2, int mode) {
    CleanVectorState();
    return Checked(::Humidity(P, x1, x2, mode));
}
double Enthalpy(double P, double x1, double x2, int mode) {
    CleanVectorState();
    double h;
    if (mode == 2 && TryEnthalpy(P, x1, x2, h)) return h;
    return Checked(::Enthalpy(P, x1, x2, mode));
}
double DewPoint(double P, double x1, double x2, int mode) {
    CleanVectorState();
    return Checked(::DewPoint(P, x1, x2, mode));
}

void SetState(TAirState& result, double P, double x1, double x2, int mode) {
    CleanVectorState();
    ::SetState(result, P, x1, x2, mode);
    CheckStatus();
}

void AirState(TAirState& result, const TAirState& state, int mode) {
    CleanVectorState();
    ::AirState(result, state, mode);
    CheckStatus();
}

void MixFlows(TAirState& result, const TAirState* streams, int highIndex) {
    CleanVectorState();
    ::MixFlows(result, streams, highIndex);
    CheckStatus();
}

double ApparatusDewPoint(const TAirState& inlet, const TAirState& outlet, double& bypassFactor) {
    CleanVectorState();
    const double adp = ::ApparatusDewPoint(inlet, outlet, bypassFactor);
    CheckStatus();
    return adp;
}

bool TryEnthalpy(double P, double T, double W, double& h) {
    CleanVectorState();
    h = ::Enthalpy(P, T, W, 2);
    if (PsyStatus() == 0) return true;
    if (T > TopDryBulb) {
        if (const TTopState top = TopState(P, W); top.Valid) {
            h = top.Enthalpy + top.SpecificHeat * (T - TopDryBulb);
            return true;
        }
    }
    return false;
}

bool TryDryBulbFromEnthalpy(double P, double h, double W, double& T) {
    CleanVectorState();
    return DryBulbFromEnthalpy(P, h, W, T) == 0;
}

} // namespace ChartLibrary
