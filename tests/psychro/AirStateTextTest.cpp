#include "psychro/AirStateText.h"
#include "psychro/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double Patm = 101.325;
constexpr int ModeTb = 0;
constexpr int ModeTf = 3;
// The library solves states iteratively; temperatures agree to well below the typed digits.
constexpr double TolT = 1e-6;

double WetBulbAtRH(double db, double phi, double P = Patm) {
    return WetBulb(P, db, phi, ModeTf);
}

TAirState StateOf(double db, double wb, double P = Patm) {
    TAirState s;
    SetState(s, P, db, wb, ModeTb);
    return s;
}

TEST(ParseStateText, TextsGiveClampedStates) {
    struct TCase {
        const char* Text;
        double P;
        double Db;
        double Wb;
        const char* Why;
        const char* Message = ""; // StateMessage of the parsed state
    };
    const std::vector<TCase> cases = {
        {"25/17", Patm, 25, 17, "dry bulb / wet bulb"},
        {"25.0/17.0", Patm, 25, 17, "decimals"},
        {" 25 / 17 ", Patm, 25, 17, "blanks around the numbers"},
        {"25", Patm, 25, WetBulbAtRH(25, 0.5), "dry bulb alone: 50 % relative humidity"},
        {"25/30", Patm, 25, 25, "wet bulb not above the dry bulb"},
        {"25/-20", Patm, 25, WetBulbAtRH(25, 0.01), "wet bulb not below 1 % relative humidity"},
        // Air at -60 °C and 1 % has its wet bulb a little below -60 °C.
        {"-70/-70", Patm, -60, WetBulbAtRH(-60, 0.01), "dry bulb not below -60", "Wet bulb too low..."},
        {"150", Patm, 99, WetBulbAtRH(99, 0.5), "dry bulb not above 99"},
        {"120/40", Patm, 99, 40, "dry bulb not above 99, wet bulb kept"},
        {"20/15", 84.5, 20, 15, "another pressure"},
        {"20", 84.5, 20, WetBulbAtRH(20, 0.5, 84.5), "50 % at another pressure"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.Text + "': " + c.Why);
        const TAirState s = ParseStateText(c.Text, 0.5, c.P);
        EXPECT_NEAR(s.DryBulb, c.Db, TolT);
        EXPECT_NEAR(s.WetBulb, c.Wb, TolT);
        EXPECT_NEAR(s.Pressure, c.P, 1e-12);
        EXPECT_EQ(PsyStatus(), 0);
        EXPECT_EQ(StateMessage(s), c.Message);
    }
    EXPECT_NEAR(ParseStateText("25", 0.5, Patm).RelHumidity, 0.5, 1e-6);
    EXPECT_NEAR(ParseStateText("25", 0.3, Patm).RelHumidity, 0.3, 1e-6) << "phi0 is the default humidity";
    EXPECT_NEAR(ParseStateText("25/30", 0.5, Patm).RelHumidity, 1, 1e-6);
    EXPECT_NEAR(ParseStateText("25/-20", 0.5, Patm).RelHumidity, 0.01, 1e-6);
}

