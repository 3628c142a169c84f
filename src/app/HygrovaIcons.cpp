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

// A small chart: the bottom and right axes and the saturation curve rising from the lower left.
void SaturationCurve(QPainter& p) {
    p.setPen(QPen(QColor(140, 140, 140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{QPointF(2.5, 20.5), QPointF(20.5, 20.5), QPointF(20.5, 3.5)});
    QPainterPath curve;
    curve.moveTo(2.5, 19.5);
    curve.cubicTo(7.5, 19.2, 10, 12.5, 11.5, 3.5);
    p.setPen(QPen(CurveColor, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve);
}

void StatePoint(QPainter& p, QPointF at, bool filled = false) {
    p.setPen(QPen(LineColor, 1.3));
    p.setBrush(filled ? LineColor : PointFill);
    p.drawEllipse(at, 2.2, 2.2);
}

void Line(QPainter& p, QPointF from, QPointF to, Qt::PenStyle style = Qt::SolidLine) {
    p.setPen(QPen(LineColor, 1.5, style, Qt::RoundCap));
    p.drawLine(from, to);
}

// The "add" mark in the lower right corner, over the corner of the axes.
void AddMark(QPainter& p) {
    const QPointF c(19.3, 19.3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 4.7, 4.7);
    p.setBrush(AddColor);
    p.drawEllipse(c, 3.9, 3.9);
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(c - QPointF(2.3, 0), c + QPointF(2.3, 0));
    p.drawLine(c - QPointF(0, 2.3), c + QPointF(0, 2.3));
}

} // namespace

QIcon AirStateIcon() {
    return Paint([](QPainter& p) {
        SaturationCurve(p);
        StatePoint(p, QPointF(14, 12), true);
        AddMark(p);
    });
}

QIcon ProcessIcon() {
    return Paint([](QPainter& p) {
        SaturationCurve(p);
        // A cooling coil: inlet upper right, outlet lower left, with the direction of the air.
        const QPointF in(17.5, 7), out(10.8, 14.5);
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
        const QPointF a(11.5, 16), b(17.5, 7);
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
        const QPointF in(18, 7.8), out(13.5, 10.5), adp(9.4, 13);
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
