#include "AirconTestSupport.h"

#include "aircon/TxAirconItems.h"
#include "psychro/MoistAir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The process dialog's graph: 1 kg/s from 25/17 to 13/12 °C at 101.325 kPa.
class ProcessTest : public ::testing::Test {
protected:
    TComponent Owner{nullptr};
    TPsyPoint& In = Owner.Create<TPsyPoint>("Inlet", 1, "Inlet", StateOf(25, 17));
    TPsyPoint& Out = Owner.Create<TPsyPoint>("Outlet", 2, "Outlet", StateOf(13, 12));
    TProcess& Process = Owner.Create<TProcess>("Process", 1, "Process", In, Out, 1.0);

    struct TSnapshot {
        double Values[9];
        TAirState In, Out;
    };
    TSnapshot Snapshot() const {
        const TProcess& p = Process;
        return {{p.MassFlow, p.TotalHeat, p.SensibleHeat, p.LatentHeat, p.InletVolume, p.OutletVolume,
                 p.Humidification, p.SHR, p.DhDw},
                In.State,
                Out.State};
    }
    void ExpectUnchanged(const TSnapshot& before) const {
        const TSnapshot now = Snapshot();
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(now.Values[i], before.Values[i]) << "duty field " << i;
        EXPECT_TRUE(SameState(now.In, before.In));
        EXPECT_TRUE(SameState(now.Out, before.Out));
    }
};

// Textbook moist-air enthalpy, kJ/kg dry air (ASHRAE Fundamentals, ch. 1, eq. 32).
double TextbookEnthalpy(double t, double W) {
    return 1.006 * t + W * (2501 + 1.86 * t);
}

// Textbook humidity ratio of dry bulb t and wet bulb tw above freezing (ASHRAE Fundamentals, ch. 1, eq. 33).
double TextbookHumidity(double t, double tw) {
    const double ws = SatHumidity(tw, StdPressure);
    return ((2501 - 2.326 * tw) * ws - 1.006 * (t - tw)) / (2501 + 1.86 * t - 4.186 * tw);
}

TEST_F(ProcessTest, CoolingCoilDutiesFromTheTwoStates) {
    const TAirState& i = In.State;
    const TAirState& o = Out.State;
    const double m = 1.0;
    // Hand calculation from the states' fields.
    const double total = m * (o.Enthalpy - i.Enthalpy);
    const double sensible = m * i.SpecificHeat * (o.DryBulb - i.DryBulb);
    const double moisture = m * (o.Humidity - i.Humidity);
    const double tol = 1e-9;
    EXPECT_NEAR(Process.TotalHeat, total, tol);
    EXPECT_NEAR(Process.SensibleHeat, sensible, tol);
    EXPECT_NEAR(Process.LatentHeat, total - sensible, tol);
    EXPECT_NEAR(Process.Humidification, moisture, tol);
    EXPECT_NEAR(Process.SHR, sensible / total, tol);
    EXPECT_NEAR(Process.DhDw, total / moisture, 1e-6);
    EXPECT_NEAR(Process.InletVolume, m / i.Density, tol);
    EXPECT_NEAR(Process.OutletVolume, m / o.Density, tol);

    // Independent textbook values: humidity ratio from the psychrometer equation (ASHRAE
    // Fundamentals ch. 1 eq. 33, own saturation formula), enthalpy from eq. 32.
    const double wIn = TextbookHumidity(25, 17), wOut = TextbookHumidity(13, 12);
    EXPECT_NEAR(i.Humidity, wIn, 2e-5) << "reference: psychrometer equation";
    EXPECT_NEAR(o.Humidity, wOut, 2e-5) << "reference: psychrometer equation";
    EXPECT_NEAR(Process.Humidification, m * (wOut - wIn), 2e-5) << "reference: m (W_out - W_in)";
    EXPECT_NEAR(Process.TotalHeat, -(TextbookEnthalpy(25, wIn) - TextbookEnthalpy(13, wOut)), 0.1)
        << "reference: -(h_in - h_out) from eq. 32";
    EXPECT_NEAR(Process.LatentHeat, 2501 * moisture, 0.1) << "reference: hfg x moisture removed";
    // Rounded chart readings: h 47.7 -> 34.2 kJ/kg, W 8.85 -> 8.35 g/kg, 0.85 and 0.81 m³/kg.
    EXPECT_NEAR(Process.TotalHeat, -13.5, 0.1);
    EXPECT_NEAR(Process.SensibleHeat, -12.3, 0.1) << "reference: 1.02 kJ/kg·K x -12 K";
    EXPECT_NEAR(Process.LatentHeat, -1.25, 0.1);
    EXPECT_NEAR(Process.Humidification * 1000, -0.5, 0.02) << "g/s";
    EXPECT_NEAR(Process.SHR, 0.91, 0.01);
    EXPECT_NEAR(Process.InletVolume, 0.85, 0.01);
    EXPECT_NEAR(Process.OutletVolume, 0.814, 0.01);
    EXPECT_LT(Process.TotalHeat, Process.SensibleHeat); // cooling and dehumidifying
}

