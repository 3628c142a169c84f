#include "platform/TEmfCanvas.h"

#include <uemf.h>

#include <QRectF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

// Pictures are embedded at no more than this many pixels; larger ones are scaled down first so that a
// record always stays far below the 32-bit size limit of EMF records.
constexpr qint64 MaxPicturePixels = 16'000'000;

struct TFreeRecord {
    void operator()(char* p) const { std::free(p); }
};
using TRecordPtr = std::unique_ptr<char, TFreeRecord>;

struct TFreeHandles {
    void operator()(EMFHANDLES* p) const { emf_htable_free(&p); }
};
using THandlesPtr = std::unique_ptr<EMFHANDLES, TFreeHandles>;

U_COLORREF ColorRef(TColor c) {
    return colorref3_set(static_cast<uint8_t>(RedOf(c)), static_cast<uint8_t>(GreenOf(c)),
                         static_cast<uint8_t>(BlueOf(c)));
}

U_POINTL Point(int x, int y) {
    return point32_set(x, y);
}

U_RECTL RectL(int left, int top, int right, int bottom) {
    U_RECTL r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

U_RECTL RectL(const QRect& r) {
    if (r.isEmpty()) return RectL(0, 0, -1, -1);
    return RectL(r.left(), r.top(), r.right(), r.bottom());
}

QRectF BoxOf(int x1, int y1, int x2, int y2) {
    return QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
}

} // namespace

TEmfLogFont EmfLogFontOf(const TFont& font, double unitsPerInch) {
    TEmfLogFont lf;
    if (font.Height != 0)
        lf.Height = font.Height;
    else
        lf.Height = -static_cast<int>(std::lround(font.Size * unitsPerInch / 72.0));
    lf.Width = std::max(0, font.Width);
    lf.Escapement = font.Orientation;
    lf.Orientation = font.Orientation;
    lf.Weight = (font.Style & fsBold) ? 700 : (font.Weight > 0 ? font.Weight : 400);
    lf.Italic = (font.Style & fsItalic) != 0;
    lf.Underline = (font.Style & fsUnderline) != 0;
    lf.StrikeOut = (font.Style & fsStrikeOut) != 0;
    switch (font.Pitch) {
    case TFontPitch::fpDefault:
        lf.PitchAndFamily = U_DEFAULT_PITCH;
        break;
    case TFontPitch::fpFixed:
        lf.PitchAndFamily = U_FIXED_PITCH;
        break;
    case TFontPitch::fpVariable:
        lf.PitchAndFamily = U_VARIABLE_PITCH;
        break;
    }
    lf.FaceName = font.Name;
    return lf;
}

struct TEmfCanvas::TImpl {
    double PageWidth = 0;
    double PageHeight = 0;
    double UnitsPerInch = 72;

    QByteArray Bytes;
    quint32 Records = 0;
    THandlesPtr Handles;
    quint32 MaxHandle = 0;
    QRectF Bounds;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TPoint PenPos;

    // What the stream has selected now.
    std::optional<TPen> SelectedPen;
    uint32_t PenHandle = 0;
    std::optional<TBrush> SelectedBrush;
    uint32_t BrushHandle = 0;
    std::optional<TEmfLogFont> SelectedFont;
    uint32_t FontHandle = 0;
    std::optional<TColor> TextColor;
    uint32_t BkMode = U_TRANSPARENT;
    std::optional<TColor> BkColor;

    // Metrics of Font, rebuilt when the font changes.
    std::optional<TEmfFontMetrics> Metrics;
    TEmfLogFont MetricsFont;

    void Start(double width, double height, double unitsPerInch);
    void Append(char* record);
    void Extend(const QRectF& r);
    uint32_t Created(uint32_t handle);
    void ReplaceSelected(uint32_t& current, uint32_t created);
    void EnsurePen();
    void EnsureBrush();
    void EnsureFont();
    const TEmfFontMetrics& FontMetrics();
    void Text(int x, int y, const QString& text, const TRect* clip);
    double HalfPen() const { return std::max(1, Pen.Width) / 2.0; }
};

