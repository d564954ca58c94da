#include "platform/image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace crinova {

ImageControl::ImageControl(QWidget* parent, bool stretch) : QWidget(parent), stretch_(stretch) {}

void ImageControl::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void ImageControl::setStretch(bool stretch) {
    stretch_ = stretch;
    update();
}

void ImageControl::setFramed(bool framed) {
    framed_ = framed;
    update();
}

void ImageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (stretch_) {
            painter.drawImage(rect(), picture_);
        } else {
            painter.drawImage(QPoint(0, 0), picture_);
        }
    }
    if (framed_) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    // A click is the left button, as everywhere on the platform.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace crinova
