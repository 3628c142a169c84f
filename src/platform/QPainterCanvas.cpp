#include "platform/QPainterCanvas.h"

#include <QPaintDevice>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

QColor ToQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

namespace {

// Odd pen widths are centred on the middle of a canvas unit so that straight lines cover whole
// device pixels instead of smearing over two.
double StrokeOffset(int width) {
    return (std::max(width, 1) % 2 == 1) ? 0.5 : 0.0;
}

// The platform's point-to-device rule: nearest whole unit, halves away from zero.
int PointsToUnits(int points, double unitsPerInch) {
    return std::max(1, static_cast<int>(std::lround(points * unitsPerInch / 72.0)));
}

// Angle of the ray from the centre through (x, y) in the ellipse's own parameter, degrees
// counter-clockwise from three o'clock (page y grows downwards).
double ArcAngle(double cx, double cy, double rx, double ry, int x, int y) {
    const double dx = (x - cx) / (rx > 0 ? rx : 1);
    const double dy = (cy - y) / (ry > 0 ? ry : 1);
    return std::atan2(dy, dx) * 180.0 / std::numbers::pi;
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter, double unitsPerInch)
    : FPainter(painter)
    , FUnitsPerInch(unitsPerInch > 0 ? unitsPerInch
                                     : (painter.device() ? painter.device()->logicalDpiY() : 96)) {
    FPainter.setRenderHint(QPainter::Antialiasing, true);
    FPainter.setRenderHint(QPainter::TextAntialiasing, true);
    FPainter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    ApplyFont();
}

QPainterCanvas::~QPainterCanvas() {
    Flush();
}

QPen QPainterCanvas::StrokePen() const {
    const int w = std::max(FPen.Width, 1);
    QPen pen(ToQColor(FPen.Color), w);
    if (w > 1) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    } else {
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    return pen;
}

QFont QPainterCanvas::QtFont(const TFont& font) const {
    QFont f(font.Name);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (font.Pitch == TFontPitch::fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
    }
    int weight = font.Weight > 0 ? font.Weight : ((font.Style & fsBold) ? 700 : 400);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    f.setItalic(font.Style & fsItalic);
    f.setUnderline(font.Style & fsUnderline);
    f.setStrikeOut(font.Style & fsStrikeOut);

    if (font.Height > 0) {
        // An explicit character cell: choose the size whose line height is that cell.
        QFont probe = f;
        probe.setPixelSize(100);
        const double cell = QFontMetricsF(probe, FPainter.device()).height();
        const int px = cell > 0 ? static_cast<int>(std::lround(font.Height * 100.0 / cell)) : font.Height;
        f.setPixelSize(std::max(px, 1));
    } else {
        f.setPixelSize(PointsToUnits(font.Size, FUnitsPerInch));
    }
    if (font.Width > 0) {
        const int natural = QFontMetrics(f, FPainter.device()).horizontalAdvance(QLatin1Char('X'));
        if (natural > 0 && std::abs(font.Width - natural) > 1)
            f.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * font.Width / natural)), 1, 4000));
    }
    return f;
}

void QPainterCanvas::ApplyFont() {
    FQFont = QtFont(FFont);
    FMetrics.emplace(FQFont, FPainter.device());
}

void QPainterCanvas::SetPen(const TPen& pen) {
    if (pen == FPen) return;
    Flush();
    FPen = pen;
}

void QPainterCanvas::SetBrush(const TBrush& brush) {
    FBrush = brush;
}

void QPainterCanvas::SetFont(const TFont& font) {
    if (font == FFont) return;
    // Colour and rotation do not change the Qt font or its metrics.
    TFont a = font, b = FFont;
    a.Color = b.Color = 0;
    a.Orientation = b.Orientation = 0;
    FFont = font;
    if (!(a == b)) ApplyFont();
}

void QPainterCanvas::Flush() {
    if (FPending.size() >= 2) {
        FPainter.setPen(StrokePen());
        FPainter.setBrush(Qt::NoBrush);
        FPainter.drawPolyline(FPending);
    }
    FPending.clear();
}

void QPainterCanvas::MoveTo(int x, int y) {
    Flush();
    FPenPos = {x, y};
}

