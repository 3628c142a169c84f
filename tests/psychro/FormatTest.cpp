#include "psychro/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

struct TFormatCase {
    const char* Pattern;
    std::vector<TFormatArg> Args;
    const char* Expected;
};

void ExpectFormats(const std::vector<TFormatCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Pattern);
        try {
            EXPECT_EQ(Format(c.Pattern, c.Args), c.Expected);
        } catch (const EConvertError& e) {
            ADD_FAILURE() << "EConvertError: " << e.what();
        }
    }
}

TEST(Format, FixedRoundsTheExactDecimalValueHalfAwayFromZero) {
    ExpectFormats({
        {"%0.2f", {0.125}, "0.13"}, // exact tie
        {"%0.0f", {2.5}, "3"},      // exact tie
        {"%0.0f", {0.5}, "1"},
        {"%0.0f", {-0.5}, "-1"},
        {"%0.0f", {-2.5}, "-3"},
        {"%0.2f", {2.675}, "2.67"},  // the double lies just below 2.675
        {"%0.1f", {0.95}, "0.9"},    // the double lies just below 0.95
        {"%0.1f", {0.05}, "0.1"},    // the double lies just above 0.05
        {"%0.1f", {99.96}, "100.0"}, // carry into a new digit
        {"%0.3f", {1e-10}, "0.000"},
        {"%0.1f", {1e-320}, "0.0"}, // subnormal
        {"%0.0f", {1e20}, "100000000000000000000"},
        {"%f", {1.0}, "1.00"},   // default precision 2
        {"%0.1f", {25}, "25.0"}, // integer arguments are converted
    });
}

TEST(Format, ValuesThatRoundToZeroHaveNoMinusSign) {
    ExpectFormats({
        {"%0.1f", {-0.04}, "0.0"},
        {"%0.1f", {-0.0}, "0.0"},
        {"%0.0f", {-0.4}, "0"},
        {"%0.2n", {-0.001}, "0.00"},
        {"%0.4g", {-0.0}, "0"},
        {"%0.1f", {-0.05}, "-0.1"}, // the double lies just beyond -0.05
    });
}

TEST(Format, TheSystemsOwnPatterns) {
    ExpectFormats({
        {"%0.0f%%", {50.0}, "50%"},
        {"Barometer %0.3f kPa", {101.325}, "Barometer 101.325 kPa"},
        {"%0.1f/%0.1f", {25.0, 17.0}, "25.0/17.0"},
        {"%0.3f/%0.3f", {24.0, 17.0004}, "24.000/17.000"},
        {"%0.4g,%0.4g,%0.4g,%0.4g", {-5.0, 0.0, 45.0, 0.03}, "-5,0,45,0.03"},
        {"%0.4g,%0.4g,%0.4g,%0.4g", {0.0, 0.0125, 30.5, 0.025}, "0,0.0125,30.5,0.025"},
        {"%S", {"kJ/kg"}, "kJ/kg"},
        {"100%%", {}, "100%"},
        {"no directives", {}, "no directives"},
    });
}

TEST(Format, GeneralUsesSignificantDigitsAndSwitchesToScientific) {
    ExpectFormats({
        {"%g", {101.325}, "101.325"},
        {"%g", {0.1}, "0.1"},
        {"%g", {1.0 / 3.0}, "0.333333333333333"},
        {"%g", {0.0001}, "0.0001"},   // exponent -4: still fixed
        {"%g", {0.000015}, "1.5E-5"}, // exponent -5: scientific
        {"%g", {1e-5}, "1E-5"},
        {"%g", {1e14}, "100000000000000"},
        {"%g", {1e15}, "1E15"}, // exponent reaches the precision
        {"%g", {1e20}, "1E20"},
        {"%g", {-2.5e-7}, "-2.5E-7"},
        {"%g", {123456789012345678.0}, "1.23456789012346E17"},
        {"%g", {42}, "42"},
        {"%0.4g", {12345.0}, "1.235E4"}, // tie rounds away from zero
        {"%0.4g", {1234.0}, "1234"},
        {"%0.4g", {9.99996}, "10"},
        {"%0.2g", {0.995}, "0.99"}, // the double lies just below 0.995
        {"%0.4g", {0.0}, "0"},
        {"%g", {std::numeric_limits<double>::max()}, "1.79769313486232E308"},
        {"%g", {std::numeric_limits<double>::denorm_min()}, "4.94065645841247E-324"},
    });
}

