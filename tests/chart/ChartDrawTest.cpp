// What Draw puts on the page: line families, their labels and titles, the scales, the protractor,
// and how failures are contained.

#include "ChartTestSupport.h"

#include "psychro/MoistAir.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Draw sets one pen at the start of each step, in page order; the calls of a step run from its
// SetPen to the next one.
enum TStep {
    stHumidity,
    stDryBulb,
    stVolume,
    stWetBulb,
    stRH,
    stEnthalpy,
    stFrame,
    stSaturation,
    stSHRScale,
    stSHRMarkerAndTitle,
    stProtractor,
};

std::vector<TCanvasCall> StepCalls(const RecordingCanvas& canvas, int step) {
    std::vector<TCanvasCall> out;
    int pens = -1;
    for (const TCanvasCall& c : canvas.Calls()) {
        if (c.Op == TCanvasOp::coSetPen)
            ++pens;
        else if (pens == step)
            out.push_back(c);
    }
    return out;
}

std::vector<TCanvasCall> TextsOf(const std::vector<TCanvasCall>& calls) {
    std::vector<TCanvasCall> out;
    for (const TCanvasCall& c : calls)
        if (c.Op == TCanvasOp::coTextOut || c.Op == TCanvasOp::coTextRect) out.push_back(c);
    return out;
}

int CountOps(const std::vector<TCanvasCall>& calls, TCanvasOp op) {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const TCanvasCall& c) { return c.Op == op; }));
}

TEST(ChartDraw, StepsRunInPageOrderWithTheirPens) {
    TChartOnRecorder t;
    t.Redraw();
    std::vector<TPen> pens;
    for (const TCanvasCall& c : t.Canvas.CallsOf(TCanvasOp::coSetPen))
        pens.push_back(c.Pen);
    const THygrova& c = t.Chart;
    const std::vector<TPen> expected = {PenOf(c, 5), PenOf(c, 2), PenOf(c, 7), PenOf(c, 3),
                                        PenOf(c, 6), PenOf(c, 4), PenOf(c, 0), PenOf(c, 1),
                                        PenOf(c, 9), PenOf(c, 9), PenOf(c, 9)};
    EXPECT_EQ(pens, expected);
    EXPECT_EQ(PenOf(c, 1), (TPen{1, RGBColor(255, 0, 0)})) << "saturation curve";
    EXPECT_EQ(PenOf(c, 8), (TPen{2, RGBColor(128, 128, 128)})) << "plotted items";
}

TEST(ChartDraw, HumidityLinesEverySecondOneLabelledAtTheRightEdge) {
    TChartOnRecorder t;
    t.Redraw();
    const auto calls = StepCalls(t.Canvas, stHumidity);
    const auto texts = TextsOf(calls);
    ASSERT_FALSE(texts.empty());
    // Lines every 2 g/kg from 2 g/kg; labels on the even-numbered ones, then the axis title.
    const std::vector<std::string> expected = {"4.00",  "8.00",  "12.00", "16.00",
                                               "20.00", "24.00", "28.00", "Humidity, g/kg"};
    EXPECT_EQ(TextStrings(texts), expected);
    for (size_t i = 0; i + 1 < texts.size(); ++i) {
        const double W = (4 + 4.0 * i) / 1000;
        const TPoint p = t.Chart.StatePoint(t.Chart.TempHi() - 0.5, W);
        const int w = RecordingCanvas::TextWidthOf(texts[i].Font, texts[i].Text);
        const int h = RecordingCanvas::TextHeightOf(texts[i].Font);
        EXPECT_EQ(texts[i].Args[0] + w, p.X) << texts[i].Text.toStdString() << " ends at the point";
        EXPECT_EQ(texts[i].Args[1] + h, p.Y) << texts[i].Text.toStdString() << " sits above its line";
        EXPECT_EQ(texts[i].Font.Color, RGBColor(128, 0, 0));
    }
    EXPECT_EQ(texts.back().Font.Orientation, 900) << "the title reads upwards along the right edge";
    // The first line is one step above the bottom edge; its dew point (−8.5 °C) lies left of the
    // chart, so it starts on the first dry-bulb line.
    const auto first = std::find_if(calls.begin(), calls.end(),
                                    [](const TCanvasCall& c) { return c.Op == TCanvasOp::coLineTo; });
    ASSERT_NE(first, calls.end());
    EXPECT_EQ(first->From, t.Chart.StatePoint(t.Chart.FirstDryBulb(), 0.002));
    EXPECT_EQ((TPoint{first->Args[0], first->Args[1]}), t.Chart.StatePoint(t.Chart.TempHi(), 0.002));
    // 14 lines (2..28 g/kg; 30 g/kg is the top edge) plus a 3-unit tick on each labelled one.
    int ticks = 0;
    for (const TRecordedSegment& s : t.Canvas.SegmentsWithPen(PenOf(t.Chart, 5)))
        if (s.To.X - s.From.X == 3 && s.To.Y == s.From.Y) ++ticks;
    EXPECT_EQ(ticks, 7);
}

