// Entry points of the property library: edge cases, failures and their status, mixing, apparatus dew
// point, standard atmosphere.

#include "psychro/Aerix43.h"
#include "psychro/RealGasMoistAir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double P0 = 101.325;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TAirState State(double P, double x1, double x2, int mode) {
    TAirState s;
    SetState(s, P, x1, x2, mode);
    EXPECT_EQ(PsyStatus(), psOk) << "SetState(" << P << ", " << x1 << ", " << x2 << ", " << mode << ")";
    return s;
}

void ExpectAllFinite(const TAirState& s, const char* what) {
    for (int i = 0; i < TAirState::FieldCount; ++i)
        EXPECT_TRUE(std::isfinite(s[i])) << what << ": field " << i << " is " << s[i];
}

TEST(AerixState, EqualDryAndWetBulbGiveSaturatedAir) {
    for (double t : {-60.0, -30.0, 0.0, 0.005, 0.01, 25.0, 45.0, 99.0}) {
        const TAirState s = State(P0, t, t, 0);
        EXPECT_EQ(s.RelHumidity, 1) << t;
        EXPECT_EQ(s.DegreeOfSaturation, 1) << t;
        EXPECT_EQ(s.DewPoint, t) << t;
        EXPECT_EQ(s.WetBulb, t) << t;
        // The same saturated air as RH 1 at that dry bulb.
        EXPECT_EQ(s.Humidity, State(P0, t, 1.0, 3).Humidity) << t;
    }
}

TEST(AerixState, RelativeHumidityOneAtHumidityRatioGivesSaturatedAir) {
    for (double W : {1e-5, 0.001, 0.0076627, 0.02, 0.3}) {
        const TAirState s = State(P0, W, 1.0, 25);
        EXPECT_EQ(s.Humidity, W);
        EXPECT_EQ(s.RelHumidity, 1);
        EXPECT_EQ(s.DewPoint, s.DryBulb);
        EXPECT_EQ(s.WetBulb, s.DryBulb);
        // Saturated air at that dry bulb holds W.
        EXPECT_NEAR(State(P0, s.DryBulb, s.DryBulb, 0).Humidity, W, 1e-12 * W) << W;
    }
    // The Handbook's saturation humidity ratio at 10 °C brings back 10 °C.
    EXPECT_NEAR(State(P0, 0.0076627, 1.0, 25).DryBulb, 10, 0.002);
}

