#include "main_window/principal.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "program/client_files.h"
#include "program/folder_names.h"
#include "program/scratch_files.h"

namespace crinova {

Principal::Principal(Services services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    records_.standFor(&services_.database);
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(QStringLiteral("CRINOVA"));
    createControls();
    createMenus();
    createCommandGroups();
    connectControls();
}

Principal::~Principal() = default;

void Principal::createCommandGroups() {
    const auto pointer = [this](int code) { setMousePointer(code); };
    const auto services = [this] { return compositionServices(); };
    databaseCommands_ = new DatabaseCommands(
        services_.database, services_.folder, services_.dialogs, [this] { forgetDatabaseState(); },
        this);
    databaseCommands_->connectActions(action("mnucopiaseguridad"), action("mnurestaurarbase"),
                                      action("mnureparar"));
    printCommands_ = new PrintCommands(services_.folder, services_.printer, services_.dialogs,
                                       {this, [this] { return controls_.logotipo->picture(); },
                                        [this] {
                                            if (overlay_.pelocargado) {
                                                dialogClosed(false);
                                            }
                                        }},
                                       this);
    printCommands_->connectAction(action("mnuImprimir"));
    geometryCommands_ = new GeometryCommands(
        overlay_, buffers_, services_.dialogs,
        {controls_.ancho, controls_.alto, controls_.txtampliar, controls_.btnampliar,
         controls_.opfoto, controls_.txtgirar, controls_.btngirar, controls_.btnrestauragirar,
         controls_.infobprogreso, controls_.bprogreso, controls_.fprincipal, action("mnuampliar")},
        {pointer, services}, this);
    catalogueCommands_ = new CatalogueCommands(
        overlay_, samples_, {records_, services_.folder, pictures_, services_.dialogs},
        controls_.Muestrapelos, controls_.btnpelos,
        {this, pointer,
         [this] {
             // The view stores live as long as the hair-type dialog.
             viewStores_.clear();
             if (overlay_.pelocargado) {
                 dialogClosed(true);
             }
         },
         [this] {
             if (overlay_.pelocargado) {
                 dialogClosed(true);
             }
         },
         [this] {
             // The default pair, as at start, in place of files that are gone.
             overlay_.ficheropelo = kDefaultHair;
             overlay_.ficheromascara = kDefaultMask;
             DibujarPelo();
         }},
        this);
    catalogueCommands_->connectActions(action("mnubuscarcabello"), action("mnueliminarpelos"));
    catalogueCommands_->connectNewStyleAction(action("mnuanadircabello"));
    faceCommands_ = new FaceCommands(
        services_.folder, services_.database, services_.dialogs,
        {this, controls_.fprincipal, overlay_, buffers_, [this] { return DibujarPelo(); },
         [this](int index, int degrees) { return geometryCommands_->turnPhoto(index, degrees); },
         pointer,
         [this] { return overlay_.angulo != 0 ? geometryCommands_->rotation().angulototal : 0.0; }},
        this);
    faceCommands_->connectActions(action("mnuajustarcara"), action("mnuajustarclics"),
                                  action("mnuguardar"));
    slotCommands_ = new SlotCommands(
        overlay_, buffers_, {services_.folder, pictures_, services_.dialogs},
        {controls_.Fotoseleccionada, controls_.logotipo, action("mnuguardar"),
         controls_.mnupresentacion, action("mnuImprimir"), barButton(BarButton::Print),
         barButton(BarButton::ZoomPlaceholder), controls_.Timer1},
        {this, pointer, services, [this] { dialogClosed(false); },
         [this](int slot) { clientViewCommands_->slotSaved(slot); }},
        this);
    clientCommands_ = new ClientCommands(
        overlay_, {records_, services_.folder, pictures_, services_.dialogs, services_.camera},
        {this, pointer, [this] { DibujarPelo(); },
         [this](bool clearPhoto) { dialogClosed(clearPhoto); },
         [this] { geometryCommands_->forgetRotation(); },
         [this](const QString& codigo, const Visit& visit, bool askFirst) {
             return slotCommands_->loadVisit(codigo, visit, askFirst);
         },
         slotCommands_->owners(),
         [this](const QImage& photo) { return faceCommands_->prepareClientPhoto(photo); },
         [this] { return faceCommands_->clientPhotoTarget(); }, [this] { updateTitle(); }},
        this);
    colourCommands_ =
        new ColourCommands({services_.folder, pictures_, services_.dialogs, hairColours_},
                           {this, overlay_, [this] { return DibujarPelo(); },
                            [this] {
                                if (overlay_.pelocargado) {
                                    dialogClosed(false);
                                }
                            },
                            [this] { return ownHairCommands_->ownHairSelected(); },
                            [this] { return ownHairCommands_->selectOwnHair(); }},
                           this);
    colourCommands_->connectActions(action("mnucolorcabello"), action("mnuguardar"));
    ownHairCommands_ = new OwnHairCommands(
        services_.dialogs, ownHairPhotos_,
        {this, overlay_, [this] { return DibujarPelo(); },
         [this] { geometryCommands_->turnAgain(); }, pointer,
         [this] { return loadedWorkingPhoto(false); },
         [this](auto done) { faceCommands_->clickEyes(std::move(done), "Ocultar Pelo Propio"); }},
        this);
    ownHairPhotos_.setPreparedEyes(
        [this](const QString& path, QSize size) -> std::optional<EyePair> {
            // A photo fitted in whole, its face not found, has no eyes where the model's are.
            if (preparedFaceFound(path) == false) {
                return std::nullopt;
            }
            const EyeTarget target = faceCommands_->clientPhotoTarget();
            return size == target.picture ? std::optional(targetEyes(target)) : std::nullopt;
        });
    ownHairCommands_->connectActions(action("mnuocultarpelo"), action("mnucorregirpelo"),
                                     action("mnuguardar"));
    clientCommands_->connectActions(action("mnunuevocliente"), action("mnubuscarcliente"),
                                    action("mnueliminar"), action("mnuguardarcliente"));
    clientViewCommands_ = new ClientViewCommands(
        services_.folder, services_.dialogs,
        {this,
         [this] {
             const std::optional<ClientRecord>& client = clientCommands_->activeClient();
             LargeLook look = largeLookOf(
                 overlay_, geometryCommands_->rotation().angulototal,
                 QSize(buffers_.fprincipal.ScaleWidth(), buffers_.fprincipal.ScaleHeight()),
                 client ? clientPhotoPath(services_.folder, client->fprograma) : QString(),
                 services_.folder);
             const bool ownColour = overlay_.colorpelopropio && overlay_.colorelegido;
             if (overlay_.ocultarpelo || ownColour) {
                 look.ownHairPlain = loadedWorkingPhoto(false);
                 look.ownHairChanged = loadedWorkingPhoto(true);
                 // A colour tried on her own hair: no cut drawn over it, as on the screen.
                 look.pelocargado = look.pelocargado && !ownColour;
             }
             return look;
         },
         [this] { return lookNameOf(overlay_.ficheropelo, records_); },
         [this] {
             const std::optional<ClientRecord>& client = clientCommands_->activeClient();
             return client ? client->nombre : QString();
         },
         [this] { return controls_.logotipo->picture(); }, pointer},
        this);
    clientViewCommands_->connectActions(action("mnuvistacliente"), action("mnuexportar"),
                                        action("mnuImprimir"));
    serverCommands_ =
        new ServerCommands(services_.database, services_.folder, services_.dialogs,
                           {this,
                            [this](const QString& server) {
                                server_ = server;
                                updateTitle();
                            },
                            [this] {
                                if (overlay_.pelocargado) {
                                    dialogClosed(false);
                                }
                            },
                            [this](Database* server) {
                                records_.standFor(server ? server : &services_.database);
                                // The client and the page shown belong to the records
                                // left behind.
                                forgetDatabaseState();
                            }},
                           this);
    serverCommands_->connectAction(action("mnuservidor"));
    databaseCommands_->setServerLink(&serverCommands_->link());
}

void Principal::updateTitle() {
    // The window names the salon's server it works on and whose record is open.
    QString title = QStringLiteral("CRINOVA");
    if (!server_.isEmpty()) {
        title += QStringLiteral(" — Servidor: ") + server_;
    }
    if (const std::optional<ClientRecord>& client = clientCommands_->activeClient()) {
        title += QStringLiteral(" — %1 (%2)").arg(client->nombre, client->codigo);
    }
    setWindowTitle(title);
}

void Principal::forgetDatabaseState() {
    // The page, the client and the applied catalogue style may not exist in the database now.
    catalogueCommands_->forgetPage();
    if (clientCommands_->activeClient()) {
        clientCommands_->deactivateClient();
    }
}

CompositionServices Principal::compositionServices() {
    return CompositionServices{services_.folder,
                               pictures_,
                               records_,
                               services_.dialogs,
                               &blendCache_,
                               &hairColours_,
                               &ownHairPhotos_,
                               [this] {
                                   if (clientViewCommands_) {
                                       clientViewCommands_->recomposed();
                                   }
                               }};
}

QImage Principal::loadedWorkingPhoto(bool ownHair) {
    OverlayState state = overlay_;
    if (!ownHair) {
        state.ocultarpelo = false;
        state.colorpelopropio = false;
    }
    Surface photo(buffers_.ftrabajo.ScaleWidth(), buffers_.ftrabajo.ScaleHeight());
    CompositionServices services = compositionServices();
    return loadWorkingPhoto(state, photo, services) ? photo.Picture() : QImage();
}

PictureLoad Principal::loadRequiredPicture(const QString& relativeName, const PictureShown& shown) {
    PictureLoad load = pictures_.load(services_.folder.fullPath(relativeName), shown);
    if (!load.ok()) {
        services_.dialogs.MsgBox(
            pictureFaultMessage(load) +
                QStringLiteral("\n\nCrinova no puede empezar sin esta fotografía."),
            MessageButtons::Ok, MessageIcon::Critical, QString::fromUtf8(kPictureFaultTitle));
    }
    return load;
}

void Principal::loadOptionalPicture(ImageControl* control, const QString& relativeName) {
    const PictureLoad load = pictures_.load(services_.folder.fullPath(relativeName));
    control->setPicture(load.picture);
}

bool Principal::Form_Load() {
    controls_.infobprogreso->setText(QStringLiteral("CRINOVA ACTIVO"));
    overlay_.primeravez = true;
    printCommands_->flags().impresoraconfigurada = false;
    overlay_.pelocargado = false;
    for (const BarButton button :
         {BarButton::Print, BarButton::SavePhoto, BarButton::ZoomPlaceholder}) {
        barButton(button)->setEnabled(false);
    }
    buffers_.sizeLikeVisible();
    overlay_.angulo = 0;
    overlay_.ficheropelo = kDefaultHair;
    overlay_.ficheromascara = kDefaultMask;

    const PictureLoad basePhoto =
        loadRequiredPicture(kBasePhoto, PictureShown::topLeft(buffers_.fprincipal.image().size()));
    if (!basePhoto.ok()) {
        return false;
    }
    buffers_.fprincipal.SetPicture(basePhoto.picture);
    const PictureLoad reference = loadRequiredPicture(kReferencePhoto);
    if (!reference.ok()) {
        return false;
    }
    controls_.fotoinicial->setPicture(reference.picture);
    overlay_.fotobase = services_.folder.fullPath(kBasePhoto);
    controls_.mnupresentacion->setEnabled(false);

    // Decoration and the installed samples; a missing one leaves its control empty.
    loadOptionalPicture(controls_.logotipo, kLogo);
    for (int i = 0; i < 6; ++i) {
        loadOptionalPicture(controls_.Muestrapelos[static_cast<std::size_t>(i)],
                            sampleHairName(i + 1));
    }
    // Without waiting: the answer comes once the window is up.
    serverCommands_->connectAtStart();
    return true;
}

void Principal::Form_Activate() {
    if (overlay_.redibujar) {
        setMousePointer(kPointerBusy);
        controls_.fprincipal->setPointer(kPointerBusy);
        controls_.Timer2->start();
    }
}

void Principal::Form_GotFocus() {
    if (!overlay_.primeravez) {
        controls_.Timer2->start();
    }
}

void Principal::Form_Resize() {
    setMousePointer(kPointerBusy);
    if (!overlay_.primeravez) {
        controls_.Timer2->start();
    }
    setMousePointer(kPointerDefault);
}

void Principal::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    controls_.Timer1->stop();
    controls_.Timer2->stop();
    clientViewCommands_->shutdown();
    deleteScratchFiles(services_.folder);
}

