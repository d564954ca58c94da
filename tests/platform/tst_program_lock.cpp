#include <QtTest>

#include <QProcess>

#include "platform/program_lock.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;

class ProgramLockTest : public QObject {
    Q_OBJECT
  private slots:
    void aSecondCopyCallsTheFirstToTheFront();
    void aLockLeftByACrashIsTakenOver();
};

void ProgramLockTest::aSecondCopyCallsTheFirstToTheFront() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    ProgramLock first(folder.folder());
    QCOMPARE(first.take(), ProgramLock::Outcome::Taken);
    int called = 0;
    connect(&first, &ProgramLock::calledToFront, this, [&called] { ++called; });
    {
        ProgramLock second(folder.folder());
        QCOMPARE(second.take(), ProgramLock::Outcome::HeldElsewhere);
        QVERIFY(second.callFirstCopy());
        QTRY_COMPARE(called, 1);
    }
    // Another folder is another salon's: no lock shared.
    TestProgramFolder other(TestProgramFolder::Empty);
    ProgramLock elsewhere(other.folder());
    QCOMPARE(elsewhere.take(), ProgramLock::Outcome::Taken);
}

void ProgramLockTest::aLockLeftByACrashIsTakenOver() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    // A copy that ended without letting go: its process is gone.
    QProcess crashed;
    crashed.start(QStringLiteral("true"), {});
    QVERIFY(crashed.waitForStarted());
    const qint64 pid = crashed.processId();
    QVERIFY(crashed.waitForFinished());
    folder.writeBytes(
        QStringLiteral("\\crinova.lock"),
        QByteArray::number(pid) + "\ncrinova\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    ProgramLock next(folder.folder());
    QCOMPARE(next.take(), ProgramLock::Outcome::Taken);
}

QTEST_GUILESS_MAIN(ProgramLockTest)
#include "tst_program_lock.moc"
