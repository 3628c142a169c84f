// Pages recorded through TEmfCanvas and played back by TEmfPlayer: what lands on the image, and how the
// records look to libUEMF.

#include "EmfTestSupport.h"

#include "platform/EmfFont.h"

#include <uemf.h>
#include <uemf_endian.h>
#include <uemf_safe.h>

#include <QFontInfo>

#include <cmath>

namespace {

bool IsInk(QRgb c) {
    return qGray(c) < 128;
}

// Bounding box of the dark pixels inside the region (empty when there are none).
QRect InkBox(const QImage& image, const QRect& region) {
    QRect box;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (IsInk(image.pixel(x, y))) box = box.united(QRect(x, y, 1, 1));
    return box;
}

// Colour distance, largest channel difference.
int Distance(QRgb a, QRgb b) {
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

TFont Arial(int size) {
    TFont f;
    f.Name = QStringLiteral("Arial");
    f.Size = size;
    return f;
}

std::vector<std::uint32_t> TypesOf(const QByteArray& bytes) {
    std::vector<std::uint32_t> types;
    for (const TRawRecord& r : RawRecords(bytes))
        types.push_back(r.Type);
    return types;
}

std::vector<TRawRecord> RecordsOfType(const QByteArray& bytes, std::uint32_t type) {
    std::vector<TRawRecord> found;
    for (const TRawRecord& r : RawRecords(bytes))
        if (r.Type == type) found.push_back(r);
    return found;
}

} // namespace

TEST(EmfRoundTrip, ShapesLandWhereTheyWereDrawn) {
    TEmfCanvas canvas(400, 300);
    canvas.SetPenStyle(3, clBlack);
    canvas.MoveTo(20, 20);
    canvas.LineTo(200, 20);
    canvas.SetPenStyle(1, RGBColor(0, 0, 255));
    canvas.SetBrush(TBrush{RGBColor(255, 0, 0), TBrushStyle::bsSolid});
    canvas.Ellipse(250, 50, 350, 150);
    canvas.SetPenStyle(2, RGBColor(0, 128, 0));
    canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
    canvas.Rectangle(20, 200, 120, 280);
    canvas.SetPixel(380, 280, RGBColor(255, 0, 255));
    const QImage image = Render(canvas.Finish(), 400, 300, 2);

    struct TProbe {
        const char* What;
        QPoint Page;
        QRgb Expected;
    };
    const TProbe probes[] = {
        {"on the line", {100, 20}, qRgb(0, 0, 0)},
        {"above the line", {100, 24}, qRgb(255, 255, 255)},
        {"ellipse centre", {300, 100}, qRgb(255, 0, 0)},
        {"box corner outside the ellipse", {253, 53}, qRgb(255, 255, 255)},
        {"rectangle edge", {20, 240}, qRgb(0, 128, 0)},
        {"inside the unfilled rectangle", {70, 240}, qRgb(255, 255, 255)},
        {"pixel", {380, 280}, qRgb(255, 0, 255)},
        {"beside the pixel", {383, 280}, qRgb(255, 255, 255)},
    };
    for (const TProbe& p : probes) {
        // The device pixel at the centre of the page unit.
        const QRgb actual = image.pixel(p.Page.x() * 2 + 1, p.Page.y() * 2 + 1);
        EXPECT_LE(Distance(actual, p.Expected), 40)
            << p.What << ": expected #" << std::hex << p.Expected << ", got #" << actual;
    }
}

TEST(EmfRoundTrip, ArcsRunCounterClockwiseBetweenTheRays) {
    TEmfCanvas canvas(400, 300);
    canvas.SetPenStyle(3, clBlack);
    // Circle of radius 50 about (200, 150): the quarter from three o'clock to twelve o'clock.
    canvas.Arc(150, 100, 250, 200, 250, 150, 200, 100);
    // Ellipse 200 x 100 about (200, 150) from the ray through its top-right box corner to nine o'clock:
    // the ray meets the ellipse at parameter 45 degrees, at a true angle of 26.6 degrees.
    canvas.Arc(100, 100, 300, 200, 300, 100, 0, 150);
    const QImage image = Render(canvas.Finish(), 400, 300, 2);
    const auto inkAt = [&](double x, double y) {
        return !InkBox(image, QRect(static_cast<int>(x * 2) - 2, static_cast<int>(y * 2) - 2, 5, 5))
                    .isEmpty();
    };
    const double d = 50 * std::cos(M_PI / 4);
    EXPECT_TRUE(inkAt(200 + d, 150 - d)) << "circle at 45 degrees";
    EXPECT_FALSE(inkAt(200 - d, 150 + d)) << "circle at 225 degrees";
    EXPECT_FALSE(inkAt(200 + d, 150 + d)) << "circle at 315 degrees";
    // Point of the ellipse at a true angle of 35 degrees: inside the arc only if the start ray was
    // honoured where it crosses the ellipse.
    const double t = std::atan(std::tan(35 * M_PI / 180) * 2); // parameter of that point
    EXPECT_TRUE(inkAt(200 + 100 * std::cos(t), 150 - 50 * std::sin(t))) << "ellipse at 35 degrees";
    EXPECT_FALSE(inkAt(200 + 100 * std::cos(0.2), 150 - 50 * std::sin(0.2)))
        << "ellipse before the start ray";
}

TEST(EmfRoundTrip, MeasuredWidthIsTheDrawnAdvanceAtEveryScale) {
    TEmfCanvas canvas(400, 300);
    canvas.SetFont(Arial(20));
    const int w = canvas.TextWidth(QStringLiteral("H"));
    const int ascent = static_cast<int>(std::lround(TEmfFontMetrics(EmfLogFontOf(Arial(20), 72)).Ascent()));
    // One "HH" string above two "H" placed by the measured width: both pairs end at the same place.
    canvas.TextOut(50, 50, QStringLiteral("HH"));
    canvas.TextOut(50, 150, QStringLiteral("H"));
    canvas.TextOut(50 + w, 150, QStringLiteral("H"));
    const QByteArray page = canvas.Finish();
    double pairWidthAtFirstScale = 0;
    for (const double scale : {1.0, 2.5, 4.0}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        const QImage image = Render(page, 400, 300, scale);
        const QRect pair =
            InkBox(image, QRect(QPoint(0, int(45 * scale)), QPoint(int(399 * scale), int(100 * scale))));
        const QRect twice =
            InkBox(image, QRect(QPoint(0, int(145 * scale)), QPoint(int(399 * scale), int(200 * scale))));
        ASSERT_FALSE(pair.isEmpty());
        ASSERT_FALSE(twice.isEmpty());
        // Tolerance: one device pixel of glyph placement plus the rounding of w to whole units.
        EXPECT_NEAR(twice.right() / scale, pair.right() / scale, 1.0 / scale + 0.5)
            << "string end " << pair.right() / scale << ", measured placement end " << twice.right() / scale;
        EXPECT_NEAR(pair.left() / scale, twice.left() / scale, 1.0 / scale);
        // The baseline of a top-left placed text lies one ascent below its top.
        EXPECT_NEAR((pair.bottom() + 1) / scale, 50 + ascent, 1.0 / scale + 0.5);
        const double pairWidth = (pair.width()) / scale;
        if (scale == 1.0)
            pairWidthAtFirstScale = pairWidth;
        else
            EXPECT_NEAR(pairWidth, pairWidthAtFirstScale, 1.5)
                << "ink width in page units depends on the zoom";
    }
}

TEST(EmfRoundTrip, RotatedTextTurnsCounterClockwiseAboutItsTopLeft) {
    TEmfCanvas canvas(400, 300);
    TFont font = Arial(20);
    font.Orientation = 900;
    canvas.SetFont(font);
    const int w = canvas.TextWidth(QStringLiteral("HHHH"));
    const int h = canvas.TextHeight(QStringLiteral("HHHH"));
    canvas.TextOut(100, 250, QStringLiteral("HHHH"));
    const QImage image = Render(canvas.Finish(), 400, 300, 2);
    const QRect ink = InkBox(image, image.rect());
    ASSERT_FALSE(ink.isEmpty());
    // Reading upwards from (100, 250): the text runs up to y = 250 - w, its glyphs lie right of x = 100.
    EXPECT_GE(ink.left() / 2.0, 100 - 1.0);
    EXPECT_LE((ink.right() + 1) / 2.0, 100 + h + 1.0);
    EXPECT_LE((ink.bottom() + 1) / 2.0, 250 + 1.0);
    EXPECT_GE(ink.top() / 2.0, 250 - w - 1.0);
    EXPECT_GT(ink.height(), 2 * ink.width()) << "the text did not turn";
}

TEST(EmfRoundTrip, ClippedTextStaysInsideItsRectangle) {
    TEmfCanvas canvas(400, 300);
    canvas.SetFont(Arial(20));
    canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
    canvas.TextRect(TRect{50, 50, 80, 100}, 50, 50, QStringLiteral("HHHHHHHH"));
    const QImage image = Render(canvas.Finish(), 400, 300, 2);
    const QRect ink = InkBox(image, image.rect());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 100);
    EXPECT_LE(ink.right(), 160);
}

