#include "platform/TEmfPlayer.h"

#include "platform/EmfFont.h"

#include <uemf.h>
#include <uemf_endian.h>
#include <uemf_safe.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <numbers>
#include <variant>

EEmfError::EEmfError(const QString& reason)
    : std::runtime_error(
          QStringLiteral("The page is not a valid enhanced metafile: %1").arg(reason).toStdString()) {}

namespace {

// Stock objects run from WHITE_BRUSH (0) to DC_PEN (19).
constexpr uint32_t LastStockObject = 19;
// Text taller than this many page units is not drawn (it could only come from a damaged stream).
constexpr double MaxEmHeight = 1e6;

[[noreturn]] void Fail(const QString& reason) {
    throw EEmfError(reason);
}

template <class T>
T Read(const char* base, quint64 offset) {
    T value;
    std::memcpy(&value, base + offset, sizeof value);
    return value;
}

bool IsStock(uint32_t handle) {
    return (handle & U_STOCK_OBJECT) != 0;
}

enum class TObjectKind : uint8_t { None, Pen, Brush, Font };

QColor ColorOf(const U_COLORREF& c) {
    return QColor(c.Red, c.Green, c.Blue);
}

// Header rectangles as QRect, kept within a range where QRect's own arithmetic cannot overflow.
QRect BoundedRect(const U_RECTL& r) {
    static constexpr int32_t limit = 1 << 29;
    const auto c = [](int32_t v) { return std::clamp<int32_t>(v, -limit, limit); };
    return QRect(QPoint(c(r.left), c(r.top)), QPoint(c(r.right), c(r.bottom)));
}

QRectF RectOf(const U_RECTL& r) {
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
}

// Checks of one record beyond its size; where says which record for the messages.
class TRecordCheck {
public:
    TRecordCheck(const char* record, uint32_t size, uint32_t index, uint32_t type, quint64 offset,
                 std::vector<TObjectKind>& objects)
        : FRec(record)
        , FSize(size)
        , FIndex(index)
        , FType(type)
        , FOffset(offset)
        , FObjects(objects) {}

    [[noreturn]] void Fail(const QString& what) const {
        ::Fail(QStringLiteral("record %1 (type %2, at byte %3) %4")
                   .arg(FIndex)
                   .arg(FType)
                   .arg(FOffset)
                   .arg(what));
    }

    void Run() {
        switch (FType) {
        case U_EMR_HEADER: // checked in full before the walk
        case U_EMR_MOVETOEX:
        case U_EMR_LINETO:
        case U_EMR_ELLIPSE:
        case U_EMR_RECTANGLE:
        case U_EMR_ARC:
        case U_EMR_SETPIXELV:
        case U_EMR_SETTEXTCOLOR:
        case U_EMR_SETBKCOLOR:
        case U_EMR_SETBKMODE:
        case U_EMR_SETTEXTALIGN:
            break;
        case U_EMR_EOF:
            EndOfFile();
            break;
        case U_EMR_CREATEPEN:
            Create(Read<uint32_t>(FRec, 8), TObjectKind::Pen);
            break;
        case U_EMR_CREATEBRUSHINDIRECT:
            Create(Read<uint32_t>(FRec, 8), TObjectKind::Brush);
            break;
        case U_EMR_EXTCREATEFONTINDIRECTW:
            Create(Read<uint32_t>(FRec, 8), TObjectKind::Font);
            break;
        case U_EMR_SELECTOBJECT:
            Select(Read<uint32_t>(FRec, 8));
            break;
        case U_EMR_DELETEOBJECT:
            Delete(Read<uint32_t>(FRec, 8));
            break;
        case U_EMR_EXTTEXTOUTW:
            Text();
            break;
        case U_EMR_STRETCHDIBITS:
            Picture();
            break;
        default:
            return; // skipped when played, so only its size matters
        }
        // Our own checks above come first: they keep libUEMF's offset arithmetic from overflowing.
        if (!U_emf_record_safe(FRec)) Fail(QStringLiteral("fails the EMF record safety check"));
    }

private:
    void EndOfFile() const {
        if (FSize < sizeof(U_EMREOF) + 4) Fail(QStringLiteral("is too short for an end-of-file record"));
        const auto eof = Read<U_EMREOF>(FRec, 0);
        if (eof.cbPalEntries != 0 && (eof.offPalEntries < sizeof(U_EMREOF) ||
                                      quint64(eof.offPalEntries) + 4 * quint64(eof.cbPalEntries) > FSize - 4))
            Fail(QStringLiteral("has palette entries outside the record"));
    }

