#include "psychro/MoistAir.h"
#include "psychro/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double Patm = 101.325;
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

struct TValueCase {
    const char* Name;
    double Actual;
    double Expected;
    double Tolerance; // absolute
};

void ExpectNear(const std::vector<TValueCase>& cases) {
    for (const auto& c : cases)
        EXPECT_NEAR(c.Actual, c.Expected, c.Tolerance)
            << c.Name << ": expected " << c.Expected << " ± " << c.Tolerance << ", got " << c.Actual;
}

TEST(MoistAir, EdgeCases) {
    ExpectNear({
        {"SatPressure(0), band 2 gives A", SatPressure(0), 0.61084581, 1e-15},
        {"SatPressure(-1e-6), band 1", SatPressure(-1e-6), 0.6111788596631823, 1e-13},
        {"SatPressure(20)", SatPressure(20), 2.339, 0.001},
        {"SatTemperature(0.6112), band 2", SatTemperature(0.6112), 0.008, 0.0005},
        {"SatTemperature(0)", SatTemperature(0), -100, 0},
        {"SatTemperature(-1)", SatTemperature(-1), -100, 0},
        {"HumidityFromRH(0.5, 24, 101.325)", HumidityFromRH(0.5, 24, Patm), 0.00934, 0.00001},
        {"DewPointOfHumidity(0.030, 101.325)", DewPointOfHumidity(0.030, Patm), 31.57, 0.005},
        {"SatHumidity(20) is HumidityFromRH(1, 20)", SatHumidity(20, Patm), HumidityFromRH(1, 20, Patm), 0},
        {"CeilMultiple(0, 5, 7.3)", CeilMultiple(0, 5, 7.3), 10, 0},
        {"CeilMultiple(0, 1, 2)", CeilMultiple(0, 1, 2), 2, 0},
        {"CeilMultiple(0, 5, -7.3) goes up", CeilMultiple(0, 5, -7.3), -5, 0},
        {"CeilMultiple(0.5, 1, 2.3) within tol", CeilMultiple(0.5, 1, 2.3), 2, 0},
        {"CeilMultiple(0.5, 1, 2.7) beyond tol", CeilMultiple(0.5, 1, 2.7), 3, 0},
        {"CeilMultiple(0, 0.005, 0.03)", CeilMultiple(0, 0.005, 0.03), 0.03, 0},
        {"RoundMultiple(5, -17)", RoundMultiple(5, -17), -15, 0},
        {"RoundMultiple(5, -12.5) towards zero", RoundMultiple(5, -12.5), -10, 0},
        {"RoundMultiple(5, 12.5) half up", RoundMultiple(5, 12.5), 15, 0},
        {"RoundMultiple(5, 12.4)", RoundMultiple(5, 12.4), 10, 0},
        {"RoundMultiple(0.005, 0.0276)", RoundMultiple(0.005, 0.0276), 0.03, 0},
    });
}

TEST(MoistAir, ClosedFormsAgainstHandValues) {
    ExpectNear({
        {"Compressibility(101.325, 20)", Compressibility(Patm, 20), 0.9996731087, 1e-10},
        {"EnthalpyLineFactor(0.01, 20)", EnthalpyLineFactor(0.01, 20), 0.00040428374251572416, 1e-18},
        {"HumidSpecificHeat(0.01)", HumidSpecificHeat(0.01), 1.0242, 1e-15},
        {"LatentHeat(20)", LatentHeat(20), 2453.1493, 1e-12},
        {"Lerp(0.25, 10, 30)", Lerp(0.25, 10, 30), 15, 0},
        {"InvLerp(15, 10, 30)", InvLerp(15, 10, 30), 0.25, 0},
        {"SpecificVolumeWB(17, 25) is SpecificVolumeW of its humidity", SpecificVolumeWB(17, 25, Patm),
         SpecificVolumeW(HumidityFromVapour(VapourPressureWB(17, 25, Patm), Patm), 25, Patm), 1e-12},
    });
    EXPECT_TRUE(Between(1, 2, 3));
    EXPECT_TRUE(Between(3, 2, 1));
    EXPECT_FALSE(Between(1, 1, 3));
    EXPECT_FALSE(Between(1, 3, 3));
    EXPECT_FALSE(Between(1, NaN, 3));
}

