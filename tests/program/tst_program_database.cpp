#include <QtTest>

#include "program/program_database.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;

class ProgramDatabaseTest : public QObject {
    Q_OBJECT
  private slots:
    void newDatabaseHasBothTablesAndKeepsItsRows_data();
    void newDatabaseHasBothTablesAndKeepsItsRows();
    void damagedFileIsRefused_data();
    void damagedFileIsRefused();
    void missingTableIsDamage_data();
    void missingTableIsDamage();
    void aBusyDatabaseIsTriedAgainWhenNeeded();
};

void ProgramDatabaseTest::newDatabaseHasBothTablesAndKeepsItsRows_data() {
    QTest::addColumn<bool>("emptyFile");
    QTest::newRow("missing file") << false;
    QTest::newRow("empty file, as SQLite leaves a new one") << true;
}

void ProgramDatabaseTest::newDatabaseHasBothTablesAndKeepsItsRows() {
    QFETCH(bool, emptyFile);
    TestProgramFolder folder(TestProgramFolder::Empty);
    if (emptyFile) {
        folder.writeBytes(QStringLiteral("\\crinova.db"), QByteArray());
    }
    {
        Database database;
        QString error;
        QVERIFY2(openProgramDatabase(database, folder.folder(), &error), qPrintable(error));
        QVERIFY(folder.exists(QStringLiteral("\\crinova.db")));
        const RecordSet cabellos = database.OpenRecordset(
            QStringLiteral("Select tpersona, largura, tipo, color, nombre from cabellos"), {},
            &error);
        QVERIFY2(cabellos.isOpen(), qPrintable(error));
        QVERIFY(database.Execute(
            QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
            {QStringLiteral("7"), QStringLiteral("Ana"), QStringLiteral("\\clientes\\ana.jpg")}));
    }
    Database reopened;
    QVERIFY(openProgramDatabase(reopened, folder.folder(), nullptr));
    RecordSet rows = reopened.OpenRecordset(
        QStringLiteral("Select codigocliente, nombrecliente, Fprograma from cliente"));
    QCOMPARE(rows.RecordCount(), 1);
    QCOMPARE(rows.Fields(QStringLiteral("Fprograma")), QStringLiteral("\\clientes\\ana.jpg"));
}

void ProgramDatabaseTest::damagedFileIsRefused_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text file") << QByteArray(
        "esto no es una base de datos, pero es bastante largo "
        "para parecer una cabecera de archivo");
    QByteArray truncated("SQLite format 3");
    truncated.append('\0');
    truncated.append(QByteArray(200, '\x7f'));
    QTest::newRow("truncated header") << truncated;
}

void ProgramDatabaseTest::damagedFileIsRefused() {
    QFETCH(QByteArray, content);
    TestProgramFolder folder(TestProgramFolder::Empty);
    folder.writeBytes(QStringLiteral("\\crinova.db"), content);
    Database database;
    QString error;
    QVERIFY(!openProgramDatabase(database, folder.folder(), &error));
    QVERIFY(!database.isOpen());
    QVERIFY2(error.contains(QStringLiteral("No se ha podido abrir la base de datos")),
             qPrintable(error));
    QVERIFY2(error.contains(folder.path(QStringLiteral("\\crinova.db"))), qPrintable(error));
    QFile file(folder.path(QStringLiteral("\\crinova.db")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);  // a damaged file is never overwritten
}

void ProgramDatabaseTest::missingTableIsDamage_data() {
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("missing");
    QTest::newRow("no cabellos") << QStringLiteral("cliente") << QStringLiteral("cabellos");
    QTest::newRow("no cliente") << QStringLiteral("cabellos") << QStringLiteral("cliente");
}

void ProgramDatabaseTest::missingTableIsDamage() {
    QFETCH(QString, kept);
    QFETCH(QString, missing);
    TestProgramFolder folder(TestProgramFolder::Empty);
    {
        Database database;
        QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
        QVERIFY(database.Execute(QStringLiteral("DROP TABLE ") + missing));
    }
    Database database;
    QString error;
    QVERIFY(!openProgramDatabase(database, folder.folder(), &error));
    QVERIFY(!database.isOpen());
    QVERIFY2(error.contains(QStringLiteral("dañada")), qPrintable(error));
    QVERIFY2(error.contains(missing), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("Reparar Base de Datos")), qPrintable(error));
    // The file is left as it was for a repair: no empty table made up in its place.
    Database file;
    QVERIFY(file.open(folder.path(QStringLiteral("\\crinova.db")), false, nullptr));
    const auto tables = [&file](const QString& name) {
        return file
            .OpenRecordset(QStringLiteral("Select name From sqlite_master where name=?"), {name})
            .RecordCount();
    };
    QCOMPARE(tables(missing), 0);
    QCOMPARE(tables(kept), 1);
}

void ProgramDatabaseTest::aBusyDatabaseIsTriedAgainWhenNeeded() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    {
        Database database;
        QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
        QVERIFY(database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('7', 'Ana', '')")));
    }
    // Another program in the middle of a write holds the file.
    auto holder = std::make_unique<Database>();
    QVERIFY(holder->open(folder.path(QStringLiteral("\\crinova.db")), false, nullptr));
    QVERIFY(holder->Execute(QStringLiteral("BEGIN EXCLUSIVE")));
    Database database;
    QString error;
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!openProgramDatabase(database, folder.folder(), &error));
    qInfo("a busy database is told after %lld ms", waited.elapsed());
    QVERIFY(waited.elapsed() < 3000);  // a short wait, not seconds of a frozen window
    QVERIFY2(error.contains(QStringLiteral("está ocupada por otro programa")), qPrintable(error));
    QVERIFY2(!error.contains(QStringLiteral("dañad")), qPrintable(error));
    // A command meanwhile hears the same; once the other program lets go, the next one opens it.
    QVERIFY(!database.OpenRecordset(QStringLiteral("Select * from cliente"), {}, &error).isOpen());
    QVERIFY2(error.contains(QStringLiteral("ocupada")), qPrintable(error));
    holder.reset();
    QCOMPARE(
        database.OpenRecordset(QStringLiteral("Select * from cliente"), {}, &error).RecordCount(),
        1);
    QVERIFY(database.isOpen());
}

QTEST_GUILESS_MAIN(ProgramDatabaseTest)
#include "tst_program_database.moc"