TEST(ChartDraw, DryBulbLinesEveryStepLabelledEveryFifth) {
    TChartOnRecorder t;
    t.Redraw();
    const auto calls = StepCalls(t.Canvas, stDryBulb);
    const auto texts = TextsOf(calls);
    const std::vector<std::string> expected = {
        "-5.0", "5.0", "15.0", "25.0", "35.0", "45.0", "Temperature, \u00B0C"};
    EXPECT_EQ(TextStrings(texts), expected);
    for (size_t i = 0; i + 1 < texts.size(); ++i) {
        const TPoint p = t.Chart.StatePoint(-5 + 10.0 * i, t.Chart.HumLo());
        EXPECT_EQ(texts[i].Args[0], p.X - 2) << "half a letter left of the line (S is 5 wide)";
        EXPECT_EQ(texts[i].Args[1], p.Y + 3);
    }
    // 26 lines (−5, −3, …, 45) and a 6-unit tick under each labelled one.
    EXPECT_EQ(CountOps(calls, TCanvasOp::coMoveTo), 26);
    EXPECT_EQ(CountOps(calls, TCanvasOp::coLineTo), 26 + 6);
}

// A drying chart beyond the boiling point: dry-bulb lines where air cannot saturate run from the
// top edge to the bottom edge instead of collapsing to a point.
TEST(ChartDraw, DryBulbLinesAboveTheBoilingPointSpanTheChart) {
    TChartOnRecorder t;
    t.Chart.SetChartRange(TChartRange{20, 0, 150, 0.1}, Patm);
    t.Redraw();
    THygrova& c = t.Chart;
    // A page point's y depends on the humidity ratio only.
    const int yTop = c.StatePoint(100, c.HumHi()).Y;
    const int yBottom = c.StatePoint(100, c.HumLo()).Y;
    int spanning = 0;
    for (const TRecordedSegment& s : t.Canvas.SegmentsWithPen(PenOf(c, 2))) {
        if (s.From == s.To) ADD_FAILURE() << "a dry-bulb line of no length at x = " << s.From.X;
        if (s.From.Y == yTop && s.To.Y == yBottom) ++spanning;
    }
    // Lines every 4 °C from 20 °C; those from 100 °C on span the chart.
    ASSERT_EQ(c.LineStep(), 4.0);
    EXPECT_GE(spanning, 10);
}

