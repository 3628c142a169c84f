#include "platform/TPrintPreview.h"

#include "platform/TEmfCanvas.h"
#include "platform/TEmfPlayer.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Pages larger than this (in device pixels) are drawn straight onto the screen instead of being
// cached: at the highest zooms a cached page would cost hundreds of megabytes.
constexpr qint64 MaxCachedPixels = 24'000'000;
// Zoom factor of one wheel notch.
constexpr double WheelZoomStep = 1.1;

QColor ToColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

struct TPrintPreview::TPage {
    std::shared_ptr<const TEmfPlayer> Player; // null when the stream is not a valid page
    QString Error;
    QPixmap Cache;
    QSize CacheSize;
    qreal CacheRatio = 0;
};

TPrintPreview::TPrintPreview(QWidget* parent)
    : QAbstractScrollArea(parent)
    , FPaper(*PaperByFormName(QStringLiteral("A4"))) {
    FCanvas = std::make_unique<TEmfCanvas>(PageSize().width(), PageSize().height(), UnitsPerInch(FUnits));
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    Relayout();
}

TPrintPreview::~TPrintPreview() = default;

void TPrintPreview::SetPaperByFormName(const QString& formName) {
    const std::optional<TPaperSize> paper = PaperByFormName(formName);
    if (!paper)
        throw std::invalid_argument(QStringLiteral("Unknown paper \"%1\"").arg(formName).toStdString());
    SetPaper(*paper);
}

void TPrintPreview::SetPaper(const TPaperSize& paper) {
    if (!(paper.WidthMM > 0) || !(paper.HeightMM > 0))
        throw std::invalid_argument("The paper size must be positive");
    FPaper = paper;
    if (!FBusy) FCanvas->Restart(PageSize().width(), PageSize().height(), UnitsPerInch(FUnits));
    InvalidateRendering();
    Relayout();
}

void TPrintPreview::SetUnits(TPreviewUnits units) {
    if (units == FUnits) return;
    FUnits = units;
    if (!FBusy) FCanvas->Restart(PageSize().width(), PageSize().height(), UnitsPerInch(FUnits));
}

void TPrintPreview::SetOrientation(TPrintOrientation orientation) {
    if (orientation == FOrientation) return;
    FOrientation = orientation;
    if (!FBusy) FCanvas->Restart(PageSize().width(), PageSize().height(), UnitsPerInch(FUnits));
    InvalidateRendering();
    Relayout();
}

QSizeF TPrintPreview::PageSizeMM() const {
    return OrientedPaperMM(FPaper, FOrientation);
}

QSizeF TPrintPreview::PageSize() const {
    const double unitsPerMM = UnitsPerInch(FUnits) / 25.4;
    return PageSizeMM() * unitsPerMM;
}

TRect TPrintPreview::PageBounds() const {
    const QSizeF size = PageSize();
    return TRect{0, 0, static_cast<int>(std::lround(size.width())),
                 static_cast<int>(std::lround(size.height()))};
}

double TPrintPreview::ConvertUnit(double value, TPreviewUnits from) const {
    return ::ConvertUnit(value, from, FUnits);
}

void TPrintPreview::SetZoomState(TZoomState state) {
    FZoomState = state;
    Relayout();
}

void TPrintPreview::SetZoom(int percent) {
    FZoomState = zsZoomOther;
    FZoomPercent = std::clamp(static_cast<double>(percent), MinZoomPercent, MaxZoomPercent);
    Relayout();
}

int TPrintPreview::Zoom() const {
    return static_cast<int>(std::lround(FZoomPercent));
}

double TPrintPreview::ZoomScale() const {
    return Dpi() * FZoomPercent / 100 / UnitsPerInch(FUnits);
}

TCanvas& TPrintPreview::BeginDoc() {
    if (FBusy) throw std::logic_error("A preview document is already being recorded");
    FCanvas->Restart(PageSize().width(), PageSize().height(), UnitsPerInch(FUnits));
    FPages.clear();
    FRendered.clear();
    FBusy = true;
    return *FCanvas;
}

void TPrintPreview::EndDoc() {
    if (!FBusy) return;
    FBusy = false;
    FPages.clear();
    FPages.push_back(FCanvas->Finish());
    PagesReplaced();
}

TCanvas& TPrintPreview::Canvas() {
    return *FCanvas;
}

void TPrintPreview::SetPages(std::vector<QByteArray> pages) {
    FPages = std::move(pages);
    PagesReplaced();
}

void TPrintPreview::Clear() {
    SetPages({});
}

QString TPrintPreview::PageError(int index) const {
    if (index < 0 || index >= static_cast<int>(FRendered.size())) return {};
    return FRendered[static_cast<std::size_t>(index)].Error;
}

void TPrintPreview::PagesReplaced() {
    FRendered.clear();
    FRendered.resize(FPages.size());
    for (std::size_t i = 0; i < FPages.size(); ++i) {
        try {
            FRendered[i].Player = std::make_shared<const TEmfPlayer>(FPages[i]);
        } catch (const EEmfError& e) {
            FRendered[i].Error = QString::fromStdString(e.what());
        }
    }
    Relayout();
    viewport()->update();
    emit PagesChanged();
}

