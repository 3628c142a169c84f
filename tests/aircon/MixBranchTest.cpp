#include "AirconTestSupport.h"

#include "aircon/TxAirconItems.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The mix dialog's graph: 30 % of 25/17 °C air with 70 % of 13/12 °C air.
class MixTest : public ::testing::Test {
protected:
    TComponent Owner{nullptr};
    TPsyPoint& In = Owner.Create<TPsyPoint>("Inlet", 1, "Inlet", StateOf(25, 17));
    TPsyPoint& Out = Owner.Create<TPsyPoint>("Outlet", 2, "Outlet", StateOf(13, 12));
    TMixPoint& Mixed = Owner.Create<TMixPoint>("Mix", 3, "Mix", StateOf(25, 17));
    TMixBranch& Mix = Owner.Create<TMixBranch>("Air mix", 1, "Mix", In, Out, Mixed, 30.0);
};

TEST_F(MixTest, MixedStateIsLinearBetweenTheStreams) {
    const TAirState& i = In.State;
    const TAirState& o = Out.State;
    const TAirState& m = Mixed.State;
    EXPECT_NEAR(m.DryBulb, 0.3 * 25 + 0.7 * 13, 1e-9) << "reference: 0.3 x 25 + 0.7 x 13 = 16.6 °C";
    EXPECT_NEAR(m.Humidity, 0.3 * i.Humidity + 0.7 * o.Humidity, 1e-12);
    // Enthalpy is nearly linear in dry bulb and humidity ratio: an adiabatic mix conserves it.
    EXPECT_NEAR(m.Enthalpy, 0.3 * i.Enthalpy + 0.7 * o.Enthalpy, 0.02);
    EXPECT_EQ(Mixed.OwnerBranch, &Mix);
    EXPECT_EQ(Mixed.DrivingBranch, nullptr);
    EXPECT_TRUE(Mixed.Branches.empty());
}

TEST_F(MixTest, InletChangeRecomputesTheMixAndKeepsTheShare) {
    TFakeInspector mixView, pointView;
    Mix.Inspector = &mixView;
    Mixed.Inspector = &pointView;
    In.State = StateOf(30, 20);
    In.Update(nullptr, false);
    EXPECT_NEAR(Mix.PercentInlet, 30, 1e-9);
    EXPECT_NEAR(Mixed.State.DryBulb, 0.3 * 30 + 0.7 * 13, 1e-9);
    // Calculate redisplays both; the mixed point's update re-derives the share once more.
    EXPECT_EQ(pointView.Refreshes, 1);
    EXPECT_EQ(mixView.Refreshes, 2);
}

TEST_F(MixTest, ShareFromTheMixedPoint) {
    Mixed.State = StateOf(19, 14);
    Mix.PercentFromMixPoint();
    EXPECT_NEAR(Mix.PercentInlet, (19.0 - 13) * 100 / (25 - 13), 1e-9);

    // Equal dry bulbs: the share comes from the humidity ratios.
    In.State = StateOf(20, 17);
    Out.State = StateOf(20, 12);
    Mixed.State = StateOf(20, 15);
    Mix.PercentFromMixPoint();
    EXPECT_NEAR(Mix.PercentInlet,
                (Mixed.State.Humidity - Out.State.Humidity) * 100 / (In.State.Humidity - Out.State.Humidity),
                1e-9);

    // Identical streams: no share can be derived and the old one stays.
    const double before = Mix.PercentInlet;
    Out.State = In.State;
    Mix.PercentFromMixPoint();
    EXPECT_EQ(Mix.PercentInlet, before);
}

TEST_F(MixTest, LineQueriesBetweenOutletAndInlet) {
    EXPECT_NEAR(Mix.HumidityAt(19), (Out.State.Humidity + In.State.Humidity) / 2, 1e-12);
    EXPECT_NEAR(Mix.DryBulbAt((Out.State.Humidity + In.State.Humidity) / 2), 19, 1e-9);
    EXPECT_EQ(Mix.HumidityAt(13.05), -99);
    EXPECT_EQ(Mix.HumidityAt(26), -99);
    Out.State = StateOf(25.05, 12);
    EXPECT_EQ(Mix.HumidityAt(25), -99); // no dry-bulb span
}

TEST_F(MixTest, FailedMixIsInvalidMixAndKeepsTheMixedState) {
    const TAirState before = Mixed.State;
    Mix.PercentInlet = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ErrorOf([&] { Mix.Calculate(false, false); }), "Invalid mix");
    EXPECT_TRUE(SameState(Mixed.State, before));
}

TEST(Mix, MixedPointThatFeedsItsOwnStreamsIsRefused) {
    TComponent owner(nullptr);
    // x is a mixed point nothing computes yet, used as a stream of two chained mixes.
    auto& x = owner.Create<TMixPoint>("", 1, "X", StateOf(25, 17));
    auto& y = owner.Create<TPsyPoint>("", 2, "Y", StateOf(13, 12));
    auto& m1 = owner.Create<TMixPoint>("", 3, "M", StateOf(20, 15));
    owner.Create<TMixBranch>("", 1, "Mix", x, y, m1, 50.0);
    auto& m2 = owner.Create<TMixPoint>("", 4, "M", StateOf(20, 15));
    owner.Create<TMixBranch>("", 2, "Mix", m1, y, m2, 50.0);
    // Computing x from m2 would make every update run round x -> m1 -> m2 -> x for ever.
    EXPECT_EQ(ErrorOf([&] { owner.Create<TMixBranch>("", 3, "Mix", m2, y, x, 50.0); }),
              "A branch cannot compute a point it depends on");
    EXPECT_EQ(ErrorOf([&] { owner.Create<TMixBranch>("", 4, "Mix", x, y, m1, 50.0); }),
              "M3 is already computed by another branch");
    EXPECT_EQ(ErrorOf([&] { owner.Create<TMixBranch>("", 5, "Mix", y, y, x, 50.0); }),
              "Inlet and outlet must be different points");
    EXPECT_EQ(x.OwnerBranch, nullptr);
    EXPECT_EQ(m2.Branches.size(), 0u);
    EXPECT_EQ(y.Branches.size(), 2u);
    EXPECT_EQ(y.Dependents.size(), 2u);
}

} // namespace
