// The chart's line families: humidity, dry-bulb, specific-volume and wet-bulb lines, the
// relative-humidity curves with their labels, the frame and the saturation curve. Every line is a
// polyline between page points of (dry bulb, humidity ratio) states. Each family uses the property
// source its rule names: the library (Aerix43) or the own closed-form formulas (MoistAir).

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
using ChartMath::Floor;
using ChartMath::Round;
using ChartMath::Trunc;

namespace {
constexpr double Tiny = 1e-19; // a humidity ratio just above zero, where W = 0 itself is singular
constexpr double RadToDeg = 180.0 / std::numbers::pi;
} // namespace

void THygrova::DrawHumidityLines() {
    const double P = FPressure, TH = FTempHi, WH = FHumHi, T1st = FFirstDryBulb;
    const double fW = FHumidityUnit.Factor;
    const bool tall = FBottom - FTop > 200;
    UsePen(5);
    UseFontSize(8);

    const double s = static_cast<double>(FDiv(NiceStep((FDispHumHi - FDispHumLo) / 20), fW));
    double W = static_cast<double>(FDiv(FDispHumLo, fW));
    int i = 0;
    TLoopGuard loop;
    do {
        loop.Next();
        W = W + s;
        ++i;
        if (W <= 0) W = Tiny;
        double T1 = DewPointOfHumidity(W, P);
        if (T1 > TH) continue; // saturated only beyond the right edge
        if (T1 < T1st) T1 = T1st;
        if (W > WH) continue;
        // From the saturation curve (or the left edge) to the right edge.
        MoveToState(T1, W);
        LineToState(TH, W);
        const TPoint p = StatePoint(TH, W);
        if (tall && i % 2 == 0) {
            FCanvas->LineTo(p.X + 3, p.Y);
            LabelAt(Format(FHumidityUnit.Format, {W * fW}), FFontColors[8], TH - 0.5, W, 5);
        }
    } while (!(W > WH));

    if (tall) {
        UseFontSize(4);
        UseFontColor(4);
        const TPoint p = StatePoint(TH, (FHumLo + WH) / 2);
        const int w = FCanvas->TextWidth(QString::fromStdString(FHumidityUnit.Title));
        ChartTextAngle(FHumidityUnit.Title, p.X + 8, 90, p.Y + Div(w, 2));
    }
}

void THygrova::DrawDryBulbLines() {
    const double P = FPressure, TL = FTempLo, TH = FTempHi, WL = FHumLo, WH = FHumHi;
    const double f = FTemperatureUnit.Factor, o = FTemperatureUnit.Offset;
    const bool wide = FRight - FLeft > 200;
    UsePen(2);
    UseFontSize(7);

    double T = FFirstDryBulb;
    int i = 0;
    TLoopGuard loop;
    do {
        loop.Next();
        // At or above the boiling point of this pressure the air cannot saturate (the formula's
        // humidity turns negative): the line then spans the chart's whole height.
        double Wt = MoistAirConst::Enhancement * SatPressure(T) >= P ? WH : SatHumidity(T, P);
        if (Wt > WH) Wt = WH;
        if (Wt < WL) Wt = WL;
        MoveToState(T, Wt);
        LineToState(T, WL);
        const TPoint p = StatePoint(T, WL);
        if (wide && i % 5 == 0) {
            const std::string text = Format(FTemperatureUnit.Format, {T * f + o});
            FCanvas->LineTo(p.X, p.Y + 6);
            UseFontColor(7);
            const int wS = FCanvas->TextWidth(QStringLiteral("S"));
            ChartText(p.X - Div(wS, 2), p.Y + 3, text);
        }
        ++i;
        T = T + FLineStep;
    } while (!(T >= TH));

    if (wide) {
        TPoint p = StatePoint((TL + TH) / 2, WL);
        p.X -= Div(FCanvas->TextWidth(QString::fromStdString(FTemperatureUnit.Title)), 2);
        UseFontColor(3);
        UseFontSize(3);
        ChartText(p.X, p.Y + 14, FTemperatureUnit.Title);
    }
}

