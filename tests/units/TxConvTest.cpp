#include "units/TxConv.h"

#include "psychro/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>

namespace {

// Expected list lengths and SI / Imperial defaults of every kind, in enumeration order.
struct KindCase {
    TUnitsType Kind;
    int Count;
    int SI;
    const char* SIName;
    int IP;
    const char* IPName;
};

const KindCase KindCases[] = {
    {utAirFlowPrim, 5, 0, "m³/s", 4, "cfm"},
    {utAirFlowSec, 5, 3, "l/s", 4, "cfm"},
    {utAirFlowSmall, 3, 0, "l/s", 2, "cfm"},
    {utAirFlowRate, 5, 3, "l/s/m²", 4, "cfm/ft²"},
    {utAirPressDrop, 8, 1, "Pa", 5, "InchWg"},
    {utAltitude, 2, 0, "m", 1, "ft"},
    {utAngularSpeed, 3, 0, "rpm", 0, "rpm"},
    {utArea, 5, 0, "m²", 4, "ft²"},
    {utCondensateRate, 4, 0, "g/s", 3, "lb/hr"},
    {utConductance, 4, 0, "kW/°C", 2, "MBH/°F"},
    {utConductivity, 4, 1, "W/mK", 3, "Btu/hr·ft°F"},
    {utDensity, 3, 0, "kg/m³", 2, "lb/ft³"},
    {utDiameter, 5, 1, "mm", 2, "inch"},
    {utDutyPrim, 5, 0, "kW", 2, "Btu/hr"},
    {utDutySec, 5, 1, "W", 2, "Btu/hr"},
    {utDutyRate, 5, 0, "W/m²", 2, "Btu/hr·ft²"},
    {utEnergy, 5, 2, "kW-hr", 4, "Btu"},
    {utEnthalpy, 2, 0, "kJ/kg", 1, "Btu/lb"},
    {utFinDensity, 4, 2, "fins/m", 0, "fpi"},
    {utHeatOfRespir, 2, 0, "kJ/kg/day", 1, "Btu/lb/day"},
    {utHeatTransCoeff, 2, 0, "W/m²°C", 1, "Btu/hr·ft²°F"},
    {utHumidity, 3, 1, "g/kg", 2, "gr/lb"},
    {utLengthBig, 2, 0, "m", 1, "ft"},
    {utLengthMeasure, 5, 2, "mm", 3, "inch"},
    {utLengthPrim, 5, 0, "m", 4, "ft"},
    {utLengthSec, 5, 2, "mm", 3, "inch"},
    {utLengthSmall, 3, 0, "mm", 2, "Thou\""},
    {utMass, 3, 0, "kg", 2, "lb"},
    {utMassFlow, 6, 0, "kg/s", 3, "lb/s"},
    {utMassFlowGas, 6, 2, "kg/hr", 5, "lb/hr"},
    {utMassFlux, 6, 0, "kg/m²s", 3, "lb/ft²s"},
    {utMetRate, 2, 0, "W/P", 1, "Btu/hr/P"},
    {utPeopleDensity, 2, 0, "m²/P", 1, "ft²/P"},
    {utPower, 3, 0, "kW", 2, "HP"},
    {utPressure, 8, 0, "kPa", 2, "Psi"},
    {utPressureBar, 6, 0, "kPa", 4, "InchHg"},
    {utPressureSteam, 8, 3, "Bar", 2, "Psi"},
    {utPressureRateGas, 4, 0, "Pa/m", 2, "iwg/100'"},
    {utPressureRateLiquid, 4, 1, "kPa/m", 3, "Psi/ft"},
    {utProportion, 3, 0, "fraction", 0, "fraction"},
    {utSpecificHeat, 2, 0, "kJ/kg·K", 1, "Btu/lb°F"},
    {utSpecificVol, 2, 0, "m³/kg", 1, "ft³/lb"},
    {utTemperature, 3, 0, "°C", 1, "°F"},
    {utTemperatureChange, 3, 0, "°C", 1, "°F"},
    {utThermalCapacity, 2, 0, "W-hr/m²°C", 1, "Btu/ft²°F"},
    {utThermalResist, 2, 0, "m²°C/W", 1, "ft²·hr·°F/Btu"},
    {utTime, 3, 0, "sec", 1, "min"},
    {utVelocity, 2, 0, "m/s", 1, "fpm"},
    {utViscosity, 7, 0, "kg/m·s", 4, "lbm/ft·s"},
    {utVolume, 5, 0, "m³", 3, "ft³"},
    {utVolumeFluid, 4, 0, "kl", 3, "US Gal"},
    {utWaterFlow, 6, 0, "l/s", 5, "usgpm"},
    {utWaterPressDrop, 8, 0, "kPa", 2, "Psi"},
};

struct Conversion {
    double Offset = 0;
    double Factor = 1;
    std::string FormatStr;
    std::string Name;
};

Conversion Convert(TUnitsType kind, int unitsValue, int unitsBase) {
    Conversion c;
    UnitsConversion(kind, unitsValue, unitsBase, c.FormatStr, c.Offset, c.Factor, c.Name);
    return c;
}

bool IsDefaultFormat(const std::string& f) {
    return f.size() == 5 && f.compare(0, 3, "%0.") == 0 && f[3] >= '0' && f[3] <= '9' &&
           (f[4] == 'f' || f[4] == 'g');
}

} // namespace

