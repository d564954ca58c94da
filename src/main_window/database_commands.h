#pragma once

#include <QObject>
#include <functional>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/record_sets.h"

class QAction;

namespace crinova {

// The commands of the program's database: "Realizar Copia de Seguridad", "Restaurar Base de
// Datos" and the repair, which offers the newest copy when the file is damaged. Every failure is
// told in Spanish, with what to do when the program is left without a database. After a restore
// the main window is asked to forget what came from the database that was replaced.
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

  private:
    Database& database_;
    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    std::function<void()> forgetDatabaseState_;
};

}  // namespace crinova