void TEmfCanvas::TImpl::Start(double width, double height, double unitsPerInch) {
    if (!(width > 0) || !(height > 0) || !(unitsPerInch > 0))
        throw std::invalid_argument("The page size of an EMF canvas must be positive");
    PageWidth = width;
    PageHeight = height;
    UnitsPerInch = unitsPerInch;
    Bytes.clear();
    Records = 0;
    EMFHANDLES* table = nullptr;
    if (emf_htable_create(128, 128, &table) != 0) throw std::bad_alloc();
    Handles.reset(table);
    MaxHandle = 0;
    Bounds = QRectF();
    Pen = TPen{};
    Brush = TBrush{};
    Font = TFont{};
    PenPos = TPoint{};
    SelectedPen.reset();
    PenHandle = 0;
    SelectedBrush.reset();
    BrushHandle = 0;
    SelectedFont.reset();
    FontHandle = 0;
    TextColor.reset();
    BkMode = U_TRANSPARENT;
    BkColor.reset();

    // The reference device is the page at one pixel per unit; its physical size follows from the
    // whole pixels so that pixels per inch come back exactly from the header.
    const int deviceW = std::max(1, static_cast<int>(std::lround(width)));
    const int deviceH = std::max(1, static_cast<int>(std::lround(height)));
    const double umPerUnit = 25400.0 / unitsPerInch;
    const U_RECTL frame = RectL(0, 0, static_cast<int>(std::lround(width * umPerUnit / 10)) - 1,
                                static_cast<int>(std::lround(height * umPerUnit / 10)) - 1);
    static const char16_t description[] = u"Hygrova\0Print preview page\0";
    const U_CBSTR descriptionChars = sizeof description / sizeof description[0];
    std::vector<uint16_t> desc(description, description + descriptionChars);
    char* header = U_EMRHEADER_set(RectL(0, 0, -1, -1), frame, nullptr, descriptionChars, desc.data(),
                                   sizel_set(deviceW, deviceH),
                                   sizel_set(static_cast<int>(std::lround(deviceW * umPerUnit / 1000)),
                                             static_cast<int>(std::lround(deviceH * umPerUnit / 1000))),
                                   0);
    if (header) {
        auto* h = reinterpret_cast<U_EMRHEADER*>(header);
        h->szlMicrometers = sizel_set(static_cast<int>(std::lround(deviceW * umPerUnit)),
                                      static_cast<int>(std::lround(deviceH * umPerUnit)));
    }
    Append(header);
    // Text is transparent until a solid brush asks for a background box.
    Append(U_EMRSETBKMODE_set(U_TRANSPARENT));
}

void TEmfCanvas::TImpl::Append(char* record) {
    TRecordPtr owned(record);
    if (!owned) throw std::runtime_error("The page could not be recorded: out of memory");
    U_EMR emr;
    std::memcpy(&emr, owned.get(), sizeof emr);
    Bytes.append(owned.get(), static_cast<qsizetype>(emr.nSize));
    ++Records;
}

void TEmfCanvas::TImpl::Extend(const QRectF& r) {
    Bounds = Bounds.isNull() ? r : Bounds.united(r);
}

uint32_t TEmfCanvas::TImpl::Created(uint32_t handle) {
    MaxHandle = std::max(MaxHandle, handle);
    return handle;
}

void TEmfCanvas::TImpl::ReplaceSelected(uint32_t& current, uint32_t created) {
    Append(selectobject_set(created, Handles.get()));
    if (current != 0) Append(deleteobject_set(&current, Handles.get()));
    current = created;
}

void TEmfCanvas::TImpl::EnsurePen() {
    if (SelectedPen == Pen) return;
    U_POINT width;
    width.x = std::max(0, Pen.Width);
    width.y = 0;
    uint32_t handle = 0;
    Append(createpen_set(&handle, Handles.get(), logpen_set(U_PS_SOLID, width, ColorRef(Pen.Color))));
    ReplaceSelected(PenHandle, Created(handle));
    SelectedPen = Pen;
}

