#include "psychro/ChartRange.h"
#include "psychro/AirStateText.h"
#include "psychro/Format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ParseNumberList, SplitsTrimsAndKeepsEmptyPiecesAsErrors) {
    struct TCase {
        const char* Text;
        char Delimiter;
        std::vector<double> Expected;
        const char* Error; // EConvertError message, or nullptr
    };
    const std::vector<TCase> cases = {
        {" -5 , 0 ,45 , 0.03 ", ',', {-5, 0, 45, 0.03}, nullptr},
        {"\t1,2.5,\t3\n", ',', {1, 2.5, 3}, nullptr},
        {"7", ',', {7}, nullptr},
        {"", ',', {}, nullptr},
        {"   ", ',', {}, nullptr},
        {"1,2,", ',', {1, 2}, nullptr}, // nothing after the last delimiter
        {"1;2e-3", ';', {1, 0.002}, nullptr},
        {"1,,2", ',', {}, "'' is not a valid floating point value"},
        {",1", ',', {}, "'' is not a valid floating point value"},
        {"1,x", ',', {}, "'x' is not a valid floating point value"},
        {"1.5;2,5", ';', {}, "'2,5' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.Text + "'");
        try {
            const std::vector<double> numbers = ParseNumberList(c.Text, c.Delimiter);
            EXPECT_EQ(c.Error, nullptr) << "accepted";
            EXPECT_EQ(numbers, c.Expected);
        } catch (const EConvertError& e) {
            ASSERT_NE(c.Error, nullptr) << e.what();
            EXPECT_STREQ(e.what(), c.Error);
        }
    }
}

TEST(ChartRange, FormatWritesFourSignificantDigits) {
    struct TCase {
        TChartRange Range;
        const char* Text;
    };
    const std::vector<TCase> cases = {
        {{-5, 0, 45, 0.03}, "-5,0,45,0.03"},
        {{0, 0.0125, 30.5, 0.025}, "0,0.0125,30.5,0.025"},
        {{0, 0, 45, 0.03}, "0,0,45,0.03"},
        {{-10.25, 0.000125, 50.04, 0.03125}, "-10.25,0.000125,50.04,0.03125"},
        {{12.34567, 0.0123456, 123.4567, 1e-6}, "12.35,0.01235,123.5,1E-6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatRange(c.Range), c.Text);
}

TEST(ChartRange, ParseTakesTheFirstFourNumbersInRecordOrder) {
    const TChartRange r = ParseRange(" -5 , 0.002 , 45 , 0.03 ");
    EXPECT_EQ(r.TempLo, -5);
    EXPECT_EQ(r.HumLo, 0.002);
    EXPECT_EQ(r.TempHi, 45);
    EXPECT_EQ(r.HumHi, 0.03);

    const TChartRange more = ParseRange("1,2,3,4,5");
    EXPECT_EQ(more.HumHi, 4);

    const TChartRange back = ParseRange(FormatRange({0, 0.0125, 30.5, 0.025}));
    EXPECT_EQ(back.HumLo, 0.0125);
    EXPECT_EQ(back.TempHi, 30.5);
}

TEST(ChartRange, ParseRejectsShortOrBadTexts) {
    struct TCase {
        const char* Text;
        const char* Message;
    };
    const std::vector<TCase> cases = {
        {"0,0,45", "'0,0,45' is not a valid chart range"},
        {"", "'' is not a valid chart range"},
        {"0,0,45,", "'0,0,45,' is not a valid chart range"},
        {"0,0,45,a", "'a' is not a valid floating point value"},
        {"0,,45,0.03", "'' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        try {
            ParseRange(c.Text);
            ADD_FAILURE() << "accepted '" << c.Text << "'";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
    }
}

} // namespace
