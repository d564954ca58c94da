#include "main_window/window_icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace crinova {
namespace {

constexpr int kSize = 32;

// A rounded button face; the caller draws the symbol in white over it.
QImage buttonFace(QPainter& painter, QImage& icon) {
    icon = QImage(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    painter.begin(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, kSize);
    shade.setColorAt(0, QColor(0x9c, 0x5a, 0x8c));
    shade.setColorAt(1, QColor(0x5e, 0x2a, 0x55));
    painter.setPen(QPen(QColor(0x3c, 0x1a, 0x36), 1));
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    return icon;
}

QPolygonF triangle(double left, double width) {
    return QPolygonF({QPointF(left, 8), QPointF(left + width, 16), QPointF(left, 24)});
}

}  // namespace

QImage firstPageIcon() {
    QImage icon;
    QPainter painter;
    buttonFace(painter, icon);
    painter.drawRect(QRectF(7, 8, 3, 16));
    painter.drawPolygon(QPolygonF({QPointF(25, 8), QPointF(11, 16), QPointF(25, 24)}));
    painter.end();
    return icon;
}

QImage nextPageIcon() {
    QImage icon;
    QPainter painter;
    buttonFace(painter, icon);
    painter.drawPolygon(triangle(10, 14));
    painter.end();
    return icon;
}

QImage rotateIcon(bool counterClockwise) {
    QImage icon;
    QPainter painter;
    buttonFace(painter, icon);
    // Three quarters of a circle with an arrow head at its open end.
    QPainterPath arc;
    arc.arcMoveTo(QRectF(8, 8, 16, 16), 90);
    arc.arcTo(QRectF(8, 8, 16, 16), 90, -270);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(arc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({QPointF(16, 3), QPointF(22, 8), QPointF(16, 13)}));
    painter.end();
    return counterClockwise ? icon.mirrored(true, false) : icon;
}

}  // namespace crinova
