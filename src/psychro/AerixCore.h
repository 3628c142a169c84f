#pragma once
// Inner workings of the property library: states at one total pressure from the real-gas
// formulation, with the solvers for dew point, wet bulb and the implicit pairs.

#include "psychro/Aerix43.h"
#include "psychro/RealGasMoistAir.h"

#include <cstdint>
#include <limits>

namespace aerix {

// A failed computation; carries its PsyStatus code up to the entry point.
struct TFail {
    std::int32_t Code;
};
[[noreturn]] inline void Fail(std::int32_t code) {
    throw TFail{code};
}

inline constexpr double kTMin = realgas::T0 - 100;   // K, lowest dry bulb (wet bulbs may go to kDewMin)
inline constexpr double kTMax = realgas::T0 + 200;   // K, highest dry bulb
inline constexpr double kDewMin = realgas::T0 - 150; // K, floor of the reported dew/frost point
inline constexpr double kPMax = 5000;                // kPa, top of the formulation
// Humidity ratios within kSatSlack·Ws + kSatSlackW of saturation count as saturated (round-off of
// computed states; the absolute part covers the driest saturated air, where h resolves W no finer).
inline constexpr double kSatSlack = 1e-9;
inline constexpr double kSatSlackW = 1e-15; // kg/kg
// The humidity-ratio window of saturation at Ws.
inline double SatWindow(double Ws) {
    return kSatSlack * Ws + kSatSlackW;
}

// What a computation is for: the whole state (SetState) or one of its fields (the scalar functions).
// The solvers then skip what that field does not need, on the same path and with the same checks.
enum class TWant : std::uint8_t { State, DryBulb, WetBulb, Enthalpy, Humidity, DewPoint };

// Everything that depends on temperature alone at the solver's pressure.
struct TPoint {
    double T = 0;        // K
    double tC = 0;       // °C, exactly as given when the point came from an input
    realgas::TVirials v; // at T
    realgas::TSaturation sat;
    double Ws = 0; // saturation humidity ratio; 0 where the mixture cannot saturate
    bool CanSaturate() const { return sat.CanSaturate(); }
};

// The saturated end of a wet-bulb line: the state of air that left the adiabatic saturator at b.
struct TWetLine {
    TPoint pt;     // at b, condensed phase as the line uses it
    double hs = 0; // kJ/kg dry air, saturated at b
    double hw = 0; // kJ/kg, enthalpy of the condensed water at b
    // Energy balance h + (Ws − W)·hw = hs as h = A + hw·W.
    double A() const { return hs - pt.Ws * hw; }
};

class TCore {
public:
    explicit TCore(double PkPa, TWant want = TWant::State)
        : FP(PkPa)
        , FPa(PkPa * 1000)
        , FWant(want) {}
    double P() const { return FP; }
    // The wanted field is a function of dry bulb and humidity ratio alone (neither saturation nor a
    // further solve enters it).
    bool WantsTW() const {
        return FWant == TWant::DryBulb || FWant == TWant::Enthalpy || FWant == TWant::Humidity;
    }

    // withSlope adds d ln f/dT, which the dew-point search takes from its hints. By default a point
    // has it when the state's dew point is wanted (directly, or as the wet bulb's bracket); a point
    // that seeds another search asks for it explicitly.
    TPoint At(double T) const { return At(T, WantsDewPoint()); }
    TPoint At(double T, bool withSlope) const { return AtPhase(T, realgas::IsIce(T), withSlope); }
    TPoint AtPhase(double T, bool ice, bool withSlope) const;
    // A point from a temperature in °C, which the state then reports unchanged.
    TPoint AtC(double tC) const { return AtC(tC, WantsDewPoint()); }
    TPoint AtC(double tC, bool withSlope) const {
        TPoint p = At(tC + realgas::T0, withSlope);
        p.tC = tC;
        return p;
    }
    // Wet-bulb line at b (K); bC, when given, is b in °C as the caller had it.
    TWetLine WetLine(double b, double bC = std::numeric_limits<double>::quiet_NaN()) const;

    double Enthalpy(const realgas::TVirials& v, double W) const; // kJ/kg dry air
    double Density(const realgas::TVirials& v, double W) const;  // kg moist air / m³
    // Humidity ratio at the dry bulb of v on the straight line h = a + c·W.
    double SolveW(const realgas::TVirials& v, double a, double c) const;
    // Dry bulb (K) with enthalpy h at humidity ratio W.
    double SolveT(double h, double W, double guessT) const;
    // Temperature (K) at which f·pws reaches pw (Pa): the dew (frost) point of vapour at partial
    // pressure pw, or the dry bulb at which that partial pressure is saturation. Floored at kDewMin.
    // Hints: points at this pressure whose enhancement factors seed the search (the nearer first).
    double DewPoint(double pw, const TPoint* hint, const TPoint* hint2 = nullptr) const;
    // Thermodynamic wet bulb (K) of air at point t with humidity ratio W, enthalpy h, dew point td.
    double WetBulb(const TPoint& t, double W, double h, double td) const;
    // Boiling point (K) at this pressure: where pws reaches P.
    double BoilingPoint() const { return realgas::SatTemperature(FPa); }

    // Fills the wanted fields (every field for a whole state, else the one and those it comes with)
    // from the dry bulb point and humidity ratio. Saturated states get their exact relations (RH = 1, dew
    // point = wet bulb = dry bulb); known wet bulb and dew point (°C, NaN when unknown) are carried instead
    // of re-solved. `near` is a point closer to the dew point than t (the wet bulb's), when at hand.
    void Fill(TAirState& r, const TPoint& t, double W, bool saturated, double knownB, double knownD,
              const TPoint* near = nullptr) const;
    // Holds humidity ratio W against saturation at point t: fails (psSupersaturated) above it by more
    // than SatWindow, returns true when W counts as saturated (and then clips it to Ws).
    bool CheckSaturation(const TPoint& t, double& W) const;
    // Fills the state at dry bulb T (K; tC in °C as the caller had it) and humidity ratio W after
    // holding W against saturation. When the wanted field depends on (T, W) alone and the saturation
    // pressure shows W clearly below saturation, the enhancement factor is not computed (nor, for the
    // dry bulb and the humidity ratio, the virial coefficients).
    void FillTW(TAirState& r, double T, double tC, double W, double knownB, double knownD) const;

private:
    double SolveDewBranch(double pw, bool ice, const TPoint* hint, const TPoint* hint2) const;
    // The fields of the pair (dry bulb tC, humidity ratio W) alone: all that a scalar dry bulb,
    // humidity ratio or enthalpy needs (v, the virial coefficients at the dry bulb, only for the last).
    void FillPair(TAirState& r, double tC, double W, const realgas::TVirials* v) const;
    // W lies below saturation at T by more than SatWindow whatever the enhancement factor.
    bool ClearlyUnsaturated(double T, double W) const;
    bool WantsDewPoint() const {
        return FWant == TWant::State || FWant == TWant::DewPoint || FWant == TWant::WetBulb;
    }

    double FP;  // kPa
    double FPa; // Pa
    TWant FWant;
};

} // namespace aerix