TEST(MoistAir, WetBulbEqualToDryBulbGivesTheSaturationPressure) {
    for (const double P : {70.0, Patm, 110.0})
        for (const double t : {-50.0, -10.0, -0.5, 0.0, 12.0, 25.0, 40.0, 55.0, 85.0}) {
            const double expected = SatPressure(t);
            EXPECT_NEAR(VapourPressureWB(t, t, P), expected, expected * 1e-15)
                << "t = " << t << ", P = " << P;
        }
}

TEST(MoistAir, BandBoundaries) {
    struct TBandCase {
        double Value;
        int Temp;
        int Pressure;
    };
    // Each limit and the next value beyond it; TempBand's limits above, PressureBand's below.
    const std::vector<TBandCase> temps = {
        {90.0001, 4, -1}, {90, 3, -1},  {40.0001, 3, -1},  {40, 2, -1},  {0, 2, -1},
        {-1e-9, 1, -1},   {-40, 1, -1}, {-40.0001, 0, -1}, {NaN, 0, -1},
    };
    for (const auto& c : temps)
        EXPECT_EQ(TempBand(c.Value), c.Temp) << "T = " << c.Value;
    const std::vector<TBandCase> pressures = {
        {70.18171, -1, 4}, {70.1817, -1, 3}, {7.38381, -1, 3}, {7.3838, -1, 2},
        {0.6112, -1, 2},   {0.61119, -1, 1}, {0.01285, -1, 1}, {0.012849, -1, 0},
    };
    for (const auto& c : pressures)
        EXPECT_EQ(PressureBand(c.Value), c.Pressure) << "p = " << c.Value;
    // The pressure limits are the saturation pressures at the temperature limits, so
    // SatTemperature inverts SatPressure inside every band.
    for (const double t : {-60.0, -40.5, -39.5, -20.0, -0.5, 0.5, 20.0, 39.5, 40.5, 60.0, 89.5, 90.5, 99.0}) {
        EXPECT_NEAR(SatTemperature(SatPressure(t)), t, 1e-9) << "t = " << t;
    }
}

// The reference CSV files: a header line, then one row per temperature.
std::vector<std::map<std::string, std::string>> ReadTable(const std::string& name) {
    std::ifstream in(std::string(HYG_TEST_DATA) + "/psychro/" + name);
    std::vector<std::map<std::string, std::string>> rows;
    std::string line;
    std::vector<std::string> header;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream ss(line);
        for (std::string cell; std::getline(ss, cell, ',');)
            cells.push_back(cell);
        if (header.empty()) {
            header = cells;
            continue;
        }
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < cells.size() && i < header.size(); ++i)
            row[header[i]] = cells[i];
        rows.push_back(row);
    }
    return rows;
}

// One unit of the last printed digit.
double LastDigit(const std::string& text) {
    const auto dot = text.find('.');
    return dot == std::string::npos ? 1 : std::pow(10.0, -static_cast<double>(text.size() - dot - 1));
}

// The closed forms are fits, not the Handbook's real-gas formulation: they must stay within 1 %
// (or one printed digit) of its tables, which catches a wrong coefficient or a wrong band.
TEST(MoistAir, SaturationFormulasFollowTheHandbookWithinOnePercent) {
    const auto pressures = ReadTable("saturation_pressure.csv");
    ASSERT_GT(pressures.size(), 15u);
    for (const auto& row : pressures) {
        double t = StrToFloat(row.at("t_C"));
        if (t == 0 && row.at("phase") == "ice") t = std::nextafter(0.0, -1.0);
        const double expected = StrToFloat(row.at("pws_kPa"));
        const double tol = std::max(0.01 * expected, LastDigit(row.at("pws_kPa")));
        EXPECT_NEAR(SatPressure(t), expected, tol) << "pws at " << t << " °C, Handbook Table 3";
    }
    const auto saturation = ReadTable("saturation_101325.csv");
    ASSERT_GT(saturation.size(), 10u);
    for (const auto& row : saturation) {
        const double t = StrToFloat(row.at("t_C"));
        for (const auto& [column, actual] : {std::pair<std::string, double>{"Ws_kgkg", SatHumidity(t, Patm)},
                                             {"hs_kJkg", SatEnthalpy(t, Patm)},
                                             {"vs_m3kg", SpecificVolumeWB(t, t, Patm)}}) {
            const double expected = StrToFloat(row.at(column));
            const double tol = std::max(0.01 * std::fabs(expected), LastDigit(row.at(column)));
            EXPECT_NEAR(actual, expected, tol) << column << " at " << t << " °C, Handbook Table 2";
        }
    }
}

