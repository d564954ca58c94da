#pragma once

#include <QMainWindow>
#include <QPointer>

#include "eraser/eliminarfondo.h"
#include "main_window/catalogue_commands.h"
#include "main_window/client_commands.h"
#include "main_window/client_view_commands.h"
#include "main_window/colour_commands.h"
#include "main_window/database_commands.h"
#include "main_window/face_commands.h"
#include "main_window/geometry_commands.h"
#include "main_window/own_hair_commands.h"
#include "main_window/principal_controls.h"
#include "main_window/print_commands.h"
#include "main_window/server_commands.h"
#include "main_window/slot_commands.h"
#include "overlay/composition.h"
#include "overlay/mouse_placement.h"
#include "overlay/sample_views.h"
#include "platform/activation_watch.h"
#include "platform/camera.h"
#include "platform/system.h"

namespace crinova {

// The main window, a conductor: its own controls, the load, unload and activation steps, the
// deferred redraw, the samples and views, and the wiring of the command groups. Closing it ends
// the program.
class Principal : public QMainWindow {
    Q_OBJECT
  public:
    // Everything the window reaches outside itself; all must outlive it.
    struct Services {
        const ProgramFolder& folder;
        Database& database;
        Dialogs& dialogs;
        SystemServices& system;
        Printer& printer;
        Camera& camera;
    };

    explicit Principal(Services services, QWidget* parent = nullptr);
    ~Principal() override;

    // Load steps; false (the stylist told which file) when a start-up picture cannot be read.
    bool Form_Load();
    void Form_Activate();
    void Form_GotFocus();
    void Form_Resize();
    void Form_Unload();  // deletes the run's scratch files, once however the window closes
    // A dialog closed while a hair is applied: drop the drawing on the photo (unless `clearPhoto`
    // is false), mark the redraw and take the activation back, whose deferred redraw recomposes.
    void dialogClosed(bool clearPhoto = true);
    void Timer1_Timer();
    void Timer2_Timer();
    bool DibujarPelo();  // the full composition over the current overlay state
    void Muestrapelos_Click(int index);
    void barra_ButtonClick(int index);
    void mnusalir_Click();
    void mnusalirwindows_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend struct PrincipalProbe;  // what tests read inside the window

    void createControls();
    void createMenus();
    void createCommandGroups();
    void connectControls();
    // The views, the drag target, the mouse on the photo and the image menu.
    void oppaletal_Click();
    void opnuca_Click();
    void opvolver_Click();
    void opfoto_Click();
    void oppelo_Click();
    void showViewOptions();
    void fprincipal_MouseDown(int button, int shift, double x, double y);
    void fprincipal_MouseMove(int button, int shift, double x, double y);
    void fprincipal_MouseUp(int button, int shift, double x, double y);
    void mnurestaurar_Click();
    void mnudifuminar_Click();  // follows the entry's check mark and composes again at once
    void mnulimpiar_Click();
    void eliminarfondoClosed();
    // After a restore: what came from the replaced database (page, client, style) is dropped.
    void forgetDatabaseState();
    // The title names the salon's server the station works on, if any.
    void updateTitle();              // the server worked on and the active client
    void setMousePointer(int code);  // the pointer over the whole window
    QAction* action(const char* name) const;
    QAction* barButton(BarButton button) const;
    // A failure is told.
    PictureLoad loadRequiredPicture(const QString& relativeName,
                                    const PictureShown& shown = PictureShown::whole());
    void loadOptionalPicture(ImageControl* control, const QString& relativeName);
    CompositionServices compositionServices();
    // The working photo as the composition loads it, unturned: with the client's own hair hidden
    // or recoloured as the image menu says (`ownHair`), or as it is, hair and all.
    QImage loadedWorkingPhoto(bool ownHair);

    Services services_;
    // The salon's records (clients, visits and the catalogue of styles): this computer's
    // database, or the salon's server while the station works on it.
    Database records_;
    PrincipalControls controls_;
    CatalogueCommands* catalogueCommands_ = nullptr;
    ClientCommands* clientCommands_ = nullptr;
    ClientViewCommands* clientViewCommands_ = nullptr;
    ColourCommands* colourCommands_ = nullptr;
    DatabaseCommands* databaseCommands_ = nullptr;
    FaceCommands* faceCommands_ = nullptr;
    GeometryCommands* geometryCommands_ = nullptr;
    OwnHairCommands* ownHairCommands_ = nullptr;
    PrintCommands* printCommands_ = nullptr;
    SlotCommands* slotCommands_ = nullptr;
    ServerCommands* serverCommands_ = nullptr;
    QString server_;  // the salon's server worked on, as the title names it; empty: this computer
    PictureCache pictures_;
    BlendCache blendCache_;
    HairColourCache hairColours_;
    OwnHairPhotos ownHairPhotos_;
    OverlayState overlay_;
    PictureBuffers buffers_;
    SampleState samples_;
    ViewStores viewStores_;
    ViewOptions viewOptions_;
    DragState drag_;
    QPointer<Eliminarfondo> eliminarfondo_;
    ActivationWatch activation_;
    bool unloaded_ = false;
    bool shutdownRequested_ = false;
};

}  // namespace crinova