TEST(ChartDraw, EnthalpyLabelsEveryFifthTickFromMinusFive) {
    TChartOnRecorder t;
    t.Redraw();
    const auto texts = TextsOf(StepCalls(t.Canvas, stEnthalpy));
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().Text, QStringLiteral("Enthalpy, kJ/kg"));
    std::vector<std::string> values;
    for (size_t i = 1; i < texts.size(); ++i) {
        values.push_back(texts[i].Text.toStdString());
        EXPECT_EQ(texts[i].Font.Orientation, static_cast<int>(std::trunc(-t.Chart.EnthalpyAngle() * 10)))
            << "labels turned along the enthalpy lines";
    }
    for (const char* v : {"-5.0", "15.0", "35.0", "55.0", "75.0", "95.0", "115.0"})
        EXPECT_NE(std::find(values.begin(), values.end(), v), values.end()) << v << " kJ/kg labelled";
    for (const std::string& v : values) {
        const double h = std::stod(v);
        EXPECT_EQ(std::fmod(h + 5, 20), 0) << v << " is not a multiple of 20 from -5";
    }
}

TEST(ChartDraw, EnthalpyTicksComeInTwoLengthsAlongTheEnthalpyLines) {
    TChartOnRecorder t;
    t.Redraw();
    const double m = t.Chart.EnthalpySlope();
    int longTicks = 0, shortTicks = 0;
    const auto calls = StepCalls(t.Canvas, stEnthalpy);
    for (size_t i = 1; i < calls.size(); ++i) {
        if (calls[i].Op != TCanvasOp::coLineTo) continue;
        ASSERT_EQ(calls[i - 1].Op, TCanvasOp::coMoveTo) << "each tick is one segment";
        const int dx = calls[i].Args[0] - calls[i - 1].Args[0], dy = calls[i].Args[1] - calls[i - 1].Args[1];
        if (dx == static_cast<int>(15 / std::sqrt(m * m + 1)) &&
            dy == static_cast<int>(15 * m / std::sqrt(m * m + 1)))
            ++longTicks;
        else if (dx == static_cast<int>(6 / std::sqrt(m * m + 1)) &&
                 dy == static_cast<int>(6 * m / std::sqrt(m * m + 1)))
            ++shortTicks;
        else
            ADD_FAILURE() << "unexpected tick " << dx << "," << dy;
    }
    EXPECT_GT(longTicks, 7);
    EXPECT_GT(shortTicks, 4 * 7);
}

TEST(ChartDraw, RelativeHumidityLabelsTenToNinetyPercentCentred) {
    TChartOnRecorder t;
    t.Redraw();
    const auto texts = TextsOf(StepCalls(t.Canvas, stRH));
    const std::vector<std::string> expected = {"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%"};
    EXPECT_EQ(TextStrings(texts), expected);
    // The 90 % label sits where the saturation curve reaches 0.9 of the top humidity.
    const double tA = DewPoint(Patm, 0.9 * t.Chart.HumHi(), 0.9, 25);
    const TPoint p = t.Chart.StatePoint(tA, Humidity(Patm, tA, 0.9, 3));
    const TCanvasCall& label90 = texts.back();
    EXPECT_EQ(label90.Args[0] + RecordingCanvas::TextWidthOf(label90.Font, label90.Text) / 2, p.X);
    EXPECT_EQ(label90.Args[1] + RecordingCanvas::TextHeightOf(label90.Font) / 2, p.Y);
}

TEST(ChartDraw, VolumeLinesFromTheColdCornerOddOnesLabelled) {
    TChartOnRecorder t;
    t.Redraw();
    const auto calls = StepCalls(t.Canvas, stVolume);
    const auto texts = TextsOf(calls);
    ASSERT_GE(texts.size(), 5u);
    double previous = 0;
    for (const TCanvasCall& c : texts) {
        const double v = std::stod(c.Text.toStdString());
        EXPECT_EQ(static_cast<int>(std::lround(v * 100)) % 2, 1)
            << c.Text.toStdString() << " is an odd hundredth";
        if (previous > 0) {
            EXPECT_NEAR(v - previous, 0.02, 1e-9);
        }
        previous = v;
        EXPECT_NE(c.Font.Orientation, 0) << "turned along its line";
    }
    EXPECT_EQ(texts.front().Text, QStringLiteral("0.77"));
    // The chart's smallest volume is 0.7597 m³/kg (−5 °C, dry); 0.76 saturates left of the chart,
    // so the first line drawn is 0.77, which leaves the bottom edge at about −1.4 °C. (Starting from
    // the nearest tenth, 0.8, would leave the cold corner without volume lines up to 0.81 at 12 °C.)
    const auto segments = t.Canvas.SegmentsWithPen(PenOf(t.Chart, 7));
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments.front().From.Y, static_cast<int>(t.Chart.YBottom()));
    EXPECT_LT(segments.front().From.X - t.Chart.XLeft(), 5.0 * t.Chart.ScaleX());
}

