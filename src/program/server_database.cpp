#include "program/server_database.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>
#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <cerrno>

#include "program/database_upgrade.h"

namespace crinova {
namespace {

ServerOutcome fault(ServerFault kind, const QString& message) {
    return ServerOutcome{kind, message};
}

ServerOutcome timedOut(const ServerSettings& server) {
    return fault(ServerFault::Timeout,
                 QStringLiteral("El servidor %1 no contesta (se han esperado %2 segundos). "
                                "Compruebe que el ordenador del servidor está encendido y que "
                                "este ordenador está conectado a la red.")
                     .arg(serverName(server))
                     .arg(kServerWaitSeconds));
}

// Waits for the socket until the deadline; false when the time ran out.
bool waitFor(int socket, short events, const QDeadlineTimer& deadline) {
    pollfd watch{socket, events, 0};
    for (;;) {
        const int left = static_cast<int>(deadline.remainingTime());
        const int ready = poll(&watch, 1, left < 0 ? 0 : left);
        if (ready >= 0 || errno != EINTR) {
            return ready > 0;
        }
    }
}

// The SSL request of PostgreSQL's protocol: a length of 8 and the code 80877103. The server
// answers one byte: 'S' when it offers TLS, 'N' when it does not.
bool offersTls(int socket, const QDeadlineTimer& deadline, bool* answered) {
    static const unsigned char request[8] = {0, 0, 0, 8, 0x04, 0xd2, 0x16, 0x2f};
    *answered = false;
    if (send(socket, request, sizeof request, MSG_NOSIGNAL) != sizeof request ||
        !waitFor(socket, POLLIN, deadline)) {
        return false;
    }
    char answer = 0;
    *answered = recv(socket, &answer, 1, 0) == 1;
    return answer == 'S';
}

}  // namespace

QString serverName(const ServerSettings& server) {
    return server.puerto == 5432
               ? QStringLiteral("«%1»").arg(server.servidor)
               : QStringLiteral("«%1» (puerto %2)").arg(server.servidor).arg(server.puerto);
}

QString serverConnectOptions(const ServerSettings& server, const QString& application) {
    return QStringLiteral(
               "sslmode=%1;connect_timeout=%2;application_name=%3;keepalives=1;"
               "keepalives_idle=10;keepalives_interval=5;keepalives_count=3;"
               "tcp_user_timeout=15000")
        .arg(server.cifrado ? QStringLiteral("require") : QStringLiteral("prefer"))
        .arg(kServerWaitSeconds)
        .arg(application);
}

ServerOutcome reachServer(const ServerSettings& server) {
    // A folder is the server's local socket: nothing to resolve or to dial.
    if (server.servidor.startsWith(QLatin1Char('/'))) {
        return {};
    }
    const QDeadlineTimer deadline(kServerWaitSeconds * 1000);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray host = server.servidor.toUtf8();
    const QByteArray port = QByteArray::number(server.puerto);
    if (getaddrinfo(host.constData(), port.constData(), &hints, &found) != 0 || !found) {
        return connectionFault(server, QStringLiteral("could not translate host name"));
    }
    ServerOutcome outcome = timedOut(server);
    for (addrinfo* address = found; address; address = address->ai_next) {
        const int socket =
            ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                     address->ai_protocol);
        if (socket < 0) {
            continue;
        }
        int failure = 0;
        if (::connect(socket, address->ai_addr, address->ai_addrlen) != 0) {
            failure = errno;
            if (failure == EINPROGRESS && waitFor(socket, POLLOUT, deadline)) {
                socklen_t size = sizeof failure;
                getsockopt(socket, SOL_SOCKET, SO_ERROR, &failure, &size);
            } else if (failure == EINPROGRESS) {
                failure = ETIMEDOUT;
            }
        }
        if (failure == 0) {
            outcome = {};
            if (server.cifrado) {
                fcntl(socket, F_SETFL, fcntl(socket, F_GETFL) & ~O_NONBLOCK);
                bool answered = false;
                if (!offersTls(socket, deadline, &answered)) {
                    outcome = answered
                                  ? fault(ServerFault::NoTls,
                                          QStringLiteral("El servidor %1 no ofrece conexiones "
                                                         "cifradas, y está marcado «Requerir "
                                                         "cifrado». Pida al técnico que active el "
                                                         "cifrado (TLS) en el servidor.")
                                              .arg(serverName(server)))
                                  : timedOut(server);
                }
            }
            ::close(socket);
            break;
        }
        ::close(socket);
        if (failure == ECONNREFUSED) {
            outcome = connectionFault(server, QStringLiteral("connection refused"));
        }
        if (deadline.hasExpired()) {
            break;
        }
    }
    freeaddrinfo(found);
    return outcome;
}

