#include "main_window/backup_progress.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QTimer>

#include "platform/pointers.h"
#include "program/full_backup.h"

namespace crinova {

BackupProgress::BackupProgress(const ProgramFolder& folder, QString snapshot, QString target,
                               Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window),
      folder_(folder),
      snapshot_(std::move(snapshot)),
      target_(std::move(target)),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("copiaseguridad"));
    setWindowTitle(QStringLiteral("Copia de Seguridad"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(380, 90);
    auto* label =
        new QLabel(QStringLiteral("Guardando la base de datos y las fichas de clientes..."), this);
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
}

BackupProgress::~BackupProgress() {
    // The worker reads files only; it is let finish before its state goes.
    waitForWorker();
}

void BackupProgress::start() {
    worker_ = QThread::create([this] {
        written_ = writeFullBackup(
            folder_, snapshot_, target_,
            [this](qint64 done, qint64 total) {
                done_ = done;
                total_ = total;
            },
            &error_);
    });
    worker_->setParent(this);
    connect(worker_, &QThread::finished, this, &BackupProgress::tick);
    setCursor(cursorFor(kPointerBusy));
    if (parentWidget()) {
        parentWidget()->setCursor(cursorFor(kPointerBusy));
    }
    show();
    worker_->start(QThread::LowPriority);
    timer_->start();
}

void BackupProgress::tick() {
    if (finished_) {
        return;
    }
    const qint64 total = total_;
    barraprogreso_->setValue(total > 0 ? static_cast<int>(done_ * 1000 / total) : 0);
    if (worker_ && worker_->isFinished()) {
        finish();
    }
}

void BackupProgress::waitForWorker() {
    if (worker_) {
        worker_->wait();
    }
}

void BackupProgress::finish() {
    finished_ = true;
    timer_->stop();
    barraprogreso_->setValue(written_ ? 1000 : barraprogreso_->value());
    QFile::remove(snapshot_);
    unsetCursor();
    if (parentWidget()) {
        parentWidget()->unsetCursor();
    }
    const QString title = QStringLiteral("Base de Datos");
    if (written_) {
        dialogs_.MsgBox(QStringLiteral("La copia de seguridad se ha guardado en:\n%1").arg(target_),
                        MessageButtons::Ok, MessageIcon::Information, title);
    } else {
        dialogs_.MsgBox(QStringLiteral("No se ha hecho la copia de seguridad.\n\n%1").arg(error_),
                        MessageButtons::Ok, MessageIcon::Critical, title);
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