    void Create(uint32_t handle, TObjectKind kind) {
        if (handle == 0 || handle >= FObjects.size())
            Fail(QStringLiteral("creates object %1 outside the object table of %2 entries")
                     .arg(handle)
                     .arg(FObjects.size()));
        FObjects[handle] = kind;
    }

    void Select(uint32_t handle) const {
        if (IsStock(handle)) {
            if ((handle & ~U_STOCK_OBJECT) > LastStockObject)
                Fail(QStringLiteral("selects the unknown stock object %1").arg(handle & ~U_STOCK_OBJECT));
            return;
        }
        if (handle >= FObjects.size() || FObjects[handle] == TObjectKind::None)
            Fail(QStringLiteral("selects object %1, which does not exist").arg(handle));
    }

    void Delete(uint32_t handle) {
        if (IsStock(handle)) return; // deleting a stock object does nothing
        if (handle >= FObjects.size() || FObjects[handle] == TObjectKind::None)
            Fail(QStringLiteral("deletes object %1, which does not exist").arg(handle));
        FObjects[handle] = TObjectKind::None;
    }

    void Text() const {
        constexpr quint64 text = offsetof(U_EMREXTTEXTOUTW, emrtext);
        const auto t = Read<U_EMRTEXT>(FRec, text);
        const quint64 offDxField =
            sizeof(U_EMREXTTEXTOUTW) + ((t.fOptions & U_ETO_NO_RECT) ? 0 : sizeof(U_RECTL));
        if (FSize < offDxField + 4) Fail(QStringLiteral("is too short for its text options"));
        const quint64 offDx = Read<uint32_t>(FRec, offDxField);
        const quint64 chars = t.nChars;
        if (chars > 0 && (t.offString < 8 || t.offString + 2 * chars > FSize))
            Fail(QStringLiteral("has %1 characters of text that run outside the record").arg(chars));
        const quint64 dxBytes = chars * 4 * ((t.fOptions & U_ETO_PDY) ? 2 : 1);
        if (offDx < 8 || offDx + dxBytes > FSize)
            Fail(QStringLiteral("has character spacing outside the record"));
    }

