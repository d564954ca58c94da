#include "logo.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "paint_utils.h"

namespace crinova::samples {

namespace {

const QColor kInk(0x2d, 0x2a, 0x2e);
const QColor kGoldDark(0xa1, 0x7a, 0x38);
const QColor kPaper(0xfb, 0xf8, 0xf3);

QLinearGradient goldBrush(const QPointF& from, const QPointF& to) {
    QLinearGradient gold(from, to);
    gold.setColorAt(0.0, QColor(0x9c, 0x74, 0x31));
    gold.setColorAt(0.45, QColor(0xe9, 0xcb, 0x7c));
    gold.setColorAt(1.0, QColor(0xa7, 0x7b, 0x33));
    return gold;
}

void paintEmblem(QPainter& p, const QPointF& centre) {
    const QLinearGradient gold = goldBrush(centre - QPointF(70, 70), centre + QPointF(70, 70));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(gold), 3.0));
    p.drawEllipse(centre, 76, 76);
    p.setPen(QPen(QBrush(gold), 1.0));
    p.drawEllipse(centre, 69, 69);

    // A lock of hair flowing behind the scissors: tapered strokes along one S curve.
    p.save();
    p.translate(centre);
    for (int k = 0; k < 3; ++k) {
        const QPointF shift(k * 6.0, k * 1.0);
        QPainterPath spine;
        spine.moveTo(QPointF(-22, -56) + shift);
        spine.cubicTo(QPointF(-74, -20) + shift, QPointF(-4, 16) + shift, QPointF(-42, 54) + shift);
        QPolygonF left;
        QPolygonF right;
        for (int i = 0; i <= 40; ++i) {
            const double t = i / 40.0;
            const double angle = spine.angleAtPercent(t) * 3.14159265 / 180.0;
            const QPointF normal(std::sin(angle), std::cos(angle));
            const double half = (3.2 - k * 0.9) * std::pow(std::sin(3.14159265 * t), 0.8);
            left << spine.pointAtPercent(t) + normal * half;
            right.prepend(spine.pointAtPercent(t) - normal * half);
        }
        QPainterPath lock;
        lock.addPolygon(left + right);
        lock.closeSubpath();
        p.fillPath(lock, withAlpha(kInk, 0.85 - k * 0.25));
    }
    p.translate(12, 0);
    p.scale(1.12, 1.12);

    for (int side : {-1, 1}) {
        p.save();
        p.rotate(side * 24.0);
        QPainterPath blade;
        blade.moveTo(3.5, 6);
        blade.cubicTo(6, -14, 3.5, -40, 0, -58);
        blade.cubicTo(-2.5, -40, -6.5, -14, -4.5, 6);
        blade.closeSubpath();
        p.fillPath(blade, gold);
        p.strokePath(blade, QPen(kGoldDark.darker(115), 0.8));
        QPainterPath shank;
        shank.moveTo(0, 6);
        shank.quadTo(side * 1.5, 16, 0, 26);
        p.strokePath(shank, QPen(QBrush(gold), 4.0, Qt::SolidLine, Qt::RoundCap));
        p.setPen(QPen(QBrush(gold), 3.5));
        p.drawEllipse(QPointF(0, 38), 10, 12.5);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kGoldDark.darker(120));
    p.drawEllipse(QPointF(0, 0), 4.0, 4.0);
    p.setBrush(withAlpha(Qt::white, 0.7));
    p.drawEllipse(QPointF(-1.0, -1.0), 1.2, 1.2);
    p.restore();
}