void QPainterCanvas::LineTo(int x, int y) {
    const double o = StrokeOffset(FPen.Width);
    if (FPending.isEmpty()) FPending.append(QPointF(FPenPos.X + o, FPenPos.Y + o));
    FPending.append(QPointF(x + o, y + o));
    FPenPos = {x, y};
}

void QPainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Flush();
    const double o = StrokeOffset(FPen.Width);
    FPainter.setPen(StrokePen());
    if (FBrush.Style == TBrushStyle::bsSolid)
        FPainter.setBrush(ToQColor(FBrush.Color));
    else
        FPainter.setBrush(Qt::NoBrush);
    // The box excludes its right and bottom edges, as on the platform canvas.
    FPainter.drawEllipse(QRectF(x1 + o, y1 + o, x2 - x1 - 2 * o, y2 - y1 - 2 * o));
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Flush();
    const double o = StrokeOffset(FPen.Width);
    FPainter.setPen(StrokePen());
    if (FBrush.Style == TBrushStyle::bsSolid)
        FPainter.setBrush(ToQColor(FBrush.Color));
    else
        FPainter.setBrush(Qt::NoBrush);
    FPainter.drawRect(QRectF(x1 + o, y1 + o, x2 - x1 - 2 * o, y2 - y1 - 2 * o));
}

void QPainterCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Flush();
    const double o = StrokeOffset(FPen.Width);
    const QRectF box(x1 + o, y1 + o, x2 - x1 - 2 * o, y2 - y1 - 2 * o);
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double rx = std::abs(x2 - x1) / 2.0, ry = std::abs(y2 - y1) / 2.0;
    const double start = ArcAngle(cx, cy, rx, ry, x3, y3);
    const double end = ArcAngle(cx, cy, rx, ry, x4, y4);
    double span = end - start;
    while (span <= 0)
        span += 360; // counter-clockwise; equal rays give the whole ellipse
    while (span > 360)
        span -= 360;
    QPainterPath path;
    path.arcMoveTo(box, start);
    path.arcTo(box, start, span);
    FPainter.setPen(StrokePen());
    FPainter.setBrush(Qt::NoBrush);
    FPainter.drawPath(path);
}

void QPainterCanvas::SetPixel(int x, int y, TColor color) {
    Flush();
    FPainter.fillRect(QRectF(x, y, 1, 1), ToQColor(color));
}

void QPainterCanvas::DrawTextAt(int x, int y, const QString& text, const QRectF* clip) {
    Flush();
    FPainter.save();
    if (clip) FPainter.setClipRect(*clip, Qt::IntersectClip);
    const bool opaque = FBrush.Style == TBrushStyle::bsSolid;
    if (opaque && clip)
        FPainter.fillRect(*clip, ToQColor(FBrush.Color)); // a clipped text fills its whole rectangle
    FPainter.translate(x, y);
    if (FFont.Orientation != 0)
        FPainter.rotate(-FFont.Orientation / 10.0); // counter-clockwise on a y-down page
    if (opaque && !clip)
        FPainter.fillRect(QRectF(0, 0, FMetrics->horizontalAdvance(text), FMetrics->height()),
                          ToQColor(FBrush.Color));
    FPainter.setFont(FQFont);
    FPainter.setPen(ToQColor(FFont.Color));
    FPainter.drawText(QPointF(0, FMetrics->ascent()), text);
    FPainter.restore();
}

void QPainterCanvas::TextOut(int x, int y, const QString& text) {
    DrawTextAt(x, y, text, nullptr);
}

void QPainterCanvas::TextRect(const TRect& clip, int x, int y, const QString& text) {
    const QRectF r(clip.Left, clip.Top, clip.Width(), clip.Height());
    DrawTextAt(x, y, text, &r);
}

int QPainterCanvas::TextWidth(const QString& text) {
    return FMetrics->horizontalAdvance(text);
}

int QPainterCanvas::TextHeight(const QString&) {
    return FMetrics->height();
}

void QPainterCanvas::StretchDraw(const TRect& dest, const QImage& picture) {
    Flush();
    if (picture.isNull()) return;
    FPainter.drawImage(QRectF(dest.Left, dest.Top, dest.Width(), dest.Height()), picture);
}
