#pragma once
// The drawing surface the chart paints on: pens, brushes, fonts (also rotated), lines, ellipses,
// arcs, pixels, text output and measurement, and stretch-drawing of a picture. Coordinates are
// integer canvas units (points on the preview page, pixels on a bitmap). Implementations: QPainter
// (any QPaintDevice), EMF record stream, and a recorder for tests.

#include <QImage>
#include <QString>

#include <cstdint>

// Colour as 0x00BBGGRR (red in the low byte), the form stored in settings and data files.
using TColor = std::uint32_t;
constexpr TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
           (static_cast<TColor>(b & 0xFF) << 16);
}
constexpr int RedOf(TColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPen {
    int Width = 1;
    TColor Color = clBlack;
    friend bool operator==(const TPen&, const TPen&) = default;
};

enum class TBrushStyle { bsSolid, bsClear };
struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum class TFontPitch { fpDefault, fpFixed, fpVariable };
struct TFont {
    QString Name = QStringLiteral("Courier New");
    int Size = 8; // points
    TColor Color = clBlack;
    unsigned Style = 0; // TFontStyle bits
    // Rotation of the text baseline, tenths of a degree counter-clockwise.
    int Orientation = 0;
    // 0 = the face's normal weight (400); 300 = light.
    int Weight = 0;
    // Character cell in canvas units when set explicitly (rotated fonts); 0 = follow Size.
    int Height = 0;
    int Width = 0;
    TFontPitch Pitch = TFontPitch::fpDefault;
    friend bool operator==(const TFont&, const TFont&) = default;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    virtual void SetPen(const TPen& pen) = 0;
    virtual TPen Pen() const = 0;
    virtual void SetBrush(const TBrush& brush) = 0;
    virtual TBrush Brush() const = 0;
    virtual void SetFont(const TFont& font) = 0;
    virtual TFont Font() const = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual TPoint PenPos() const = 0;
    // Outline with the pen, filled with the brush (nothing when the brush is clear).
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    // Arc of the ellipse in the bounding box, counter-clockwise from the ray through (x3, y3) to the
    // ray through (x4, y4).
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;

    // Text with its top-left corner at (x, y), rotated about that corner by Font().Orientation.
    virtual void TextOut(int x, int y, const QString& text) = 0;
    // Text at (x, y) clipped to the rectangle.
    virtual void TextRect(const TRect& clip, int x, int y, const QString& text) = 0;
    virtual int TextWidth(const QString& text) = 0;
    virtual int TextHeight(const QString& text) = 0;

    virtual void StretchDraw(const TRect& dest, const QImage& picture) = 0;

    // Convenience setters for the parts the chart changes most.
    void SetPenStyle(int width, TColor color) { SetPen(TPen{width, color}); }
    void SetFontSize(int size) {
        TFont f = Font();
        f.Size = size;
        SetFont(f);
    }
    void SetFontColor(TColor color) {
        TFont f = Font();
        f.Color = color;
        SetFont(f);
    }
};
