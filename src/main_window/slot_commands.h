#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

#include "clients/visits.h"
#include "overlay/composition.h"
#include "overlay/overlay_state.h"
#include "overlay/picture_buffers.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "slots/photo_slots.h"
#include "slots/presentacion.h"
#include "slots/wipe.h"

class QAction;
class QTimer;
class QWidget;

namespace crinova {

class ImageControl;

// The photo slots and the slide show: "&Guardar Foto" stores what the photo shows in a slot and
// its thumbnail, "&Presentación" shows the stored slots one after the other, wiped in beside the
// original photo, and a client's visit can fill the slots again. Saving a slot enables the
// commands that need a stored photo.
class SlotCommands : public QObject {
    Q_OBJECT
  public:
    struct Services {
        const ProgramFolder& folder;
        PictureCache& pictures;
        Dialogs& dialogs;
    };
    // The main window's controls the commands drive.
    struct Controls {
        std::array<ImageControl*, 7> Fotoseleccionada;  // 1 ... 6; index 0 unused
        ImageControl* logotipo;
        QAction* mnuguardar;
        QAction* mnupresentacion;
        QAction* mnuImprimir;
        QAction* printButton;      // the toolbar's "Imprimir"
        QAction* zoomPlaceholder;  // the toolbar's gap that follows the stored photos
        QTimer* timer1;            // the slide show's pace
    };
    // What the commands ask of the main window.
    struct Window {
        QWidget* parent;  // the slide show's parent window
        std::function<void(int)> setMousePointer;
        std::function<CompositionServices()> compositionServices;
        // The slide show closed: the main window takes the screen back, keeping the photo.
        std::function<void()> presentacionClosed;
        // Slot N was written with what the main picture shows.
        std::function<void(int)> slotSaved = {};
    };

    SlotCommands(OverlayState& overlay, PictureBuffers& buffers, Services services,
                 Controls controls, Window window, QObject* parent);

    void mnuguardar_Click();
    void mnupresentacion_Click();
    // The slide show's next photo, at each tick of its timer.
    void PresentacionPreliminar();
    // Puts the visit of client `codigo` into the slots, after asking when slots are stored and
    // `askFirst`; answers whether the slots changed.
    bool loadVisit(const QString& codigo, const Visit& visit, bool askFirst);

    Presentacion* presentacion() const { return presentacion_; }
    SlotState& slotState() { return slotState_; }
    SlotOwners& owners() { return owners_; }
    int fotoactual() const { return fotoactual_; }
    // How the slide show's wipe keeps time (tests replace the real sleep).
    void setWipePacing(WipePacing pacing) { wipePacing_ = std::move(pacing); }
    // Called after each row of a wipe is shown (tests look at the rows in the middle of a wipe).
    void setWipeRowObserver(std::function<void(int)> observer) {
        wipeRowObserver_ = std::move(observer);
    }

  private:
    void runWipe();
    void presentacionClosed();
    // A stored photo is there: the commands that need one are enabled.
    void enableStoredPhotoCommands();

    OverlayState& overlay_;
    PictureBuffers& buffers_;
    Services services_;
    Controls controls_;
    Window window_;
    SlotState slotState_;
    SlotOwners owners_;
    std::int16_t fotoactual_ = 0;
    QPointer<Presentacion> presentacion_;
    WipePacing wipePacing_;
    std::function<void(int)> wipeRowObserver_;
    bool wiping_ = false;
};

}  // namespace crinova
