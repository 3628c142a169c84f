#pragma once
// A canvas that records an enhanced-metafile (EMF) record stream: the pages of the print preview.
// Coordinates are the page units (integer canvas units, unitsPerInch of them to the inch; 72 for
// points). The reference device of the stream is the page itself at one device pixel per unit, so the
// stream plays back in page units. Pens, brushes and fonts are written lazily, only when a drawing
// call needs a changed one. Text is measured with TEmfFontMetrics, as the EMF player draws it; with a
// solid brush it gets a background box in the brush colour, with a clear brush none.

#include "platform/EmfFont.h"
#include "platform/TCanvas.h"

#include <QByteArray>

#include <memory>

// The LOGFONT a canvas font is written as: Size points become -Size × unitsPerInch / 72 units of em
// height unless Height gives the cell height (> 0) or the em height (< 0) in units; fsBold is weight
// 700, otherwise Weight (0 = 400).
TEmfLogFont EmfLogFontOf(const TFont& font, double unitsPerInch);

class TEmfCanvas final : public TCanvas {
public:
    TEmfCanvas(double pageWidth, double pageHeight, double unitsPerInch = 72);
    ~TEmfCanvas() override;
    TEmfCanvas(const TEmfCanvas&) = delete;
    TEmfCanvas& operator=(const TEmfCanvas&) = delete;

    // Discards what was recorded and starts an empty page of the given size, with the default pen,
    // brush and font, like a new device context.
    void Restart(double pageWidth, double pageHeight, double unitsPerInch = 72);
    // Ends the page and returns the complete stream; the canvas then starts a new empty page of the
    // same size, so drawing between two pages never reaches a finished one.
    QByteArray Finish();

    double PageWidth() const;
    double PageHeight() const;
    double UnitsPerInch() const;

    void SetPen(const TPen& pen) override;
    TPen Pen() const override;
    void SetBrush(const TBrush& brush) override;
    TBrush Brush() const override;
    void SetFont(const TFont& font) override;
    TFont Font() const override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    TPoint PenPos() const override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void SetPixel(int x, int y, TColor color) override;

    void TextOut(int x, int y, const QString& text) override;
    void TextRect(const TRect& clip, int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;

    void StretchDraw(const TRect& dest, const QImage& picture) override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};