TEST(MoistAir, VolumeAndHumidityInvertEachOther) {
    for (const double P : {80.0, Patm})
        for (const double W : {0.0, 0.005, 0.02})
            for (const double t : {-40.0, -10.0, 0.0, 20.0, 35.0, 60.0}) {
                const double v = SpecificVolumeW(W, t, P);
                EXPECT_NEAR(TemperatureFromVolume(W, v, P), t, 1e-4) << "W " << W << ", P " << P;
                EXPECT_NEAR(HumidityFromVolume(v, t, P), W, 1e-9) << "t " << t << ", P " << P;
            }
}

TEST(MoistAir, SatTempFromEnthalpyInvertsSatEnthalpy) {
    // Below 60 °C at three pressures, up to 95 °C at sea level (boiling is near 100 °C); the start
    // value alone misses by more than 5 K near -6 °C and above 85 °C.
    for (const double P : {80.0, Patm, 110.0})
        for (double t = -40; t <= (P == Patm ? 95 : 60); t += 0.5) {
            const double h = SatEnthalpy(t, P);
            const double found = SatTempFromEnthalpy(h, P);
            EXPECT_EQ(SolverStatus(), 0) << "t " << t << ", P " << P;
            // Within the solver's tolerance of 0.0001 kJ/kg; the saturation pressure bands meet
            // with a small step at 0 and 40 °C, which moves the root by up to 0.009 K there.
            EXPECT_NEAR(SatEnthalpy(found, P), h, 1e-4) << "t " << t << ", P " << P;
            EXPECT_NEAR(found, t, 0.01) << "P " << P;
        }
}

TEST(MoistAir, SatTempFromVolumeInvertsTheSaturatedVolume) {
    // The secant from 25 °C runs away for saturation above about 62 °C; those volumes are
    // bisected below the boiling point instead.
    for (const double P : {80.0, Patm, 110.0})
        for (double t = -60; t <= (P == Patm ? 97 : 60); t += 0.5) {
            const double found = SatTempFromVolume(SpecificVolumeWB(t, t, P), P);
            EXPECT_EQ(SolverStatus(), 0) << "t " << t << ", P " << P;
            EXPECT_NEAR(found, t, 0.01) << "P " << P;
        }
}

TEST(MoistAir, RHTempForVolumeFindsTheCrossingOfTheHumidityCurve) {
    for (const double phi : {0.1, 0.5, 1.0})
        for (const double t : {-20.0, 5.0, 20.0, 33.0, 50.0}) {
            const double v = SpecificVolumeW(HumidityFromRH(phi, t, Patm), t, Patm);
            EXPECT_NEAR(RHTempForVolume(-30, 60, phi, v, Patm), t, 1e-3) << "phi " << phi;
            EXPECT_EQ(SolverStatus(), 0);
            EXPECT_NEAR(RHTempForVolume(60, -30, phi, v, Patm), t, 1e-3) << "reversed, phi " << phi;
        }
    // Without a crossing between the limits the midpoint comes back.
    EXPECT_EQ(RHTempForVolume(10, 20, 0.5, 5.0, Patm), 15);
}

