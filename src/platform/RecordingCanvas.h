#pragma once
// A TCanvas that paints nothing and records every state change and drawing call with its arguments
// and the pen, brush and font in force, so that tests can check what a drawing did.
//
// Text metrics are deterministic and independent of installed fonts:
//   width  = number of characters (UTF-16 units) × Trunc(Size × 0.6 + 0.5)
//   height = Trunc(Size × 1.2 + 0.5)
// so an 8-point font is 5 units per character and 10 units high.
// A font with an explicit cell (Height/Width set, as rotated fonts have) measures with that cell:
//   width = characters × Width, height = Height.
// Measuring is not recorded.

#include "platform/TCanvas.h"

#include <QSize>
#include <QString>

#include <vector>

enum class TCanvasOp {
    coSetPen,
    coSetBrush,
    coSetFont,
    coMoveTo,
    coLineTo,
    coEllipse,
    coRectangle,
    coArc,
    coSetPixel,
    coTextOut,
    coTextRect,
    coStretchDraw
};

struct TCanvasCall {
    TCanvasOp Op = TCanvasOp::coMoveTo;
    // Coordinates in call order: MoveTo/LineTo/SetPixel/TextOut (x, y); Ellipse/Rectangle (x1, y1,
    // x2, y2); Arc (x1 .. y4); TextRect (x, y) with the clip in Rect; StretchDraw none (dest in Rect).
    std::vector<int> Args;
    QString Text;
    TRect Rect;
    QSize PictureSize; // StretchDraw
    TColor Color = 0;  // SetPixel
    TPoint From;       // LineTo: the pen position before the call
    TPen Pen;
    TBrush Brush;
    TFont Font;
};

// A drawn straight segment (one LineTo).
struct TRecordedSegment {
    TPoint From;
    TPoint To;
    TPen Pen;
};

class RecordingCanvas : public TCanvas {
public:
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

    // The metrics rule above, for a given font.
    static int TextWidthOf(const TFont& font, const QString& text);
    static int TextHeightOf(const TFont& font);

    const std::vector<TCanvasCall>& Calls() const { return FCalls; }
    void Clear() { FCalls.clear(); }

    // Conveniences for tests.
    std::vector<TCanvasCall> CallsOf(TCanvasOp op) const;
    std::vector<TCanvasCall> Texts() const; // TextOut and TextRect
    std::vector<TRecordedSegment> Segments() const;
    std::vector<TRecordedSegment> SegmentsWithPen(const TPen& pen) const;
    // The first text call with exactly this text, or nullptr.
    const TCanvasCall* FindText(const QString& text) const;

private:
    TCanvasCall& Record(TCanvasOp op, std::vector<int> args);

    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
    std::vector<TCanvasCall> FCalls;
};
