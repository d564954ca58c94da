#include "platform/program_lock.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace crinova {
namespace {

constexpr int kCallTimeoutMs = 2000;

}  // namespace

ProgramLock::ProgramLock(const ProgramFolder& folder, QObject* parent)
    : QObject(parent), lock_(folder.fullPath(QStringLiteral("\\crinova.lock"))) {
    // A lock stays ours for as long as this copy runs, however long that is.
    lock_.setStaleLockTime(0);
    const QString canonical = QFileInfo(folder.path()).canonicalFilePath();
    socketName_ =
        QStringLiteral("crinova-") +
        QString::fromLatin1(
            QCryptographicHash::hash((canonical.isEmpty() ? folder.path() : canonical).toUtf8(),
                                     QCryptographicHash::Sha256)
                .toHex()
                .left(24));
}

ProgramLock::~ProgramLock() = default;

ProgramLock::Outcome ProgramLock::take() {
    if (!lock_.tryLock(0)) {
        return lock_.error() == QLockFile::LockFailedError ? Outcome::HeldElsewhere
                                                           : Outcome::Unavailable;
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the copy that holds the lock listens: a name still in use is a crashed copy's.
    QLocalServer::removeServer(socketName_);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_->nextPendingConnection()) {
            caller->deleteLater();
            emit calledToFront();
        }
    });
    server_->listen(socketName_);  // without it the second copy still refuses to start
    return Outcome::Taken;
}

bool ProgramLock::callFirstCopy() {
    QLocalSocket socket;
    socket.connectToServer(socketName_);
    return socket.waitForConnected(kCallTimeoutMs);
}

}  // namespace crinova
