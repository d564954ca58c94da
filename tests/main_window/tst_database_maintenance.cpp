#include <QAction>
#include <QtTest>

#include "image_compare.h"
#include "platform/image_control.h"
#include "principal_window.h"
#include "program/database_maintenance.h"

using namespace crinova;
using crinova::test::solidPicture;
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

// Two catalogue styles of a type of their own, "t0" and "t1", with their pictures, and a client
// "Eva" with a photo of her own.
void addCatalogueAndClient(Window& window) {
    for (int row = 0; row < 2; ++row) {
        const QString name = QStringLiteral("t%1").arg(row);
        QVERIFY(window.database.Execute(
            QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'corto', 'prueba', 'rojo', ?)"),
            {name}));
        window.folder.writePicture("\\fotos\\visualizacion\\corto\\" + name + ".jpg",
                                   solidPicture(15, 16, Colour(0x40 + row)));
        window.folder.writePicture("\\fotos\\corto\\" + name + ".jpg",
                                   solidPicture(300, 320, 0x00000080));
        window.folder.writePicture("\\fotos\\corto\\" + name + "m.jpg",
                                   solidPicture(300, 320, 0x00FFFFFF));
    }
    window.folder.writePicture(QStringLiteral("\\clientes\\eva.bmp"),
                               solidPicture(300, 320, 0x00336699));
    QVERIFY(window.database.Execute(
        QStringLiteral("INSERT INTO cliente VALUES ('8', 'Eva', '\\clientes\\eva.bmp')")));
}

}  // namespace

class DatabaseMaintenanceTest : public QObject {
    Q_OBJECT
  private slots:
    void backupRepairAndRestore();
    void restoringACopyFromTheMenu();
    void notADatabaseIsRefused();
    void soundDatabaseIsReorganised();
    void restoringResetsWhatCameFromTheDatabase_data();
    void restoringResetsWhatCameFromTheDatabase();
    void repairNeverLeavesTheStylistWorseOff_data();
    void repairNeverLeavesTheStylistWorseOff();
    void missingTableIsDamage();
    void restoreAlwaysLeavesADatabaseInPlace();
};

void DatabaseMaintenanceTest::backupRepairAndRestore() {
    Window window;
    QVERIFY(window.load());
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('1', 'Ana', '')")));
    const int styles = rows(window.database, "cabellos");
    QVERIFY(styles >= 40);

    window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    const QString backup = newestBackup(window.folder.folder());
    QVERIFY(!backup.isEmpty());
    QVERIFY(window.dialogs.messages().last().contains(backup));
    QVERIFY(isSoundDatabase(backup, nullptr));

    window.database.close();
    damage(window.folder.path(kDatabase));
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.find<QAction>(QStringLiteral("mnureparar"))->trigger();
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
    window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    const QString backup = newestBackup(window.folder.folder());
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('2', 'Eva', '')")));
    window.principal->catalogue().state().nmuestras = 3;  // a page was shown

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::No};
    window.find<QAction>(QStringLiteral("barra_14"))->trigger();
    QCOMPARE(rows(window.database, "cliente"), 1);  // answered No: nothing changed

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("se ha restaurado")));
    QCOMPARE(rows(window.database, "cliente"), 0);
    QCOMPARE(window.principal->catalogue().state().nmuestras, 0);
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
    window.find<QAction>(QStringLiteral("mnureparar"))->trigger();
    QCOMPARE(window.dialogs.messages(),
             QStringList{"La base de datos está en buen estado y se ha reorganizado."});
    QVERIFY(window.database.isOpen());
}

void DatabaseMaintenanceTest::restoringResetsWhatCameFromTheDatabase_data() {
    QTest::addColumn<bool>("repair");
    QTest::newRow("R&estaurar Base de Datos") << false;
    QTest::newRow("Rep&arar Base de Datos, from the newest copy") << true;
}

