#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "main_window/backup_progress.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/record_sets.h"

class QAction;

namespace crinova {

inline const QString kDatabaseTitle = QStringLiteral("Base de Datos");

// The commands of the program's database: "Realizar Copia de Seguridad" (the database and the
// clients' folder in one archive, written while a progress window shows), "Restaurar Base de
// Datos" (from such an archive, checked while the same window shows, or from a copy of the
// database alone) and the repair, which offers the most recently made sound copy when the file is
// damaged. Every failure is told in Spanish, with what to do when the program is left without a
// database. After a restore the main window is asked to forget what came from the database that
// was replaced.
class DatabaseCommands : public QObject {
    Q_OBJECT
  public:
    DatabaseCommands(Database& database, const ProgramFolder& folder, Dialogs& dialogs,
                     std::function<void()> forgetDatabaseState, QObject* parent);

    // The menu entries that run the commands.
    void connectActions(QAction* mnucopiaseguridad, QAction* mnurestaurarbase, QAction* mnureparar);

    void mnucopiaseguridad_Click();
    void mnurestaurarbase_Click();
    void mnureparar_Click();

    // The salon's server the station works on (its name), or empty; and its connection while it
    // answers, or null. A backup is then made of the server's data; a restore asks whether it
    // goes into the server or this computer alone.
    void setServerWorkedOn(std::function<QString()> name, std::function<Database*()> database) {
        serverName_ = std::move(name);
        serverDatabase_ = std::move(database);
    }

    // The window of the backup being written, if one is.
    BackupProgress* backupProgress() const { return backup_; }

  private:
    QString serverWorkedOn() const;
    // Where a restore goes: asked while the station works on the server. Null for this computer's
    // data, the server's connection for the server's (no other station may be working on it);
    // nothing when the stylist stops there.
    std::optional<Database*> restoreTarget();
    // Says why when the check of a backup before its restore failed.
    bool restoreCheckFailed(const JobResult& result);
    // A checked backup into the server: confirmed, the server's data saved in a backup first.
    void serverRestoreChecked(const QString& copy, const JobResult& result);
    // Says so when a backup is being written or a copy checked: restoring or repairing waits.
    bool backupRunning();
    // Shows the progress window of work started on the backup's worker; `finished` follows.
    void watch(std::unique_ptr<BackupJob> job, const QString& title, const QString& caption,
               std::function<void(const JobResult&)> finished);
    // `server`: the salon's server whose data the backup holds, or empty.
    void backupFinished(const JobResult& result, const QString& server);
    void restoreChecked(const QString& copy, const JobResult& result);
    void repairCopyFound(const QString& damage, const JobResult& result);
    void setBusy(bool busy);
    // A prepared restore's files removed on a worker: the window goes on at once.
    void discardPreparedRestore();

    Database& database_;
    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    std::function<void()> forgetDatabaseState_;
    QPointer<BackupProgress> backup_;
    std::vector<std::unique_ptr<BackupJob>> removals_;  // waited for when the commands go
    std::function<QString()> serverName_;
    std::function<Database*()> serverDatabase_;
};

}  // namespace crinova
