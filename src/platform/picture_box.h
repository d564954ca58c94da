#pragma once

#include <QFrame>

#include "platform/surface.h"

namespace crinova {

// A visible picture box: shows a Surface inside a sunken border, one screen pixel per picture
// pixel, and reports the mouse in picture pixels.
class PictureBox : public QFrame {
    Q_OBJECT
  public:
    PictureBox(Surface& surface, QWidget* parent = nullptr);
    ~PictureBox() override;

    Surface& surface() { return surface_; }
    // Fits the widget to the surface's size.
    void fitToSurface();
    void setPointer(int code);
    int pointer() const { return pointer_; }

  signals:
    // `buttons` holds the buttons down (1 left, 2 right, 4 middle; at a press, every button held
    // with it), `shift` the modifier keys (1 Shift, 2 Ctrl, 4 Alt); x and y are picture pixels.
    void mouseDown(int buttons, int shift, double x, double y);
    void mouseMove(int buttons, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Surface& surface_;
    int pointer_ = 0;
};

}  // namespace crinova
