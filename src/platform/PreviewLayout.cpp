#include "platform/PreviewLayout.h"

#include <algorithm>
#include <array>

namespace {

const std::array<TPaperSize, 5>& Papers() {
    static const std::array<TPaperSize, 5> papers{{
        {QStringLiteral("Letter"), 1, 215.9, 279.4},
        {QStringLiteral("Legal"), 5, 215.9, 355.6},
        {QStringLiteral("A3"), 8, 297, 420},
        {QStringLiteral("A4"), 9, 210, 297},
        {QStringLiteral("A5"), 11, 148, 210},
    }};
    return papers;
}

} // namespace

std::optional<TPaperSize> PaperByFormName(const QString& formName) {
    for (const TPaperSize& p : Papers())
        if (p.FormName.compare(formName.trimmed(), Qt::CaseInsensitive) == 0) return p;
    return std::nullopt;
}

std::optional<TPaperSize> PaperByCode(int code) {
    for (const TPaperSize& p : Papers())
        if (p.Code == code) return p;
    return std::nullopt;
}

double UnitsPerInch(TPreviewUnits units) {
    switch (units) {
    case mmLoMetric:
        return 254;
    case mmHiMetric:
        return 2540;
    case mmLoEnglish:
        return 100;
    case mmHiEnglish:
        return 1000;
    case mmTWIPS:
        return 1440;
    case mmPoints:
        return 72;
    }
    return 72;
}

double ConvertUnit(double value, TPreviewUnits from, TPreviewUnits to) {
    return value * UnitsPerInch(to) / UnitsPerInch(from);
}

QSizeF OrientedPaperMM(const TPaperSize& paper, TPrintOrientation orientation) {
    return orientation == poPortrait ? QSizeF(paper.WidthMM, paper.HeightMM)
                                     : QSizeF(paper.HeightMM, paper.WidthMM);
}

double FitZoom(TZoomState state, QSizeF pageInches, QSizeF available, double dpi,
               const TPreviewSpacing& spacing, double scrollBarExtent) {
    if (state == zsZoomOther) return 0;
    const double extra = 2 * spacing.Margin + spacing.Shadow;
    const double pw = pageInches.width() * dpi / 100; // pixels per zoom percent
    const double ph = pageInches.height() * dpi / 100;
    if (pw <= 0 || ph <= 0) return MinZoomPercent;
    const double w = available.width() - extra;
    const double h = available.height() - extra;
    double zoom = 0;
    switch (state) {
    case zsZoomToFit:
        zoom = std::min(w / pw, h / ph);
        break;
    case zsZoomToWidth:
        zoom = w / pw;
        if (zoom * ph > h) zoom = (w - scrollBarExtent) / pw;
        break;
    case zsZoomToHeight:
        zoom = h / ph;
        if (zoom * pw > w) zoom = (h - scrollBarExtent) / ph;
        break;
    case zsZoomOther:
        break;
    }
    return std::clamp(zoom, MinZoomPercent, MaxZoomPercent);
}
