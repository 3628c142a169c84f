#include "psychro/AerixCore.h"

#include "psychro/AerixSolve.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace aerix {

using namespace realgas;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// T solving ln pws(T) + s·(T − Tref) + c·(T − Tref)² = L on one branch, by Newton in 1/T (where
// ln pws is nearly linear) from Tstart.
double InvertBranch(double L, double s, double Tref, bool ice, double Tstart, double c = 0) {
    constexpr double uMin = 1 / 640.0, uMax = 1 / 50.0;
    double u = std::clamp(1 / Tstart, uMin, uMax);
    for (int i = 0; i < 40; ++i) {
        const double T = 1 / u;
        const TSatPressure p = ice ? LnSatPressureIce(T) : LnSatPressureWater(T);
        const double d = T - Tref;
        const double g = p.lnp + (s + c * d) * d - L;
        const double un = std::clamp(u + g / ((p.dlnp + s + 2 * c * d) * T * T), uMin, uMax);
        const bool done = std::abs(un - u) <= 1e-9 * u; // quadratic convergence: un is exact
        u = un;
        if (done) return 1 / u;
    }
    Fail(psNoConvergence);
}

// Clausius-Clapeyron start for InvertBranch (ln p ≈ A − B/T, two-point fits of each branch).
double BranchStart(double L, bool ice) {
    const double A = ice ? 28.894 : 25.49, B = ice ? 6140.0 : 5210.0;
    return B / std::max(A - L, 1.0);
}

} // namespace

TPoint TCore::AtPhase(double T, bool ice, bool withSlope) const {
    // Returned as one aggregate: a named record would be cleared first, which costs as much here
    // as a polynomial.
    const TVirials v = Virials(T);
    const TSaturation sat = T >= TVirialMin ? Saturation(T, FPa, v, ice, withSlope)
                                            : Saturation(T, FPa, Virials(TVirialMin), ice, withSlope);
    return TPoint{
        .T = T, .tC = T - T0, .v = v, .sat = sat, .Ws = sat.CanSaturate() ? HumidityRatio(sat.xws) : 0};
}

namespace {

TWetLine MakeWetLine(const TCore& core, double b, bool ice, double Pa, bool withSlope) {
    const TPoint pt = core.AtPhase(b, ice, withSlope);
    if (!pt.CanSaturate()) Fail(psOutOfRange); // at or above the boiling point
    return TWetLine{.pt = pt,
                    .hs = MixtureW(pt.v, Pa, pt.Ws).h,
                    .hw = ice ? IceEnthalpy(b, pt.sat.ps) : LiquidEnthalpy(b, pt.sat.ps)};
}

} // namespace

TWetLine TCore::WetLine(double b, double bC) const {
    TWetLine w = MakeWetLine(*this, b, IsIce(b), FPa, false);
    if (!std::isnan(bC)) w.pt.tC = bC;
    return w;
}

double TCore::Enthalpy(const TVirials& v, double W) const {
    return MixtureW(v, FPa, W).h;
}

double TCore::Density(const TVirials& v, double W) const {
    return (1 + W) / MixtureW(v, FPa, W).v;
}

double TCore::SolveW(const TVirials& v, double a, double c) const {
    // F(W) = h(t, W) − a − c·W rises with W (vapour carries more enthalpy than the condensed water)
    // and is nearly linear in it. From F(0): Newton on the ideal-gas slope, then secant steps while
    // they are long enough to give a clean slope, kept inside the bracket F has shown so far.
    // A root below zero is returned as the negative Newton estimate from F(0) for the caller to reject.
    double slope = v.hw0 / Mw / 1000 - c;
    const double F0 = Enthalpy(v, 0) - a;
    if (F0 >= 0) return -F0 / slope;
    const double noise = 2e-15 * (std::abs(a) + 50);
    double lo = 0, hi = std::numeric_limits<double>::infinity();
    double Wp = 0, Fp = F0;
    double W = -F0 / slope;
    for (int i = 0; i < 100; ++i) {
        const double F = Enthalpy(v, W) - a - c * W;
        if (std::abs(F) <= noise) return W;
        (F < 0 ? lo : hi) = W;
        double next;
        if (std::abs(W - Wp) > 1e-8 * (std::abs(W) + 1e-12)) {
            next = W - F * (W - Wp) / (F - Fp); // the secant step with one division
            slope = (F - Fp) / (W - Wp);
        } else {
            next = W - F / slope;
        }
        const bool fast = std::abs(F) <= 0.1 * std::abs(Fp);
        if (!(next > lo && next < hi)) next = std::isfinite(hi) ? 0.5 * (lo + hi) : 2 * W;
        // Superlinear convergence: after a step this short the rest is round-off.
        if (fast && std::abs(next - W) <= 1e-12 * std::abs(next) + 1e-18) return next;
        if (std::isfinite(hi) && hi - lo <= 1e-15 * hi) return 0.5 * (lo + hi);
        Wp = W;
        Fp = F;
        W = next;
    }
    Fail(psNoConvergence);
}

