// The print-preview widget under the offscreen platform: page geometry, zoom, scrolling, dragging,
// wheel zoom and what the shown page looks like.

#include "platform/TEmfPlayer.h"
#include "platform/TPrintPreview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <stdexcept>

namespace {

constexpr TColor PreviewPaperColor = 16317180; // red 252, green 250, blue 248

void Settle(TPrintPreview& preview) {
    // Scroll bars are shown or hidden through queued events; let them land.
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    (void)preview;
}

int Distance(QRgb a, QRgb b) {
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

QImage Shot(TPrintPreview& preview) {
    return preview.viewport()->grab().toImage();
}

// The viewport pixel showing the centre of a page unit.
QPoint OnPage(const TPrintPreview& preview, double x, double y) {
    const QRect page = preview.PageRect(0);
    const double s = preview.ZoomScale();
    return QPoint(page.left() + static_cast<int>((x + 0.5) * s),
                  page.top() + static_cast<int>((y + 0.5) * s));
}

void SendMove(QWidget* target, QPointF pos, Qt::MouseButtons buttons) {
    QMouseEvent move(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

void SendWheel(QWidget* target, QPointF pos, int angle, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

} // namespace

class TPrintPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void PageGeometry_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("units");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("boundsWidth");
        QTest::addColumn<int>("boundsHeight");
        QTest::newRow("portrait points")
            << int(poPortrait) << int(mmPoints) << 595.28 << 841.89 << 595 << 842;
        QTest::newRow("landscape points")
            << int(poLandscape) << int(mmPoints) << 841.89 << 595.28 << 842 << 595;
        QTest::newRow("portrait hundredths of mm")
            << int(poPortrait) << int(mmHiMetric) << 21000.0 << 29700.0 << 21000 << 29700;
        QTest::newRow("landscape tenths of mm")
            << int(poLandscape) << int(mmLoMetric) << 2970.0 << 2100.0 << 2970 << 2100;
        QTest::newRow("portrait twips")
            << int(poPortrait) << int(mmTWIPS) << 11905.51 << 16837.80 << 11906 << 16838;
    }

    void PageGeometry() {
        QFETCH(int, orientation);
        QFETCH(int, units);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, boundsWidth);
        QFETCH(int, boundsHeight);
        TPrintPreview preview;
        preview.SetPaperByFormName(QStringLiteral("A4"));
        preview.SetUnits(static_cast<TPreviewUnits>(units));
        preview.SetOrientation(static_cast<TPrintOrientation>(orientation));
        const QSizeF size = preview.PageSize();
        QVERIFY2(
            std::abs(size.width() - width) < 0.01,
            qPrintable(
                QStringLiteral("width %1, expected %2 (A4 is 210 x 297 mm)").arg(size.width()).arg(width)));
        QVERIFY2(std::abs(size.height() - height) < 0.01,
                 qPrintable(QStringLiteral("height %1, expected %2").arg(size.height()).arg(height)));
        QCOMPARE(preview.PageBounds(), (TRect{0, 0, boundsWidth, boundsHeight}));
    }

    void PaperByFormName() {
        TPrintPreview preview;
        preview.SetPaperByFormName(QStringLiteral("a4"));
        QCOMPARE(preview.FormName(), QStringLiteral("A4"));
        QCOMPARE(preview.PaperType(), 9);
        QCOMPARE(preview.PageSizeMM(), QSizeF(210, 297));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, preview.SetPaperByFormName(QStringLiteral("B7")));
        QCOMPARE(preview.FormName(), QStringLiteral("A4"));
        preview.SetPaperByFormName(QStringLiteral("Letter"));
        QCOMPARE(preview.PaperType(), 1);
        QVERIFY(std::abs(preview.PageSize().width() - 612) < 0.01); // 8.5 inches
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 preview.SetPaper(TPaperSize{QStringLiteral("x"), 0, 0, 10}));
    }

    void ConvertUnit_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<double>("expected");
        QTest::newRow("8 mm in points") << 80.0 << int(mmLoMetric) << int(mmPoints) << 22.6772;
        QTest::newRow("an inch in points") << 254.0 << int(mmLoMetric) << int(mmPoints) << 72.0;
        QTest::newRow("a point in hundredths of mm") << 1.0 << int(mmPoints) << int(mmHiMetric) << 35.2778;
        QTest::newRow("an inch in twips") << 1000.0 << int(mmHiEnglish) << int(mmTWIPS) << 1440.0;
        QTest::newRow("points in hundredths of an inch")
            << 72.0 << int(mmPoints) << int(mmLoEnglish) << 100.0;
    }

    void ConvertUnit() {
        QFETCH(double, value);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(double, expected);
        const double actual =
            ::ConvertUnit(value, static_cast<TPreviewUnits>(from), static_cast<TPreviewUnits>(to));
        QVERIFY2(std::abs(actual - expected) < 1e-4,
                 qPrintable(QStringLiteral("%1, expected %2").arg(actual, 0, 'f', 6).arg(expected)));
        TPrintPreview preview;
        preview.SetUnits(static_cast<TPreviewUnits>(to));
        QVERIFY(std::abs(preview.ConvertUnit(value, static_cast<TPreviewUnits>(from)) - expected) < 1e-4);
    }

    void FitZoomArithmetic_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QSizeF>("available");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<double>("expected");
        // A4 at 96 dpi is 7.937 x 11.225 pixels per percent; 28 pixels of margins and shadow; scroll
        // bars 16 wide.
        QTest::newRow("fit, height decides") << int(zsZoomToFit) << QSizeF(800, 600) << false << 50.957;
        QTest::newRow("fit, width decides") << int(zsZoomToFit) << QSizeF(300, 900) << false << 34.270;
        QTest::newRow("width, page overflows below")
            << int(zsZoomToWidth) << QSizeF(800, 600) << false << 95.249;
        QTest::newRow("width, page fits below") << int(zsZoomToWidth) << QSizeF(800, 600) << true << 68.774;
        QTest::newRow("height, page fits across")
            << int(zsZoomToHeight) << QSizeF(800, 600) << false << 50.957;
        QTest::newRow("height, page overflows across")
            << int(zsZoomToHeight) << QSizeF(300, 800) << true << 95.249;
        QTest::newRow("tiny viewport stops at 10%") << int(zsZoomToFit) << QSizeF(40, 40) << false << 10.0;
        QTest::newRow("other is no fit") << int(zsZoomOther) << QSizeF(800, 600) << false << 0.0;
    }

    void FitZoomArithmetic() {
        QFETCH(int, state);
        QFETCH(QSizeF, available);
        QFETCH(bool, landscape);
        QFETCH(double, expected);
        const QSizeF a4(210 / 25.4, 297 / 25.4);
        const QSizeF page = landscape ? a4.transposed() : a4;
        const double zoom =
            FitZoom(static_cast<TZoomState>(state), page, available, 96, TPreviewSpacing{12, 4, 12}, 16);
        QVERIFY2(std::abs(zoom - expected) < 0.01,
                 qPrintable(QStringLiteral("zoom %1, expected %2").arg(zoom).arg(expected)));
    }

    void FitStatesFillTheViewport_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("frameless");
        QTest::newRow("whole page, portrait")
            << int(zsZoomToFit) << int(poPortrait) << QSize(700, 500) << false;
        QTest::newRow("whole page, landscape")
            << int(zsZoomToFit) << int(poLandscape) << QSize(500, 700) << false;
        QTest::newRow("whole page, landscape, no frame")
            << int(zsZoomToFit) << int(poLandscape) << QSize(1000, 720) << true;
        QTest::newRow("fit width, portrait")
            << int(zsZoomToWidth) << int(poPortrait) << QSize(700, 500) << false;
        QTest::newRow("fit width, portrait, no frame")
            << int(zsZoomToWidth) << int(poPortrait) << QSize(1000, 720) << true;
        QTest::newRow("fit height, landscape")
            << int(zsZoomToHeight) << int(poLandscape) << QSize(400, 700) << false;
    }

    void FitStatesFillTheViewport() {
        QFETCH(int, state);
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(bool, frameless);
        TPrintPreview preview;
        if (frameless) preview.setFrameShape(QFrame::NoFrame);
        preview.SetOrientation(static_cast<TPrintOrientation>(orientation));
        preview.SetZoomState(static_cast<TZoomState>(state));
        preview.resize(size);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        Settle(preview);
        const QRect page = preview.PageRect(0);
        const QSize view = preview.viewport()->size();
        const TPreviewSpacing s = preview.Spacing();
        const int extra = static_cast<int>(2 * s.Margin + s.Shadow);
        const bool whole = state == zsZoomToFit;
        const QString where = QStringLiteral("page %1 x %2 in a viewport of %3 x %4")
                                  .arg(page.width())
                                  .arg(page.height())
                                  .arg(view.width())
                                  .arg(view.height());
        if (whole || state == zsZoomToWidth)
            QVERIFY2(page.width() + extra <= view.width() + 1, qPrintable(where));
        if (whole || state == zsZoomToHeight)
            QVERIFY2(page.height() + extra <= view.height() + 1, qPrintable(where));
        // One direction fills the viewport up to the margins.
        const bool widthFills = std::abs(page.width() + extra - view.width()) <= 1;
        const bool heightFills = std::abs(page.height() + extra - view.height()) <= 1;
        if (whole) {
            QVERIFY2(widthFills || heightFills, qPrintable(where));
            QCOMPARE(preview.horizontalScrollBar()->maximum(), 0);
            QCOMPARE(preview.verticalScrollBar()->maximum(), 0);
            QVERIFY(!preview.horizontalScrollBar()->isVisible());
            QVERIFY(!preview.verticalScrollBar()->isVisible());
        }
        if (state == zsZoomToWidth) {
            QVERIFY2(widthFills, qPrintable(where));
            QCOMPARE(preview.horizontalScrollBar()->maximum(), 0);
        }
        if (state == zsZoomToHeight) {
            QVERIFY2(heightFills, qPrintable(where));
            QCOMPARE(preview.verticalScrollBar()->maximum(), 0);
        }
    }

    void PercentageZoom() {
        TPrintPreview preview;
        preview.resize(600, 400);
        preview.SetZoom(100);
        QCOMPARE(preview.ZoomState(), zsZoomOther);
        const double dpi = preview.logicalDpiX();
        QCOMPARE(preview.PageRect(0).width(), static_cast<int>(std::lround(210 / 25.4 * dpi)));
        QCOMPARE(preview.PageRect(0).height(), static_cast<int>(std::lround(297 / 25.4 * dpi)));
        preview.SetZoom(150);
        QCOMPARE(preview.Zoom(), 150);
        QCOMPARE(preview.PageRect(0).width(), static_cast<int>(std::lround(1.5 * 210 / 25.4 * dpi)));
        QVERIFY(std::abs(preview.ZoomScale() - 1.5 * dpi / 72) < 1e-9);
        preview.SetZoom(2);
        QCOMPARE(preview.Zoom(), 10);
        preview.SetZoom(5000);
        QCOMPARE(preview.Zoom(), 500);
        // The fit states keep a percentage of their own.
        preview.SetZoomState(zsZoomToFit);
        QVERIFY(preview.Zoom() < 100);
    }

    void OrientationRelaysThePage() {
        TPrintPreview preview;
        preview.resize(800, 800);
        preview.SetZoomState(zsZoomToFit);
        QVERIFY(preview.PageRect(0).height() > preview.PageRect(0).width());
        preview.SetOrientation(poLandscape);
        QVERIFY(preview.PageRect(0).width() > preview.PageRect(0).height());
        QCOMPARE(preview.PageBounds(), (TRect{0, 0, 842, 595}));
        // The next document is recorded on the turned page.
        TCanvas& canvas = preview.BeginDoc();
        canvas.MoveTo(0, 0);
        preview.EndDoc();
        const TEmfPlayer player(preview.Pages().front());
        QVERIFY(std::abs(player.PageSize().width() - 841.89) < 0.05);
    }

    void DocumentLifecycleAndBusyState() {
        TPrintPreview preview;
        QVERIFY(!preview.IsBusy());
        TCanvas& canvas = preview.BeginDoc();
        QVERIFY(preview.IsBusy());
        QCOMPARE(&canvas, &preview.Canvas());
        QVERIFY_THROWS_EXCEPTION(std::logic_error, preview.BeginDoc());
        canvas.SetPenStyle(1, clBlack);
        canvas.Rectangle(10, 10, 100, 100);
        preview.EndDoc();
        QVERIFY(!preview.IsBusy());
        QCOMPARE(preview.PageCount(), 1);
        QVERIFY(preview.PageError(0).isEmpty());
        preview.EndDoc(); // no document open: nothing happens
        QCOMPARE(preview.PageCount(), 1);
        // A new document replaces the page.
        preview.BeginDoc();
        preview.EndDoc();
        QCOMPARE(preview.PageCount(), 1);
        QVERIFY(preview.Pages().front().size() > 0);
    }

    void ScrollPositionsSurviveARedraw() {
        TPrintPreview preview;
        preview.resize(600, 400);
        preview.SetZoom(200);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        Settle(preview);
        preview.SetHorzScrollPos(150);
        preview.SetVertScrollPos(300);
        QCOMPARE(preview.HorzScrollPos(), 150);
        QCOMPARE(preview.VertScrollPos(), 300);
        TCanvas& canvas = preview.BeginDoc();
        canvas.Ellipse(100, 100, 200, 200);
        preview.EndDoc();
        Settle(preview);
        QCOMPARE(preview.HorzScrollPos(), 150);
        QCOMPARE(preview.VertScrollPos(), 300);
    }

    void LeftDragMovesThePageAndSwitchesCursors() {
        TPrintPreview preview;
        preview.resize(600, 400);
        preview.SetZoom(200);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        Settle(preview);
        preview.SetHorzScrollPos(200);
        preview.SetVertScrollPos(200);
        QWidget* view = preview.viewport();
        const QPoint start(300, 200);
        SendMove(view, start, Qt::NoButton);
        QCOMPARE(view->cursor().shape(), Qt::OpenHandCursor);
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, start);
        QCOMPARE(view->cursor().shape(), Qt::ClosedHandCursor);
        SendMove(view, start + QPoint(-30, -40), Qt::LeftButton);
        QCOMPARE(preview.HorzScrollPos(), 230);
        QCOMPARE(preview.VertScrollPos(), 240);
        SendMove(view, start + QPoint(50, 10), Qt::LeftButton);
        QCOMPARE(preview.HorzScrollPos(), 150);
        QCOMPARE(preview.VertScrollPos(), 190);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, start + QPoint(50, 10));
        QCOMPARE(view->cursor().shape(), Qt::OpenHandCursor);
        // Off the page (beside a whole page in a wide window) the cursor is the plain arrow.
        preview.resize(900, 300);
        preview.SetZoomState(zsZoomToFit);
        Settle(preview);
        SendMove(view, QPoint(5, 150), Qt::NoButton);
        QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    }

    void CtrlWheelZoomsAboutTheMouse() {
        TPrintPreview preview;
        preview.resize(600, 400);
        preview.SetZoom(100);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        Settle(preview);
        preview.SetVertScrollPos(200);
        const QPointF mouse(250, 150);
        const auto pageInchesUnder = [&] {
            const double pixelsPerInch = preview.logicalDpiX() * preview.Zoom() / 100.0;
            return (mouse - QPointF(preview.PageRect(0).topLeft())) / pixelsPerInch;
        };
        const QPointF before = pageInchesUnder();
        SendWheel(preview.viewport(), mouse, 120, Qt::ControlModifier);
        QCOMPARE(preview.ZoomState(), zsZoomOther);
        QCOMPARE(preview.Zoom(), 110);
        const QPointF after = pageInchesUnder();
        const double pixel = 1 / (preview.logicalDpiX() * 1.1);
        QVERIFY2(
            std::abs(after.x() - before.x()) <= 1.5 * pixel &&
                std::abs(after.y() - before.y()) <= 1.5 * pixel,
            qPrintable(QStringLiteral("page point under the mouse moved from (%1, %2) to (%3, %4) inches")
                           .arg(before.x())
                           .arg(before.y())
                           .arg(after.x())
                           .arg(after.y())));
        SendWheel(preview.viewport(), mouse, -240, Qt::ControlModifier);
        QCOMPARE(preview.Zoom(), 91);
        // Without Ctrl the wheel scrolls.
        const int scroll = preview.VertScrollPos();
        SendWheel(preview.viewport(), mouse, -120, Qt::NoModifier);
        QVERIFY(preview.VertScrollPos() > scroll);
        QCOMPARE(preview.Zoom(), 91);
    }

    void ShownPageIsWhatWasDrawn() {
        TPrintPreview preview;
        preview.SetOrientation(poLandscape);
        preview.SetZoomState(zsZoomToFit);
        preview.SetPaperColor(PreviewPaperColor);
        preview.resize(900, 700);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        Settle(preview);
        TCanvas& canvas = preview.BeginDoc();
        canvas.SetPenStyle(1, clBlack);
        canvas.SetBrush(TBrush{RGBColor(255, 0, 0), TBrushStyle::bsSolid});
        canvas.Rectangle(100, 100, 300, 200);
        canvas.SetPenStyle(8, RGBColor(0, 0, 255));
        canvas.MoveTo(400, 300);
        canvas.LineTo(700, 300);
        preview.EndDoc();
        Settle(preview);
        const QImage shot = Shot(preview);
        struct TProbe {
            const char* What;
            QPoint At;
            QRgb Expected;
        };
        const QRect page = preview.PageRect(0);
        const TProbe probes[] = {
            {"filled rectangle", OnPage(preview, 200, 150), qRgb(255, 0, 0)},
            {"thick line", OnPage(preview, 550, 300), qRgb(0, 0, 255)},
            {"paper", OnPage(preview, 600, 500), qRgb(252, 250, 248)},
            {"shadow", page.bottomRight() + QPoint(2, 2), qRgb(96, 96, 96)},
            {"background", QPoint(2, 2), preview.palette().color(QPalette::Window).rgb()},
        };
        for (const TProbe& p : probes)
            QVERIFY2(Distance(shot.pixel(p.At), p.Expected) <= 8,
                     qPrintable(QStringLiteral("%1 at (%2, %3): #%4, expected #%5")
                                    .arg(QLatin1String(p.What))
                                    .arg(p.At.x())
                                    .arg(p.At.y())
                                    .arg(shot.pixel(p.At) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                                    .arg(p.Expected & 0xFFFFFF, 6, 16, QLatin1Char('0'))));
        // The page is drawn afresh at every zoom: at 400% the 8-point line is 8 x 400% x 96/72 pixels thick.
        preview.SetZoom(400);
        Settle(preview);
        const QPoint mid = OnPage(preview, 550, 300);
        preview.SetHorzScrollPos(mid.x() - preview.PageRect(0).left() - 300);
        preview.SetVertScrollPos(mid.y() - preview.PageRect(0).top() - 300);
        Settle(preview);
        const QImage zoomed = Shot(preview);
        const QPoint centre = OnPage(preview, 550, 300);
        int thickness = 0;
        for (int y = centre.y() - 60; y <= centre.y() + 60; ++y)
            if (y >= 0 && y < zoomed.height() && Distance(zoomed.pixel(centre.x(), y), qRgb(0, 0, 255)) <= 8)
                ++thickness;
        const double expected = 8 * preview.ZoomScale();
        QVERIFY2(
            std::abs(thickness - expected) <= 2,
            qPrintable(QStringLiteral("line %1 pixels thick, expected %2").arg(thickness).arg(expected)));
    }

    void MalformedPageShowsAnErrorOnThePaper() {
        TPrintPreview preview;
        preview.resize(600, 700);
        preview.SetZoomState(zsZoomToFit);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        TCanvas& canvas = preview.BeginDoc();
        canvas.Rectangle(10, 10, 50, 50);
        preview.EndDoc();
        QByteArray damaged = preview.Pages().front();
        damaged.chop(20); // the end record is gone
        preview.SetPages({QByteArray(64, 'x'), damaged});
        Settle(preview);
        QCOMPARE(preview.PageCount(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY2(preview.PageError(i).startsWith(
                         QStringLiteral("The page is not a valid enhanced metafile: ")),
                     qPrintable(preview.PageError(i)));
        const QImage shot = Shot(preview);
        const QRect page = preview.PageRect(0).intersected(shot.rect());
        int errorPixels = 0;
        for (int y = page.top(); y <= page.bottom(); ++y)
            for (int x = page.left(); x <= page.right(); ++x)
                if (Distance(shot.pixel(x, y), qRgb(160, 0, 0)) <= 40) ++errorPixels;
        QVERIFY2(errorPixels > 20, "the page does not show its error");
    }
};

QTEST_MAIN(TPrintPreviewTest)
#include "PrintPreviewTest.moc"
