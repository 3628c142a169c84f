// Chart range normalisation, presets, pressure clamping, display range, line spacing and the
// plot-box rules of SetCanvas.

#include "ChartTestSupport.h"

#include "chart/ChartMath.h"
#include "psychro/MoistAir.h"

#include <cmath>

namespace {

struct TRangeCase {
    const char* Name;
    TChartRange Range;
    int Preset; // -1: SetChartRange with Range
    double TempLo, TempHi, HumLo, HumHi;
};

TEST(ChartRange, NormalisesRangesWithTheHeadroomRule) {
    const double headroomHi = 0.9 * SatHumidity(31, Patm); // ≈ 0.0261
    const TRangeCase cases[] = {
        {"medium preset", {}, 1, -5, 46, 0, 0.030},
        {"reset range", {0, 0, 45, 0.03}, -1, 0, 46, 0, 0.030},
        {"low preset", {}, 0, -40, 11, 0, 0.003},
        {"high preset", {}, 2, 20, 91, 0, 0.101},
        {"fractional high dry bulb, headroom", {0, 0.0125, 30.5, 0.025}, -1, 0, 31, 0.012, headroomHi},
        {"negative low dry bulb truncates towards zero", {-5.5, 0, 45, 0.03}, -1, -5, 46, 0, 0.030},
        {"humidity just above a whole gram", {10, 0.0049, 35.2, 0.02}, -1, 10, 36, 0.004, 0.021},
        {"bounds the wrong way round", {45, 0.03, 0, 0}, -1, 0, 46, 0, 0.030},
    };
    for (const TRangeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RecordingCanvas canvas;
        THygrova chart(&canvas, clWhite, TestPage);
        TChartRange range = c.Range;
        if (c.Preset >= 0)
            chart.SetPreset(c.Preset, range, Patm);
        else
            chart.SetChartRange(range, Patm);
        EXPECT_EQ(chart.TempLo(), c.TempLo);
        EXPECT_EQ(chart.TempHi(), c.TempHi);
        // Exact to the last bits of the thousandth: a mistake in the rounding rule is a whole 0.001.
        EXPECT_NEAR(chart.HumLo(), c.HumLo, 1e-12);
        EXPECT_NEAR(chart.HumHi(), c.HumHi, 1e-12);
    }
    EXPECT_NEAR(headroomHi, 0.0261, 0.00005) << "reference 0.9 × Ws(31 °C) at 101.325 kPa";
}

TEST(ChartRange, PresetsFillTheCallersRange) {
    struct {
        int Kind;
        TChartRange Expected;
    } const cases[] = {
        {0, {-40, 0, 10, 0.002}},
        {1, {-5, 0, 45, 0.03}},
        {2, {20, 0, 90, 0.1}},
        {7, {2, 0.001, 33, 0.02}}, // unknown kind: the range passed in is applied as it is
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Kind);
        RecordingCanvas canvas;
        THygrova chart(&canvas, clWhite, TestPage);
        TChartRange range{2, 0.001, 33, 0.02};
        chart.SetPreset(c.Kind, range, Patm);
        EXPECT_EQ(range.TempLo, c.Expected.TempLo);
        EXPECT_EQ(range.HumLo, c.Expected.HumLo);
        EXPECT_EQ(range.TempHi, c.Expected.TempHi);
        EXPECT_EQ(range.HumHi, c.Expected.HumHi);
        EXPECT_EQ(chart.TempLo(), std::trunc(c.Expected.TempLo));
    }
}

TEST(ChartRange, PressureIsClampedAndStatesFollowIt) {
    struct {
        double Given, Stored;
    } const cases[] = {{60, 70}, {130, 120}, {70, 70}, {120, 120}, {95.5, 95.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Given);
        TChartOnRecorder t;
        const TAirState before = DbWb(25, 17);
        t.Chart.AddState(before);
        t.Chart.SetChartRange(TChartRange{-5, 0, 45, 0.03}, c.Given);
        EXPECT_EQ(t.Chart.GetPressure(), c.Stored);
        const TAirState& after = t.Chart.States().at(0);
        EXPECT_EQ(after.Pressure, c.Stored);
        EXPECT_NEAR(after.DryBulb, 25, 1e-6);
        EXPECT_NEAR(after.WetBulb, 17, 1e-6);
        const TAirState reference = DbWb(25, 17, c.Stored);
        EXPECT_NEAR(after.Humidity, reference.Humidity, 1e-9) << "humidity ratio of 25/17 at " << c.Stored;
    }
}