void THygrova::DrawVolumeLines() {
    const double P = FPressure, TL = FTempLo, TH = FTempHi, WL = FHumLo, WH = FHumHi;
    const double fv = FVolumeUnit.Factor;
    UsePen(7);
    UseFontSize(11);

    const double vMax = SpecificVolumeWB(ChartLibrary::WetBulb(P, TH, WH, 2), TH, P);
    double v = SpecificVolumeWB(ChartLibrary::WetBulb(P, TL, Tiny, 2), TL, P);
    // Start from the whole tenth (m³/kg) or whole unit at or below the chart's smallest volume, so
    // that every line above it is drawn; lines left of the chart are skipped below.
    double s;
    if (FVolumeUnit.Index == 0) {
        v = Floor(v / 0.1) * 0.1;
        s = 0.01;
    } else {
        v = static_cast<double>(FDiv(Floor(v * fv), fv));
        s = static_cast<double>(FDiv(0.1, fv));
    }

    int i = 0;
    bool done = false;
    double lastT = TL, lastW = WL;
    do {
        ++i;
        v = v + s;
        if (i > 100) done = true;
        if (v >= vMax) done = true;

        // Start on the bottom edge, or on the right edge when the line leaves the chart there.
        double W1 = WL + Tiny;
        double T1 = TemperatureFromVolume(W1, v, P);
        if (T1 > TH) {
            T1 = TH;
            W1 = HumidityFromVolume(v, TH, P);
            if (W1 > WH) continue;
        }
        const TPoint p1 = StatePoint(T1, W1);
        FCanvas->MoveTo(p1.X, p1.Y);

        // End on the saturation curve, or on the top edge.
        double T2 = SatTempFromVolume(v, P);
        if (T2 > TH || T2 < TL) continue;
        double W2 = SatHumidity(T2, P);
        if (W2 > WH) {
            W2 = WH;
            T2 = TemperatureFromVolume(WH, v, P);
        }
        if (W2 < WL) continue;
        LineToState(T2, W2);
        lastT = T2;
        lastW = W2;

        if (i % 2 == 1) {
            // Every other line is labelled where it crosses the 45 % curve, turned along the line.
            try {
                const double Tl = RHTempForVolume(TH, TL, 0.45, v, P);
                const double Wl = HumidityFromRH(0.45, Tl, P);
                lastT = Tl;
                lastW = Wl;
                const TPoint p2 = StatePoint(Tl, Wl);
                if (!(Tl > TH || Wl > WH)) {
                    const double slope =
                        p1.X == p2.X ? 10000000.0
                                     : static_cast<double>(p1.Y - p2.Y) / static_cast<double>(p1.X - p2.X);
                    const double angle = -std::atan(slope) * RadToDeg;
                    UseFontSize(11);
                    UseFontColor(11);
                    ChartTextAngle(Format("%0.2f", {v * fv}), p2.X + 14, angle, p2.Y - 12);
                }
            } catch (const std::exception&) {
                done = true;
            }
        }
        if (lastT >= TH && lastW >= WH) done = true;
    } while (!done);
}