TEST_F(ProcessTest, IdenticalStatesGiveZeroDutiesAndUndefinedRatios) {
    Out.State = In.State;
    Process.Calculate(false, false);
    EXPECT_EQ(Process.TotalHeat, 0);
    EXPECT_EQ(Process.SensibleHeat, 0);
    EXPECT_EQ(Process.Humidification, 0);
    EXPECT_EQ(Process.SHR, 1E14);
    EXPECT_EQ(Process.DhDw, 1E14);
}

TEST_F(ProcessTest, ZeroLatentHeatForcesZeroHumidification) {
    // States whose enthalpy and dry-bulb differences give exactly equal total and sensible heat.
    In.State = StateOf(20, 14);
    Out.State = StateOf(30, 18);
    In.State.SpecificHeat = 1.0;
    In.State.Enthalpy = 40;
    Out.State.Enthalpy = 50;
    ASSERT_NE(Out.State.Humidity, In.State.Humidity);
    Process.Calculate(false, false);
    EXPECT_EQ(Process.LatentHeat, 0);
    EXPECT_EQ(Process.Humidification, 0);
    EXPECT_EQ(Process.DhDw, 1E14);
}

TEST_F(ProcessTest, DrivenOutletFollowsTheDuties) {
    ASSERT_TRUE(Process.CanDrive());
    Process.SetDriven(true);
    EXPECT_EQ(Out.DrivingBranch, &Process);
    EXPECT_FALSE(Out.IsFree());
    Process.MassFlow = 2.0; // same duties at twice the flow: half the change of state
    const double total = Process.TotalHeat, sensible = Process.SensibleHeat;
    Process.Calculate(false, false);
    EXPECT_NEAR(Out.State.Enthalpy, In.State.Enthalpy + total / 2, 1e-6);
    EXPECT_NEAR(Out.State.DryBulb, In.State.DryBulb + sensible / (2 * In.State.SpecificHeat), 1e-6);
    EXPECT_NEAR(Process.TotalHeat, total, 1e-6);
}

TEST_F(ProcessTest, DrivenWithSensibleHeatOnlyMovesTheDryBulb) {
    Process.SetDriven(true);
    Process.TotalHeat = 0;
    Process.SensibleHeat = 5;
    Process.Calculate(false, false);
    EXPECT_NEAR(Out.State.Enthalpy, In.State.Enthalpy, 1e-6);
    EXPECT_NEAR(Out.State.DryBulb, In.State.DryBulb + 5 / In.State.SpecificHeat, 1e-6);

    Process.TotalHeat = 0;
    Process.SensibleHeat = 0;
    Process.Calculate(false, false);
    EXPECT_NEAR(Out.State.DryBulb, In.State.DryBulb, 1e-9);
    EXPECT_NEAR(Out.State.Enthalpy, In.State.Enthalpy, 1e-6);
}

TEST_F(ProcessTest, DrivenMoistureModeKeepsTheOutletDryBulb) {
    Process.SetDriven(true);
    const double db = Out.State.DryBulb;
    Process.Humidification = -0.001;
    Process.Calculate(true, false);
    EXPECT_NEAR(Out.State.DryBulb, db, 1e-9);
    EXPECT_NEAR(Out.State.Humidity, In.State.Humidity - 0.001, 1e-9);
}

