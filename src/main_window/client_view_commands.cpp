// The client's view, the slots' large companions and the export for the client.
#include "main_window/client_view_commands.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "client_view/client_export.h"
#include "platform/modeless_window.h"
#include "platform/pointers.h"
#include "program/folder_names.h"

namespace crinova {

ClientViewCommands::ClientViewCommands(const ProgramFolder& folder, Dialogs& dialogs, Window window,
                                       QObject* parent)
    : QObject(parent),
      folder_(folder),
      dialogs_(dialogs),
      window_(std::move(window)),
      renderer_(new LargeRenderer(defaultLargeInputs(), this)) {
    connect(renderer_, &LargeRenderer::rendered, this, [this](const LargeRendering& rendering) {
        if (vistacliente_) {
            vistacliente_->showRendering(rendering);
        }
    });
    connect(renderer_, &LargeRenderer::companionFailed, this, [this](const QString& reason) {
        // The slot itself is saved: the view, the print and the export enlarge it instead.
        dialogs_.MsgBox(QStringLiteral("La foto se ha guardado, pero no su copia grande: se "
                                       "verá y se imprimirá menos nítida.\n\n%1")
                            .arg(reason),
                        MessageButtons::Ok, MessageIcon::Exclamation,
                        QStringLiteral("Error al Guardar la Foto"));
    });
}

ClientViewCommands::~ClientViewCommands() {
    renderer_->stop();
}

void ClientViewCommands::connectActions(QAction* mnuvistacliente, QAction* mnuexportar,
                                        QAction* mnuImprimir) {
    connect(mnuvistacliente, &QAction::triggered, this, &ClientViewCommands::mnuvistacliente_Click);
    connect(mnuexportar, &QAction::triggered, this, &ClientViewCommands::mnuexportar_Click);
    mnuexportar->setEnabled(mnuImprimir->isEnabled());
    connect(mnuImprimir, &QAction::changed, mnuexportar,
            [mnuexportar, mnuImprimir] { mnuexportar->setEnabled(mnuImprimir->isEnabled()); });
}

void ClientViewCommands::mnuvistacliente_Click() {
    const bool opening = !vistacliente_;
    modelessWindow(
        vistacliente_,
        [this] {
            return new Vistacliente(ClientViewHost{window_.parent,
                                                   [this](bool withBefore) {
                                                       withBefore_ = withBefore;
                                                       requestLook();
                                                   },
                                                   [this] { return loadSavedLooks(folder_); }},
                                    window_.parent);
        },
        this, [this] { withBefore_ = false; });
    if (opening) {
        withBefore_ = false;
        vistacliente_->showPlaced();
        requestLook();
    } else {
        showModeless(vistacliente_);
    }
}

void ClientViewCommands::requestLook() {
    LargeLook look = window_.currentLook();
    look.withBefore = withBefore_;
    renderer_->request(look);
}

void ClientViewCommands::recomposed() {
    if (vistacliente_) {
        requestLook();
    }
}

void ClientViewCommands::slotSaved(int slot) {
    const QString path = folder_.fullPath(slotFileName(slot));
    // The companion of the look the slot held before must not outlive it.
    deleteLargeCompanions(path);
    const LookName name = window_.currentName();
    renderer_->saveCompanion(window_.currentLook(), path, lookTexts(name.estilo, name.color));
    if (vistacliente_) {
        vistacliente_->reloadSavedLooks();
    }
}

void ClientViewCommands::shutdown() {
    renderer_->stop();
    if (vistacliente_) {
        vistacliente_->close();
    }
}

void ClientViewCommands::mnuexportar_Click() {
    const QString title = QStringLiteral("Exportar para el Cliente");
    window_.setMousePointer(kPointerBusy);
    ClientExport job;
    job.looks = loadSavedLooks(folder_);
    window_.setMousePointer(kPointerDefault);
    if (job.looks.empty()) {
        dialogs_.MsgBox(
            QStringLiteral("Tiene que guardar al menos una Fotografía para poder Exportarla"),
            MessageButtons::Ok, MessageIcon::Information,
            QStringLiteral("Error no existen Fotos Almacenadas"));
        return;
    }
    job.clientName = window_.clientName();
    if (job.clientName.isEmpty()) {
        job.clientName =
            dialogs_
                .InputBox(QStringLiteral("Escriba el Nombre del Cliente/a para sus fotos:"), title,
                          QString())
                .trimmed();
        if (job.clientName.isEmpty()) {
            return;
        }
    }
    const QString media = QStringLiteral("/media");
    job.folder = dialogs_.ChooseFolder(
        QStringLiteral("Seleccione dónde Guardar las Fotos (por ejemplo, la memoria USB)"),
        QFileInfo(media).isDir() ? media : QDir::homePath());
    if (job.folder.isEmpty()) {
        return;
    }
    job.date = QDate::currentDate();
    job.logo = window_.logo();
    window_.setMousePointer(kPointerBusy);
    QString error;
    const QString written = exportForClient(job, &error);
    window_.setMousePointer(kPointerDefault);
    if (written.isEmpty()) {
        dialogs_.MsgBox(QStringLiteral("Las fotos no se han exportado.\n\n%1").arg(error),
                        MessageButtons::Ok, MessageIcon::Critical,
                        QStringLiteral("Error al Exportar"));
        return;
    }
    dialogs_.MsgBox(QStringLiteral("Las fotos de %1 se han guardado en %2.")
                        .arg(job.clientName, QDir::toNativeSeparators(written)),
                    MessageButtons::Ok, MessageIcon::Information, title);
}

}  // namespace crinova