TEST(ParseStateText, NonNumbersRaiseTheConversionError) {
    struct TCase {
        const char* Text;
        const char* Message;
    };
    const std::vector<TCase> cases = {
        {"abc", "'abc' is not a valid floating point value"},
        {"25,5/17", "'25,5' is not a valid floating point value"},
        {"25/", "'' is not a valid floating point value"},
        {"/17", "'' is not a valid floating point value"},
        {"25/17/3", "'17/3' is not a valid floating point value"},
        {"", "'' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        try {
            ParseStateText(c.Text, 0.5, Patm);
            ADD_FAILURE() << "accepted '" << c.Text << "'";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
    }
}

TEST(ParseTemperaturePair, CellTextsWithFallbackToHalfHumidity) {
    struct TCase {
        const char* Text;
        bool Saturated;
        double Db;
        double Wb;
        const char* Why;
    };
    const std::vector<TCase> cases = {
        {"25/17", false, 25, 17, "acceptable pair kept"},
        {"25", false, 25, WetBulbAtRH(25, 0.5), "dry bulb alone: 50 %"},
        {"25", true, 25, 25, "saturated cell, dry bulb alone"},
        {"25/17", true, 25, 25, "saturated cell ignores the wet bulb"},
        {"25/30", false, 25, WetBulbAtRH(25, 0.5), "wet bulb above dry bulb: fallback"},
        {"25/25.1", false, 25, WetBulbAtRH(25, 0.5), "the library takes no wet bulb above the dry bulb"},
        {"-70/-70", false, -60, WetBulbAtRH(-60, 0.5), "clamped dry bulb, wet bulb too low: fallback"},
        {"120/40", false, 120, WetBulbAtRH(120, 0.5), "limit 150 keeps 120; too high for a state: fallback"},
        {"110", false, 110, WetBulbAtRH(110, 0.5), "dry bulb alone up to the cell limit"},
        {"25/-30", false, 25, WetBulbAtRH(25, 0.5), "drier than dry air: the library fails, fallback"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.Text + "': " + c.Why);
        double db = -999;
        double wb = -999;
        ParseTemperaturePair(c.Text, db, wb, c.Saturated, Patm);
        EXPECT_NEAR(db, c.Db, TolT);
        EXPECT_NEAR(wb, c.Wb, TolT);
    }
}

TEST(ParseTemperaturePair, FailuresLeaveTheValuesAlone) {
    struct TCase {
        const char* Text;
        const char* Message;
        bool Conversion; // EConvertError rather than EAirStateError
    };
    const std::vector<TCase> cases = {
        {"200/20", "Dry bulb too high...", false}, // 150 °C holds no air at 50 % at sea level
        {"200", "Dry bulb too high...", false},
        {"x/17", "'x' is not a valid floating point value", true},
        {"25/x", "'x' is not a valid floating point value", true},
        {"25,0", "'25,0' is not a valid floating point value", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        double db = 21;
        double wb = 15;
        try {
            ParseTemperaturePair(c.Text, db, wb, false, Patm);
            ADD_FAILURE() << "accepted, db " << db << ", wb " << wb;
        } catch (const EAirStateError& e) {
            EXPECT_FALSE(c.Conversion);
            EXPECT_STREQ(e.what(), c.Message);
        } catch (const EConvertError& e) {
            EXPECT_TRUE(c.Conversion);
            EXPECT_STREQ(e.what(), c.Message);
        }
        EXPECT_EQ(db, 21);
        EXPECT_EQ(wb, 15);
    }
}

TEST(StateMessage, FirstRuleThatAppliesInOrder) {
    const TAirState valid = StateOf(25, 17);
    ASSERT_EQ(StateMessage(valid), "");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct TCase {
        double Db;
        double Wb;
        double Rh;
        double W;
        const char* Message;
    };
    const double rh = valid.RelHumidity;
    const double w = valid.Humidity;
    const std::vector<TCase> cases = {
        {100, -70, 5, -1, "Dry bulb too high..."},
        {25, 100, 5, -1, "Wet bulb too high..."},
        {-61, -70, 5, -1, "Dry bulb too low..."},
        {25, -61, 5, -1, "Wet bulb too low..."},
        {25, 25.2, 5, -1, "Wet Bulb > Dry Bulb \u00b0C..."},
        {25, 25.1, -0.02, -1, "Low Relative Humidity..."}, // 0.1 above passes the wet-bulb rule
        {25, 17, -0.01, w, ""},
        {25, 17, 1.02, -1, "High Relative Humidity..."},
        {25, 17, 1.01, w, ""},
        {25, 17, rh, -0.00002, "Absolute Humidity < 0 g/kg..."},
        {25, 17, rh, -0.00001, ""},
        {99, 99, rh, w, ""},
        {-60, -60, rh, w, ""},
        {nan, 17, rh, w, "Bad data..."},
        {25, 17, nan, w, "Bad data..."},
    };
    for (const auto& c : cases) {
        TAirState s = valid;
        s.DryBulb = c.Db;
        s.WetBulb = c.Wb;
        s.RelHumidity = c.Rh;
        s.Humidity = c.W;
        EXPECT_EQ(StateMessage(s), c.Message)
            << "db " << c.Db << ", wb " << c.Wb << ", rh " << c.Rh << ", w " << c.W;
    }

    // A failed library call makes any state "Bad data..." until the next call succeeds.
    TAirState failed;
    SetState(failed, Patm, 25, 30, ModeTb);
    ASSERT_NE(PsyStatus(), 0) << "a wet bulb above the dry bulb should fail in the library";
    EXPECT_EQ(StateMessage(valid), "Bad data...");
    EXPECT_EQ(StateMessage(StateOf(25, 17)), "");
}

TEST(FormatStateText, WritesDryAndWetBulb) {
    TAirState s;
    s.DryBulb = 25;
    s.WetBulb = 17;
    EXPECT_EQ(FormatStateText(s, "%0.1f"), "25.0/17.0");
    EXPECT_EQ(FormatStateText(s, "%0.3f"), "25.000/17.000");
    EXPECT_EQ(FormatStateTextUnits(s, "%0.1f", 1.8, 32), "77.0/62.6");
    s.DryBulb = -0.04;
    s.WetBulb = 12.25;
    EXPECT_EQ(FormatStateText(s, "%0.1f"), "0.0/12.3");
    // The parsed text reads back as the same state.
    const TAirState parsed = ParseStateText(FormatStateText(StateOf(24, 17), "%0.3f"), 0.5, Patm);
    EXPECT_NEAR(parsed.DryBulb, 24, TolT);
    EXPECT_NEAR(parsed.WetBulb, 17, TolT);
}

} // namespace