TEST(ChartDraw, VolumeLinesInCubicFeetPerPoundEveryTenth) {
    TChartOnRecorder t;
    t.Chart.SetVolumeUnits(1);
    t.Redraw();
    const auto texts = TextsOf(StepCalls(t.Canvas, stVolume));
    ASSERT_GE(texts.size(), 4u);
    // Lines every 0.1 ft³/lb from a whole ft³/lb; every other one (the odd tenths) labelled.
    for (size_t i = 1; i < texts.size(); ++i)
        EXPECT_NEAR(std::stod(texts[i].Text.toStdString()) - std::stod(texts[i - 1].Text.toStdString()), 0.2,
                    1e-9);
    for (const TCanvasCall& c : texts)
        EXPECT_EQ(std::lround(std::stod(c.Text.toStdString()) * 10) % 2, 1) << c.Text.toStdString();
    EXPECT_EQ(texts.front().Text, QStringLiteral("12.30")) << "12.17 ft³/lb at −5 °C, dry";
}

TEST(ChartDraw, NarrowPagesDropTicksLabelsAndTitles) {
    struct {
        int Width, Height;
        bool DryBulbLabels, HumidityLabels;
    } const cases[] = {
        {200, 700, false, true},
        {201, 700, true, true},
        {1000, 200, true, false},
        {1000, 201, true, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.Width << " x " << k.Height);
        TChartOnRecorder t(TRect{0, 0, k.Width, k.Height});
        t.Redraw();
        const auto dry = StepCalls(t.Canvas, stDryBulb);
        const auto hum = StepCalls(t.Canvas, stHumidity);
        EXPECT_EQ(TextsOf(dry).empty(), !k.DryBulbLabels);
        EXPECT_EQ(TextsOf(hum).empty(), !k.HumidityLabels);
        // Without labels each line is a single segment: no ticks.
        if (!k.DryBulbLabels) {
            EXPECT_EQ(CountOps(dry, TCanvasOp::coLineTo), CountOps(dry, TCanvasOp::coMoveTo));
        }
        if (!k.HumidityLabels) {
            EXPECT_EQ(CountOps(hum, TCanvasOp::coLineTo), CountOps(hum, TCanvasOp::coMoveTo));
        }
    }
}

TEST(ChartDraw, SHRScaleMarksTheReferenceLevelAndTenths) {
    TChartOnRecorder t;
    t.Redraw();
    const auto calls = StepCalls(t.Canvas, stSHRScale);
    const auto texts = TextsOf(calls);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().Text, QStringLiteral("1.0"));
    const double W0 = HumidityFromRH(0.5, 24, Patm);
    const TPoint ref = t.Chart.StatePoint(24, W0);
    const int xA = static_cast<int>(t.Chart.XRight() + 70);
    EXPECT_EQ(texts.front().Args, (std::vector<int>{xA + 3, ref.Y - 6})) << "1.0 at the reference level";
    for (size_t i = 1; i < texts.size(); ++i) {
        EXPECT_LT(texts[i].Args[1], texts[i - 1].Args[1]) << "lower ratios higher up";
        EXPECT_NEAR(std::stod(texts[i].Text.toStdString()), 1.0 - 0.1 * i, 1e-9);
    }
    // The marker: a radius-3 circle around 24 °C, 50 %.
    const auto marker = StepCalls(t.Canvas, stSHRMarkerAndTitle);
    ASSERT_FALSE(marker.empty());
    EXPECT_EQ(marker.front().Op, TCanvasOp::coEllipse);
    EXPECT_EQ(marker.front().Args, (std::vector<int>{ref.X - 3, ref.Y - 3, ref.X + 3, ref.Y + 3}));
}

