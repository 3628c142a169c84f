#pragma once
// Paper sizes, page units and zoom arithmetic of the print preview, as plain functions so that the
// widget and its tests share one definition of every number.

#include <QSizeF>
#include <QString>

#include <optional>

// Units of the page coordinates (the canvas units the page is recorded in).
enum TPreviewUnits { mmLoMetric, mmHiMetric, mmLoEnglish, mmHiEnglish, mmTWIPS, mmPoints };

enum TPrintOrientation { poPortrait, poLandscape };

enum TZoomState { zsZoomOther, zsZoomToWidth, zsZoomToHeight, zsZoomToFit };

struct TPaperSize {
    QString FormName;
    // Paper-size code written to preview files (the printer driver codes: A4 = 9, Letter = 1, ...).
    int Code = 0;
    // Portrait size.
    double WidthMM = 0;
    double HeightMM = 0;
};

// The paper of a form name ("A4", "A3", "A5", "Letter", "Legal"; letter case ignored).
std::optional<TPaperSize> PaperByFormName(const QString& formName);
std::optional<TPaperSize> PaperByCode(int code);

double UnitsPerInch(TPreviewUnits units);
double ConvertUnit(double value, TPreviewUnits from, TPreviewUnits to);

// The paper in millimetres as oriented on the page.
QSizeF OrientedPaperMM(const TPaperSize& paper, TPrintOrientation orientation);

inline constexpr double MinZoomPercent = 10;
inline constexpr double MaxZoomPercent = 500;

// Room the preview keeps around each page (margin on every side, shadow right and below), in
// device-independent pixels.
struct TPreviewSpacing {
    double Margin = 12;
    double Shadow = 4;
    double PageGap = 12;
};

// Zoom percentage at which one page of pageInches fits the viewport as the state asks. available is
// the viewport without scroll bars; when the fitted page overflows the other direction, that scroll
// bar (scrollBarExtent wide) is taken off first. zsZoomOther returns 0.
double FitZoom(TZoomState state, QSizeF pageInches, QSizeF available, double dpi,
               const TPreviewSpacing& spacing, double scrollBarExtent);
