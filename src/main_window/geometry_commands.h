#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "geometry/rotation.h"
#include "overlay/composition.h"
#include "overlay/overlay_state.h"
#include "overlay/picture_buffers.h"
#include "platform/dialogs.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace crinova {

class ImageControl;
class PictureBox;

// Zoom and rotation: the "+"/"-" steps of "Ampliar, Reducir", the two turns of "Girar" and
// "&Restaurar", which is enabled exactly while a rotation can be undone, and the cross-hair of
// "&Ampliar Zona Cabello". Works on the main window's overlay state and picture buffers.
class GeometryCommands : public QObject {
    Q_OBJECT
  public:
    // The main window's controls the commands read and drive.
    struct Controls {
        QCheckBox* ancho;
        QCheckBox* alto;
        QLineEdit* txtampliar;
        std::array<QPushButton*, 2> btnampliar;
        QRadioButton* opfoto;
        QLineEdit* txtgirar;
        std::array<ImageControl*, 2> btngirar;
        QPushButton* btnrestauragirar;
        QLineEdit* infobprogreso;
        QProgressBar* bprogreso;
        PictureBox* fprincipal;
        QAction* mnuampliar;
    };
    // What the commands ask of the main window.
    struct Window {
        std::function<void(int)> setMousePointer;
        std::function<CompositionServices()> compositionServices;
    };

    GeometryCommands(OverlayState& overlay, PictureBuffers& buffers, Dialogs& dialogs,
                     Controls controls, Window window, QObject* parent);

    void btnampliar_Click(int index);
    void txtampliar_GotFocus();
    void mnuampliar_Click();
    void btngirar_Click(int index);
    void btnrestauragirar_Click();
    void txtgirar_GotFocus();

    // One rotation step of the working photo, whatever the drag target, with the progress shown:
    // what "Girar" runs once its checks have passed. Answers false when nothing was turned.
    bool turnPhoto(int index, int degrees);
    // The working photo changed under a turn: loaded again and turned by the same angle.
    void turnAgain();
    // A new photo starts unrotated: nothing is left to restore.
    void forgetRotation();
    const RotationState& rotation() const { return rotation_; }

  private:
    void connectControls();

    OverlayState& overlay_;
    PictureBuffers& buffers_;
    Dialogs& dialogs_;
    Controls controls_;
    Window window_;
    RotationState rotation_;
};

}  // namespace crinova
