// Renders a chart page headless to a PNG, for looking at the chart while developing it.
//
//   hyg_chartrender [options] output.png
//     --range TLO,WLO,THI,WHI   chart range (°C, kg/kg); default the medium preset
//     --preset low|medium|high  one of the chart's presets instead of a range
//     --pressure KPA            barometric pressure (default 101.325)
//     --units si|imperial       display units (imperial: °F, gr/lb, InchHg, Btu/lb, ft³/lb)
//     --items cooling|drying    plot a process, a mixture, a bypass process and a state
//     --labels                  label the plotted items
//     --no-protractor, --no-shr hide the dH/dW protractor or the SHR scale
//     --size WxH                bitmap size (default the 1188 x 840 export bitmap, 50-pixel margin)
//     --a4 [--scale N]          an A4 landscape page in points, margins of 8 mm, rendered N× (3)
//     --logo-dir DIR            shared-files folder holding ChartLogo.gif (default the repo's data/)

#include "chart/THygrova.h"
#include "platform/AppInfo.h"
#include "platform/QPainterCanvas.h"
#include "psychro/Aerix43.h"
#include "units/TxConv.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <exception>

namespace {

[[noreturn]] void Fail(const QString& message) {
    std::fprintf(stderr, "chartrender: %s\n", qPrintable(message));
    std::exit(2);
}

double Number(const QString& text) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok) Fail(QStringLiteral("not a number: ") + text);
    return v;
}

TAirState DbWb(double P, double db, double wb) {
    TAirState s;
    SetState(s, P, db, wb, 0);
    return s;
}