int TPrintPreview::HorzScrollPos() const {
    return horizontalScrollBar()->value();
}
void TPrintPreview::SetHorzScrollPos(int position) {
    horizontalScrollBar()->setValue(position);
}
int TPrintPreview::VertScrollPos() const {
    return verticalScrollBar()->value();
}
void TPrintPreview::SetVertScrollPos(int position) {
    verticalScrollBar()->setValue(position);
}

void TPrintPreview::SetPaperView(const TPaperView& view) {
    if (view == FPaperView) return;
    FPaperView = view;
    InvalidateRendering();
    Relayout();
}

void TPrintPreview::SetPaperColor(TColor color) {
    TPaperView view = FPaperView;
    view.PaperColor = color;
    SetPaperView(view);
}

TPreviewSpacing TPrintPreview::Spacing() const {
    TPreviewSpacing spacing;
    spacing.Shadow = std::max(0, FPaperView.ShadowWidth);
    return spacing;
}

double TPrintPreview::Dpi() const {
    return logicalDpiX() > 0 ? logicalDpiX() : 96;
}

QSize TPrintPreview::PagePixels() const {
    const double pixelsPerMM = Dpi() * FZoomPercent / 100 / 25.4;
    const QSizeF mm = PageSizeMM();
    return QSize(std::max(1, static_cast<int>(std::lround(mm.width() * pixelsPerMM))),
                 std::max(1, static_cast<int>(std::lround(mm.height() * pixelsPerMM))));
}

QSize TPrintPreview::ContentSize() const {
    const TPreviewSpacing s = Spacing();
    const QSize page = PagePixels();
    const int n = std::max(1, PageCount());
    const double w = 2 * s.Margin + page.width() + s.Shadow;
    const double h = 2 * s.Margin + n * (page.height() + s.Shadow) + (n - 1) * s.PageGap;
    return QSize(static_cast<int>(std::lround(w)), static_cast<int>(std::lround(h)));
}

QPoint TPrintPreview::ContentOrigin() const {
    const QSize content = ContentSize();
    const QSize view = viewport()->size();
    const int x = content.width() < view.width() ? (view.width() - content.width()) / 2
                                                 : -horizontalScrollBar()->value();
    const int y = content.height() < view.height() ? (view.height() - content.height()) / 2
                                                   : -verticalScrollBar()->value();
    return QPoint(x, y);
}

QRect TPrintPreview::PageRect(int index) const {
    const TPreviewSpacing s = Spacing();
    const QSize page = PagePixels();
    const QPoint origin = ContentOrigin();
    const double top = s.Margin + index * (page.height() + s.Shadow + s.PageGap);
    return QRect(QPoint(origin.x() + static_cast<int>(s.Margin), origin.y() + static_cast<int>(top)), page);
}

void TPrintPreview::Relayout() {
    if (FInRelayout) return;
    FInRelayout = true;
    const double before = FZoomPercent;
    const QSize available = maximumViewportSize();
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int barHeight = horizontalScrollBar()->sizeHint().height();
    // A pixel of slack keeps the rounded page from overflowing the viewport it was fitted to.
    if (FZoomState != zsZoomOther)
        FZoomPercent = FitZoom(FZoomState, PageSizeMM() / 25.4, QSizeF(available) - QSizeF(1, 1), Dpi(),
                               Spacing(), barWidth);
    // The ranges are set for the viewport that the scroll bars they need will leave, not for the one
    // of the moment, so that a bar shown for an earlier zoom does not keep itself visible.
    const QSize content = ContentSize();
    bool across = content.width() > available.width();
    bool down = content.height() > available.height();
    if (across && !down) down = content.height() > available.height() - barHeight;
    if (down && !across) across = content.width() > available.width() - barWidth;
    const QSize view(available.width() - (down ? barWidth : 0),
                     available.height() - (across ? barHeight : 0));
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
    FInRelayout = false;
    viewport()->update();
    if (FZoomPercent != before) emit ZoomChanged();
}

void TPrintPreview::InvalidateRendering() {
    for (TPage& p : FRendered)
        p.Cache = QPixmap();
    viewport()->update();
}

double TPrintPreview::PageScale(int index) const {
    double unitsPerInch = UnitsPerInch(FUnits);
    if (index >= 0 && index < static_cast<int>(FRendered.size()) &&
        FRendered[static_cast<std::size_t>(index)].Player)
        unitsPerInch = FRendered[static_cast<std::size_t>(index)].Player->UnitsPerInch();
    return Dpi() * FZoomPercent / 100 / unitsPerInch;
}