void THygrova::DrawWetBulbLines() {
    const double P = FPressure, TH = FTempHi, WL = FHumLo, WH = FHumHi, T1st = FFirstDryBulb;
    const double step = FLineStep;
    UsePen(3);

    // Start on the saturation curve at a whole number of steps from the first dry-bulb line. A
    // bottom-left corner in the fog region has no wet bulb in the library; there the saturation
    // temperature of its enthalpy stands in for it.
    const double T0 = T1st;
    double wb0;
    try {
        wb0 = ChartLibrary::WetBulb(P, T0, WL, 2);
    } catch (const ELibraryFailure&) {
        wb0 = SatTempFromEnthalpy(PageEnthalpy(T0, WL), P);
    }
    const int n = Round(FDiv(T0 - wb0, step));
    double twb = T0 - n * step;
    const int wbMax = Trunc(ChartLibrary::WetBulb(P, TH, WH, 2));

    int i = 0;
    bool done = false;
    TLoopGuard loop;
    do {
        loop.Next();
        done = twb >= wbMax;
        double W1 = std::max(SatHumidity(twb, P), WL);
        double T1 = twb;
        double T2 = 0, W2 = WL;
        bool drawn = true;
        try {
            if (W1 > WH) {
                W1 = WH;
                T1 = ChartLibrary::DryBulb(P, twb, WH, 9);
                if (T1 > TH) {
                    // Meets the top edge beyond the chart: nothing to draw for this wet bulb.
                    twb = twb + step;
                    ++i;
                    continue;
                }
            }
            if (T1 < T1st) {
                T1 = T1st;
                W1 = ChartLibrary::Humidity(P, T1st, twb, 0);
            }
            T2 = ChartLibrary::DryBulb(P, twb, WL + Tiny, 9);
            if (T2 > TH) {
                T2 = TH;
                W2 = ChartLibrary::Humidity(P, TH, twb, 0);
            }
        } catch (const ELibraryFailure&) {
            // A wet bulb below the dew point of the bottom edge has no unsaturated part on the
            // chart (the library has no such state): no line for it.
            drawn = false;
        }
        if (drawn) {
            MoveToState(T1, W1);
            LineToState(T2, W2);
        }

        ++i;
        twb = twb + step;
        if (i > 100) done = true;
    } while (!done);
}

void THygrova::DrawRHCurves() {
    const double P = FPressure, TL = FTempLo, TH = FTempHi, WL = FHumLo, WH = FHumHi, T1st = FFirstDryBulb;
    UsePen(6);
    UseFontSize(10);

    // Labels run on a diagonal: the 90 % label where the saturation curve reaches 0.9·WH, the lower
    // curves' labels in equal temperature steps towards tB.
    const double tA = ChartLibrary::DewPoint(P, 0.9 * WH, 0.9, 25);
    const double tB = TH - (TH - tA) * 0.8;

    for (int k = 1; k <= RHCurveCount; ++k) {
        const double phi = k / 10.0;
        ChartGuard([&] {
            double T = T1st;
            double W = ChartLibrary::Humidity(P, T, phi, 3);
            if (W < WL) {
                W = WL;
                T = ChartLibrary::DryBulb(P, WL, phi, 25);
            }
            MoveToState(T, W);
            TLoopGuard loop;
            do {
                loop.Next();
                T = T + 0.05;
                W = ChartLibrary::Humidity(P, T, phi, 3);
                if (W > WH) {
                    W = WH;
                    T = ChartLibrary::DryBulb(P, WH, phi, 25);
                }
                LineToState(T, W);
            } while (!(T >= TH || W >= WH));
        });
        ChartGuard([&] {
            const double Tl = tB - (tB - tA) * phi / 0.9;
            const double Wl = ChartLibrary::Humidity(P, Tl, phi, 3);
            if (TL < Tl && Tl < TH && WL < Wl && Wl < WH)
                LabelAt(Format("%0.0f%%", {phi * 100}), FFontColors[10], Tl, Wl, 16);
        });
    }
}

void THygrova::DrawFrame() {
    UsePen(0);
    MoveToState(FFirstDryBulb, FHumLo);
    LineToState(FTempHi, FHumLo);
    MoveToState(FTempHi, FHumHi);
    LineToState(FTempHi, FHumLo);
}

void THygrova::DrawSaturationCurve() {
    const double P = FPressure, TH = FTempHi, WL = FHumLo;
    UsePen(1);
    const double tTop = DewPointOfHumidity(FHumHi, P);
    double T = FFirstDryBulb;
    double W = SatHumidity(T, P);
    if (W < WL) {
        W = WL;
        T = DewPointOfHumidity(WL, P);
    }
    MoveToState(T, W);
    TLoopGuard loop;
    do {
        loop.Next();
        T = T + 0.05;
        W = SatHumidity(T, P);
        LineToState(T, W);
    } while (!(T >= TH || T >= tTop));
}
