// The property library against the ASHRAE Handbook—Fundamentals 2021 (SI) tables of chapter 1.
// A printed value is only known to half a unit of its last digit, so each tolerance is the larger of
// the stated accuracy and that rounding.

#include "psychro/Aerix43.h"
#include "psychro/RealGasMoistAir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One CSV row: the text of every column by header name.
using TRow = std::map<std::string, std::string>;

std::vector<TRow> ReadTable(const std::string& name) {
    std::ifstream in(std::string(HYG_TEST_DATA) + "/psychro/" + name);
    EXPECT_TRUE(in) << "cannot open " << name;
    std::vector<TRow> rows;
    std::string line;
    std::vector<std::string> header;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> cells;
        std::stringstream ss(line);
        for (std::string cell; std::getline(ss, cell, ',');)
            cells.push_back(cell);
        if (header.empty()) {
            header = cells;
            continue;
        }
        TRow row;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i)
            row[header[i]] = cells[i];
        rows.push_back(row);
    }
    return rows;
}

double Number(const std::string& text) {
    double v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(ec == std::errc() && p == text.data() + text.size()) << "not a number: " << text;
    return v;
}

// Half a unit of the last printed digit of a table value.
double HalfUnit(const std::string& text) {
    const auto dot = text.find('.');
    const int decimals = dot == std::string::npos ? 0 : int(text.size() - dot - 1);
    return 0.5 * std::pow(10.0, -decimals);
}

// Collects the comparisons of one quantity and reports its worst row.
class TWorst {
public:
    explicit TWorst(std::string quantity)
        : FQuantity(std::move(quantity)) {}
    ~TWorst() {
        std::cout << "worst " << FQuantity << ": " << FWhere << " value " << FValue << " reference " << FRef
                  << " difference " << FValue - FRef << " (" << 100 * (FValue - FRef) / FRef << " %, "
                  << FUse * 100 << " % of tolerance)\n";
    }
    // Checks |value − ref| ≤ max(rel·|ref|, abs, half unit of the printed reference).
    void Check(const std::string& where, double value, const std::string& refText, double rel,
               double abs = 0) {
        const double ref = Number(refText);
        const double tol = std::max({rel * std::abs(ref), abs, HalfUnit(refText)});
        const double diff = value - ref;
        EXPECT_LE(std::abs(diff), tol)
            << FQuantity << " at " << where << ": expected " << refText << ", actual " << value
            << ", difference " << diff << ", tolerance " << tol;
        if (std::abs(diff) / tol >= FUse) {
            FUse = std::abs(diff) / tol;
            FWhere = where;
            FValue = value;
            FRef = ref;
        }
    }

private:
    std::string FQuantity, FWhere;
    double FValue = 0, FRef = 1, FUse = -1;
};

constexpr double P0 = 101.325;

TEST(AerixTable, SaturatedMoistAirAtStandardPressure) {
    const auto rows = ReadTable("saturation_101325.csv");
    ASSERT_EQ(rows.size(), 16u);
    TWorst ws("Ws"), vda("vda"), vs("vs"), hda("hda"), hs("hs"), cpda("cp_da"), cps("cp_s");
    for (const TRow& row : rows) {
        const double t = Number(row.at("t_C"));
        const std::string where = "t = " + row.at("t_C") + " °C";
        TAirState sat, dry;
        SetState(sat, P0, t, t, 0);
        ASSERT_EQ(PsyStatus(), psOk) << where;
        SetState(dry, P0, t, 0, 2);
        ASSERT_EQ(PsyStatus(), psOk) << where;
        // Saturation humidity ratio: 0.05 % from −40 to 60 °C, 0.1 % elsewhere.
        ws.Check(where, sat.Humidity, row.at("Ws_kgkg"), t >= -40 && t <= 60 ? 0.0005 : 0.001);
        vda.Check(where, dry.SpecificVolume, row.at("vda_m3kg"), 0.0005);
        vs.Check(where, sat.SpecificVolume, row.at("vs_m3kg"), 0.0005);
        hda.Check(where, dry.Enthalpy, row.at("hda_kJkg"), 0.001, 0.02);
        hs.Check(where, sat.Enthalpy, row.at("hs_kJkg"), 0.001, 0.02);
        // The heat capacities are per kg of dry air here and per kg of mixture in the table; they
        // follow from the same formulation, the saturated one to the accuracy of the water-vapour
        // virial terms (the Handbook's IAPWS-95 water gives 0.4 % more at 90 °C).
        cpda.Check(where, dry.SpecificHeat, row.at("cp_da_kJkgK"), 0.0005);
        cps.Check(where, sat.SpecificHeat / (1 + sat.Humidity), row.at("cp_s_kJkgK"), 0.005);
    }
}

