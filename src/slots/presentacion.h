#pragma once

#include <QWidget>

#include "platform/modeless_window.h"
#include "platform/surface.h"

class QPushButton;

namespace crinova {

class ImageControl;
class PictureBox;

// The slide-show window: the stored photos wiped in one after another on the left, the client's
// front reference photo on the right, the logo above and the way back below. Released on close.
class Presentacion : public QWidget {
    Q_OBJECT
  public:
    explicit Presentacion(QWidget* parent);
    ModelessClose& modelessClose() { return *close_; }
    ~Presentacion() override;

    // Places the two pictures at (25, 70) and (340, 70) with the main picture's inner size.
    void placePictures(int width, int height);

    Surface& fpresentacion() { return surface_; }
    PictureBox* fpresentacionBox() const { return fpresentacion_; }
    ImageControl* Fotooriginal() const { return Fotooriginal_; }
    ImageControl* logotipo() const { return logotipo_; }

    void btnvolver_Click();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Surface surface_;
    PictureBox* fpresentacion_ = nullptr;
    ImageControl* Fotooriginal_ = nullptr;
    ImageControl* logotipo_ = nullptr;
    QPushButton* btnvolver_ = nullptr;
    ModelessClose* close_ = nullptr;
};

}  // namespace crinova
