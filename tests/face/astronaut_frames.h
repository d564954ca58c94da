#pragma once

#include <QImage>
#include <QPainter>
#include <cmath>

#include "debian_photo.h"

namespace crinova::test {

// The astronaut portrait of python3-skimage, fetched at test time (null when it cannot be had).
// Her eyes, marked by hand on the 512 x 512 picture: (203, 101) and (247, 104).
inline QImage astronaut() {
    return QImage(debianPackageFile(
        QStringLiteral(CRINOVA_DEBIAN_PHOTOS), QStringLiteral("python3-skimage"),
        QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png")));
}

// A camera frame of `size`: a grey backdrop with the portrait scaled and placed so that her eyes'
// midpoint lands on `mid` and her eyes are `distance` apart.
inline QImage astronautFrame(const QImage& portrait, QSize size, QPointF mid, double distance) {
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(QColor(0x80, 0x80, 0x80));
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double k = distance / std::hypot(44.0, 3.0);
    painter.translate(mid);
    painter.scale(k, k);
    painter.translate(-QPointF(225, 102.5));
    painter.drawImage(0, 0, portrait);
    return frame;
}

}  // namespace crinova::test
