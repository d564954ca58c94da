#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>

#include "catalogue/catalogue.h"
#include "catalogue/tipocabello.h"
#include "clients/client_host.h"
#include "clients/client_search.h"
#include "clients/nomcliente.h"
#include "eraser/eliminarfondo.h"
#include "geometry/rotation.h"
#include "geometry/zoom.h"
#include "main_window/catalogue_commands.h"
#include "main_window/database_commands.h"
#include "main_window/geometry_commands.h"
#include "main_window/print_commands.h"
#include "main_window/toolbar_buttons.h"
#include "overlay/composition.h"
#include "overlay/mouse_placement.h"
#include "overlay/overlay_state.h"
#include "overlay/picture_buffers.h"
#include "overlay/sample_views.h"
#include "platform/activation_watch.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/modeless_window.h"
#include "platform/pictures.h"
#include "platform/record_sets.h"
#include "platform/system.h"
#include "printing/imprimir.h"
#include "slots/photo_slots.h"
#include "slots/presentacion.h"
#include "slots/wipe.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace crinova {

class ImageControl;
class PictureBox;

// The main window: the working photo with the hair composed on it, the sample thumbnails, the
// geometry controls and every command. Closing it ends the program.
class Principal : public QMainWindow, public ClientHost {
    Q_OBJECT
  public:
    // Everything the window reaches outside itself; all must outlive it.
    struct Services {
        const ProgramFolder& folder;
        Database& database;
        Dialogs& dialogs;
        SystemServices& system;
        Printer& printer;
    };

    explicit Principal(Services services, QWidget* parent = nullptr);
    ~Principal() override;

    // Load steps. Answers false, after telling the stylist which file, when a start-up picture
    // cannot be read; the program must then end.
    bool Form_Load();
    void Form_Activate();
    void Form_GotFocus();
    void Form_Resize();
    // Unload steps: deletes the run's scratch files. Runs once, however the window closes.
    void Form_Unload();

    // What a dialog or the slide show runs when it closes while a hair is applied: drop the drawing
    // on the visible photo (unless `clearPhoto` is false), mark the redraw and give the main window
    // back the activation, whose deferred redraw then recomposes.
    void dialogClosed(bool clearPhoto = true);

    void Timer1_Timer();
    void Timer2_Timer();
    void mnusalir_Click();
    void mnusalirwindows_Click();

    // Samples, views and the drag target.
    void Muestrapelos_Click(int index);
    void oppaletal_Click();
    void opnuca_Click();
    void opvolver_Click();
    void opfoto_Click();
    void oppelo_Click();
    void fprincipal_MouseDown(int button, int shift, double x, double y);
    void fprincipal_MouseMove(int button, int shift, double x, double y);
    void fprincipal_MouseUp(int button, int shift, double x, double y);

    // Zoom and rotation.
    GeometryCommands& geometry() { return *geometryCommands_; }

    // Commands of the menus and the toolbar.
    void barra_ButtonClick(int index);
    void mnunuevocliente_Click();
    void mnubuscarcliente_Click();
    void mnueliminar_Click();
    void mnurestaurar_Click();
    // "&Difuminar Cabello": follows the entry's check mark and composes again at once.
    void mnudifuminar_Click();

    // Client records and the database.
    void mnuguardarcliente_Click();
    void mnueliminarpelos_Click();
    bool activateClient(const ClientRecord& client) override;
    void clientDeleted(const QString& codigo) override;
    const std::optional<ClientRecord>& activeClient() const { return activeClient_; }
    Nomcliente* nomcliente() const { return nomcliente_; }
    ClientSearch* buscarcliente() const { return buscarcliente_; }
    ClientSearch* eliminarclientes() const { return eliminarclientes_; }

    // The view stores live as long as the hair-type dialog; its closing empties them.
    const ViewStores& viewStores() const { return viewStores_; }
    SampleState& samples() { return samples_; }

    // The full composition over the current overlay state.
    bool DibujarPelo();

    OverlayState& overlay() { return overlay_; }
    PictureBuffers& buffers() { return buffers_; }

    // Photo slots and the slide show.
    void mnuguardar_Click();
    void mnupresentacion_Click();
    void PresentacionPreliminar();
    Presentacion* presentacion() const { return presentacion_; }
    SlotState& slotState() { return slotState_; }
    int fotoactual() const { return fotoactual_; }
    // How the slide show's wipe keeps time (tests replace the real sleep).
    void setWipePacing(WipePacing pacing) { wipePacing_ = std::move(pacing); }
    // Called after each row of a wipe is shown (tests look at the rows in the middle of a wipe).
    void setWipeRowObserver(std::function<void(int)> observer) { wipeRowObserver_ = observer; }

    // The hair catalogue.
    CatalogueCommands& catalogue() { return *catalogueCommands_; }

    // The background eraser.
    void mnulimpiar_Click();
    Eliminarfondo* eliminarfondo() const { return eliminarfondo_; }

