// The database commands: backup, restore from a copy, and repair.
#include "main_window/database_commands.h"

#include <QAction>
#include <QDateTime>
#include <QWidget>

#include "main_window/backup_progress.h"
#include "platform/pointers.h"
#include "program/backup_job.h"
#include "program/database_maintenance.h"
#include "program/folder_names.h"
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

void DatabaseCommands::mnucopiaseguridad_Click() {
    if (backup_) {
        backup_->raise();
        return;
    }
    QString error;
    std::unique_ptr<BackupJob> job =
        startFullBackup(database_, folder_, QDateTime::currentDateTime(), &error);
    if (!job) {
        dialogs_.MsgBox(QStringLiteral("No se ha hecho la copia de seguridad.\n\n%1").arg(error),
                        MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    backup_ = new BackupProgress(std::move(job), dialogs_, qobject_cast<QWidget*>(parent()));
    backup_->start();
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
    const QString copy = dialogs_.OpenFile(
        QStringLiteral("Copias de Seguridad(*.tar;*.db)|*.tar;*.db"),
        QStringLiteral("Seleccione la Copia de Seguridad"), folder_.fullPath(kBackupFolder));
    if (copy.isEmpty()) {
        return;
    }
    if (copy.endsWith(QLatin1String(".tar"), Qt::CaseInsensitive)) {
        restoreFullBackup(copy);
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
                .arg(copy),
            MessageButtons::YesNo, MessageIcon::Question, kDatabaseTitle) != MessageAnswer::Yes) {
        return;
    }
    const QString aside = folder_.fullPath(beforeRestoreName(QDateTime::currentDateTime()));
    const bool restored = restoreDatabase(database_, folder_, copy, aside, &error);
    forgetDatabaseState_();
    dialogs_.MsgBox(
        restored ? QStringLiteral("La base de datos se ha restaurado. La anterior está en:\n%1")
                       .arg(aside)
                 : QStringLiteral("No se ha podido restaurar la base de datos.\n\n%1").arg(error) +
                       withoutDatabase(database_, folder_),
        MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
        kDatabaseTitle);
}

void DatabaseCommands::restoreFullBackup(const QString& copy) {
    setBusy(true);
    QString error;
    const bool sound = prepareFullRestore(folder_, copy, &error);
    setBusy(false);
    if (!sound) {
        dialogs_.MsgBox(
            QStringLiteral("Ese archivo no es una copia de seguridad válida.\n\n%1").arg(error),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    if (dialogs_.MsgBox(
            QStringLiteral("¿Seguro que quiere sustituir la base de datos y las fichas de clientes "
                           "actuales por la copia %1? La base de datos actual se guardará aparte.")
                .arg(copy),
            MessageButtons::YesNo, MessageIcon::Question, kDatabaseTitle) != MessageAnswer::Yes) {
        discardFullRestore(folder_);
        return;
    }
    const QString aside = folder_.fullPath(beforeRestoreName(QDateTime::currentDateTime()));
    setBusy(true);
    const bool restored = swapInFullRestore(database_, folder_, aside, &error);
    setBusy(false);
    forgetDatabaseState_();
    dialogs_.MsgBox(
        restored ? QStringLiteral("La copia se ha restaurado: la base de datos y las fichas de "
                                  "clientes. La base de datos anterior está en:\n%1")
                       .arg(aside)
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
        case RepairOutcome::Failed:
            dialogs_.MsgBox(
                QStringLiteral("No se ha podido reorganizar la base de datos.\n\n%1").arg(error) +
                    withoutDatabase(database_, folder_),
                MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
            return;
        case RepairOutcome::Damaged:
            break;
    }
    const QString newest = newestBackup(folder_);
    if (newest.isEmpty()) {
        dialogs_.MsgBox(
            QStringLiteral(
                "La base de datos está dañada y no hay ninguna copia de seguridad.\n\n%1")
                    .arg(error) +
                withoutDatabase(database_, folder_),
            MessageButtons::Ok, MessageIcon::Critical, kDatabaseTitle);
        return;
    }
    if (dialogs_.MsgBox(
            QStringLiteral("La base de datos está dañada.\n\n%1\n\n¿Quiere restaurar la copia más "
                           "reciente (%2)?")
                .arg(error, newest),
            MessageButtons::YesNo, MessageIcon::Critical, kDatabaseTitle) != MessageAnswer::Yes) {
        if (!database_.isOpen()) {
            dialogs_.MsgBox(withoutDatabase(database_, folder_).trimmed(), MessageButtons::Ok,
                            MessageIcon::Exclamation, kDatabaseTitle);
        }
        return;
    }
    const QString aside = folder_.fullPath(damagedCopyName(QDateTime::currentDateTime()));
    QString restoreError;
    // From a whole backup only the database comes back: the clients' files are not damaged.
    const bool archive = newest.endsWith(QLatin1String(".tar"));
    const bool restored =
        (!archive || prepareFullRestore(folder_, newest, &restoreError)) &&
        restoreDatabase(
            database_, folder_,
            archive ? folder_.fullPath(kRestoreIncoming) + QStringLiteral("/crinova.db") : newest,
            aside, &restoreError);
    discardFullRestore(folder_);
    // Exactly what a restore from the menu forgets.
    forgetDatabaseState_();
    dialogs_.MsgBox(restored
                        ? QStringLiteral("La base de datos se ha restaurado desde %1.").arg(newest)
                        : QStringLiteral("No se ha podido restaurar la base de datos.\n\n%1")
                                  .arg(restoreError) +
                              withoutDatabase(database_, folder_),
                    MessageButtons::Ok, restored ? MessageIcon::Information : MessageIcon::Critical,
                    kDatabaseTitle);
}

}  // namespace crinova