double TCore::SolveT(double h, double W, double guessT) const {
    // Newton with the analytic heat capacity; h rises monotonically with T (dry air needs only its own
    // virial coefficients). A step leaves an error of about |h''/2h'|·step², and |h''/2h'| stays below
    // 0.04 /K wherever vapour of this humidity ratio can exist (1e-4 /K at ordinary pressures): after
    // a step below 1e-6 K the rest is below 1e-13 K.
    double T = std::isfinite(guessT) ? guessT : T0 + (h - 2501 * W) / (1.006 + 1.86 * W);
    const double lo = kTMin - 30, hi = kTMax + 30;
    T = std::clamp(T, lo, hi);
    for (int i = 0; i < 60; ++i) {
        const TMixture m = MixtureW(W == 0 ? DryAirVirials(T) : Virials(T), FPa, W, true);
        const double Tn = std::clamp(T - (m.h - h) / m.cp, lo, hi);
        const bool done = std::abs(Tn - T) <= 1e-6;
        T = Tn;
        if (done) return T;
    }
    Fail(psNoConvergence);
}

double TCore::SolveDewBranch(double pw, bool ice, const TPoint* hint, const TPoint* hint2) const {
    // Solves ln pws(T) + ln f(T) = ln pw by Newton steps on the enhancement factor: the costly f enters
    // as the model ln f ≈ ln f(Tr) + (d ln f/dT)(Tr)·(T − Tr) about the latest point Tr, and the cheap
    // pws part is solved exactly under each model. The model errs by ½·(ln f)''·ΔT², so once that,
    // with (ln f)'' taken from the change of slope between the last two points, is below 2e-10 K the
    // step is taken without a further evaluation. Hints (points with f at this pressure, the nearer
    // first) seed the first model: the nearer one's slope, a quadratic when a second point is at
    // hand, or the secant through the two when the slope is not.
    const double L = std::log(pw);
    const double curvatureFloor = 1e-6 * std::max(1.0, FPa / 101325);
    // One Newton step of InvertBranch from a point whose ln pws is known.
    const auto stepFrom = [](double Lm, double s, double Tp, const TSatPressure& ps) {
        return 1 / (1 / Tp + (ps.lnp - Lm) / ((ps.dlnp + s) * Tp * Tp));
    };
    double Tr = kNaN, lnfr = 0, sr = 0, cr = 0; // model point, ln f, slope, half the 2nd derivative
    double T;
    if (hint) {
        Tr = hint->T;
        lnfr = hint->sat.lnf;
        sr = hint->sat.dlnf;
        // Hints over the other condensed phase have another f: they only start the search.
        if (hint2 && hint->sat.ice == ice && hint2->sat.ice == ice && std::abs(hint2->T - Tr) > 1e-3) {
            const double d = hint2->T - Tr, dl = hint2->sat.lnf - lnfr;
            if (hint->sat.hasSlope)
                cr = (dl - sr * d) / (d * d);
            else
                sr = dl / d;
        }
        const double start = hint->sat.ice == ice ? stepFrom(L - lnfr, sr, Tr, hint->sat.ps) : Tr;
        T = InvertBranch(L - lnfr, sr, Tr, ice, start, cr);
    } else {
        T = InvertBranch(L, 0, 0, ice, BranchStart(L, ice));
    }
    for (int k = 0; k < 30; ++k) {
        if (T < kDewMin) return T;
        const TSaturation st = Saturation(T, FPa, Virials(std::max(T, TVirialMin)), ice);
        const double lnf = st.lnf;
        const double curvature =
            std::isfinite(Tr) && std::abs(T - Tr) > 1e-6 ? std::abs(st.dlnf - sr) / std::abs(T - Tr) : 0;
        Tr = T;
        lnfr = lnf;
        sr = st.dlnf;
        const double Tn = InvertBranch(L - lnfr, sr, Tr, ice, stepFrom(L - lnfr, sr, Tr, st.ps));
        const double dT = std::abs(Tn - T);
        if (dT <= 1e-12 || 1.5 * std::max(curvature, curvatureFloor) * dT * dT / (st.ps.dlnp + sr) <= 2e-10)
            return Tn;
        T = Tn;
    }
    Fail(psNoConvergence);
}