void TEmfCanvas::TImpl::EnsureBrush() {
    if (SelectedBrush == Brush) return;
    const uint32_t style = Brush.Style == TBrushStyle::bsClear ? U_BS_NULL : U_BS_SOLID;
    uint32_t handle = 0;
    Append(createbrushindirect_set(&handle, Handles.get(), logbrush_set(style, ColorRef(Brush.Color), 0)));
    ReplaceSelected(BrushHandle, Created(handle));
    SelectedBrush = Brush;
}

void TEmfCanvas::TImpl::EnsureFont() {
    const TEmfLogFont lf = EmfLogFontOf(Font, UnitsPerInch);
    if (SelectedFont != lf) {
        U_LOGFONT raw;
        EncodeLogFont(lf, &raw);
        uint32_t handle = 0;
        Append(
            extcreatefontindirectw_set(&handle, Handles.get(), reinterpret_cast<const char*>(&raw), nullptr));
        ReplaceSelected(FontHandle, Created(handle));
        SelectedFont = lf;
    }
    if (TextColor != Font.Color) {
        Append(U_EMRSETTEXTCOLOR_set(ColorRef(Font.Color)));
        TextColor = Font.Color;
    }
}

const TEmfFontMetrics& TEmfCanvas::TImpl::FontMetrics() {
    const TEmfLogFont lf = EmfLogFontOf(Font, UnitsPerInch);
    if (!Metrics || !(MetricsFont == lf)) {
        Metrics.emplace(lf);
        MetricsFont = lf;
    }
    return *Metrics;
}

void TEmfCanvas::TImpl::Text(int x, int y, const QString& text, const TRect* clip) {
    if (text.isEmpty()) return;
    EnsureFont();
    // As on the platform canvas, a solid brush gives the text a background box in its colour (the
    // whole rectangle for clipped text); a clear brush leaves the page showing through.
    const bool opaque = Brush.Style == TBrushStyle::bsSolid;
    const uint32_t bkMode = opaque ? U_OPAQUE : U_TRANSPARENT;
    if (BkMode != bkMode) {
        Append(U_EMRSETBKMODE_set(bkMode));
        BkMode = bkMode;
    }
    if (opaque && BkColor != Brush.Color) {
        Append(U_EMRSETBKCOLOR_set(ColorRef(Brush.Color)));
        BkColor = Brush.Color;
    }
    const TEmfFontMetrics& m = FontMetrics();

    // Character spacing: each UTF-16 unit advances to the rounded end of the text up to it (a
    // surrogate pair advances once, on its second unit), so rounding never accumulates.
    const qsizetype n = text.size();
    std::vector<uint32_t> dx(static_cast<std::size_t>(n), 0);
    long previous = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) continue;
        const long end = std::lround(m.Advance(text.left(i + 1)));
        dx[static_cast<std::size_t>(i)] = static_cast<uint32_t>(static_cast<int32_t>(end - previous));
        previous = end;
    }

    // Bounds of the (rotated) text cell, within the clip rectangle if there is one.
    QTransform place;
    place.translate(x, y);
    place.rotate(-m.Angle());
    QRectF box = place.mapRect(QRectF(0, 0, m.Advance(text), m.CellHeight()));
    uint32_t options = U_ETO_NO_RECT;
    U_RECTL clipRect = RectL(0, 0, 0, 0);
    if (clip) {
        options = U_ETO_CLIPPED | (opaque ? U_ETO_OPAQUE : 0);
        clipRect = RectL(clip->Left, clip->Top, clip->Right, clip->Bottom);
        const QRectF clipBox = BoxOf(clip->Left, clip->Top, clip->Right, clip->Bottom);
        box = opaque ? clipBox : box.intersected(clipBox);
    }
    TRecordPtr emrText(emrtext_set(Point(x, y), static_cast<U_NUM_STR>(n), 2,
                                   const_cast<ushort*>(text.utf16()), options, clipRect, dx.data()));
    if (!emrText) throw std::runtime_error("The page could not be recorded: out of memory");
    const float scale = static_cast<float>(2540.0 / UnitsPerInch);
    Append(U_EMREXTTEXTOUTW_set(RectL(box.toAlignedRect()), U_GM_COMPATIBLE, scale, scale,
                                reinterpret_cast<PU_EMRTEXT>(emrText.get())));
    if (!box.isEmpty()) Extend(box);
}