    // Printing.
    PrintCommands& printing() { return *printCommands_; }

    // True when the stylist chose to shut the computer down: the window closed without unloading.
    bool shutdownRequested() const { return shutdownRequested_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The pointer over the whole window.
    void setMousePointer(int code);
    void createControls();
    void createMenus();
    // The groups of commands that live outside the window, each wired to its menu entries.
    void createCommandGroups();
    void connectControls();
    // Shows the view options' state on their controls.
    void showViewOptions();
    // The three client commands open their dialogs only once a hair is applied.
    bool clientCommandAllowed();
    // Back to the default base photo, unrotated, with no client active.
    void deactivateClient();
    // After a restore: drops the catalogue page, the active client and the applied sample, which
    // came from the database that was replaced.
    void forgetDatabaseState();
    // The window in `window`, made by `make` on first use; `closed` runs once when it closes.
    template <typename Window, typename Make>
    Window* windowOnce(QPointer<Window>& window, Make make, void (Principal::*closed)()) {
        return modelessWindow(window, make, this, [this, closed] { (this->*closed)(); });
    }
    // What the main window does when each of its windows closes (the window is released first).
    void nomclienteClosed();
    void buscarclienteClosed();
    void eliminarclientesClosed();
    void eliminarfondoClosed();
    void presentacionClosed();
    bool reportPage(PageOutcome outcome, const QString& error, bool accepting) {
        return catalogueCommands_->reportPage(outcome, error, accepting);
    }
    QAction* action(const char* name) const;
    QAction* barButton(BarButton button) const {
        return barraButtons_[static_cast<std::size_t>(button)];
    }
    // A picture the program cannot start without: a failure is told to the stylist.
    PictureLoad loadRequiredPicture(const QString& relativeName);
    // A decoration: a missing or broken file leaves the control empty.
    void loadOptionalPicture(ImageControl* control, const QString& relativeName);
    CompositionServices compositionServices();

    Services services_;
    CatalogueCommands* catalogueCommands_ = nullptr;
    DatabaseCommands* databaseCommands_ = nullptr;
    GeometryCommands* geometryCommands_ = nullptr;
    PrintCommands* printCommands_ = nullptr;
    PictureCache pictures_;
    BlendCache blendCache_;
    OverlayState overlay_;
    PictureBuffers buffers_;
    bool unloaded_ = false;
    ActivationWatch activation_;
    bool shutdownRequested_ = false;
    void runWipe();

    SlotState slotState_;
    std::int16_t fotoactual_ = 0;
    QPointer<Presentacion> presentacion_;
    WipePacing wipePacing_;
    std::function<void(int)> wipeRowObserver_;
    bool wiping_ = false;
    SampleState samples_;
    ViewStores viewStores_;
    ViewOptions viewOptions_;
    DragState drag_;
    RotationState rotation_;
    CatalogueState catalogue_;
    QPointer<Eliminarfondo> eliminarfondo_;
    QPointer<Nomcliente> nomcliente_;
    QPointer<ClientSearch> buscarcliente_;
    QPointer<ClientSearch> eliminarclientes_;
    std::optional<ClientRecord> activeClient_;

    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;

    // Controls, named as their objectName.
    PictureBox* fprincipal_ = nullptr;
    ImageControl* fotoinicial_ = nullptr;
    ImageControl* logotipo_ = nullptr;
    std::array<ImageControl*, 6> Muestrapelos_{};
    std::array<ImageControl*, 2> btnpelos_{};
    QGroupBox* Fotos_ = nullptr;
    std::array<ImageControl*, 7> Fotoseleccionada_{};  // 1 ... 6; index 0 unused
    QGroupBox* Frame1_ = nullptr;
    QRadioButton* opfoto_ = nullptr;
    QRadioButton* oppelo_ = nullptr;
    QGroupBox* opciones_ = nullptr;
    QRadioButton* oppaletal_ = nullptr;
    QRadioButton* opnuca_ = nullptr;
    QLabel* opvolver_ = nullptr;
    QGroupBox* Frame4_ = nullptr;
    QCheckBox* ancho_ = nullptr;
    QCheckBox* alto_ = nullptr;
    QLineEdit* txtampliar_ = nullptr;
    std::array<QPushButton*, 2> btnampliar_{};
    QGroupBox* Frame3_ = nullptr;
    QLineEdit* txtgirar_ = nullptr;
    std::array<ImageControl*, 2> btngirar_{};
    QPushButton* btnrestauragirar_ = nullptr;
    QProgressBar* bprogreso_ = nullptr;
    QLineEdit* infobprogreso_ = nullptr;

    QToolBar* barra_ = nullptr;
    std::array<QAction*, kBarButtonCount + 1> barraButtons_{};  // 1 ... 15; index 0 unused
    QAction* mnupresentacion_ = nullptr;
};

}  // namespace crinova
