#include "psychro/MoistAir.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

namespace {

using Ext = long double;

constexpr Ext Eps = MoistAirConst::Epsilon;
constexpr Ext F = MoistAirConst::Enhancement;
constexpr Ext Ra = MoistAirConst::Ra;
constexpr Ext K = MoistAirConst::K;

// pws = A·exp(B·T / (T + C)), one row per band of TempBand / PressureBand.
struct TSatBand {
    Ext A; // kPa
    Ext B;
    Ext C; // °C
};
constexpr TSatBand SatBands[5] = {
    {0.57346348L, 20.457057L, 255.37923L}, //
    {0.61117891L, 22.382872L, 271.76805L}, //
    {0.61084581L, 17.33014L, 238.14596L},  //
    {0.60102187L, 16.908548L, 229.68175L}, //
    {0.61077082L, 16.809769L, 228.70585L},
};

// The messages of the platform's floating-point exceptions.
constexpr const char* InvalidOperation = "Invalid floating point operation";
constexpr const char* ZeroDivide = "Floating point division by zero";
constexpr const char* Overflow = "Floating point overflow";

Ext Div(Ext a, Ext b) {
    if (b == 0) throw EMathError(a == 0 || std::isnan(a) ? InvalidOperation : ZeroDivide);
    return a / b;
}

Ext Ln(Ext x) {
    if (!(x > 0)) throw EMathError(InvalidOperation);
    return std::log(x);
}

// Every function hands its extended result back as a finite double.
double Result(Ext v) {
    const auto d = static_cast<double>(v);
    if (std::isnan(d)) throw EMathError(InvalidOperation);
    if (std::isinf(d)) throw EMathError(Overflow);
    return d;
}

// Solver status and the target values of the two saturation solvers; single-threaded by design.
std::uint8_t FStatus = 0;
double FTargetH = 0;
double FTargetV = 0;
double FTargetP = 0;

double SatEnthalpyError(double T) {
    return Result(FTargetH - SatEnthalpy(T, FTargetP));
}

double SatVolumeError(double T) {
    // With the wet bulb equal to the dry bulb the vapour pressure is the saturation pressure.
    const Ext pw = VapourPressureWB(T, T, FTargetP);
    return Result(FTargetV - Div((T + K) * Ra * Compressibility(FTargetP, T), FTargetP - pw));
}

// Start value of the saturation temperature for an enthalpy: two fitted saturation curves.
Ext SatCurve(Ext h, Ext e, Ext top, Ext k, Ext bottom) {
    const Ext he = std::pow(h, e);
    return Div(bottom * k + top * he, k + he);
}

} // namespace

int TempBand(double T) {
    if (T > 90) return 4;
    if (T > 40) return 3;
    if (T >= 0) return 2;
    if (T >= -40) return 1;
    return 0;
}

int PressureBand(double p) {
    if (p > 70.1817) return 4;
    if (p > 7.3838) return 3;
    if (p >= 0.6112) return 2;
    if (p >= 0.01285) return 1;
    return 0;
}

double SatPressure(double T) {
    const TSatBand& b = SatBands[TempBand(T)];
    return Result(b.A * std::exp(Div(b.B * T, T + b.C)));
}

double SatTemperature(double p) {
    if (p <= 0) return -100;
    try {
        const TSatBand& b = SatBands[PressureBand(p)];
        const Ext t = Ln(p / b.A);
        return Result(Div(b.C * t, b.B - t));
    } catch (const EMathError&) {
        return 0;
    }
}

double VapourPressureW(double W, double P) {
    return Result(Div(Div(W * P, W + Eps), F));
}

double HumidityFromVapour(double pw, double P) {
    try {
        const Ext c = F * pw;
        return Result(Div(Eps * c, P - c));
    } catch (const EMathError&) {
        return 0.01;
    }
}

double HumidityFromRH(double phi, double T, double P) {
    return HumidityFromVapour(Result(phi * static_cast<Ext>(SatPressure(T))), P);
}

double SatHumidity(double T, double P) {
    return HumidityFromVapour(SatPressure(T), P);
}

double SatEnthalpy(double T, double P) {
    const Ext ws = SatHumidity(T, P);
    return Result(ws * (1.8058L * T + 2500.7693L) + 1.006L * T);
}