TEST(TxConvCatalogue, EveryKindHasItsListAndDefaults) {
    ASSERT_EQ(std::size(KindCases), static_cast<std::size_t>(UnitsTypeCount - 1));
    for (std::size_t i = 0; i < std::size(KindCases); ++i) {
        const KindCase& k = KindCases[i];
        SCOPED_TRACE("kind ordinal " + std::to_string(static_cast<int>(k.Kind)));
        ASSERT_EQ(static_cast<std::size_t>(k.Kind), i + 1) << "case table out of enumeration order";
        EXPECT_EQ(UnitsCount(k.Kind), k.Count);
        EXPECT_EQ(SIUnitsIndex(k.Kind), k.SI);
        EXPECT_EQ(IPUnitsIndex(k.Kind), k.IP);
        EXPECT_EQ(UnitsName(k.Kind, k.SI), k.SIName);
        EXPECT_EQ(UnitsName(k.Kind, k.IP), k.IPName);

        const Conversion ref = Convert(k.Kind, 0, 0);
        EXPECT_EQ(ref.Factor, 1.0);
        EXPECT_EQ(ref.Offset, 0.0);

        std::set<std::string> names;
        for (int u = 0; u < UnitsCount(k.Kind); ++u) {
            const Conversion c = Convert(k.Kind, u, 0);
            EXPECT_TRUE(std::isfinite(c.Factor) && c.Factor > 0) << "unit " << u << " factor " << c.Factor;
            EXPECT_TRUE(IsDefaultFormat(c.FormatStr)) << "unit " << u << " format " << c.FormatStr;
            EXPECT_EQ(c.FormatStr, UnitsFormatStr(k.Kind, u));
            EXPECT_EQ(c.Name, UnitsName(k.Kind, u));
            EXPECT_FALSE(c.Name.empty()) << "unit " << u;
            EXPECT_TRUE(names.insert(c.Name).second) << "duplicate name " << c.Name;
        }
    }
}