void TPrintPreview::DrawPageContent(QPainter& painter, int index, const QRect& target) {
    if (index < 0 || index >= static_cast<int>(FRendered.size())) return; // blank paper
    TPage& page = FRendered[static_cast<std::size_t>(index)];
    if (page.Player) {
        try {
            const double s = PageScale(index);
            page.Player->Play(painter, QTransform::fromScale(s, s) *
                                           QTransform::fromTranslate(target.x(), target.y()));
            return;
        } catch (const std::exception& e) {
            page.Error = QString::fromStdString(e.what());
            page.Player.reset();
        }
    }
    // A page that cannot be shown says why on the paper.
    painter.save();
    painter.setPen(QColor(160, 0, 0));
    QFont f = font();
    f.setPixelSize(std::clamp(target.width() / 45, 9, 18));
    painter.setFont(f);
    const int margin = std::max(6, target.width() / 30);
    painter.drawText(target.adjusted(margin, margin, -margin, -margin),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, page.Error);
    painter.restore();
}

QPixmap TPrintPreview::RenderedPage(int index) {
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize size = PagePixels();
    TPage* page =
        index < static_cast<int>(FRendered.size()) ? &FRendered[static_cast<std::size_t>(index)] : nullptr;
    if (page && !page->Cache.isNull() && page->CacheSize == size && page->CacheRatio == ratio)
        return page->Cache;
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(ToColor(FPaperView.PaperColor));
    {
        QPainter painter(&image);
        DrawPageContent(painter, index, QRect(QPoint(0, 0), size));
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    if (page) {
        page->Cache = pixmap;
        page->CacheSize = size;
        page->CacheRatio = ratio;
    }
    return pixmap;
}

void TPrintPreview::PaintPage(QPainter& painter, int index, const QRect& target, const QRect& exposed) {
    const qreal ratio = viewport()->devicePixelRatioF();
    const qint64 devicePixels =
        static_cast<qint64>(target.width() * ratio) * static_cast<qint64>(target.height() * ratio);
    if (devicePixels <= MaxCachedPixels) {
        painter.drawPixmap(target.topLeft(), RenderedPage(index));
        return;
    }
    painter.save();
    const QRect visible = target.intersected(exposed);
    painter.setClipRect(visible);
    painter.fillRect(visible, ToColor(FPaperView.PaperColor));
    DrawPageContent(painter, index, target);
    painter.restore();
}

void TPrintPreview::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, palette().color(QPalette::Window));
    const int shadow = std::max(0, FPaperView.ShadowWidth);
    const int border = std::max(0, FPaperView.BorderWidth);
    const int n = std::max(1, PageCount());
    for (int i = 0; i < n; ++i) {
        const QRect page = PageRect(i);
        const QRect whole = page.adjusted(-border, -border, border + shadow, border + shadow);
        if (!whole.intersects(exposed)) continue;
        if (shadow > 0) painter.fillRect(page.translated(shadow, shadow), ToColor(FPaperView.ShadowColor));
        if (border > 0)
            painter.fillRect(page.adjusted(-border, -border, border, border),
                             ToColor(FPaperView.BorderColor));
        PaintPage(painter, i, page, exposed);
    }
}

void TPrintPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void TPrintPreview::scrollContentsBy(int, int) {
    viewport()->update();
}

void TPrintPreview::UpdateCursor(QPointF viewportPos) {
    for (int i = 0; i < std::max(1, PageCount()); ++i)
        if (PageRect(i).contains(viewportPos.toPoint())) {
            viewport()->setCursor(Qt::OpenHandCursor);
            return;
        }
    viewport()->unsetCursor();
}

void TPrintPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    FDragging = true;
    FDragStart = event->position();
    FDragScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void TPrintPreview::mouseMoveEvent(QMouseEvent* event) {
    if (!FDragging) {
        UpdateCursor(event->position());
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPointF moved = event->position() - FDragStart;
    horizontalScrollBar()->setValue(FDragScroll.x() - static_cast<int>(std::lround(moved.x())));
    verticalScrollBar()->setValue(FDragScroll.y() - static_cast<int>(std::lround(moved.y())));
    event->accept();
}

void TPrintPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !FDragging) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    FDragging = false;
    UpdateCursor(event->position());
    event->accept();
}

void TPrintPreview::ZoomAbout(double percent, QPointF viewportPos) {
    const double pixelsPerInch = Dpi() * FZoomPercent / 100;
    const QPointF inches = (viewportPos - QPointF(PageRect(0).topLeft())) / pixelsPerInch;
    FZoomState = zsZoomOther;
    FZoomPercent = std::clamp(percent, MinZoomPercent, MaxZoomPercent);
    Relayout();
    // Keep the point of the page under the mouse where it was.
    const QPointF now = QPointF(PageRect(0).topLeft()) + inches * (Dpi() * FZoomPercent / 100);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                    static_cast<int>(std::lround(now.x() - viewportPos.x())));
    verticalScrollBar()->setValue(verticalScrollBar()->value() +
                                  static_cast<int>(std::lround(now.y() - viewportPos.y())));
}

void TPrintPreview::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    FWheelAngle += event->angleDelta().y();
    const int notches = FWheelAngle / 120;
    FWheelAngle -= notches * 120;
    if (notches != 0) ZoomAbout(FZoomPercent * std::pow(WheelZoomStep, notches), event->position());
    event->accept();
}
