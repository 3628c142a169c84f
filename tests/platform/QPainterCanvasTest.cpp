// QPainterCanvas on a real QImage: font sizes, opaque and rotated text, arcs, fills, clipping and
// stretch-drawing, checked on the pixels.

#include "platform/QPainterCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "canvas_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QGuiApplication> FApp;
};
const ::testing::Environment* const QtEnv = ::testing::AddGlobalTestEnvironment(new QtGuiEnvironment);

QImage WhiteImage(int w = 200, int h = 200) {
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dpi
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

bool IsWhite(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Bounding box of the non-white pixels.
QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!IsWhite(image, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(QPainterCanvas, FontSizesArePointsOnTheDevice) {
    struct {
        double UnitsPerInch;
        int Points, Pixels;
    } const cases[] = {{0, 8, 11}, {0, 10, 13}, {72, 8, 8}, {144, 11, 22}};
    for (const auto& k : cases) {
        QImage image = WhiteImage();
        QPainter painter(&image);
        QPainterCanvas canvas(painter, k.UnitsPerInch);
        TFont f;
        f.Size = k.Points;
        EXPECT_EQ(canvas.QtFont(f).pixelSize(), k.Pixels) << k.Points << " pt at " << canvas.UnitsPerInch();
    }
}

TEST(QPainterCanvas, CourierNewIsAFixedPitchFaceAndAnExplicitCellKeepsItsSize) {
    QImage image = WhiteImage();
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    TFont f;
    f.Size = 8;
    canvas.SetFont(f);
    const int wX = canvas.TextWidth(QStringLiteral("X"));
    const int hX = canvas.TextHeight(QStringLiteral("X"));
    EXPECT_GT(wX, 3);
    EXPECT_NEAR(canvas.TextWidth(QStringLiteral("iiiiiiiiii")),
                canvas.TextWidth(QStringLiteral("MMMMMMMMMM")), 1);
    // The rotated font of the chart asks for the cell of "X"; it must come out the same size.
    TFont cell = f;
    cell.Height = hX;
    cell.Width = wX;
    cell.Orientation = 450;
    canvas.SetFont(cell);
    EXPECT_NEAR(canvas.TextHeight(QStringLiteral("X")), hX, 1);
    EXPECT_NEAR(canvas.TextWidth(QStringLiteral("X")), wX, 1);
}

TEST(QPainterCanvas, TextIsOpaqueWithASolidBrushAndTransparentWithAClearOne) {
    for (const TBrushStyle style : {TBrushStyle::bsSolid, TBrushStyle::bsClear}) {
        QImage image = WhiteImage();
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter);
            canvas.SetBrush(TBrush{RGBColor(255, 0, 0), style});
            canvas.TextOut(20, 30, QStringLiteral("...."));
        }
        // The top-left corner of the text cell is background, not ink.
        EXPECT_EQ(image.pixel(21, 31) == qRgb(255, 0, 0), style == TBrushStyle::bsSolid);
    }
}

TEST(QPainterCanvas, RotatedTextTurnsCounterClockwiseAboutItsTopLeftCorner) {
    QImage image = WhiteImage();
    int w = 0, h = 0;
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
        TFont f;
        f.Size = 10;
        canvas.SetFont(f);
        w = canvas.TextWidth(QStringLiteral("HHHHHH"));
        h = canvas.TextHeight(QStringLiteral("H"));
        f.Orientation = 900;
        canvas.SetFont(f);
        canvas.TextOut(100, 150, QStringLiteral("HHHHHH"));
    }
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isNull());
    // Reading upwards: the text runs from y = 150 up to 150 − w, its glyphs right of x = 100.
    EXPECT_GE(ink.left(), 99);
    EXPECT_LE(ink.right(), 100 + h);
    EXPECT_LE(ink.bottom(), 151);
    EXPECT_GE(ink.top(), 150 - w - 1);
    EXPECT_GT(ink.height(), ink.width()) << "vertical text";
}

TEST(QPainterCanvas, ArcRunsCounterClockwiseFromStartToEnd) {
    QImage image = WhiteImage();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetPen(TPen{1, clBlack});
        // From the left end counter-clockwise to the right end: the lower half.
        canvas.Arc(40, 40, 160, 160, 40, 100, 160, 100);
    }
    const QRect ink = InkBox(image);
    EXPECT_GE(ink.top(), 98) << "nothing above the centre";
    EXPECT_GE(ink.bottom(), 157);
    EXPECT_FALSE(IsWhite(image, 100, 159));
}

TEST(QPainterCanvas, EllipseAndRectangleAreFilledWithTheBrush) {
    QImage image = WhiteImage();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetPen(TPen{1, clBlack});
        canvas.SetBrush(TBrush{RGBColor(0, 0, 255), TBrushStyle::bsSolid});
        canvas.Ellipse(10, 10, 50, 50);
        canvas.SetBrush(TBrush{RGBColor(0, 0, 255), TBrushStyle::bsClear});
        canvas.Rectangle(100, 100, 150, 150);
        canvas.SetPixel(5, 190, RGBColor(0, 255, 0));
    }
    EXPECT_EQ(image.pixel(30, 30), qRgb(0, 0, 255));
    EXPECT_TRUE(IsWhite(image, 125, 125)) << "a clear brush leaves the inside alone";
    EXPECT_FALSE(IsWhite(image, 100, 125));
    EXPECT_EQ(image.pixel(5, 190), qRgb(0, 255, 0));
}

TEST(QPainterCanvas, TextRectClipsToItsRectangle) {
    QImage image = WhiteImage();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
        canvas.TextRect(TRect{20, 20, 60, 40}, 10, 22, QStringLiteral("MMMMMMMMMMMMMMMMMMMM"));
    }
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 20);
    EXPECT_LE(ink.right(), 59);
    EXPECT_GE(ink.top(), 20);
    EXPECT_LE(ink.bottom(), 39);
}

TEST(QPainterCanvas, StretchDrawScalesThePicture) {
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    QImage image = WhiteImage();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.StretchDraw(TRect{0, 0, 100, 50}, picture);
    }
    EXPECT_EQ(qRed(image.pixel(5, 25)), 255);
    EXPECT_EQ(qBlue(image.pixel(95, 25)), 255);
    EXPECT_TRUE(IsWhite(image, 50, 60)) << "nothing below the destination";
}

TEST(QPainterCanvas, LinesAreOnTheDeviceOnceTheCanvasIsDone) {
    QImage image = WhiteImage();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetPen(TPen{1, clBlack});
        canvas.MoveTo(10, 100);
        canvas.LineTo(190, 100);
        canvas.LineTo(190, 20);
        EXPECT_EQ(canvas.PenPos(), (TPoint{190, 20}));
    }
    EXPECT_EQ(image.pixel(100, 100), qRgb(0, 0, 0)) << "a 1-unit line covers whole pixels";
    EXPECT_EQ(image.pixel(190, 60), qRgb(0, 0, 0));
    EXPECT_TRUE(IsWhite(image, 100, 101));
}

} // namespace