TEST(AerixState, ImpossibleInputFailsWithItsStatus) {
    struct TCase {
        const char* Name;
        double P, x1, x2;
        int Mode;
        std::int32_t Status;
    };
    const TCase cases[] = {
        {"wet bulb above dry bulb", P0, 20, 25, 0, psSupersaturated},
        {"wet bulb below that of dry air", P0, 25, 5, 0, psBelowDry},
        {"RH above 1", P0, 25, 1.2, 3, psSupersaturated},
        {"RH below 0", P0, 25, -0.1, 3, psBelowDry},
        {"negative humidity ratio", P0, 25, -0.001, 2, psBelowDry},
        {"humidity ratio above saturation", P0, 25, 0.05, 2, psSupersaturated},
        {"dew point above dry bulb", P0, 20, 25, 4, psSupersaturated},
        {"dew point above wet bulb", P0, 15, 16, 11, psSupersaturated},
        {"enthalpy below that of dry air", P0, 25, 10, 1, psBelowDry},
        {"enthalpy above saturation", P0, 25, 120, 1, psSupersaturated},
        {"zero pressure", 0, 25, 17, 0, psBadPressure},
        {"negative pressure", -5, 25, 17, 0, psBadPressure},
        {"pressure above the formulation", 6000, 25, 17, 0, psBadPressure},
        {"vapour pressure at the total pressure", P0, 25, P0, 5, psVapourPressure},
        {"vapour pressure above saturation", P0, 25, 5, 5, psSupersaturated},
        {"negative vapour pressure", P0, 25, -1, 5, psBelowDry},
        {"saturation beyond boiling", 70, 99, 99, 0, psVapourPressure},
        {"wet bulb at the boiling point", 70, 99.5, 99, 0, psOutOfRange},
        {"mode 6 is not in the table", P0, 25, 17, 6, psBadMode},
        {"mode 20 is not in the table", P0, 25, 17, 20, psBadMode},
        {"negative mode", P0, 25, 17, -1, psBadMode},
        {"mode past the table", P0, 25, 17, 33, psBadMode},
        {"NaN input", P0, kNaN, 17, 0, psNotFinite},
        {"infinite input", P0, 25, kInf, 2, psNotFinite},
        {"NaN pressure", kNaN, 25, 17, 0, psNotFinite},
        {"dry bulb above the range", P0, 250, 0.01, 2, psOutOfRange},
        {"dry bulb below the range", P0, -120, 0, 2, psOutOfRange},
        {"enthalpy far above the range", P0, 1e6, 0.01, 15, psOutOfRange},
        {"zero density", P0, 25, 0, 7, psOutOfRange},
        {"density above dry air's", P0, 25, 1.3, 7, psBelowDry},
        {"zero saturation pressure", P0, 0.01, 0, 26, psOutOfRange},
        {"RH and humidity ratio both zero", P0, 0, 0, 25, psUndetermined},
        {"RH zero with vapour", P0, 0.01, 0, 25, psOutOfRange},
    };
    for (const TCase& c : cases) {
        TAirState s;
        s.MassShare = 0.5; // SetState does not keep it
        SetState(s, c.P, c.x1, c.x2, c.Mode);
        EXPECT_EQ(PsyStatus(), c.Status) << c.Name;
        // The failed result: the input pressure (0 when not finite) and zeros.
        EXPECT_EQ(s.Pressure, std::isfinite(c.P) ? c.P : 0) << c.Name;
        for (int i = 1; i < TAirState::FieldCount; ++i)
            EXPECT_EQ(s[i], 0) << c.Name << ": field " << i;
        // The scalar functions fail the same way and return 0.
        EXPECT_EQ(DewPoint(c.P, c.x1, c.x2, c.Mode), 0) << c.Name;
        EXPECT_EQ(PsyStatus(), c.Status) << c.Name;
        // The next good call clears the status.
        State(P0, 25, 17, 0);
        EXPECT_EQ(PsyStatus(), psOk);
    }
}

TEST(AerixState, WetBulbAndEnthalpyAtTheTriplePointFixNoState) {
    // The liquid's enthalpy crosses zero near the triple point: there the wet-bulb line runs along
    // the enthalpy line and (wet bulb, enthalpy) cannot fix the humidity ratio.
    double lo = realgas::Tt - 0.01, hi = realgas::Tt + 0.01;
    for (int i = 0; i < 80; ++i) {
        const double m = 0.5 * (lo + hi);
        (realgas::LiquidEnthalpy(m) < 0 ? lo : hi) = m;
    }
    const double b = 0.5 * (lo + hi) - realgas::T0;
    TAirState s;
    SetState(s, P0, b, 9.5, 8);
    EXPECT_EQ(PsyStatus(), psUndetermined);
    // A little further from it the pair works again.
    const TAirState ref = State(P0, 5, 1, 0);
    const TAirState back = State(P0, ref.WetBulb, ref.Enthalpy, 8);
    EXPECT_NEAR(back.DryBulb, 5, 1e-6);
}

TEST(AerixState, ScalarFunctionsReturnTheFieldsOfTheSameState) {
    const TAirState s = State(P0, 25, 0.5, 3);
    struct TCase {
        double x1, x2;
        int Mode;
    };
    for (const TCase& c : {TCase{25, 17, 0}, TCase{25, 0.5, 3}, TCase{s.Enthalpy, s.Humidity, 15},
                           TCase{s.Humidity, 0.5, 25}, TCase{s.WetBulb, s.Density, 14}}) {
        const TAirState r = State(P0, c.x1, c.x2, c.Mode);
        EXPECT_EQ(DryBulb(P0, c.x1, c.x2, c.Mode), r.DryBulb) << c.Mode;
        EXPECT_EQ(WetBulb(P0, c.x1, c.x2, c.Mode), r.WetBulb) << c.Mode;
        EXPECT_EQ(Humidity(P0, c.x1, c.x2, c.Mode), r.Humidity) << c.Mode;
        EXPECT_EQ(Enthalpy(P0, c.x1, c.x2, c.Mode), r.Enthalpy) << c.Mode;
        EXPECT_EQ(DewPoint(P0, c.x1, c.x2, c.Mode), r.DewPoint) << c.Mode;
        EXPECT_EQ(PsyStatus(), psOk);
        EXPECT_EQ(r.MassShare, 0);
    }
}

