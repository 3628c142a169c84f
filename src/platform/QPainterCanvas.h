#pragma once
// TCanvas on a QPainter: draws on whatever device the painter is open on (QImage, printer, PDF
// writer, widget). Canvas units are the painter's logical units. Font sizes are points, turned into
// canvas units through `unitsPerInch` (by default the device's logical DPI, so 8 pt is 11 pixels
// on a 96 dpi bitmap and 8 units on a page laid out in points when 72 is passed).
//
// Like the platform canvas it stands in for, text is drawn on an opaque box of the brush colour
// while the brush is solid, and transparently while it is clear.
//
// Consecutive LineTo calls are collected into one polyline and painted when anything else happens
// (or on Flush / destruction), which is both faster and joins the segments cleanly.

#include "platform/TCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <optional>

class QPainterCanvas : public TCanvas {
public:
    // The painter must stay open for the canvas's lifetime. unitsPerInch <= 0 takes the device's
    // logical DPI.
    explicit QPainterCanvas(QPainter& painter, double unitsPerInch = 0);
    ~QPainterCanvas() override;
    QPainterCanvas(const QPainterCanvas&) = delete;
    QPainterCanvas& operator=(const QPainterCanvas&) = delete;

    void SetPen(const TPen& pen) override;
    TPen Pen() const override { return FPen; }
    void SetBrush(const TBrush& brush) override;
    TBrush Brush() const override { return FBrush; }
    void SetFont(const TFont& font) override;
    TFont Font() const override { return FFont; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    TPoint PenPos() const override { return FPenPos; }
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void SetPixel(int x, int y, TColor color) override;

    void TextOut(int x, int y, const QString& text) override;
    void TextRect(const TRect& clip, int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;

    void StretchDraw(const TRect& dest, const QImage& picture) override;

    // Paints the pending polyline.
    void Flush();

    double UnitsPerInch() const { return FUnitsPerInch; }
    // The Qt font a TFont maps to on this canvas (for tests and tools).
    QFont QtFont(const TFont& font) const;

private:
    QPen StrokePen() const;
    void ApplyFont();
    void DrawTextAt(int x, int y, const QString& text, const QRectF* clip);

    QPainter& FPainter;
    double FUnitsPerInch;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
    QFont FQFont;
    std::optional<QFontMetrics> FMetrics;
    QPolygonF FPending; // polyline not painted yet
};

// Qt colour of a TColor (0x00BBGGRR).
QColor ToQColor(TColor c);
