#include <QAction>
#include <QProgressBar>
#include <QtTest>

#include "clients/visits.h"
#include "image_compare.h"
#include "main_window/backup_progress.h"
#include "platform/image_control.h"
#include "principal_window.h"
#include "program/database_maintenance.h"
#include "program/full_backup.h"

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

// The progress window of the backup being written (a finished one may linger until deleted).
BackupProgress* runningBackup(Window& window) {
    for (auto* progress :
         window.principal->findChildren<BackupProgress*>(QStringLiteral("copiaseguridad"))) {
        if (progress->running()) {
            return progress;
        }
    }
    return nullptr;
}

// "&Realizar Copia de Seguridad" through to its end: the worker is waited for and the progress
// timer's tick reports it. Answers the newest backup.
QString backUp(Window& window) {
    window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    BackupProgress* progress = runningBackup(window);
    if (!progress) {
        return QString();
    }
    progress->waitForWorker();
    progress->tick();
    return newestBackup(window.folder.folder());
}

// Every file under the clients' folder, by its relative name, with its bytes.
std::map<QString, QByteArray> clientFiles(const Window& window) {
    std::map<QString, QByteArray> files;
    const QString root = window.folder.path(kClientsFolder);
    QDirIterator walk(root, QDir::Files, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        QFile file(walk.next());
        if (file.open(QIODevice::ReadOnly)) {
            files[QDir(root).relativeFilePath(file.fileName())] = file.readAll();
        }
    }
    return files;
}

QStringList tableRows(Database& database, const QString& sql) {
    RecordSet rows = database.OpenRecordset(sql);
    QStringList found;
    for (; !rows.Eof(); rows.MoveNext()) {
        found << rows.Fields(QStringLiteral("a")) + "|" + rows.Fields(QStringLiteral("b")) + "|" +
                     rows.Fields(QStringLiteral("c"));
    }
    return found;
}

// The client "8" with two visits of two photos each, kept as "Guardar Ficha Cliente" keeps them.
void addVisits(Window& window) {
    for (int visit = 0; visit < 2; ++visit) {
        const QDateTime when(QDate(2026, 11, 20 + visit), QTime(10, 30, visit));
        std::vector<VisitPhoto> photos;
        for (int slot = 1; slot <= 2; ++slot) {
            const QString name = QStringLiteral("\\clientes\\8\\%1-foto%2.bmp")
                                     .arg(when.toString(QStringLiteral("yyyyMMdd-HHmmss")))
                                     .arg(slot);
            window.folder.writePicture(name, solidPicture(30, 32, Colour(0x10 * slot + visit)));
            photos.push_back({slot, name});
        }
        QVERIFY(saveClientVisit(window.database, "8", "Eva", "\\clientes\\eva.bmp", when, photos,
                                nullptr));
    }
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
    void wholeBackupComesBackByteForByte();
    void backupShowsItsProgress();
    void damagedBackupChangesNothing_data();
    void damagedBackupChangesNothing();
    void olderDatabaseBackupStillRestores();
};

void DatabaseMaintenanceTest::backupRepairAndRestore() {
    Window window;
    QVERIFY(window.load());
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('1', 'Ana', '')")));
    const int styles = rows(window.database, "cabellos");
    QVERIFY(styles >= 40);

    const QString backup = backUp(window);
    QVERIFY(backup.endsWith(QStringLiteral(".tar")));
    QVERIFY(window.dialogs.messages().last().contains(backup));

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
    const QString backup = backUp(window);
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('2', 'Eva', '')")));
    PrincipalProbe::catalogue(*window.principal).state().nmuestras = 3;  // a page was shown
    // Made without a catalogue folder, like a backup from before styles were kept in it.
    window.folder.writeBytes(QStringLiteral("\\fotos\\corto\\propio.jpg"), "pelo");

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::No};
    window.find<QAction>(QStringLiteral("barra_14"))->trigger();
    QCOMPARE(rows(window.database, "cliente"), 1);  // answered No: nothing changed

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("se ha restaurado")));
    QCOMPARE(rows(window.database, "cliente"), 0);
    QCOMPARE(PrincipalProbe::catalogue(*window.principal).state().nmuestras, 0);
    QVERIFY(window.folder.exists(QStringLiteral("\\fotos\\corto\\propio.jpg")));
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
    const QString backup = backUp(window);
    QVERIFY(!backup.isEmpty());

    // A catalogue page, its first style applied, and a client active.
    PrincipalProbe::catalogue(*window.principal).state().filters = {
        QStringLiteral("mujer"), QStringLiteral("corto"), QStringLiteral("prueba"),
        QStringLiteral("todos")};
    QVERIFY(PrincipalProbe::catalogue(*window.principal).loadFirstCataloguePage());
    window.principal->Muestrapelos_Click(0);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheropelo,
             QStringLiteral("\\fotos\\corto\\t0.jpg"));
    QVERIFY(PrincipalProbe::clients(*window.principal)
                .activateClient({"8", "Eva", "\\clientes\\eva.bmp"}));
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
    QCOMPARE(PrincipalProbe::catalogue(*window.principal).state().nmuestras, 0);
    QVERIFY(PrincipalProbe::catalogue(*window.principal).state().rutapelo[0].isEmpty());
    const QImage installed = loadPicture(window.folder.path(QStringLiteral("\\pelo1.jpg"))).picture;
    COMPARE_IMAGES(window.find<ImageControl>(QStringLiteral("Muestrapelos_0"))->picture(),
                   installed);
    QVERIFY(!PrincipalProbe::clients(*window.principal).activeClient());
    QVERIFY(!PrincipalProbe::overlay(*window.principal).clienteactivo);
    QVERIFY(!PrincipalProbe::samples(*window.principal).muestraaplicada);
    QVERIFY(!eliminarpelos->isEnabled());
    // The same thumbnail now applies the installed sample it shows.
    window.principal->Muestrapelos_Click(0);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheropelo, QStringLiteral("\\pelo1.jpg"));
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheromascara,
             QStringLiteral("\\mpelo1.jpg"));
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
        QVERIFY(!backUp(window).isEmpty());
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
    // A copy of the database alone, as earlier versions made them.
    const QString copy = window.folder.path(backupName(QDateTime::currentDateTime()));
    QVERIFY(backupDatabase(window.database, copy, nullptr));
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