// The scalar functions decide from the saturation pressure alone that air is clearly unsaturated,
// which holds because the enhancement factor is at least 1 (so Ws is at least the humidity ratio of
// pws/P) everywhere in the range; near saturation they take SetState's own check.
TEST(AerixState, EnhancementFactorIsAtLeastOne) {
    for (double P : {1.0, 5.0, 20.0, 101.325, 1000.0, 5000.0})
        for (double t = -100; t <= 200; t += 2.5) {
            const realgas::TSaturation s = realgas::Saturation(t + realgas::T0, P * 1000);
            if (!s.CanSaturate()) continue;
            EXPECT_GE(s.f, 1) << "P " << P << " t " << t;
        }
}

TEST(AerixState, ScalarFunctionsNearSaturationAgreeWithSetState) {
    for (double P : {20.0, P0, 5000.0})
        for (double t : {-60.0, 0.005, 25.0, 80.0}) {
            const realgas::TSatPressure ps = realgas::SatPressure(t + realgas::T0);
            if (ps.p >= P * 1000) continue; // above the boiling point: no saturation
            const double Ws = State(P, t, 1.0, 3).Humidity;
            const double W0 = realgas::HumidityRatio(ps.p / (P * 1000)); // saturation with f = 1
            // Between f = 1 and saturation, inside the saturation window on both sides, and beyond it.
            for (double W : {0.5 * (W0 + Ws), Ws * (1 - 3e-9), Ws * (1 - 5e-10), Ws * (1 + 5e-10),
                             Ws * (1 + 3e-9), W0 * (1 - 2e-6)}) {
                TAirState s;
                SetState(s, P, t, W, 2);
                const std::int32_t status = PsyStatus();
                EXPECT_EQ(Enthalpy(P, t, W, 2), s.Enthalpy) << "P " << P << " t " << t << " W " << W;
                EXPECT_EQ(PsyStatus(), status);
                EXPECT_EQ(Humidity(P, t, W, 2), s.Humidity) << "P " << P << " t " << t << " W " << W;
                EXPECT_EQ(PsyStatus(), status);
                if (status != psOk) continue;
                TAirState back;
                SetState(back, P, s.Enthalpy, W, 15);
                EXPECT_EQ(DryBulb(P, s.Enthalpy, W, 15), back.DryBulb)
                    << "P " << P << " t " << t << " W " << W;
            }
        }
}

TEST(AerixState, FieldsAgreeWithTheirDefinitions) {
    for (double P : {70.0, P0, 500.0})
        for (double t : {-20.0, 5.0, 30.0, 80.0}) {
            const TAirState s = State(P, t, 0.4, 3);
            ExpectAllFinite(s, "state");
            // Density of the mixture and absolute humidity from the specific volume per kg dry air.
            EXPECT_NEAR(s.Density, (1 + s.Humidity) / s.SpecificVolume, 1e-14);
            EXPECT_NEAR(s.AbsoluteHumidity, s.Humidity / s.SpecificVolume, 1e-16);
            EXPECT_NEAR(s.DegreeOfSaturation, s.Humidity / State(P, t, t, 0).Humidity, 1e-12);
            // Vapour pressure is the partial pressure x_w·P.
            EXPECT_NEAR(s.VapourPressure, P * s.Humidity / (realgas::Eps + s.Humidity), 1e-12 * P);
            // Specific heat is dh/dt at constant humidity ratio (central difference, 1e-6 relative).
            const double d = 1e-3;
            const double dh =
                (State(P, t + d, s.Humidity, 2).Enthalpy - State(P, t - d, s.Humidity, 2).Enthalpy) / (2 * d);
            EXPECT_NEAR(s.SpecificHeat, dh, 1e-6 * dh) << "P " << P << " t " << t;
        }
}