ServerOutcome connectionFault(const ServerSettings& server, const QString& driverText) {
    const QString text = driverText.toLower();
    const auto says = [&text](std::initializer_list<const char*> phrases) {
        for (const char* phrase : phrases) {
            if (text.contains(QString::fromUtf8(phrase))) {
                return true;
            }
        }
        return false;
    };
    const QString name = serverName(server);
    // The client library speaks the station's language and the server its own: both are read.
    if (says({"no password supplied"})) {
        return fault(ServerFault::PasswordNeeded,
                     QStringLiteral("El servidor %1 pide la contraseña del usuario «%2».")
                         .arg(name, server.usuario));
    }
    if (says({"password authentication failed", "autentificación password falló",
              "authentication failed", "autentificación", "role", "rol «"})) {
        return fault(ServerFault::WrongPassword,
                     QStringLiteral("El servidor %1 no acepta al usuario «%2» con esa "
                                    "contraseña. Compruebe el usuario y la contraseña.")
                         .arg(name, server.usuario));
    }
    if (says({"pg_hba.conf"})) {
        return fault(ServerFault::NotAllowed,
                     QStringLiteral("El servidor %1 no admite conexiones de este ordenador "
                                    "(o sin cifrar). Pida al técnico que lo permita en "
                                    "pg_hba.conf.")
                         .arg(name));
    }
    if (says({"database", "base de datos"}) && says({"does not exist", "no existe"})) {
        return fault(ServerFault::NoDatabase,
                     QStringLiteral("En el servidor %1 no existe la base de datos «%2».")
                         .arg(name, server.basedatos));
    }
    if (says({"ssl"}) && says({"required", "requerida"})) {
        return fault(ServerFault::NoTls,
                     QStringLiteral("El servidor %1 no ofrece conexiones cifradas, y está "
                                    "marcado «Requerir cifrado».")
                         .arg(name));
    }
    if (says({"timeout expired", "tiempo de espera agotado"})) {
        return timedOut(server);
    }
    if (says({"could not translate host name", "no se pudo traducir el nombre"})) {
        return fault(ServerFault::HostNotFound,
                     QStringLiteral("No se encuentra el servidor %1 en la red. Compruebe el "
                                    "nombre o la dirección escritos.")
                         .arg(name));
    }
    if (says({"connection refused", "conexión rehusada"})) {
        return fault(ServerFault::Refused,
                     QStringLiteral("El servidor %1 no acepta conexiones en el puerto %2. "
                                    "Compruebe que PostgreSQL está en marcha en ese ordenador y "
                                    "que el puerto es el suyo.")
                         .arg(QStringLiteral("«%1»").arg(server.servidor))
                         .arg(server.puerto));
    }
    return fault(ServerFault::Other, QStringLiteral("No se ha podido conectar con el servidor "
                                                    "%1:\n%2")
                                         .arg(name, driverText));
}

ServerOutcome probeServer(const ServerSettings& server, const QString& password) {
    ServerOutcome outcome = reachServer(server);
    if (!outcome.ok()) {
        return outcome;
    }
    Database database;
    QString driverText;
    if (!database.openServer({server.servidor, server.puerto, server.basedatos, server.usuario,
                              password, serverConnectOptions(server)},
                             &driverText)) {
        return QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))
                   ? connectionFault(server, driverText)
                   : fault(ServerFault::Other,
                           QStringLiteral("Falta el controlador de PostgreSQL de Qt: instale "
                                          "el paquete libqt6sql6-psql."));
    }
    QString error;
    const int version = serverSchemaVersion(database, &error);
    if (version < 0) {
        return fault(ServerFault::Other,
                     QStringLiteral("El servidor %1 no deja leer su base de datos:\n%2")
                         .arg(serverName(server), error));
    }
    if (version > schemaVersion()) {
        return fault(
            ServerFault::NewerSchema,
            QStringLiteral("Servidor %1: %2").arg(serverName(server), newerSchemaMessage(version)));
    }
    return {};
}

ServerOutcome openServerForWork(Database& database, const ServerAccess& access) {
    const ServerSettings& server = access.settings;
    QString driverText;
    if (!database.openServer(
            {server.servidor, server.puerto, server.basedatos, server.usuario, access.password,
             serverConnectOptions(server, QStringLiteral("crinova-trabajo"))},
            &driverText)) {
        return connectionFault(server, driverText);
    }
    return {};
}

ServerOutcome openServerDatabase(Database& database, const ProgramFolder& folder,
                                 const ServerSettings& server, const QString& password) {
    QString driverText;
    if (!database.openServer({server.servidor, server.puerto, server.basedatos, server.usuario,
                              password, serverConnectOptions(server)},
                             &driverText)) {
        return connectionFault(server, driverText);
    }
    QString error;
    const int version = serverSchemaVersion(database, &error);
    if (!upgradeDatabase(database, folder, &error)) {
        database.close();
        return fault(version > schemaVersion() ? ServerFault::NewerSchema : ServerFault::Other,
                     QStringLiteral("Servidor %1: %2").arg(serverName(server), error));
    }
    return {};
}

}  // namespace crinova
