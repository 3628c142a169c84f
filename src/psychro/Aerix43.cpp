// Entry points of the moist-air property library: input pairs to complete states, mixing, apparatus
// dew point and the standard atmosphere. The physics is in RealGasMoistAir, the state solvers in
// AerixCore.

#include "psychro/Aerix43.h"

#include "psychro/AerixCore.h"
#include "psychro/AerixSolve.h"
#include "psychro/RealGasMoistAir.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

using namespace aerix;
using namespace realgas;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Status of the last call. The library, like the application, runs on the one user-interface thread.
std::int32_t gStatus = psOk;

// PsyModePairs by mode code (null for codes not in the table).
constexpr int kModeCount = 33;
constexpr std::array<const TPsyModePair*, kModeCount> kModeIndex = [] {
    std::array<const TPsyModePair*, kModeCount> index{};
    for (const TPsyModePair& m : PsyModePairs)
        index[m.Mode] = &m;
    return index;
}();

const TPsyModePair* FindMode(int mode) {
    return mode >= 0 && mode < kModeCount ? kModeIndex[mode] : nullptr;
}

// ---- Input checks (°C and kPa in, K out) ----

// Temperatures within this of each other (K) count as equal when one came from a saturation
// pressure or another inversion of the same curve.
constexpr double kTempSlack = 1e-9;

// A dry bulb (K), input or solved: within the range, give or take the solvers' tolerance at its ends.
double SolvedDryBulb(double T) {
    if (!(T >= kTMin - kTempSlack && T <= kTMax + kTempSlack)) Fail(psOutOfRange);
    return T;
}

double DryBulbK(double t) {
    return SolvedDryBulb(t + T0);
}

// A wet bulb may lie a little below the lowest dry bulb (that of very dry air at −100 °C does).
double WetBulbK(double b) {
    const double T = b + T0;
    if (T < kDewMin || T > kTMax) Fail(psOutOfRange);
    return T;
}

double DewPointK(double d) {
    const double T = d + T0;
    if (T < kDewMin || T > kTMax) Fail(psOutOfRange);
    return T;
}

// Relative humidity, with values a hair above 1 (round-off of a computed saturated state) taken as 1.
double RelHumidityIn(double f) {
    if (f < 0) Fail(psBelowDry);
    if (f > 1 + kSatSlack) Fail(psSupersaturated);
    return std::min(f, 1.0);
}

double HumidityIn(double W) {
    if (W < 0) Fail(psBelowDry);
    return W;
}

// Vapour pressure (kPa) as a mole fraction of water.
double VapourFraction(double v, double P) {
    if (v < 0) Fail(psBelowDry);
    if (v >= P) Fail(psVapourPressure);
    return v / P;
}

// Orders two temperatures that must satisfy lower ≤ upper, snapping lower to upper within the slack.
double Below(double lower, double upper) {
    if (lower > upper + kTempSlack) Fail(psSupersaturated);
    return std::min(lower, upper);
}

// Dry bulb (K) whose saturation pressure is s (kPa).
double DryBulbFromSatPressure(double s) {
    if (!(s > 0)) Fail(psOutOfRange);
    return SolvedDryBulb(SatTemperature(s * 1000));
}

// A humidity ratio from a solver may undershoot zero by round-off.
double SolvedHumidity(double W) {
    if (W < 0) {
        if (W < -1e-13) Fail(psBelowDry);
        W = 0;
    }
    return W;
}

// ---- States from (dry bulb, humidity ratio) ----

// Complete state at the dry bulb of pt and humidity ratio W.
void FromPoint(const TCore& c, TAirState& r, const TPoint& pt, double W, double knownB = kNaN,
               double knownD = kNaN) {
    const bool saturated = c.CheckSaturation(pt, W);
    c.Fill(r, pt, W, saturated, knownB, knownD);
}

// Complete state at dry bulb T (K) and humidity ratio W.
void FromTW(const TCore& c, TAirState& r, double T, double W, double knownB = kNaN, double knownD = kNaN) {
    c.FillTW(r, T, T - T0, W, knownB, knownD);
}