TEST(AerixState, SaturationCurvesMeetAtTheTriplePoint) {
    EXPECT_NEAR(realgas::SatPressureIce(realgas::Tt).p, realgas::Pt, 1e-9);
    EXPECT_NEAR(realgas::SatPressureWater(realgas::Tt).p, realgas::Pt, 1e-4); // 1e-7 apart in the releases
    // A dry bulb from its saturation pressure on both sides.
    for (double t : {-80.0, -0.5, 0.005, 0.5, 60.0, 150.0}) {
        const TAirState s = State(1000, t, 0, 2);
        EXPECT_NEAR(State(1000, 0, s.SatPressure, 26).DryBulb, t, 1e-9) << t;
    }
}

TEST(AerixState, SetStateWritesEveryFieldWhateverTheRecordHeld) {
    struct TCase {
        double x1, x2;
        int Mode;
    };
    for (const TCase& c : {TCase{25, 17, 0}, TCase{25, 25, 0}, TCase{25, 0.5, 3}, TCase{30, 0.01, 2},
                           TCase{50, 0.01, 15}, TCase{0.01, 1.0, 25}}) {
        TAirState fresh, used;
        SetState(fresh, P0, c.x1, c.x2, c.Mode);
        ASSERT_EQ(PsyStatus(), psOk) << c.Mode;
        for (int i = 0; i < TAirState::FieldCount; ++i)
            used[i] = 12345.0 + i;
        SetState(used, P0, c.x1, c.x2, c.Mode);
        for (int i = 0; i < TAirState::FieldCount; ++i)
            EXPECT_EQ(used[i], fresh[i]) << "mode " << c.Mode << " field " << i;
    }
}

TEST(AerixState, AirStateReadsTheModesFieldsAndKeepsTheShare) {
    TAirState s = State(P0, 25, 17, 0);
    s.MassShare = 0.25;
    TAirState r;
    AirState(r, s, 15); // (enthalpy, humidity ratio)
    EXPECT_EQ(PsyStatus(), psOk);
    EXPECT_NEAR(r.DryBulb, 25, 1e-9);
    EXPECT_NEAR(r.WetBulb, 17, 1e-9);
    EXPECT_EQ(r.MassShare, 0.25);
    // In place.
    s.DryBulb = 30; // mode 2 reads the new dry bulb and the old humidity ratio
    const double W = s.Humidity;
    AirState(s, s, 2);
    EXPECT_EQ(PsyStatus(), psOk);
    EXPECT_EQ(s.DryBulb, 30);
    EXPECT_EQ(s.Humidity, W);
    EXPECT_EQ(s.MassShare, 0.25);
    AirState(r, s, 6);
    EXPECT_EQ(PsyStatus(), psBadMode);
    EXPECT_EQ(r.Pressure, P0);
    EXPECT_EQ(r.DryBulb, 0);
    EXPECT_EQ(r.MassShare, 0.25);
}

TEST(AerixState, MixingWeighsHumidityRatioAndEnthalpy) {
    TAirState streams[2] = {State(P0, 4, 2, 0), State(P0, 25, 0.5, 3)};
    streams[0].MassShare = 0.3;
    streams[1].MassShare = 0.7;
    TAirState m;
    MixFlows(m, streams, 1);
    ASSERT_EQ(PsyStatus(), psOk);
    // By hand: W = 0.3·W1 + 0.7·W2, h = 0.3·h1 + 0.7·h2, at the first stream's pressure.
    EXPECT_EQ(m.Humidity, 0.3 * streams[0].Humidity + 0.7 * streams[1].Humidity);
    EXPECT_NEAR(m.Enthalpy, 0.3 * streams[0].Enthalpy + 0.7 * streams[1].Enthalpy, 1e-9);
    EXPECT_EQ(m.Pressure, P0);
    EXPECT_EQ(m.MassShare, 1);
    // The mixed dry bulb lies near the weighted dry bulbs (mixing is nearly linear in t).
    EXPECT_NEAR(m.DryBulb, 0.3 * 4 + 0.7 * 25, 0.1);

    // Handbook Example 4: 2 m³/s at 4/2 °C with 6.25 m³/s at 25 °C 50 %: 19.5 °C, 14.6 °C wet bulb
    // (chart readings).
    streams[0].MassShare = 2 / streams[0].SpecificVolume;
    streams[1].MassShare = 6.25 / streams[1].SpecificVolume;
    MixFlows(m, streams, 1);
    ASSERT_EQ(PsyStatus(), psOk);
    EXPECT_NEAR(streams[0].MassShare, 2.535, 0.002);
    EXPECT_NEAR(streams[1].MassShare, 7.284, 0.003);
    EXPECT_NEAR(m.DryBulb, 19.5, 0.2);
    EXPECT_NEAR(m.WetBulb, 14.6, 0.1);
    EXPECT_NEAR(m.MassShare, streams[0].MassShare + streams[1].MassShare, 1e-12);
}

