#include "main_window/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>

#include "main_window/toolbar_buttons.h"

namespace crinova {
namespace {

const QColor kInk(0x3a, 0x2c, 0x4a);
const QColor kSkin(0xe8, 0xb8, 0x96);
const QColor kPaper(0xfb, 0xf6, 0xe9);
const QColor kHair(0x8a, 0x4b, 0x22);
const QColor kGreen(0x2e, 0x9b, 0x45);
const QColor kRed(0xcc, 0x2b, 0x2b);
const QColor kBlue(0x2f, 0x6d, 0xc0);

void person(QPainter& p, QPointF at, double scale = 1.0) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawChord(QRectF(at.x() - 7 * scale, at.y() + 3 * scale, 14 * scale, 14 * scale), 0,
                180 * 16);
    p.setBrush(kSkin);
    p.drawEllipse(QRectF(at.x() - 4 * scale, at.y() - 5 * scale, 8 * scale, 8 * scale));
    p.setBrush(kHair);
    p.drawChord(QRectF(at.x() - 4 * scale, at.y() - 5 * scale, 8 * scale, 8 * scale), 0, 180 * 16);
}

void card(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(2.5, 4.5, 15, 15), 2, 2);
    p.setPen(QPen(kInk, 1.5));
    for (double y : {9.0, 12.5, 16.0}) {
        p.drawLine(QPointF(5, y), QPointF(14.5, y));
    }
}

void magnifier(QPainter& p, QPointF at) {
    p.setBrush(QColor(0xcf, 0xe6, 0xf7));
    p.setPen(QPen(kInk, 2));
    p.drawEllipse(at, 4.5, 4.5);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at + QPointF(3.5, 3.5), at + QPointF(7, 7));
}

void plus(QPainter& p, QPointF at, const QColor& colour) {
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at - QPointF(4, 0), at + QPointF(4, 0));
    p.drawLine(at - QPointF(0, 4), at + QPointF(0, 4));
}

void cross(QPainter& p, QPointF at) {
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at - QPointF(4, 4), at + QPointF(4, 4));
    p.drawLine(at + QPointF(-4, 4), at + QPointF(4, -4));
}

void downArrow(QPainter& p, QPointF at, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(at.x() - 2, at.y() - 6, 4, 6));
    p.drawPolygon(QPolygonF({at + QPointF(-5, 0), at + QPointF(5, 0), at + QPointF(0, 6)}));
}

void cylinder(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0xd9, 0xa4, 0x41));
    p.drawRect(QRectF(3.5, 6, 13, 12));
    p.drawEllipse(QRectF(3.5, 14, 13, 6));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(4, 7, 12, 10));
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0xf0, 0xcd, 0x7c));
    p.drawEllipse(QRectF(3.5, 3, 13, 6));
}

void photo(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0xc9, 0xe3, 0xf3));
    p.drawRect(QRectF(2.5, 3.5, 16, 14));
    person(p, QPointF(10.5, 10), 0.8);
}

void hairWave(QPainter& p) {
    QPainterPath hair;
    hair.moveTo(3, 19);
    hair.cubicTo(2, 6, 8, 2, 11, 2);
    hair.cubicTo(16, 2, 19, 7, 18, 12);
    hair.cubicTo(15, 8, 8, 8, 7, 19);
    hair.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kHair);
    p.drawPath(hair);
}

}  // namespace

QImage toolbarIcon(int button) {
    QImage icon(24, 24, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    switch (static_cast<BarButton>(button)) {
        case BarButton::NewClient:  // Nuevo Cliente
            person(p, QPointF(9, 8));
            plus(p, QPointF(18, 17), kGreen);
            break;
        case BarButton::SaveClient:  // Guardar Ficha Cliente
            card(p);
            downArrow(p, QPointF(18, 14), kGreen);
            break;
        case BarButton::DeleteClient:  // Eliminar Ficha Cliente
            card(p);
            cross(p, QPointF(18, 17));
            break;
        case BarButton::FindClient:  // Buscar Ficha Cliente
            person(p, QPointF(8, 7));
            magnifier(p, QPointF(14, 14));
            break;
        case BarButton::FindHair:  // Buscar Tipos de Cabello
            hairWave(p);
            magnifier(p, QPointF(14, 14));
            break;
        case BarButton::SavePhoto:  // Guardar Foto
            photo(p);
            downArrow(p, QPointF(18, 15), kGreen);
            break;
        case BarButton::Print: {  // Imprimir
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(6.5, 2.5, 11, 8));
            p.setBrush(QColor(0x8f, 0x96, 0xa3));
            p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);
            p.setBrush(kPaper);
            p.drawRect(QRectF(6.5, 14.5, 11, 7));
            p.setBrush(kGreen);
            p.drawEllipse(QRectF(17, 11, 2.5, 2.5));
            break;
        }
        case BarButton::SlideShow:  // Presentación
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(0x2b, 0x33, 0x45));
            p.drawRect(QRectF(2.5, 3.5, 19, 14));
            p.drawLine(QPointF(12, 17.5), QPointF(12, 21));
            p.drawLine(QPointF(8, 21.5), QPointF(16, 21.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xf2, 0xc1, 0x4e));
            p.drawPolygon(QPolygonF({QPointF(10, 7), QPointF(16, 10.5), QPointF(10, 14)}));
            break;
        case BarButton::Backup:  // Realizar Copia de Seguridad
            cylinder(p);
            downArrow(p, QPointF(18, 15), kBlue);
            break;
        case BarButton::RestoreDatabase:  // Restaurar Base de Datos
            cylinder(p);
            p.setPen(QPen(kGreen, 2.5, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(12, 11, 9, 9), 90 * 16, 270 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(kGreen);
            p.drawPolygon(QPolygonF({QPointF(16.5, 8.5), QPointF(20, 11), QPointF(16.5, 13.5)}));
            break;
        default:
            return {};
    }
    return icon;
}

}  // namespace crinova
