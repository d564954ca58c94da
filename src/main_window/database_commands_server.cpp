// The database commands while the station works on the salon's server: where a restore goes, and
// a backup put back into the server.
#include <QDateTime>
#include <QDir>

#include "catalogue/styles_upload.h"
#include "main_window/database_commands.h"
#include "platform/system_errors.h"
#include "program/backup_job.h"
#include "program/full_backup.h"
#include "program/server_backup.h"

namespace crinova {

QString DatabaseCommands::serverWorkedOn() const {
    return link_ && link_->state() != ServerLink::State::Local ? serverName(link_->settings())
                                                               : QString();
}

Database* DatabaseCommands::serverConnection() const {
    return link_ && link_->state() == ServerLink::State::Connected ? &link_->database() : nullptr;
}

std::optional<Database*> DatabaseCommands::restoreTarget() {
    const QString server = serverWorkedOn();
    if (server.isEmpty()) {
        return nullptr;
    }
    const MessageAnswer answer = dialogs_.MsgBox(
        QStringLiteral("Crinova trabaja con el servidor del salón %1.\n\n¿Restaurar la copia en "
                       "el servidor? Sí: las fichas de clientes, las visitas y el catálogo del "
                       "servidor, los de todos los puestos, pasan a ser los de la copia. No: la "
                       "copia cambia solo los datos de este ordenador.")
            .arg(server),
        MessageButtons::YesNoCancel, MessageIcon::Question, kDatabaseTitle);
    if (answer == MessageAnswer::No) {
        return nullptr;
    }
    if (answer != MessageAnswer::Yes) {
        return std::nullopt;
    }
    const QString refused =
        QStringLiteral("No se ha restaurado la copia en el servidor del salón %1.\n\n").arg(server);
    Database* data = serverConnection();
    QString error;
    const int others = data ? otherStations(*data, &error) : -1;
    if (others != 0) {
        dialogs_.MsgBox(
            refused + (!data ? QStringLiteral("No hay conexión con el servidor: se podrá hacer "
                                              "cuando conteste.")
                       : others < 0
                           ? error
                           : QStringLiteral("Hay %1 puesto(s) más trabajando con el servidor. "
                                            "Pida que cierren Crinova o elijan «Trabajar Solo "
                                            "en este Ordenador», y vuelva a intentarlo: lo que "
                                            "muestran y guardan sería de unos datos que ya no "
                                            "están.")
                                 .arg(others)),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return std::nullopt;
    }
    return data;
}

void DatabaseCommands::serverRestoreChecked(const QString& copy, const JobResult& result) {
    if (restoreCheckFailed(result)) {
        return;
    }
    const QString server = serverWorkedOn();
    if (dialogs_.MsgBox(QStringLiteral("¿Seguro que quiere sustituir las fichas de clientes, las "
                                       "visitas y el catálogo del servidor del salón %1 por los "
                                       "de la copia %2? Antes se hará una copia de seguridad de "
                                       "los datos del servidor.")
                            .arg(server, shortenedMiddle(QDir::toNativeSeparators(copy))),
                        MessageButtons::YesNo, MessageIcon::Question,
                        kDatabaseTitle) != MessageAnswer::Yes) {
        discardPreparedRestore();
        return;
    }
    // What the server held is kept in a backup of its own before anything is replaced.
    const QString refused =
        QStringLiteral(
            "No se ha restaurado la copia en el servidor del salón %1; sus datos no "
            "han cambiado.\n\n")
            .arg(server);
    const auto unsaved = [this, refused](const QString& reason) {
        discardPreparedRestore();
        dialogs_.MsgBox(refused + QStringLiteral("No se ha podido hacer antes la copia de "
                                                 "seguridad de sus datos: %1")
                                      .arg(reason),
                        MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
    };
    Database* data = serverConnection();
    QString error =
        QStringLiteral("no hay conexión con el servidor; se podrá hacer cuando conteste.");
    setBusy(true);
    std::unique_ptr<BackupJob> job =
        data ? startFullBackup(database_, folder_, QDateTime::currentDateTime(), &error,
                               link_->access())
             : nullptr;
    setBusy(false);
    if (!job) {
        unsaved(error);
        return;
    }
    watch(std::move(job), QStringLiteral("Copia de Seguridad"),
          QStringLiteral("Guardando los datos del servidor del salón %1...").arg(server),
          [this, server, refused, unsaved](const JobResult& saved) {
              Database* data = serverConnection();
              if (!saved.done || !data) {
                  unsaved(saved.done ? QStringLiteral("no hay conexión con el servidor.")
                                     : saved.error);
                  return;
              }
              putIntoServer(server, refused, saved.file, *data);
          });
}

void DatabaseCommands::putIntoServer(const QString& server, const QString& refused,
                                     const QString& saved, Database& connection) {
    const QString incoming = folder_.fullPath(kRestoreIncoming);
    watch(startServerRestore(link_->access(), incoming, connectionNumber(connection),
                             [incoming](Database& copy) {
                                 return ownStylesPictures(copy, ProgramFolder(incoming));
                             }),
          QStringLiteral("Restaurar Base de Datos"),
          QStringLiteral("Restaurando la copia en el servidor del salón %1...").arg(server),
          [this, server, refused, saved](const JobResult& result) {
              discardPreparedRestore();
              forgetDatabaseState_();
              dialogs_.MsgBox(
                  result.done
                      ? QStringLiteral("La copia se ha restaurado en el servidor del salón %1: "
                                       "sus fichas de clientes, visitas y catálogo son los de la "
                                       "copia. Lo que tenía antes está en la copia de "
                                       "seguridad:\n%2")
                            .arg(server, shortenedMiddle(QDir::toNativeSeparators(saved)))
                      : refused + result.error,
                  MessageButtons::Ok,
                  result.done ? MessageIcon::Information : MessageIcon::Critical, kDatabaseTitle);
          });
}

}  // namespace crinova