TEST(MoistAir, SecantRoot) {
    EXPECT_EQ(SecantRoot(nullptr, 50, 1e-4, 0.1, 25), 0);
    EXPECT_EQ(SolverStatus(), 5);

    const TRootFunction sqrt2 = [](double x) { return x * x - 2; };
    // A start value already within tolerance comes back unchanged.
    EXPECT_EQ(SecantRoot(sqrt2, 50, 1e-3, 0.1, 1.41421), 1.41421);
    EXPECT_EQ(SolverStatus(), 0);

    EXPECT_NEAR(SecantRoot(sqrt2, 50, 1e-12, 0.1, 1), std::sqrt(2.0), 1e-12);
    EXPECT_EQ(SolverStatus(), 0);

    SecantRoot(sqrt2, 1, 1e-12, 0.1, 1);
    EXPECT_EQ(SolverStatus(), 2);

    const TRootFunction flat = [](double) { return 1.0; };
    EXPECT_EQ(SecantRoot(flat, 50, 1e-6, 0.1, 3), 3);
    EXPECT_EQ(SolverStatus(), 5);
}

TEST(MoistAir, BisectRoot) {
    const TRootFunction sqrt2 = [](double x) { return x * x - 2; };
    EXPECT_NEAR(BisectRoot(sqrt2, 60, 1e-12, 2, 0), std::sqrt(2.0), 1e-12);
    EXPECT_EQ(SolverStatus(), 0);

    EXPECT_EQ(BisectRoot(sqrt2, 60, 0.1, 2, 1.41), 1.41); // start within tolerance
    EXPECT_EQ(SolverStatus(), 0);

    BisectRoot(sqrt2, 3, 1e-12, 2, 0);
    EXPECT_EQ(SolverStatus(), 2);

    EXPECT_EQ(BisectRoot(nullptr, 60, 1e-12, 2, 0), 0);
    EXPECT_EQ(SolverStatus(), 5);
}

TEST(MoistAir, ArithmeticFailures) {
    // The two guarded functions answer with their fixed values.
    ExpectNear({
        {"HumidityFromVapour(0, 0), 0/0", HumidityFromVapour(0, 0), 0.01, 0},
        {"HumidityFromVapour(NaN, P)", HumidityFromVapour(NaN, Patm), 0.01, 0},
        {"SatTemperature(NaN)", SatTemperature(NaN), 0, 0},
        {"SatTemperature(Inf)", SatTemperature(Inf), 0, 0},
        {"SatTemperature(-Inf)", SatTemperature(-Inf), -100, 0},
    });
    // Every other function raises EMathError with the platform's message.
    struct TFailure {
        const char* Name;
        double (*Call)();
        const char* Message;
    };
    const std::vector<TFailure> failures = {
        {"SpecificVolumeW at P = 0", [] { return SpecificVolumeW(0, 20, 0); },
         "Floating point division by zero"},
        {"HumidityFromVolume(v = 0)", [] { return HumidityFromVolume(0, 20, Patm); },
         "Floating point division by zero"},
        {"InvLerp over an empty interval", [] { return InvLerp(1, 2, 2); },
         "Floating point division by zero"},
        {"InvLerp 0/0", [] { return InvLerp(2, 2, 2); }, "Invalid floating point operation"},
        {"RoundMultiple(step 0)", [] { return RoundMultiple(0, 1); }, "Floating point division by zero"},
        {"CeilMultiple(step 0)", [] { return CeilMultiple(0, 0, 1); }, "Floating point division by zero"},
        {"SatPressure at the pole of band 0", [] { return SatPressure(-255.37923); },
         "Floating point overflow"},
        {"SatPressure(NaN)", [] { return SatPressure(NaN); }, "Invalid floating point operation"},
        {"SatEnthalpy(NaN)", [] { return SatEnthalpy(NaN, Patm); }, "Invalid floating point operation"},
        {"HumidityFromRH(NaN temperature)", [] { return HumidityFromRH(0.5, NaN, Patm); },
         "Invalid floating point operation"},
        {"Lerp beyond the double range", [] { return Lerp(2, 0, std::numeric_limits<double>::max()); },
         "Floating point overflow"},
    };
    for (const auto& f : failures) {
        try {
            const double v = f.Call();
            ADD_FAILURE() << f.Name << ": no EMathError, returned " << v;
        } catch (const EMathError& e) {
            EXPECT_STREQ(e.what(), f.Message) << f.Name;
        }
    }
}

} // namespace
