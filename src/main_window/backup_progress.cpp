#include "main_window/backup_progress.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "platform/pointers.h"

namespace crinova {

BackupProgress::BackupProgress(std::unique_ptr<BackupJob> job, const QString& title,
                               const QString& caption,
                               std::function<void(const JobResult&)> finished, QWidget* parent)
    : QWidget(parent, Qt::Window), job_(std::move(job)), finishedCall_(std::move(finished)) {
    setObjectName(QStringLiteral("copiaseguridad"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(380, 90);
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(12, 10, 356, 22);
    barraprogreso_ = new QProgressBar(this);
    barraprogreso_->setObjectName(QStringLiteral("barraprogreso"));
    barraprogreso_->setGeometry(12, 40, 356, 24);
    barraprogreso_->setRange(0, 1000);
    barraprogreso_->setValue(0);
    timer_ = new QTimer(this);
    timer_->setInterval(200);
    connect(timer_, &QTimer::timeout, this, &BackupProgress::tick);
    job_->whenFinished(this, [this] { tick(); });
}

BackupProgress::~BackupProgress() {
    waitForWorker();
}

void BackupProgress::start() {
    setCursor(cursorFor(kPointerBusy));
    if (parentWidget()) {
        parentWidget()->setCursor(cursorFor(kPointerBusy));
    }
    show();
    timer_->start();
}

void BackupProgress::tick() {
    if (finished_) {
        return;
    }
    barraprogreso_->setValue(job_->permille());
    if (job_->finished()) {
        finish();
    }
}

void BackupProgress::waitForWorker() {
    job_->wait();
}

void BackupProgress::finish() {
    finished_ = true;
    timer_->stop();
    unsetCursor();
    if (parentWidget()) {
        parentWidget()->unsetCursor();
    }
    hide();  // its work is done: what follows (a message, a question) stands on its own
    if (finishedCall_) {
        finishedCall_(job_->result());
    }
    close();
}

void BackupProgress::closeEvent(QCloseEvent* event) {
    // The copy cannot be stopped halfway by closing: it ends on its own, and the window with it.
    if (!finished_) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace crinova