TEST(AerixState, MixingRejectsBadShares) {
    TAirState streams[2] = {State(P0, 4, 2, 0), State(P0, 25, 0.5, 3)};
    TAirState m;
    const auto mix = [&](double s0, double s1, int high) {
        streams[0].MassShare = s0;
        streams[1].MassShare = s1;
        MixFlows(m, streams, high);
        return PsyStatus();
    };
    EXPECT_EQ(mix(-0.1, 1.1, 1), psBadShares);
    EXPECT_EQ(mix(0, 0, 1), psBadShares);
    EXPECT_EQ(mix(kNaN, 1, 1), psBadShares);
    EXPECT_EQ(mix(1, 1, -1), psBadShares);
    EXPECT_EQ(m.Pressure, 0);
    MixFlows(m, nullptr, 1);
    EXPECT_EQ(PsyStatus(), psBadShares);
    // A single stream mixes to itself.
    EXPECT_EQ(mix(2, 0, 0), psOk);
    EXPECT_NEAR(m.DryBulb, 4, 1e-9);
    EXPECT_EQ(m.MassShare, 2);
    // Two saturated streams far apart mix into fog: above saturation.
    streams[0] = State(P0, 0, 0, 0);
    streams[1] = State(P0, 40, 40, 0);
    EXPECT_EQ(mix(0.5, 0.5, 1), psSupersaturated);
    EXPECT_EQ(m.Pressure, P0);
    EXPECT_EQ(m.DryBulb, 0);
}

TEST(AerixState, ApparatusDewPointOfACoil) {
    const TAirState in = State(P0, 25, 17, 0), out = State(P0, 13, 12, 0);
    double bf = -1;
    const double t = ApparatusDewPoint(in, out, bf);
    ASSERT_EQ(PsyStatus(), psOk);
    // By hand: the line through (25 °C, 8.852 g/kg) and (13 °C, 8.353 g/kg) falls 0.0415 g/kg per K;
    // saturated air holds that much near 11.1 °C.
    EXPECT_NEAR(t, 11.14, 0.01);
    // The point is saturated and lies on the line beyond the outlet.
    const double slope = (out.Humidity - in.Humidity) / (out.DryBulb - in.DryBulb);
    const TAirState adp = State(P0, t, t, 0);
    EXPECT_NEAR(adp.Humidity, out.Humidity + (t - out.DryBulb) * slope, 1e-12);
    EXPECT_LT(t, out.DryBulb);
    EXPECT_NEAR(bf, (out.DryBulb - t) / (in.DryBulb - t), 1e-12);
    // The bypass factor puts the outlet back on the line: outlet = adp + bf·(inlet − adp).
    EXPECT_NEAR(adp.Humidity + bf * (in.Humidity - adp.Humidity), out.Humidity, 1e-12);
}

TEST(AerixState, ApparatusDewPointOfAHumidifierAtConstantDryBulb) {
    const TAirState in = State(P0, 30, 0.0100, 2), out = State(P0, 30, 0.0200, 2);
    double bf = -1;
    const double t = ApparatusDewPoint(in, out, bf);
    ASSERT_EQ(PsyStatus(), psOk);
    EXPECT_NEAR(t, 30, 1e-12);
    const double Ws = State(P0, 30, 30, 0).Humidity;
    EXPECT_NEAR(bf, (out.Humidity - Ws) / (in.Humidity - Ws), 1e-12);
}

