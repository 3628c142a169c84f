#pragma once
// Shared pieces of the EMF tests: a GUI application for the font database, a sample page drawn with
// every kind of canvas call, a renderer onto an image and a walker over the raw records.

#include "platform/TEmfCanvas.h"
#include "platform/TEmfPlayer.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// Fonts need a QGuiApplication; gtest's main does not make one.
class TGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "hyg_emf_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QGuiApplication> FApp;
};

// One application for the whole test program, whichever files it is built from.
inline ::testing::Environment* const GuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new TGuiEnvironment);

// Little-endian words, byte by byte.
inline std::uint32_t U32At(const QByteArray& bytes, std::uint32_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes.at(offset + static_cast<std::uint32_t>(i)));
    return v;
}

struct TRawRecord {
    std::uint32_t Offset;
    std::uint32_t Type;
    std::uint32_t Size;
};

// Records by their own size fields, without any checking (the streams are known to be sound).
inline std::vector<TRawRecord> RawRecords(const QByteArray& bytes) {
    std::vector<TRawRecord> records;
    std::uint32_t offset = 0;
    while (offset + 8 <= static_cast<std::uint32_t>(bytes.size())) {
        const TRawRecord r{offset, U32At(bytes, offset), U32At(bytes, offset + 4)};
        records.push_back(r);
        if (r.Size < 8) break;
        offset += r.Size;
    }
    return records;
}

inline void SetU32(QByteArray& bytes, std::uint32_t offset, std::uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

// A white image of the page at scale device pixels per page unit, with the page played onto it.
inline QImage Render(const QByteArray& page, double pageWidth, double pageHeight, double scale) {
    QImage image(static_cast<int>(pageWidth * scale), static_cast<int>(pageHeight * scale),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    const TEmfPlayer player(page);
    QPainter painter(&image);
    player.Play(painter, QTransform::fromScale(scale, scale));
    return image;
}

// A 2 x 2 picture: red, green on top; blue, yellow below.
inline QImage FourColourPicture() {
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 0));
    return picture;
}

// A page using every record the canvas writes.
inline QByteArray SamplePage(double width = 400, double height = 300) {
    TEmfCanvas canvas(width, height);
    canvas.SetPenStyle(2, clBlack);
    canvas.MoveTo(10, 10);
    canvas.LineTo(200, 10);
    canvas.LineTo(200, 100);
    canvas.SetBrush(TBrush{RGBColor(255, 0, 0), TBrushStyle::bsSolid});
    canvas.Ellipse(220, 20, 300, 80);
    canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
    canvas.Rectangle(20, 120, 120, 200);
    canvas.Arc(130, 120, 230, 220, 230, 170, 180, 120);
    canvas.SetPixel(350, 250, RGBColor(0, 0, 255));
    TFont font;
    font.Name = QStringLiteral("Arial");
    font.Size = 12;
    canvas.SetFont(font);
    canvas.TextOut(20, 220, QStringLiteral("25 °C"));
    font.Orientation = 900;
    canvas.SetFont(font);
    canvas.TextOut(380, 200, QStringLiteral("Up"));
    font.Orientation = 0;
    canvas.SetFont(font);
    canvas.TextRect(TRect{250, 100, 300, 120}, 250, 100, QStringLiteral("Clipped text"));
    canvas.StretchDraw(TRect{310, 20, 390, 100}, FourColourPicture());
    return canvas.Finish();
}
