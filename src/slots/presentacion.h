#pragma once

#include <QWidget>

#include "platform/surface.h"

class QPushButton;

namespace crinova {

class ImageControl;
class PictureBox;

// What the slide-show window asks of the main window.
class PresentationHost {
  public:
    virtual ~PresentationHost() = default;
    // The window is closing, whichever way: stop the show and take the screen back.
    virtual void presentacionClosed() = 0;
};

// The slide-show window: the stored photos wiped in one after another on the left, the client's
// front reference photo on the right, the logo above and the way back below. Released on close.
class Presentacion : public QWidget {
    Q_OBJECT
  public:
    Presentacion(PresentationHost& host, QWidget* parent);
    ~Presentacion() override;

    // Places the two pictures at (25, 70) and (340, 70) with the main picture's inner size.
    void placePictures(int width, int height);

    Surface& fpresentacion() { return surface_; }
    PictureBox* fpresentacionBox() const { return fpresentacion_; }
    ImageControl* Fotooriginal() const { return Fotooriginal_; }
    ImageControl* logotipo() const { return logotipo_; }

    void btnvolver_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    PresentationHost& host_;
    Surface surface_;
    PictureBox* fpresentacion_ = nullptr;
    ImageControl* Fotooriginal_ = nullptr;
    ImageControl* logotipo_ = nullptr;
    QPushButton* btnvolver_ = nullptr;
    bool closed_ = false;
};

}  // namespace crinova