TEST(AerixState, ApparatusDewPointOfAHeatingCoilLiesBelowTheInlet) {
    // Outlet warmer than the inlet: the saturated point of the line on its cold side, beyond the
    // inlet, with the bypass factor of the same formula (above 1, which no coil has).
    struct TCase {
        const char* Name;
        TAirState In, Out;
    };
    const TAirState room = State(P0, 20, 12, 0);
    const TCase cases[] = {
        {"sensible heating (constant humidity ratio)", room, State(P0, 30, room.Humidity, 2)},
        {"heating with humidification", room, State(P0, 30, 0.006, 2)},
        {"heating with a little drying", room, State(P0, 30, 15.5, 0)},
        {"heating with much drying", State(P0, 20, 0.010, 2), State(P0, 30, 0.005, 2)},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(k.Name);
        double bf = -1;
        const double t = ApparatusDewPoint(k.In, k.Out, bf);
        ASSERT_EQ(PsyStatus(), psOk);
        EXPECT_LT(t, k.In.DryBulb);
        const TAirState adp = State(P0, t, t, 0);
        const double slope = (k.Out.Humidity - k.In.Humidity) / (k.Out.DryBulb - k.In.DryBulb);
        EXPECT_NEAR(adp.Humidity, k.In.Humidity + (t - k.In.DryBulb) * slope, 1e-12) << "on the line";
        EXPECT_NEAR(bf, (k.Out.DryBulb - t) / (k.In.DryBulb - t), 1e-12);
        EXPECT_GT(bf, 1);
    }
    // Sensible heating of air at 5.476 g/kg: the dew point of that air (5.14 °C), by hand
    // BF = (30 − 5.14)/(20 − 5.14) = 1.673.
    double bf = -1;
    const double t = ApparatusDewPoint(room, State(P0, 30, room.Humidity, 2), bf);
    EXPECT_NEAR(t, room.DewPoint, 1e-9) << "reference: dew point of the inlet";
    EXPECT_NEAR(t, 5.14, 0.005);
    EXPECT_NEAR(bf, 1.673, 0.001);
    // A saturated inlet is its own apparatus dew point; no finite factor leads there.
    const TAirState fogEdge = State(P0, 15, 15, 0);
    EXPECT_NEAR(ApparatusDewPoint(fogEdge, State(P0, 25, fogEdge.Humidity, 2), bf), 15, 1e-12);
    EXPECT_EQ(PsyStatus(), psOk);
    EXPECT_EQ(bf, std::numeric_limits<double>::infinity());
    // Warming with steam: the line reaches saturation beyond the warmer outlet, where a coil's
    // apparatus dew point lies (factor 0..1), and that is the one reported.
    const TAirState steamed = State(P0, 21, 20, 0);
    const double ts = ApparatusDewPoint(State(P0, 20, 10, 0), steamed, bf);
    ASSERT_EQ(PsyStatus(), psOk);
    EXPECT_GT(ts, steamed.DryBulb);
    EXPECT_GT(bf, 0);
    EXPECT_LT(bf, 1);
}

TEST(AerixState, ApparatusDewPointFailures) {
    const TAirState in = State(P0, 25, 17, 0);
    double bf = 0.42;
    EXPECT_EQ(ApparatusDewPoint(in, in, bf), 0);
    EXPECT_EQ(PsyStatus(), psUndetermined);
    EXPECT_EQ(bf, 0.42); // left as it was
    // Heating with humidification: the line dries out below the inlet (at 10 °C) before it could
    // reach saturation, and rises more slowly than saturation beyond the outlet.
    EXPECT_EQ(ApparatusDewPoint(State(P0, 20, 0.001, 2), State(P0, 40, 0.003, 2), bf), 0);
    EXPECT_EQ(PsyStatus(), psNoSolution);
    // A cooling outlet whose line never reaches saturation beyond it is not looked for beyond the
    // inlet (warmer), where this line meets saturation near 37.8 °C.
    EXPECT_EQ(ApparatusDewPoint(State(P0, 30, 0.020, 2), State(P0, 25, 0.005, 2), bf), 0);
    EXPECT_EQ(PsyStatus(), psNoSolution);
    // Dehumidifying at constant dry bulb runs to dry air, never to saturation.
    EXPECT_EQ(ApparatusDewPoint(State(P0, 30, 0.02, 2), State(P0, 30, 0.01, 2), bf), 0);
    EXPECT_EQ(PsyStatus(), psNoSolution);
    TAirState fog = State(P0, 13, 12, 0);
    fog.Humidity *= 1.2;
    EXPECT_EQ(ApparatusDewPoint(in, fog, bf), 0);
    EXPECT_EQ(PsyStatus(), psSupersaturated);
    TAirState bad = State(P0, 13, 12, 0);
    bad.Pressure = 0;
    ApparatusDewPoint(in, bad, bf);
    EXPECT_EQ(PsyStatus(), psBadPressure);
    bad.Pressure = P0;
    bad.DryBulb = kNaN;
    ApparatusDewPoint(in, bad, bf);
    EXPECT_EQ(PsyStatus(), psNotFinite);
    EXPECT_EQ(bf, 0.42);
}

