#include "AirconTestSupport.h"

#include "aircon/TxAirconItems.h"
#include "psychro/AirStateText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(PsyPoint, ConstructionCopiesTheStateAndStartsUnwired) {
    TComponent owner(nullptr);
    const TAirState s = StateOf(25, 17);
    const auto& p = owner.Create<TPsyPoint>("Inlet", 1, "Inlet", s);
    EXPECT_TRUE(SameState(p.State, s));
    EXPECT_TRUE(p.Branches.empty());
    EXPECT_TRUE(p.Dependents.empty());
    EXPECT_EQ(p.DrivingBranch, nullptr);
    EXPECT_FALSE(p.IsBypassOutlet);
    EXPECT_TRUE(p.IsFree());
    EXPECT_FALSE(p.IsDependent());
}

TEST(PsyPoint, UpdateWithoutBranchesChangesNothing) {
    TComponent owner(nullptr);
    const TAirState s = StateOf(25, 17);
    auto& p = owner.Create<TPsyPoint>("", 1, "Node", s);
    TFakeInspector inspector;
    p.Inspector = &inspector;
    p.Update(nullptr, true);
    EXPECT_TRUE(SameState(p.State, s));
    EXPECT_EQ(inspector.Refreshes, 0);
}

TEST(PsyPoint, ValidityAndRevertFollowTheInspector) {
    TComponent owner(nullptr);
    auto& p = owner.Create<TPsyPoint>("", 1, "Node", StateOf(25, 17));
    EXPECT_TRUE(p.IsValid()); // no inspector
    TFakeInspector inspector;
    p.Inspector = &inspector;
    EXPECT_TRUE(p.IsValid());
    p.RevertInspector();
    EXPECT_EQ(inspector.Reverts, 0);
    inspector.Valid = false;
    EXPECT_FALSE(p.IsValid());
    p.RevertInspector();
    EXPECT_EQ(inspector.Reverts, 1);
    EXPECT_TRUE(p.IsValid());
}

TEST(PsyPoint, SolveFromPairRecomputesFromTheChosenPair) {
    TComponent owner(nullptr);
    auto& p = owner.Create<TPsyPoint>("", 1, "Node", StateOf(25, 17));
    // The user typed a relative humidity of 60 %: dry bulb and relative humidity (mode 3) define it.
    p.State.RelHumidity = 0.6;
    int mode = 3;
    p.SolveFromPair(mode);
    EXPECT_EQ(mode, 3);
    EXPECT_DOUBLE_EQ(p.State.DryBulb, 25);
    EXPECT_NEAR(p.State.RelHumidity, 0.6, 1e-9);
    // Reference: 25 °C at 60 % is about 19.5 °C wet bulb and 11.9 g/kg (ASHRAE chart).
    EXPECT_NEAR(p.State.WetBulb, 19.5, 0.2);
    EXPECT_NEAR(p.State.Humidity, 0.0119, 0.0002);
}

TEST(PsyPoint, DewPointAlwaysSolvesSaturated) {
    TComponent owner(nullptr);
    auto& adp = owner.Create<TADPPoint>("ADP", 3, "ADP", StateOf(13, 12));
    adp.State.DryBulb = 9; // typed
    adp.State.RelHumidity = 0.4;
    int mode = 3; // the highlighted pair was dry bulb and relative humidity
    adp.SolveFromPair(mode);
    EXPECT_EQ(mode, 0);
    EXPECT_DOUBLE_EQ(adp.State.DryBulb, 9);
    EXPECT_NEAR(adp.State.WetBulb, 9, 1e-6);
    EXPECT_NEAR(adp.State.RelHumidity, 1, 1e-3);
}

TEST(PsyPoint, SolveFromPairOutOfRangeReportsTheCheckMessage) {
    TComponent owner(nullptr);
    auto& p = owner.Create<TPsyPoint>("", 1, "Node", StateOf(25, 17));
    p.State.DryBulb = 120;
    int mode = 2; // dry bulb and humidity ratio
    EXPECT_EQ(ErrorOf([&] { p.SolveFromPair(mode); }), "Dry bulb too high...");
    // The solved state replaced the old one; the inspector shows it and reverts later.
    EXPECT_DOUBLE_EQ(p.State.DryBulb, 120);
}