// Saturated state at the dry bulb of pt.
void Saturated(const TCore& c, TAirState& r, const TPoint& pt) {
    if (!pt.CanSaturate()) Fail(psVapourPressure); // saturation would need vapour at the total pressure
    c.Fill(r, pt, pt.Ws, true, kNaN, kNaN);
}

// Saturation mole fraction of water at dew point d (K), i.e. the vapour content it stands for.
double DewFraction(const TCore& c, double d) {
    const TPoint D = c.At(d, false);
    if (!D.CanSaturate()) Fail(psVapourPressure);
    return D.sat.xws;
}

// Humidity ratio from a mole fraction of water below 1.
double HumidityFromFraction(double xw) {
    if (xw >= 1) Fail(psVapourPressure);
    return HumidityRatio(xw);
}

// ---- Pairs with the wet bulb ----

// Saturated air at the wet bulb of wl (whose dry bulb then is the wet bulb).
void SaturatedAtWetBulb(const TCore& c, TAirState& r, const TWetLine& wl) {
    SolvedDryBulb(wl.pt.T);
    c.Fill(r, wl.pt, wl.pt.Ws, true, kNaN, kNaN);
}

// Dry bulb along the wet-bulb line of wl at humidity ratio W, then the state.
void FromWetLineW(const TCore& c, TAirState& r, const TWetLine& wl, double b, double W,
                  double knownD = kNaN) {
    if (W > wl.pt.Ws + SatWindow(wl.pt.Ws))
        Fail(psSupersaturated); // the dry bulb would fall below the wet bulb
    if (W >= wl.pt.Ws - SatWindow(wl.pt.Ws)) {
        SaturatedAtWetBulb(c, r, wl);
        return;
    }
    const double T = SolvedDryBulb(c.SolveT(wl.A() + wl.hw * W, W, kNaN));
    FromTW(c, r, std::max(T, b), W, wl.pt.tC, knownD);
}

// Dry bulb tC with wet bulb bC (°C).
void FromDryWet(const TCore& c, TAirState& r, double tC, double bC) {
    const double T = DryBulbK(tC), b = Below(WetBulbK(bC), T);
    if (b == T) return Saturated(c, r, c.AtC(tC));
    const TWetLine wl = c.WetLine(b, bC);
    // The wet bulb's point, nearer the dew point, carries the slope the dew-point search starts from.
    const TPoint pt = c.AtC(tC, false);
    double W = SolvedHumidity(c.SolveW(pt.v, wl.A(), wl.hw));
    const bool saturated = c.CheckSaturation(pt, W);
    c.Fill(r, pt, W, saturated, bC, kNaN, &wl.pt);
}

// Dry bulb (K) at which the wet-bulb line of wl has dried out completely (W = 0).
double DryEnd(const TCore& c, const TWetLine& wl) {
    return c.SolveT(wl.A(), 0, kNaN);
}

void FromWetRH(const TCore& c, TAirState& r, double b, double phi, double bC) {
    const TWetLine wl = c.WetLine(b, bC);
    if (phi >= 1) return SaturatedAtWetBulb(c, r, wl);
    const double dry = DryEnd(c, wl);
    if (phi == 0) {
        FromTW(c, r, SolvedDryBulb(dry), 0, bC);
        return;
    }
    // RH falls from 1 at the wet bulb to 0 where the line dries out. The search starts from the same
    // line in ideal-gas terms (h = 1.006·t + W·(2501 + 1.86·t), enhancement factor of the wet bulb),
    // which costs only a saturation pressure per step and lands within a few hundredths of a kelvin.
    const double Pa = c.P() * 1000;
    const double hi = std::min(dry, kTMax + kTempSlack);
    const double A = wl.A(), hw = wl.hw, fb = wl.pt.sat.f;
    auto ideal = [&](double T) {
        const double t = T - T0;
        const double W = std::max((A - 1.006 * t) / (2501 + 1.86 * t - hw), 0.0);
        const TSatPressure ps = SatPressure(T);
        const double f = MoleFraction(W) * Pa / (fb * ps.p);
        const double dW = -(1.006 + 1.86 * W) / (2501 + 1.86 * t - hw);
        return TEval{f - phi, f * (dW / (std::max(W, 1e-300) * (1 + W / Eps)) - ps.dlnp)};
    };
    double T = 0;
    if (!SolveMonotone(ideal, b, hi, b, 1e-6, false, T)) T = b;
    const double hv = wl.pt.v.hw0 / Mw / 1000;
    auto g = [&](double x) {
        const TPoint p = c.At(x, false);
        const double W = std::max(c.SolveW(p.v, A, hw), 0.0);
        const double f = MoleFraction(W) / p.sat.xws;
        const double dW = -(1.006 + 1.86 * W) / (hv - hw);
        return TEval{f - phi, f * (dW / (std::max(W, 1e-300) * (1 + W / Eps)) - p.sat.ps.dlnp)};
    };
    // Along the line W changes by about 4e-4 per kelvin: keep the humidity ratio to 1e-9 of Ws.
    const double tol = std::clamp(2.5e-6 * wl.pt.Ws, 1e-13, 2e-9);
    if (!SolveMonotone(g, b, hi, T, tol, false, T)) Fail(psOutOfRange);
    if (T == b) return SaturatedAtWetBulb(c, r, wl);
    const TPoint pt = c.At(T);
    double W = SolvedHumidity(c.SolveW(pt.v, A, hw));
    const bool saturated = c.CheckSaturation(pt, W);
    c.Fill(r, pt, W, saturated, bC, kNaN);
}