double DewPointOfHumidity(double W, double P) {
    return SatTemperature(VapourPressureW(W, P));
}

double VapourPressureWB(double twb, double tdb, double P) {
    const Ext pws = SatPressure(twb);
    const Ext num = pws * (0.24L * tdb + 371.4L - 0.6L * twb) - 0.24L * (static_cast<Ext>(tdb) - twb) * P;
    return Result(Div(num, 0.04L * tdb + 371.4L - 0.4L * twb));
}

double Compressibility(double P, double T) {
    return Result(1 - ((5.307e-6L * P + 9.49e-6L) - (8.115e-8L * P + 2.794e-6L) * T));
}

double SpecificVolumeW(double W, double T, double P) {
    const Ext pw = VapourPressureW(W, P);
    return Result(Div((T + K) * Ra * Compressibility(P, T), P - pw));
}

double SpecificVolumeWB(double twb, double tdb, double P) {
    const Ext pw = VapourPressureWB(twb, tdb, P);
    return Result(Div((tdb + K) * Ra * Compressibility(P, tdb), P - pw));
}

double HumidityFromVolume(double v, double T, double P) {
    const Ext pw = P - Div((T + K) * Ra * Compressibility(P, T), v);
    return HumidityFromVapour(Result(pw), P);
}

double TemperatureFromVolume(double W, double v, double P) {
    const Ext pw = VapourPressureW(W, P);
    Ext tg = 20;
    Ext t = tg;
    for (int pass = 1; pass <= 51; ++pass) {
        t = Div((P - pw) * v, Ra * Compressibility(P, static_cast<double>(tg))) - K;
        if (std::fabs(t - tg) < 0.0001L) break;
        tg = t;
    }
    return Result(t);
}

double SatTempFromEnthalpy(double h, double P) {
    FTargetH = h;
    FTargetP = P;
    Ext x = h;
    if (h > 0) {
        const Ext ya = SatCurve(h, 0.70652111L, 97.675297L, 46.274614L, -12.515119L);
        const Ext yb = SatCurve(h, 0.70056629L, 103.88645L, 44.392757L, -12.169721L);
        x = ya + (yb - ya) / 18.825L;
    }
    // The start value misses by more than 5 K near -6 °C and above 85 °C; there the search
    // interval is moved in 10 K steps until it holds the saturation temperature, since
    // bisecting an interval without a sign change ends at its edge. Above the boiling point
    // the saturation humidity has no meaning, so the interval stops there.
    const Ext boiling = static_cast<Ext>(SatTemperature(P / F)) - 1e-6L;
    Ext lo = x - 5;
    Ext hi = std::min(x + 5, boiling);
    for (int shift = 0; shift < 30; ++shift) {
        if (hi < boiling && SatEnthalpyError(Result(hi)) > 0) {
            lo = hi;
            hi = std::min(hi + 10, boiling);
        } else if (lo > -200 && SatEnthalpyError(Result(lo)) < 0) {
            hi = lo;
            lo -= 10;
        } else {
            break;
        }
    }
    return BisectRoot(SatEnthalpyError, 50, 0.0001, Result(hi), Result(lo));
}

double SatTempFromVolume(double v, double P) {
    FTargetV = v;
    FTargetP = P;
    std::optional<double> estimate;
    std::exception_ptr failure;
    try {
        const double t = SecantRoot(SatVolumeError, 50, 0.0001, 0.1, 25);
        if (FStatus == 0) return t;
        estimate = t;
    } catch (const EMathError&) {
        failure = std::current_exception();
    }
    // From 25 °C the secant runs away for saturation above about 62 °C, where the volume grows
    // steeply towards the boiling point; there the volume is bisected between -100 °C and just
    // below boiling instead.
    const double lo = -100;
    const double hi = SatTemperature(P / F) - 1e-6;
    if (hi > lo && SatVolumeError(lo) > 0 && SatVolumeError(hi) < 0)
        return BisectRoot(SatVolumeError, 100, 1e-9, hi, lo);
    if (failure) std::rethrow_exception(failure);
    FStatus = 2;
    return *estimate;
}

