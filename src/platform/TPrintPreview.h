#pragma once
// The print-preview page: shows the pages of a document, each an EMF record stream recorded through
// the page canvas (TEmfCanvas) and drawn by the EMF player at the resolution of the zoom, so text and
// lines stay sharp at every zoom. Pages are stacked top to bottom on the widget's background, each with
// a border and a shadow. The page can be dragged with the left mouse button and zoomed with Ctrl+wheel
// about the mouse position. Rendered pages are cached per zoom for smooth scrolling.

#include "platform/PreviewLayout.h"
#include "platform/TCanvas.h"

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QPixmap>

#include <memory>
#include <vector>

class TEmfCanvas;
class TEmfPlayer;

struct TPaperView {
    TColor PaperColor = clWhite;
    TColor BorderColor = clBlack;
    int BorderWidth = 1;
    TColor ShadowColor = RGBColor(96, 96, 96);
    int ShadowWidth = 4;
    friend bool operator==(const TPaperView&, const TPaperView&) = default;
};

class TPrintPreview : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TPrintPreview(QWidget* parent = nullptr);
    ~TPrintPreview() override;

    // Paper, units and orientation. Unknown form names are refused with std::invalid_argument.
    void SetPaperByFormName(const QString& formName);
    // Any paper (a preview file may bring its own); sizes must be positive (std::invalid_argument).
    void SetPaper(const TPaperSize& paper);
    QString FormName() const { return FPaper.FormName; }
    const TPaperSize& Paper() const { return FPaper; }
    int PaperType() const { return FPaper.Code; }
    void SetUnits(TPreviewUnits units);
    TPreviewUnits Units() const { return FUnits; }
    void SetOrientation(TPrintOrientation orientation);
    TPrintOrientation Orientation() const { return FOrientation; }
    // The oriented page in millimetres and in page units, and its rectangle in whole page units.
    QSizeF PageSizeMM() const;
    QSizeF PageSize() const;
    TRect PageBounds() const;
    // A measure in the given units converted to page units (80 tenths of a millimetre are 22.68 points).
    double ConvertUnit(double value, TPreviewUnits from) const;

    // Zoom. SetZoom sets zsZoomOther; Zoom() is the percentage shown now, also in the fit states.
    void SetZoomState(TZoomState state);
    TZoomState ZoomState() const { return FZoomState; }
    void SetZoom(int percent);
    int Zoom() const;
    // Device-independent pixels per page unit at the current zoom.
    double ZoomScale() const;

    // The document. BeginDoc clears the pages and starts recording one page on the canvas it returns;
    // EndDoc stores that page and shows it. A BeginDoc while recording is refused (std::logic_error).
    TCanvas& BeginDoc();
    void EndDoc();
    // The page canvas; it stays the same object for the preview's life, so callers may keep it.
    TCanvas& Canvas();
    bool IsBusy() const { return FBusy; }

    // The stored pages (EMF streams), for printing, PDF and preview files.
    int PageCount() const { return static_cast<int>(FPages.size()); }
    const std::vector<QByteArray>& Pages() const { return FPages; }
    void SetPages(std::vector<QByteArray> pages);
    void Clear();
    // Why a page cannot be shown; empty when it can.
    QString PageError(int index) const;

    int HorzScrollPos() const;
    void SetHorzScrollPos(int position);
    int VertScrollPos() const;
    void SetVertScrollPos(int position);

    const TPaperView& PaperView() const { return FPaperView; }
    void SetPaperView(const TPaperView& view);
    void SetPaperColor(TColor color);

    // Where a page is drawn, in viewport coordinates.
    QRect PageRect(int index) const;
    // The spacing around pages, in device-independent pixels.
    TPreviewSpacing Spacing() const;

signals:
    void ZoomChanged();
    void PagesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct TPage;

    double Dpi() const;
    QSize PagePixels() const;
    QSize ContentSize() const;
    QPoint ContentOrigin() const;
    void Relayout();
    void PagesReplaced();
    void InvalidateRendering();
    void ZoomAbout(double percent, QPointF viewportPos);
    void UpdateCursor(QPointF viewportPos);
    void PaintPage(QPainter& painter, int index, const QRect& target, const QRect& exposed);
    QPixmap RenderedPage(int index);
    void DrawPageContent(QPainter& painter, int index, const QRect& target);
    double PageScale(int index) const;

    TPaperSize FPaper;
    TPreviewUnits FUnits = mmPoints;
    TPrintOrientation FOrientation = poPortrait;
    TZoomState FZoomState = zsZoomToFit;
    double FZoomPercent = 100;
    TPaperView FPaperView;

    std::unique_ptr<TEmfCanvas> FCanvas;
    bool FBusy = false;
    std::vector<QByteArray> FPages;
    std::vector<TPage> FRendered;

    bool FDragging = false;
    QPointF FDragStart;
    QPoint FDragScroll;
    int FWheelAngle = 0;
    bool FInRelayout = false;
};