void Principal::dialogClosed(bool clearPhoto) {
    if (clearPhoto) {
        buffers_.fprincipal.Cls();
    }
    overlay_.redibujar = true;
    activateWindow();
    raise();
    Form_Activate();
}

void Principal::Timer1_Timer() {
    slotCommands_->PresentacionPreliminar();
}

void Principal::Timer2_Timer() {
    CompositionServices services = compositionServices();
    if (overlay_.clienteactivo) {
        setMousePointer(kPointerBusy);
        crinova::DibujarPelo(overlay_, buffers_, services);
        controls_.Timer2->stop();
        overlay_.redibujar = false;
        controls_.fprincipal->setPointer(kPointerMove);
        setMousePointer(kPointerDefault);
    } else {
        setMousePointer(kPointerDefault);
        controls_.fprincipal->setPointer(kPointerMove);
        controls_.Timer2->stop();
        // With no hair applied there is nothing to bring back: the plain base photo stays. (The
        // slide show can run before any hair, on slot files left by an earlier run.)
        if (overlay_.pelocargado) {
            RefrescarPelo(overlay_, buffers_, services);
        }
    }
}

bool Principal::DibujarPelo() {
    CompositionServices services = compositionServices();
    return crinova::DibujarPelo(overlay_, buffers_, services);
}

