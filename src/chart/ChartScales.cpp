// Scales around the line families: the enthalpy scale (a diagonal 30 units above the saturation
// curve, plus the level below and right of the plot box) with its ticks and labels, and the
// sensible-heat-ratio scale right of the chart with its reference marker at 24 °C, 50 %.

#include "chart/ChartGuard.h"
#include "chart/ChartLibrary.h"
#include "chart/ChartMath.h"
#include "chart/THygrova.h"
#include "psychro/Format.h"
#include "psychro/MoistAir.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <numbers>

using ChartMath::Div;
using ChartMath::FDiv;
using ChartMath::Trunc;

namespace {
constexpr double Tiny = 1e-19;
constexpr double RadToDeg = 180.0 / std::numbers::pi;
} // namespace

void THygrova::DrawEnthalpyScale() {
    const double P = FPressure;
    UsePen(4); // stays set for the ticks
    UseFontSize(9);

    // From 30 units above the saturation curve at the left edge to 30 units left of it at the top.
    TPoint p1 = StatePoint(FTempLo, SatHumidity(FTempLo, P));
    p1.Y -= 30;
    TPoint p2 = StatePoint(DewPointOfHumidity(FHumHi, P), FHumHi);
    p2.X -= 30;
    const double s = static_cast<double>(FDiv(p2.Y - p1.Y, p2.X - p1.X));
    FScaleSlope = s;
    FScaleIntercept = p2.Y - p2.X * s;
    FScaleTopY = Trunc(FYTop - 30);
    FScaleRightX = Trunc(FXRight + 25);
    FScaleBottomY = Trunc(FYBottom + 30);

    UseFontSize(5);
    UseFontColor(5);
    const std::string& text = FEnthalpyUnit.Title;
    const int w = FCanvas->TextWidth(QString::fromStdString(text));
    const int xm = Div(p2.X + p1.X - w, 2);
    const int ym = p2.Y - Trunc((p2.X - xm) * s);
    ChartTextAngle(text, xm - 30, -std::atan(s) * RadToDeg + 3, ym - 30);
}

void THygrova::DrawEnthalpyTicks() {
    const double P = FPressure;
    const double fh = FEnthalpyUnit.Factor;
    // Bottom-left and top-right corners.
    const double h1 = PageEnthalpy(FTempLo, FHumLo + Tiny); // may lie in the fog region
    const double h2 = ChartLibrary::Enthalpy(P, FTempHi, FHumHi, 2);
    const double lo = Trunc(h1 * fh);
    const double hi = h2 * fh;
    const double step = static_cast<double>(FDiv(NiceStep((hi - lo) / 50), fh));
    double h = static_cast<double>(FDiv(lo, fh));
    const int top = Trunc(h2);
    if (top > h && !(step > 0))
        throw EChartMathError("Invalid floating point operation"); // the ticks would never end
    int i = 0;
    while (top > h) {
        ChartGuard([&] { DrawEnthalpyTick(h, i); });
        ++i;
        h = h + step;
    }
}

void THygrova::DrawEnthalpyTick(double h, int i) {
    const double P = FPressure;
    const double m = FEnthalpySlope;
    const double s = FScaleSlope, c0 = FScaleIntercept;
    const double fh = FEnthalpyUnit.Factor;

    // The tick's enthalpy line on the page: y = m·x + c.
    const double t0 = ChartLibrary::DryBulb(P, h, Tiny, 15);
    const TPoint p0 = StatePoint(t0, Tiny);
    const double c = p0.Y - m * p0.X;

    const bool big = i % 5 == 0;
    const int len = big ? 5 : 2;
    const double norm = std::sqrt(m * m + 1);
    const int dx = Trunc(3 * len / norm);
    const int dy = Trunc(3 * len * m / norm);
    const std::string text = big ? Format(FEnthalpyUnit.Format, {h * fh}) : std::string();
    auto useLabelFont = [&] {
        UseFontSize(9);
        UseFontColor(9);
        return FCanvas->TextWidth(QStringLiteral("S"));
    };

    // Upper-left part: where the enthalpy line crosses the diagonal scale.
    int x = Trunc(FDiv(c0 - c, m - s));
    int y = Trunc(x * m + c);
    if (FLeft <= x && x <= FXRight && FYTop <= y && y <= FYBottom) {
        if (y < FScaleTopY) {
            x = Trunc(FDiv(FScaleTopY - c, m));
            y = Trunc(FScaleTopY);
            if (x < FLeft || x > FXRight) return;
        }
        FCanvas->MoveTo(x, y);
        FCanvas->LineTo(x + dx, y + dy);
        if (big) {
            const int wS = useLabelFont();
            ChartTextAngle(text, x - wS - 12, -FEnthalpyAngle, y - 15);
        }
    }

    // Lower-right part: where the line leaves the chart, on the level below the plot box or on the
    // right-hand level.
    x = Trunc(FDiv(FScaleBottomY - c, m));
    y = Trunc(x * m + c);
    if (FYTop <= y && y <= FBottom) {
        if (x > FScaleRightX) {
            x = Trunc(FScaleRightX);
            y = Trunc(x * m + c);
            if (y < FYTop || y > FBottom) return;
        }
        FCanvas->MoveTo(x, y);
        FCanvas->LineTo(x + dx, y + dy);
        if (big) {
            const int wS = useLabelFont();
            ChartTextAngle(text, x + dx + wS - 3, -FEnthalpyAngle, y + dy - 3);
        }
    }
}

void THygrova::DrawSHRMarker() {
    UsePen(9);
    const TPoint p = StatePoint(24, HumidityFromRH(0.5, 24, FPressure));
    FCanvas->Ellipse(p.X - 3, p.Y - 3, p.X + 3, p.Y + 3);
}

void THygrova::DrawSHRScale() {
    const double P = FPressure, TH = FTempHi, WL = FHumLo, WH = FHumHi;
    UsePen(9);
    UseFontSize(12);
    const int xA = Trunc(FXRight + 70);

    const int yTop = StatePoint(TH + 5, WH).Y;
    FCanvas->MoveTo(xA, yTop);
    const double W0 = HumidityFromRH(0.5, 24, P);
    if (W0 > WH) return; // the reference state lies above the chart
    FCanvas->LineTo(xA, StatePoint(TH + 5, std::max(W0, WL)).Y);

    // Each mark is where the process line of that SHR through the reference state crosses the
    // scale; its tick points back along that line.
    const TPoint pR = StatePoint(24, W0);
    const int d = xA - pR.X;
    const double cp = HumidSpecificHeat(W0);
    const double hfg = LatentHeat(24);
    for (int i = 0; i <= 95; ++i) {
        const double SHR = 1 - i / 100.0;
        const double dW = (1 - SHR) * (10 * cp / SHR) / hfg; // humidity change over 10 K
        const double t = W0 + dW;
        if (t < WL || t > WH) continue;
        const TPoint p6 = StatePoint(34, t);
        const double u = static_cast<double>(FDiv(pR.Y - p6.Y, p6.X - pR.X));
        const int k = Trunc(d * u);
        if (k < 0) break;
        const int ys = pR.Y - k;
        if (ys <= FYTop) continue;
        FCanvas->MoveTo(xA, ys);
        if (i % 5 == 0)
            FCanvas->LineTo(xA - 6, ys + Trunc(6 * u));
        else
            FCanvas->LineTo(xA - 3, ys + Trunc(3 * u));
        UseFontSize(12);
        UseFontColor(12);
        if (i % 10 == 0) ChartText(xA + 3, ys - 6, Format("%0.1f", {SHR}));
    }
}
