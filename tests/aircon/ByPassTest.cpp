#include "AirconTestSupport.h"

#include "aircon/TxAirconItems.h"
#include "psychro/MoistAir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Q = TEditedQuantity;

// The bypass dialog's graph: coil from 25/17 °C, bypass factor 0.15, 1 kg/s, dew point reset.
class ByPassTest : public ::testing::Test {
protected:
    TComponent Owner{nullptr};
    TPsyPoint& In = Owner.Create<TPsyPoint>("Inlet", 1, "Inlet", StateOf(25, 17));
    TPsyPoint& Out = Owner.Create<TPsyPoint>("Outlet", 2, "Outlet", StateOf(13, 12));
    TADPPoint& Adp = Owner.Create<TADPPoint>("ADP", 3, "ADP", StateOf(13, 12));
    TByPass& Coil = Owner.Create<TByPass>("Air bypass", 1, "Bypass", In, Out, Adp, 0.15, 1.0, true);

    // Where the outlet lies on the line from the dew point (0) to the inlet (1), by dry bulb and by
    // humidity ratio.
    double ShareByDryBulb() const {
        return (Out.State.DryBulb - Adp.State.DryBulb) / (In.State.DryBulb - Adp.State.DryBulb);
    }
    double ShareByHumidity() const {
        return (Out.State.Humidity - Adp.State.Humidity) / (In.State.Humidity - Adp.State.Humidity);
    }
    void ExpectSaturatedADP() const {
        EXPECT_NEAR(Adp.State.RelHumidity, 1, 1e-3);
        EXPECT_NEAR(Adp.State.WetBulb, Adp.State.DryBulb, 1e-6);
    }
    void ExpectDutiesFromStates() const {
        const TAirState& i = In.State;
        const TAirState& o = Out.State;
        EXPECT_NEAR(Coil.TotalHeat, Coil.MassFlow * (o.Enthalpy - i.Enthalpy), 1e-9);
        EXPECT_NEAR(Coil.SensibleHeat, Coil.MassFlow * i.SpecificHeat * (o.DryBulb - i.DryBulb), 1e-9);
        EXPECT_NEAR(Coil.Humidification, Coil.MassFlow * (o.Humidity - i.Humidity), 1e-12);
        EXPECT_NEAR(Coil.InletVolume, Coil.MassFlow / i.Density, 1e-12);
    }
};

TEST_F(ByPassTest, ResetDewPointIsSaturatedAtTheInletWetBulbAndOutletLiesOnTheLine) {
    ExpectSaturatedADP();
    EXPECT_NEAR(Adp.State.DryBulb, In.State.WetBulb, 1e-9);
    EXPECT_NEAR(Out.State.DryBulb, 17 + 0.15 * (25 - 17), 1e-9)
        << "reference: 15 % of the way from 17 to 25 °C";
    // The other interpolated property follows the same share (enthalpy is nearly linear).
    EXPECT_NEAR(ShareByDryBulb(), 0.15, 1e-9);
    EXPECT_NEAR(ShareByHumidity(), 0.15, 0.01);
    const double shareByEnthalpy =
        (Out.State.Enthalpy - Adp.State.Enthalpy) / (In.State.Enthalpy - Adp.State.Enthalpy);
    EXPECT_TRUE(std::fabs(ShareByHumidity() - 0.15) < 1e-9 || std::fabs(shareByEnthalpy - 0.15) < 1e-9);
    ExpectDutiesFromStates();
    EXPECT_TRUE(Out.IsFree());
    EXPECT_FALSE(Out.IsDependent());
}

TEST_F(ByPassTest, LineQueriesBetweenDewPointAndInlet) {
    const TAirState& a = Adp.State;
    const TAirState& b = In.State;
    const double midDb = (a.DryBulb + b.DryBulb) / 2;
    const double midW = (a.Humidity + b.Humidity) / 2;
    EXPECT_NEAR(Coil.HumidityAt(midDb), midW, 1e-12);
    EXPECT_NEAR(Coil.DryBulbAt(midW), midDb, 1e-9);
    EXPECT_EQ(Coil.HumidityAt(a.DryBulb), -99); // the line's end, outside its middle 98 %
    EXPECT_EQ(Coil.HumidityAt(40), -99);
    EXPECT_EQ(Coil.DryBulbAt(0.02), -99);
}

