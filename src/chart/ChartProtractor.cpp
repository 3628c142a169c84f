// The dH/dW protractor in the top-left corner: rays parallel to the page lines through 24 °C, 50 %
// along which enthalpy changes by the given amount per unit of humidity ratio.

#include "chart/ChartLibrary.h"
#include "chart/ChartMath.h"
#include "chart/THygrova.h"
#include "psychro/Format.h"

#include <QString>

#include <array>
#include <cmath>

using ChartMath::Div;
using ChartMath::FDiv;
using ChartMath::Trunc;

namespace {
constexpr double Tiny = 1e-19;
constexpr double BtuPerLbPerKJPerKg = 0.4299226139294927;
constexpr std::array<double, 10> Slopes = {-5, -2, 0, 1, 2, 2.5, 3, 4, 5, 10}; // kJ/g
} // namespace

void THygrova::DrawProtractor() {
    const double P = FPressure;
    const int cx = FLeft + 82, cy = FTop + 80;
    const double R = 20;
    UsePen(9);

    FCanvas->MoveTo(cx - 66, cy);
    FCanvas->LineTo(cx + 66, cy);
    FCanvas->MoveTo(cx, cy - 6);
    FCanvas->LineTo(cx, cy + 60);
    FCanvas->Arc(cx - 60, cy - 60, cx + 60, cy + 60, cx - 60, cy, cx + 60, cy); // lower half

    TAirState ref;
    ChartLibrary::SetState(ref, P, 24, 0.5, 3);
    const TPoint pR = StatePoint(ref.DryBulb, ref.Humidity);
    const double href = ref.Enthalpy, Wref = ref.Humidity;

    for (const double q : Slopes) {
        TAirState other;
        ChartLibrary::SetState(other, P, href - 1000 * q * Wref, Tiny, 15);
        const TPoint p1 = StatePoint(other.DryBulb, other.Humidity);
        // Unit direction of the page line, scaled to R and pointing downwards.
        const double m = static_cast<double>(FDiv(p1.X - pR.X, p1.Y - pR.Y));
        const double cyR = std::sqrt(R * R / (m * m + 1));
        const double sx = cyR * m;
        if (q == 0)
            FCanvas->MoveTo(cx, cy);
        else
            FCanvas->MoveTo(cx + Trunc(2.9 * sx), cy + Trunc(2.9 * cyR));
        FCanvas->LineTo(cx + Trunc(3.3 * sx), cy + Trunc(3.3 * cyR));
        UseFontSize(13);
        ChartTextAngle(Format("%0.1f", {FImperial ? q * BtuPerLbPerKJPerKg : q}), cx + Trunc(3.75 * sx) - 5,
                       0, cy + Trunc(3.75 * cyR) - 5);
    }

    FCanvas->Ellipse(cx - 4, cy - 4, cx + 4, cy + 4);
    FCanvas->SetPixel(cx, cy, clBlack);

    TFont font = FCanvas->Font();
    font.Size = FFontSizes[13] + 2;
    font.Color = FFontColors[13];
    FCanvas->SetFont(font);
    const std::string title = FImperial ? "dH/dW, X 10\u00B3 Btu/lb" : "dH/dW, kJ/g";
    const int w = FCanvas->TextWidth(QString::fromStdString(title));
    ChartText(cx - Div(w, 2), cy + 18, title);
}