void DatabaseMaintenanceTest::wholeBackupComesBackByteForByte() {
    Window window;
    QVERIFY(window.load());
    addCatalogueAndClient(window);
    addVisits(window);
    window.folder.writeBytes(QStringLiteral("\\clientes\\8\\notas de Eva.txt"), "rubio");
    window.folder.writeBytes(QStringLiteral("\\fotos\\corto\\propio.jpg"), "pelo");
    const std::map<QString, QByteArray> before = clientFiles(window);
    QVERIFY(before.count(QStringLiteral("8/notas de Eva.txt")) == 1);
    QVERIFY(before.count(QStringLiteral("8/20261121-103001-foto2.bmp")) == 1);
    const QString visits = QStringLiteral(
        "Select codigocliente As a, fecha As b, fichero As c from visita order by fecha, posicion");
    const QString clients = QStringLiteral(
        "Select codigocliente As a, nombrecliente As b, Fprograma As c from cliente");
    const QStringList visitsBefore = tableRows(window.database, visits);
    QCOMPARE(visitsBefore.size(), 4);
    const QStringList clientsBefore = tableRows(window.database, clients);

    const QString backup = backUp(window);
    QVERIFY2(backup.endsWith(QStringLiteral(".tar")), qPrintable(backup));
    QCOMPARE(QDir(window.folder.path(kBackupFolder)).entryList(QDir::Files | QDir::Hidden),
             QStringList{QFileInfo(backup).fileName()});  // no database copy or part left

    // The folder damaged: a visit file gone, one changed, one added, the database damaged.
    QVERIFY(QFile::remove(window.folder.path("\\clientes\\8\\20261120-103000-foto1.bmp")));
    window.folder.writeBytes("\\clientes\\8\\20261121-103001-foto2.bmp", "garbage");
    window.folder.writeBytes("\\clientes\\9\\extra.bmp", "new");
    QVERIFY(QFile::remove(window.folder.path("\\fotos\\corto\\propio.jpg")));
    window.folder.writeBytes("\\fotos\\corto\\otro.jpg", "pelo");
    window.database.close();
    damage(window.folder.path(kDatabase));

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY2(window.dialogs.messages().last().contains(QStringLiteral("fichas de clientes")),
             qPrintable(window.dialogs.messages().last()));
    QVERIFY(window.database.isOpen());
    QVERIFY(clientFiles(window) == before);
    QCOMPARE(tableRows(window.database, visits), visitsBefore);
    QCOMPARE(tableRows(window.database, clients), clientsBefore);
    QVERIFY(isSoundDatabase(window.folder.path(kDatabase), nullptr));
    // Nothing of the swap is left in the program folder; the damaged database is kept aside.
    QVERIFY(!QFileInfo::exists(window.folder.path(kRestoreIncoming)));
    QVERIFY(!QFileInfo::exists(window.folder.path(kRestoreAside)));
    const QStringList previous =
        QDir(window.folder.path(kBackupFolder)).entryList({"antes-de-restaurar-*.db"});
    QCOMPARE(previous.size(), 1);
    // The client files it replaced, damage and all, are kept beside the previous database.
    const QString keptClients = window.folder.path(kBackupFolder) + QLatin1Char('/') +
                                previous.first().chopped(3) + QStringLiteral("-clientes");
    QVERIFY(window.dialogs.messages().last().contains(keptClients));
    QFile added(keptClients + QStringLiteral("/9/extra.bmp"));
    QVERIFY(added.open(QIODevice::ReadOnly));
    QCOMPARE(added.readAll(), QByteArray("new"));
    QVERIFY(!QFileInfo::exists(keptClients + QStringLiteral("/8/20261120-103000-foto1.bmp")));
    // The catalogue's pictures too: the salon's style is back, one added since kept aside.
    QFile style(window.folder.path("\\fotos\\corto\\propio.jpg"));
    QVERIFY(style.open(QIODevice::ReadOnly));
    QCOMPARE(style.readAll(), QByteArray("pelo"));
    QVERIFY(!window.folder.exists("\\fotos\\corto\\otro.jpg"));
    QVERIFY(QFileInfo::exists(keptClients.chopped(8) + QStringLiteral("fotos/corto/otro.jpg")));
}

