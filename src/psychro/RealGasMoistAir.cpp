#include "psychro/RealGasMoistAir.h"

#include <algorithm>
#include <cmath>

namespace realgas {

namespace {

constexpr double kInvR = 1 / R;

// Σ a[i]·u^i with u = 1/T, and its first and second temperature derivatives (Horner forms).
template <int N>
TCoef InversePowers(const double (&a)[N], double u) {
    double v = a[N - 1], s1 = (N - 1) * a[N - 1], s2 = (N - 1) * N * a[N - 1];
    for (int i = N - 2; i >= 0; --i) {
        v = v * u + a[i];
        if (i >= 1) {
            s1 = s1 * u + i * a[i];
            s2 = s2 * u + i * (i + 1) * a[i];
        }
    }
    // s1 = Σ i·a[i]·u^(i−1), s2 = Σ i(i+1)·a[i]·u^(i−1) over i ≥ 1.
    return {v, -u * u * s1, u * u * u * s2};
}

} // namespace

TSatPressure LnSatPressureWater(double T) {
    // Wagner & Pruss (1993): ln(p/pc) = (Tc/T)·Σ ai·ϑ^ei, ϑ = 1 − T/Tc.
    constexpr double Tc = 647.096, lnpc = 16.90945787901522; // ln(22.064e6 Pa)
    constexpr double a1 = -7.85951783, a2 = 1.84408259, a3 = -11.7866497, a4 = 22.6807411, a5 = -15.9618719,
                     a6 = 1.80122502;
    const double u = 1 / T;
    const double th = std::max(1 - T * (1 / Tc), 1e-12);
    const double r = std::sqrt(th);
    const double th2 = th * th, th3 = th2 * th, th6 = th3 * th3;
    const double S = a1 * th + a2 * th * r + a3 * th3 + a4 * th3 * r + a5 * th3 * th + a6 * th6 * th * r;
    const double dS =
        a1 + 1.5 * a2 * r + 3 * a3 * th2 + 3.5 * a4 * th2 * r + 4 * a5 * th3 + 7.5 * a6 * th6 * r;
    const double lnr = Tc * u * S;
    return {0, -(lnr + dS) * u, lnpc + lnr};
}

TSatPressure LnSatPressureIce(double T) {
    // Wagner, Riethmann, Feistel & Harvey (2011): ln(p/pt) = Σ ai·θ^(bi − 1), θ = T/Tt.
    constexpr double a1 = -0.212144006e2, a2 = 0.273203819e2, a3 = -0.610598130e1;
    constexpr double b1 = 0.333333333e-2, b2 = 0.120666667e1, b3 = 0.170333333e1;
    constexpr double lnpt = 6.416171667880966; // ln(611.657 Pa)
    const double lt = std::log(T / Tt);
    const double q1 = a1 * std::exp((b1 - 1) * lt), q2 = a2 * std::exp((b2 - 1) * lt),
                 q3 = a3 * std::exp((b3 - 1) * lt);
    const double lnr = q1 + q2 + q3;
    const double dln = ((b1 - 1) * q1 + (b2 - 1) * q2 + (b3 - 1) * q3) / T;
    return {0, dln, lnpt + lnr};
}

TSatPressure SatPressureWater(double T) {
    TSatPressure s = LnSatPressureWater(T);
    s.p = std::exp(s.lnp);
    return s;
}

TSatPressure SatPressureIce(double T) {
    TSatPressure s = LnSatPressureIce(T);
    s.p = std::exp(s.lnp);
    return s;
}

double SatTemperature(double p) {
    // Newton in 1/T, where ln p is nearly linear; the start is a two-point Clausius-Clapeyron fit of
    // each branch, so three or four steps reach full precision.
    const double L = std::log(p);
    const bool ice = p < Pt;
    const double A = ice ? 28.894 : 25.49, B = ice ? 6140.0 : 5210.0;
    double u = (A - L) / B;
    const double uMin = 1 / 640.0, uMax = 1 / 50.0;
    u = std::clamp(u, uMin, uMax);
    for (int i = 0; i < 40; ++i) {
        const double T = 1 / u;
        const TSatPressure s = ice ? LnSatPressureIce(T) : LnSatPressureWater(T);
        const double F = s.lnp - L;
        const double du = F / (s.dlnp * T * T); // dF/du = −dlnp/dT·T²
        const double un = std::clamp(u + du, uMin, uMax);
        const bool done = std::abs(un - u) <= 1e-9 * u; // quadratic convergence: un is exact
        u = un;
        if (done) break;
    }
    double T = 1 / u;
    // The liquid curve starts 1e-7 above the ice curve's end: pressures in between belong to Tt.
    if (!ice && T < Tt) T = Tt;
    if (ice && T > Tt) T = Tt;
    return T;
}

double IceEnthalpy(double T, const TSatPressure& ps) {
    // Hyland & Wexler (1983), saturated ice, J/kg.
    const double h = -0.647595e6 + T * (0.274292e3 + T * (0.2910583e1 + T * 0.1083437e-2)) + 0.107e-2 * ps.p;
    return h / 1000;
}

double IceEnthalpy(double T) {
    return IceEnthalpy(T, SatPressureIce(T));
}

namespace {

// Hyland & Wexler (1983): density of saturated liquid water, kg/m³.
double LiquidDensity(double T) {
    return (-0.2403360201e4 +
            T * (-0.140758895e1 +
                 T * (0.1068287657 + T * (-0.2914492351e-3 + T * (0.373497936e-6 - T * 0.21203787e-9))))) /
           (-0.3424442728e1 + 0.1619785e-1 * T);
}

// Specific volume of saturated ice, m³/kg.
double IceVolume(double T) {
    return 0.1070003e-2 + T * (-0.249936e-7 + 0.371611e-9 * T);
}

// T·v·dp/dT of the saturated liquid, J/kg.
double LiquidBeta(double T, const TSatPressure& s) {
    return T / LiquidDensity(T) * s.dlnp * s.p;
}

} // namespace

double LiquidEnthalpy(double T, const TSatPressure& ps) {
    // Hyland & Wexler (1983): h = α + β − β(Tt), J/kg, zero at the triple point.
    double alpha;
    if (T < 373.125) {
        alpha = -0.11411380e7 +
                T * (0.41930463e4 + T * (-0.8134865e-1 + T * (0.1451133e-3 + T * -0.1005230e-6))) +
                -0.563473e3 * std::exp(-0.036 * (T - Tt) * 2.302585092994046);
    } else {
        alpha = -0.1141837121e7 +
                T * (0.4194325677e4 + T * (-0.6908894163e-1 + T * (0.105555302e-3 + T * -0.7111382234e-7)));
        if (T > 403.128) alpha -= 0.6059e-3 * std::pow(T - 403.128, 3.1);
    }
    static const double beta0 = LiquidBeta(Tt, SatPressureWater(Tt));
    return (alpha + LiquidBeta(T, ps) - beta0) / 1000;
}

double LiquidEnthalpy(double T) {
    return LiquidEnthalpy(T, SatPressureWater(T));
}

namespace {

// u = 1/T: every derivative below is taken with it rather than by dividing by T again.
TVirials DryAirVirials(double T, double u) {
    // Dry air, Hyland & Wexler (1983).
    static constexpr double baa[] = {0.349568e-4, -0.668772e-2, -0.210141e1, 0.924746e2};
    static constexpr double caaa[] = {0.125975e-8, -0.190905e-6, 0.632467e-4};
    // Every member named, so that the record is written once rather than cleared first.
    return TVirials{
        .T = T,
        .invT = u,
        .Baa = InversePowers(baa, u),
        .Baw = {},
        .Bww = {},
        .Caaa = InversePowers(caaa, u),
        .Caaw = {},
        .Caww = {},
        .Cwww = {},
        // Ideal-gas enthalpy, Hyland & Wexler (1983), J/mol.
        .ha0 = -0.79078691e4 +
               T * (0.28709015e2 +
                    T * (0.26431805e-2 + T * (-0.10405863e-4 + T * (0.18660410e-7 - 0.97843331e-11 * T)))),
        .cpa0 =
            0.28709015e2 + T * (2 * 0.26431805e-2 +
                                T * (3 * -0.10405863e-4 + T * (4 * 0.18660410e-7 - 5 * 0.97843331e-11 * T))),
        .hw0 = 0,
        .cpw0 = 0,
    };
}

} // namespace

TVirials DryAirVirials(double T) {
    return DryAirVirials(T, 1 / T);
}

TVirials Virials(double T) {
    const double u = 1 / T, u2 = u * u;
    TVirials v = DryAirVirials(T, u);
    // Air-water cross coefficients: Baw of Harvey & Huang (2007), Caaw and Caww of Hyland & Wexler.
    {
        static constexpr double c[] = {66.5687e-6, -238.834e-6, -176.755e-6};
        static constexpr double d[] = {-0.237, -1.048, -3.183};
        const double lt = std::log(T / 100);
        for (int i = 0; i < 3; ++i) {
            const double term = c[i] * std::exp(d[i] * lt);
            v.Baw.v += term;
            v.Baw.d1 += d[i] * term * u;
            v.Baw.d2 += d[i] * (d[i] - 1) * term * u2;
        }
    }
    static constexpr double caaw[] = {0.482737e-9, 0.105678e-6, -0.656394e-4, 0.294442e-1, -0.319317e1};
    v.Caaw = InversePowers(caaw, u);
    {
        static constexpr double m[] = {-0.10728876e2, 0.347802e4, -0.383383e6, 0.33406e8};
        const TCoef E = InversePowers(m, u);
        const double g = -1e-6 * std::exp(E.v);
        v.Caww = {g, g * E.d1, g * (E.d2 + E.d1 * E.d1)};
    }
    // Water vapour, Hyland & Wexler (1983): pressure-series coefficients B' (1/Pa) and C' (1/Pa²),
    // Bww = RT·B', Cwww = (RT)²·(C' + B'²).
    {
        const double eb = 0.147184e-8 * std::exp(1734.29 * u);
        const double ec = 0.335297e-17 * std::exp(3645.09 * u);
        const double T2 = T * T, u3 = u2 * u, u4 = u2 * u2;
        const TCoef Bp = {0.70e-8 - eb, eb * 1734.29 * u2, -eb * 1734.29 * (2 * u3 + 1734.29 * u4)};
        const TCoef Cp = {0.104e-14 - ec, ec * 3645.09 * u2, -ec * 3645.09 * (2 * u3 + 3645.09 * u4)};
        v.Bww = {R * T * Bp.v, R * (Bp.v + T * Bp.d1), R * (2 * Bp.d1 + T * Bp.d2)};
        const TCoef G = {Cp.v + Bp.v * Bp.v, Cp.d1 + 2 * Bp.v * Bp.d1,
                         Cp.d2 + 2 * Bp.d1 * Bp.d1 + 2 * Bp.v * Bp.d2};
        const double R2 = R * R;
        v.Cwww = {R2 * T2 * G.v, 2 * R2 * T * G.v + R2 * T2 * G.d1,
                  2 * R2 * G.v + 4 * R2 * T * G.d1 + R2 * T2 * G.d2};
    }
    // Ideal-gas enthalpy of water vapour, Hyland & Wexler (1983), J/mol.
    v.hw0 = 35994.17 + -0.5008e-2 +
            T * (0.32491829e2 +
                 T * (0.65576345e-2 + T * (-0.26442147e-4 + T * (0.51751789e-7 - 0.31541624e-10 * T))));
    v.cpw0 = 0.32491829e2 + T * (2 * 0.65576345e-2 +
                                 T * (3 * -0.26442147e-4 + T * (4 * 0.51751789e-7 - 5 * 0.31541624e-10 * T)));
    return v;
}

namespace {

// A value with its temperature derivative, for the enhancement factor's d ln f/dT.
struct TDual {
    double v = 0, d = 0;
};
TDual operator+(TDual a, TDual b) {
    return {a.v + b.v, a.d + b.d};
}
TDual operator-(TDual a, TDual b) {
    return {a.v - b.v, a.d - b.d};
}
TDual operator*(TDual a, TDual b) {
    return {a.v * b.v, a.d * b.v + a.v * b.d};
}
TDual operator+(TDual a, double b) {
    return {a.v + b, a.d};
}
TDual operator+(double a, TDual b) {
    return {a + b.v, b.d};
}
TDual operator-(TDual a, double b) {
    return {a.v - b, a.d};
}
TDual operator-(double a, TDual b) {
    return {a - b.v, -b.d};
}
TDual operator*(TDual a, double b) {
    return {a.v * b, a.d * b};
}
TDual operator*(double a, TDual b) {
    return {a * b.v, a * b.d};
}
TDual operator/(double a, TDual b) {
    return {a / b.v, -a * b.d / (b.v * b.v)};
}
TDual exp(TDual a) {
    const double e = std::exp(a.v);
    return {e, e * a.d};
}
TDual sqrt(TDual a) {
    const double r = std::sqrt(a.v);
    return {r, a.d / (2 * r)};
}

// Henry's constant of air in water, 1/Pa (Hyland & Wexler after Himmelblau, 78 % N2, 22 % O2).
template <class N>
N HenryConstant(N T) {
    using std::exp;
    using std::sqrt;
    const auto gas = [T](double al, double be, double ga, double de, double ep) {
        const N tau = 1000 / T;
        const double a2 = al;
        const N a1 = ga * tau + de, a0 = be * tau * tau + ep * tau - 1.0;
        return exp((-1.0 * a1 - sqrt(a1 * a1 - 4 * a2 * a0)) * (2.302585092994046 / (2 * a2)));
    };
    const N kO2 = gas(-0.0005943, -0.1470, -0.05120, -0.1076, 0.8447);
    const N kN2 = gas(-0.1021, -0.1482, -0.019, -0.03741, 0.851);
    return (0.22 / kO2 + 0.78 / kN2) * (1e-4 / 101325);
}

// Isothermal compressibility of the condensed phase, 1/Pa: ice (Hyland & Wexler), liquid (Kell 1975).
TDual Compressibility(double T, bool ice) {
    if (ice) return {(8.875 + 0.0165 * T) * 1e-11, 0.0165e-11};
    const double t = T - T0;
    const double n =
        50.88496 +
        t * (0.6163813 + t * (1.459187e-3 + t * (20.08438e-6 + t * (-58.47727e-9 + t * 0.4104110e-9))));
    const double dn = 0.6163813 + t * (2 * 1.459187e-3 +
                                       t * (3 * 20.08438e-6 + t * (4 * -58.47727e-9 + t * 5 * 0.4104110e-9)));
    const double den = 1 + 0.1967348e-1 * t;
    return {n / den * 1e-11, (dn * den - n * 0.1967348e-1) / (den * den) * 1e-11};
}

// Molar volume of the saturated condensed phase, m³/mol, with its temperature derivative.
TDual CondensedVolume(double T, bool ice) {
    if (ice) return {IceVolume(T) * Mw, (-0.249936e-7 + 2 * 0.371611e-9 * T) * Mw};
    const double n =
        -0.2403360201e4 +
        T * (-0.140758895e1 +
             T * (0.1068287657 + T * (-0.2914492351e-3 + T * (0.373497936e-6 - T * 0.21203787e-9))));
    const double dn =
        -0.140758895e1 + T * (2 * 0.1068287657 +
                              T * (3 * -0.2914492351e-3 + T * (4 * 0.373497936e-6 - T * 5 * 0.21203787e-9)));
    const double den = -0.3424442728e1 + 0.1619785e-1 * T;
    const double rho = n / den, drho = (dn * den - n * 0.1619785e-1) / (den * den);
    return {Mw / rho, -Mw * drho / (rho * rho)};
}

} // namespace

namespace {

TDual Dual(const TCoef& c, bool held) {
    return {c.v, held ? 0.0 : c.d1};
}

// Coefficients a0, a2, a3, a4 of Hyland & Wexler's ln f = L(x) without Henry's term, expanded into a
// quartic in the saturation mole fraction of air x; in TDual arithmetic they carry d/dT.
template <class N>
void LnfCoefficients(N vc, N kappa, N beta, N p, N baa, N baw, N bww, N caaa, N caaw, N caww, N cwww,
                     double P, N (&a)[5]) {
    const N r = P * beta, q = P * P * beta * beta;
    const N c0 = vc * beta * ((1.0 + kappa * p) * (P - p) - 0.5 * kappa * (P * P - p * p)) -
                 (P - p) * beta * bww - 0.5 * p * p * beta * beta * (bww * bww - cwww);
    const N qc = q * cwww, qbb = q * bww * bww, qab = q * baa * bww, qaw = q * baa * baw, qwa = q * bww * baw,
            qaa = q * baa * baa, qww = q * baw * baw;
    a[0] = c0 - 0.5 * qc + 0.5 * qbb;
    a[1] = N{};
    a[2] = r * (baa - 2.0 * baw + bww) + 1.5 * q * caaw - 3.0 * q * caww + 1.5 * qc - qab + 6.0 * qwa -
           2.0 * qww - 3.0 * qbb;
    a[3] = q * caaa - 3.0 * q * caaw + 3.0 * q * caww - qc + 4.0 * qab - 4.0 * qaw - 12.0 * qwa + 8.0 * qww +
           4.0 * qbb;
    a[4] = -3.0 * qab + 6.0 * qaw + 6.0 * qwa - 1.5 * qaa - 6.0 * qww - 1.5 * qbb;
}

} // namespace

TSaturation Saturation(double T, double P, const TVirials& v, bool ice, bool withSlope) {
    TSaturation s;
    s.ice = ice;
    s.ps = ice ? SatPressureIce(T) : SatPressureWater(T);
    const double p = s.ps.p;
    if (p >= P) {
        s.f = 1;
        s.xws = p / P;
        s.hasSlope = true;
        return s;
    }
    // Hyland & Wexler's enhancement factor: ln f = L(xas), a polynomial in the saturation mole
    // fraction of air xas = 1 − f·pws/P plus Henry's term, solved for y = ln f by Newton's method
    // from one substitution step; two steps reach round-off in ordinary conditions. For the slope the
    // coefficients carry their temperature derivatives (zero where the virial fits are held).
    const double Tv = v.T;
    const bool held = Tv != T;
    double a[5];
    double kH = 0, dkH = 0;
    TDual ad[5];
    if (withSlope) {
        TDual vc = CondensedVolume(Tv, ice), kappa = Compressibility(Tv, ice);
        if (held) vc.d = kappa.d = 0;
        if (!ice) {
            const TDual k = HenryConstant(TDual{Tv, 1});
            kH = k.v;
            dkH = k.d;
        }
        LnfCoefficients(vc, kappa, 1.0 / TDual{R * Tv, held ? 0.0 : R}, TDual{p, p * s.ps.dlnp},
                        Dual(v.Baa, held), Dual(v.Baw, held), Dual(v.Bww, held), Dual(v.Caaa, held),
                        Dual(v.Caaw, held), Dual(v.Caww, held), Dual(v.Cwww, held), P, ad);
        for (int i = 0; i < 5; ++i)
            a[i] = ad[i].v;
    } else {
        // The same expressions as the values above: cold air at high pressure cancels these terms
        // heavily, and a state must not depend on whether its slope was asked for.
        if (!ice) kH = HenryConstant(Tv);
        LnfCoefficients(CondensedVolume(Tv, ice).v, Compressibility(Tv, ice).v, 1 / (R * Tv), p, v.Baa.v,
                        v.Baw.v, v.Bww.v, v.Caaa.v, v.Caaw.v, v.Caww.v, v.Cwww.v, P, a);
    }
    // Henry's term ln(1 − kH·P·x) varies by parts in 1e-9 over the iteration: linear about the start.
    const double e0 = p / P, x0 = 1 - e0;
    const double u = kH * P;
    const double h1 = -u / (1 - u * x0);
    a[0] += std::log1p(-u * x0) - h1 * x0;
    a[1] = h1;
    auto L = [&a](double x, double& dL) {
        dL = a[1] + x * (2 * a[2] + x * (3 * a[3] + x * 4 * a[4]));
        return a[0] + x * (a[1] + x * (a[2] + x * (a[3] + x * a[4])));
    };
    // Newton's method on F(y) = y − L(1 − e^y·pws/P). Its first step from y = 0 (f = 1) needs only L
    // at x0 and leaves an error of order (ln f)²·1e-2.
    double dL;
    double lnf = L(x0, dL);
    lnf /= 1 + dL * e0;
    double f = std::exp(lnf), e = e0;
    for (int i = 0; i < 20; ++i) {
        e = f * e0;
        const double F = lnf - L(1 - e, dL);
        const double d = F / (1 + dL * e);
        lnf -= d;
        // f follows ln f by exp(−d) ≈ 1 − d + d²/2 − d³/6 while d is small. The error after a step
        // is of order 1e-2·d² (quadratic convergence): done below 1e-8.
        f = std::abs(d) < 1e-3 ? f * (1 - d * (1 - d * (0.5 - d / 6))) : std::exp(lnf);
        if (std::abs(d) <= 1e-8) break;
    }
    if (withSlope) {
        // d ln f/dT = (∂L/∂T − ∂L/∂x·e·dln pws/dT)/(1 + ∂L/∂x·e), at the solution x = 1 − e.
        const double x = 1 - e;
        const double LT =
            ad[0].d + x * x * (ad[2].d + x * (ad[3].d + x * ad[4].d)) - dkH * P * x / (1 - u * x);
        s.dlnf = (LT - dL * e * s.ps.dlnp) / (1 + dL * e);
        s.hasSlope = true;
    }
    s.f = f;
    s.lnf = lnf;
    s.xws = f * e0;
    return s;
}

TSaturation Saturation(double T, double P) {
    return Saturation(T, P, Virials(std::max(T, TVirialMin)), IsIce(T));
}

namespace {

struct TMixVirials {
    TCoef B, C;
};

// The mixture's B and C with their first temperature derivatives, and the second ones (for the heat
// capacity) when withD2.
TMixVirials MixVirials(const TVirials& v, double xw, double xa, bool withD2) {
    const double a2 = xa * xa, aw = 2 * xa * xw, w2 = xw * xw;
    const double a3 = a2 * xa, a2w = 3 * a2 * xw, aw2 = 3 * xa * w2, w3 = w2 * xw;
    TMixVirials m;
    m.B.v = a2 * v.Baa.v + aw * v.Baw.v + w2 * v.Bww.v;
    m.B.d1 = a2 * v.Baa.d1 + aw * v.Baw.d1 + w2 * v.Bww.d1;
    m.C.v = a3 * v.Caaa.v + a2w * v.Caaw.v + aw2 * v.Caww.v + w3 * v.Cwww.v;
    m.C.d1 = a3 * v.Caaa.d1 + a2w * v.Caaw.d1 + aw2 * v.Caww.d1 + w3 * v.Cwww.d1;
    if (withD2) {
        m.B.d2 = a2 * v.Baa.d2 + aw * v.Baw.d2 + w2 * v.Bww.d2;
        m.C.d2 = a3 * v.Caaa.d2 + a2w * v.Caaw.d2 + aw2 * v.Caww.d2 + w3 * v.Cwww.d2;
    }
    return m;
}

// Molar density from ρ0 = P/RT = ρ·(1 + Bρ + Cρ²): the series inversion to third order in ρ0 (off
// by about (Bρ0)³, 3e-11 at sea level), then Newton steps.
double MolarDensity(double r0, double B, double C) {
    double rho = r0 * (1 - r0 * (B - r0 * (2 * B * B - C)));
    for (int i = 0; i < 20; ++i) {
        const double F = rho * (1 + rho * (B + rho * C)) - r0;
        const double dF = 1 + rho * (2 * B + 3 * rho * C);
        const double d = F / dF;
        rho -= d;
        if (std::abs(d) <= 1e-9 * rho) break; // quadratic convergence: the next step is below 1e-17
    }
    return rho;
}

constexpr double kPerKg = 1 / (Ma * 1000); // J/mol → kJ/kg

// perDry = 1/xa, moles of mixture per mole of dry air (1 + W/ε).
TMixture MixtureAt(const TVirials& v, double P, double xw, double xa, double perDry, bool withCp) {
    const double T = v.T;
    const TMixVirials m = MixVirials(v, xw, xa, withCp);
    TMixture r;
    const double rho = MolarDensity(P * kInvR * v.invT, m.B.v, m.C.v);
    const double b = m.B.v - T * m.B.d1, c = m.C.v - 0.5 * T * m.C.d1;
    const double hres = R * T * rho * (b + rho * c);
    r.rho = rho;
    r.Z = 1 + rho * (m.B.v + rho * m.C.v);
    // Per kg of dry air; xw/xa is W/ε.
    r.h = (v.ha0 + (xw * v.hw0 + hres) * perDry) * kPerKg;
    r.v = perDry / (rho * Ma);
    if (withCp) {
        // Residual enthalpy RT(bρ + cρ²) differentiated at constant P: ∂/∂T at fixed ρ plus
        // ∂/∂ρ·dρ/dT, with dρ/dT from P/R = T(ρ + Bρ² + Cρ³).
        const double dHdT = R * (b * rho + c * rho * rho) +
                            R * T * (-T * m.B.d2 * rho + 0.5 * (m.C.d1 - T * m.C.d2) * rho * rho);
        const double dHdRho = R * T * (b + 2 * c * rho);
        const double dQdT = rho * r.Z + T * rho * rho * (m.B.d1 + rho * m.C.d1);
        const double dQdRho = T * (1 + rho * (2 * m.B.v + 3 * rho * m.C.v));
        const double cpm = xa * v.cpa0 + xw * v.cpw0 + dHdT - dHdRho * dQdT / dQdRho;
        r.cp = cpm * perDry * kPerKg;
    }
    return r;
}

} // namespace

TMixture Mixture(const TVirials& v, double P, double xw, bool withCp) {
    const double xa = 1 - xw;
    return MixtureAt(v, P, xw, xa, 1 / xa, withCp);
}

TMixture MixtureW(const TVirials& v, double P, double W, bool withCp) {
    // One division on the way to the composition, which everything after it waits for.
    constexpr double kInvEps = 1 / Eps;
    const double wa = W * kInvEps, xa = Eps / (Eps + W);
    return MixtureAt(v, P, wa * xa, xa, 1 + wa, withCp);
}

} // namespace realgas