TEST(EmfRoundTrip, SolidBrushGivesTextABackgroundBox) {
    TEmfCanvas canvas(400, 300);
    canvas.SetFont(Arial(20));
    canvas.SetBrush(TBrush{RGBColor(0, 255, 255), TBrushStyle::bsSolid});
    canvas.TextOut(50, 50, QStringLiteral("H"));
    canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
    canvas.TextOut(50, 150, QStringLiteral("H"));
    const QImage image = Render(canvas.Finish(), 400, 300, 2);
    // Just inside the cell's top-left corner: box colour with the solid brush, paper with the clear one.
    EXPECT_LE(Distance(image.pixel(102, 102), qRgb(0, 255, 255)), 10);
    EXPECT_LE(Distance(image.pixel(102, 302), qRgb(255, 255, 255)), 10);
}

TEST(EmfRoundTrip, StretchedPictureKeepsItsOrientationAndTransparency) {
    TEmfCanvas canvas(400, 300);
    canvas.StretchDraw(TRect{300, 200, 400, 300}, FourColourPicture());
    canvas.SetPenStyle(1, clBlack);
    canvas.SetBrush(TBrush{clBlack, TBrushStyle::bsSolid});
    canvas.Rectangle(0, 0, 100, 100);
    // Transparent but for its bottom-right pixel.
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(255, 0, 0, 0));
    clear.setPixel(3, 3, qRgba(0, 0, 255, 255));
    canvas.StretchDraw(TRect{0, 0, 100, 100}, clear);
    const QByteArray page = canvas.Finish();
    const QImage image = Render(page, 400, 300, 1);
    EXPECT_LE(Distance(image.pixel(325, 225), qRgb(255, 0, 0)), 10) << "top left";
    EXPECT_LE(Distance(image.pixel(375, 225), qRgb(0, 255, 0)), 10) << "top right";
    EXPECT_LE(Distance(image.pixel(325, 275), qRgb(0, 0, 255)), 10) << "bottom left";
    EXPECT_LE(Distance(image.pixel(375, 275), qRgb(255, 255, 0)), 10) << "bottom right";
    EXPECT_LE(Distance(image.pixel(40, 40), qRgb(0, 0, 0)), 10) << "transparent pixels covered the page";
    EXPECT_LE(Distance(image.pixel(90, 90), qRgb(0, 0, 255)), 10) << "the opaque pixel";

    const auto pictures = RecordsOfType(page, U_EMR_STRETCHDIBITS);
    ASSERT_EQ(pictures.size(), 2u);
    const auto bitsOf = [&](const TRawRecord& r) {
        U_EMRSTRETCHDIBITS rec;
        std::memcpy(&rec, page.constData() + r.Offset, sizeof rec);
        U_BITMAPINFOHEADER bih;
        std::memcpy(&bih, page.constData() + r.Offset + rec.offBmiSrc, sizeof bih);
        return bih.biBitCount;
    };
    EXPECT_EQ(bitsOf(pictures[0]), 24) << "opaque pictures are 24-bit DIBs";
    EXPECT_EQ(bitsOf(pictures[1]), 32) << "transparent pictures are 32-bit DIBs";
}

