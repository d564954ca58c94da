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
#include "program/server_link.h"

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

    // The link to the salon's server. While the station works on it, a backup is made of the
    // server's data, and a restore asks whether it goes into the server or this computer alone.
    void setServerLink(ServerLink* link) { link_ = link; }

    // The window of the backup being written, if one is.
    BackupProgress* backupProgress() const { return backup_; }

  private:
    // The server the station works on (its name), or empty.
    QString serverWorkedOn() const;
    // Its connection while it answers, or null.
    Database* serverConnection() const;
    // Where a restore goes: asked while the station works on the server. Null for this computer's
    // data, the server's connection for the server's (no other station may be working on it);
    // nothing when the stylist stops there.
    std::optional<Database*> restoreTarget();
    // Says why when the check of a backup before its restore failed.
    bool restoreCheckFailed(const JobResult& result);
    // A checked backup into the server: confirmed, the server's data saved in a backup first.
    void serverRestoreChecked(const QString& copy, const JobResult& result);
    // Puts the prepared restore into the server on the worker, once the server's data is saved
    // in the backup `saved`; `connection` is the station's own.
    void putIntoServer(const QString& server, const QString& refused, const QString& saved,
                       Database& connection);
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
    ServerLink* link_ = nullptr;
};

}  // namespace crinova