TEST_F(ByPassTest, InletChangePropagatesWithoutBouncingBack) {
    TFakeInspector coil, outlet, adp;
    Coil.Inspector = &coil;
    Out.Inspector = &outlet;
    Adp.Inspector = &adp;
    In.State = StateOf(28, 19);
    In.Update(nullptr, false);
    // One calculation: each inspector redisplays once; the outlet's update skips the coil.
    EXPECT_EQ(coil.Refreshes, 1);
    EXPECT_EQ(outlet.Refreshes, 1);
    EXPECT_EQ(adp.Refreshes, 1);
    EXPECT_NEAR(ShareByDryBulb(), 0.15, 1e-9);
    ExpectDutiesFromStates();
}

TEST_F(ByPassTest, TypedOutletFindsANewDewPointOnTheCoilLine) {
    Out.State = StateOf(13, 12);
    Out.Update(nullptr, true);
    ExpectSaturatedADP();
    EXPECT_GT(Coil.BypassFactor, 0);
    EXPECT_LT(Coil.BypassFactor, 1);
    EXPECT_LT(Adp.State.DryBulb, 13);
    // Outlet, dew point and inlet on one straight line.
    EXPECT_NEAR(ShareByDryBulb(), ShareByHumidity(), 0.01);
    EXPECT_NEAR(Coil.BypassFactor, ShareByDryBulb(), 1e-9);
    EXPECT_NEAR(Out.State.DryBulb, 13, 1e-9);
    ExpectDutiesFromStates();
}

TEST_F(ByPassTest, WarmOutletKeepsTheOldCoilLine) {
    const double t0 = Adp.State.DryBulb;
    const double bf0 = Coil.BypassFactor;
    Out.State = StateOf(35, 20); // warmer than the inlet: no dew point for it
    Coil.ReSolveADP();
    EXPECT_NEAR(Adp.State.DryBulb, t0, 1e-9);
    EXPECT_NEAR(Coil.BypassFactor, bf0, 1e-9);
    EXPECT_NEAR(Out.State.DryBulb, t0 + (25 - t0) * bf0, 1e-9) << "reference: old line at the old factor";
    const double ws = SatHumidity(t0, StdPressure);
    EXPECT_NEAR(Out.State.Humidity, ws + (In.State.Humidity - ws) * bf0, 1e-9);
}

TEST_F(ByPassTest, DryCoolOutletWithoutCoilLineUsesItsDewPoint) {
    // Far drier than the inlet: the line through inlet and outlet never reaches saturation, so the
    // dew point becomes the outlet's own dew point and the outlet moves onto that coil line.
    TAirState typed;
    SetState(typed, StdPressure, 20, 0.002, 2);
    Out.State = typed;
    Coil.ReSolveADP();
    EXPECT_NEAR(Adp.State.DryBulb, typed.DewPoint, 1e-6) << "reference: dew point of the typed outlet";
    ExpectSaturatedADP();
    const double bf = (20 - Adp.State.DryBulb) / (25 - Adp.State.DryBulb);
    EXPECT_NEAR(Coil.BypassFactor, bf, 1e-9);
    EXPECT_NEAR(Out.State.DryBulb, 20, 1e-9);
    EXPECT_NEAR(Out.State.Humidity, Adp.State.Humidity + (In.State.Humidity - Adp.State.Humidity) * bf,
                1e-12);
}

