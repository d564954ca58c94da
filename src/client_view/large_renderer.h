#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "client_view/large_rendering.h"

namespace crinova {

// Renders looks large on a thread of its own, so the main picture never waits for it.
//
// Requests: the latest wins; one not yet started is replaced by a newer one, and a rendering that
// a newer request has overtaken is not delivered. Companions: a slot's large picture is written
// beside the slot file; these are never dropped (except when the renderer stops) and run in
// order, each pending (waitForCompanion) from the moment it is asked for.
class LargeRenderer : public QObject {
    Q_OBJECT
  public:
    explicit LargeRenderer(LargeInputs inputs = defaultLargeInputs(), QObject* parent = nullptr);
    ~LargeRenderer() override;

    void request(const LargeLook& look);
    // Writes `look` rendered large as the companion "<slot>-grande.png" of the slot file
    // `slotPath` (which must already be written: the companion carries its stamp), with `texts`.
    void saveCompanion(const LargeLook& look, const QString& slotPath,
                       const QMap<QString, QString>& texts);

    // Blocks until nothing waits or runs.
    void waitIdle();
    // Drops what has not started (its companions settle unwritten), lets the running job finish
    // and ends the thread. Later requests are ignored.
    void stop();

  signals:
    // In this object's thread.
    void rendered(const crinova::LargeRendering& rendering);
    void companionFailed(const QString& reason);

  private:
    struct Companion {
        LargeLook look;
        QString slotPath;
        QString companionPath;
        QMap<QString, QString> texts;
    };
    void run();
    LargeRendering renderOnThread(const LargeLook& look);

    LargeInputs inputs_;
    LargeSources sources_;  // the thread's only
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<LargeLook> request_;
    std::uint64_t requested_ = 0;  // requests made, the latest's number
    std::deque<Companion> companions_;
    bool busy_ = false;
    bool stopping_ = false;
    std::optional<LargeRendering> last_;  // the thread's latest rendering
    std::thread thread_;
};

}  // namespace crinova