void Principal::setMousePointer(int code) {
    setCursor(cursorFor(code));
}

void Principal::mnusalir_Click() {
    close();
}

void Principal::mnusalirwindows_Click() {
    const MessageAnswer answer = services_.dialogs.MsgBox(
        QStringLiteral("Esta Seguro que quiere Salir de Windows 95?"), MessageButtons::YesNo,
        MessageIcon::None, QStringLiteral("Apagar el Equipo"));
    if (answer != MessageAnswer::Yes) {
        return;
    }
    services_.system.RequestShutdown();
    // The program ends at once, without the unload steps: the slot files stay.
    shutdownRequested_ = true;
    controls_.Timer1->stop();
    controls_.Timer2->stop();
    close();
}

void Principal::closeEvent(QCloseEvent* event) {
    if (!shutdownRequested_) {
        // The slot files go with the program: the active client's looks are offered first.
        if (!unloaded_ && !clientCommands_->settleLooksBeforeClosing()) {
            event->ignore();
            return;
        }
        Form_Unload();
    }
    event->accept();
}

void Principal::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Closing a message box is no activation: a redraw that reports a broken file must not ask
    // again and again.
    if (activation_.activated(this, event)) {
        Form_Activate();
    } else if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        // Coming back from the task bar the window repaints from the stored photo, which drops
        // what was composed on it; the resize step schedules the recomposition.
        if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized)) {
            buffers_.fprincipal.RepaintFromStoredPicture();
        }
        Form_Resize();
    }
}

void Principal::focusInEvent(QFocusEvent* event) {
    QMainWindow::focusInEvent(event);
    Form_GotFocus();
}

void Principal::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

}  // namespace crinova