void AddItems(THygrova& chart, const QString& set) {
    const double P = chart.GetPressure();
    if (set == QLatin1String("drying")) {
        chart.AddProcess("Dryer", DbWb(P, 80, 40), DbWb(P, 48, 38));
        chart.AddMixture("Recirculation", DbWb(P, 30, 22), 0.3, DbWb(P, 70, 38));
        chart.AddBypass("Cooler", DbWb(P, 60, 35), DbWb(P, 40, 30), 0.2);
        chart.AddState(DbWb(P, 55, 30));
        return;
    }
    chart.AddProcess("Cooling coil", DbWb(P, 25, 17), DbWb(P, 13, 12));
    chart.AddMixture("Mix", DbWb(P, 32, 21), 0.15, DbWb(P, 25, 17));
    chart.AddBypass("Bypass", DbWb(P, 30, 20), DbWb(P, 17, 14), 0.15);
    chart.AddState(DbWb(P, 21, 14));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Renders a psychrometric chart page to a PNG."));
    cli.addHelpOption();
    cli.addOptions({
        {QStringLiteral("range"), QStringLiteral("Chart range TLO,WLO,THI,WHI."), QStringLiteral("range")},
        {QStringLiteral("preset"), QStringLiteral("low, medium or high."), QStringLiteral("kind")},
        {QStringLiteral("pressure"), QStringLiteral("Barometric pressure, kPa."), QStringLiteral("kPa"),
         QStringLiteral("101.325")},
        {QStringLiteral("units"), QStringLiteral("si or imperial."), QStringLiteral("system"),
         QStringLiteral("si")},
        {QStringLiteral("items"), QStringLiteral("Plot items: cooling or drying."), QStringLiteral("set")},
        {QStringLiteral("labels"), QStringLiteral("Label the plotted items.")},
        {QStringLiteral("no-protractor"), QStringLiteral("Hide the dH/dW protractor.")},
        {QStringLiteral("no-shr"), QStringLiteral("Hide the SHR scale.")},
        {QStringLiteral("size"), QStringLiteral("Bitmap size WxH."), QStringLiteral("WxH"),
         QStringLiteral("1188x840")},
        {QStringLiteral("a4"), QStringLiteral("Render an A4 landscape page laid out in points.")},
        {QStringLiteral("scale"), QStringLiteral("Pixels per point of the A4 page."), QStringLiteral("n"),
         QStringLiteral("3")},
        {QStringLiteral("logo-dir"), QStringLiteral("Folder holding ChartLogo.gif."), QStringLiteral("dir"),
         QStringLiteral(HYG_SOURCE_DATA)},
    });
    cli.addPositionalArgument(QStringLiteral("output"), QStringLiteral("PNG file to write."));
    cli.process(app);
    if (cli.positionalArguments().size() != 1) cli.showHelp(2);
    const QString output = cli.positionalArguments().front();

    QString logoDir = cli.value(QStringLiteral("logo-dir"));
    if (!logoDir.isEmpty() && !logoDir.endsWith(QLatin1Char('/'))) logoDir += QLatin1Char('/');
    AppFolders().CommonFolder = logoDir.toStdString();

    const bool a4 = cli.isSet(QStringLiteral("a4"));
    QImage image;
    TRect page;
    double scale = 1;
    if (a4) {
        scale = Number(cli.value(QStringLiteral("scale")));
        if (scale <= 0 || scale > 10) Fail(QStringLiteral("scale must lie in 0..10"));
        image = QImage(static_cast<int>(std::lround(842 * scale)), static_cast<int>(std::lround(595 * scale)),
                       QImage::Format_RGB32);
        const int margin = static_cast<int>(std::lround(8 / 25.4 * 72)); // 8 mm in points
        page = TRect{margin, margin, 842 - margin, 595 - margin};
    } else {
        const QStringList wh = cli.value(QStringLiteral("size")).split(QLatin1Char('x'));
        if (wh.size() != 2) Fail(QStringLiteral("size must be WxH"));
        const int w = static_cast<int>(Number(wh[0])), h = static_cast<int>(Number(wh[1]));
        if (w < 120 || h < 120 || w > 20000 || h > 20000) Fail(QStringLiteral("size out of range"));
        image = QImage(w, h, QImage::Format_RGB32);
        page = TRect{50, 50, w - 50, h - 50};
    }
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780); // 96 dpi, the screen resolution bitmaps are drawn for
    image.setDotsPerMeterY(3780);

    try {
        QPainter painter(&image);
        painter.scale(scale, scale);
        QPainterCanvas canvas(painter, a4 ? 72 : 0);
        THygrova chart(&canvas, clWhite, page);
        if (a4) chart.SetCanvas(&canvas, page); // as the main window does: the full plot-box margins

        const bool imperial = cli.value(QStringLiteral("units")) == QLatin1String("imperial");
        auto unit = [&](TUnitsType kind) { return imperial ? IPUnitsIndex(kind) : SIUnitsIndex(kind); };
        chart.SetPressureUnits(unit(utPressureBar));
        chart.SetTemperatureUnits(unit(utTemperature));
        chart.SetHumidityUnits(unit(utHumidity));
        chart.SetEnthalpyUnits(unit(utEnthalpy));
        chart.SetVolumeUnits(unit(utSpecificVol));
        chart.FImperial = imperial;
        chart.FShowLabels = cli.isSet(QStringLiteral("labels"));
        chart.FShowProtractor = !cli.isSet(QStringLiteral("no-protractor"));
        chart.FShowSHRScale = !cli.isSet(QStringLiteral("no-shr"));

        const double P = Number(cli.value(QStringLiteral("pressure")));
        TChartRange range{-5, 0, 45, 0.03};
        if (cli.isSet(QStringLiteral("range"))) {
            const QStringList parts = cli.value(QStringLiteral("range")).split(QLatin1Char(','));
            if (parts.size() != 4) Fail(QStringLiteral("range needs four numbers"));
            range = TChartRange{Number(parts[0]), Number(parts[1]), Number(parts[2]), Number(parts[3])};
        }
        if (cli.isSet(QStringLiteral("preset"))) {
            const QString kind = cli.value(QStringLiteral("preset"));
            const int k = kind == QLatin1String("low") ? 0 : kind == QLatin1String("high") ? 2 : 1;
            chart.SetPreset(k, range, P);
        } else {
            chart.SetChartRange(range, P);
        }
        if (cli.isSet(QStringLiteral("items"))) {
            AddItems(chart, cli.value(QStringLiteral("items")));
            chart.SetChartRange(range, P);
        }
        chart.Draw();
    } catch (const std::exception& e) {
        Fail(QString::fromStdString(e.what()));
    }
    if (!image.save(output, "PNG")) Fail(QStringLiteral("cannot write ") + output);
    return 0;
}
