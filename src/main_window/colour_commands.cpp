// The colour command and its window.
#include "main_window/colour_commands.h"

#include <QAction>
#include <QWidget>

namespace crinova {

ColourCommands::ColourCommands(Services services, Window window, QObject* parent)
    : QObject(parent), services_(services), window_(std::move(window)) {}

void ColourCommands::connectActions(QAction* mnucolorcabello, QAction* mnuguardar) {
    connect(mnucolorcabello, &QAction::triggered, this, &ColourCommands::mnucolorcabello_Click);
    mnucolorcabello->setEnabled(mnuguardar->isEnabled());
    connect(mnuguardar, &QAction::enabledChanged, mnucolorcabello, &QAction::setEnabled);
}

void ColourCommands::mnucolorcabello_Click() {
    if (!window_.overlay.pelocargado) {
        return;
    }
    Colorcabello* window = modelessWindow(
        colorcabello_,
        [this] {
            return new Colorcabello(
                {window_.window, services_.dialogs, [this] { return window_.overlay.colorelegido; },
                 [this](const std::optional<HairColour>& colour) { show(colour); },
                 [this] { return strandsHaveDirection(); }, window_.ownHairSelected,
                 window_.selectOwnHair, [this](bool own) { window_.overlay.colorpelopropio = own; },
                 [this] { return window_.overlay.colorpelopropio; }});
        },
        this, [this] { window_.dialogClosed(); });
    if (!window->isVisible()) {
        // Beside the main window, so the photo stays in sight while the shades change.
        window->adjustSize();
        window->move(window_.window->frameGeometry().topRight() + QPoint(8, 0));
    }
    showModeless(window);
}

void ColourCommands::styleApplied() {
    if (colorcabello_) {
        colorcabello_->styleChanged();
    }
}

bool ColourCommands::strandsHaveDirection() {
    const PictureLoad hair =
        services_.pictures.load(services_.folder.fullPath(window_.overlay.ficheropelo));
    const PictureLoad mask =
        services_.pictures.load(services_.folder.fullPath(window_.overlay.ficheromascara));
    return hair.ok() && mask.ok() &&
           services_.colours.style(hair.picture, mask.picture)->clearDirection;
}

void ColourCommands::show(const std::optional<HairColour>& colour) {
    window_.overlay.colorelegido = colour;
    window_.compose();
}

}  // namespace crinova