TEST_F(ProcessTest, DriveIsRefusedWhereItWouldCloseALoopOrClash) {
    auto& other = Owner.Create<TProcess>("", 2, "Process", Out, In, 1.0);
    Process.SetDriven(true);
    // In -> Out is driven, so Out -> In would make In depend on itself.
    EXPECT_FALSE(other.CanDrive());
    EXPECT_THROW(other.SetDriven(true), EAirconError);
    EXPECT_EQ(In.DrivingBranch, nullptr);

    // A second process into a driven outlet cannot drive it, and switching it off leaves the drive.
    auto& third = Owner.Create<TPsyPoint>("", 3, "Other", StateOf(30, 20));
    auto& parallel = Owner.Create<TProcess>("", 3, "Process", third, Out, 1.0);
    EXPECT_FALSE(parallel.CanDrive());
    parallel.SetDriven(false);
    EXPECT_EQ(Out.DrivingBranch, &Process);

    // Switching on twice enters the outlet once, so one switch off frees it.
    Process.SetDriven(true);
    EXPECT_EQ(In.Dependents.size(), 1u);
    Process.SetDriven(false);
    EXPECT_EQ(Out.DrivingBranch, nullptr);
    EXPECT_TRUE(In.Dependents.empty());
    EXPECT_TRUE(other.CanDrive());
}

TEST_F(ProcessTest, NoDriveIntoAMixedPointOrACoilOutlet) {
    auto& mix = Owner.Create<TMixPoint>("", 3, "Mix", StateOf(20, 15));
    auto& far = Owner.Create<TPsyPoint>("", 4, "Far", StateOf(30, 20));
    Owner.Create<TMixBranch>("", 1, "MixB", In, far, mix, 50.0);
    auto& intoMix = Owner.Create<TProcess>("", 2, "Process", Out, mix, 1.0);
    EXPECT_FALSE(intoMix.CanDrive());

    auto& coilOut = Owner.Create<TPsyPoint>("", 5, "CoilOut", StateOf(13, 12));
    auto& adp = Owner.Create<TADPPoint>("", 6, "ADP", StateOf(10, 10));
    Owner.Create<TByPass>("", 1, "Bypass", far, coilOut, adp, 0.2, 1.0, true);
    auto& intoCoilOutlet = Owner.Create<TProcess>("", 3, "Process", Out, coilOut, 1.0);
    EXPECT_FALSE(intoCoilOutlet.CanDrive());
}

TEST_F(ProcessTest, PropagationReachesEachProcessOnceAndNeverBouncesBack) {
    auto& room = Owner.Create<TPsyPoint>("", 3, "Room", StateOf(20, 14));
    auto& second = Owner.Create<TProcess>("", 2, "Process", Out, room, 1.0);
    Process.SetDriven(true);
    second.SetDriven(true);
    TFakeInspector first, next, outlet, roomView;
    Process.Inspector = &first;
    second.Inspector = &next;
    Out.Inspector = &outlet;
    room.Inspector = &roomView;

    In.State = StateOf(27, 19);
    In.Update(nullptr, false);
    EXPECT_EQ(first.Refreshes, 1);
    EXPECT_EQ(next.Refreshes, 1);
    EXPECT_EQ(outlet.Refreshes, 1);
    EXPECT_EQ(roomView.Refreshes, 1);
    // Both outlets moved by the same duties as before.
    EXPECT_NEAR(Out.State.Enthalpy - In.State.Enthalpy, Process.TotalHeat, 1e-6);
    EXPECT_NEAR(room.State.Enthalpy - Out.State.Enthalpy, second.TotalHeat, 1e-6);
}

TEST_F(ProcessTest, InvalidInspectorStateIsRevertedBeforeItFeedsTheProcess) {
    TFakeInspector inlet;
    const TAirState good = In.State;
    ShowPoint(inlet, In, good);
    In.State = StateOf(40, 39); // half typed, shown as invalid
    inlet.Valid = false;
    Process.Calculate(false, false);
    EXPECT_EQ(inlet.Reverts, 1);
    EXPECT_TRUE(SameState(In.State, good));
    EXPECT_NEAR(Process.TotalHeat, Out.State.Enthalpy - good.Enthalpy, 1e-9);
}

// ---- the edit rule ------------------------------------------------------------------------------

struct TBefore {
    TAirState Out;
    double SHR, DhDw;
};

struct TProcessEditCase {
    const char* Name;
    bool Driven;
    TEditedQuantity Edited, Previous;
    std::function<void(TProcess&)> Type; // what the user typed, stored before the rule runs
    // in, out: the states after the rule; before: the process and outlet as the rule found them.
    std::function<void(const TProcess&, const TAirState& in, const TAirState& out, const TBefore& before)>
        Check;
    bool MoistureMode;
};

class ProcessEdit : public ProcessTest, public ::testing::WithParamInterface<TProcessEditCase> {};

using Q = TEditedQuantity;