TEST(ChartDraw, SHRScaleIsEmptyWhenTheReferenceStateIsAboveTheChart) {
    TChartOnRecorder t;
    t.Chart.SetChartRange(TChartRange{0, 0, 30, 0.008}, Patm); // top humidity 0.009 < 0.0093
    t.Redraw();
    const auto calls = StepCalls(t.Canvas, stSHRScale);
    EXPECT_EQ(CountOps(calls, TCanvasOp::coLineTo), 0);
    EXPECT_TRUE(TextsOf(calls).empty());
    // The reference marker is still drawn, above the plot box.
    const auto marker = StepCalls(t.Canvas, stSHRMarkerAndTitle);
    ASSERT_FALSE(marker.empty());
    ASSERT_EQ(marker.front().Op, TCanvasOp::coEllipse);
    EXPECT_LT(marker.front().Args[3], t.Chart.YTop());
}

TEST(ChartDraw, ShrScaleAndProtractorFollowTheirOptions) {
    TChartOnRecorder t;
    t.Chart.FShowSHRScale = false;
    t.Chart.FShowProtractor = false;
    t.Redraw();
    EXPECT_TRUE(t.Canvas.CallsOf(TCanvasOp::coArc).empty());
    EXPECT_EQ(t.Canvas.FindText(QStringLiteral("dH/dW, kJ/g")), nullptr);
    EXPECT_EQ(t.Canvas.CallsOf(TCanvasOp::coEllipse).size(), 0u);
}

TEST(ChartDraw, ProtractorLabelsInSIAndImperial) {
    struct {
        bool Imperial;
        std::vector<std::string> Labels;
        const char* Title;
    } const cases[] = {
        {false, {"-5.0", "-2.0", "0.0", "1.0", "2.0", "2.5", "3.0", "4.0", "5.0", "10.0"}, "dH/dW, kJ/g"},
        {true,
         {"-2.1", "-0.9", "0.0", "0.4", "0.9", "1.1", "1.3", "1.7", "2.1", "4.3"},
         "dH/dW, X 10\u00B3 Btu/lb"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Title);
        TChartOnRecorder t;
        t.Chart.FImperial = k.Imperial;
        t.Redraw();
        const auto calls = StepCalls(t.Canvas, stProtractor);
        auto texts = TextsOf(calls);
        ASSERT_EQ(texts.size(), 11u);
        const TCanvasCall title = texts.back();
        texts.pop_back();
        EXPECT_EQ(TextStrings(texts), k.Labels);
        for (const TCanvasCall& c : texts) {
            EXPECT_EQ(c.Font.Size, 5);
            EXPECT_EQ(c.Font.Orientation, 0);
        }
        EXPECT_EQ(title.Text.toStdString(), k.Title);
        EXPECT_EQ(title.Font.Size, 7);
        const int cx = 82, cy = 80;
        EXPECT_EQ(title.Args[0], cx - RecordingCanvas::TextWidthOf(title.Font, title.Text) / 2);
        EXPECT_EQ(title.Args[1], cy + 18);
        const auto arcs = t.Canvas.CallsOf(TCanvasOp::coArc);
        ASSERT_EQ(arcs.size(), 1u);
        EXPECT_EQ(arcs[0].Args,
                  (std::vector<int>{cx - 60, cy - 60, cx + 60, cy + 60, cx - 60, cy, cx + 60, cy}));
        const auto pixels = t.Canvas.CallsOf(TCanvasOp::coSetPixel);
        ASSERT_EQ(pixels.size(), 1u);
        EXPECT_EQ(pixels[0].Args, (std::vector<int>{cx, cy}));
    }
}

