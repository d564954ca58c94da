#include "client_view/large_renderer.h"

namespace crinova {
namespace {

// The same look whether or not the photo "before" is wanted.
bool sameLook(LargeLook a, LargeLook b) {
    a.withBefore = b.withBefore = false;
    return a == b;
}

}  // namespace

LargeRenderer::LargeRenderer(LargeInputs inputs, QObject* parent)
    : QObject(parent), inputs_(std::move(inputs)) {
    thread_ = std::thread([this] { run(); });
}

LargeRenderer::~LargeRenderer() {
    stop();
}

void LargeRenderer::request(const LargeLook& look) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) {
            return;
        }
        request_ = look;
        ++requested_;
    }
    wake_.notify_all();
}

void LargeRenderer::saveCompanion(const LargeLook& look, const QString& slotPath,
                                  const QMap<QString, QString>& texts) {
    const QString companionPath = largeCompanionPath(slotPath, QStringLiteral("png"));
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) {
            return;
        }
        markCompanionPending(companionPath);
        companions_.push_back({look, slotPath, companionPath, texts});
    }
    wake_.notify_all();
}

void LargeRenderer::waitIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && companions_.empty() && !request_; });
}

void LargeRenderer::stop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) {
            return;
        }
        stopping_ = true;
        for (const Companion& companion : companions_) {
            companionSettled(companion.companionPath);
        }
        companions_.clear();
        request_.reset();
    }
    wake_.notify_all();
    thread_.join();
    idle_.notify_all();
}

LargeRendering LargeRenderer::renderOnThread(const LargeLook& look) {
    LargeRendering rendering = renderLarge(look, inputs_, sources_);
    last_ = rendering;
    return rendering;
}

void LargeRenderer::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || request_ || !companions_.empty(); });
        if (stopping_) {
            return;
        }
        busy_ = true;
        if (!companions_.empty()) {
            const Companion job = companions_.front();
            companions_.pop_front();
            lock.unlock();
            const LargeRendering rendering =
                last_ && sameLook(last_->look, job.look) ? *last_ : renderOnThread(job.look);
            QString error;
            const bool written = writeLargeCompanion(rendering.ahora, job.companionPath,
                                                     job.slotPath, job.texts, &error);
            companionSettled(job.companionPath);
            if (!written) {
                QMetaObject::invokeMethod(
                    this, [this, error] { emit companionFailed(error); }, Qt::QueuedConnection);
            }
        } else {
            const LargeLook look = *request_;
            const std::uint64_t number = requested_;
            request_.reset();
            lock.unlock();
            const LargeRendering rendering = renderOnThread(look);
            QMetaObject::invokeMethod(
                this,
                [this, rendering, number] {
                    std::unique_lock<std::mutex> current(mutex_);
                    const bool latest = number == requested_;
                    current.unlock();
                    if (latest) {
                        emit rendered(rendering);
                    }
                },
                Qt::QueuedConnection);
        }
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

}  // namespace crinova