void FromWetDensity(const TCore& c, TAirState& r, double b, double rho, double bC) {
    if (!(rho > 0)) Fail(psOutOfRange);
    const TWetLine wl = c.WetLine(b, bC);
    const double rhoSat = c.Density(wl.pt.v, wl.pt.Ws);
    if (rho > rhoSat * (1 + 1e-13)) Fail(psSupersaturated); // denser than saturated air at the wet bulb
    if (rho >= rhoSat) return SaturatedAtWetBulb(c, r, wl);
    const double hi = std::min(DryEnd(c, wl), kTMax + kTempSlack);
    auto g = [&](double T) {
        const TVirials v = Virials(T);
        const double W = std::max(c.SolveW(v, wl.A(), wl.hw), 0.0);
        const double d = c.Density(v, W);
        return TEval{d - rho, -d / T};
    };
    double T = 0;
    const double x0 = std::clamp(b * rhoSat / rho, b, hi);
    const double tol = std::clamp(2.5e-6 * wl.pt.Ws, 1e-13, 2e-9); // as in FromWetRH
    if (!SolveMonotone(g, b, hi, x0, tol, false, T)) Fail(psOutOfRange);
    const TPoint pt = c.At(T);
    double W = SolvedHumidity(c.SolveW(pt.v, wl.A(), wl.hw));
    const bool saturated = c.CheckSaturation(pt, W);
    c.Fill(r, pt, W, saturated, bC, kNaN);
}

// ---- Pairs with enthalpy, humidity ratio, relative humidity, density ----

void FromEnthalpyW(const TCore& c, TAirState& r, double h, double W, double knownD = kNaN) {
    const double T = SolvedDryBulb(c.SolveT(h, W, kNaN));
    FromTW(c, r, T, W, kNaN, knownD);
}

// Start for (enthalpy, RH): the same relation with ideal-gas moist air (cheap, within ~0.1 K).
double IdealEnthalpyRH(double h, double phi, double P, double lo, double hi) {
    double T = std::clamp(T0 + h / 1.006, lo, hi);
    for (int i = 0; i < 12; ++i) {
        const TSatPressure s = SatPressure(T);
        const double pw = std::min(phi * s.p, 0.999 * P);
        const double W = Eps * pw / (P - pw);
        const double t = T - T0;
        const double F = 1.006 * t + W * (2501 + 1.86 * t) - h;
        const double dW = Eps * P / ((P - pw) * (P - pw)) * pw * s.dlnp;
        const double Tn = std::clamp(T - F / (1.006 + 1.86 * W + (2501 + 1.86 * t) * dW), lo, hi);
        if (std::abs(Tn - T) < 1e-3) return Tn;
        T = Tn;
    }
    return T;
}