TEST(ChartDraw, ProtractorZeroRayRunsAlongTheEnthalpyLines) {
    TChartOnRecorder t;
    t.Redraw();
    for (const TRecordedSegment& s : t.Canvas.SegmentsWithPen(PenOf(t.Chart, 9))) {
        if (s.From != TPoint{82, 80}) continue;
        const double slope = static_cast<double>(s.To.Y - s.From.Y) / (s.To.X - s.From.X);
        EXPECT_NEAR(slope, t.Chart.EnthalpySlope(), 0.05 * t.Chart.EnthalpySlope());
        return;
    }
    ADD_FAILURE() << "no ray from the protractor's centre";
}

TEST(ChartDraw, HighTemperatureChartKeepsItsWholeEnthalpyScaleAndASmoothSaturationCurve) {
    // At 91 °C and 0.1 kg/kg the bottom-edge dry bulb of an enthalpy lies far above the property
    // library's 200 °C; the mapping continues there without a step.
    TChartOnRecorder t;
    TChartRange range;
    t.Chart.SetPreset(2, range, Patm);
    t.Redraw();
    std::vector<std::string> labels;
    for (const TCanvasCall& c : TextsOf(StepCalls(t.Canvas, stEnthalpy)))
        labels.push_back(c.Text.toStdString());
    for (const char* v : {"20.0", "120.0", "220.0", "320.0"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), v), labels.end()) << v << " kJ/kg labelled";
    const auto curve = t.Canvas.SegmentsWithPen(PenOf(t.Chart, 1));
    ASSERT_GT(curve.size(), 100u);
    for (const TRecordedSegment& s : curve) {
        EXPECT_LE(std::abs(s.To.X - s.From.X), 3) << "at y = " << s.From.Y;
        EXPECT_LE(std::abs(s.To.Y - s.From.Y), 12) << "at y = " << s.From.Y;
    }
    EXPECT_FALSE(t.Canvas.SegmentsWithPen(PenOf(t.Chart, 3)).empty()) << "wet-bulb lines";
}

TEST(ChartDraw, ARangeWhoseLowerLeftCornerLiesInTheFogDrawsEveryFamily) {
    // 0 °C at 0.012 kg/kg is far above saturation: the property library has no such state.
    for (const double P : {101.325, 85.0}) {
        SCOPED_TRACE(P);
        TChartOnRecorder t;
        t.Chart.SetChartRange(TChartRange{0, 0.0125, 30.5, 0.025}, P);
        ASSERT_NO_THROW(t.Redraw());
        EXPECT_FALSE(t.Canvas.SegmentsWithPen(PenOf(t.Chart, 3)).empty()) << "wet-bulb lines";
        EXPECT_FALSE(t.Canvas.SegmentsWithPen(PenOf(t.Chart, 1)).empty()) << "saturation curve";
        const auto enthalpy = TextsOf(StepCalls(t.Canvas, stEnthalpy));
        EXPECT_GT(enthalpy.size(), 3u) << "enthalpy title and labels";
        // The saturation curve starts on the bottom edge at the dew point of the low humidity.
        const auto sat = StepCalls(t.Canvas, stSaturation);
        ASSERT_FALSE(sat.empty());
        ASSERT_EQ(sat.front().Op, TCanvasOp::coMoveTo);
        const TPoint start = t.Chart.StatePoint(DewPointOfHumidity(t.Chart.HumLo(), P), t.Chart.HumLo());
        EXPECT_EQ(sat.front().Args, (std::vector<int>{start.X, start.Y}));
    }
}