TEST(AerixTable, SaturationPressureOverIceAndWater) {
    const auto rows = ReadTable("saturation_pressure.csv");
    ASSERT_EQ(rows.size(), 21u);
    TWorst pws("pws"), pwsState("pws (state field)"), hc("h condensed");
    for (const TRow& row : rows) {
        const double t = Number(row.at("t_C"));
        const bool ice = row.at("phase") == "ice";
        const std::string where = "t = " + row.at("t_C") + " °C over " + row.at("phase");
        const double T = t + realgas::T0;
        const double p = (ice ? realgas::SatPressureIce(T) : realgas::SatPressureWater(T)).p / 1000;
        pws.Check(where, p, row.at("pws_kPa"), 0.0002);
        // The state's field uses the stable phase: ice below the triple point (0.01 °C).
        if (ice == realgas::IsIce(T) && t <= 200) {
            TAirState s;
            SetState(s, 1000, t, 0, 2);
            ASSERT_EQ(PsyStatus(), psOk) << where;
            pwsState.Check(where, s.SatPressure, row.at("pws_kPa"), 0.0002);
        }
        // Hyland & Wexler's condensed-phase enthalpies (used only in the wet-bulb balance, where they
        // are multiplied by Ws − W) stay within 0.1 kJ/kg of IAPWS-95 for water, 0.3 kJ/kg for ice.
        const double h = ice ? realgas::IceEnthalpy(T) : realgas::LiquidEnthalpy(T);
        hc.Check(where, h, row.at("h_condensed_kJkg"), 0, ice ? 0.3 : 0.1);
    }
}

TEST(AerixTable, StandardAtmosphere) {
    const auto rows = ReadTable("standard_atmosphere.csv");
    ASSERT_EQ(rows.size(), 7u);
    TWorst p("standard-atmosphere p");
    for (const TRow& row : rows) {
        const double z = Number(row.at("Z_m"));
        const std::string where = "Z = " + row.at("Z_m") + " m";
        const double pz = AtmPressure(z);
        ASSERT_EQ(PsyStatus(), psOk) << where;
        p.Check(where, pz, row.at("p_kPa"), 0, 0.005);
        // And back: Altitude is the inverse of AtmPressure.
        EXPECT_NEAR(Altitude(pz), z, 1e-6) << where;
        EXPECT_EQ(PsyStatus(), psOk) << where;
    }
}

// Worked examples of the chapter (chart readings, a few digits) and a vendor's computed values; these
// are sanity checks of whole states, with tolerances of the printed precision.
TEST(AerixTable, WorkedExamples) {
    struct TCase {
        const char* Name;
        double P, x1, x2;
        int Mode;
        double TAirState::*Field;
        double Value, Tol;
    };
    const TCase cases[] = {
        {"Example 1 W", P0, 40, 20, 0, &TAirState::Humidity, 0.0065, 0.0001},
        {"Example 1 h", P0, 40, 20, 0, &TAirState::Enthalpy, 56.7, 0.2},
        {"Example 1 dew point", P0, 40, 20, 0, &TAirState::DewPoint, 7, 0.5},
        {"Example 1 RH", P0, 40, 20, 0, &TAirState::RelHumidity, 0.14, 0.005},
        {"Example 1 v", P0, 40, 20, 0, &TAirState::SpecificVolume, 0.896, 0.001},
        {"Chart 1 h", P0, 40, 30, 0, &TAirState::Enthalpy, 99.5, 0.3},
        {"Chart 1 W", P0, 40, 30, 0, &TAirState::Humidity, 0.0230, 0.0001},
        {"Chart 6 (1500 m) W", 84.54, 40, 30, 0, &TAirState::Humidity, 0.0286, 0.0002},
        {"Chart 6 (1500 m) v", 84.54, 40, 30, 0, &TAirState::SpecificVolume, 1.111, 0.002},
        {"Example 2 h1", P0, 2, 1, 3, &TAirState::Enthalpy, 13.0, 0.1},
        {"Example 2 W1", P0, 2, 1, 3, &TAirState::Humidity, 0.00438, 0.00002},
        {"Example 3 h1", P0, 30, 0.5, 3, &TAirState::Enthalpy, 64.3, 0.1},
        {"Example 3 v1", P0, 30, 0.5, 3, &TAirState::SpecificVolume, 0.877, 0.001},
        {"Example 3 W2", P0, 10, 1, 3, &TAirState::Humidity, 0.00766, 0.00002},
        {"Example 4 v1", P0, 4, 2, 0, &TAirState::SpecificVolume, 0.789, 0.001},
        {"Example 4 v2", P0, 25, 0.5, 3, &TAirState::SpecificVolume, 0.858, 0.001},
        {"vendor RH at 4/2", P0, 4, 2, 0, &TAirState::RelHumidity, 0.71, 0.005},
        {"vendor h at 4/2", P0, 4, 2, 0, &TAirState::Enthalpy, 12.97, 0.02},
        {"vendor wet bulb at 25 °C 50 %", P0, 25, 0.5, 3, &TAirState::WetBulb, 17.88, 0.02},
        {"vendor h at 25 °C 50 %", P0, 25, 0.5, 3, &TAirState::Enthalpy, 50.42, 0.02},
    };
    for (const TCase& c : cases) {
        TAirState s;
        SetState(s, c.P, c.x1, c.x2, c.Mode);
        ASSERT_EQ(PsyStatus(), psOk) << c.Name;
        EXPECT_NEAR(s.*c.Field, c.Value, c.Tol) << c.Name;
    }
}

// Enhancement factors of Herrmann, Kretzschmar & Gatley (2009, ASHRAE RP-1485), table A.3, from
// which the Handbook's tables are computed.
TEST(AerixTable, EnhancementFactor) {
    EXPECT_NEAR(realgas::Saturation(realgas::T0 - 60, 101325).f, 1.00708, 2e-5);
    EXPECT_NEAR(realgas::Saturation(realgas::T0 + 80, 101325).f, 1.00573, 2e-5);
}

} // namespace
