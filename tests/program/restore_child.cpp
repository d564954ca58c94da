// Runs the swap of a prepared restore in a program folder and is killed (SIGKILL) right after its
// N-th step, as a crash or a power cut would stop it there. Only tst_full_backup runs it:
//   restore_child <program folder> <N> <where the previous database goes>
#include <QCoreApplication>
#include <csignal>

#include "program/full_backup.h"
#include "program/program_database.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        return 2;
    }
    const crinova::ProgramFolder folder(QString::fromLocal8Bit(argv[1]));
    const int killedAfter = QByteArray(argv[2]).toInt();
    crinova::Database database;
    crinova::openProgramDatabase(database, folder, nullptr);
    int step = 0;
    crinova::swapInFullRestore(database, folder, QString::fromLocal8Bit(argv[3]), nullptr, [&] {
        if (++step == killedAfter) {
            std::raise(SIGKILL);
        }
    });
    return 0;
}
