// The salon's server: its dialog, the connection at start, and where the title says the station
// works.
#include "main_window/server_commands.h"

#include <QAction>

#include "catalogue/styles_upload.h"
#include "clients/records_upload.h"
#include "program/password_file.h"

namespace crinova {
namespace {

const QString kTitle = QStringLiteral("Servidor del Salón");

}  // namespace

ServerCommands::ServerCommands(Database& database, const ProgramFolder& folder, Dialogs& dialogs,
                               Window window, QObject* parent)
    : QObject(parent),
      database_(database),
      folder_(folder),
      dialogs_(dialogs),
      window_(std::move(window)),
      link_(new ServerLink(folder, this)) {
    connect(link_, &ServerLink::lost, this, [this](const QString& message) {
        showState();
        dialogs_.MsgBox(message, MessageButtons::Ok, MessageIcon::Exclamation, kTitle);
    });
    connect(link_, &ServerLink::restored, this, &ServerCommands::showState);
}

void ServerCommands::connectAction(QAction* mnuservidor) {
    connect(mnuservidor, &QAction::triggered, this, &ServerCommands::mnuservidor_Click);
}

ServerHost ServerCommands::host() {
    return ServerHost{
        [this] { return loadServerSettings(database_); },
        [](const ServerSettings& server) { return passwordRemembered(passwordFilePath(), server); },
        [this] { return stateText(); },
        [this](const ServerSettings& server, const QString& password, ServerHost::Done done) {
            link_->test(server, password, std::move(done));
        },
        [this](const ServerSettings& server, const QString& password, bool remember,
               ServerHost::Done done) { connectServer(server, password, remember, done); },
        [this] { workLocally(); },
        [this] { return upload(); }};
}

QString ServerCommands::upload() {
    if (link_->state() != ServerLink::State::Connected) {
        return QStringLiteral(
            "Para subir los datos de este ordenador, conéctese antes al "
            "servidor del salón. Nada se ha copiado.");
    }
    QString report = uploadRecords(database_, link_->database(), folder_).report();
    const StylesUpload styles = uploadOwnStyles(database_, link_->database(), folder_);
    report += QStringLiteral("\nCabellos propios copiados: %1; ya estaban: %2.")
                  .arg(styles.copied)
                  .arg(styles.there);
    if (!styles.conflicts.isEmpty()) {
        report += QStringLiteral("\n\nCabellos que se han dejado como están en el servidor:\n") +
                  styles.conflicts.join(QLatin1Char('\n'));
    }
    if (!styles.failures.isEmpty()) {
        report += QStringLiteral("\n\nCabellos que no se han podido copiar:\n") +
                  styles.failures.join(QLatin1Char('\n'));
    }
    return report;
}

void ServerCommands::seedCatalogue() {
    QString error;
    if (!seedServerCatalogue(database_, link_->database(), folder_, &error)) {
        dialogs_.MsgBox(QStringLiteral("No se ha podido llevar el catálogo de cabellos de este "
                                       "ordenador al servidor del salón %1.\n\n%2")
                            .arg(serverName(link_->settings()), error),
                        MessageButtons::Ok, MessageIcon::Exclamation, kTitle);
    }
}

void ServerCommands::mnuservidor_Click() {
    showModeless(modelessWindow(
        servidor_, [this] { return new Servidor(host(), dialogs_, window_.parent); }, this,
        [this] { window_.servidorClosed(); }));
}

void ServerCommands::connectAtStart() {
    const ServerSettings kept = loadServerSettings(database_);
    if (!kept.activo || kept.servidor.isEmpty()) {
        return;
    }
    // The station works on the server's records even before it answers: nothing is written here
    // that belongs there.
    window_.recordsOn(&link_->database());
    // The password comes from the password file, if it was remembered.
    link_->connectTo(kept, QString(), true, [this](const ServerOutcome& outcome) {
        showState();
        if (outcome.ok()) {
            seedCatalogue();
            return;
        }
        if (outcome.fault == ServerFault::PasswordNeeded) {
            mnuservidor_Click();
            servidor_->askPassword(
                QStringLiteral("Escriba la contraseña del servidor para trabajar con él, o "
                               "pulse «Trabajar Solo en este Ordenador»."));
            return;
        }
        dialogs_.MsgBox(
            outcome.message + (link_->state() == ServerLink::State::Lost
                                   ? QStringLiteral("\n\nCrinova volverá a conectarse sola en "
                                                    "cuanto el servidor conteste.")
                                   : QStringLiteral("\n\nCorrija los datos en «Servidor del "
                                                    "Salón», en el menú «Base de Datos».")),
            MessageButtons::Ok, MessageIcon::Exclamation, kTitle);
    });
}

void ServerCommands::connectServer(const ServerSettings& server, const QString& password,
                                   bool remember, const ServerHost::Done& done) {
    link_->connectTo(
        server, password, false,
        [this, server, password, remember, done](const ServerOutcome& outcome) {
            showState();
            if (!outcome.ok()) {
                done(outcome);
                return;
            }
            window_.recordsOn(&link_->database());
            seedCatalogue();
            ServerSettings kept = server;
            kept.activo = true;
            QString error;
            QStringList problems;
            if (!saveServerSettings(database_, kept, &error)) {
                problems << QStringLiteral(
                                "No se han podido guardar los datos del servidor en este "
                                "ordenador: %1")
                                .arg(error);
            }
            const QString file = passwordFilePath();
            // Only a password typed now is written; one remembered before stays as it is.
            if (remember
                    ? (!password.isEmpty() && !rememberPassword(file, server, password, &error))
                    : !forgetPassword(file, server, &error)) {
                problems << error;
            }
            dialogs_.MsgBox(
                QStringLiteral(
                    "Conectado con el servidor %1.\n\nLas fichas de clientes, sus visitas y "
                    "el catálogo de cabellos se guardan ahora en el servidor, y las copias de "
                    "seguridad son de los datos del servidor.")
                        .arg(serverName(server)) +
                    (problems.isEmpty()
                         ? QString()
                         : QStringLiteral("\n\n") + problems.join(QLatin1Char('\n'))),
                MessageButtons::Ok,
                problems.isEmpty() ? MessageIcon::Information : MessageIcon::Exclamation, kTitle);
            done(outcome);
        });
}

void ServerCommands::workLocally() {
    link_->disconnectServer();
    window_.recordsOn(nullptr);
    ServerSettings kept = loadServerSettings(database_);
    QString error;
    if (kept.activo) {
        kept.activo = false;
        if (!saveServerSettings(database_, kept, &error)) {
            dialogs_.MsgBox(QStringLiteral("No se ha podido guardar en este ordenador que "
                                           "trabaja solo: %1")
                                .arg(error),
                            MessageButtons::Ok, MessageIcon::Exclamation, kTitle);
        }
    }
    showState();
}

QString ServerCommands::stateText() const {
    const QString name = serverName(link_->settings());
    switch (link_->state()) {
        case ServerLink::State::Connected:
            return QStringLiteral("Conectado con el servidor %1.").arg(name);
        case ServerLink::State::Connecting:
            return QStringLiteral("Conectando con el servidor %1...").arg(name);
        case ServerLink::State::Lost:
            return QStringLiteral(
                       "Sin conexión con el servidor %1: Crinova volverá a "
                       "conectarse sola en cuanto conteste.")
                .arg(name);
        case ServerLink::State::Local:
            break;
    }
    return QStringLiteral("Crinova trabaja solo con los datos de este ordenador.");
}

void ServerCommands::showState() {
    const QString host = link_->settings().servidor;
    switch (link_->state()) {
        case ServerLink::State::Connected:
            window_.showServer(host);
            return;
        case ServerLink::State::Lost:
            window_.showServer(host + QStringLiteral(" (sin conexión)"));
            return;
        case ServerLink::State::Connecting:
        case ServerLink::State::Local:
            window_.showServer(QString());
            return;
    }
}

}  // namespace crinova