double RHTempForVolume(double T1, double T2, double phi, double v, double P) {
    const auto g = [&](Ext T) -> Ext {
        const double t = Result(T);
        return v - static_cast<Ext>(SpecificVolumeW(HumidityFromRH(phi, t, P), t, P));
    };
    const Ext g1 = g(T1);
    const Ext g2 = g(T2);
    if (g2 * g1 >= 0) return Result((static_cast<Ext>(T1) + T2) / 2);
    // Halve the interval, keeping r on the side where the volume is at least v.
    Ext r = T1;
    Ext d = static_cast<Ext>(T2) - T1;
    if (g2 < 0) {
        r = T2;
        d = static_cast<Ext>(T1) - T2;
    }
    FStatus = 1;
    for (int halving = 1;; ++halving) {
        d /= 2;
        const Ext m = r + d;
        const Ext gm = g(m);
        if (gm <= 0) r = m;
        if (std::fabs(d) <= 0.0001L || gm == 0) {
            FStatus = 0;
            break;
        }
        if (halving >= 51) {
            FStatus = 2;
            break;
        }
    }
    return Result(r);
}

double EnthalpyLineFactor(double W, double T) {
    return Result(Div((1.006L + 1.82L * W) * 1.0015L, 2500.7693L + 1.82L * T));
}

double HumidSpecificHeat(double W) {
    return Result(1.006L + 1.82L * W);
}

double LatentHeat(double T) {
    return Result(2500.7693L - 2.381L * T);
}

double SecantRoot(TRootFunction Fn, int maxIter, double tol, double dx, double x0) {
    if (!Fn) {
        FStatus = 5;
        return 0;
    }
    Ext a = x0;
    Ext fa = Fn(x0);
    if (std::fabs(fa) <= tol) {
        FStatus = 0;
        return x0;
    }
    Ext step = dx;
    Ext b = a + step;
    Ext fb = Fn(Result(b));
    FStatus = 1;
    bool toggle = false;
    int i = 0;
    while (FStatus == 1) {
        if (std::fabs(fb - fa) <= 1e-13L) {
            FStatus = 5;
            break;
        }
        ++i;
        // The secant through both points replaces them in turn.
        if (toggle) {
            a = a - step * fa / (fb - fa);
            fa = Fn(Result(a));
        } else {
            b = b - step * fb / (fb - fa);
            fb = Fn(Result(b));
        }
        toggle = !toggle;
        step = b - a;
        if (std::fabs(step) <= tol)
            FStatus = 0;
        else if (i >= maxIter)
            FStatus = 2;
    }
    return Result(a);
}

double BisectRoot(TRootFunction Fn, int maxIter, double tol, double b, double a) {
    if (!Fn) {
        FStatus = 5;
        return 0;
    }
    Ext lo = a;
    Ext hi = b;
    Ext flo = Fn(a);
    if (std::fabs(flo) <= tol) {
        FStatus = 0;
        return a;
    }
    FStatus = 1;
    Ext m = lo;
    int i = 0;
    while (FStatus == 1) {
        m = (lo + hi) / 2;
        const Ext fm = Fn(Result(m));
        if (flo * fm > 0) {
            lo = m;
            flo = fm;
        } else {
            hi = m;
        }
        if (std::fabs(fm) <= tol)
            FStatus = 0;
        else if (i >= maxIter)
            FStatus = 2;
        ++i;
    }
    return Result(m);
}

std::uint8_t SolverStatus() {
    return FStatus;
}

bool Between(double a, double x, double b) {
    return (a < x && x < b) || (b < x && x < a);
}

double Lerp(double t, double a, double b) {
    return Result(a + (static_cast<Ext>(b) - a) * t);
}

double InvLerp(double x, double a, double b) {
    return Result(Div(static_cast<Ext>(x) - a, static_cast<Ext>(b) - a));
}

double RoundMultiple(double step, double x) {
    const Ext q = Div(x, step);
    const Ext whole = std::trunc(q);
    return Result(q - whole >= 0.5L ? step * std::trunc(q + 1) : step * whole);
}

double CeilMultiple(double tol, double step, double x) {
    Ext q = Div(x, step);
    const Ext frac = q - std::trunc(q);
    if (frac >= 0 && std::fabs(frac) > std::fabs(static_cast<Ext>(tol))) q = q + 1;
    return Result(step * std::trunc(q));
}