TEST_P(ProcessEdit, Rule) {
    const TProcessEditCase& c = GetParam();
    if (c.Driven) Process.SetDriven(true);
    c.Type(Process);
    const TBefore before{Out.State, Process.SHR, Process.DhDw};
    const bool moisture = Process.ApplyProcessEdit(c.Edited, c.Previous);
    EXPECT_EQ(moisture, c.MoistureMode);
    c.Check(Process, In.State, Out.State, before);
}

const double Hfg25 = 2500.7693 - 2.381 * 25; // latent heat at the inlet dry bulb, kJ/kg

INSTANTIATE_TEST_SUITE_P(
    Table, ProcessEdit,
    ::testing::Values(
        TProcessEditCase{"InletVolume", false, Q::InletVolume, Q::Other,
                         [](TProcess& p) { p.InletVolume = 2; },
                         [](const TProcess& p, const TAirState& i, const TAirState&, const TBefore&) {
                             EXPECT_NEAR(p.MassFlow, 2 * i.Density, 1e-12);
                         },
                         false},
        TProcessEditCase{"OutletVolumeDriven", true, Q::OutletVolume, Q::Other,
                         [](TProcess& p) { p.OutletVolume = 3; },
                         [](const TProcess& p, const TAirState&, const TAirState& o, const TBefore&) {
                             EXPECT_NEAR(p.MassFlow, 3 * o.Density, 1e-12);
                         },
                         false},
        TProcessEditCase{"HumidificationAfterSensibleDriven", true, Q::Humidification, Q::SensibleHeat,
                         [](TProcess& p) { p.Humidification = -0.002; },
                         [](const TProcess& p, const TAirState&, const TAirState& o, const TBefore& b) {
                             EXPECT_NEAR(p.LatentHeat, Hfg25 * -0.002, 1e-9);
                             EXPECT_NEAR(p.TotalHeat, p.SensibleHeat + Hfg25 * -0.002, 1e-9);
                             EXPECT_NEAR(p.SHR, p.SensibleHeat / p.TotalHeat, 1e-12);
                             EXPECT_NEAR(p.DhDw, p.TotalHeat / -0.002, 1e-6);
                             EXPECT_TRUE(SameState(o, b.Out));
                         },
                         true},
        TProcessEditCase{"HumidificationDriven", true, Q::Humidification, Q::MassFlow,
                         [](TProcess& p) { p.Humidification = -0.001; },
                         [](const TProcess& p, const TAirState& i, const TAirState& o, const TBefore&) {
                             EXPECT_NEAR(o.Enthalpy, i.Enthalpy + p.TotalHeat / p.MassFlow, 1e-6);
                             EXPECT_NEAR(o.Humidity, i.Humidity - 0.001, 1e-9);
                         },
                         true},
        TProcessEditCase{"HumidificationNotDriven", false, Q::Humidification, Q::Other,
                         [](TProcess& p) { p.Humidification = -0.0013; },
                         [](const TProcess& p, const TAirState& i, const TAirState& o, const TBefore&) {
                             EXPECT_NEAR(p.MassFlow, -0.0013 / (o.Humidity - i.Humidity), 1e-9);
                         },
                         false},
        TProcessEditCase{"SensibleAfterHumidificationDriven", true, Q::SensibleHeat, Q::Humidification,
                         [](TProcess& p) {
                             p.SensibleHeat = -10;
                             p.Humidification = -0.0005;
                         },
                         [](const TProcess& p, const TAirState& i, const TAirState& o, const TBefore&) {
                             EXPECT_NEAR(o.DryBulb, i.DryBulb - 10 / (p.MassFlow * i.SpecificHeat), 1e-9);
                             EXPECT_NEAR(o.Humidity, i.Humidity - 0.0005, 1e-9);
                         },
                         true},
        TProcessEditCase{"SensibleAfterTotalDriven", true, Q::SensibleHeat, Q::TotalHeat,
                         [](TProcess& p) { p.SensibleHeat = -6; },
                         [](const TProcess& p, const TAirState&, const TAirState&, const TBefore&) {
                             EXPECT_NEAR(p.SHR, -6 / p.TotalHeat, 1e-12);
                         },
                         false},
        TProcessEditCase{"SensibleKeepsTheRatioDriven", true, Q::SensibleHeat, Q::MassFlow,
                         [](TProcess& p) {
                             p.SHR = 0.8;
                             p.SensibleHeat = -8;
                         },
                         [](const TProcess& p, const TAirState&, const TAirState&, const TBefore&) {
                             EXPECT_NEAR(p.TotalHeat, -10, 1e-12);
                             EXPECT_NEAR(p.DhDw, -10 / p.Humidification, 1e-6);
                         },
                         false},
        TProcessEditCase{"SensibleWithZeroRatioKeepsTotalDriven", true, Q::SensibleHeat, Q::Other,
                         [](TProcess& p) {
                             p.SHR = 0;
                             p.TotalHeat = -7;
                             p.SensibleHeat = -8;
                         },
                         [](const TProcess& p, const TAirState&, const TAirState&, const TBefore&) {
                             EXPECT_EQ(p.TotalHeat, -7);
                         },
                         false},
        TProcessEditCase{"SensibleNotDriven", false, Q::SensibleHeat, Q::Other,
                         [](TProcess& p) { p.SensibleHeat = -24; },
                         [](const TProcess& p, const TAirState& i, const TAirState& o, const TBefore&) {
                             EXPECT_NEAR(p.MassFlow, -24 / (i.SpecificHeat * (o.DryBulb - i.DryBulb)), 1e-12);
                             EXPECT_NEAR(p.MassFlow, 1.96, 0.03);
                         },
                         false},
        TProcessEditCase{"TotalAfterSensibleDriven", true, Q::TotalHeat, Q::SensibleHeat,
                         [](TProcess& p) { p.TotalHeat = -20; },
                         [](const TProcess& p, const TAirState&, const TAirState&, const TBefore&) {
                             EXPECT_NEAR(p.SHR, p.SensibleHeat / -20, 1e-12);
                             EXPECT_NEAR(p.DhDw, -20 / p.Humidification, 1e-6);
                         },
                         false},
        TProcessEditCase{"TotalAfterOtherDrivenChangesNothingYet", true, Q::TotalHeat, Q::MassFlow,
                         [](TProcess& p) { p.TotalHeat = -20; },
                         [](const TProcess& p, const TAirState&, const TAirState& o, const TBefore& b) {
                             EXPECT_EQ(p.SHR, b.SHR);
                             EXPECT_EQ(p.DhDw, b.DhDw);
                             EXPECT_TRUE(SameState(o, b.Out));
                         },
                         false},
        TProcessEditCase{"TotalNotDriven", false, Q::TotalHeat, Q::Other,
                         [](TProcess& p) { p.TotalHeat = -27; },
                         [](const TProcess& p, const TAirState& i, const TAirState& o, const TBefore&) {
                             EXPECT_NEAR(p.MassFlow, -27 / (o.Enthalpy - i.Enthalpy), 1e-12);
                         },
                         false},
        TProcessEditCase{"MassFlowChangesNothingYet", true, Q::MassFlow, Q::Other,
                         [](TProcess& p) { p.MassFlow = 2; },
                         [](const TProcess& p, const TAirState&, const TAirState& o, const TBefore& b) {
                             EXPECT_EQ(p.MassFlow, 2);
                             EXPECT_TRUE(SameState(o, b.Out));
                         },
                         false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ProcessTest, SensibleEditWithEqualDryBulbsUsesTheTotalHeat) {
    Out.State = StateOf(25, 20);
    Process.Calculate(false, false);
    Process.TotalHeat = 10;
    Process.SensibleHeat = 3;
    Process.ApplyProcessEdit(Q::SensibleHeat, Q::Other);
    EXPECT_NEAR(Process.MassFlow, 10 / (Out.State.Enthalpy - In.State.Enthalpy), 1e-12);
}

TEST_F(ProcessTest, NotDrivenTotalHeatRecomputesMassFlowAndTheRestFollows) {
    Process.TotalHeat = -27;
    Process.ApplyProcessEdit(Q::TotalHeat, Q::Other);
    Process.Calculate(false, false);
    const double m = -27 / (Out.State.Enthalpy - In.State.Enthalpy);
    EXPECT_NEAR(Process.MassFlow, m, 1e-12);
    EXPECT_NEAR(Process.TotalHeat, -27, 1e-9);
    EXPECT_NEAR(Process.InletVolume, m / In.State.Density, 1e-9);
    EXPECT_NEAR(Process.SensibleHeat, m * In.State.SpecificHeat * (13 - 25), 1e-9);
}

// ---- failures keep the last valid numbers -------------------------------------------------------

TEST_F(ProcessTest, DrivenWithoutMassFlowIsRefused) {
    Process.SetDriven(true);
    Process.MassFlow = 0;
    const TSnapshot before = Snapshot();
    EXPECT_EQ(ErrorOf([&] { Process.Calculate(false, false); }), "Mass flow must be greater than 0...");
    ExpectUnchanged(before);
    EXPECT_EQ(ErrorOf([&] { Process.Calculate(true, false); }), "Mass flow must be greater than 0...");
    ExpectUnchanged(before);
}

TEST_F(ProcessTest, EditsDividingByAZeroDifferenceReportThePlatformError) {
    struct TCase {
        TEditedQuantity Edited;
        double Typed;
        const char* Error;
    };
    const TCase cases[] = {
        {Q::Humidification, 0.001, "Floating point division by zero"},
        {Q::Humidification, 0, "Invalid floating point operation"},
        {Q::TotalHeat, 5, "Floating point division by zero"},
        {Q::SensibleHeat, 5, "Floating point division by zero"}, // equal dry bulbs: from the total heat
    };
    Out.State = In.State;
    Process.Calculate(false, false);
    for (const TCase& c : cases) {
        Process.Humidification = Process.TotalHeat = Process.SensibleHeat = 0;
        if (c.Edited == Q::Humidification) Process.Humidification = c.Typed;
        if (c.Edited == Q::TotalHeat || c.Edited == Q::SensibleHeat) Process.TotalHeat = c.Typed;
        const TSnapshot before = Snapshot();
        EXPECT_EQ(ErrorOf([&] { Process.ApplyProcessEdit(c.Edited, Q::Other); }), c.Error);
        ExpectUnchanged(before);
    }
}

TEST_F(ProcessTest, MassFlowComputedNegativeIsRefused) {
    Process.TotalHeat = 5; // a heating duty typed for a cooling process
    const TSnapshot before = Snapshot();
    EXPECT_EQ(ErrorOf([&] { Process.ApplyProcessEdit(Q::TotalHeat, Q::Other); }),
              "Mass flow must be greater than 0...");
    ExpectUnchanged(before);
    Process.InletVolume = 0;
    EXPECT_EQ(ErrorOf([&] { Process.ApplyProcessEdit(Q::InletVolume, Q::Other); }),
              "Mass flow must be greater than 0...");
    EXPECT_EQ(Process.MassFlow, 1.0);
}

TEST_F(ProcessTest, DrivenOutletOutOfRangeIsAnOutletError) {
    Process.SetDriven(true);
    Process.TotalHeat = 100; // about 123 °C at the outlet: solvable, but beyond the chart's 99 °C
    Process.SHR = 1;
    const TSnapshot before = Snapshot();
    EXPECT_EQ(ErrorOf([&] { Process.Calculate(false, false); }), "Outlet Dry bulb too high...");
    ExpectUnchanged(before);
}

TEST_F(ProcessTest, NonFiniteStateIsBadDataAndReachesNoField) {
    In.State.Enthalpy = std::numeric_limits<double>::quiet_NaN(); // for example a damaged state file
    for (const bool driven : {false, true}) {
        Process.SetDriven(driven);
        const TSnapshot before = Snapshot();
        EXPECT_EQ(ErrorOf([&] { Process.Calculate(false, false); }), "Bad data") << "driven " << driven;
        const TSnapshot now = Snapshot();
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(now.Values[i], before.Values[i]) << "duty field " << i;
        EXPECT_TRUE(SameState(now.Out, before.Out));
    }
}

TEST_F(ProcessTest, ErrorWithoutMessageBecomesInvalidProcess) {
    TFakeInspector inlet;
    In.Inspector = &inlet;
    inlet.Valid = false;
    inlet.OnRevert = [] { throw std::runtime_error(""); };
    EXPECT_EQ(ErrorOf([&] { Process.Calculate(false, false); }), "Invalid process");
}

TEST_F(ProcessTest, RedisplaysOnlyAfterSuccess) {
    TFakeInspector own, outlet;
    Process.Inspector = &own;
    Out.Inspector = &outlet;
    Process.Calculate(false, false);
    EXPECT_EQ(own.Refreshes, 1);
    EXPECT_EQ(outlet.Refreshes, 1);
    Process.SetDriven(true);
    Process.MassFlow = 0;
    EXPECT_THROW(Process.Calculate(false, false), EAirconError);
    EXPECT_EQ(own.Refreshes, 1);
    EXPECT_EQ(outlet.Refreshes, 1);
}

} // namespace
