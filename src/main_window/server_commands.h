#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/record_sets.h"
#include "program/server_link.h"
#include "server/servidor.h"

class QAction;
class QWidget;

namespace crinova {

// The salon's server: "&Servidor del Salón..." opens "SERVIDOR DEL SALÓN"; a station set to work
// on the server connects at start (asking for the password when none is remembered), and the
// title says where it works. A lost connection is told once and comes back by itself.
class ServerCommands : public QObject {
    Q_OBJECT
  public:
    // What the commands ask of the main window.
    struct Window {
        QWidget* parent;  // the dialog's parent window
        // The title names the server ("salon.local", with "(sin conexión)" while it is lost), or
        // nothing while the station works alone.
        std::function<void(const QString& server)> showServer;
        std::function<void()> servidorClosed;  // the main window takes the screen back
        // Where the client records are: the server's database, or null for this computer's.
        std::function<void(Database* server)> recordsOn;
    };

    ServerCommands(Database& database, const ProgramFolder& folder, Dialogs& dialogs, Window window,
                   QObject* parent);

    void connectAction(QAction* mnuservidor);
    void mnuservidor_Click();
    // At start: a station set to work on the server connects to it.
    void connectAtStart();

    ServerLink& link() { return *link_; }
    Servidor* servidor() const { return servidor_; }

  private:
    ServerHost host();
    void connectServer(const ServerSettings& server, const QString& password, bool remember,
                       const ServerHost::Done& done);
    void workLocally();
    // "S&ubir los Datos de este Ordenador", while connected; answers the report.
    QString upload();
    // A server with no catalogue yet takes this station's.
    void seedCatalogue();
    void showState();
    QString stateText() const;

    Database& database_;
    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    Window window_;
    ServerLink* link_ = nullptr;
    QPointer<Servidor> servidor_;
};

}  // namespace crinova
