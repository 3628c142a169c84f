#pragma once
// Shared fixtures of the chart tests: a chart laid out like the main window's page, drawn on a
// recording canvas, and filters over what it recorded.

#include "chart/THygrova.h"
#include "platform/RecordingCanvas.h"
#include "psychro/Aerix43.h"

#include <QGuiApplication>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The logo is read as a picture; Qt's image plugins want an application object.
class QtGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "chart_tests";
            static char* argv[] = {name, nullptr};
            FApp = std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QGuiApplication> FApp;
};

// A page like the main window's: created, then given the page again so that the full margins apply.
inline constexpr TRect TestPage{0, 0, 1000, 700};
inline constexpr double Patm = 101.325;

struct TChartOnRecorder {
    explicit TChartOnRecorder(TRect page = TestPage, bool mainWindowLayout = true)
        : Chart(&Canvas, clWhite, page) {
        if (mainWindowLayout) Chart.SetCanvas(&Canvas, page);
        TChartRange range{-5, 0, 45, 0.03};
        Chart.SetChartRange(range, Patm);
    }
    void Redraw() {
        Canvas.Clear();
        Chart.Draw();
    }
    RecordingCanvas Canvas;
    THygrova Chart;
};

inline TPen PenOf(const THygrova& chart, int index) {
    return TPen{chart.PenWidths()[index], chart.PenColors()[index]};
}

// Texts drawn in a font colour, in drawing order.
inline std::vector<TCanvasCall> TextsInColour(const RecordingCanvas& canvas, TColor colour) {
    std::vector<TCanvasCall> out;
    for (const TCanvasCall& c : canvas.Texts())
        if (c.Font.Color == colour) out.push_back(c);
    return out;
}

inline std::vector<std::string> TextStrings(const std::vector<TCanvasCall>& calls) {
    std::vector<std::string> out;
    for (const TCanvasCall& c : calls)
        out.push_back(c.Text.toStdString());
    return out;
}

inline TAirState DbWb(double db, double wb, double P = Patm) {
    TAirState s;
    SetState(s, P, db, wb, 0);
    return s;
}
