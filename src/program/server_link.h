#pragma once

#include <QObject>
#include <QThreadPool>
#include <functional>

#include "platform/files.h"
#include "platform/record_sets.h"
#include "program/server_database.h"

class QTimer;

namespace crinova {

// The station's connection to the salon's server, kept whole: what could block (finding the
// server on the network, logging in) runs on a worker thread, so no window waits for it; the
// connection itself lives on this object's thread, where the program uses it. While connected a
// watch looks at it every kWatchMilliseconds; a lost connection is told once (`lost`) and made
// again by the watch as soon as the server answers (`restored`).
class ServerLink : public QObject {
    Q_OBJECT
  public:
    enum class State { Local, Connecting, Connected, Lost };
    using Done = std::function<void(const ServerOutcome&)>;
    static constexpr int kWatchMilliseconds = 5000;

    explicit ServerLink(const ProgramFolder& folder, QObject* parent = nullptr);
    ~ServerLink() override;  // waits for a try still running (bounded by kServerWaitSeconds)

    // Tries the server without keeping a connection; `done` runs on this thread.
    void test(const ServerSettings& server, const QString& password, Done done);
    // Connects to the server and creates or upgrades its schema; `done` runs on this thread. With
    // `keepTrying`, a server that cannot be reached leaves the link Lost, to come back by itself.
    // The password stays in memory only, for coming back.
    void connectTo(const ServerSettings& server, const QString& password, bool keepTrying,
                   Done done);
    // Back to the station's own file: the connection is closed and the watch stops.
    void disconnectServer();

    // The watch's tick: while connected, whether the connection was lost; while lost, whether
    // the server is back.
    void vigilancia_Timer();

    State state() const { return state_; }
    bool trying() const { return trying_; }
    const ServerSettings& settings() const { return settings_; }
    Database& database() { return database_; }
    // For a worker's own connection to the server of the link.
    ServerAccess access() const { return {settings_, password_}; }
    QTimer* vigilancia() const { return vigilancia_; }

  signals:
    void lost(const QString& message);
    void restored();

  private:
    // Runs `work` on the worker and `then` here with its outcome, unless the link moved on.
    void onWorker(std::function<ServerOutcome()> work,
                  std::function<void(const ServerOutcome&)> then);
    ServerOutcome connectHere();
    void markLost(const QString& reason);

    const ProgramFolder& folder_;
    Database database_;
    ServerSettings settings_;
    QString password_;
    State state_ = State::Local;
    bool trying_ = false;
    int generation_ = 0;  // moves on with every connect and disconnect: older outcomes are dropped
    QTimer* vigilancia_ = nullptr;
    QThreadPool worker_;
};

}  // namespace crinova