void FromEnthalpyRH(const TCore& c, TAirState& r, double h, double phi) {
    if (phi == 0) return FromEnthalpyW(c, r, h, 0);
    // Above Tlim the vapour at this RH would exceed the total pressure; h grows without bound there.
    const double Pa = c.P() * 1000;
    const double hi = std::min(kTMax + kTempSlack, SatTemperature(Pa / phi) * (1 - 1e-12));
    auto g = [&](double T) {
        const TPoint p = c.At(T, false);
        const double xw = phi * p.sat.xws;
        const TMixture m = Mixture(p.v, Pa, xw, true);
        // Scaled by the dry-air fraction xa: per kg dry air h grows without bound towards Tlim,
        // xa·h (per mole of mixture) stays smooth, and the root is the same. Slope:
        // (xa·h)' + h_target·dxw/dT with dxw/dT ≈ xw·dln pws/dT.
        const double xa = 1 - xw, dxw = xw * p.sat.ps.dlnp;
        return TEval{xa * (m.h - h), xa * m.cp + dxw * ((p.v.hw0 - p.v.ha0) / Ma / 1000 + h)};
    };
    double T = 0;
    const double lo = kTMin - kTempSlack;
    const double x0 = IdealEnthalpyRH(h, phi, Pa, lo, hi);
    if (!SolveMonotone(g, lo, hi, x0, 2e-9, true, T)) Fail(psOutOfRange);
    const TPoint pt = c.At(T);
    if (phi >= 1) {
        if (!pt.CanSaturate()) Fail(psVapourPressure);
        return c.Fill(r, pt, pt.Ws, true, kNaN, kNaN);
    }
    double W = HumidityFromFraction(phi * pt.sat.xws);
    const bool saturated = c.CheckSaturation(pt, W);
    c.Fill(r, pt, W, saturated, kNaN, kNaN);
}

// Dry bulb at which vapour of mole fraction xw has relative humidity phi.
void FromFractionRH(const TCore& c, TAirState& r, double xw, double phi, const TPoint* hint, double knownD) {
    if (phi == 0) Fail(xw == 0 ? psUndetermined : psOutOfRange);
    if (xw == 0) Fail(psOutOfRange); // dry air reaches any RH above 0 only at absolute zero
    const double W = HumidityFromFraction(xw);
    const double T = c.DewPoint(xw * c.P() * 1000 / phi, hint);
    if (T <= kDewMin) Fail(psOutOfRange);
    SolvedDryBulb(T);
    const TPoint pt = c.At(T);
    if (phi >= 1) return c.Fill(r, pt, W, true, kNaN, kNaN);
    double Wc = W;
    const bool saturated = c.CheckSaturation(pt, Wc);
    c.Fill(r, pt, Wc, saturated, kNaN, knownD);
}

void FromDryBulbDensity(const TCore& c, TAirState& r, const TPoint& pt, double rho) {
    if (!(rho > 0)) Fail(psOutOfRange);
    // Density against the mole fraction of water between dry air and saturation (or nearly pure
    // vapour where air cannot saturate). Water makes air lighter, ρ ≈ ρmol·(Ma − xw·(Ma − Mw)), but at
    // high pressure and low temperature the air-water attraction nearly cancels that, and below
    // about −75 °C at 5 MPa moist air is the denser one: the ends decide the direction.
    const double Pa = c.P() * 1000;
    const auto density = [&](double xw) { return Mixture(pt.v, Pa, xw).rho * (Ma - xw * (Ma - Mw)); };
    const double xMax = pt.CanSaturate() ? pt.sat.xws : 1 - 1e-9;
    const double rho0 = density(0), rhoMax = density(xMax);
    const bool falling = rhoMax < rho0;
    if (rho0 == rhoMax) Fail(psUndetermined);
    if (falling ? rho > rho0 : rho < rho0) {
        // Beyond dry air (a hair beyond is round-off).
        if (std::abs(rho - rho0) > 1e-15 * rho0) Fail(psBelowDry);
        return FromPoint(c, r, pt, 0);
    }
    if (falling ? rho < rhoMax : rho > rhoMax) {
        if (std::abs(rho - rhoMax) > 1e-15 * rho0)
            Fail(pt.CanSaturate() ? psSupersaturated : psVapourPressure);
        if (pt.CanSaturate()) return Saturated(c, r, pt);
        Fail(psVapourPressure);
    }
    // Nearly linear in xw: the chord between the ends starts the secant search.
    auto g = [&](double xw) { return TEval{density(xw) - rho, (rhoMax - rho0) / xMax}; };
    double xw = 0;
    const double x0 = xMax * (rho - rho0) / (rhoMax - rho0);
    if (!SolveMonotone(g, 0, xMax, x0, 1e-15 * xMax, !falling, xw)) Fail(psNoConvergence);
    double W = HumidityFromFraction(xw);
    const bool saturated = c.CheckSaturation(pt, W);
    c.Fill(r, pt, W, saturated, kNaN, kNaN);
}

