#pragma once

#include <QImage>
#include <QWidget>

namespace crinova {

// An image control: holds a picture or none and shows it, stretched to the control's size when
// `stretch` is on (otherwise at its natural size from the top-left). A click (the left button
// released over the control) is reported; the other buttons do nothing.
class ImageControl : public QWidget {
    Q_OBJECT
  public:
    explicit ImageControl(QWidget* parent = nullptr, bool stretch = true);

    void setPicture(const QImage& picture);
    void clearPicture() { setPicture(QImage()); }
    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& picture() const { return picture_; }
    void setStretch(bool stretch);
    // Draws a thin border around the picture area, as thumbnails do.
    void setFramed(bool framed);

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    bool stretch_;
    bool framed_ = false;
};

}  // namespace crinova