TEST(PsyPoint, PairTheLibraryCannotSolveIsAnInvalidAirStateAndKeepsWhatWasTyped) {
    struct TCase {
        const char* Name;
        int Field;
        double Typed;
        int Mode;
    };
    const TCase cases[] = {
        {"NotANumber", 4, std::numeric_limits<double>::quiet_NaN(), 2},
        {"AboveSaturation", 5, 1.5, 3},
        {"NegativeHumidity", 4, -0.01, 2},
    };
    for (const TCase& c : cases) {
        TComponent owner(nullptr);
        auto& p = owner.Create<TPsyPoint>("", 1, "Node", StateOf(25, 17));
        p.State[c.Field] = c.Typed;
        const TAirState typed = p.State;
        int mode = c.Mode;
        EXPECT_EQ(ErrorOf([&] { p.SolveFromPair(mode); }), "Invalid air state") << c.Name;
        for (int i = 0; i < 11; ++i)
            EXPECT_TRUE(p.State[i] == typed[i] || (std::isnan(p.State[i]) && std::isnan(typed[i])))
                << c.Name << " field " << i;
    }
}

TEST(PsyPoint, ReachesFollowsDependentsTransitively) {
    TComponent owner(nullptr);
    auto& a = owner.Create<TPsyPoint>("", 1, "A", StateOf(25, 17));
    auto& b = owner.Create<TPsyPoint>("", 2, "B", StateOf(20, 15));
    auto& c = owner.Create<TPsyPoint>("", 3, "C", StateOf(15, 12));
    auto& p1 = owner.Create<TProcess>("", 1, "P", a, b, 1.0);
    auto& p2 = owner.Create<TProcess>("", 2, "P", b, c, 1.0);
    EXPECT_FALSE(a.Reaches(c));
    p1.SetDriven(true);
    p2.SetDriven(true);
    EXPECT_TRUE(a.Reaches(b));
    EXPECT_TRUE(a.Reaches(c));
    EXPECT_FALSE(c.Reaches(a));
    EXPECT_FALSE(a.Reaches(a));
}

TEST(PsyPoint, DependenceOfEachRole) {
    TComponent owner(nullptr);
    auto& in = owner.Create<TPsyPoint>("", 1, "Inlet", StateOf(25, 17));
    auto& out = owner.Create<TPsyPoint>("", 2, "Outlet", StateOf(13, 12));
    auto& adp = owner.Create<TADPPoint>("", 3, "ADP", StateOf(13, 12));
    auto& coil = owner.Create<TByPass>("", 1, "Bypass", in, out, adp, 0.15, 1.0, true);
    // A coil outlet depends on the inlet only as a default: it stays free and not dependent.
    EXPECT_TRUE(out.IsBypassOutlet);
    EXPECT_EQ(out.BypassOfOutlet(), &coil);
    EXPECT_TRUE(out.IsBypassOutletOf(&coil));
    EXPECT_TRUE(out.IsFree());
    EXPECT_FALSE(out.IsDependent());
    EXPECT_FALSE(adp.IsFree());
    EXPECT_EQ(adp.OwnerBranch, &coil);
    EXPECT_EQ(adp.DrivingBranch, &coil);
    EXPECT_TRUE(in.IsFree());
    EXPECT_EQ(in.BypassOfOutlet(), nullptr);

    // A process driven from the coil outlet makes its own outlet dependent.
    auto& room = owner.Create<TPsyPoint>("", 4, "Room", StateOf(22, 16));
    auto& heat = owner.Create<TProcess>("", 1, "Process", out, room, 1.0);
    EXPECT_FALSE(room.IsDependent());
    heat.SetDriven(true);
    EXPECT_TRUE(room.IsDependent());
    EXPECT_FALSE(room.IsFree());
    EXPECT_FALSE(out.IsDependent());

    // A mixed point is never free and always dependent; its streams are not dependent.
    auto& mix = owner.Create<TMixPoint>("", 5, "Mix", StateOf(25, 17));
    owner.Create<TMixBranch>("", 1, "Mix", in, room, mix, 30.0);
    EXPECT_FALSE(mix.IsFree());
    EXPECT_TRUE(mix.IsDependent());
    EXPECT_FALSE(in.IsDependent());
}

TEST(PsyPoint, BranchesUnwireWhenFreed) {
    TComponent owner(nullptr);
    auto& in = owner.Create<TPsyPoint>("", 1, "Inlet", StateOf(25, 17));
    auto& out = owner.Create<TPsyPoint>("", 2, "Outlet", StateOf(13, 12));
    auto& adp = owner.Create<TADPPoint>("", 3, "ADP", StateOf(13, 12));
    {
        TByPass coil(nullptr, "", 9, "Loose", in, out, adp, 0.15, 1.0, true);
        EXPECT_EQ(in.Branches.size(), 1u);
        EXPECT_EQ(in.Dependents.size(), 1u);
    }
    EXPECT_TRUE(in.Branches.empty());
    EXPECT_TRUE(in.Dependents.empty());
    EXPECT_TRUE(out.Dependents.empty());
    EXPECT_FALSE(out.IsBypassOutlet);
    EXPECT_EQ(adp.OwnerBranch, nullptr);
    EXPECT_TRUE(adp.IsFree());
}

} // namespace