void FromHumidityDensity(const TCore& c, TAirState& r, double W, double rho) {
    if (!(rho > 0)) Fail(psOutOfRange);
    const double xw = MoleFraction(W);
    const double Pa = c.P() * 1000;
    auto g = [&](double T) {
        const double d = c.Density(Virials(T), W);
        return TEval{d - rho, -d / T};
    };
    const double x0 = Pa * (Ma - xw * (Ma - Mw)) / (rho * R);
    double T = 0;
    if (!SolveMonotone(g, kTMin - kTempSlack, kTMax + kTempSlack, x0, 2e-9, false, T)) Fail(psOutOfRange);
    FromTW(c, r, T, W);
}

void Solve(const TCore& c, TAirState& r, double x1, double x2, int mode) {
    const double P = c.P();
    switch (mode) {
    case 0:
        return FromDryWet(c, r, x1, x2);
    case 1: {
        DryBulbK(x1);
        const TPoint pt = c.AtC(x1);
        double W = SolvedHumidity(c.SolveW(pt.v, x2, 0));
        const bool saturated = c.CheckSaturation(pt, W);
        return c.Fill(r, pt, W, saturated, kNaN, kNaN);
    }
    case 2:
        return c.FillTW(r, DryBulbK(x1), x1, HumidityIn(x2), kNaN, kNaN);
    case 3: {
        DryBulbK(x1);
        const double phi = RelHumidityIn(x2);
        const TPoint pt = c.AtC(x1);
        if (phi == 1) return Saturated(c, r, pt);
        return FromPoint(c, r, pt, HumidityFromFraction(phi * pt.sat.xws));
    }
    case 4: {
        const double T = DryBulbK(x1), d = Below(DewPointK(x2), T);
        if (d == T) return Saturated(c, r, c.AtC(x1));
        return c.FillTW(r, T, x1, HumidityFromFraction(DewFraction(c, d)), kNaN, x2);
    }
    case 5:
        return c.FillTW(r, DryBulbK(x1), x1, HumidityFromFraction(VapourFraction(x2, P)), kNaN, kNaN);
    case 7:
        DryBulbK(x1);
        return FromDryBulbDensity(c, r, c.AtC(x1), x2);
    case 8: {
        const double b = WetBulbK(x1);
        const TWetLine wl = c.WetLine(b, x1);
        // Near the triple point the condensed water carries almost no enthalpy and the wet-bulb line
        // runs along the enthalpy line: the pair then fixes no state.
        if (std::abs(wl.hw) < 1e-3) Fail(psUndetermined);
        const double W = (x2 - wl.A()) / wl.hw;
        if (W < -1e-13) Fail(psBelowDry);
        return FromWetLineW(c, r, wl, b, std::max(W, 0.0));
    }
    case 9:
        return FromWetLineW(c, r, c.WetLine(WetBulbK(x1), x1), WetBulbK(x1), HumidityIn(x2));
    case 10:
        return FromWetRH(c, r, WetBulbK(x1), RelHumidityIn(x2), x1);
    case 11: {
        const double b = WetBulbK(x1), d = Below(DewPointK(x2), b);
        const TWetLine wl = c.WetLine(b, x1);
        if (d == b) return SaturatedAtWetBulb(c, r, wl);
        return FromWetLineW(c, r, wl, b, HumidityFromFraction(DewFraction(c, d)), x2);
    }
    case 12: {
        const double b = WetBulbK(x1);
        return FromWetLineW(c, r, c.WetLine(b, x1), b, HumidityFromFraction(VapourFraction(x2, P)));
    }
    case 13:
        WetBulbK(x1);
        return FromDryWet(c, r, DryBulbFromSatPressure(x2) - T0, x1);
    case 14:
        return FromWetDensity(c, r, WetBulbK(x1), x2, x1);
    case 15:
        return FromEnthalpyW(c, r, x1, HumidityIn(x2));
    case 16:
        return FromEnthalpyRH(c, r, x1, RelHumidityIn(x2));
    case 17: {
        const double d = DewPointK(x2);
        const double W = HumidityFromFraction(DewFraction(c, d));
        const double T = SolvedDryBulb(c.SolveT(x1, W, kNaN));
        Below(d, T); // the dew point may not lie above the dry bulb
        return FromTW(c, r, std::max(T, d), W, kNaN, x2);
    }
    case 18:
        return FromEnthalpyW(c, r, x1, HumidityFromFraction(VapourFraction(x2, P)));
    case 19: {
        const TPoint pt = c.At(DryBulbFromSatPressure(x2));
        double W = SolvedHumidity(c.SolveW(pt.v, x1, 0));
        const bool saturated = c.CheckSaturation(pt, W);
        return c.Fill(r, pt, W, saturated, kNaN, kNaN);
    }
    case 25:
        return FromFractionRH(c, r, MoleFraction(HumidityIn(x1)), RelHumidityIn(x2), nullptr, kNaN);
    case 26:
        return FromTW(c, r, DryBulbFromSatPressure(x2), HumidityIn(x1));
    case 27:
        return FromHumidityDensity(c, r, HumidityIn(x1), x2);
    case 28: {
        const double phi = RelHumidityIn(x1), d = DewPointK(x2);
        const TPoint D = c.AtC(x2, true); // seeds the dry-bulb search
        if (!D.CanSaturate()) Fail(psVapourPressure);
        if (phi == 1) {
            SolvedDryBulb(d); // saturated: the dew point is the dry bulb
            return c.Fill(r, D, D.Ws, true, kNaN, kNaN);
        }
        return FromFractionRH(c, r, D.sat.xws, phi, &D, x2);
    }
    case 29:
        return FromFractionRH(c, r, VapourFraction(x2, P), RelHumidityIn(x1), nullptr, kNaN);
    case 30: {
        const double phi = RelHumidityIn(x1);
        const TPoint pt = c.At(DryBulbFromSatPressure(x2));
        if (phi == 1) return Saturated(c, r, pt);
        return FromPoint(c, r, pt, HumidityFromFraction(phi * pt.sat.xws));
    }
    case 31: {
        const double T = DryBulbFromSatPressure(x2), d = Below(DewPointK(x1), T);
        if (d == T) return Saturated(c, r, c.At(T));
        return FromTW(c, r, T, HumidityFromFraction(DewFraction(c, d)), kNaN, x1);
    }
    case 32:
        return FromTW(c, r, DryBulbFromSatPressure(x2), HumidityFromFraction(VapourFraction(x1, P)));
    default:
        Fail(psBadMode);
    }
}

