#include "program/server_link.h"

#include <QTimer>

namespace crinova {

ServerLink::ServerLink(const ProgramFolder& folder, QObject* parent)
    : QObject(parent), folder_(folder) {
    worker_.setMaxThreadCount(1);
    vigilancia_ = new QTimer(this);
    vigilancia_->setObjectName(QStringLiteral("vigilancia"));
    vigilancia_->setInterval(kWatchMilliseconds);
    connect(vigilancia_, &QTimer::timeout, this, &ServerLink::vigilancia_Timer);
}

ServerLink::~ServerLink() {
    worker_.waitForDone();
}

void ServerLink::onWorker(std::function<ServerOutcome()> work,
                          std::function<void(const ServerOutcome&)> then) {
    trying_ = true;
    const int generation = generation_;
    worker_.start([this, work = std::move(work), then = std::move(then), generation] {
        const ServerOutcome outcome = work();
        QMetaObject::invokeMethod(
            this,
            [this, then, generation, outcome] {
                if (generation != generation_) {
                    return;
                }
                trying_ = false;
                then(outcome);
            },
            Qt::QueuedConnection);
    });
}

void ServerLink::test(const ServerSettings& server, const QString& password, Done done) {
    // A test runs beside the link without changing it.
    worker_.start([this, server, password, done] {
        const ServerOutcome outcome = probeServer(server, password);
        QMetaObject::invokeMethod(
            this, [done, outcome] { done(outcome); }, Qt::QueuedConnection);
    });
}

void ServerLink::connectTo(const ServerSettings& server, const QString& password, bool keepTrying,
                           Done done) {
    disconnectServer();
    settings_ = server;
    password_ = password;
    database_.setClosedReason(
        QStringLiteral("No hay conexión con el servidor del salón %1: las fichas de clientes y "
                       "sus visitas no se pueden leer ni guardar hasta que conteste.")
            .arg(serverName(server)));
    state_ = State::Connecting;
    onWorker([server, password] { return probeServer(server, password); },
             [this, keepTrying, done](const ServerOutcome& probed) {
                 const ServerOutcome outcome = probed.ok() ? connectHere() : probed;
                 const bool unreachable = outcome.fault == ServerFault::HostNotFound ||
                                          outcome.fault == ServerFault::Refused ||
                                          outcome.fault == ServerFault::Timeout;
                 if (outcome.ok()) {
                     state_ = State::Connected;
                     vigilancia_->start();
                 } else if (keepTrying && unreachable) {
                     state_ = State::Lost;
                     vigilancia_->start();
                 } else {
                     state_ = State::Local;
                     password_.clear();
                 }
                 done(outcome);
             });
}

void ServerLink::disconnectServer() {
    ++generation_;
    trying_ = false;
    vigilancia_->stop();
    database_.close();
    password_.clear();
    state_ = State::Local;
}

ServerOutcome ServerLink::connectHere() {
    return openServerDatabase(database_, folder_, settings_, password_);
}

void ServerLink::markLost(const QString& reason) {
    database_.close();
    state_ = State::Lost;
    emit lost(QStringLiteral("Se ha perdido la conexión con el servidor del salón %1.\n\n%2\n\n"
                             "Crinova volverá a conectarse sola en cuanto el servidor conteste.")
                  .arg(serverName(settings_), reason));
}

void ServerLink::vigilancia_Timer() {
    if (trying_ || (state_ != State::Connected && state_ != State::Lost)) {
        return;
    }
    const ServerSettings server = settings_;
    onWorker([server] { return reachServer(server); },
             [this](const ServerOutcome& reached) {
                 if (state_ == State::Connected) {
                     if (!reached.ok()) {
                         markLost(reached.message);
                         return;
                     }
                     // The server answers: is this connection still the one it knows (not cut by a
                     // restart)? If not, a new one is made at once.
                     if (database_.OpenRecordset(QStringLiteral("Select 1 As vivo")).isOpen()) {
                         return;
                     }
                     database_.close();
                     const ServerOutcome again = connectHere();
                     if (!again.ok()) {
                         markLost(again.message);
                     }
                     return;
                 }
                 if (reached.ok() && connectHere().ok()) {
                     state_ = State::Connected;
                     emit restored();
                 }
             });
}

}  // namespace crinova
