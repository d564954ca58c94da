// Client records, the catalogue clean-up and the database commands of the main window.
#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QPushButton>

#include "clients/visits.h"
#include "main_window/backup_progress.h"
#include "main_window/database_maintenance.h"
#include "main_window/folder_names.h"
#include "main_window/principal.h"
#include "platform/image_control.h"
#include "platform/pointers.h"
#include "program/full_backup.h"

namespace crinova {
namespace {

const QString kDatabaseTitle = QStringLiteral("Base de Datos");

// Said after a database command that leaves the program without a database, with what to do.
QString withoutDatabase(const Database& database, const ProgramFolder& folder) {
    if (database.isOpen()) {
        return QString();
    }
    return QStringLiteral(
               "\n\nCrinova sigue funcionando sin base de datos: no hay catálogo de cabellos ni "
               "fichas de clientes. Restaure una copia de seguridad con «Restaurar Base de "
               "Datos»; si no tiene ninguna, guarde aparte el archivo %1 y vuelva a abrir "
               "Crinova, que empezará con una base de datos vacía.")
        .arg(folder.fullPath(kDatabase));
}

}  // namespace

void Principal::mnunuevocliente_Click() {
    if (clientCommandAllowed()) {
        showWindow(nomcliente_, [this] {
            return new Nomcliente(services_.database, services_.folder, services_.dialogs, *this,
                                  this);
        });
    }
}

void Principal::mnubuscarcliente_Click() {
    if (clientCommandAllowed()) {
        showWindow(buscarcliente_, [this] {
            return new ClientSearch(ClientSearch::Purpose::Buscar, services_.database,
                                    services_.folder, services_.dialogs, *this, this);
        });
    }
}

void Principal::mnueliminar_Click() {
    if (clientCommandAllowed()) {
        showWindow(eliminarclientes_, [this] {
            return new ClientSearch(ClientSearch::Purpose::Eliminar, services_.database,
                                    services_.folder, services_.dialogs, *this, this);
        });
    }
}

bool Principal::activateClient(const ClientRecord& client) {
    if (client.damaged()) {
        // Its photo is found by code and name, which a NULL never matches.
        services_.dialogs.MsgBox(
            QStringLiteral("No se puede usar la ficha %1. Elimínela con «Eliminar "
                           "Ficha Cliente» y dé de alta al Cliente/a de nuevo.")
                .arg(damagedClientName(client)),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("Error Faltan Datos"));
        return false;
    }
    const QString photo = services_.folder.resolve(client.fprograma);
    const PictureLoad load = pictures_.load(photo);
    if (!load.ok()) {
        services_.dialogs.MsgBox(QStringLiteral("No se puede usar la foto del Cliente/a %1.\n\n%2")
                                     .arg(client.nombre, pictureFaultMessage(load)),
                                 MessageButtons::Ok, MessageIcon::Critical,
                                 QStringLiteral("Error Faltan Datos"));
        return false;
    }
    activeClient_ = client;
    overlay_.codigocliente = client.codigo;
    overlay_.nombrecliente = client.nombre;
    overlay_.clienteactivo = true;
    overlay_.usarfotocliente = true;
    // A new photo starts unrotated.
    overlay_.angulo = 0;
    rotation_ = RotationState{};
    btnrestauragirar_->setEnabled(false);
    DibujarPelo();
    return true;
}

void Principal::deactivateClient() {
    activeClient_.reset();
    overlay_.codigocliente.clear();
    overlay_.nombrecliente.clear();
    overlay_.clienteactivo = false;
    overlay_.usarfotocliente = false;
    overlay_.angulo = 0;
    rotation_ = RotationState{};
    btnrestauragirar_->setEnabled(false);
    DibujarPelo();
}

void Principal::clientDeleted(const QString& codigo) {
    if (activeClient_ && activeClient_->codigo == codigo) {
        deactivateClient();
    }
}

void Principal::clientDialogClosed(ClientDialog dialog) {
    // A closed dialog is released; the next command opens a fresh one even before it is gone.
    switch (dialog) {
        case ClientDialog::Nomcliente:
            nomcliente_ = nullptr;
            dialogClosed(true);
            break;
        case ClientDialog::Buscarcliente:
            buscarcliente_ = nullptr;
            if (overlay_.pelocargado) {
                dialogClosed(true);
            }
            break;
        case ClientDialog::Eliminarclientes:
            eliminarclientes_ = nullptr;
            if (overlay_.pelocargado) {
                dialogClosed(false);
            } else {
                activateWindow();
            }
            break;
    }
}

void Principal::mnuguardarcliente_Click() {
    const QString title = QStringLiteral("Guardar Ficha Cliente");
    if (!activeClient_) {
        services_.dialogs.MsgBox(QStringLiteral("No se ha dado de alta ningun Cliente/a"),
                                 MessageButtons::Ok, MessageIcon::Information, title);
        return;
    }
    setMousePointer(kPointerBusy);
    QString error;
    // The photos are kept first, then the record and its visit are written in one transaction.
    const QDateTime when = freeVisitTime(services_.database, services_.folder,
                                         activeClient_->codigo, QDateTime::currentDateTime());
    const QStringList kept = keepVisitPhotos(services_.folder, activeClient_->codigo, when, &error);
    std::vector<VisitPhoto> photos;
    for (const QString& name : kept) {
        // "...-foto<N>.bmp": N is the slot.
        photos.push_back(VisitPhoto{name.at(name.size() - 5).digitValue(), name});
    }
    QString saveError;
    if (!saveClientVisit(services_.database, activeClient_->codigo, activeClient_->nombre,
                         activeClient_->fprograma, when, photos, &saveError)) {
        error = error.isEmpty() ? saveError : error + QStringLiteral("\n") + saveError;
    }
    setMousePointer(kPointerDefault);
    if (!error.isEmpty()) {
        services_.dialogs.MsgBox(
            QStringLiteral("La Ficha del Cliente/a: %1 no se ha guardado entera.\n\n%2")
                .arg(activeClient_->nombre, error),
            MessageButtons::Ok, MessageIcon::Critical, title);
        return;
    }
    services_.dialogs.MsgBox(QStringLiteral("La Ficha del Cliente/a: ") + activeClient_->nombre +
                                 QStringLiteral(" ha sido guardada Satisfactoriamente"),
                             MessageButtons::Ok, MessageIcon::Information, title);
}

void Principal::mnueliminarpelos_Click() {
    // The catalogue style last applied: "\fotos\<largura>\<nombre>.jpg".
    const QStringList parts = overlay_.ficheropelo.split(QLatin1Char('\\'));
    if (parts.size() != 4 || parts[1] != QLatin1String("fotos")) {
        return;
    }
    const QString largura = parts[2];
    const QString nombre = QFileInfo(parts[3]).completeBaseName();
    const QString title = QStringLiteral("Eliminar Cabellos");
    if (services_.dialogs.MsgBox(
            QStringLiteral("¿Seguro que quiere quitar el Cabello %1 (%2) del catálogo?")
                .arg(nombre, largura),
            MessageButtons::YesNo, MessageIcon::Question, title) != MessageAnswer::Yes) {
        return;
    }
    QString error;
    const bool removed =
        services_.database.Execute(QStringLiteral("BEGIN IMMEDIATE"), {}, &error) &&
        services_.database.Execute(QStringLiteral("DELETE FROM cabellos WHERE largura=? AND "
                                                  "nombre=?"),
                                   {largura, nombre}, &error) &&
        services_.database.Execute(QStringLiteral("COMMIT"), {}, &error);
    if (!removed) {
        services_.database.Execute(QStringLiteral("ROLLBACK"));
        services_.dialogs.MsgBox(QStringLiteral("El Cabello no se ha quitado.\n\n%1").arg(error),
                                 MessageButtons::Ok, MessageIcon::Critical, title);
        return;
    }
    action("mnueliminarpelos")->setEnabled(false);
    // The page shown held the removed style: it comes again without it, and the styles after it
    // move up instead of being skipped by the next page.
    setMousePointer(kPointerBusy);
    QString pageError;
    const PageOutcome outcome = reloadCataloguePage(
        catalogue_, overlay_.ficheropelo, services_.database, services_.folder, pictures_,
        [this](int thumbnail, const QImage& picture) {
            Muestrapelos_[static_cast<std::size_t>(thumbnail)]->setPicture(picture);
        },
        &pageError);
    setMousePointer(kPointerDefault);
    samples_.muestraaplicada = false;
    reportPage(outcome, pageError, false);
}

void Principal::mnucopiaseguridad_Click() {
    if (backup_) {
        backup_->raise();
        return;
    }
    // The database is copied at once, consistent; the archive is written on a worker.
    const QDateTime now = QDateTime::currentDateTime();
    const QString snapshot = services_.folder.fullPath(backupSnapshotName(now));
    const QString target = services_.folder.fullPath(fullBackupName(now));
    QString error;
    QFile::remove(snapshot);
    if (QFileInfo::exists(target) || !backupDatabase(services_.database, snapshot, &error)) {
        QFile::remove(snapshot);
        services_.dialogs.MsgBox(
            QStringLiteral("No se ha hecho la copia de seguridad.\n\n%1")
                .arg(error.isEmpty() ? QStringLiteral("Ya existe una copia llamada %1.").arg(target)
                                     : error),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    backup_ = new BackupProgress(services_.folder, snapshot, target, services_.dialogs, this);
    backup_->start();
}

void Principal::mnurestaurarbase_Click() {
    const QString copy =
        services_.dialogs.OpenFile(QStringLiteral("Copias de Seguridad(*.tar;*.db)|*.tar;*.db"),
                                   QStringLiteral("Seleccione la Copia de Seguridad"),
                                   services_.folder.fullPath(kBackupFolder));
    if (copy.isEmpty()) {
        return;
    }
    QString error;
    if (copy.endsWith(QLatin1String(".tar"), Qt::CaseInsensitive)) {
        restoreFullBackup(copy);
        return;
    }
    if (!isSoundDatabase(copy, &error)) {
        services_.dialogs.MsgBox(
            QStringLiteral("Ese archivo no es una copia válida de la base de datos.\n\n%1")
                .arg(error),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    if (services_.dialogs.MsgBox(
            QStringLiteral("¿Seguro que quiere sustituir la base de datos actual por la copia "
                           "%1? La base de datos actual se guardará aparte.")
                .arg(copy),
            MessageButtons::YesNo, MessageIcon::Question, kDatabaseTitle) != MessageAnswer::Yes) {
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString aside = services_.folder.fullPath(
        kBackupFolder + QStringLiteral("\\antes-de-restaurar-") +
        now.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".db"));
    const bool restored =
        restoreDatabase(services_.database, services_.folder, copy, aside, &error);
    forgetDatabaseState();
    services_.dialogs.MsgBox(
        restored ? QStringLiteral("La base de datos se ha restaurado. La anterior está en:\n%1")
                       .arg(aside)
                 : QStringLiteral("No se ha podido restaurar la base de datos.\n\n%1").arg(error) +
                       withoutDatabase(services_.database, services_.folder),
        MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
        kDatabaseTitle);
}

void Principal::restoreFullBackup(const QString& copy) {
    setMousePointer(kPointerBusy);
    QString error;
    const bool sound = prepareFullRestore(services_.folder, copy, &error);
    setMousePointer(kPointerDefault);
    if (!sound) {
        services_.dialogs.MsgBox(
            QStringLiteral("Ese archivo no es una copia de seguridad válida.\n\n%1").arg(error),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    if (services_.dialogs.MsgBox(
            QStringLiteral("¿Seguro que quiere sustituir la base de datos y las fichas de clientes "
                           "actuales por la copia %1? La base de datos actual se guardará aparte.")
                .arg(copy),
            MessageButtons::YesNo, MessageIcon::Question, kDatabaseTitle) != MessageAnswer::Yes) {
        discardFullRestore(services_.folder);
        return;
    }
    const QString aside = services_.folder.fullPath(
        kBackupFolder + QStringLiteral("\\antes-de-restaurar-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
        QStringLiteral(".db"));
    setMousePointer(kPointerBusy);
    const bool restored = swapInFullRestore(services_.database, services_.folder, aside, &error);
    setMousePointer(kPointerDefault);
    forgetDatabaseState();
    services_.dialogs.MsgBox(
        restored ? QStringLiteral("La copia se ha restaurado: la base de datos y las fichas de "
                                  "clientes. La base de datos anterior está en:\n%1")
                       .arg(aside)
                 : QStringLiteral("No se ha podido restaurar la copia.\n\n%1").arg(error) +
                       withoutDatabase(services_.database, services_.folder),
        MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
        kDatabaseTitle);
}

void Principal::forgetDatabaseState() {
    // The page, the client and the applied catalogue style may not exist in the database now: the
    // thumbnails show the installed samples again, any of them applies at a click, and no style is
    // there to remove. What is composed on the photo stays as the stylist left it.
    const CatalogueFilters filters = catalogue_.filters;
    catalogue_ = CatalogueState{};
    catalogue_.filters = filters;
    for (int i = 0; i < 6; ++i) {
        loadOptionalPicture(Muestrapelos_[static_cast<std::size_t>(i)], sampleHairName(i + 1));
    }
    samples_.muestraaplicada = false;
    action("mnueliminarpelos")->setEnabled(false);
    if (activeClient_) {
        deactivateClient();
    }
}

void Principal::mnureparar_Click() {
    QString error;
    switch (repairDatabase(services_.database, services_.folder, &error)) {
        case RepairOutcome::Repaired:
            services_.dialogs.MsgBox(
                QStringLiteral("La base de datos está en buen estado y se ha reorganizado."),
                MessageButtons::Ok, MessageIcon::Information, kDatabaseTitle);
            return;
        case RepairOutcome::Failed:
            services_.dialogs.MsgBox(
                QStringLiteral("No se ha podido reorganizar la base de datos.\n\n%1").arg(error) +
                    withoutDatabase(services_.database, services_.folder),
                MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
            return;
        case RepairOutcome::Damaged:
            break;
    }
    const QString newest = newestBackup(services_.folder);
    if (newest.isEmpty()) {
        services_.dialogs.MsgBox(
            QStringLiteral(
                "La base de datos está dañada y no hay ninguna copia de seguridad.\n\n%1")
                    .arg(error) +
                withoutDatabase(services_.database, services_.folder),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    if (services_.dialogs.MsgBox(
            QStringLiteral("La base de datos está dañada.\n\n%1\n\n¿Quiere restaurar la copia más "
                           "reciente (%2)?")
                .arg(error, newest),
            MessageButtons::YesNo, MessageIcon::Critical, kDatabaseTitle) != MessageAnswer::Yes) {
        if (!services_.database.isOpen()) {
            services_.dialogs.MsgBox(
                withoutDatabase(services_.database, services_.folder).trimmed(), MessageButtons::Ok,
                MessageIcon::Exclamation, kDatabaseTitle);
        }
        return;
    }
    const QString aside = services_.folder.fullPath(
        kBackupFolder + QStringLiteral("\\danada-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
        QStringLiteral(".db"));
    QString restoreError;
    // From a whole backup only the database comes back: the clients' files are not damaged.
    const bool archive = newest.endsWith(QLatin1String(".tar"));
    const bool restored =
        (!archive || prepareFullRestore(services_.folder, newest, &restoreError)) &&
        restoreDatabase(
            services_.database, services_.folder,
            archive ? services_.folder.fullPath(kRestoreIncoming) + QStringLiteral("/crinova.db")
                    : newest,
            aside, &restoreError);
    discardFullRestore(services_.folder);
    // Exactly what a restore from the menu forgets.
    forgetDatabaseState();
    services_.dialogs.MsgBox(
        restored ? QStringLiteral("La base de datos se ha restaurado desde %1.").arg(newest)
                 : QStringLiteral("No se ha podido restaurar la base de datos.\n\n%1")
                           .arg(restoreError) +
                       withoutDatabase(services_.database, services_.folder),
        MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
        kDatabaseTitle);
}

}  // namespace crinova