void DatabaseMaintenanceTest::restoringResetsWhatCameFromTheDatabase() {
    QFETCH(bool, repair);
    Window window;
    QVERIFY(window.load());
    addCatalogueAndClient(window);
    window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    const QString backup = newestBackup(window.folder.folder());
    QVERIFY(!backup.isEmpty());

    // A catalogue page, its first style applied, and a client active.
    window.principal->catalogue().state().filters = {
        QStringLiteral("mujer"), QStringLiteral("corto"), QStringLiteral("prueba"),
        QStringLiteral("todos")};
    QVERIFY(window.principal->catalogue().loadFirstCataloguePage());
    window.principal->Muestrapelos_Click(0);
    QCOMPARE(window.principal->overlay().ficheropelo, QStringLiteral("\\fotos\\corto\\t0.jpg"));
    QVERIFY(window.principal->activateClient({"8", "Eva", "\\clientes\\eva.bmp"}));
    QAction* eliminarpelos = window.find<QAction>(QStringLiteral("mnueliminarpelos"));
    QVERIFY(eliminarpelos->isEnabled());

    if (repair) {
        window.database.close();
        damage(window.folder.path(kDatabase));
        window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
        window.find<QAction>(QStringLiteral("mnureparar"))->trigger();
    } else {
        window.dialogs.textAnswers = {backup};
        window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
        window.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    }
    QVERIFY2(window.dialogs.messages().last().contains(QStringLiteral("se ha restaurado")),
             qPrintable(window.dialogs.messages().last()));

    // The page, the client and the applied style came from the old database: all are gone.
    QCOMPARE(window.principal->catalogue().state().nmuestras, 0);
    QVERIFY(window.principal->catalogue().state().rutapelo[0].isEmpty());
    const QImage installed = loadPicture(window.folder.path(QStringLiteral("\\pelo1.jpg"))).picture;
    COMPARE_IMAGES(window.find<ImageControl>(QStringLiteral("Muestrapelos_0"))->picture(),
                   installed);
    QVERIFY(!window.principal->activeClient());
    QVERIFY(!window.principal->overlay().clienteactivo);
    QVERIFY(!window.principal->samples().muestraaplicada);
    QVERIFY(!eliminarpelos->isEnabled());
    // The same thumbnail now applies the installed sample it shows.
    window.principal->Muestrapelos_Click(0);
    QCOMPARE(window.principal->overlay().ficheropelo, QStringLiteral("\\pelo1.jpg"));
    QCOMPARE(window.principal->overlay().ficheromascara, QStringLiteral("\\mpelo1.jpg"));
}

void DatabaseMaintenanceTest::repairNeverLeavesTheStylistWorseOff_data() {
    QTest::addColumn<bool>("withCopy");
    QTest::addColumn<bool>("openBefore");
    QTest::newRow("damaged, no copy") << false << true;
    QTest::newRow("damaged, the stylist answers No") << true << true;
    QTest::newRow("refused at start, no copy") << false << false;
}

void DatabaseMaintenanceTest::repairNeverLeavesTheStylistWorseOff() {
    QFETCH(bool, withCopy);
    QFETCH(bool, openBefore);
    Window window;
    QVERIFY(window.load());
    if (withCopy) {
        window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
        window.dialogs.asked.clear();
    }
    if (!openBefore) {
        window.database.close();  // as when the start refused the file
    }
    // The file is damaged under the program, which keeps whatever connection it had.
    damage(window.folder.path(kDatabase));
    window.dialogs.messageAnswers = {MessageAnswer::No};
    window.find<QAction>(QStringLiteral("mnureparar"))->trigger();
    QVERIFY(window.dialogs.messages().first().contains(QStringLiteral("dañada")));
    QCOMPARE(window.database.isOpen(), openBefore);
    if (!openBefore) {
        QVERIFY2(window.dialogs.messages().last().contains(QStringLiteral("sin base de datos")),
                 qPrintable(window.dialogs.messages().last()));
    }
}

void DatabaseMaintenanceTest::missingTableIsDamage() {
    Window window;
    QVERIFY(window.load());
    QVERIFY(window.database.Execute(QStringLiteral("DROP TABLE cabellos")));
    window.dialogs.messageAnswers = {MessageAnswer::No};  // no copy to restore: nothing is asked
    window.find<QAction>(QStringLiteral("mnureparar"))->trigger();
    const QString message = window.dialogs.messages().first();
    QVERIFY2(message.contains(QStringLiteral("dañada")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("cabellos")), qPrintable(message));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Critical);
    // Repair does not make up an empty catalogue either.
    QVERIFY(!window.database.OpenRecordset(QStringLiteral("Select * from cabellos")).isOpen());
}

void DatabaseMaintenanceTest::restoreAlwaysLeavesADatabaseInPlace() {
    Window window;
    QVERIFY(window.load());
    window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    const QString copy = newestBackup(window.folder.folder());
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('2', 'Eva', '')")));
    const QString live = window.folder.path(kDatabase);
    const QString aside = window.folder.path(kBackupFolder + QStringLiteral("\\aparte.db"));
    // At every point where the program could stop, a sound database stands under the live name:
    // the one before the restore or the copy.
    int steps = 0;
    QString error;
    QVERIFY2(restoreDatabase(window.database, window.folder.folder(), copy, aside, &error,
                             [&] {
                                 ++steps;
                                 QVERIFY2(isSoundDatabase(live, &error), qPrintable(error));
                             }),
             qPrintable(error));
    QVERIFY(steps >= 2);
    QCOMPARE(rows(window.database, "cliente"), 0);  // the copy's
    Database before;
    QVERIFY(before.open(aside, false, nullptr));
    QCOMPARE(rows(before, "cliente"), 1);  // the one set aside, with Eva
    // Nothing is left beside it.
    QCOMPARE(QDir(window.folder.folder().path()).entryList({"crinova.db*"}, QDir::Files),
             QStringList{"crinova.db"});
}

QTEST_MAIN(DatabaseMaintenanceTest)
#include "tst_database_maintenance.moc"
