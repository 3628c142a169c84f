#include "platform/RecordingCanvas.h"

#include <cmath>

TCanvasCall& RecordingCanvas::Record(TCanvasOp op, std::vector<int> args) {
    TCanvasCall& c = FCalls.emplace_back();
    c.Op = op;
    c.Args = std::move(args);
    c.Pen = FPen;
    c.Brush = FBrush;
    c.Font = FFont;
    return c;
}

void RecordingCanvas::SetPen(const TPen& pen) {
    FPen = pen;
    Record(TCanvasOp::coSetPen, {pen.Width, static_cast<int>(pen.Color)});
}

void RecordingCanvas::SetBrush(const TBrush& brush) {
    FBrush = brush;
    Record(TCanvasOp::coSetBrush, {static_cast<int>(brush.Color), static_cast<int>(brush.Style)});
}

void RecordingCanvas::SetFont(const TFont& font) {
    FFont = font;
    Record(TCanvasOp::coSetFont, {font.Size, static_cast<int>(font.Color)});
}

void RecordingCanvas::MoveTo(int x, int y) {
    FPenPos = {x, y};
    Record(TCanvasOp::coMoveTo, {x, y});
}

void RecordingCanvas::LineTo(int x, int y) {
    TCanvasCall& c = Record(TCanvasOp::coLineTo, {x, y});
    c.From = FPenPos;
    FPenPos = {x, y};
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Record(TCanvasOp::coEllipse, {x1, y1, x2, y2});
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Record(TCanvasOp::coRectangle, {x1, y1, x2, y2});
}

void RecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Record(TCanvasOp::coArc, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void RecordingCanvas::SetPixel(int x, int y, TColor color) {
    Record(TCanvasOp::coSetPixel, {x, y}).Color = color;
}

void RecordingCanvas::TextOut(int x, int y, const QString& text) {
    Record(TCanvasOp::coTextOut, {x, y}).Text = text;
}

void RecordingCanvas::TextRect(const TRect& clip, int x, int y, const QString& text) {
    TCanvasCall& c = Record(TCanvasOp::coTextRect, {x, y});
    c.Rect = clip;
    c.Text = text;
}

int RecordingCanvas::TextWidthOf(const TFont& font, const QString& text) {
    const int cell = font.Width > 0 ? font.Width : static_cast<int>(std::trunc(font.Size * 0.6 + 0.5));
    return static_cast<int>(text.size()) * cell;
}

int RecordingCanvas::TextHeightOf(const TFont& font) {
    return font.Height > 0 ? font.Height : static_cast<int>(std::trunc(font.Size * 1.2 + 0.5));
}

int RecordingCanvas::TextWidth(const QString& text) {
    return TextWidthOf(FFont, text);
}

int RecordingCanvas::TextHeight(const QString&) {
    return TextHeightOf(FFont);
}

void RecordingCanvas::StretchDraw(const TRect& dest, const QImage& picture) {
    TCanvasCall& c = Record(TCanvasOp::coStretchDraw, {});
    c.Rect = dest;
    c.PictureSize = picture.size();
}

std::vector<TCanvasCall> RecordingCanvas::CallsOf(TCanvasOp op) const {
    std::vector<TCanvasCall> out;
    for (const TCanvasCall& c : FCalls)
        if (c.Op == op) out.push_back(c);
    return out;
}

std::vector<TCanvasCall> RecordingCanvas::Texts() const {
    std::vector<TCanvasCall> out;
    for (const TCanvasCall& c : FCalls)
        if (c.Op == TCanvasOp::coTextOut || c.Op == TCanvasOp::coTextRect) out.push_back(c);
    return out;
}

std::vector<TRecordedSegment> RecordingCanvas::Segments() const {
    std::vector<TRecordedSegment> out;
    for (const TCanvasCall& c : FCalls)
        if (c.Op == TCanvasOp::coLineTo) out.push_back({c.From, TPoint{c.Args[0], c.Args[1]}, c.Pen});
    return out;
}

std::vector<TRecordedSegment> RecordingCanvas::SegmentsWithPen(const TPen& pen) const {
    std::vector<TRecordedSegment> out;
    for (const TRecordedSegment& s : Segments())
        if (s.Pen == pen) out.push_back(s);
    return out;
}

const TCanvasCall* RecordingCanvas::FindText(const QString& text) const {
    for (const TCanvasCall& c : FCalls)
        if ((c.Op == TCanvasOp::coTextOut || c.Op == TCanvasOp::coTextRect) && c.Text == text) return &c;
    return nullptr;
}