// First point at or beyond (t0, W0) along (t0 + u·dt, W0 + u·dW), u ≥ 0, where the line meets
// saturation; false when it never does within the range (or dries out first). Fails when (t0, W0)
// itself lies above saturation.
bool LineMeetsSaturation(const TCore& c, double t0, double W0, double dt, double dW, double& uAdp) {
    // g(u) = W − Ws(t) is concave (Ws is convex in t), so its first zero is found by marching to a
    // sign change, watching for a maximum that touches zero between two samples.
    auto g = [&](double u) {
        const TPoint p = c.At((t0 + u * dt) + T0, false);
        return p.CanSaturate() ? (W0 + u * dW) - p.Ws : -1e300;
    };
    const TPoint start = c.At(t0 + T0, false);
    const double g0 = start.CanSaturate() ? W0 - start.Ws : -1e300;
    if (start.CanSaturate() && g0 > SatWindow(start.Ws)) Fail(psSupersaturated); // above saturation
    if (start.CanSaturate() && g0 >= -SatWindow(start.Ws)) {
        uAdp = 0;
        return true;
    }
    if (dt == 0) {
        if (!(dW > 0) || !start.CanSaturate()) return false;
        uAdp = -g0 / dW;
        return true;
    }
    double uMax = dt < 0 ? (kTMin - T0 - t0) / dt : (kTMax - T0 - t0) / dt;
    if (dW < 0) uMax = std::min(uMax, W0 / -dW);
    const double du = 2 / std::abs(dt); // two kelvin per sample
    double uPrev = 0, gPrev = g0, uPrev2 = 0;
    double lo = -1, hi = -1;
    for (int k = 1; k <= 400 && uPrev < uMax; ++k) {
        const double u = std::min(k * du, uMax);
        const double gu = g(u);
        if (gu >= 0) {
            lo = uPrev;
            hi = u;
            break;
        }
        if (gu < gPrev) {
            // Past the maximum of the concave g: look at it between the last samples.
            double a = uPrev2, b = u;
            for (int i = 0; i < 60 && b - a > 1e-12; ++i) {
                const double m1 = a + 0.382 * (b - a), m2 = a + 0.618 * (b - a);
                if (g(m1) < g(m2))
                    a = m1;
                else
                    b = m2;
            }
            const double uTop = 0.5 * (a + b);
            if (g(uTop) >= 0) {
                lo = uPrev2;
                hi = uTop;
            }
            break;
        }
        uPrev2 = uPrev;
        uPrev = u;
        gPrev = gu;
    }
    if (lo < 0) return false;
    auto gEval = [&](double u) { return TEval{g(u), kNaN}; };
    if (!SolveMonotone(gEval, lo, hi, 0.5 * (lo + hi), 1e-14, true, uAdp)) return false;
    return true;
}