TEST(TxConvCatalogue, NamesAreUtf8AsWritten) {
    struct Case {
        TUnitsType Kind;
        int Index;
        const char* Bytes;
    };
    const Case cases[] = {
        {utTemperature, 0,
         "\xC2\xB0"
         "C"},
        {utArea, 0, "m\xC2\xB2"},
        {utVolume, 0, "m\xC2\xB3"},
        {utViscosity, 2, "\xC2\xB5Pa\xC2\xB7s"},
        {utDiameter, 3, "1/8\""},
        {utLengthSmall, 2, "Thou\""},
        {utPressureRateGas, 2, "iwg/100'"},
        {utThermalResist, 1,
         "ft\xC2\xB2\xC2\xB7hr\xC2\xB7\xC2\xB0"
         "F/Btu"},
        {utProportion, 1, "%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnitsName(c.Kind, c.Index), c.Bytes) << "kind " << int(c.Kind) << " unit " << c.Index;
}

// Factors checked against the definitions of the units, each with the tolerance the catalogue's
// own rounding allows (InchHg is 0.295 per kPa by convention, not 0.2953).
TEST(TxConvCatalogue, FactorsAgreeWithUnitDefinitions) {
    const double ft = 0.3048, lb = 0.45359237, in = 0.0254;
    struct Case {
        TUnitsType Kind;
        int Index;
        double Expected;
        double RelTol;
        const char* Reference;
    };
    const Case cases[] = {
        {utAirFlowPrim, 4, 60 / (ft * ft * ft), 1e-14, "1 cfm = 0.3048^3 m3 per 60 s"},
        {utAirFlowSmall, 2, 0.06 / (ft * ft * ft), 1e-14, "cfm per l/s"},
        {utAirFlowRate, 4, 60 / ft, 1e-14, "cfm/ft2 per m3/s/m2"},
        {utAltitude, 1, 1 / ft, 1e-15, "international foot"},
        {utAngularSpeed, 1, 2 * std::numbers::pi / 60, 1e-15, "rad/s per rpm"},
        {utArea, 3, 1 / (in * in), 1e-14, "square inch"},
        {utArea, 4, 1 / (ft * ft), 1e-14, "square foot"},
        {utCondensateRate, 3, 3.6 / lb, 1e-14, "lb/hr per g/s"},
        {utDiameter, 3, 8 / in, 1e-14, "eighths of an inch"},
        {utLengthSmall, 2, 1 / in, 1e-14, "thou per mm"},
        {utMass, 2, 1 / lb, 1e-15, "avoirdupois pound"},
        {utMassFlow, 4, 60 / lb, 1e-14, "lb/min per kg/s"},
        {utMassFlow, 5, 3600 / lb, 1e-14, "lb/hr per kg/s"},
        {utMassFlux, 3, ft * ft / lb, 1e-14, "lb/ft2s per kg/m2s"},
        {utPressure, 7, 1 / 9.80665, 1e-15, "metre of water, standard gravity"},
        {utPressure, 2, 1 / 6.894757, 1e-5, "psi per kPa"},
        {utPressure, 4, 1 / 101.325, 1e-6, "standard atmosphere"},
        {utPressure, 6, 0.295, 0, "InchHg as published"},
        {utPressureBar, 4, 0.295, 0, "InchHg as published"},
        {utHumidity, 2, 7000, 0, "grains per pound"},
        {utSpecificVol, 1, lb / (ft * ft * ft), 1e-14, "ft3/lb per m3/kg"},
        {utVelocity, 1, 60 / ft, 1e-14, "fpm per m/s"},
        {utVolumeFluid, 3, 1 / 0.003785411784, 1e-14, "US gallon"},
        {utWaterFlow, 5, 60 / 3.785411784, 1e-14, "usgpm per l/s"},
        {utDutyPrim, 2, 3412.14, 1e-6, "Btu/hr per kW"},
        {utEnthalpy, 1, 0.4299226139294927, 0, "Btu/lb per kJ/kg as published"},
        {utTemperature, 1, 1.8, 0, "degree Fahrenheit"},
    };
    for (const Case& c : cases) {
        const double actual = Convert(c.Kind, c.Index, 0).Factor;
        EXPECT_NEAR(actual, c.Expected, std::abs(c.Expected) * c.RelTol)
            << UnitsName(c.Kind, c.Index) << " (" << c.Reference << "): expected " << c.Expected
            << ", actual " << actual << ", relative tolerance " << c.RelTol;
    }
}

TEST(TxConv, UnitsConversionShowsStoredValues) {
    struct Case {
        TUnitsType Kind;
        int UnitsValue;
        int UnitsBase;
        double Stored;
        double Shown;
        double Tol;
        const char* FormatStr;
        const char* Text;
    };
    const Case cases[] = {
        {utTemperature, 1, 0, 20, 68, 1e-12, "%0.1f", "68.0"},
        {utTemperature, 2, 0, 20, 293.15, 1e-12, "%0.2f", "293.15"},
        {utTemperature, 0, 0, 20, 20, 0, "%0.1f", "20.0"},
        {utTemperatureChange, 1, 0, 10, 18, 1e-12, "%0.1f", "18.0"},
        {utTemperatureChange, 2, 0, 10, 10, 0, "%0.2f", "10.00"},
        {utHumidity, 1, 0, 0.0105, 10.5, 1e-12, "%0.2f", "10.50"},
        {utHumidity, 2, 0, 0.0105, 73.5, 1e-11, "%0.1f", "73.5"},
        {utHumidity, 2, 1, 10.5, 73.5, 1e-11, "%0.1f", "73.5"},
        {utPressureBar, 4, 0, 101.325, 29.890875, 1e-12, "%0.4f", "29.8909"},
        {utPressureBar, 1, 0, 101.325, 14.6959, 1e-4, "%0.4f", "14.6959"},
        {utPressure, 2, 0, 101.325, 14.6959, 1e-4, "%0.4f", "14.6959"},
        {utPressure, 1, 0, 101.325, 101325, 1e-9, "%0.0f", "101325"},
        {utProportion, 0, 1, 50, 0.5, 1e-15, "%0.3f", "0.500"},
        {utAirFlowSec, 4, 3, 1000, 2118.8800032893155, 1e-9, "%0.2f", "2118.88"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnitsName(c.Kind, c.UnitsValue) + " from unit " + std::to_string(c.UnitsBase));
        const Conversion conv = Convert(c.Kind, c.UnitsValue, c.UnitsBase);
        EXPECT_EQ(conv.FormatStr, c.FormatStr);
        EXPECT_EQ(conv.Name, UnitsName(c.Kind, c.UnitsValue));
        const double shown = ToUnits(conv.Offset, conv.Factor, c.Stored);
        EXPECT_NEAR(shown, c.Shown, c.Tol) << "expected " << c.Shown << ", actual " << shown;
        EXPECT_EQ(Format(conv.FormatStr, {shown}), c.Text);
        const double back = FromUnits(conv.Offset, conv.Factor, shown);
        EXPECT_NEAR(back, c.Stored, std::abs(c.Stored) * 1e-14) << "round trip of " << c.Stored;
    }
}

TEST(TxConv, UnitsConversionOfUnitlessKeepsCallersFactor) {
    std::string fmt = "x", name = "x";
    double offset = 7, factor = 3;
    UnitsConversion(utNone, 5, 2, fmt, offset, factor, name);
    EXPECT_EQ(fmt, "%0.1f");
    EXPECT_EQ(name, "");
    EXPECT_EQ(offset, 7);
    EXPECT_EQ(factor, 3);
    EXPECT_EQ(UnitsCount(utNone), 0);
    EXPECT_EQ(SIUnitsIndex(utNone), 0);
    EXPECT_EQ(IPUnitsIndex(utNone), 0);
    EXPECT_EQ(UnitsName(utNone, 0), "");
    EXPECT_EQ(UnitsFormatStr(utNone, 3), "%0.1f");
}

TEST(TxConv, TemperatureChangeIgnoresOffset) {
    const Conversion t = Convert(utTemperature, 1, 0);
    const Conversion d = Convert(utTemperatureChange, 1, 0);
    EXPECT_EQ(t.Offset, 32);
    EXPECT_EQ(d.Offset, 0);
    EXPECT_EQ(t.Factor, d.Factor);
    EXPECT_EQ(Convert(utTemperature, 2, 0).Offset, 273.15);
    EXPECT_EQ(Convert(utTemperatureChange, 2, 0).Offset, 0);
}

TEST(TxConv, ValidUnitsIndexClamps) {
    struct Case {
        TUnitsType Kind;
        int Index;
        int Expected;
    };
    const Case cases[] = {
        {utHumidity, 7, 2},   {utHumidity, -1, 0},   {utHumidity, 1, 1},    {utNone, 7, 7},
        {utNone, -3, -3},     {utPressure, 7, 7},    {utPressure, 8, 7},    {utPressureBar, 6, 5},
        {utViscosity, 99, 6}, {utTemperature, 2, 2}, {utAltitude, -100, 0}, {utWaterFlow, 5, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidUnitsIndex(c.Kind, c.Index), c.Expected)
            << "kind " << int(c.Kind) << " index " << c.Index;
}

TEST(TxConv, ToAndFromUnits) {
    EXPECT_DOUBLE_EQ(ToUnits(32, 1.8, 20), 68);
    EXPECT_DOUBLE_EQ(FromUnits(32, 1.8, 68), 20);
    EXPECT_DOUBLE_EQ(FromUnits(273.15, 1, 293.15), 20);
    EXPECT_DOUBLE_EQ(ToUnits(0, 1000, 0.0105), 10.5);
}

TEST(TxConv, FormatDecimals) {
    struct Case {
        const char* FormatStr;
        int Expected;
    };
    const Case cases[] = {
        {"%0.3f", 3}, {"%0.1f/%0.1f", 1}, {"%S", 0},    {"%0.12f", 1}, {"%0.0f", 0}, {"%0.6g", 6},
        {"", 0},      {"%0.", 0},         {"%0.xf", 0}, {"5", 5},      {"%d", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDecimals(c.FormatStr), c.Expected) << '"' << c.FormatStr << '"';
}

TEST(TxConv, DelimitedField) {
    struct Case {
        int N;
        char Delim;
        const char* Text;
        const char* Expected;
    };
    const Case cases[] = {
        {1, ';', "a;b;c", "a"},
        {2, ';', "a;b;c", "b"},
        {3, ';', "a;b;c", "c"},
        {4, ';', "a;b;c", ""},
        {2, ';', "a;;b", ""},
        {3, ';', "a;;b", "b"},
        {2, ';', "a;", ""},
        {1, ';', "a;", "a"},
        {1, ';', "", ""},
        {1, ';', "  \tabc\r\n", "abc"},
        {2, ',', "Paris , France", "France"},
        {1, ',', "Paris , France", "Paris "},
        {2, ',', "x,\t  y  ", "y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DelimitedField(c.N, c.Delim, c.Text), c.Expected)
            << "field " << c.N << " of \"" << c.Text << '"';
}

TEST(TxConv, ParsePair) {
    struct Case {
        const char* Text;
        bool IsPair;
        double A;
        double B;
    };
    const double keep = -999;
    const Case cases[] = {
        {"25/17", true, 25, 17},
        {"25", false, 25, keep},
        {"-5.5/ 3e1", true, -5.5, 30},
        {" 101.325 ", false, 101.325, keep},
    };
    for (const Case& c : cases) {
        double a = keep, b = keep;
        EXPECT_EQ(ParsePair(c.Text, a, b), c.IsPair) << c.Text;
        EXPECT_EQ(a, c.A) << c.Text;
        EXPECT_EQ(b, c.B) << c.Text;
    }
    for (const char* bad : {"abc", "25/x", "/17", "25/", "", "1/2/3", "1,5"}) {
        double a = keep, b = keep;
        EXPECT_THROW(ParsePair(bad, a, b), EConvertError) << '"' << bad << '"';
        EXPECT_EQ(a, keep) << "a failed parse must not half-write its results: " << bad;
        EXPECT_EQ(b, keep) << bad;
    }
}

TEST(TxConv, CleanNumberText) {
    struct Case {
        const char* Text;
        const char* Expected;
    };
    const Case cases[] = {
        {"1 2.5", "12.5"},
        {" 1 2 . 5 ", "12.5"},
        {"1.2.3", "1.23"},
        {"5-", "5"},
        {"--5", "-5"},
        {"e5", "1E5"},
        {"1e-3", "1E-3"},
        {"2E500", "2E50"},
        {"", "0"},
        {"   ", "0"},
        {"25 / 17.5.1", "25/17.51"},
        {"-", "0"},
        {"-5", "-5"},
        {"1-2", "12"},
        {"1e5e6", "1E56"},
        {"2E-500", "2E-5"},
        {"1E2.5", "1E25"},
        {"1E301", "1E30"},
        {"1E300", "1E300"},
        {"1E+5", "1E+5"},
        {"1E--5", "1E-5"},
        {"/", "0/0"},
        {"25/", "25/0"},
        {"1/2/3", "1/23"},
        {"-/-", "0/0"},
        {"E", "1E"},
        {"1E", "1E"},
        {"1E99999999999999", "1E99"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CleanNumberText(c.Text), c.Expected) << '"' << c.Text << '"';
    for (const char* bad : {"1E-", "1E+", "1Ex", "1E5x", "2/1E-"})
        EXPECT_THROW(CleanNumberText(bad), EConvertError) << '"' << bad << '"';
}

TEST(TxConv, AutoDecimals) {
    struct Case {
        int SigDigs;
        int MaxDecimals;
        double Value;
        int Expected;
    };
    const Case cases[] = {
        {5, 12, 0.012345, 4},  {5, 12, 0.5, 3},    {5, 12, 5.05, 4},    {5, 12, 0, 3},
        {5, 12, 25.4, 3},      {5, 12, 1234.5, 1}, {5, 12, 123456, 0},  {5, 12, -5.123, 3},
        {5, 12, -0.5, 3},      {5, 12, 1e-11, 12}, {5, 12, 1e-15, 3},   {5, 12, 99999.9, 0},
        {3, 12, 0.0001234, 6}, {8, 12, 25.4, 6},   {5, 2, 0.012345, 2}, {5, 12, 9.99, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AutoDecimals(c.SigDigs, c.MaxDecimals, c.Value), c.Expected)
            << "sig " << c.SigDigs << " max " << c.MaxDecimals << " value " << c.Value;

    EXPECT_EQ(AutoFormatStr(5, 12, 0.012345), "%0.4f");
    EXPECT_EQ(AutoFormatStr(5, 12, 123456), "%0.0f");
    EXPECT_EQ(AutoFormatStr(5, 12, 1e-11), "%0.12f");
    EXPECT_EQ(Format(AutoFormatStr(5, 12, 0.012345), {0.012345}), "0.0123");
    EXPECT_EQ(Format(AutoFormatStr(5, 12, 5.05), {5.05}), "5.0500");
}

TEST(TxConv, StripSpacesAndReplaceChar) {
    EXPECT_EQ(StripSpaces(" 1 2 . 5 "), "12.5");
    EXPECT_EQ(StripSpaces(""), "");
    EXPECT_EQ(StripSpaces("a\tb"), "a\tb");
    EXPECT_EQ(ReplaceChar('/', '-', "25/17/3"), "25-17-3");
    EXPECT_EQ(ReplaceChar(',', '.', "no commas"), "no commas");
    EXPECT_EQ(ReplaceChar('a', 'b', ""), "");
}