TEST(Format, ExponentAndNumberForms) {
    ExpectFormats({
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {1234.5}, "1.23E+003"},
        {"%.2e", {-0.000125}, "-1.3E-004"},
        {"%.1e", {7.0}, "7E+000"},
        {"%e", {0.0}, "0.00000000000000E+000"},
        {"%.3e", {9.9999e-100}, "1.00E-099"},
        {"%.2e", {1e300}, "1.0E+300"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%0.0n", {-1234.5}, "-1,235"},
        {"%0.1n", {999.96}, "1,000.0"},
        {"%n", {12.0}, "12.00"},
    });
}

TEST(Format, NonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    ExpectFormats({
        {"%0.1f", {std::nan("")}, "NAN"},
        {"%0.1f", {inf}, "INF"},
        {"%g", {-inf}, "-INF"},
        {"%e", {inf}, "INF"},
    });
}

TEST(Format, IntegersAndTexts) {
    ExpectFormats({
        {"%d", {42}, "42"},
        {"%D", {-42}, "-42"},
        {"%d", {1000000000000LL}, "1000000000000"},
        {"%.3d", {7}, "007"},
        {"%.3d", {-7}, "-007"},
        {"%x", {255}, "FF"},
        {"%X", {-1}, "FFFFFFFF"},
        {"%.4x", {26}, "001A"},
        {"%u", {7u}, "7"},
        {"%u", {-1}, "4294967295"},
        {"%s kPa", {"101.325"}, "101.325 kPa"},
        {"%.2s", {"abcdef"}, "ab"},
        {"%s", {std::string()}, ""},
    });
}

TEST(Format, WidthPadsWithBlanksAndCountsCharactersNotBytes) {
    ExpectFormats({
        {"%5d", {-42}, "  -42"},
        {"%-5d|", {42}, "42   |"},
        {"%8.2f", {3.14159}, "    3.14"},
        {"%-8.2f|", {3.14159}, "3.14    |"},
        {"%05.1f", {2.0}, "  2.0"}, // "0" is part of the width, not a zero-fill flag
        {"%5s", {"ab"}, "   ab"},
        {"%-5s|", {"ab"}, "ab   |"},
        {"%4s", {"\u00b0C"}, "  \u00b0C"},
        {"%.1s", {"\u00b0C"}, "\u00b0"},
        {"%2s", {"abc"}, "abc"}, // never truncated by the width
    });
}

TEST(Format, IndexAndStarTakeArguments) {
    ExpectFormats({
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"%1:s %s", {"a", "b", "c"}, "b c"},
        {"%*.*f", {8, 1, 2.25}, "     2.3"},
    });
}

TEST(Format, MismatchedArgumentsRaiseConvertError) {
    struct TErrorCase {
        const char* Pattern;
        std::vector<TFormatArg> Args;
        const char* Message;
    };
    const std::vector<TErrorCase> cases = {
        {"%d", {1.5}, "Format '%d' invalid or incompatible with argument"},
        {"%x", {1.0}, "Format '%x' invalid or incompatible with argument"},
        {"%s", {1}, "Format '%s' invalid or incompatible with argument"},
        {"%0.1f", {"25"}, "Format '%0.1f' invalid or incompatible with argument"},
        {"%q", {1}, "Format '%q' invalid or incompatible with argument"},
        {"50%", {1}, "Format '50%' invalid or incompatible with argument"},
        {"%5", {1}, "Format '%5' invalid or incompatible with argument"},
        {"%*d", {"a", 1}, "Format '%*d' invalid or incompatible with argument"},
        {"%d", {}, "No argument for format '%d'"},
        {"%0.1f/%0.1f", {25.0}, "No argument for format '%0.1f/%0.1f'"},
        {"%3:d", {1, 2}, "No argument for format '%3:d'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Pattern);
        try {
            const std::string text = Format(c.Pattern, c.Args);
            ADD_FAILURE() << "no error, gave \"" << text << "\"";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
    }
}

} // namespace