// Stroked capitals for machines without any font, so the name still shows.
QPainterPath strokedLetter(QChar letter, double w, double h) {
    QPainterPath path;
    switch (letter.toLatin1()) {
        case 'C':
            path.arcMoveTo(0, 0, w, h, 45);
            path.arcTo(0, 0, w, h, 45, 270);
            break;
        case 'R':
            path.moveTo(0, h);
            path.lineTo(0, 0);
            path.lineTo(w * 0.55, 0);
            path.arcTo(w * 0.3, 0, w * 0.5, h * 0.5, 90, -180);
            path.lineTo(0, h * 0.5);
            path.moveTo(w * 0.45, h * 0.5);
            path.lineTo(w, h);
            break;
        case 'I':
            path.moveTo(w * 0.5, 0);
            path.lineTo(w * 0.5, h);
            break;
        case 'N':
            path.moveTo(0, h);
            path.lineTo(0, 0);
            path.lineTo(w, h);
            path.lineTo(w, 0);
            break;
        case 'O':
            path.addEllipse(0, 0, w, h);
            break;
        case 'V':
            path.moveTo(0, 0);
            path.lineTo(w / 2.0, h);
            path.lineTo(w, 0);
            break;
        case 'A':
            path.moveTo(0, h);
            path.lineTo(w / 2.0, 0);
            path.lineTo(w, h);
            path.moveTo(w * 0.22, h * 0.64);
            path.lineTo(w * 0.78, h * 0.64);
            break;
        default:
            break;
    }
    return path;
}

void paintStrokedName(QPainter& p, const QString& name, const QRectF& box) {
    const double h = box.height() * 0.6;
    const double w = h * 0.7;
    const double gap = h * 0.35;
    const double total = name.size() * w + (name.size() - 1) * gap;
    double x = box.center().x() - total / 2.0;
    for (QChar letter : name) {
        const QPainterPath glyph =
            strokedLetter(letter, w, h).translated(x, box.center().y() - h / 2.0);
        p.strokePath(glyph, QPen(kInk, h * 0.08, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        x += w + gap;
    }
}

}  // namespace

QImage drawLogo() {
    QImage image(700, 200, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    paintEmblem(p, QPointF(106, 100));

    const QString name = QStringLiteral("CRINOVA");
    const QRectF nameBox(205, 30, 470, 90);
    const QStringList families = QFontDatabase::families();
    if (families.isEmpty()) {
        paintStrokedName(p, name, nameBox);
        return image;
    }
    const QString family = families.contains(QStringLiteral("DejaVu Serif"))
                               ? QStringLiteral("DejaVu Serif")
                               : QFont().family();
    QFont title(family);
    title.setPixelSize(74);
    title.setLetterSpacing(QFont::PercentageSpacing, 114);
    p.setFont(title);
    p.setPen(kInk);
    p.drawText(nameBox, Qt::AlignHCenter | Qt::AlignBottom, name);

    // A gold rule with a small diamond between the name and the tagline.
    const double ruleY = 134.0;
    const QLinearGradient gold = goldBrush(QPointF(230, ruleY), QPointF(650, ruleY));
    p.setPen(QPen(QBrush(gold), 1.4));
    p.drawLine(QPointF(250, ruleY), QPointF(425, ruleY));
    p.drawLine(QPointF(455, ruleY), QPointF(630, ruleY));
    QPainterPath diamond;
    diamond.moveTo(440, ruleY - 6);
    diamond.lineTo(446, ruleY);
    diamond.lineTo(440, ruleY + 6);
    diamond.lineTo(434, ruleY);
    diamond.closeSubpath();
    p.fillPath(diamond, gold);

    QFont tagline(family);
    tagline.setPixelSize(28);
    tagline.setItalic(true);
    tagline.setLetterSpacing(QFont::PercentageSpacing, 106);
    p.setFont(tagline);
    p.setPen(kGoldDark);
    p.drawText(QRectF(205, 142, 470, 44), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Peluquería"));
    return image;
}

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing);
    // The emblem and its rings fill a 160 unit square; a paper disc behind them keeps the gold
    // readable on dark panels.
    p.scale(size / 160.0, size / 160.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(80, 80), 78, 78);
    paintEmblem(p, QPointF(80, 80));
    return image;
}

}  // namespace crinova::samples
