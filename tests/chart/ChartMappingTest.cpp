// Page mapping of states and the text primitives.

#include "ChartTestSupport.h"

#include "psychro/MoistAir.h"

#include <cmath>

namespace {

TEST(ChartMapping, BottomEdgeStatesLieOnTheLinearDryBulbScale) {
    TChartOnRecorder t;
    THygrova& c = t.Chart;
    for (const double T : {-5.0, 0.0, 10.0, 25.5, 40.0, 46.0}) {
        const TPoint p = c.StatePoint(T, c.HumLo());
        const int expected = static_cast<int>(std::trunc((T - c.TempLo()) * c.ScaleX() + c.XLeft()));
        EXPECT_NEAR(p.X, expected, 1) << "dry bulb " << T << " on the bottom edge";
        EXPECT_EQ(p.Y, static_cast<int>(c.YBottom()));
    }
}

TEST(ChartMapping, HumidityIsLinearAndVertical) {
    TChartOnRecorder t;
    THygrova& c = t.Chart;
    struct {
        double W;
        double Y;
    } const cases[] = {{0, 645}, {0.015, 347.5}, {0.030, 50}, {0.0075, 496.25}};
    for (const auto& k : cases)
        EXPECT_NEAR(c.StatePoint(20, k.W).Y, k.Y, 1) << "W = " << k.W;
}

TEST(ChartMapping, NegativeHumidityIsPlacedOnTheZeroLevel) {
    TChartOnRecorder t;
    for (const double T : {-5.0, 12.0, 30.0}) {
        const TPoint neg = t.Chart.StatePoint(T, -0.004);
        const TPoint zero = t.Chart.StatePoint(T, 0);
        EXPECT_EQ(neg, zero) << "dry bulb " << T;
    }
}

TEST(ChartMapping, ConstantEnthalpyLinesAreStraightWithTheChartsSlope) {
    TChartOnRecorder t;
    THygrova& c = t.Chart;
    struct {
        double H, W1, W2;
    } const cases[] = {{10, 0.0005, 0.003}, {50, 0.002, 0.008}, {90, 0.010, 0.020}};
    for (const auto& k : cases) {
        const TPoint p1 = c.StatePoint(DryBulb(Patm, k.H, k.W1, 15), k.W1);
        const TPoint p2 = c.StatePoint(DryBulb(Patm, k.H, k.W2, 15), k.W2);
        const double slope = static_cast<double>(p2.Y - p1.Y) / (p2.X - p1.X);
        EXPECT_NEAR(slope, c.EnthalpySlope(), 0.03 * c.EnthalpySlope()) << "h = " << k.H << " kJ/kg";
    }
}

TEST(ChartMapping, StatesAboveSaturationStayOnTheirEnthalpyLine) {
    // The library refuses states in the fog region; the chart still places them along the enthalpy
    // line, continuing the line through the saturated state of the same enthalpy.
    TChartOnRecorder t;
    THygrova& c = t.Chart;
    for (const double h : {40.0, 60.0, 80.0}) {
        const double Wsat = Humidity(Patm, SatTempFromEnthalpy(h, Patm), 1, 3);
        const double Wdry = 0.002, Wfog = Wsat + 0.006;
        const TPoint pDry = c.StatePoint(DryBulb(Patm, h, Wdry, 15), Wdry);
        const double Tfog = (h - 2500.7693 * Wfog) / (1.006 + 1.8058 * Wfog);
        const TPoint pFog = c.StatePoint(Tfog, Wfog);
        const double slope = static_cast<double>(pFog.Y - pDry.Y) / (pFog.X - pDry.X);
        EXPECT_NEAR(slope, c.EnthalpySlope(), 0.03 * c.EnthalpySlope()) << "h = " << h << " kJ/kg";
        EXPECT_LT(pFog.Y, pDry.Y);
    }
}

TEST(ChartMapping, LabelAtPlacesTheTextByItsFlags) {
    struct {
        int Flags;
        int Dx, Dy; // in text widths (w) and heights (h): offset from the point
        const char* Meaning;
    } const cases[] = {
        {0, 0, 0, "top-left corner at the point"}, {1, 0, -2, "above the point, starting at it"},
        {4, -2, 0, "ending at the point"},         {5, -2, -2, "bottom-right corner at the point"},
        {16, -1, -1, "centred on the point"},      {17, -1, -1, "centring wins over the other flags"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Meaning);
        TChartOnRecorder t;
        t.Canvas.SetFontSize(8);
        const QString text = QStringLiteral("12.5"); // 4 × 5 = 20 wide, 10 high
        const int w = 20, h = 10;
        t.Canvas.Clear();
        const TPoint p = t.Chart.StatePoint(20, 0.01);
        t.Chart.LabelAt(text.toStdString(), RGBColor(1, 2, 3), 20, 0.01, k.Flags);
        const TCanvasCall* call = t.Canvas.FindText(text);
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->Args[0], p.X + k.Dx * w / 2);
        EXPECT_EQ(call->Args[1], p.Y + k.Dy * h / 2);
        EXPECT_EQ(call->Font.Color, RGBColor(1, 2, 3));
    }
}

TEST(ChartMapping, TextOutAngleTurnsAFontSizedByTheLetterX) {
    struct {
        double Angle;
        bool Rotated;
        int Orientation;
    } const cases[] = {{0, false, 0},   {1, false, 0},   {-1, false, 0},
                       {1.5, true, 15}, {90, true, 900}, {-24.93, true, -249}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Angle);
        RecordingCanvas canvas;
        TFont font;
        font.Name = QStringLiteral("Courier New");
        font.Size = 10;
        font.Color = RGBColor(9, 8, 7);
        font.Style = fsBold | fsItalic;
        canvas.SetFont(font);
        canvas.Clear();
        THygrova::TextOutAngle(canvas, "abc", 30, k.Angle, 40);
        const TCanvasCall* call = canvas.FindText(QStringLiteral("abc"));
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->Args, (std::vector<int>{30, 40}));
        EXPECT_EQ(canvas.Font(), font) << "the canvas font is restored";
        if (!k.Rotated) {
            EXPECT_EQ(call->Font, font);
            continue;
        }
        EXPECT_EQ(call->Font.Orientation, k.Orientation);
        EXPECT_EQ(call->Font.Height, 12); // TextHeight("X") at 10 pt on the recorder
        EXPECT_EQ(call->Font.Width, 6);   // TextWidth("X")
        EXPECT_EQ(call->Font.Weight, 300);
        EXPECT_EQ(call->Font.Style, static_cast<unsigned>(fsItalic)); // weight replaces bold
        EXPECT_EQ(call->Font.Pitch, TFontPitch::fpFixed);
        EXPECT_EQ(call->Font.Name, font.Name);
        EXPECT_EQ(call->Font.Color, font.Color);
    }
}

TEST(ChartMapping, MoveAndLineToStateUseThePagePoints) {
    TChartOnRecorder t;
    t.Canvas.Clear();
    t.Chart.MoveToState(10, 0.005);
    t.Chart.LineToState(30, 0.012);
    const auto segments = t.Canvas.Segments();
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].From, t.Chart.StatePoint(10, 0.005));
    EXPECT_EQ(segments[0].To, t.Chart.StatePoint(30, 0.012));
}

} // namespace
