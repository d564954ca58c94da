#include <QtTest>

#include "main_window/database_maintenance.h"
#include "principal_window.h"

using namespace crinova;
using Window = crinova::test::PrincipalWindow;

namespace {

int rows(Database& database, const char* table) {
    return database.OpenRecordset(QStringLiteral("Select * from ") + QString::fromLatin1(table))
        .RecordCount();
}

// Overwrites a stretch in the middle of a file, as a failing disk would.
void damage(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.size() > 8192);
    file.seek(4096);
    file.write(QByteArray(4096, '\x5a'));
}

}  // namespace

class DatabaseMaintenanceTest : public QObject {
    Q_OBJECT
  private slots:
    void backupRepairAndRestore();
    void restoringACopyFromTheMenu();
    void notADatabaseIsRefused();
    void soundDatabaseIsReorganised();
};

void DatabaseMaintenanceTest::backupRepairAndRestore() {
    Window window;
    QVERIFY(window.load());
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('1', 'Ana', '')")));
    const int styles = rows(window.database, "cabellos");
    QVERIFY(styles >= 40);

    window.principal->mnucopiaseguridad_Click();
    const QString backup = newestBackup(window.folder.folder());
    QVERIFY(!backup.isEmpty());
    QVERIFY(window.dialogs.messages().last().contains(backup));
    QVERIFY(isSoundDatabase(backup, nullptr));

    window.database.close();
    damage(window.folder.path(kDatabase));
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.principal->mnureparar_Click();
    QVERIFY(window.dialogs.messages()[1].contains(QStringLiteral("está dañada")));
    QVERIFY(window.dialogs.messages()[1].contains(backup));  // it offers the newest copy
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("se ha restaurado")));
    QVERIFY(window.database.isOpen());
    QCOMPARE(rows(window.database, "cabellos"), styles);
    QCOMPARE(rows(window.database, "cliente"), 1);
    // The damaged file was kept aside, not lost.
    QCOMPARE(QDir(window.folder.path(kBackupFolder)).entryList({"danada-*.db"}).size(), 1);
}

void DatabaseMaintenanceTest::restoringACopyFromTheMenu() {
    Window window;
    QVERIFY(window.load());
    window.principal->mnucopiaseguridad_Click();
    const QString backup = newestBackup(window.folder.folder());
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('2', 'Eva', '')")));
    window.principal->catalogue().nmuestras = 3;  // a page was shown

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::No};
    window.find<QAction>(QStringLiteral("barra_14"))->trigger();
    QCOMPARE(rows(window.database, "cliente"), 1);  // answered No: nothing changed

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.principal->mnurestaurarbase_Click();
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("se ha restaurado")));
    QCOMPARE(rows(window.database, "cliente"), 0);
    QCOMPARE(window.principal->catalogue().nmuestras, 0);
    // The database as it was before the restore is kept aside, with Eva in it.
    const QStringList aside =
        QDir(window.folder.path(kBackupFolder)).entryList({"antes-de-restaurar-*.db"});
    QCOMPARE(aside.size(), 1);
    Database before;
    QVERIFY(before.open(window.folder.path(kBackupFolder + "\\" + aside.first()), false, nullptr));
    QCOMPARE(rows(before, "cliente"), 1);
}

void DatabaseMaintenanceTest::notADatabaseIsRefused() {
    Window window;
    QVERIFY(window.load());
    window.folder.writeBytes(QStringLiteral("\\copias\\falsa.db"), QByteArray(10000, 'x'));
    window.dialogs.textAnswers = {window.folder.path(QStringLiteral("\\copias\\falsa.db"))};
    window.find<QAction>(QStringLiteral("barra_14"))->trigger();
    QCOMPARE(window.dialogs.asked[0].kind, QStringLiteral("OpenFile"));
    QCOMPARE(window.dialogs.asked[0].initialFolder, window.folder.path(kBackupFolder));
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("no es una copia válida")));
    QVERIFY(window.database.isOpen());
    QVERIFY(rows(window.database, "cabellos") >= 40);
    QCOMPARE(QDir(window.folder.path(kBackupFolder)).entryList({"antes-*.db"}).size(), 0);
}

void DatabaseMaintenanceTest::soundDatabaseIsReorganised() {
    Window window;
    QVERIFY(window.load());
    window.principal->mnureparar_Click();
    QCOMPARE(window.dialogs.messages(),
             QStringList{"La base de datos está en buen estado y se ha reorganizado."});
    QVERIFY(window.database.isOpen());
}

QTEST_MAIN(DatabaseMaintenanceTest)
#include "tst_database_maintenance.moc"
