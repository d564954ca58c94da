#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include "platform/files.h"

class QLocalServer;

namespace crinova {

// One copy of Crinova per program folder: two copies would share the photo slots and the database.
// The first copy holds the lock file "\crinova.lock" (a lock left by a copy that crashed is taken
// over: its process is gone) and listens on a local socket named after the folder; a second copy
// finds the lock held and calls the first one, through the socket, to the front.
class ProgramLock : public QObject {
    Q_OBJECT
  public:
    enum class Outcome {
        Taken,          // this copy is the only one
        HeldElsewhere,  // another running copy holds the folder
        Unavailable,    // the lock cannot be written (a read-only folder): the copy runs without it
    };

    explicit ProgramLock(const ProgramFolder& folder, QObject* parent = nullptr);
    ~ProgramLock() override;

    Outcome take();
    // Asks the copy that holds the lock to come to the front; answers whether it was reached.
    bool callFirstCopy();

  signals:
    // A second copy asked this one to come to the front.
    void calledToFront();

  private:
    QLockFile lock_;
    QString socketName_;
    QLocalServer* server_ = nullptr;
};

}  // namespace crinova
