#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

#include "catalogue/catalogue.h"
#include "catalogue/nuevocabello.h"
#include "catalogue/tipocabello.h"
#include "overlay/overlay_state.h"
#include "overlay/sample_views.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "platform/record_sets.h"

class QAction;
class QWidget;

namespace crinova {

class ImageControl;

// The hair catalogue in the thumbnails: "B&uscar Tipos de Cabello" opens the hair-type dialog,
// whose filters load the first page; the two page buttons go back to the first page and on to the
// next; "&Eliminar Cabellos" takes the applied catalogue style out of the catalogue, enabled while
// one is applied, with every file of it when it is one of the salon's own; "A&ñadir Cabello desde
// Foto" opens the window that makes a style from a photo. What a page command found is told to the
// stylist when it matters.
class CatalogueCommands : public QObject, public CatalogueHost {
    Q_OBJECT
  public:
    // What the commands ask of the main window.
    struct Window {
        QWidget* parent;  // the hair-type dialog's parent window
        std::function<void(int)> setMousePointer;
        std::function<void()> tipocabelloClosed;  // the main window takes the screen back
        std::function<void()> nuevocabelloClosed;
        // The applied style's files are gone: the main window composes something it still has.
        std::function<void()> appliedStyleRemoved;
    };
    struct Services {
        Database& database;
        const ProgramFolder& folder;
        PictureCache& pictures;
        Dialogs& dialogs;
    };

    CatalogueCommands(const OverlayState& overlay, SampleState& samples, Services services,
                      std::array<ImageControl*, 6> Muestrapelos,
                      std::array<ImageControl*, 2> btnpelos, Window window, QObject* parent);

    // The menu entries that run the commands.
    void connectActions(QAction* mnubuscarcabello, QAction* mnueliminarpelos);
    void connectNewStyleAction(QAction* mnuanadircabello);

    void mnubuscarcabello_Click();
    void btnpelos_Click(int index);
    void mnueliminarpelos_Click();
    void mnuanadircabello_Click();
    bool loadFirstCataloguePage() override;
    // Tells the stylist what a page command found when it matters; answers whether a page was
    // loaded.
    bool reportPage(PageOutcome outcome, const QString& error, bool accepting);

    // A sample was applied: "&Eliminar Cabellos" is there for a catalogue style only.
    void sampleApplied(bool fromCatalogue);
    // The database was replaced: no page is shown, the thumbnails show the installed samples and
    // any of them applies at a click. The filters stay.
    void forgetPage();

    CatalogueState& state() { return catalogue_; }
    Tipocabello* tipocabello() const { return tipocabello_; }
    Nuevocabello* nuevocabello() const { return nuevocabello_; }

  private:
    // With the catalogue on the salon's server, what brings a style's pictures here first.
    BringStyle bringFromServer();
    PageOutcome loadPage(int index, QString* error, bool firstLoad);

    const OverlayState& overlay_;
    SampleState& samples_;
    Services services_;
    std::array<ImageControl*, 6> Muestrapelos_;
    Window window_;
    QAction* mnueliminarpelos_ = nullptr;
    CatalogueState catalogue_;
    QPointer<Tipocabello> tipocabello_;
    QPointer<Nuevocabello> nuevocabello_;
};

}  // namespace crinova
