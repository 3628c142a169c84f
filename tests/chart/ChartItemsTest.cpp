// Plotted items: states, processes, mixtures and bypass processes, their drawing and labels, the
// range that encloses them, and how they follow the pressure.

#include "ChartTestSupport.h"

#include "chart/ChartLibrary.h"
#include "psychro/MoistAir.h"

#include <cmath>

namespace {

TEST(ChartItems, AddProcessAppendsBothStatesAfterTheExistingOnes) {
    TChartOnRecorder t;
    EXPECT_EQ(t.Chart.AddState(DbWb(20, 14)), 0);
    EXPECT_EQ(t.Chart.AddProcess("Coil", DbWb(25, 17), DbWb(13, 12)), 0);
    EXPECT_EQ(t.Chart.AddProcess("Second", DbWb(30, 20), DbWb(18, 15)), 1);
    ASSERT_EQ(t.Chart.States().size(), 5u);
    const TChartProcess& p = t.Chart.Processes().at(0);
    EXPECT_EQ(p.Name, "Coil");
    EXPECT_EQ(p.FromIndex, 1);
    EXPECT_EQ(p.ToIndex, 2);
    EXPECT_NEAR(t.Chart.States()[1].DryBulb, 25, 1e-9);
    EXPECT_NEAR(t.Chart.States()[2].WetBulb, 12, 1e-6);
    t.Chart.ClearItems();
    EXPECT_TRUE(t.Chart.States().empty());
    EXPECT_TRUE(t.Chart.Processes().empty());
}

TEST(ChartItems, ProcessesAreDrawnFirstThenStatesWithLabels) {
    TChartOnRecorder t;
    t.Chart.AddProcess("Coil", DbWb(25, 17), DbWb(13, 12));
    t.Chart.FShowLabels = true;
    t.Redraw();
    const TPen pen = PenOf(t.Chart, 8);
    const auto& calls = t.Canvas.Calls();
    // The item calls start at the first line with the item pen.
    size_t first = 0;
    while (first < calls.size() && !(calls[first].Op == TCanvasOp::coLineTo && calls[first].Pen == pen))
        ++first;
    ASSERT_LT(first, calls.size());
    const TAirState& in = t.Chart.States()[0];
    const TAirState& out = t.Chart.States()[1];
    EXPECT_EQ(calls[first].From, t.Chart.StatePoint(in.DryBulb, in.Humidity));
    EXPECT_EQ((TPoint{calls[first].Args[0], calls[first].Args[1]}),
              t.Chart.StatePoint(out.DryBulb, out.Humidity));

    std::vector<std::string> texts;
    std::vector<TCanvasCall> ellipses;
    for (size_t i = first; i < calls.size(); ++i) {
        if (calls[i].Op == TCanvasOp::coTextOut) {
            texts.push_back(calls[i].Text.toStdString());
            EXPECT_EQ(calls[i].Font.Color, RGBColor(128, 128, 128));
        }
        if (calls[i].Op == TCanvasOp::coEllipse) ellipses.push_back(calls[i]);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Coil", "25.0/17.0", "13.0/12.0"}));
    ASSERT_EQ(ellipses.size(), 2u);
    const TPoint pin = t.Chart.StatePoint(in.DryBulb, in.Humidity);
    EXPECT_EQ(ellipses[0].Args, (std::vector<int>{pin.X - 3, pin.Y - 3, pin.X + 3, pin.Y + 3}));
    EXPECT_EQ(ellipses[0].Pen, pen);

    // The name sits above the middle of the line, starting there; state labels above their states.
    const TCanvasCall* name = t.Canvas.FindText(QStringLiteral("Coil"));
    const TPoint mid = t.Chart.StatePoint((in.DryBulb + out.DryBulb) / 2, (in.Humidity + out.Humidity) / 2);
    EXPECT_EQ(name->Args, (std::vector<int>{mid.X, mid.Y - RecordingCanvas::TextHeightOf(name->Font)}));
    const TCanvasCall* label = t.Canvas.FindText(QStringLiteral("25.0/17.0"));
    EXPECT_EQ(label->Font.Size, 7);
    EXPECT_EQ(label->Args, (std::vector<int>{pin.X, pin.Y - RecordingCanvas::TextHeightOf(label->Font)}));
}

TEST(ChartItems, LabelsOffDrawsNoItemText) {
    TChartOnRecorder t;
    t.Chart.AddProcess("Coil", DbWb(25, 17), DbWb(13, 12));
    t.Redraw();
    EXPECT_EQ(t.Canvas.FindText(QStringLiteral("Coil")), nullptr);
    EXPECT_EQ(t.Canvas.FindText(QStringLiteral("25.0/17.0")), nullptr);
}

TEST(ChartItems, StateLabelsFollowTheTemperatureUnit) {
    TChartOnRecorder t;
    t.Chart.SetTemperatureUnits(1);
    t.Chart.AddState(DbWb(25, 17));
    t.Chart.FShowLabels = true;
    t.Redraw();
    EXPECT_NE(t.Canvas.FindText(QStringLiteral("77.0/62.6")), nullptr);
}

TEST(ChartItems, MixtureAddsTheMixingLineAndTheMixedStateOnIt) {
    TChartOnRecorder t;
    const int index = t.Chart.AddMixture("Mix", DbWb(32, 21), 0.15, DbWb(25, 17));
    EXPECT_EQ(index, 0);
    const auto& s = t.Chart.States();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].MassShare, 0.15);
    EXPECT_EQ(s[1].MassShare, 0.85);
    EXPECT_NEAR(s[2].DryBulb, 26.05, 0.1) << "mass-weighted dry bulb 0.15 · 32 + 0.85 · 25";
    const double W = 0.15 * s[0].Humidity + 0.85 * s[1].Humidity;
    EXPECT_NEAR(s[2].Humidity, W, 1e-5);
    EXPECT_EQ(t.Chart.Processes()[0].FromIndex, 0);
    EXPECT_EQ(t.Chart.Processes()[0].ToIndex, 1);
}