TEST(EmfRecords, EveryRecordPassesLibUemfAndTheHeaderDescribesTheStream) {
    const QByteArray page = SamplePage(841.89, 595.28);
    const auto records = RawRecords(page);
    ASSERT_GE(records.size(), 3u);
    const char* end = page.constData() + page.size();
    for (const TRawRecord& r : records) {
        const char* rec = page.constData() + r.Offset;
        std::uint32_t size = 0, type = 0;
        EXPECT_EQ(U_emf_record_sizeok(rec, end, &size, &type, 1), 1) << "type " << r.Type;
        EXPECT_EQ(U_emf_record_safe(rec), 1) << "type " << r.Type;
        EXPECT_EQ(r.Size % 4, 0u);
    }
    EXPECT_EQ(records.front().Type, static_cast<std::uint32_t>(U_EMR_HEADER));
    EXPECT_EQ(records.back().Type, static_cast<std::uint32_t>(U_EMR_EOF));
    EXPECT_EQ(records.back().Offset + records.back().Size, static_cast<std::uint32_t>(page.size()));

    U_EMRHEADER h;
    std::memcpy(&h, page.constData(), sizeof h);
    EXPECT_EQ(h.dSignature, static_cast<std::uint32_t>(U_ENHMETA_SIGNATURE));
    EXPECT_EQ(h.nBytes, static_cast<std::uint32_t>(page.size()));
    EXPECT_EQ(h.nRecords, records.size());
    EXPECT_EQ(h.szlDevice.cx, 842);
    EXPECT_EQ(h.szlDevice.cy, 595);
    EXPECT_EQ(h.szlMillimeters.cx, 297);
    EXPECT_EQ(h.szlMillimeters.cy, 210);
    EXPECT_EQ(h.rclFrame.right, 29699);
    EXPECT_EQ(h.rclFrame.bottom, 20999);
    EXPECT_GE(h.nHandles, 4); // pen, brush and font, slot 0 reserved
    // The drawing bounds cover what was drawn: the line from (10, 10) to the picture's right edge.
    EXPECT_LE(h.rclBounds.left, 10);
    EXPECT_LE(h.rclBounds.top, 10);
    EXPECT_GE(h.rclBounds.right, 389);

    const TEmfPlayer player(page);
    EXPECT_EQ(player.RecordTypes(), TypesOf(page));
    EXPECT_NEAR(player.UnitsPerInch(), 72.0, 1e-3);
    EXPECT_NEAR(player.PageSize().width(), 841.89, 0.05);
    EXPECT_NEAR(player.PageSize().height(), 595.28, 0.05);
    EXPECT_EQ(player.Header().Description, QString::fromUtf16(u"Hygrova\0Print preview page\0", 28));
}