TEST_F(ByPassTest, OutletWhoseDewPointIsOffTheChartKeepsTheOldCoilLine) {
    const double t0 = Adp.State.DryBulb;
    TAirState typed;
    SetState(typed, StdPressure, 20, 0.000005, 2); // dew point about -62 °C
    Out.State = typed;
    Coil.ReSolveADP();
    EXPECT_NEAR(Adp.State.DryBulb, t0, 1e-9);
    EXPECT_NEAR(Coil.BypassFactor, 0.15, 1e-9);
    EXPECT_NEAR(Out.State.DryBulb, t0 + (25 - t0) * 0.15, 1e-9);
}

TEST(ByPass, OutletInterpolatesThePropertyThatVariesMoreAlongTheLine) {
    struct TCase {
        const char* Name;
        double InDb, InWb, AdpT, BF;
        bool ByEnthalpy; // |h_adp / h_in| > |W_adp / W_in|
    };
    const TCase cases[] = {
        {"DryInletByHumidity", 25, 17, 10, 0.2, false},
        {"HumidInletByEnthalpy", 30, 28, 15, 0.7, true},
    };
    for (const TCase& c : cases) {
        TComponent owner(nullptr);
        auto& in = owner.Create<TPsyPoint>("", 1, "Inlet", StateOf(c.InDb, c.InWb));
        auto& out = owner.Create<TPsyPoint>("", 2, "Outlet", StateOf(13, 12));
        auto& adp = owner.Create<TADPPoint>("", 3, "ADP", StateOf(c.AdpT, c.AdpT));
        const TAirState& i = in.State;
        const TAirState& a = adp.State;
        ASSERT_EQ(std::fabs(a.Enthalpy / i.Enthalpy) > std::fabs(a.Humidity / i.Humidity), c.ByEnthalpy)
            << c.Name;
        owner.Create<TByPass>("", 1, "Bypass", in, out, adp, c.BF, 1.0, false);
        const TAirState& o = out.State;
        EXPECT_NEAR(o.DryBulb, a.DryBulb + (i.DryBulb - a.DryBulb) * c.BF, 1e-9) << c.Name;
        if (c.ByEnthalpy)
            EXPECT_NEAR(o.Enthalpy, a.Enthalpy + (i.Enthalpy - a.Enthalpy) * c.BF, 1e-6) << c.Name;
        else
            EXPECT_NEAR(o.Humidity, a.Humidity + (i.Humidity - a.Humidity) * c.BF, 1e-12) << c.Name;
    }
}

TEST(ByPass, InletAtZeroEnthalpyChoosesWithoutDividing) {
    TComponent owner(nullptr);
    auto& in = owner.Create<TPsyPoint>("", 1, "Inlet", StateOf(-5, -6));
    in.State.Enthalpy = 0; // exactly 0 kJ/kg: the ratio |h_adp / h_in| would divide by zero
    auto& out = owner.Create<TPsyPoint>("", 2, "Outlet", StateOf(-8, -8));
    auto& adp = owner.Create<TADPPoint>("", 3, "ADP", StateOf(-10, -10));
    const auto& coil = owner.Create<TByPass>("", 1, "Bypass", in, out, adp, 0.2, 1.0, false);
    EXPECT_NEAR(out.State.DryBulb, -10 + 5 * 0.2, 1e-9);
    EXPECT_NEAR(out.State.Enthalpy, adp.State.Enthalpy * 0.8, 1e-6); // by enthalpy towards 0
    EXPECT_TRUE(std::isfinite(coil.SHR));
}

TEST_F(ByPassTest, BothHeatsFixTheOutletAndReSolveTheCoil) {
    Coil.SensibleHeat = -10;
    Coil.TotalHeat = -14;
    const TBypassEditFlags flags = Coil.ApplyBypassEdit(Q::TotalHeat, Q::SensibleHeat);
    EXPECT_TRUE(flags.HeatMode);
    EXPECT_FALSE(flags.MoistureMode);
    EXPECT_NEAR(Coil.SHR, 10.0 / 14, 1e-12);
    Coil.Calculate(flags.MoistureMode, flags.HeatMode);
    EXPECT_NEAR(Out.State.DryBulb, 25 - 10 / In.State.SpecificHeat, 1e-6);
    EXPECT_NEAR(Out.State.Enthalpy, In.State.Enthalpy - 14, 1e-6);
    ExpectSaturatedADP();
    EXPECT_GT(Coil.BypassFactor, 0);
    EXPECT_LT(Coil.BypassFactor, 1);
    EXPECT_NEAR(Coil.TotalHeat, -14, 1e-6);
    EXPECT_NEAR(Coil.SensibleHeat, -10, 1e-6);
}