// Result of a failed call: the input pressure and zeros, never NaN.
void FailedState(TAirState& r, double P) {
    r = TAirState{};
    r.Pressure = std::isfinite(P) ? P : 0;
}

void CheckPressure(double P) {
    if (!std::isfinite(P)) Fail(psNotFinite);
    if (!(P > 0) || P > kPMax) Fail(psBadPressure);
}

// The state of the pair, or as much of it as `want` names; sets the status.
void Evaluate(TAirState& result, double P, double x1, double x2, int mode, TWant want) {
    try {
        if (!FindMode(mode)) Fail(psBadMode);
        if (!std::isfinite(P) || !std::isfinite(x1) || !std::isfinite(x2)) Fail(psNotFinite);
        CheckPressure(P);
        Solve(TCore(P, want), result, x1, x2, mode); // a failure below overwrites what it left
        gStatus = psOk;
    } catch (const TFail& f) {
        FailedState(result, P);
        gStatus = f.Code;
    }
}

// One field by the path that computes only what it needs: the same value and status as SetState's.
double Field(double P, double x1, double x2, int mode, TWant want, double TAirState::*field) {
    TAirState r;
    Evaluate(r, P, x1, x2, mode, want);
    return r.*field;
}

} // namespace

void SetState(TAirState& result, double P, double x1, double x2, int mode) {
    Evaluate(result, P, x1, x2, mode, TWant::State);
}

void AirState(TAirState& result, const TAirState& state, int mode) {
    const TPsyModePair* m = FindMode(mode);
    const double share = state.MassShare;
    if (!m) {
        FailedState(result, state.Pressure);
        result.MassShare = share;
        gStatus = psBadMode;
        return;
    }
    const double P = state.Pressure, x1 = state[m->First], x2 = state[m->Second];
    SetState(result, P, x1, x2, mode);
    result.MassShare = share;
}

double DryBulb(double P, double x1, double x2, int mode) {
    return Field(P, x1, x2, mode, TWant::DryBulb, &TAirState::DryBulb);
}
double WetBulb(double P, double x1, double x2, int mode) {
    return Field(P, x1, x2, mode, TWant::WetBulb, &TAirState::WetBulb);
}
double Humidity(double P, double x1, double x2, int mode) {
    return Field(P, x1, x2, mode, TWant::Humidity, &TAirState::Humidity);
}
double Enthalpy(double P, double x1, double x2, int mode) {
    return Field(P, x1, x2, mode, TWant::Enthalpy, &TAirState::Enthalpy);
}
double DewPoint(double P, double x1, double x2, int mode) {
    return Field(P, x1, x2, mode, TWant::DewPoint, &TAirState::DewPoint);
}

