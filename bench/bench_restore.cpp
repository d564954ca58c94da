#include <benchmark/benchmark.h>

#include <QAction>
#include <QElapsedTimer>
#include <QThread>

#include "main_window/backup_progress.h"
#include "principal_window.h"
#include "program/backup_job.h"
#include "program/full_backup.h"

using namespace crinova;

namespace {

// The main window over a program folder whose clients' folder holds 100,000 small files, and a
// whole backup of it.
struct LargeSalon : test::PrincipalWindow {
    QString archive;
    LargeSalon() {
        load();
        for (int i = 0; i < 100000; ++i) {
            folder.writeBytes(QStringLiteral("\\clientes\\%1\\%2.txt").arg(i / 1000).arg(i), "x");
        }
        std::unique_ptr<BackupJob> job =
            startFullBackup(database, folder.folder(), QDateTime::currentDateTime(), nullptr);
        job->wait();
        archive = job->result().file;
    }
    BackupProgress* running() const {
        for (auto* progress : principal->findChildren<BackupProgress*>()) {
            if (progress->running()) {
                return progress;
            }
        }
        return nullptr;
    }
};

LargeSalon& salon() {
    static LargeSalon large;
    return large;
}

}  // namespace

// "Restaurar Base de Datos" with that backup: how long the window's thread is held by the command
// (arg 0: choosing the file, until the check is under way on the worker) and by the swap once the
// check has ended (arg 1: the question answered Yes, the swap, the message). The check itself runs
// on the worker meanwhile.
static void RestoreOnTheWindowsThread(benchmark::State& state) {
    LargeSalon& large = salon();
    for (auto _ : state) {
        large.dialogs.textAnswers = {large.archive};
        large.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
        QElapsedTimer held;
        held.start();
        large.principal->findChild<QAction*>(QStringLiteral("mnurestaurarbase"))->trigger();
        const qint64 command = held.nsecsElapsed();
        BackupProgress* progress = large.running();
        if (!progress) {
            state.SkipWithError("no check started");
            break;
        }
        progress->waitForWorker();
        held.restart();
        progress->tick();
        const qint64 swap = held.nsecsElapsed();
        state.SetIterationTime((state.range(0) == 0 ? command : swap) / 1e9);
        QThread::sleep(1);  // the previous files are kept under the second's name
    }
}
BENCHMARK(RestoreOnTheWindowsThread)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseManualTime();

// The check the worker does: the archive read through, extracted and checked, then removed (what
// the window's thread used to wait for).
static void CheckOnTheWorker(benchmark::State& state) {
    LargeSalon& large = salon();
    for (auto _ : state) {
        QString error;
        if (!prepareFullRestore(large.folder.folder(), large.archive, &error)) {
            state.SkipWithError(error.toUtf8().constData());
        }
        discardFullRestore(large.folder.folder());
    }
}
BENCHMARK(CheckOnTheWorker)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