// ---- the edit rule ------------------------------------------------------------------------------

class ByPassEdit;

struct TBypassEditCase {
    const char* Name;
    TEditedQuantity Edited, Previous;
    std::function<void(TByPass&)> Type; // what the user typed, stored before the rule runs
    std::function<void(const ByPassEdit&, const TByPass&, const TAirState& adp0)> Check;
    bool MoistureMode, HeatMode;
};

// A cooling coil: dew point 10 °C, so the coil removes moisture.
class ByPassEdit : public ByPassTest, public ::testing::WithParamInterface<TBypassEditCase> {
protected:
    void SetUp() override {
        Adp.State = StateOf(10, 10);
        Coil.OutletFromBypassFactor();
        ASSERT_LT(Coil.Humidification, 0);
    }

public:
    using ByPassTest::ShareByDryBulb;
    using ByPassTest::ShareByHumidity;
    const TAirState& InState() const { return In.State; }
    const TAirState& OutState() const { return Out.State; }
    const TAirState& AdpState() const { return Adp.State; }
};

TEST_P(ByPassEdit, Rule) {
    const TBypassEditCase& c = GetParam();
    const TAirState adp0 = Adp.State;
    c.Type(Coil);
    const TBypassEditFlags flags = Coil.ApplyBypassEdit(c.Edited, c.Previous);
    EXPECT_EQ(flags.MoistureMode, c.MoistureMode);
    EXPECT_EQ(flags.HeatMode, c.HeatMode);
    c.Check(*this, Coil, adp0);
    // Whatever the rule did, the calculation that follows brings outlet and duties into agreement.
    Coil.Calculate(flags.MoistureMode, flags.HeatMode);
    EXPECT_TRUE(std::isfinite(Coil.SHR) && std::isfinite(Coil.DhDw));
}