TEST(ChartItems, BypassLineRunsFromTheWarmerStateToTheApparatusDewPoint) {
    struct {
        const char* Name;
        TAirState Inlet, Outlet;
        bool InletIsWarmer;
    } const cases[] = {
        {"cooling", DbWb(28, 20), DbWb(15, 13), true},
        {"warming with steam humidification", DbWb(20, 10), DbWb(21, 20), false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TChartOnRecorder t;
        double bf = 0.15;
        const double adp = ApparatusDewPoint(k.Inlet, k.Outlet, bf);
        t.Chart.AddBypass("Coil", k.Inlet, k.Outlet, 0.15);
        const auto& s = t.Chart.States();
        ASSERT_EQ(s.size(), 3u);
        const TChartProcess& p = t.Chart.Processes().at(0);
        const TAirState& warm = k.InletIsWarmer ? k.Inlet : k.Outlet;
        const TAirState& other = k.InletIsWarmer ? k.Outlet : k.Inlet;
        EXPECT_EQ(s[p.FromIndex].DryBulb, warm.DryBulb);
        EXPECT_NEAR(s[p.ToIndex].DryBulb, adp, 1e-9);
        EXPECT_NEAR(s[p.ToIndex].WetBulb, adp, 1e-6);
        EXPECT_NEAR(s[p.ToIndex].RelHumidity, 1, 1e-6) << "saturated at the apparatus dew point";
        EXPECT_EQ(s[2].DryBulb, other.DryBulb) << "the other state is a single point";
    }
}

TEST(ChartItems, HeatingBypassRunsFromTheOutletToTheDewPointBelowTheInlet) {
    // A heating coil (outlet warmer): the apparatus dew point lies on the line's cold side beyond
    // the inlet, so the line runs from the outlet through the inlet's point down to saturation.
    const TAirState inlet = DbWb(20, 12);
    TAirState sensible;
    SetState(sensible, Patm, 30, inlet.Humidity, 2);
    struct {
        const char* Name;
        TAirState Inlet, Outlet;
    } const cases[] = {
        {"heating with a little drying", inlet, DbWb(30, 15.5)},
        {"sensible heating", inlet, sensible},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TChartOnRecorder t;
        t.Chart.AddBypass("Heater", k.Inlet, k.Outlet, 0.15);
        const auto& s = t.Chart.States();
        ASSERT_EQ(s.size(), 3u);
        ASSERT_EQ(t.Chart.Processes().size(), 1u);
        const TChartProcess& p = t.Chart.Processes()[0];
        const TAirState& from = s[p.FromIndex];
        const TAirState& adp = s[p.ToIndex];
        EXPECT_EQ(from.DryBulb, k.Outlet.DryBulb);
        EXPECT_EQ(from.Humidity, k.Outlet.Humidity);
        EXPECT_NEAR(adp.RelHumidity, 1, 1e-9) << "saturated at the apparatus dew point";
        EXPECT_LT(adp.DryBulb, k.Inlet.DryBulb);
        EXPECT_EQ(s[2].DryBulb, k.Inlet.DryBulb) << "the inlet is the single point";
        EXPECT_EQ(s[2].Humidity, k.Inlet.Humidity);
        // The inlet lies on the line from the outlet to the apparatus dew point (1e-9 kg/kg).
        const double share = (k.Inlet.DryBulb - adp.DryBulb) / (from.DryBulb - adp.DryBulb);
        EXPECT_GT(share, 0);
        EXPECT_LT(share, 1);
        EXPECT_NEAR(adp.Humidity + share * (from.Humidity - adp.Humidity), k.Inlet.Humidity, 1e-9);
        // Drawn: the line from the outlet's page point to the dew point's, a circle at the inlet.
        t.Redraw();
        const TPen pen = PenOf(t.Chart, 8);
        const TPoint a = t.Chart.StatePoint(from.DryBulb, from.Humidity);
        const TPoint b = t.Chart.StatePoint(adp.DryBulb, adp.Humidity);
        bool line = false;
        for (const TRecordedSegment& g : t.Canvas.SegmentsWithPen(pen))
            line = line || (g.From == a && g.To == b);
        EXPECT_TRUE(line) << "no item line from the outlet to the apparatus dew point";
        const TPoint c = t.Chart.StatePoint(k.Inlet.DryBulb, k.Inlet.Humidity);
        bool circle = false;
        for (const TCanvasCall& call : t.Canvas.Calls())
            circle = circle || (call.Op == TCanvasOp::coEllipse &&
                                call.Args == std::vector<int>{c.X - 3, c.Y - 3, c.X + 3, c.Y + 3});
        EXPECT_TRUE(circle) << "no circle at the inlet";
    }
}

TEST(ChartItems, LibraryFailuresOfMixtureAndBypassReachTheCaller) {
    TChartOnRecorder t;
    // A coil that does not change the air has no apparatus dew point: nothing is appended.
    EXPECT_THROW(t.Chart.AddBypass("Coil", DbWb(25, 17), DbWb(25, 17), 0.1), ELibraryFailure);
    EXPECT_TRUE(t.Chart.States().empty());
    EXPECT_TRUE(t.Chart.Processes().empty());
    // Unusable shares: the mixing line is already there, the mixed state is not.
    EXPECT_THROW(t.Chart.AddMixture("Mix", DbWb(32, 21), std::nan(""), DbWb(25, 17)), ELibraryFailure);
    EXPECT_EQ(t.Chart.States().size(), 2u);
    EXPECT_EQ(t.Chart.Processes().size(), 1u);
}

TEST(ChartItems, AStateTheLibraryCannotEvaluateAtTheNewPressureIsKept) {
    TChartOnRecorder t;
    const TAirState hot = DbWb(95, 94); // a wet bulb above the boiling point at 70 kPa
    t.Chart.AddState(hot);
    t.Chart.AddState(DbWb(25, 17));
    t.Chart.SetChartRange(TChartRange{-5, 0, 45, 0.03}, 70);
    EXPECT_EQ(t.Chart.States()[0].DryBulb, hot.DryBulb);
    EXPECT_EQ(t.Chart.States()[0].WetBulb, hot.WetBulb);
    EXPECT_EQ(t.Chart.States()[0].Humidity, hot.Humidity);
    EXPECT_EQ(t.Chart.States()[1].Pressure, 70) << "the others are re-evaluated";
}

TEST(ChartItems, FitAllEnclosesTheStatesWithAStepOfMargin) {
    auto stateTW = [](double T, double W) {
        TAirState s;
        SetState(s, Patm, T, W, 2);
        return s;
    };
    struct {
        const char* Name;
        std::vector<TAirState> States;
        TChartRange Range;
        double TempLo, TempHi, HumLo, HumHi;
    } const cases[] = {
        {"one state", {stateTW(20, 0.008)}, {15, 0.005, 25, 0.015}, 15, 26, 0.005, 0.015},
        {"two states, negative side towards zero",
         {stateTW(-3.2, 0.001), stateTW(33, 0.021)},
         {-5, 0, 40, 0.025},
         -5,
         41,
         0,
         0.026},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TChartOnRecorder t;
        for (const TAirState& s : k.States)
            t.Chart.AddState(s);
        TChartRange range;
        t.Chart.FitAll(range, 0.005, 5);
        EXPECT_NEAR(range.TempLo, k.Range.TempLo, 1e-12);
        EXPECT_NEAR(range.HumLo, k.Range.HumLo, 1e-12);
        EXPECT_NEAR(range.TempHi, k.Range.TempHi, 1e-12);
        EXPECT_NEAR(range.HumHi, k.Range.HumHi, 1e-12);
        EXPECT_EQ(t.Chart.TempLo(), k.TempLo);
        EXPECT_EQ(t.Chart.TempHi(), k.TempHi);
        EXPECT_NEAR(t.Chart.HumLo(), k.HumLo, 1e-12);
        EXPECT_NEAR(t.Chart.HumHi(), k.HumHi, 1e-12);
        EXPECT_DOUBLE_EQ(t.Chart.ScaleX(), (t.Chart.XRight() - t.Chart.XLeft()) / (k.TempHi - k.TempLo));
    }
}

TEST(ChartItems, FitAllWithoutStatesReturnsTheCurrentRange) {
    TChartOnRecorder t;
    TChartRange range{1, 2, 3, 4};
    t.Chart.FitAll(range, 0.005, 5);
    EXPECT_EQ(range.TempLo, -5);
    EXPECT_EQ(range.TempHi, 46);
    EXPECT_EQ(range.HumLo, 0);
    EXPECT_NEAR(range.HumHi, 0.030, 1e-12);
    EXPECT_EQ(t.Chart.TempHi(), 46) << "nothing changes";
}

TEST(ChartItems, APressureChangeMovesTheStatesKeepingDryAndWetBulb) {
    TChartOnRecorder t;
    t.Chart.AddProcess("Coil", DbWb(25, 17), DbWb(13, 12));
    t.Chart.FShowLabels = true;
    const std::vector<TAirState> before = t.Chart.States();
    t.Chart.SetChartRange(TChartRange{-5, 0, 45, 0.03}, 85);
    const std::vector<TAirState>& after = t.Chart.States();
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].Pressure, 85);
        EXPECT_NEAR(after[i].DryBulb, before[i].DryBulb, 1e-6);
        EXPECT_NEAR(after[i].WetBulb, before[i].WetBulb, 1e-6);
        EXPECT_GT(after[i].Humidity, before[i].Humidity + 0.0005)
            << "more water at the same wet bulb at 85 kPa";
    }
    t.Redraw();
    EXPECT_NE(t.Canvas.FindText(QStringLiteral("25.0/17.0")), nullptr);
    const auto ellipses = t.Canvas.CallsOf(TCanvasOp::coEllipse);
    const TPoint p = t.Chart.StatePoint(after[0].DryBulb, after[0].Humidity);
    bool found = false;
    for (const TCanvasCall& e : ellipses)
        found |= e.Args == std::vector<int>{p.X - 3, p.Y - 3, p.X + 3, p.Y + 3};
    EXPECT_TRUE(found) << "the marker is drawn at the re-evaluated state";
}

} // namespace