    void Picture() const {
        const auto r = Read<U_EMRSTRETCHDIBITS>(FRec, 0);
        if (r.iUsageSrc != U_DIB_RGB_COLORS)
            Fail(QStringLiteral("has a picture with the unsupported colour usage %1").arg(r.iUsageSrc));
        if (r.cbBmiSrc < sizeof(U_BITMAPINFOHEADER) || r.offBmiSrc < sizeof(U_EMRSTRETCHDIBITS) ||
            quint64(r.offBmiSrc) + r.cbBmiSrc > FSize)
            Fail(QStringLiteral("has a picture header outside the record"));
        const auto bih = Read<U_BITMAPINFOHEADER>(FRec, r.offBmiSrc);
        if (bih.biSize < sizeof(U_BITMAPINFOHEADER) || bih.biSize > r.cbBmiSrc ||
            quint64(bih.biSize) + 4 * quint64(bih.biClrUsed) > r.cbBmiSrc)
            Fail(QStringLiteral("has a picture header of an invalid size"));
        if (bih.biPlanes != 1 || (bih.biBitCount != 24 && bih.biBitCount != 32) ||
            bih.biCompression != U_BI_RGB)
            Fail(QStringLiteral("has a picture in an unsupported format (%1 bits per pixel, compression %2)")
                     .arg(bih.biBitCount)
                     .arg(bih.biCompression));
        const qint64 width = bih.biWidth;
        const qint64 height = std::abs(static_cast<qint64>(bih.biHeight));
        if (width < 1 || width > 65535 || height < 1 || height > 65535)
            Fail(QStringLiteral("has a picture of invalid dimensions %1 x %2")
                     .arg(bih.biWidth)
                     .arg(bih.biHeight));
        const quint64 stride = ((quint64(width) * bih.biBitCount + 31) / 32) * 4;
        if (r.cbBitsSrc < stride * quint64(height) || r.offBitsSrc < sizeof(U_EMRSTRETCHDIBITS) ||
            quint64(r.offBitsSrc) + r.cbBitsSrc > FSize)
            Fail(QStringLiteral("has picture pixels outside the record"));
        if (r.Src.x < 0 || r.Src.y < 0 || r.cSrc.x < 1 || r.cSrc.y < 1 ||
            qint64(r.Src.x) + r.cSrc.x > width || qint64(r.Src.y) + r.cSrc.y > height)
            Fail(QStringLiteral("has a source rectangle outside its picture"));
    }