void DatabaseMaintenanceTest::backupShowsItsProgress() {
    Window window;
    QVERIFY(window.load());
    addCatalogueAndClient(window);
    window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    QPointer<BackupProgress> progress = runningBackup(window);
    QVERIFY(progress);
    QVERIFY(progress->isVisible());
    QCOMPARE(progress->windowTitle(), QStringLiteral("Copia de Seguridad"));
    QCOMPARE(window.principal->cursor().shape(), Qt::WaitCursor);
    // A second command while it runs brings the same window forward.
    window.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    QCOMPARE(runningBackup(window), progress.data());
    QCOMPARE(window.principal->findChildren<BackupProgress*>().size(), 1);
    // Restoring or repairing meanwhile would swap the files the backup is reading: it waits.
    for (const char* command : {"mnurestaurarbase", "mnureparar"}) {
        window.dialogs.asked.clear();
        window.find<QAction>(QString::fromLatin1(command))->trigger();
        QCOMPARE(window.dialogs.messages(),
                 QStringList{"Se está haciendo una copia de seguridad. Espere a que termine."});
        QCOMPARE(window.dialogs.asked.size(), std::size_t{1});  // no file chooser, no question
    }
    progress->waitForWorker();
    auto* bar = progress->findChild<QProgressBar*>(QStringLiteral("barraprogreso"));
    QVERIFY(bar);
    progress->tick();
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(window.principal->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(progress->isHidden());
    QCOMPARE(window.dialogs.asked.back().icon, MessageIcon::Information);
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral(".tar")));
}

void DatabaseMaintenanceTest::damagedBackupChangesNothing_data() {
    QTest::addColumn<int>("damageKind");
    QTest::newRow("cut in the middle") << 0;
    QTest::newRow("cut at an entry's end") << 1;
    QTest::newRow("a damaged database inside") << 2;
}

void DatabaseMaintenanceTest::damagedBackupChangesNothing() {
    QFETCH(int, damageKind);
    Window window;
    QVERIFY(window.load());
    addCatalogueAndClient(window);
    addVisits(window);
    QString backup = backUp(window);
    QFile archive(backup);
    if (damageKind == 0) {
        QVERIFY(archive.resize(archive.size() / 2));
    } else {
        // Made again from the same files, as a copy cut short or damaged would be.
        QVERIFY(archive.remove());
        std::vector<ArchiveEntry> entries{{"crinova.db", window.folder.path(kDatabase), {}, false},
                                          {"clientes", {}, {}, true}};
        if (damageKind == 2) {
            entries[0] = {"crinova.db", {}, QByteArray(8192, 'x'), false};
            entries.push_back({"copia-crinova.txt", {}, "2 8192\n", false});
        }
        window.database.close();
        QVERIFY(writeTarArchive(entries, backup, {}, nullptr));
        QVERIFY(openProgramDatabase(window.database, window.folder.folder(), nullptr));
    }
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('2', 'Ana', '')")));
    const std::map<QString, QByteArray> before = clientFiles(window);
    window.dialogs.asked.clear();

    window.dialogs.textAnswers = {backup};
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY2(window.dialogs.messages().last().contains(QStringLiteral("no es una copia")),
             qPrintable(window.dialogs.messages().last()));
    QCOMPARE(window.dialogs.messages().size(), 1);  // refused before any question
    QCOMPARE(rows(window.database, "cliente"), 2);
    QVERIFY(clientFiles(window) == before);
    QVERIFY(!QFileInfo::exists(window.folder.path(kRestoreIncoming)));
}

void DatabaseMaintenanceTest::olderDatabaseBackupStillRestores() {
    Window window;
    QVERIFY(window.load());
    addCatalogueAndClient(window);
    window.folder.writeBytes(QStringLiteral("\\clientes\\8\\20261120-103000-foto3.bmp"), "v");
    // A copy of the database alone from before visits were kept: restored, it is upgraded.
    QVERIFY(window.database.Execute(QStringLiteral("DROP TABLE visita")));
    const QString copy = window.folder.path(backupName(QDateTime::currentDateTime()));
    QVERIFY(backupDatabase(window.database, copy, nullptr));
    window.dialogs.textAnswers = {copy};
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("se ha restaurado")));
    QCOMPARE(countVisits(window.database, QStringLiteral("8")), 1);
}

QTEST_MAIN(DatabaseMaintenanceTest)
#include "tst_database_maintenance.moc"
