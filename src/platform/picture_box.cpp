#include "platform/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/pointers.h"

namespace crinova {
namespace {

int buttonBits(Qt::MouseButtons buttons) {
    int bits = 0;
    if (buttons & Qt::LeftButton) {
        bits |= 1;
    }
    if (buttons & Qt::RightButton) {
        bits |= 2;
    }
    if (buttons & Qt::MiddleButton) {
        bits |= 4;
    }
    return bits;
}

int shiftBits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier) {
        bits |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        bits |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        bits |= 4;
    }
    return bits;
}

}  // namespace

PictureBox::PictureBox(Surface& surface, QWidget* parent) : QFrame(parent), surface_(surface) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setMouseTracking(true);
    surface_.setChangedCallback([this] { update(); });
    fitToSurface();
}

PictureBox::~PictureBox() {
    surface_.setChangedCallback({});
}

void PictureBox::fitToSurface() {
    const int border = frameWidth() * 2;
    setFixedSize(surface_.ScaleWidth() + border, surface_.ScaleHeight() + border);
}

void PictureBox::setPointer(int code) {
    pointer_ = code;
    setCursor(cursorFor(code));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), surface_.image());
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position() - contentsRect().topLeft();
    emit mouseDown(buttonBits(event->buttons()), shiftBits(event->modifiers()), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position() - contentsRect().topLeft();
    emit mouseMove(buttonBits(event->buttons()), shiftBits(event->modifiers()), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position() - contentsRect().topLeft();
    emit mouseUp(buttonBits(event->button()), shiftBits(event->modifiers()), at.x(), at.y());
}

}  // namespace crinova