TEST(ChartRange, CreateGivesTheMediumChartInSIUnits) {
    RecordingCanvas canvas;
    THygrova chart(&canvas, clWhite, TestPage);
    EXPECT_EQ(chart.GetPressure(), 101.325);
    EXPECT_EQ(chart.TempLo(), -5);
    EXPECT_EQ(chart.TempHi(), 46);
    EXPECT_EQ(chart.TemperatureUnit().Title, "Temperature, \u00B0C");
    EXPECT_EQ(chart.HumidityUnit().Title, "Humidity, g/kg");
    EXPECT_EQ(chart.HumidityUnit().Factor, 1000);
    EXPECT_EQ(chart.EnthalpyUnit().Title, "Enthalpy, kJ/kg");
    EXPECT_EQ(chart.VolumeUnit().Title, "m\u00B3/kg");
    EXPECT_EQ(chart.PressureUnit().Title, "kPa");
    EXPECT_EQ(chart.PressureUnit().Format, "Barometer %0.3f kPa");
    EXPECT_TRUE(chart.FShowProtractor);
    EXPECT_TRUE(chart.FShowSHRScale);
    EXPECT_FALSE(chart.FShowLabels);
    EXPECT_FALSE(chart.FImperial);
    EXPECT_EQ(chart.DispTempLo(), -5);
    EXPECT_EQ(chart.DispTempHi(), 47);
    EXPECT_EQ(chart.FirstDryBulb(), -5);
    EXPECT_NEAR(chart.DispHumHi(), 30, 1e-9);
}

TEST(ChartRange, UnitIndicesAreClampedByTheCatalogue) {
    RecordingCanvas canvas;
    THygrova chart(&canvas, clWhite, TestPage);
    chart.SetHumidityUnits(99);
    EXPECT_EQ(chart.HumidityUnit().Index, 2);
    EXPECT_EQ(chart.HumidityUnit().Title, "Humidity, gr/lb");
    chart.SetTemperatureUnits(-3);
    EXPECT_EQ(chart.TemperatureUnit().Index, 0);
    chart.SetPressureUnits(4);
    EXPECT_EQ(chart.PressureUnit().Format, "Barometer %0.4f InchHg");
}

TEST(ChartRange, DisplayRangeInFahrenheitStartsOnAWholeDegree) {
    struct {
        TChartRange Range;
        double DispLo, DispHi, FirstDryBulb;
    } const cases[] = {
        {{-5, 0, 45, 0.03}, 23, 115, -5},             // −5 °C is 23 °F exactly
        {{1, 0, 45, 0.03}, 33, 115, (33 - 32) / 1.8}, // 33.8 °F: first line at 33 °F, left of the box
        {{-40, 0, 10, 0.002}, -40, 52, -40},          // −40 is the same in both scales
    };
    for (const auto& c : cases) {
        RecordingCanvas canvas;
        THygrova chart(&canvas, clWhite, TestPage);
        chart.SetTemperatureUnits(1);
        chart.SetChartRange(c.Range, Patm);
        EXPECT_EQ(chart.DispTempLo(), c.DispLo);
        EXPECT_EQ(chart.DispTempHi(), c.DispHi);
        EXPECT_NEAR(chart.FirstDryBulb(), c.FirstDryBulb, 1e-12);
    }
}

