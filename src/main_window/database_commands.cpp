// The database commands: backup, restore from a copy, and repair.
#include "main_window/database_commands.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include "main_window/backup_progress.h"
#include "platform/pointers.h"
#include "platform/system_errors.h"
#include "program/backup_job.h"
#include "program/database_maintenance.h"
#include "program/folder_names.h"
#include "program/full_backup.h"

namespace crinova {
namespace {

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
        .arg(shortenedMiddle(QDir::toNativeSeparators(folder.fullPath(kDatabase))));
}

// Up to ten lines of a list, and how many more.
QString listed(const QStringList& lines) {
    constexpr qsizetype kShown = 10;
    QString text = lines.mid(0, kShown).join(QLatin1Char('\n'));
    if (lines.size() > kShown) {
        text += QStringLiteral("\n… y %1 más.").arg(lines.size() - kShown);
    }
    return text;
}

}  // namespace

DatabaseCommands::DatabaseCommands(Database& database, const ProgramFolder& folder,
                                   Dialogs& dialogs, std::function<void()> forgetDatabaseState,
                                   QObject* parent)
    : QObject(parent),
      database_(database),
      folder_(folder),
      dialogs_(dialogs),
      forgetDatabaseState_(std::move(forgetDatabaseState)) {}

void DatabaseCommands::connectActions(QAction* mnucopiaseguridad, QAction* mnurestaurarbase,
                                      QAction* mnureparar) {
    connect(mnucopiaseguridad, &QAction::triggered, this,
            &DatabaseCommands::mnucopiaseguridad_Click);
    connect(mnurestaurarbase, &QAction::triggered, this, &DatabaseCommands::mnurestaurarbase_Click);
    connect(mnureparar, &QAction::triggered, this, &DatabaseCommands::mnureparar_Click);
}

void DatabaseCommands::setBusy(bool busy) {
    if (auto* window = qobject_cast<QWidget*>(parent())) {
        window->setCursor(cursorFor(busy ? kPointerBusy : kPointerDefault));
    }
}

void DatabaseCommands::watch(std::unique_ptr<BackupJob> job, const QString& title,
                             const QString& caption,
                             std::function<void(const JobResult&)> finished) {
    backup_ = new BackupProgress(std::move(job), title, caption, std::move(finished),
                                 qobject_cast<QWidget*>(parent()));
    backup_->start();
}

void DatabaseCommands::discardPreparedRestore() {
    const QString apart = setPreparedRestoreApart(folder_);
    if (apart.isEmpty()) {
        return;
    }
    std::erase_if(removals_, [](const std::unique_ptr<BackupJob>& job) { return job->finished(); });
    removals_.push_back(
        std::make_unique<BackupJob>([folder = folder_, apart](const ArchiveProgress&) {
            JobResult result;
            result.done = removeFolder(folder, apart);
            return result;
        }));
    removals_.back()->start();
}