TEST(EmfRecords, ObjectsAreWrittenOnlyWhenADrawingNeedsAChangedOne) {
    TEmfCanvas canvas(400, 300);
    canvas.SetPenStyle(2, clBlack);
    canvas.SetPenStyle(3, clBlack); // never drawn with
    canvas.SetPenStyle(2, clBlack);
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 10);
    canvas.LineTo(20, 0);
    canvas.SetPenStyle(1, RGBColor(255, 0, 0));
    canvas.Ellipse(0, 0, 10, 10);
    canvas.SetFont(Arial(10));
    canvas.TextOut(0, 0, QStringLiteral("a"));
    canvas.TextOut(0, 20, QStringLiteral("b"));
    const std::vector<std::uint32_t> expected{
        U_EMR_HEADER,
        U_EMR_SETBKMODE,
        U_EMR_MOVETOEX,
        U_EMR_CREATEPEN,
        U_EMR_SELECTOBJECT,
        U_EMR_LINETO,
        U_EMR_LINETO,
        U_EMR_CREATEPEN,
        U_EMR_SELECTOBJECT,
        U_EMR_DELETEOBJECT,
        U_EMR_CREATEBRUSHINDIRECT,
        U_EMR_SELECTOBJECT,
        U_EMR_ELLIPSE,
        U_EMR_EXTCREATEFONTINDIRECTW,
        U_EMR_SELECTOBJECT,
        U_EMR_SETTEXTCOLOR,
        U_EMR_SETBKMODE,
        U_EMR_SETBKCOLOR,
        U_EMR_EXTTEXTOUTW,
        U_EMR_EXTTEXTOUTW,
        U_EMR_SELECTOBJECT,
        U_EMR_DELETEOBJECT,
        U_EMR_SELECTOBJECT,
        U_EMR_DELETEOBJECT,
        U_EMR_SELECTOBJECT,
        U_EMR_DELETEOBJECT,
        U_EMR_EOF,
    };
    EXPECT_EQ(TypesOf(canvas.Finish()), expected);
}

