#include "AirconTestSupport.h"

#include "aircon/TComponent.h"
#include "aircon/TxAirconItems.h"

#include <gtest/gtest.h>

namespace {

// Counts the live instances of a component so that freeing by the owner can be observed.
class TCounted : public TComponent {
public:
    TCounted(TComponent* AOwner, std::string AName, std::vector<std::string>* freed)
        : TComponent(AOwner, std::move(AName))
        , FFreed(freed) {}
    ~TCounted() override { FFreed->push_back(Name()); }

private:
    std::vector<std::string>* FFreed;
};

TEST(Component, OwnerFreesItsComponentsNewestFirst) {
    std::vector<std::string> freed;
    {
        TComponent owner(nullptr, "Dlg");
        owner.Create<TCounted>("A", &freed);
        owner.Create<TCounted>("B", &freed);
        owner.Create<TCounted>("C", &freed);
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent("b"), owner.Components(1));
        EXPECT_TRUE(freed.empty());
    }
    EXPECT_EQ(freed, (std::vector<std::string>{"C", "B", "A"}));
}

TEST(Component, DuplicateNameIsRefusedWhateverItsCase) {
    TComponent owner(nullptr);
    owner.Create<TPsyPoint>("Inlet", 1, "Inlet", TAirState{});
    EXPECT_EQ(ErrorOf([&] { owner.Create<TPsyPoint>("Other", 1, "Inlet", TAirState{}); }),
              "A component named Inlet1 already exists");
    EXPECT_EQ(ErrorOf([&] { owner.Create<TPsyPoint>("Other", 1, "INLET", TAirState{}); }),
              "A component named INLET1 already exists");
    EXPECT_EQ(owner.ComponentCount(), 1);
    // Another owner has names of its own.
    TComponent other(nullptr);
    EXPECT_NO_THROW(other.Create<TPsyPoint>("Inlet", 1, "Inlet", TAirState{}));
}

TEST(Component, ComponentOutlivingItsOwnerForgetsIt) {
    auto owner = std::make_unique<TComponent>(nullptr);
    TComponent loose(owner.get(), "Loose");
    EXPECT_EQ(owner->FindComponent("Loose"), &loose);
    owner.reset();
    EXPECT_EQ(loose.Owner(), nullptr);
}

TEST(AirconItem, NameIsPrefixAndNumberAndCaptionDefaultsToIt) {
    TComponent owner(nullptr);
    const auto& node = owner.Create<TPsyPoint>("", 1, "Node", TAirState{});
    EXPECT_EQ(node.Name(), "Node1");
    EXPECT_EQ(node.ItemName, "Node1");
    const auto& adp = owner.Create<TADPPoint>("ADP", 3, "ADP", TAirState{});
    EXPECT_EQ(adp.Name(), "ADP3");
    EXPECT_EQ(adp.ItemName, "ADP");
    EXPECT_EQ(adp.Inspector, nullptr);
    EXPECT_EQ(adp.FormLeft, -99);
    EXPECT_EQ(adp.FormTop, -99);
}

struct TPlaceCase {
    const char* Name;
    int StoredLeft, StoredTop; // before PlaceAt
    int Left, Top;             // arguments
    int ExpectedLeft, ExpectedTop;
};

class PlaceAt : public ::testing::TestWithParam<TPlaceCase> {};

TEST_P(PlaceAt, UnsetPositionsTakeTheMouseCursor) {
    const TPlaceCase& c = GetParam();
    TAirconItem::MouseCursorPos = [] { return TScreenPos{640, 480}; };
    TComponent owner(nullptr);
    auto& item = owner.Create<TPsyPoint>("", 1, "Node", TAirState{});
    item.FormLeft = c.StoredLeft;
    item.FormTop = c.StoredTop;
    item.PlaceAt(c.Left, c.Top);
    EXPECT_EQ(item.FormLeft, c.ExpectedLeft);
    EXPECT_EQ(item.FormTop, c.ExpectedTop);
    TAirconItem::MouseCursorPos = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlaceAt,
    ::testing::Values(TPlaceCase{"NothingStoredNothingGiven", -99, -99, -99, -99, 640, 480},
                      TPlaceCase{"KeepsStoredLeftSetsTop", 100, 200, -99, 40, 100, 40},
                      TPlaceCase{"MinusNinetyEightIsAPosition", -99, -99, -98, -98, -98, -98},
                      TPlaceCase{"BelowMinusNinetyEightIsUnset", -99, -99, -150, 10, 640, 10},
                      TPlaceCase{"StoredPositionsStay", 5, 6, -99, -99, 5, 6},
                      TPlaceCase{"GivenPositionsReplaceStored", 5, 6, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AirconItem, PlaceAtWithoutCursorSourceUsesTheOrigin) {
    TAirconItem::MouseCursorPos = nullptr;
    TComponent owner(nullptr);
    auto& item = owner.Create<TPsyPoint>("", 1, "Node", TAirState{});
    item.PlaceAt(-99, 30);
    EXPECT_EQ(item.FormLeft, 0);
    EXPECT_EQ(item.FormTop, 30);
}

} // namespace