// The moisture removed with no bypass at all, for the default coil.
double MoistureAtZeroBypass(const TByPass& c) {
    return (c.ADP->State.Humidity - c.Inlet->State.Humidity) * c.MassFlow;
}
double SensibleAtZeroBypass(const TByPass& c) {
    return c.MassFlow * c.Inlet->State.SpecificHeat * (c.ADP->State.DryBulb - c.Inlet->State.DryBulb);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ByPassEdit,
    ::testing::Values(
        TBypassEditCase{"MassFlow", Q::MassFlow, Q::Other, [](TByPass& c) { c.MassFlow = 2; },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState&) {
                            const TAirState &i = t.InState(), &o = t.OutState();
                            EXPECT_NEAR(c.SensibleHeat, 2 * i.SpecificHeat * (o.DryBulb - i.DryBulb), 1e-9);
                            EXPECT_NEAR(c.TotalHeat, 2 * (o.Enthalpy - i.Enthalpy), 1e-9);
                            EXPECT_NEAR(c.SHR, c.SensibleHeat / c.TotalHeat, 1e-12);
                        },
                        false, false},
        TBypassEditCase{"InletVolume", Q::InletVolume, Q::Other, [](TByPass& c) { c.InletVolume = 2; },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState&) {
                            EXPECT_NEAR(c.MassFlow, 2 * t.InState().Density, 1e-12);
                        },
                        false, false},
        TBypassEditCase{"OutletVolume", Q::OutletVolume, Q::Other, [](TByPass& c) { c.OutletVolume = 2; },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState&) {
                            EXPECT_NEAR(c.MassFlow, 2 * t.OutState().Density, 1e-12);
                        },
                        false, false},
        TBypassEditCase{"BypassFactorMovesOnlyTheOutlet", Q::BypassFactor, Q::Other,
                        [](TByPass& c) { c.BypassFactor = 0.3; },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState& adp0) {
                            EXPECT_NEAR(t.ShareByDryBulb(), 0.3, 1e-9);
                            EXPECT_NEAR(t.ShareByHumidity(), 0.3, 0.01);
                            EXPECT_TRUE(SameState(t.AdpState(), adp0));
                            EXPECT_NEAR(c.BypassFactor, 0.3, 1e-12);
                        },
                        true, false},
        TBypassEditCase{"HumidificationWithinTheCoilMovesTheFactor", Q::Humidification, Q::Other,
                        [](TByPass& c) { c.Humidification = 0.4 * MoistureAtZeroBypass(c); },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState& adp0) {
                            EXPECT_NEAR(c.BypassFactor, 0.6, 1e-9);
                            EXPECT_NEAR(t.ShareByDryBulb(), 0.6, 1e-9);
                            EXPECT_TRUE(SameState(t.AdpState(), adp0));
                        },
                        true, false},
        TBypassEditCase{"HumidificationBeyondTheCoilMovesTheDewPoint", Q::Humidification, Q::Other,
                        [](TByPass& c) { c.Humidification = 1.5 * MoistureAtZeroBypass(c); },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState& adp0) {
                            const TAirState &i = t.InState(), &o = t.OutState(), &a = t.AdpState();
                            EXPECT_NEAR(c.BypassFactor, 0.15, 1e-12);
                            const double w = c.Humidification / c.MassFlow + i.Humidity;
                            EXPECT_NEAR(o.Humidity, w, 1e-12);
                            EXPECT_NEAR(a.Humidity, (w - c.BypassFactor * i.Humidity) / (1 - c.BypassFactor),
                                        1e-9);
                            EXPECT_NEAR(a.RelHumidity, 1, 1e-3);
                            EXPECT_LT(a.DryBulb, adp0.DryBulb); // colder to remove more moisture
                            EXPECT_NEAR(o.DryBulb, (i.DryBulb - a.DryBulb) * c.BypassFactor + a.DryBulb,
                                        1e-9);
                            EXPECT_NEAR(c.TotalHeat, c.MassFlow * (o.Enthalpy - i.Enthalpy), 1e-9);
                        },
                        false, false},
        TBypassEditCase{"SensibleAfterTotalIsHeatMode", Q::SensibleHeat, Q::TotalHeat,
                        [](TByPass& c) {
                            c.SensibleHeat = -10;
                            c.TotalHeat = -14;
                        },
                        [](const ByPassEdit&, const TByPass& c, const TAirState&) {
                            EXPECT_EQ(c.SensibleHeat, -10);
                            EXPECT_NEAR(c.BypassFactor, 0.15, 1e-12);
                        },
                        false, true},
        TBypassEditCase{"SensibleAfterBypassFactorGivesMassFlow", Q::SensibleHeat, Q::BypassFactor,
                        [](TByPass& c) { c.SensibleHeat = -12; },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState&) {
                            const TAirState &i = t.InState(), &o = t.OutState();
                            EXPECT_NEAR(c.MassFlow, -12 / i.SpecificHeat / (o.DryBulb - i.DryBulb), 1e-12);
                            EXPECT_NEAR(c.TotalHeat, c.MassFlow * (o.Enthalpy - i.Enthalpy), 1e-9);
                        },
                        false, false},
        TBypassEditCase{"SensibleWithinTheCoilMovesTheFactor", Q::SensibleHeat, Q::Other,
                        [](TByPass& c) { c.SensibleHeat = 0.75 * SensibleAtZeroBypass(c); },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState& adp0) {
                            EXPECT_NEAR(c.BypassFactor, 0.25, 1e-9);
                            EXPECT_NEAR(t.ShareByDryBulb(), 0.25, 1e-9);
                            EXPECT_TRUE(SameState(t.AdpState(), adp0));
                        },
                        true, false},
        TBypassEditCase{"SensibleBeyondTheCoilMovesTheDewPoint", Q::SensibleHeat, Q::Other,
                        [](TByPass& c) { c.SensibleHeat = 1.2 * SensibleAtZeroBypass(c); },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState&) {
                            const TAirState &i = t.InState(), &o = t.OutState(), &a = t.AdpState();
                            const double db = c.SensibleHeat / (c.MassFlow * i.SpecificHeat) + i.DryBulb;
                            EXPECT_NEAR(o.DryBulb, db, 1e-9);
                            EXPECT_NEAR(a.DryBulb, (db - c.BypassFactor * i.DryBulb) / (1 - c.BypassFactor),
                                        1e-9);
                            EXPECT_NEAR(a.RelHumidity, 1, 1e-3);
                            EXPECT_NEAR(o.Humidity, (i.Humidity - a.Humidity) * c.BypassFactor + a.Humidity,
                                        1e-12);
                        },
                        false, false},
        TBypassEditCase{"TotalAfterSensibleIsHeatMode", Q::TotalHeat, Q::SensibleHeat,
                        [](TByPass& c) {
                            c.SensibleHeat = -10;
                            c.TotalHeat = -16;
                        },
                        [](const ByPassEdit&, const TByPass& c, const TAirState&) {
                            EXPECT_NEAR(c.SHR, 10.0 / 16, 1e-12);
                            EXPECT_NEAR(c.DhDw, -16 / c.Humidification, 1e-6);
                        },
                        false, true},
        TBypassEditCase{"TotalAfterOtherChangesNothing", Q::TotalHeat, Q::MassFlow,
                        [](TByPass& c) { c.TotalHeat = -16; },
                        [](const ByPassEdit& t, const TByPass& c, const TAirState& adp0) {
                            EXPECT_NEAR(c.BypassFactor, 0.15, 1e-12);
                            EXPECT_TRUE(SameState(t.AdpState(), adp0));
                        },
                        false, false},
        TBypassEditCase{"OtherChangesNothing", Q::Other, Q::Other, [](TByPass&) {},
                        [](const ByPassEdit& t, const TByPass& c, const TAirState& adp0) {
                            EXPECT_NEAR(c.BypassFactor, 0.15, 1e-12);
                            EXPECT_TRUE(SameState(t.AdpState(), adp0));
                        },
                        false, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- failures ------------------------------------------------------------------------------------

class ByPassFailure : public ByPassTest {
protected:
    struct TSnapshot {
        double Values[10];
        TAirState In, Out, Adp;
    };
    TSnapshot Snapshot() const {
        const TByPass& c = Coil;
        return {{c.MassFlow, c.TotalHeat, c.SensibleHeat, c.LatentHeat, c.InletVolume, c.OutletVolume,
                 c.Humidification, c.SHR, c.DhDw, c.BypassFactor},
                In.State,
                Out.State,
                Adp.State};
    }
    void ExpectUnchanged(const TSnapshot& before) const {
        const TSnapshot now = Snapshot();
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(now.Values[i], before.Values[i]) << "field " << i;
        EXPECT_TRUE(SameState(now.In, before.In));
        EXPECT_TRUE(SameState(now.Out, before.Out));
        EXPECT_TRUE(SameState(now.Adp, before.Adp));
    }
};

TEST_F(ByPassFailure, FullBypassCannotMoveTheDewPoint) {
    Coil.BypassFactor = 1;
    Coil.Humidification = -0.002;
    const TSnapshot before = Snapshot();
    EXPECT_EQ(ErrorOf([&] { Coil.ApplyBypassEdit(Q::Humidification, Q::Other); }),
              "Floating point division by zero");
    ExpectUnchanged(before);
}

TEST_F(ByPassFailure, ZeroMassFlowIsRefused) {
    Coil.MassFlow = 0;
    Coil.Humidification = -0.002;
    const TSnapshot before = Snapshot();
    EXPECT_EQ(ErrorOf([&] { Coil.ApplyBypassEdit(Q::Humidification, Q::Other); }),
              "Mass flow must be greater than 0...");
    ExpectUnchanged(before);
    EXPECT_EQ(ErrorOf([&] { Coil.Calculate(true, false); }), "Mass flow must be greater than 0...");
    ExpectUnchanged(before);
    EXPECT_EQ(ErrorOf([&] { Coil.Calculate(false, true); }), "Mass flow must be greater than 0...");
    ExpectUnchanged(before);
}

TEST_F(ByPassFailure, SensibleHeatWithTheDewPointAtTheInletDryBulbMovesTheDewPoint) {
    // No bypass factor gives a sensible heat when the dew point has the inlet's dry bulb; instead of
    // dividing by that zero sensible heat the dew point moves.
    Adp.State = StateOf(25, 25);
    Coil.SensibleHeat = -3;
    EXPECT_NO_THROW(Coil.ApplyBypassEdit(Q::SensibleHeat, Q::Other));
    const double db = 25 - 3 / In.State.SpecificHeat;
    EXPECT_NEAR(Out.State.DryBulb, db, 1e-9);
    EXPECT_NEAR(Adp.State.DryBulb, (db - Coil.BypassFactor * 25) / (1 - Coil.BypassFactor), 1e-9);
    EXPECT_NEAR(Adp.State.RelHumidity, 1, 1e-3);
}

TEST_F(ByPassFailure, DewPointOutOfRangeIsRefused) {
    // Far more moisture than air at 25/17 holds: the dew point would need a negative humidity ratio.
    Coil.Humidification = -0.05;
    const TSnapshot before = Snapshot();
    const std::string error = ErrorOf([&] { Coil.ApplyBypassEdit(Q::Humidification, Q::Other); });
    EXPECT_EQ(error.rfind("ADP ", 0), 0u) << error;
    ExpectUnchanged(before);
}

TEST_F(ByPassFailure, ErrorWithoutMessageBecomesInvalidBypass) {
    TFakeInspector inlet;
    In.Inspector = &inlet;
    inlet.Valid = false;
    inlet.OnRevert = [] { throw std::runtime_error(""); };
    EXPECT_EQ(ErrorOf([&] { Coil.Calculate(false, false); }), "Invalid bypass");
}

TEST_F(ByPassFailure, NonFiniteFactorIsAnInvalidOperation) {
    Coil.BypassFactor = std::numeric_limits<double>::quiet_NaN();
    const TAirState out = Out.State;
    EXPECT_EQ(ErrorOf([&] { Coil.OutletFromBypassFactor(); }), "Invalid floating point operation");
    EXPECT_TRUE(SameState(Out.State, out));
}

TEST(ByPass, CoilThatWouldComputeItsOwnInputIsRefused) {
    TComponent owner(nullptr);
    auto& in = owner.Create<TPsyPoint>("", 1, "Inlet", StateOf(25, 17));
    auto& out = owner.Create<TPsyPoint>("", 2, "Outlet", StateOf(13, 12));
    auto& adp = owner.Create<TADPPoint>("", 3, "ADP", StateOf(13, 12));
    owner.Create<TByPass>("", 1, "Bypass", in, out, adp, 0.15, 1.0, true);
    // A second coil from the first one's dew point back into its inlet closes a loop.
    auto& adp2 = owner.Create<TADPPoint>("", 4, "ADP", StateOf(10, 10));
    EXPECT_EQ(ErrorOf([&] { owner.Create<TByPass>("", 2, "Bypass", adp, in, adp2, 0.15, 1.0, true); }),
              "A branch cannot compute a point it depends on");
    EXPECT_EQ(ErrorOf([&] { owner.Create<TByPass>("", 3, "Bypass", out, in, adp, 0.15, 1.0, true); }),
              "ADP3 is already computed by another branch");
    EXPECT_EQ(in.Branches.size(), 1u);
    EXPECT_EQ(adp.Branches.size(), 0u);
}

} // namespace