TEST(EmfRecords, FontRecordCarriesTheCanvasFont) {
    struct TCase {
        const char* What;
        TFont Font;
        int Height, Width, Angle, Weight;
        bool Italic, Underline, StrikeOut;
        std::uint8_t Pitch;
    };
    TFont plain = Arial(12);
    TFont styled = plain;
    styled.Style = fsBold | fsItalic | fsUnderline;
    styled.Orientation = 450;
    TFont rotated;
    rotated.Name = QStringLiteral("Courier New");
    rotated.Height = 11;
    rotated.Width = 6;
    rotated.Orientation = -300;
    rotated.Weight = 300;
    rotated.Style = fsStrikeOut;
    rotated.Pitch = TFontPitch::fpFixed;
    const TCase cases[] = {
        {"plain", plain, -12, 0, 0, 400, false, false, false, U_DEFAULT_PITCH},
        {"bold italic underlined at 45 degrees", styled, -12, 0, 450, 700, true, true, false,
         U_DEFAULT_PITCH},
        {"explicit cell, light, fixed pitch", rotated, 11, 6, -300, 300, false, false, true, U_FIXED_PITCH},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TEmfCanvas canvas(400, 300);
        canvas.SetFont(c.Font);
        canvas.TextOut(10, 10, QStringLiteral("x"));
        const QByteArray page = canvas.Finish();
        const auto fonts = RecordsOfType(page, U_EMR_EXTCREATEFONTINDIRECTW);
        ASSERT_EQ(fonts.size(), 1u);
        U_LOGFONT lf;
        std::memcpy(&lf, page.constData() + fonts[0].Offset + 12, sizeof lf);
        EXPECT_EQ(lf.lfHeight, c.Height);
        EXPECT_EQ(lf.lfWidth, c.Width);
        EXPECT_EQ(lf.lfEscapement, c.Angle);
        EXPECT_EQ(lf.lfOrientation, c.Angle);
        EXPECT_EQ(lf.lfWeight, c.Weight);
        EXPECT_EQ(lf.lfItalic != 0, c.Italic);
        EXPECT_EQ(lf.lfUnderline != 0, c.Underline);
        EXPECT_EQ(lf.lfStrikeOut != 0, c.StrikeOut);
        EXPECT_EQ(lf.lfPitchAndFamily & 3, c.Pitch);
        EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(lf.lfFaceName)), c.Font.Name);
        EXPECT_EQ(DecodeLogFont(&lf), EmfLogFontOf(c.Font, 72));
    }
}