void MixFlows(TAirState& result, const TAirState* streams, int highIndex) {
    const double P = streams && highIndex >= 0 ? streams[0].Pressure : 0;
    try {
        if (!streams || highIndex < 0) Fail(psBadShares);
        double m = 0, mW = 0, mh = 0;
        for (int i = 0; i <= highIndex; ++i) {
            const TAirState& s = streams[i];
            if (!std::isfinite(s.MassShare) || s.MassShare < 0) Fail(psBadShares);
            if (!std::isfinite(s.Humidity) || !std::isfinite(s.Enthalpy)) Fail(psNotFinite);
            m += s.MassShare;
            mW += s.MassShare * s.Humidity;
            mh += s.MassShare * s.Enthalpy;
        }
        if (!(m > 0)) Fail(psBadShares);
        TAirState r;
        SetState(r, P, mh / m, mW / m, 15);
        if (gStatus != psOk) Fail(gStatus);
        r.MassShare = m;
        result = r;
    } catch (const TFail& f) {
        FailedState(result, P);
        gStatus = f.Code;
    }
}

double ApparatusDewPoint(TAirState inlet, TAirState outlet, double& bypassFactor) {
    try {
        const double P = outlet.Pressure;
        const double t1 = inlet.DryBulb, W1 = inlet.Humidity, t2 = outlet.DryBulb, W2 = outlet.Humidity;
        for (double x : {t1, W1, t2, W2})
            if (!std::isfinite(x)) Fail(psNotFinite);
        CheckPressure(P);
        DryBulbK(t1);
        DryBulbK(t2);
        HumidityIn(W1);
        HumidityIn(W2);
        const double dt = t2 - t1, dW = W2 - W1;
        if (std::abs(dt) <= 1e-9 && std::abs(dW) <= 1e-12) Fail(psUndetermined); // no direction
        const TCore c(P);
        // A coil's apparatus dew point lies beyond the outlet (bypass factor 0..1). Where the line
        // never reaches saturation there and the outlet is the warmer state (heating), it is the
        // saturated point beyond the inlet, on the line's cold side (bypass factor above 1). Along the
        // line W − Ws is concave, so saturation lies on one side of the two states at most.
        double u;
        if (LineMeetsSaturation(c, t2, W2, dt, dW, u)) {
            // outlet + u·(outlet − inlet): BF = (t_out − t_adp)/(t_in − t_adp)
            bypassFactor = u / (1 + u);
            gStatus = psOk;
            return t2 + u * dt;
        }
        if (!(dt > 0) || !LineMeetsSaturation(c, t1, W1, -dt, -dW, u)) Fail(psNoSolution);
        // inlet + u·(inlet − outlet); a saturated inlet (u = 0) has no finite factor.
        bypassFactor = u > 0 ? (1 + u) / u : std::numeric_limits<double>::infinity();
        gStatus = psOk;
        return t1 - u * dt;
    } catch (const TFail& f) {
        gStatus = f.Code;
        return 0;
    }
}

void ResetReferenceState() {
    // No warm-start caches are kept: every state is solved from its own inputs.
    gStatus = psOk;
}

std::int32_t PsyStatus() {
    return gStatus;
}

// ASHRAE standard atmosphere: p = 101.325·(1 − 2.25577e-5·z)^5.2559 kPa, z in m.
double Altitude(double P) {
    if (!std::isfinite(P)) {
        gStatus = psNotFinite;
        return 0;
    }
    if (!(P > 0)) {
        gStatus = psBadPressure;
        return 0;
    }
    gStatus = psOk;
    return (1 - std::pow(P / 101.325, 1 / 5.2559)) / 2.25577e-5;
}

double AtmPressure(double z) {
    if (!std::isfinite(z)) {
        gStatus = psNotFinite;
        return 0;
    }
    const double base = 1 - 2.25577e-5 * z;
    if (!(base > 0)) {
        gStatus = psOutOfRange;
        return 0;
    }
    gStatus = psOk;
    return 101.325 * std::pow(base, 5.2559);
}