void DatabaseCommands::mnucopiaseguridad_Click() {
    if (backup_) {
        backup_->raise();
        return;
    }
    const QString server = serverWorkedOn();
    std::optional<ServerAccess> access;
    if (!server.isEmpty()) {
        // The salon's data is the server's: a copy of this computer's alone would miss it.
        if (!serverConnection()) {
            dialogs_.MsgBox(QStringLiteral("No se ha hecho la copia de seguridad.\n\nNo hay "
                                           "conexión con el servidor del salón %1: la copia de "
                                           "sus datos se podrá hacer cuando conteste.")
                                .arg(server),
                            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
            return;
        }
        access = link_->access();
    }
    QString error;
    std::unique_ptr<BackupJob> job =
        startFullBackup(database_, folder_, QDateTime::currentDateTime(), &error, access);
    if (!job) {
        dialogs_.MsgBox(QStringLiteral("No se ha hecho la copia de seguridad.\n\n%1").arg(error),
                        MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    watch(std::move(job), QStringLiteral("Copia de Seguridad"),
          server.isEmpty()
              ? QStringLiteral("Guardando la base de datos y las fichas de clientes...")
              : QStringLiteral("Guardando los datos del servidor del salón %1...").arg(server),
          [this, server](const JobResult& result) { backupFinished(result, server); });
}

void DatabaseCommands::backupFinished(const JobResult& result, const QString& server) {
    if (!result.done) {
        dialogs_.MsgBox(
            QStringLiteral("No se ha hecho la copia de seguridad.\n\n%1").arg(result.error),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    const QString what =
        server.isEmpty()
            ? QStringLiteral("La copia de seguridad")
            : QStringLiteral("La copia de seguridad de los datos del servidor del salón %1")
                  .arg(server);
    QString text = QStringLiteral("%1 se ha guardado en:\n%2")
                       .arg(what, shortenedMiddle(QDir::toNativeSeparators(result.file)));
    if (!result.notes.isEmpty()) {
        text += QStringLiteral(
                    "\n\nNo se ha copiado lo que no es un archivo o una carpeta de "
                    "verdad (%1):\n%2")
                    .arg(result.notes.size())
                    .arg(listed(result.notes));
    }
    dialogs_.MsgBox(text, MessageButtons::Ok,
                    result.notes.isEmpty() ? MessageIcon::Information : MessageIcon::Exclamation,
                    kDatabaseTitle);
}

bool DatabaseCommands::backupRunning() {
    if (!backup_ || !backup_->running()) {
        return false;
    }
    // The backup reads the clients' folder that a restore would swap away under it.
    dialogs_.MsgBox(
        QStringLiteral("Se está haciendo una copia de seguridad. Espere a que termine."),
        MessageButtons::Ok, MessageIcon::Exclamation, kDatabaseTitle);
    backup_->raise();
    return true;
}

void DatabaseCommands::mnurestaurarbase_Click() {
    if (backupRunning()) {
        return;
    }
    const std::optional<Database*> target = restoreTarget();
    if (!target) {
        return;
    }
    Database* server = *target;
    // The server takes whole backups only: a database alone has none of the pictures.
    const QString copy = dialogs_.OpenFile(
        server ? QStringLiteral("Copias de Seguridad(*.tar)|*.tar")
               : QStringLiteral("Copias de Seguridad(*.tar;*.db)|*.tar;*.db"),
        QStringLiteral("Seleccione la Copia de Seguridad"), folder_.fullPath(kBackupFolder));
    if (copy.isEmpty()) {
        return;
    }
    if (copy.endsWith(QLatin1String(".tar"), Qt::CaseInsensitive)) {
        // Read through and checked on the worker: an archive of many files takes a while.
        watch(startRestoreCheck(folder_, copy), QStringLiteral("Restaurar Base de Datos"),
              QStringLiteral("Comprobando la copia de seguridad..."),
              [this, copy, server](const JobResult& result) {
                  if (server) {
                      serverRestoreChecked(copy, result);
                  } else {
                      restoreChecked(copy, result);
                  }
              });
        return;
    }
    if (server) {
        dialogs_.MsgBox(QStringLiteral("En el servidor solo se restauran copias de seguridad "
                                       "completas (archivos .tar)."),
                        MessageButtons::Ok, MessageIcon::Exclamation, kDatabaseTitle);
        return;
    }
    QString error;
    if (!isSoundDatabase(copy, &error)) {
        dialogs_.MsgBox(
            QStringLiteral("Ese archivo no es una copia válida de la base de datos.\n\n%1")
                .arg(error),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    if (dialogs_.MsgBox(
            QStringLiteral("¿Seguro que quiere sustituir la base de datos actual por la copia "
                           "%1? La base de datos actual se guardará aparte.")
                .arg(shortenedMiddle(QDir::toNativeSeparators(copy))),
            MessageButtons::YesNo, MessageIcon::Question, kDatabaseTitle) != MessageAnswer::Yes) {
        return;
    }
    const QString aside = folder_.fullPath(beforeRestoreName(QDateTime::currentDateTime()));
    const bool restored = restoreDatabase(database_, folder_, copy, aside, &error);
    forgetDatabaseState_();
    dialogs_.MsgBox(
        restored ? QStringLiteral("La base de datos se ha restaurado. La anterior está en:\n%1")
                       .arg(shortenedMiddle(QDir::toNativeSeparators(aside)))
                 : QStringLiteral("No se ha podido restaurar la base de datos.\n\n%1").arg(error) +
                       withoutDatabase(database_, folder_),
        MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
        kDatabaseTitle);
}

bool DatabaseCommands::restoreCheckFailed(const JobResult& result) {
    if (result.done) {
        return false;
    }
    dialogs_.MsgBox(
        (result.unwritable
             ? QStringLiteral("No se ha podido preparar la restauración; la copia puede estar "
                              "bien. Nada ha cambiado.\n\n%1")
             : QStringLiteral("Ese archivo no es una copia de seguridad válida. Nada ha "
                              "cambiado.\n\n%1"))
            .arg(result.error),
        MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
    return true;
}

void DatabaseCommands::restoreChecked(const QString& copy, const JobResult& result) {
    if (restoreCheckFailed(result)) {
        return;
    }
    if (dialogs_.MsgBox(
            QStringLiteral("¿Seguro que quiere sustituir la base de datos y las fichas de clientes "
                           "actuales por la copia %1? La base de datos actual se guardará aparte.")
                .arg(shortenedMiddle(QDir::toNativeSeparators(copy))),
            MessageButtons::YesNo, MessageIcon::Question, kDatabaseTitle) != MessageAnswer::Yes) {
        discardPreparedRestore();
        return;
    }
    const QString aside = folder_.fullPath(beforeRestoreName(QDateTime::currentDateTime()));
    QString error;
    setBusy(true);
    const bool restored = swapInFullRestore(database_, folder_, aside, &error);
    setBusy(false);
    forgetDatabaseState_();
    QString kept;
    if (QFileInfo::exists(aside)) {
        kept += QStringLiteral(" La base de datos anterior está en:\n%1")
                    .arg(shortenedMiddle(QDir::toNativeSeparators(aside)));
    }
    if (QFileInfo::exists(previousClientsFolder(aside))) {
        kept += QStringLiteral("\ny las fotos de clientes anteriores, en:\n%1")
                    .arg(shortenedMiddle(QDir::toNativeSeparators(previousClientsFolder(aside))));
    }
    dialogs_.MsgBox(
        restored ? QStringLiteral("La copia se ha restaurado: la base de datos y las fichas de "
                                  "clientes.") +
                       kept
                 : QStringLiteral("No se ha podido restaurar la copia.\n\n%1").arg(error) +
                       withoutDatabase(database_, folder_),
        MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
        kDatabaseTitle);
}

void DatabaseCommands::mnureparar_Click() {
    if (backupRunning()) {
        return;
    }
    QString error;
    switch (repairDatabase(database_, folder_, &error)) {
        case RepairOutcome::Repaired:
            dialogs_.MsgBox(
                QStringLiteral("La base de datos está en buen estado y se ha reorganizado."),
                MessageButtons::Ok, MessageIcon::Information, kDatabaseTitle);
            return;
        case RepairOutcome::Busy:
            // Busy is not damaged: offering a copy here would throw away the newest records.
            dialogs_.MsgBox(
                QStringLiteral("La base de datos está ocupada por otro programa (otro Crinova que "
                               "hace una copia de seguridad, o una herramienta que la está "
                               "modificando), así que no se ha podido comprobar. No se ha "
                               "cambiado nada. Espere a que el otro programa termine y vuelva a "
                               "intentarlo."),
                MessageButtons::Ok, MessageIcon::Exclamation, kDatabaseTitle);
            return;
        case RepairOutcome::Failed:
            dialogs_.MsgBox(
                QStringLiteral("No se ha podido reorganizar la base de datos.\n\n%1").arg(error) +
                    withoutDatabase(database_, folder_),
                MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
            return;
        case RepairOutcome::Damaged:
            break;
    }
    if (backupCopies(folder_).isEmpty()) {
        dialogs_.MsgBox(
            QStringLiteral(
                "La base de datos está dañada y no hay ninguna copia de seguridad.\n\n%1")
                    .arg(error) +
                withoutDatabase(database_, folder_),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    // The copies are checked on the worker, newest first, until a sound one.
    watch(startSoundCopySearch(folder_), QStringLiteral("Reparar Base de Datos"),
          QStringLiteral("Buscando una copia de seguridad sana..."),
          [this, error](const JobResult& result) { repairCopyFound(error, result); });
}

void DatabaseCommands::repairCopyFound(const QString& damage, const JobResult& result) {
    const QString passedOver = result.notes.isEmpty()
                                   ? QString()
                                   : QStringLiteral("\n\nCopias más recientes que no sirven:\n%1")
                                         .arg(listed(result.notes));
    if (!result.done) {
        dialogs_.MsgBox(QStringLiteral("La base de datos está dañada.\n\n%1\n\nNo se puede "
                                       "restaurar ninguna copia: %2")
                                .arg(damage, result.error) +
                            passedOver + withoutDatabase(database_, folder_),
                        MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    const QString copy = result.file;
    const QString shownCopy = shortenedMiddle(QDir::toNativeSeparators(copy));
    if (dialogs_.MsgBox(
            QStringLiteral("La base de datos está dañada.\n\n%1\n\n¿Quiere restaurar la copia "
                           "sana más reciente (%2, hecha el %3)?")
                    .arg(damage, shownCopy,
                         result.made.toString(QStringLiteral("dd/MM/yyyy HH:mm"))) +
                passedOver,
            MessageButtons::YesNo, MessageIcon::Critical, kDatabaseTitle) != MessageAnswer::Yes) {
        discardPreparedRestore();
        if (!database_.isOpen()) {
            dialogs_.MsgBox(withoutDatabase(database_, folder_).trimmed(), MessageButtons::Ok,
                            MessageIcon::Exclamation, kDatabaseTitle);
        }
        return;
    }
    const QString aside = folder_.fullPath(damagedCopyName(QDateTime::currentDateTime()));
    QString restoreError;
    // From a whole backup only the database comes back: the clients' files are not damaged.
    const bool archive = copy.endsWith(QLatin1String(".tar"), Qt::CaseInsensitive);
    const bool restored = restoreDatabase(
        database_, folder_,
        archive ? folder_.fullPath(kRestoreIncoming) + QStringLiteral("/crinova.db") : copy, aside,
        &restoreError);
    discardPreparedRestore();
    // Exactly what a restore from the menu forgets.
    forgetDatabaseState_();
    dialogs_.MsgBox(
        restored ? QStringLiteral("La base de datos se ha restaurado desde %1.").arg(shownCopy)
                 : QStringLiteral("No se ha podido restaurar la base de datos.\n\n%1")
                           .arg(restoreError) +
                       withoutDatabase(database_, folder_),
        MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
        kDatabaseTitle);
}

}  // namespace crinova