TEST(EmfRecords, TextRecordsHoldUtf16TextSpacingAndClip) {
    TEmfCanvas canvas(400, 300);
    canvas.SetFont(Arial(12));
    canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
    const QString text = QStringLiteral("25 °C ± 3 g/kg");
    canvas.TextOut(10, 20, text);
    canvas.TextRect(TRect{5, 6, 50, 40}, 10, 20, text);
    const int width = canvas.TextWidth(text);
    const QByteArray page = canvas.Finish();
    const auto texts = RecordsOfType(page, U_EMR_EXTTEXTOUTW);
    ASSERT_EQ(texts.size(), 2u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i == 0 ? "TextOut" : "TextRect");
        const char* rec = page.constData() + texts[i].Offset;
        U_EMREXTTEXTOUTW r;
        std::memcpy(&r, rec, sizeof r);
        EXPECT_EQ(r.emrtext.ptlReference.x, 10);
        EXPECT_EQ(r.emrtext.ptlReference.y, 20);
        ASSERT_EQ(r.emrtext.nChars, static_cast<std::uint32_t>(text.size()));
        QString stored(text.size(), Qt::Uninitialized);
        std::memcpy(stored.data(), rec + r.emrtext.offString, 2 * static_cast<std::size_t>(text.size()));
        EXPECT_EQ(stored, text);
        const bool clipped = i == 1;
        EXPECT_EQ((r.emrtext.fOptions & U_ETO_CLIPPED) != 0, clipped);
        EXPECT_EQ((r.emrtext.fOptions & U_ETO_NO_RECT) != 0, !clipped);
        const std::size_t offDxField = sizeof(U_EMREXTTEXTOUTW) + (clipped ? sizeof(U_RECTL) : 0);
        if (clipped) {
            U_RECTL clip;
            std::memcpy(&clip, rec + sizeof(U_EMREXTTEXTOUTW), sizeof clip);
            EXPECT_EQ(clip.left, 5);
            EXPECT_EQ(clip.top, 6);
            EXPECT_EQ(clip.right, 50);
            EXPECT_EQ(clip.bottom, 40);
        }
        const std::uint32_t offDx = U32At(page, texts[i].Offset + static_cast<std::uint32_t>(offDxField));
        long sum = 0;
        for (qsizetype k = 0; k < text.size(); ++k)
            sum += static_cast<std::int32_t>(
                U32At(page, texts[i].Offset + offDx + 4 * static_cast<std::uint32_t>(k)));
        EXPECT_EQ(sum, width) << "the character spacing adds up to the measured width";
    }
}

TEST(EmfFonts, PlatformFontNamesResolveToMetricCompatibleFaces) {
    // The chart's layout relies on Arial and Courier New metrics; fontconfig maps them to Liberation.
    for (const char* name : {"Arial", "Courier New"}) {
        const TEmfFontMetrics m(EmfLogFontOf(TFont{QString::fromLatin1(name), 12}, 72));
        const QString family = QFontInfo(m.ReferenceFont()).family();
        EXPECT_TRUE(family.contains(QLatin1String(name)) || family.startsWith(QLatin1String("Liberation")))
            << name << " resolved to " << family.toStdString();
    }
    // Courier New is fixed pitch: 0.6 em per character.
    const TEmfFontMetrics courier(EmfLogFontOf(TFont{QStringLiteral("Courier New"), 10}, 72));
    EXPECT_NEAR(courier.Advance(QStringLiteral("0123456789")), 60.0, 0.1);
    EXPECT_NEAR(courier.EmHeight(), 10.0, 1e-9);
}