TEST(AerixState, StandardAtmosphereBothWays) {
    for (double z : {-500.0, 0.0, 1500.0, 8848.0, 20000.0}) {
        const double p = AtmPressure(z);
        EXPECT_EQ(PsyStatus(), psOk);
        EXPECT_NEAR(Altitude(p), z, 1e-6 * (1 + std::abs(z))) << z;
        EXPECT_EQ(PsyStatus(), psOk);
    }
    EXPECT_NEAR(AtmPressure(0), 101.325, 1e-12);
    EXPECT_NEAR(Altitude(101.325), 0, 1e-9);
    EXPECT_EQ(Altitude(0), 0);
    EXPECT_EQ(PsyStatus(), psBadPressure);
    EXPECT_EQ(Altitude(-3), 0);
    EXPECT_EQ(PsyStatus(), psBadPressure);
    EXPECT_EQ(Altitude(kNaN), 0);
    EXPECT_EQ(PsyStatus(), psNotFinite);
    EXPECT_EQ(AtmPressure(50000), 0); // above 44 331 m the formula's base is negative
    EXPECT_EQ(PsyStatus(), psOutOfRange);
    EXPECT_EQ(AtmPressure(kInf), 0);
    EXPECT_EQ(PsyStatus(), psNotFinite);
}

TEST(AerixState, ResetClearsTheStatus) {
    TAirState s;
    SetState(s, P0, 20, 25, 0);
    ASSERT_NE(PsyStatus(), psOk);
    ResetReferenceState();
    EXPECT_EQ(PsyStatus(), psOk);
    // Results do not depend on what was computed before.
    const TAirState a = State(P0, 25, 17, 0);
    State(P0, -40, -40, 0);
    ResetReferenceState();
    const TAirState b = State(P0, 25, 17, 0);
    for (int i = 0; i < TAirState::FieldCount; ++i)
        EXPECT_EQ(a[i], b[i]) << i;
}

TEST(AerixState, ExtremeButValidStates) {
    // Dry air: the frost point is reported as the bottom of its range, −150 °C.
    const TAirState dry = State(P0, 20, 0, 2);
    EXPECT_EQ(dry.DewPoint, -150);
    EXPECT_EQ(dry.RelHumidity, 0);
    EXPECT_LT(dry.WetBulb, 7);
    // Hot humid air above the boiling point at 70 kPa: no saturation there, degree of saturation 0.
    const TAirState hot = State(70, 99, 0.6, 3);
    EXPECT_EQ(hot.DegreeOfSaturation, 0);
    EXPECT_LT(hot.WetBulb, 90);
    EXPECT_GT(hot.DewPoint, 80);
    ExpectAllFinite(hot, "hot");
    // High pressure and cold.
    ExpectAllFinite(State(5000, -100, 0.5, 3), "cold, 5 MPa");
    // At 1 kPa and 200 °C the vapour may have at most 1/1554 of the saturation pressure.
    ExpectAllFinite(State(1, 200, 0.0005, 3), "hot, 1 kPa");
    TAirState s;
    SetState(s, 1, 200, 0.5, 3);
    EXPECT_EQ(PsyStatus(), psVapourPressure);
}

} // namespace