TEmfCanvas::TEmfCanvas(double pageWidth, double pageHeight, double unitsPerInch)
    : F(std::make_unique<TImpl>()) {
    F->Start(pageWidth, pageHeight, unitsPerInch);
}

TEmfCanvas::~TEmfCanvas() = default;

void TEmfCanvas::Restart(double pageWidth, double pageHeight, double unitsPerInch) {
    F->Start(pageWidth, pageHeight, unitsPerInch);
}

QByteArray TEmfCanvas::Finish() {
    // Leave the device context as found: stock objects selected, ours deleted.
    if (F->PenHandle) {
        F->Append(selectobject_set(U_BLACK_PEN, F->Handles.get()));
        F->Append(deleteobject_set(&F->PenHandle, F->Handles.get()));
    }
    if (F->BrushHandle) {
        F->Append(selectobject_set(U_WHITE_BRUSH, F->Handles.get()));
        F->Append(deleteobject_set(&F->BrushHandle, F->Handles.get()));
    }
    if (F->FontHandle) {
        F->Append(selectobject_set(U_SYSTEM_FONT, F->Handles.get()));
        F->Append(deleteobject_set(&F->FontHandle, F->Handles.get()));
    }
    // nSizeLast of the end record is its own size, so it is built against an empty track.
    EMFTRACK track{};
    F->Append(U_EMREOF_set(0, nullptr, &track));

    U_EMRHEADER header;
    std::memcpy(&header, F->Bytes.constData(), sizeof header);
    header.rclBounds = RectL(F->Bounds.toAlignedRect());
    header.nBytes = static_cast<uint32_t>(F->Bytes.size());
    header.nRecords = F->Records;
    header.nHandles = static_cast<uint16_t>(std::min<quint32>(F->MaxHandle + 1, 0xFFFF));
    header.nPalEntries = 0;
    std::memcpy(F->Bytes.data(), &header, sizeof header);

    QByteArray page = F->Bytes;
    F->Start(F->PageWidth, F->PageHeight, F->UnitsPerInch);
    return page;
}

double TEmfCanvas::PageWidth() const {
    return F->PageWidth;
}
double TEmfCanvas::PageHeight() const {
    return F->PageHeight;
}
double TEmfCanvas::UnitsPerInch() const {
    return F->UnitsPerInch;
}

void TEmfCanvas::SetPen(const TPen& pen) {
    F->Pen = pen;
}
TPen TEmfCanvas::Pen() const {
    return F->Pen;
}
void TEmfCanvas::SetBrush(const TBrush& brush) {
    F->Brush = brush;
}
TBrush TEmfCanvas::Brush() const {
    return F->Brush;
}
void TEmfCanvas::SetFont(const TFont& font) {
    F->Font = font;
}
TFont TEmfCanvas::Font() const {
    return F->Font;
}

void TEmfCanvas::MoveTo(int x, int y) {
    F->Append(U_EMRMOVETOEX_set(Point(x, y)));
    F->PenPos = {x, y};
}

void TEmfCanvas::LineTo(int x, int y) {
    F->EnsurePen();
    F->Append(U_EMRLINETO_set(Point(x, y)));
    const double h = F->HalfPen();
    F->Extend(BoxOf(F->PenPos.X, F->PenPos.Y, x, y).adjusted(-h, -h, h, h));
    F->PenPos = {x, y};
}

TPoint TEmfCanvas::PenPos() const {
    return F->PenPos;
}

void TEmfCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    F->EnsurePen();
    F->EnsureBrush();
    F->Append(U_EMRELLIPSE_set(RectL(x1, y1, x2, y2)));
    const double h = F->HalfPen();
    F->Extend(BoxOf(x1, y1, x2, y2).adjusted(-h, -h, h, h));
}

void TEmfCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    F->EnsurePen();
    F->EnsureBrush();
    F->Append(U_EMRRECTANGLE_set(RectL(x1, y1, x2, y2)));
    const double h = F->HalfPen();
    F->Extend(BoxOf(x1, y1, x2, y2).adjusted(-h, -h, h, h));
}

void TEmfCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    F->EnsurePen();
    F->Append(U_EMRARC_set(RectL(x1, y1, x2, y2), Point(x3, y3), Point(x4, y4)));
    const double h = F->HalfPen();
    F->Extend(BoxOf(x1, y1, x2, y2).adjusted(-h, -h, h, h));
}

void TEmfCanvas::SetPixel(int x, int y, TColor color) {
    F->Append(U_EMRSETPIXELV_set(Point(x, y), ColorRef(color)));
    F->Extend(QRectF(x, y, 1, 1));
}

void TEmfCanvas::TextOut(int x, int y, const QString& text) {
    F->Text(x, y, text, nullptr);
}

void TEmfCanvas::TextRect(const TRect& clip, int x, int y, const QString& text) {
    F->Text(x, y, text, &clip);
}

int TEmfCanvas::TextWidth(const QString& text) {
    return static_cast<int>(std::lround(F->FontMetrics().Advance(text)));
}

int TEmfCanvas::TextHeight(const QString&) {
    return static_cast<int>(std::lround(F->FontMetrics().CellHeight()));
}

void TEmfCanvas::StretchDraw(const TRect& dest, const QImage& picture) {
    if (picture.isNull() || dest.Width() == 0 || dest.Height() == 0) return;
    QImage image = picture;
    const qint64 pixels = static_cast<qint64>(image.width()) * image.height();
    if (pixels > MaxPicturePixels) {
        const double f = std::sqrt(static_cast<double>(MaxPicturePixels) / static_cast<double>(pixels));
        image = image.scaled(std::max(1, static_cast<int>(image.width() * f)),
                             std::max(1, static_cast<int>(image.height() * f)), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    }
    // Opaque pictures go as 24-bit DIBs; pictures with transparency keep it in a 32-bit DIB.
    const bool alpha = image.hasAlphaChannel();
    image = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int bits = alpha ? 32 : 24;
    const qsizetype stride = ((static_cast<qsizetype>(w) * bits + 31) / 32) * 4;
    QByteArray px(stride * h, '\0');
    for (int row = 0; row < h; ++row) {
        // DIB rows run bottom-up.
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(h - 1 - row));
        auto* d = reinterpret_cast<uint8_t*>(px.data() + row * stride);
        for (int x = 0; x < w; ++x) {
            *d++ = static_cast<uint8_t>(qBlue(src[x]));
            *d++ = static_cast<uint8_t>(qGreen(src[x]));
            *d++ = static_cast<uint8_t>(qRed(src[x]));
            if (alpha) *d++ = static_cast<uint8_t>(qAlpha(src[x]));
        }
    }
    U_BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader =
        bitmapinfoheader_set(w, h, 1, static_cast<uint16_t>(bits), U_BI_RGB, static_cast<uint32_t>(px.size()),
                             image.dotsPerMeterX(), image.dotsPerMeterY(), 0, 0);
    const QRectF box = BoxOf(dest.Left, dest.Top, dest.Right, dest.Bottom);
    F->Append(U_EMRSTRETCHDIBITS_set(RectL(box.toAlignedRect()), Point(dest.Left, dest.Top),
                                     Point(dest.Width(), dest.Height()), Point(0, 0), Point(w, h),
                                     U_DIB_RGB_COLORS, U_SRCCOPY, &bmi, static_cast<uint32_t>(px.size()),
                                     px.data()));
    F->Extend(box);
}