double TCore::DewPoint(double pw, const TPoint* hint, const TPoint* hint2) const {
    if (!(pw > 0)) return kDewMin;
    bool ice = pw < Pt * (hint ? hint->sat.f : 1.0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double T = SolveDewBranch(pw, ice, hint, hint2);
        if (T <= kDewMin) return kDewMin;
        if (IsIce(T) == ice) return T;
        ice = !ice;
    }
    // Between the two branches at the triple point (their enhancement factors differ by ~1e-4).
    return Tt;
}

double TCore::WetBulb(const TPoint& t, double W, double h, double td) const {
    // Energy balance of the adiabatic saturator, G(b) = h − hs(b) + (Ws(b) − W)·hw(b) = 0, decreasing
    // in b on each branch of the condensed phase and bracketed by the dew point and the dry bulb.
    // Where both a water and an ice solution exist near 0 °C the water one is taken, as the
    // Handbook does (ice only below the triple point).
    const double hi = t.CanSaturate() ? t.T : std::min(t.T, BoilingPoint() * (1 - 1e-12));
    const double lo = std::min(std::max(td, kDewMin), hi);
    const double cpa = 1.006 + 1.86 * W;
    // Start: a quadratic through G at the dry bulb (with its slope; both cheap from point t) and
    // G(td) ≈ cp·(t − td), the sensible heat between dry bulb and dew point.
    double x0 = 0.5 * (lo + hi);
    if (hi == t.T && hi > lo) {
        const bool ice = IsIce(hi);
        const double hs = MixtureW(t.v, FPa, t.Ws).h,
                     hw = ice ? IceEnthalpy(hi, t.sat.ps) : LiquidEnthalpy(hi, t.sat.ps);
        const double G = h - hs + (t.Ws - W) * hw;
        const double xws = t.sat.xws;
        const double dWs = Eps / ((1 - xws) * (1 - xws)) * xws * t.sat.ps.dlnp;
        const double S = -(cpa + (t.v.hw0 / Mw / 1000 - hw) * dWs - (t.Ws - W) * (ice ? 2.1 : 4.19));
        const double d = lo - hi;
        const double c = (cpa * (hi - lo) - G - S * d) / (d * d);
        const double disc = S * S - 4 * c * G;
        const double u = disc >= 0 && S - std::sqrt(disc) != 0 ? -2 * G / (S - std::sqrt(disc)) : -G / S;
        if (std::isfinite(u)) x0 = std::clamp(hi + u, lo, hi);
    }
    // Along a wet-bulb line W changes by about cp/hfg ≈ 4e-4 per kelvin: the tolerance keeps the
    // humidity ratio it implies within 1e-9 of W even for the driest air.
    const double tol = std::clamp(2.5e-6 * W, 1e-13, 2e-9);
    auto solveOn = [&](double a, double b, bool ice, double& root) {
        auto G = [&](double x) {
            const TWetLine wl = MakeWetLine(*this, x, ice, FPa, false);
            // Slope estimate: −(cp + (hv − hw)·dWs/db − (Ws − W)·cw) on ideal-gas terms.
            const double xws = wl.pt.sat.xws;
            const double dWs = Eps / ((1 - xws) * (1 - xws)) * xws * wl.pt.sat.ps.dlnp;
            const double hv = wl.pt.v.hw0 / Mw / 1000;
            const double slope = -(cpa + (hv - wl.hw) * dWs - (wl.pt.Ws - W) * (ice ? 2.1 : 4.19));
            // Scaled by the saturation mole fraction of air, which keeps G finite towards the boiling
            // point (Ws → ∞) without moving its root.
            const double xas = 1 - xws;
            return TEval{xas * (h - wl.A() - wl.hw * W), xas * slope};
        };
        return SolveMonotone(G, a, b, std::clamp(x0, a, b), tol, false, root);
    };
    double b = 0;
    if (t.T < Tt || lo >= Tt) {
        if (!solveOn(lo, hi, IsIce(hi), b)) Fail(psNoConvergence);
        return b;
    }
    if (solveOn(Tt, hi, false, b)) return b;
    if (!solveOn(lo, Tt, true, b)) Fail(psNoConvergence);
    return b;
}

