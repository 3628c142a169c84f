// Draws the chart's title-block logo (a stylised saturation curve over a light grid with the word
// Hygrova) and writes it as data/ChartLogo.gif. Developer tool: run it when the logo design changes.
//
//   hyg_chartlogo [output.gif [preview.png]]   (the preview is the GIF read back, enlarged 4×)

#include <gif_lib.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int Width = 160;
constexpr int Height = 80;

QImage DrawLogo() {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Plot area of the little chart, bottom-left origin.
    const QRectF box(8, 6, 144, 48);
    auto at = [&](double fx, double fy) {
        return QPointF(box.left() + fx * box.width(), box.bottom() - fy * box.height());
    };

    // A saturation-like curve: exponential growth, filled lightly underneath.
    auto saturation = [](double fx) { return 0.06 + 0.94 * (std::exp(2.6 * fx) - 1) / (std::exp(2.6) - 1); };
    QPainterPath curve;
    curve.moveTo(at(0, saturation(0)));
    for (int i = 1; i <= 60; ++i)
        curve.lineTo(at(i / 60.0, saturation(i / 60.0)));
    QPainterPath fill = curve;
    fill.lineTo(at(1, 0));
    fill.lineTo(at(0, 0));
    fill.closeSubpath();
    p.fillPath(fill, QColor(232, 238, 252));

    // Dry-bulb lines up to the curve.
    p.setPen(QPen(QColor(190, 198, 228), 1));
    for (int i = 1; i < 6; ++i)
        p.drawLine(at(i / 6.0, 0), at(i / 6.0, saturation(i / 6.0)));

    // Two relative-humidity style curves below the saturation curve.
    for (const double share : {0.5, 0.25}) {
        QPainterPath rh;
        rh.moveTo(at(0, share * saturation(0)));
        for (int i = 1; i <= 60; ++i)
            rh.lineTo(at(i / 60.0, share * saturation(i / 60.0)));
        p.setPen(QPen(QColor(255, 170, 170), 1.2));
        p.drawPath(rh);
    }
    p.setPen(QPen(QColor(220, 30, 30), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);

    // Axes.
    p.setPen(QPen(QColor(60, 60, 60), 1.6));
    p.drawLine(at(0, 0), at(1, 0));
    p.drawLine(at(1, 0), at(1, 1));

    // The word, bottom left, over the lower part of the chart.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(34, 52, 110));
    p.drawText(QRectF(0, 52, Width, Height - 52), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Hygrova"));
    p.end();
    return image;
}

bool WriteGif(const QImage& rgb, const char* path) {
    const QImage indexed =
        rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    const QList<QRgb> table = indexed.colorTable();
    int bits = 1;
    while ((1 << bits) < table.size())
        ++bits;
    std::vector<GifColorType> colors(1u << bits);
    for (int i = 0; i < table.size(); ++i)
        colors[i] =
            GifColorType{static_cast<GifByteType>(qRed(table[i])), static_cast<GifByteType>(qGreen(table[i])),
                         static_cast<GifByteType>(qBlue(table[i]))};
    ColorMapObject* map = GifMakeMapObject(1 << bits, colors.data());
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path, false, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return false;
    }
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(indexed.width());
    for (int y = 0; ok && y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        std::copy(line, line + indexed.width(), row.begin());
        ok = EGifPutLine(gif, row.data(), indexed.width()) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const char* out = argc > 1 ? argv[1] : "ChartLogo.gif";
    if (!WriteGif(DrawLogo(), out)) {
        std::fprintf(stderr, "Cannot write %s\n", out);
        return 1;
    }
    if (argc > 2) {
        const QImage back(QString::fromLocal8Bit(out), "GIF");
        if (back.isNull() || !back.scaled(back.size() * 4).save(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "Cannot read back %s\n", out);
            return 1;
        }
    }
    return 0;
}
