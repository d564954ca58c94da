#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "program/server_settings.h"

namespace crinova::test {

// A throwaway PostgreSQL cluster of a test's own: initdb in a temporary folder, the server on a
// socket in that folder and on 127.0.0.1 at a free port, and the program's database and role made
// by packaging/servidor.sql. PostgreSQL refuses to run as root, so under root the cluster belongs
// to the `postgres` user the package creates.
//
// The cluster is stopped and its folder removed when the object goes, and also when the test
// process dies any other way (a crash, a sanitizer's abort, a kill): a guard process of its own
// waits for the test to end and then cleans up.
class TestServer {
  public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // False, with `reason()`, when no server can be started on this machine (tests then skip).
    bool start();
    const QString& reason() const { return reason_; }

    // What a station types to reach the program's database (TCP, 127.0.0.1).
    ServerSettings settings() const;
    // The role's password: it has a ":" and a "\" that the password file must escape.
    static QString password();

    // Stops the server at once, as a pulled plug would (pg_ctl stop -m immediate), and starts it
    // again on the same port.
    bool stop();
    bool startAgain();
    // Runs SQL as the administrator in the program's database; answers psql's output.
    QString administer(const QString& sql, bool* ok = nullptr);

  private:
    bool run(const QStringList& command, QString* output = nullptr, bool asOwner = true);
    bool startServer();
    void startGuard();

    QString bin_;
    QString reason_;
    std::unique_ptr<QTemporaryDir> dir_;
    int port_ = 0;
    bool asRoot_ = false;
    bool running_ = false;
    int guard_ = -1;  // the write end of the guard's pipe
};

}  // namespace crinova::test
