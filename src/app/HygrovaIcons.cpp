#include "app/HygrovaIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

// Pictures are drawn on a 24 x 24 grid.
constexpr int Grid = 24;

const QColor CurveColor(220, 60, 60);
const QColor LineColor(40, 70, 130);
const QColor PointFill(255, 255, 255);
const QColor AddColor(30, 140, 60);

using TPainterFn = std::function<void(QPainter&)>;

QIcon Paint(const TPainterFn& draw) {
    QIcon icon;
    for (const int scale : {1, 2, 3}) {
        QPixmap pixmap(Grid * scale, Grid * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(scale, scale);
            draw(p);
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

// The saturation curve across the picture, lower left to upper right.
void SaturationCurve(QPainter& p) {
    QPainterPath curve;
    curve.moveTo(2.5, 19.5);
    curve.cubicTo(10, 18.5, 14, 13, 16.5, 3);
    p.setPen(QPen(CurveColor, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    // The bottom of the chart.
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawLine(QPointF(2.5, 21.5), QPointF(21.5, 21.5));
}

void StatePoint(QPainter& p, QPointF at, bool filled = false) {
    p.setPen(QPen(LineColor, 1.4));
    p.setBrush(filled ? LineColor : PointFill);
    p.drawEllipse(at, 2.4, 2.4);
}

void Line(QPainter& p, QPointF from, QPointF to, Qt::PenStyle style = Qt::SolidLine) {
    p.setPen(QPen(LineColor, 1.6, style, Qt::RoundCap));
    p.drawLine(from, to);
}

// The "add" mark in the lower right corner.
void AddMark(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(18.5, 17.5), 5.5, 5.5);
    p.setBrush(AddColor);
    p.drawEllipse(QPointF(18.5, 17.5), 4.5, 4.5);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(16, 17.5), QPointF(21, 17.5));
    p.drawLine(QPointF(18.5, 15), QPointF(18.5, 20));
}

} // namespace

QIcon AirStateIcon() {
    return Paint([](QPainter& p) {
        SaturationCurve(p);
        StatePoint(p, QPointF(10, 10), true);
        AddMark(p);
    });
}

QIcon ProcessIcon() {
    return Paint([](QPainter& p) {
        SaturationCurve(p);
        // A cooling coil: inlet upper right, outlet lower left, with the direction of the air.
        const QPointF in(15.5, 8), out(6.5, 14.5);
        Line(p, in, out);
        QPainterPath head;
        const double angle = std::atan2(out.y() - in.y(), out.x() - in.x());
        const QPointF tip = out + QPointF(std::cos(angle), std::sin(angle)) * -3.2;
        head.moveTo(tip);
        head.lineTo(tip - QPointF(std::cos(angle - 0.5), std::sin(angle - 0.5)) * 4);
        head.lineTo(tip - QPointF(std::cos(angle + 0.5), std::sin(angle + 0.5)) * 4);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(LineColor);
        p.drawPath(head);
        StatePoint(p, in);
        StatePoint(p, out, true);
        AddMark(p);
    });
}

QIcon MixtureIcon() {
    return Paint([](QPainter& p) {
        SaturationCurve(p);
        // Two streams and the mixed state on the line between them.
        const QPointF a(6, 11), b(17, 6);
        Line(p, a, b);
        StatePoint(p, a);
        StatePoint(p, b);
        StatePoint(p, a + (b - a) * 0.6, true);
        AddMark(p);
    });
}

QIcon BypassIcon() {
    return Paint([](QPainter& p) {
        SaturationCurve(p);
        // Inlet, outlet and the coil's apparatus dew point on the saturation curve.
        const QPointF in(17, 8), out(10.5, 11.5), adp(6.5, 13.6);
        Line(p, in, out);
        Line(p, out, adp, Qt::DotLine);
        StatePoint(p, in);
        StatePoint(p, out, true);
        AddMark(p);
    });
}

QIcon BarometerIcon() {
    return Paint([](QPainter& p) {
        const QPointF centre(12, 12);
        p.setPen(QPen(QColor(90, 90, 90), 1.4));
        p.setBrush(QColor(250, 250, 246));
        p.drawEllipse(centre, 9.5, 9.5);
        // Scale ticks over the upper three quarters of the dial.
        p.setPen(QPen(QColor(90, 90, 90), 1.1, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i <= 8; ++i) {
            const double a = std::numbers::pi * (1.25 - 1.5 * i / 8.0);
            const QPointF dir(std::cos(a), -std::sin(a));
            p.drawLine(centre + dir * 6.3, centre + dir * 8.2);
        }
        const double needle = std::numbers::pi * 0.3;
        const QPointF dir(std::cos(needle), -std::sin(needle));
        p.setPen(QPen(CurveColor, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre - dir * 2, centre + dir * 7);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        p.drawEllipse(centre, 1.6, 1.6);
    });
}
