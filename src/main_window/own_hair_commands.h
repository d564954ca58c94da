#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "overlay/overlay_state.h"
#include "platform/dialogs.h"
#include "segmentation/own_hair_photos.h"
#include "segmentation/pelopropio.h"

class QAction;
class QWidget;

namespace crinova {

// "&Ocultar Pelo Propio": every composition over the working photo with the client's own hair
// hidden while the entry is checked, the photo as it is while not. "Corregir Pelo &Propio..."
// opens "PELO PROPIO" to correct the selection with the brush. The entries are enabled exactly
// while "&Guardar Foto" is (a style is applied).
class OwnHairCommands : public QObject {
    Q_OBJECT
  public:
    struct Window {
        QWidget* window;  // the main window
        OverlayState& overlay;
        std::function<bool()> compose;         // the full composition
        std::function<void()> turnAgain;       // a turned photo loaded and turned again
        std::function<void(int)> setPointer;   // the window's pointer code
        std::function<QImage()> workingPhoto;  // the working photo as it is, hair and all
        // The stylist clicks the two eyes on the main picture; `done` gets them on the working
        // photo.
        std::function<void(std::function<void(const EyePair&)> done)> clickEyes;
    };

    OwnHairCommands(Dialogs& dialogs, OwnHairPhotos& photos, Window window, QObject* parent);

    void connectActions(QAction* mnuocultarpelo, QAction* mnucorregirpelo, QAction* mnuguardar);

    void mnuocultarpelo_Click();
    void mnucorregirpelo_Click();
    // The hair of the working photo is selected (and hideable); selecting it now, with the busy
    // pointer, tells when there is none.
    bool ownHairSelected();
    bool selectOwnHair();

    Pelopropio* pelopropio() const { return pelopropio_; }

  private:
    // The photo just composed had no face or no hair, or its result could not be kept: told.
    // Without a face the stylist is asked to click the eyes; once clicked, the hair is selected
    // from them and `afterClicks` runs.
    bool tellOutcome(std::function<void()> afterClicks = {});
    // Composes again: the photo turned again when it is turned.
    void recompose();
    void corrected(const QString& path);

    Dialogs& dialogs_;
    OwnHairPhotos& photos_;
    Window window_;
    QPointer<QAction> mnuocultarpelo_;
    QPointer<Pelopropio> pelopropio_;
};

}  // namespace crinova