bool TCore::CheckSaturation(const TPoint& t, double& W) const {
    if (!t.CanSaturate()) return false;
    if (W > t.Ws + SatWindow(t.Ws)) Fail(psSupersaturated);
    if (W >= t.Ws - SatWindow(t.Ws)) {
        W = std::min(W, t.Ws);
        return true;
    }
    return false;
}

bool TCore::ClearlyUnsaturated(double T, double W) const {
    // The enhancement factor is at least 1 across the formulation's range (it approaches 1 as the
    // total pressure falls to the vapour's), so Ws is at least the humidity ratio of pws/P; the margin
    // leaves room for round-off in f far beyond the saturation window.
    const TSatPressure ps = SatPressure(T);
    if (ps.p >= FPa) return true; // air cannot saturate here
    return W < (1 - 1e-6) * HumidityRatio(ps.p / FPa) - kSatSlackW;
}

void TCore::FillTW(TAirState& r, double T, double tC, double W, double knownB, double knownD) const {
    if (WantsTW() && ClearlyUnsaturated(T, W)) {
        if (FWant != TWant::Enthalpy) return FillPair(r, tC, W, nullptr);
        const TVirials v = W == 0 ? DryAirVirials(T) : Virials(T);
        return FillPair(r, tC, W, &v);
    }
    TPoint p = At(T);
    p.tC = tC;
    const bool saturated = CheckSaturation(p, W);
    Fill(r, p, W, saturated, knownB, knownD);
}

void TCore::FillPair(TAirState& r, double tC, double W, const TVirials* v) const {
    r.Pressure = FP;
    r.DryBulb = tC;
    r.Humidity = W;
    if (FWant == TWant::Enthalpy) r.Enthalpy = Enthalpy(*v, W);
}

void TCore::Fill(TAirState& r, const TPoint& t, double W, bool saturated, double knownB, double knownD,
                 const TPoint* near) const {
    if (WantsTW()) return FillPair(r, t.tC, W, &t.v);
    r.Pressure = FP;
    r.DryBulb = t.tC;
    r.Humidity = W;
    if (FWant == TWant::State) {
        const TMixture m = MixtureW(t.v, FPa, W, true);
        r.Enthalpy = m.h;
        r.SpecificVolume = m.v;
        r.Density = (1 + W) / m.v;
        r.AbsoluteHumidity = W / m.v;
        r.SpecificHeat = m.cp;
        r.VapourPressure = MoleFraction(W) * FP;
        r.SatPressure = t.sat.ps.p / 1000;
        r.MassShare = 0;
    }
    if (saturated) {
        r.RelHumidity = 1;
        r.DegreeOfSaturation = 1;
        r.DewPoint = r.DryBulb;
        r.WetBulb = r.DryBulb;
        return;
    }
    const double xw = MoleFraction(W);
    r.RelHumidity = xw / t.sat.xws;
    r.DegreeOfSaturation = t.CanSaturate() ? W / t.Ws : 0;
    double td;
    if (std::isnan(knownD)) {
        td = DewPoint(xw * FPa, near ? near : &t, near ? &t : nullptr);
        r.DewPoint = td - T0;
    } else {
        td = knownD + T0;
        r.DewPoint = knownD;
    }
    if (FWant == TWant::DewPoint) return;
    if (!std::isnan(knownB))
        r.WetBulb = knownB;
    else
        r.WetBulb = WetBulb(t, W, FWant == TWant::State ? r.Enthalpy : Enthalpy(t.v, W), td) - T0;
}

} // namespace aerix