    const char* FRec;
    uint32_t FSize;
    uint32_t FIndex;
    uint32_t FType;
    quint64 FOffset;
    std::vector<TObjectKind>& FObjects;
};

// Objects and drawing state while a page plays.
struct TPenObject {
    uint32_t Style = U_PS_SOLID;
    int32_t Width = 0;
    QColor Color = Qt::black;
};

struct TBrushObject {
    uint32_t Style = U_BS_SOLID;
    QColor Color = Qt::white;
    uint32_t Hatch = 0;
};

using TFontObject = std::shared_ptr<const TEmfFontMetrics>;
using TObject = std::variant<std::monostate, TPenObject, TBrushObject, TFontObject>;

TFontObject StockFont(bool fixedPitch) {
    TEmfLogFont lf;
    lf.Height = -12;
    lf.FaceName = fixedPitch ? QStringLiteral("Courier New") : QStringLiteral("Arial");
    return std::make_shared<const TEmfFontMetrics>(lf);
}

TObject StockObject(uint32_t handle) {
    switch (handle & ~U_STOCK_OBJECT) {
    case 0:
        return TBrushObject{U_BS_SOLID, Qt::white, 0};
    case 1:
        return TBrushObject{U_BS_SOLID, QColor(0xC0, 0xC0, 0xC0), 0};
    case 2:
        return TBrushObject{U_BS_SOLID, QColor(0x80, 0x80, 0x80), 0};
    case 3:
        return TBrushObject{U_BS_SOLID, QColor(0x40, 0x40, 0x40), 0};
    case 4:
        return TBrushObject{U_BS_SOLID, Qt::black, 0};
    case 5:
        return TBrushObject{U_BS_NULL, Qt::black, 0};
    case 6:
        return TPenObject{U_PS_SOLID, 0, Qt::white};
    case 7:
        return TPenObject{U_PS_SOLID, 0, Qt::black};
    case 8:
        return TPenObject{U_PS_NULL, 0, Qt::black};
    case 10:
    case 11:
    case 16:
        return StockFont(true);
    case 12:
    case 13:
    case 14:
    case 17:
        return StockFont(false);
    case 18:
        return TBrushObject{U_BS_SOLID, Qt::white, 0};
    case 19:
        return TPenObject{U_PS_SOLID, 0, Qt::black};
    default:
        return std::monostate{}; // the default palette
    }
}

QPen ToQPen(const TPenObject& p, double deviceScale) {
    const uint32_t style = p.Style & U_PS_STYLE_MASK;
    if (style == U_PS_NULL) return QPen(Qt::NoPen);
    QPen pen(p.Color);
    // Qt refuses widths from 32768 on; no sensible page comes near that.
    const double width = std::min(std::abs(static_cast<double>(p.Width)), 30000.0);
    // Width 0, and any width thinner than a device pixel, is drawn one device pixel wide.
    pen.setWidthF(width * deviceScale < 1 ? 0 : width);
    switch (p.Style & U_PS_ENDCAP_MASK) {
    case U_PS_ENDCAP_SQUARE:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case U_PS_ENDCAP_FLAT:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
    }
    switch (p.Style & U_PS_JOIN_MASK) {
    case U_PS_JOIN_BEVEL:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case U_PS_JOIN_MITER:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
    }
    switch (style) {
    case U_PS_DASH:
        pen.setStyle(Qt::DashLine);
        break;
    case U_PS_DOT:
    case U_PS_ALTERNATE:
        pen.setStyle(Qt::DotLine);
        break;
    case U_PS_DASHDOT:
        pen.setStyle(Qt::DashDotLine);
        break;
    case U_PS_DASHDOTDOT:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    return pen;
}

QBrush ToQBrush(const TBrushObject& b) {
    switch (b.Style) {
    case U_BS_NULL:
        return QBrush(Qt::NoBrush);
    case U_BS_HATCHED:
        switch (b.Hatch) {
        case U_HS_HORIZONTAL:
            return QBrush(b.Color, Qt::HorPattern);
        case U_HS_VERTICAL:
            return QBrush(b.Color, Qt::VerPattern);
        case U_HS_FDIAGONAL:
            return QBrush(b.Color, Qt::FDiagPattern);
        case U_HS_BDIAGONAL:
            return QBrush(b.Color, Qt::BDiagPattern);
        case U_HS_CROSS:
            return QBrush(b.Color, Qt::CrossPattern);
        case U_HS_DIAGCROSS:
            return QBrush(b.Color, Qt::DiagCrossPattern);
        default:
            return QBrush(b.Color);
        }
    default:
        return QBrush(b.Color);
    }
}

class TPlayback {
public:
    TPlayback(QPainter& painter, std::size_t handles)
        : P(painter)
        , Objects(handles) {
        const QTransform& t = P.worldTransform();
        DeviceScale = std::sqrt(std::abs(t.determinant())) * P.device()->devicePixelRatio();
        Font = StockFont(false);
    }

    void Record(uint32_t type, const char* rec, uint32_t size);
    void Flush();

private:
    void Text(const char* rec);
    void Picture(const char* rec);
    void Arc(const U_EMRARC& r);
    void Select(uint32_t handle);
    QPen CurrentPen() const { return ToQPen(Pen, DeviceScale); }

    QPainter& P;
    std::vector<TObject> Objects;
    double DeviceScale = 1;
    TPenObject Pen;
    TBrushObject Brush;
    TFontObject Font;
    QColor TextColor = Qt::black;
    QColor BkColor = Qt::white;
    uint32_t BkMode = U_OPAQUE;
    uint32_t TextAlign = U_TA_DEFAULT;
    QPointF Position;
    // Consecutive line segments, stroked together.
    QPolygonF Line;
};

void TPlayback::Flush() {
    if (Line.size() >= 2) {
        P.setPen(CurrentPen());
        P.setBrush(Qt::NoBrush);
        P.drawPolyline(Line);
    }
    Line.clear();
}

void TPlayback::Select(uint32_t handle) {
    const TObject object = IsStock(handle) ? StockObject(handle) : Objects[handle];
    if (const auto* pen = std::get_if<TPenObject>(&object))
        Pen = *pen;
    else if (const auto* brush = std::get_if<TBrushObject>(&object))
        Brush = *brush;
    else if (const auto* font = std::get_if<TFontObject>(&object))
        Font = *font;
}

void TPlayback::Record(uint32_t type, const char* rec, uint32_t) {
    if (type != U_EMR_LINETO) Flush();
    switch (type) {
    case U_EMR_CREATEPEN: {
        const auto r = Read<U_EMRCREATEPEN>(rec, 0);
        Objects[r.ihPen] = TPenObject{r.lopn.lopnStyle, r.lopn.lopnWidth.x, ColorOf(r.lopn.lopnColor)};
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto r = Read<U_EMRCREATEBRUSHINDIRECT>(rec, 0);
        Objects[r.ihBrush] = TBrushObject{r.lb.lbStyle, ColorOf(r.lb.lbColor), r.lb.lbHatch};
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        const auto handle = Read<uint32_t>(rec, 8);
        Objects[handle] = std::make_shared<const TEmfFontMetrics>(DecodeLogFont(rec + 12));
        break;
    }
    case U_EMR_SELECTOBJECT:
        Select(Read<uint32_t>(rec, 8));
        break;
    case U_EMR_DELETEOBJECT: {
        const auto handle = Read<uint32_t>(rec, 8);
        if (!IsStock(handle)) Objects[handle] = std::monostate{};
        break;
    }
    case U_EMR_SETTEXTCOLOR:
        TextColor = ColorOf(Read<U_EMRSETTEXTCOLOR>(rec, 0).crColor);
        break;
    case U_EMR_SETBKCOLOR:
        BkColor = ColorOf(Read<U_EMRSETBKCOLOR>(rec, 0).crColor);
        break;
    case U_EMR_SETBKMODE:
        BkMode = Read<U_EMRSETBKMODE>(rec, 0).iMode;
        break;
    case U_EMR_SETTEXTALIGN:
        TextAlign = Read<U_EMRSETTEXTALIGN>(rec, 0).iMode;
        break;
    case U_EMR_MOVETOEX: {
        const auto r = Read<U_EMRMOVETOEX>(rec, 0);
        Position = QPointF(r.ptl.x, r.ptl.y);
        break;
    }
    case U_EMR_LINETO: {
        const auto r = Read<U_EMRLINETO>(rec, 0);
        if (Line.isEmpty()) Line << Position;
        Position = QPointF(r.ptl.x, r.ptl.y);
        Line << Position;
        break;
    }
    case U_EMR_ELLIPSE:
        P.setPen(CurrentPen());
        P.setBrush(ToQBrush(Brush));
        P.drawEllipse(RectOf(Read<U_EMRELLIPSE>(rec, 0).rclBox));
        break;
    case U_EMR_RECTANGLE:
        P.setPen(CurrentPen());
        P.setBrush(ToQBrush(Brush));
        P.drawRect(RectOf(Read<U_EMRRECTANGLE>(rec, 0).rclBox));
        break;
    case U_EMR_ARC:
        Arc(Read<U_EMRARC>(rec, 0));
        break;
    case U_EMR_SETPIXELV: {
        const auto r = Read<U_EMRSETPIXELV>(rec, 0);
        P.fillRect(QRectF(r.ptlPixel.x, r.ptlPixel.y, 1, 1), ColorOf(r.crColor));
        break;
    }
    case U_EMR_EXTTEXTOUTW:
        Text(rec);
        break;
    case U_EMR_STRETCHDIBITS:
        Picture(rec);
        break;
    default:
        break;
    }
}

void TPlayback::Arc(const U_EMRARC& r) {
    const QRectF box = RectOf(r.rclBox);
    const double rx = box.width() / 2;
    const double ry = box.height() / 2;
    if (rx <= 0 || ry <= 0) return;
    const QPointF c = box.center();
    // Parametric angles at which the rays through the two points cross the ellipse, counter-clockwise
    // as seen on the page (y grows downwards).
    const auto angleOf = [&](const U_POINTL& q) {
        return std::atan2(-(q.y - c.y()) / ry, (q.x - c.x()) / rx) * 180 / std::numbers::pi;
    };
    const double start = angleOf(r.ptlStart);
    double sweep = angleOf(r.ptlEnd) - start;
    if (sweep <= 0) sweep += 360;
    QPainterPath path;
    path.arcMoveTo(box, start);
    path.arcTo(box, start, sweep);
    P.strokePath(path, CurrentPen());
}

void TPlayback::Text(const char* rec) {
    const auto r = Read<U_EMREXTTEXTOUTW>(rec, 0);
    const U_EMRTEXT& t = r.emrtext;
    const bool hasRect = !(t.fOptions & U_ETO_NO_RECT);
    const QRectF rect = hasRect ? RectOf(Read<U_RECTL>(rec, sizeof(U_EMREXTTEXTOUTW))) : QRectF();
    if (hasRect && (t.fOptions & U_ETO_OPAQUE)) P.fillRect(rect, BkColor);
    if (t.nChars == 0 || (t.fOptions & U_ETO_GLYPH_INDEX)) return; // glyph numbers need the recording font
    QString text(static_cast<qsizetype>(t.nChars), Qt::Uninitialized);
    std::memcpy(text.data(), rec + t.offString, 2 * static_cast<std::size_t>(t.nChars));

    const TEmfFontMetrics& m = *Font;
    if (!(m.EmHeight() > 0 && m.EmHeight() < MaxEmHeight) || !(m.Stretch() > 1e-3 && m.Stretch() < 1e3))
        return;
    const double width = m.Advance(text);
    QPointF reference = (TextAlign & U_TA_UPDATECP) ? Position : QPointF(t.ptlReference.x, t.ptlReference.y);
    double dx = 0;
    if ((TextAlign & U_TA_CENTER) == U_TA_CENTER)
        dx = -width / 2;
    else if (TextAlign & U_TA_RIGHT)
        dx = -width;
    double dy = 0;
    if ((TextAlign & U_TA_BASELINE) == U_TA_BASELINE)
        dy = -m.Ascent();
    else if (TextAlign & U_TA_BOTTOM)
        dy = -m.CellHeight();

    P.save();
    if (hasRect && (t.fOptions & U_ETO_CLIPPED)) P.setClipRect(rect, Qt::IntersectClip);
    P.translate(reference);
    P.rotate(-m.Angle());
    if (BkMode == U_OPAQUE) P.fillRect(QRectF(dx, dy, width, m.CellHeight()), BkColor);
    P.translate(dx, dy + m.Ascent());
    P.scale(m.Scale() * m.Stretch(), m.Scale());
    P.setFont(m.ReferenceFont());
    P.setPen(TextColor);
    P.drawText(QPointF(0, 0), text);
    P.restore();

    if (TextAlign & U_TA_UPDATECP) {
        const double a = m.Angle() * std::numbers::pi / 180;
        const double advance = (TextAlign & U_TA_CENTER) == U_TA_CENTER ? 0 : width;
        const double sign = (TextAlign & U_TA_RIGHT) && (TextAlign & U_TA_CENTER) != U_TA_CENTER ? -1 : 1;
        Position = reference + QPointF(sign * advance * std::cos(a), -sign * advance * std::sin(a));
    }
}

void TPlayback::Picture(const char* rec) {
    const auto r = Read<U_EMRSTRETCHDIBITS>(rec, 0);
    if (r.cDest.x == 0 || r.cDest.y == 0) return;
    const auto bih = Read<U_BITMAPINFOHEADER>(rec, r.offBmiSrc);
    const int w = bih.biWidth;
    const int h = static_cast<int>(std::abs(static_cast<qint64>(bih.biHeight)));
    const bool bottomUp = bih.biHeight > 0;
    const int bytes = bih.biBitCount / 8;
    const qsizetype stride = ((static_cast<qsizetype>(w) * bih.biBitCount + 31) / 32) * 4;
    const auto* px = reinterpret_cast<const uint8_t*>(rec + r.offBitsSrc);

    // A 32-bit picture whose fourth bytes are all zero carries no transparency.
    bool alpha = false;
    if (bytes == 4)
        for (int y = 0; y < h && !alpha; ++y)
            for (int x = 0; x < w && !alpha; ++x)
                alpha = px[y * stride + x * 4 + 3] != 0;
    QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) return;
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = px + (bottomUp ? h - 1 - y : y) * stride;
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x, s += bytes)
            d[x] = qRgba(s[2], s[1], s[0], alpha ? s[3] : 255);
    }
    // The source rectangle counts rows from the picture's first stored row.
    const int top = bottomUp ? h - (r.Src.y + r.cSrc.y) : r.Src.y;
    const QRect source(r.Src.x, top, r.cSrc.x, r.cSrc.y);
    const QImage part = source == image.rect() ? image : image.copy(source);

    P.save();
    P.translate(r.Dest.x, r.Dest.y);
    P.scale(static_cast<double>(r.cDest.x) / r.cSrc.x, static_cast<double>(r.cDest.y) / r.cSrc.y);
    P.drawImage(QPointF(0, 0), part);
    P.restore();
}

} // namespace

