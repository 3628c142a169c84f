#include "aircon/TxCombin.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Row index of a property letter (inverse of TAirCombin::Codes).
int IndexOf(char letter) {
    for (int i = 0; i < static_cast<int>(TAirCombin::Codes.size()); ++i)
        if (TAirCombin::Codes[static_cast<std::size_t>(i)] == letter) return i;
    throw std::invalid_argument("no such letter");
}

TEST(AirCombin, StartsFromDryBulbAndWetBulb) {
    TAirCombin c;
    EXPECT_EQ(c.Order, "tb");
    EXPECT_TRUE(c.Pair.empty());
    EXPECT_EQ(c.Mode, 0);
}

TEST(AirCombin, NewestPropertyPairsWithTheNewestPartnerThatDefinesAState) {
    TAirCombin c;
    c.Touch(IndexOf('f'));
    EXPECT_EQ(c.Order, "ftb");
    EXPECT_EQ(c.Pair, (std::set<char>{'f', 't'}));
    EXPECT_EQ(c.Mode, 3);

    c.Touch(IndexOf('d'));
    EXPECT_EQ(c.Order, "dftb");
    EXPECT_EQ(c.Pair, (std::set<char>{'d', 'f'}));
    EXPECT_EQ(c.Mode, 28);

    // (w, d) fix the same thing; (w, f) is the first valid pair.
    c.Touch(IndexOf('w'));
    EXPECT_EQ(c.Order, "wdftb");
    EXPECT_EQ(c.Pair, (std::set<char>{'w', 'f'}));
    EXPECT_EQ(c.Mode, 25);
}

TEST(AirCombin, DryBulbNeverPairsWithSaturationPressure) {
    TAirCombin c;
    c.Order = "vstb";
    c.Touch(IndexOf('t'));
    EXPECT_EQ(c.Order, "tvsb");
    EXPECT_EQ(c.Pair, (std::set<char>{'t', 'v'}));
    EXPECT_EQ(c.Mode, 5);
}

TEST(AirCombin, TouchingTwiceKeepsTheOrder) {
    TAirCombin c;
    c.Touch(IndexOf('h'));
    const std::string order = c.Order;
    const auto pair = c.Pair;
    c.Touch(IndexOf('h'));
    EXPECT_EQ(c.Order, order);
    EXPECT_EQ(c.Pair, pair);
    EXPECT_EQ(c.Mode, 1);
}

TEST(AirCombin, PropertiesWithoutPartnerFallBackToTheOlderPair) {
    // Specific heat and pressure never pair; density pairs only with t, b and w.
    TAirCombin c;
    c.Touch(IndexOf('c'));
    c.Touch(IndexOf('p'));
    EXPECT_EQ(c.Order, "pctb");
    EXPECT_EQ(c.Pair, (std::set<char>{'t', 'b'}));
    EXPECT_EQ(c.Mode, 0);
    c.Touch(IndexOf('r'));
    EXPECT_EQ(c.Pair, (std::set<char>{'r', 't'}));
    EXPECT_EQ(c.Mode, 7);
}

TEST(AirCombin, NoValidPairKeepsTheLastTriedAndModeZero) {
    TAirCombin c;
    c.Order = "wd";
    c.Touch(IndexOf('v'));
    EXPECT_EQ(c.Order, "vwd");
    EXPECT_EQ(c.Pair, (std::set<char>{'w', 'd'}));
    EXPECT_EQ(c.Mode, 0);
}

TEST(AirCombin, EveryTableEntryIsFoundInEitherOrder) {
    struct TEntry {
        char A, B;
        int Mode;
    };
    const TEntry table[] = {{'t', 'b', 0},  {'t', 'h', 1},  {'t', 'w', 2},  {'t', 'f', 3},  {'t', 'd', 4},
                            {'t', 'v', 5},  {'t', 'r', 7},  {'b', 'h', 8},  {'b', 'w', 9},  {'b', 'f', 10},
                            {'b', 'd', 11}, {'b', 'v', 12}, {'b', 's', 13}, {'b', 'r', 14}, {'h', 'w', 15},
                            {'h', 'f', 16}, {'h', 'd', 17}, {'h', 'v', 18}, {'h', 's', 19}, {'w', 'f', 25},
                            {'w', 's', 26}, {'w', 'r', 27}, {'f', 'd', 28}, {'f', 'v', 29}, {'f', 's', 30},
                            {'d', 's', 31}, {'v', 's', 32}};
    for (const TEntry& e : table)
        for (const auto& order : {std::string{e.A, e.B}, std::string{e.B, e.A}}) {
            TAirCombin c;
            c.Order = order;
            c.Pair = {e.A, e.B};
            EXPECT_TRUE(c.IsValidPair()) << e.A << e.B;
            EXPECT_EQ(c.Mode, e.Mode) << e.A << e.B;
        }
    const char* invalid[] = {"ts", "wd", "wv", "dv", "rh", "rf", "tc", "tp", "rs"};
    for (const char* pair : invalid) {
        TAirCombin c;
        c.Mode = 9;
        c.Pair = {pair[0], pair[1]};
        EXPECT_FALSE(c.IsValidPair()) << pair;
        EXPECT_EQ(c.Mode, 0) << pair;
    }
}

TEST(AirCombin, IndexOutsideTheRowsIsRefused) {
    TAirCombin c;
    EXPECT_THROW(c.Touch(11), std::out_of_range);
    EXPECT_THROW(c.Touch(-1), std::out_of_range);
    EXPECT_EQ(c.Order, "tb");
}

} // namespace
