#include <QtTest>

#include "program/database_upgrade.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;

namespace {

// What the database holds, table by table and row by row, as text.
QStringList contents(Database& database) {
    QStringList found;
    RecordSet objects = database.OpenRecordset(
        QStringLiteral("Select type, name From sqlite_master order by type, name"));
    for (; !objects.Eof(); objects.MoveNext()) {
        const QString name = objects.Fields(QStringLiteral("name"));
        found << objects.Fields(QStringLiteral("type")) + QLatin1Char(' ') + name;
        if (objects.Fields(QStringLiteral("type")) == QLatin1String("table")) {
            found << QString::number(
                database.OpenRecordset(QStringLiteral("Select * From ") + name).RecordCount());
        }
    }
    return found;
}

// A database as the version before visits made it, with one client and a visit on disk.
void makeOldDatabase(const TestProgramFolder& folder) {
    Database old;
    QVERIFY(old.open(folder.path(kDatabase), true, nullptr));
    QVERIFY(createTables(old, nullptr));
    QVERIFY(old.Execute(QStringLiteral("INSERT INTO cliente VALUES ('07', 'Ana', '')")));
    folder.writeBytes("\\clientes\\07\\20261206-090507-foto2.bmp", "a");
}

}  // namespace

class DatabaseUpgradeTest : public QObject {
    Q_OBJECT
  private slots:
    void everyStepIsDoneOnce();
    void aFailingStepChangesNothing();
};

void DatabaseUpgradeTest::everyStepIsDoneOnce() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    makeOldDatabase(folder);
    Database database;
    QVERIFY(database.open(folder.path(kDatabase), false, nullptr));
    QStringList names;
    std::vector<UpgradeStep> steps = upgradeSteps();
    std::erase_if(steps,
                  [](const UpgradeStep& step) { return step.scope == StepScope::ServerOnly; });
    for (const UpgradeStep& step : steps) {
        bool failed = false;
        QVERIFY(step.needed(database, nullptr, &failed));
        QVERIFY(!failed);
        QVERIFY(!names.contains(step.name));
        names << step.name;
    }
    QVERIFY(upgradeDatabase(database, folder.folder(), nullptr));
    for (const UpgradeStep& step : steps) {
        bool failed = false;
        QVERIFY2(!step.needed(database, nullptr, &failed), qPrintable(step.name));
        QVERIFY(!failed);
    }
    const QStringList upgraded = contents(database);
    QVERIFY(upgraded.contains(QStringLiteral("table visita")));
    // Again, as at the next start: nothing more.
    QVERIFY(upgradeDatabase(database, folder.folder(), nullptr));
    QCOMPARE(contents(database), upgraded);
}

void DatabaseUpgradeTest::aFailingStepChangesNothing() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    makeOldDatabase(folder);
    {
        // Something else already has the name the visits' table needs.
        Database old;
        QVERIFY(old.open(folder.path(kDatabase), false, nullptr));
        QVERIFY(old.Execute(QStringLiteral("CREATE VIEW visita AS Select * From cliente")));
    }
    Database database;
    QVERIFY(database.open(folder.path(kDatabase), false, nullptr));
    const QStringList before = contents(database);
    QString error;
    QVERIFY(!upgradeDatabase(database, folder.folder(), &error));
    QVERIFY2(error.startsWith(QStringLiteral("No se ha podido preparar la tabla de visitas:\n")),
             qPrintable(error));
    QCOMPARE(contents(database), before);
    database.close();
    // At start-up the program then runs on without the database, saying why.
    QVERIFY(!openProgramDatabase(database, folder.folder(), &error));
    QVERIFY(error.startsWith(QStringLiteral("No se ha podido preparar la tabla de visitas")));
    QVERIFY(!database.isOpen());
}

QTEST_GUILESS_MAIN(DatabaseUpgradeTest)
#include "tst_database_upgrade.moc"