TEmfPlayer::TEmfPlayer(QByteArray stream)
    : FStream(std::move(stream)) {
    Parse();
}

void TEmfPlayer::Parse() {
    const char* data = FStream.constData();
    const quint64 size = static_cast<quint64>(FStream.size());
    if (size < 8) Fail(QStringLiteral("it holds only %1 bytes").arg(size));
    const auto firstType = Read<uint32_t>(data, 0);
    const auto firstSize = Read<uint32_t>(data, 4);
    if (firstType != U_EMR_HEADER)
        Fail(QStringLiteral("it does not start with a header record (the first record has type %1)")
                 .arg(firstType));
    if (firstSize < U_SIZE_EMRHEADER_MIN || firstSize % 4 != 0 || firstSize > size)
        Fail(QStringLiteral("its header record has an invalid size of %1 bytes").arg(firstSize));
    U_EMRHEADER h;
    std::memset(&h, 0, sizeof h);
    std::memcpy(&h, data, std::min<quint64>(firstSize, sizeof h));
    if (h.dSignature != U_ENHMETA_SIGNATURE) Fail(QStringLiteral("its header has no EMF signature"));
    if (h.nBytes > size)
        Fail(QStringLiteral("it is truncated: the header declares %1 bytes, %2 are present")
                 .arg(h.nBytes)
                 .arg(size));
    if (h.nBytes < firstSize)
        Fail(QStringLiteral("its header declares a total of only %1 bytes").arg(h.nBytes));
    if (h.nDescription != 0 && (h.offDescription < U_SIZE_EMRHEADER_MIN ||
                                quint64(h.offDescription) + 2 * quint64(h.nDescription) > firstSize))
        Fail(QStringLiteral("its description lies outside the header record"));
    if (firstSize >= offsetof(U_EMRHEADER, bOpenGL) && h.cbPixelFormat != 0 &&
        (h.offPixelFormat < U_SIZE_EMRHEADER_MIN || quint64(h.offPixelFormat) + h.cbPixelFormat > firstSize))
        Fail(QStringLiteral("its pixel format lies outside the header record"));
    if (h.szlDevice.cx <= 0 || h.szlDevice.cy <= 0 || h.szlMillimeters.cx <= 0 || h.szlMillimeters.cy <= 0)
        Fail(QStringLiteral("its header gives no size of the reference device"));
    if (h.nHandles == 0) Fail(QStringLiteral("its header declares no object table"));

    FHeader.Bounds = BoundedRect(h.rclBounds);
    FHeader.Frame = BoundedRect(h.rclFrame);
    FHeader.DevicePixels = QSize(h.szlDevice.cx, h.szlDevice.cy);
    FHeader.DeviceMillimeters = QSize(h.szlMillimeters.cx, h.szlMillimeters.cy);
    if (firstSize >= sizeof(U_EMRHEADER) && h.szlMicrometers.cx > 0 && h.szlMicrometers.cy > 0)
        FHeader.DeviceMicrometers = QSize(h.szlMicrometers.cx, h.szlMicrometers.cy);
    FHeader.Bytes = h.nBytes;
    FHeader.Records = h.nRecords;
    FHeader.Handles = h.nHandles;
    if (h.nDescription != 0) {
        QString description(static_cast<qsizetype>(h.nDescription), Qt::Uninitialized);
        std::memcpy(description.data(), data + h.offDescription,
                    2 * static_cast<std::size_t>(h.nDescription));
        FHeader.Description = description;
    }

    std::vector<TObjectKind> objects(h.nHandles, TObjectKind::None);
    const quint64 end = h.nBytes;
    quint64 offset = 0;
    uint32_t index = 0;
    bool ended = false;
    while (offset < end) {
        const auto where = [&] { return QStringLiteral("record %1 (at byte %2)").arg(index).arg(offset); };
        if (end - offset < 8) Fail(QStringLiteral("%1 is truncated").arg(where()));
        const auto type = Read<uint32_t>(data, offset);
        const auto recordSize = Read<uint32_t>(data, offset + 4);
        if (recordSize < 8 || recordSize % 4 != 0)
            Fail(QStringLiteral("%1 has an invalid size of %2 bytes").arg(where()).arg(recordSize));
        if (recordSize > end - offset)
            Fail(QStringLiteral("%1 runs past the end of the data (%2 bytes)").arg(where()).arg(recordSize));
        if (type < U_EMR_MIN || type > U_EMR_MAX)
            Fail(QStringLiteral("%1 has the unknown type %2").arg(where()).arg(type));
        if (index > 0 && type == U_EMR_HEADER) Fail(QStringLiteral("%1 is a second header").arg(where()));
        const char* rec = data + offset;
        uint32_t checkedSize = 0;
        uint32_t checkedType = 0;
        if (!U_emf_record_sizeok(rec, rec + recordSize, &checkedSize, &checkedType, 1))
            Fail(QStringLiteral("%1 is too short for its type %2").arg(where()).arg(type));
        TRecordCheck(rec, recordSize, index, type, offset, objects).Run();
        FRecords.push_back({static_cast<uint32_t>(offset), recordSize, type});
        FTypes.push_back(type);
        ++index;
        offset += recordSize;
        if (type == U_EMR_EOF) {
            ended = true;
            break;
        }
    }
    if (!ended) Fail(QStringLiteral("the end-of-file record is missing"));
    if (offset != end) Fail(QStringLiteral("%1 bytes follow the end-of-file record").arg(end - offset));
    if (index != h.nRecords)
        Fail(
            QStringLiteral("the header declares %1 records, the stream holds %2").arg(h.nRecords).arg(index));
}

double TEmfPlayer::UnitsPerInch() const {
    if (!FHeader.DeviceMicrometers.isEmpty())
        return FHeader.DevicePixels.width() * 25400.0 / FHeader.DeviceMicrometers.width();
    return FHeader.DevicePixels.width() * 25.4 / FHeader.DeviceMillimeters.width();
}

QSizeF TEmfPlayer::PageSize() const {
    const double unitsPerHundredthMM = UnitsPerInch() / 2540.0;
    return QSizeF((FHeader.Frame.width()) * unitsPerHundredthMM,
                  FHeader.Frame.height() * unitsPerHundredthMM);
}

void TEmfPlayer::Play(QPainter& painter, const QTransform& pageToDevice) const {
    painter.save();
    painter.setTransform(pageToDevice, true);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    TPlayback playback(painter, FHeader.Handles);
    for (const TRecord& r : FRecords)
        playback.Record(r.Type, FStream.constData() + r.Offset, r.Size);
    playback.Flush();
    painter.restore();
}
