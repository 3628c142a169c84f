// Speed of a complete chart redraw: on the recording canvas (the chart's own work), on the
// 1188 × 840 export bitmap through QPainter, and a page with 20 plotted processes; each the same
// range again and a range never drawn before.

#include "chart/THygrova.h"
#include "platform/AppInfo.h"
#include "platform/QPainterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "psychro/Aerix43.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <string>

namespace {

void EnsureApp() {
    AppFolders().CommonFolder = std::string(HYG_SOURCE_DATA) + "/";
}

constexpr TChartRange DefaultRange{-5, 0, 45, 0.03};
constexpr double Patm = 101.325;
const TRect ExportRect{50, 50, 1138, 790};

// A pressure never used before in this process (a hair above the standard one), so that no state of
// a page drawn at it was ever solved before: a cold draw of a new range.
double NewPressure() {
    static int serial = 0;
    return Patm + 1e-9 * ++serial;
}

TAirState DbWb(double db, double wb) {
    TAirState s;
    SetState(s, Patm, db, wb, 0);
    return s;
}

void AddProcesses(THygrova& chart, int count) {
    for (int i = 0; i < count; ++i) {
        const double db = 22 + 0.7 * i;
        chart.AddProcess("Process " + std::to_string(i + 1), DbWb(db, db - 7),
                         DbWb(12 + 0.2 * i, 11 + 0.15 * i));
    }
}

void BM_DrawRecording(benchmark::State& state) {
    EnsureApp();
    RecordingCanvas canvas;
    const TRect page{0, 0, 842, 595};
    THygrova chart(&canvas, clWhite, page);
    chart.SetCanvas(&canvas, page);
    chart.SetChartRange(DefaultRange, Patm);
    for (auto _ : state) {
        canvas.Clear();
        chart.Draw();
        benchmark::DoNotOptimize(canvas.Calls().size());
    }
    state.counters["calls"] = static_cast<double>(canvas.Calls().size());
}
BENCHMARK(BM_DrawRecording)->Unit(benchmark::kMillisecond);

// The first draw of a range: at a new pressure each time, set anew as a range change does.
void BM_DrawRecordingCold(benchmark::State& state) {
    EnsureApp();
    RecordingCanvas canvas;
    const TRect page{0, 0, 842, 595};
    THygrova chart(&canvas, clWhite, page);
    chart.SetCanvas(&canvas, page);
    for (auto _ : state) {
        chart.SetChartRange(DefaultRange, NewPressure());
        canvas.Clear();
        chart.Draw();
        benchmark::DoNotOptimize(canvas.Calls().size());
    }
}
BENCHMARK(BM_DrawRecordingCold)->Unit(benchmark::kMillisecond);

// The same for a humid high-temperature chart, whose page mapping runs beyond the library's range.
void BM_DrawRecordingColdHighTemperature(benchmark::State& state) {
    EnsureApp();
    RecordingCanvas canvas;
    const TRect page{0, 0, 842, 595};
    THygrova chart(&canvas, clWhite, page);
    chart.SetCanvas(&canvas, page);
    TChartRange range;
    chart.SetPreset(2, range, Patm);
    for (auto _ : state) {
        chart.SetChartRange(range, NewPressure());
        canvas.Clear();
        chart.Draw();
        benchmark::DoNotOptimize(canvas.Calls().size());
    }
}
BENCHMARK(BM_DrawRecordingColdHighTemperature)->Unit(benchmark::kMillisecond);

// The export path: a new chart on a fresh white bitmap, narrow plot box, no items (`cold`: at a
// new pressure each time).
void DrawExportBitmap(benchmark::State& state, bool cold) {
    EnsureApp();
    QImage image(1188, 840, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        THygrova chart(&canvas, clWhite, ExportRect);
        chart.SetChartRange(DefaultRange, cold ? NewPressure() : Patm);
        chart.Draw();
        canvas.Flush();
        benchmark::DoNotOptimize(image.constBits());
    }
}
void BM_DrawExportBitmap(benchmark::State& state) {
    DrawExportBitmap(state, false);
}
BENCHMARK(BM_DrawExportBitmap)->Unit(benchmark::kMillisecond);
void BM_DrawExportBitmapCold(benchmark::State& state) {
    DrawExportBitmap(state, true);
}
BENCHMARK(BM_DrawExportBitmapCold)->Unit(benchmark::kMillisecond);

// A whole page with 20 labelled processes, redrawn on the same chart as the main window does
// (`cold`: at a new pressure each time).
void DrawPageWith20Processes(benchmark::State& state, bool cold) {
    EnsureApp();
    QImage image(1188, 840, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    THygrova chart(nullptr, clWhite, ExportRect);
    AddProcesses(chart, 20);
    chart.FShowLabels = true;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        chart.SetCanvas(&canvas, ExportRect);
        chart.SetChartRange(DefaultRange, cold ? NewPressure() : Patm);
        chart.Draw();
        canvas.Flush();
        benchmark::DoNotOptimize(image.constBits());
    }
}
void BM_DrawPageWith20Processes(benchmark::State& state) {
    DrawPageWith20Processes(state, false);
}
BENCHMARK(BM_DrawPageWith20Processes)->Unit(benchmark::kMillisecond);
void BM_DrawPageWith20ProcessesCold(benchmark::State& state) {
    DrawPageWith20Processes(state, true);
}
BENCHMARK(BM_DrawPageWith20ProcessesCold)->Unit(benchmark::kMillisecond);

void BM_DrawRecordingWith20Processes(benchmark::State& state) {
    EnsureApp();
    RecordingCanvas canvas;
    THygrova chart(&canvas, clWhite, ExportRect);
    chart.SetCanvas(&canvas, ExportRect);
    AddProcesses(chart, 20);
    chart.FShowLabels = true;
    chart.SetChartRange(DefaultRange, Patm);
    for (auto _ : state) {
        canvas.Clear();
        chart.Draw();
        benchmark::DoNotOptimize(canvas.Calls().size());
    }
}
BENCHMARK(BM_DrawRecordingWith20Processes)->Unit(benchmark::kMillisecond);

} // namespace

// The fonts and the logo reader need an application object for the whole run.
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
