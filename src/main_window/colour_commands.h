#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "overlay/colorcabello.h"
#include "overlay/hair_colour.h"
#include "overlay/overlay_state.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/pictures.h"

class QAction;
class QWidget;

namespace crinova {

// "&Color del Cabello...": the colour window and what it changes, the colour the hair is composed
// in. The entry is enabled exactly while "&Guardar Foto" is (a style is applied).
class ColourCommands : public QObject {
    Q_OBJECT
  public:
    struct Window {
        QWidget* window;  // the main window: the colour window's parent
        OverlayState& overlay;
        std::function<bool()> compose;          // the full composition
        std::function<void()> dialogClosed;     // the main window takes the screen back
        std::function<bool()> ownHairSelected;  // on the working photo
        std::function<bool()> selectOwnHair;    // now, told; false when there is none
    };
    struct Services {
        const ProgramFolder& folder;
        PictureCache& pictures;
        Dialogs& dialogs;
        HairColourCache& colours;
    };

    ColourCommands(Services services, Window window, QObject* parent);

    void connectActions(QAction* mnucolorcabello, QAction* mnuguardar);

    void mnucolorcabello_Click();
    // Another style was applied: the open window learns whether its strands take streaks.
    void styleApplied();

    Colorcabello* colorcabello() const { return colorcabello_; }

  private:
    // The applied style's strands run clearly one way (false when it cannot be read).
    bool strandsHaveDirection();
    void show(const std::optional<HairColour>& colour);

    Services services_;
    Window window_;
    QPointer<Colorcabello> colorcabello_;
};

}  // namespace crinova