// Fails on the first line drawn with one pen; everything else is recorded as usual.
class FailingCanvas : public RecordingCanvas {
public:
    explicit FailingCanvas(TPen failOn)
        : FFailOn(failOn) {}
    void LineTo(int x, int y) override {
        if (Pen() == FFailOn && Armed) throw std::runtime_error("canvas failure");
        RecordingCanvas::LineTo(x, y);
    }
    bool Armed = false;

private:
    TPen FFailOn;
};

TEST(ChartDraw, AFailingFamilyEndsOnlyItsOwnStep) {
    RecordingCanvas probe;
    THygrova styles(&probe, clWhite, TestPage);
    FailingCanvas canvas(PenOf(styles, 7)); // specific-volume lines
    THygrova chart(&canvas, clWhite, TestPage);
    chart.SetCanvas(&canvas, TestPage);
    chart.SetChartRange(TChartRange{-5, 0, 45, 0.03}, Patm);
    chart.AddProcess("Coil", DbWb(25, 17), DbWb(13, 12));
    canvas.Armed = true;
    canvas.Clear();
    ASSERT_NO_THROW(chart.Draw());
    EXPECT_TRUE(canvas.SegmentsWithPen(PenOf(chart, 7)).empty());
    EXPECT_FALSE(canvas.SegmentsWithPen(PenOf(chart, 3)).empty()) << "wet-bulb lines after it";
    EXPECT_FALSE(canvas.SegmentsWithPen(PenOf(chart, 1)).empty()) << "saturation curve";
    EXPECT_NE(canvas.FindText(QStringLiteral("Korvant Psychrometric Chart")), nullptr);
    EXPECT_EQ(canvas.SegmentsWithPen(PenOf(chart, 8)).size(), 1u) << "the process line";
}

TEST(ChartDraw, AFailureInTheFrameReachesTheCaller) {
    RecordingCanvas probe;
    THygrova styles(&probe, clWhite, TestPage);
    FailingCanvas canvas(PenOf(styles, 0)); // frame lines: not guarded
    THygrova chart(&canvas, clWhite, TestPage);
    chart.SetCanvas(&canvas, TestPage);
    chart.SetChartRange(TChartRange{-5, 0, 45, 0.03}, Patm);
    canvas.Armed = true;
    canvas.Clear();
    EXPECT_THROW(chart.Draw(), std::runtime_error);
    EXPECT_TRUE(canvas.SegmentsWithPen(PenOf(chart, 1)).empty()) << "nothing after the frame";
}

TEST(ChartDraw, ImperialChartLabelsInImperialUnits) {
    TChartOnRecorder t;
    t.Chart.SetTemperatureUnits(1);
    t.Chart.SetHumidityUnits(2);
    t.Chart.SetEnthalpyUnits(1);
    t.Chart.SetPressureUnits(4);
    t.Chart.SetVolumeUnits(1);
    t.Chart.FImperial = true;
    t.Chart.SetChartRange(TChartRange{-5, 0, 45, 0.03}, Patm);
    t.Redraw();
    const auto dry = TextStrings(TextsOf(StepCalls(t.Canvas, stDryBulb)));
    // 23 °F, every 2 °F, labels every fifth line.
    const std::vector<std::string> expected = {"23.0",
                                               "33.0",
                                               "43.0",
                                               "53.0",
                                               "63.0",
                                               "73.0",
                                               "83.0",
                                               "93.0",
                                               "103.0",
                                               "113.0",
                                               "Temperature, \u00B0F"};
    EXPECT_EQ(dry, expected);
    EXPECT_NE(t.Canvas.FindText(QStringLiteral("Humidity, gr/lb")), nullptr);
    EXPECT_NE(t.Canvas.FindText(QStringLiteral("Enthalpy, Btu/lb")), nullptr);
    EXPECT_NE(t.Canvas.FindText(QStringLiteral("Barometer 29.8909 InchHg")), nullptr);
}

} // namespace
