#include "main_window/principal.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <thread>

#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "program/folder_names.h"
#include "program/scratch_files.h"

namespace crinova {

Principal::Principal(Services services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(QStringLiteral("CRINOVA"));
    createControls();
    createMenus();
    createCommandGroups();
    connectControls();
    wipePacing_.waitUntil = [](std::chrono::steady_clock::time_point due) {
        std::this_thread::sleep_until(due);
    };
}

Principal::~Principal() = default;

void Principal::createCommandGroups() {
    databaseCommands_ = new DatabaseCommands(
        services_.database, services_.folder, services_.dialogs, [this] { forgetDatabaseState(); },
        this);
    databaseCommands_->connectActions(action("mnucopiaseguridad"), action("mnurestaurarbase"),
                                      action("mnureparar"));
    printCommands_ = new PrintCommands(services_.folder, services_.printer, services_.dialogs,
                                       {this, [this] { return logotipo_->picture(); },
                                        [this] {
                                            if (overlay_.pelocargado) {
                                                dialogClosed(false);
                                            }
                                        }},
                                       this);
    printCommands_->connectAction(action("mnuImprimir"));
    geometryCommands_ = new GeometryCommands(
        overlay_, buffers_, rotation_, services_.dialogs,
        {ancho_, alto_, txtampliar_, btnampliar_, opfoto_, txtgirar_, btngirar_, btnrestauragirar_,
         infobprogreso_, bprogreso_, fprincipal_, action("mnuampliar")},
        {[this](int code) { setMousePointer(code); }, [this] { return compositionServices(); }},
        this);
    catalogueCommands_ = new CatalogueCommands(
        catalogue_, samples_, {services_.database, services_.folder, pictures_, services_.dialogs},
        Muestrapelos_, btnpelos_,
        {this, [this](int code) { setMousePointer(code); },
         [this] {
             // The view stores live as long as the hair-type dialog.
             viewStores_.clear();
             if (overlay_.pelocargado) {
                 dialogClosed(true);
             }
         }},
        this);
    catalogueCommands_->connectAction(action("mnubuscarcabello"));
}

CompositionServices Principal::compositionServices() {
    return CompositionServices{services_.folder, pictures_, services_.database, services_.dialogs,
                               &blendCache_};
}

PictureLoad Principal::loadRequiredPicture(const QString& relativeName) {
    PictureLoad load = pictures_.load(services_.folder.fullPath(relativeName));
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
    infobprogreso_->setText(QStringLiteral("CRINOVA ACTIVO"));
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

    const PictureLoad basePhoto = loadRequiredPicture(kBasePhoto);
    if (!basePhoto.ok()) {
        return false;
    }
    buffers_.fprincipal.SetPicture(basePhoto.picture);
    const PictureLoad reference = loadRequiredPicture(kReferencePhoto);
    if (!reference.ok()) {
        return false;
    }
    fotoinicial_->setPicture(reference.picture);
    overlay_.fotobase = services_.folder.fullPath(kBasePhoto);
    mnupresentacion_->setEnabled(false);

    // Decoration and the installed samples; a missing one leaves its control empty.
    loadOptionalPicture(logotipo_, kLogo);
    for (int i = 0; i < 6; ++i) {
        loadOptionalPicture(Muestrapelos_[static_cast<std::size_t>(i)], sampleHairName(i + 1));
    }
    return true;
}

void Principal::Form_Activate() {
    if (overlay_.redibujar) {
        setMousePointer(kPointerBusy);
        fprincipal_->setPointer(kPointerBusy);
        timer2_->start();
    }
}

void Principal::Form_GotFocus() {
    if (!overlay_.primeravez) {
        timer2_->start();
    }
}

void Principal::Form_Resize() {
    setMousePointer(kPointerBusy);
    if (!overlay_.primeravez) {
        timer2_->start();
    }
    setMousePointer(kPointerDefault);
}

void Principal::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    timer1_->stop();
    timer2_->stop();
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
    PresentacionPreliminar();
}

void Principal::Timer2_Timer() {
    CompositionServices services = compositionServices();
    if (overlay_.clienteactivo) {
        setMousePointer(kPointerBusy);
        crinova::DibujarPelo(overlay_, buffers_, services);
        timer2_->stop();
        overlay_.redibujar = false;
        fprincipal_->setPointer(kPointerMove);
        setMousePointer(kPointerDefault);
    } else {
        setMousePointer(kPointerDefault);
        fprincipal_->setPointer(kPointerMove);
        timer2_->stop();
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
    timer1_->stop();
    timer2_->stop();
    close();
}

void Principal::closeEvent(QCloseEvent* event) {
    if (!shutdownRequested_) {
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
