#include "psychro/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

TEST(NumberText, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(Trim("  25/17 \t\r\n"), "25/17");
    EXPECT_EQ(Trim("\x01 a b \x1f"), "a b");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim("\u00b0C "), "\u00b0C"); // bytes above 0x7f are text, not blanks
}

TEST(NumberText, StrToFloatReadsPointDecimalsOnly) {
    struct TCase {
        const char* Text;
        std::optional<double> Expected;
    };
    const std::vector<TCase> cases = {
        {"101.325", 101.325},
        {"  -17.5 ", -17.5},
        {"\t25\n", 25.0},
        {"+4", 4.0},
        {"1.5E-5", 1.5e-5},
        {"2e3", 2000.0},
        {"-1.25e+2", -125.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"0", 0.0},
        {"1,5", std::nullopt},
        {"1.000,5", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"25/17", std::nullopt},
        {"1 5", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"e5", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x1p3", std::nullopt},
        {"--1", std::nullopt},
        {"+-1", std::nullopt},
        {"1e400", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.Text + "'");
        EXPECT_EQ(TryStrToFloat(c.Text), c.Expected);
        if (c.Expected) {
            EXPECT_EQ(StrToFloat(c.Text), *c.Expected);
        } else {
            try {
                StrToFloat(c.Text);
                ADD_FAILURE() << "accepted";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.what(), std::string("'") + c.Text + "' is not a valid floating point value");
            }
        }
    }
}

TEST(NumberText, StrToIntReadsDecimalAndHexadecimal) {
    struct TCase {
        const char* Text;
        std::optional<int> Expected;
    };
    const std::vector<TCase> cases = {
        {"42", 42},
        {" -42 ", -42},
        {"+7", 7},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$ff", 255},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"0x7FFFFFFF", 2147483647},
        {"0xFFFFFFFF", -1}, // the 32-bit pattern, as colours are stored
        {"-0x80000000", std::numeric_limits<int>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"0x100000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"1.0", std::nullopt},
        {"1e3", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"0x-1", std::nullopt},
        {"--1", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.Text + "'");
        EXPECT_EQ(TryStrToInt(c.Text), c.Expected);
        if (!c.Expected) {
            try {
                StrToInt(c.Text);
                ADD_FAILURE() << "accepted";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.what(), std::string("'") + c.Text + "' is not a valid integer value");
            }
        }
    }
}

TEST(NumberText, FloatToStrWritesTheShortestTextOfFifteenDigits) {
    struct TCase {
        double Value;
        const char* Expected;
    };
    const std::vector<TCase> cases = {
        {101.325, "101.325"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1e-5, "1E-5"},
        {0.0001, "0.0001"},
        {1e20, "1E20"},
        {123456789012345678.0, "1.23456789012346E17"},
        {-273.15, "-273.15"},
        {0.0, "0"},
        {-0.0, "0"},
        {25.0, "25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expected);
        EXPECT_EQ(FloatToStr(c.Value), c.Expected);
    }
}

TEST(NumberText, FloatTextRoundTripsToFifteenDigits) {
    for (const double v : {101.325, 0.0125, -60.0, 2.339e-3, 6.02214076e23, 1.0 / 7.0}) {
        const double back = StrToFloat(FloatToStr(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << FloatToStr(v);
    }
}

} // namespace