TEST(ChartRange, NiceStepFollowsTheBandTable) {
    struct {
        double X, Step;
    } const cases[] = {
        {7.3, 10},      {1.2, 2},         {0.6, 1.0},      {1.04, 2},      {2.6, 4},       {0.0002, 0.0005},
        {0.001, 0.001}, {0.0011, 0.0025}, {0.0049, 0.005}, {0.005, 0.005}, {0.0051, 0.01}, {0.01, 0.025},
        {0.05, 0.05},   {0.06, 0.1},      {0.1, 0.25},     {0.5, 0.5},     {0.7, 1.0},     {1, 1},
        {2.5, 4},       {5, 5},           {9.9, 10},       {10, 20},       {49, 60},       {50, 50},
        {99, 100},      {100, 100},       {150, 150},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(THygrova::NiceStep(c.X), c.Step, 1e-12) << "NiceStep(" << c.X << ")";
}

TEST(ChartRange, LineSpacingInCelsiusAndFahrenheit) {
    struct {
        const char* Name;
        int TempUnits;
        TChartRange Range;
        double Step; // °C
    } const cases[] = {
        {"default °C", 0, {-5, 0, 45, 0.03}, 2}, {"default °F", 1, {-5, 0, 45, 0.03}, 2 / 1.8},
        {"wide °C", 0, {0, 0, 100, 0.03}, 3},    {"high °F", 1, {20, 0, 90, 0.1}, 4 / 1.8},
        {"kelvin", 2, {-5, 0, 45, 0.03}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TChartOnRecorder t;
        t.Chart.SetTemperatureUnits(c.TempUnits);
        t.Chart.SetChartRange(c.Range, Patm);
        t.Redraw();
        EXPECT_NEAR(t.Chart.LineStep(), c.Step, 1e-12);
    }
}

TEST(ChartRange, PlotBoxOfCreateAndOfLaterSetCanvas) {
    const TRect page{10, 20, 1010, 720};
    RecordingCanvas canvas;
    THygrova chart(&canvas, clWhite, page);
    // The SetCanvas inside construction runs before the scales and title exist.
    EXPECT_EQ(chart.XLeft(), 35);
    EXPECT_EQ(chart.XRight(), 960);
    EXPECT_EQ(chart.YTop(), 35);
    EXPECT_EQ(chart.YBottom(), 685);
    // Every later one leaves room for them, whatever the SHR option says.
    chart.FShowSHRScale = false;
    chart.SetCanvas(&canvas, page);
    EXPECT_EQ(chart.XLeft(), 60);
    EXPECT_EQ(chart.XRight(), 910);
    EXPECT_EQ(chart.YTop(), 70);
    EXPECT_EQ(chart.YBottom(), 665);
    // SetCanvas sets the canvas up for drawing.
    EXPECT_EQ(canvas.Pen(), (TPen{1, clBlack}));
    EXPECT_EQ(canvas.Font().Name, QStringLiteral("Courier New"));
    EXPECT_EQ(canvas.Font().Size, 8);
    EXPECT_EQ(canvas.Brush(), (TBrush{clWhite, TBrushStyle::bsSolid}));
}

TEST(ChartRange, ScalesFollowTheRangeAndThePlotBox) {
    TChartOnRecorder t;
    const THygrova& c = t.Chart;
    EXPECT_DOUBLE_EQ(c.ScaleX(), (c.XRight() - c.XLeft()) / (c.TempHi() - c.TempLo()));
    EXPECT_DOUBLE_EQ(c.ScaleY(), (c.YTop() - c.YBottom()) / (c.HumHi() - c.HumLo()));
    const double b = (1.006 + 1.82 * c.HumLo()) * 1.0015 / (2500.7693 + 1.82 * c.TempHi());
    EXPECT_DOUBLE_EQ(c.EnthalpySlope(), -b * c.ScaleY() / c.ScaleX());
    EXPECT_GT(c.EnthalpySlope(), 0) << "constant-enthalpy lines fall to the right on a y-down page";
    EXPECT_NEAR(c.EnthalpyAngle(), std::atan(c.EnthalpySlope()) * 180 / 3.14159265358979, 1e-9);
}

TEST(ChartMathRules, TruncRoundAndDivLikeThePlatform) {
    using namespace ChartMath;
    EXPECT_EQ(Trunc(-5.5), -5);
    EXPECT_EQ(Trunc(45.999), 45);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(7.6), 8);
    EXPECT_EQ(Floor(-0.5), -1);
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_THROW(Trunc(std::nan("")), EChartMathError);
    EXPECT_THROW(Trunc(HUGE_VAL), EChartMathError);
    EXPECT_THROW(Trunc(3e9), EChartMathError);
    EXPECT_THROW(Round(-3e9), EChartMathError);
    EXPECT_THROW(FDiv(1, 0), EChartMathError);
    EXPECT_THROW(FDiv(0, 0), EChartMathError);
    EXPECT_THROW(Div(1, 0), EChartMathError);
}

TEST(ChartRange, ZeroSpanRangeFailsInsteadOfDividingByZero) {
    RecordingCanvas canvas;
    THygrova chart(&canvas, clWhite, TestPage);
    // Both dry bulbs truncate to 0 °C: no temperature span.
    EXPECT_THROW(chart.SetChartRange(TChartRange{-0.7, 0, -0.2, 0.02}, Patm), std::exception);
}

} // namespace
