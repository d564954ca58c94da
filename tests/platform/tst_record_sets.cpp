#include <QtTest>

#include "platform/record_sets.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;

class RecordSetsTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void countingByWalkingToTheEndAndAnEmptySet();
    void moveByACountAndBackToTheFirstRow();
    void fieldsByNameAsText();
    void typedValuesAreBoundNotPasted();
    void failingQueryIsAnErrorNotACrash();
    void transactionIsAllOrNothing();

  private:
    std::unique_ptr<TestProgramFolder> folder_;
    std::unique_ptr<Database> database_;
};

void RecordSetsTest::init() {
    folder_ = std::make_unique<TestProgramFolder>(TestProgramFolder::Empty);
    database_ = std::make_unique<Database>();
    QString error;
    QVERIFY2(database_->open(folder_->path(QStringLiteral("\\prueba.db")), true, &error),
             qPrintable(error));
    QVERIFY(
        database_->Execute(QStringLiteral("CREATE TABLE cabellos (tpersona TEXT, largura TEXT, "
                                          "tipo TEXT, color TEXT, nombre TEXT)")));
    const char* const names[] = {"c1", "c2", "c3", "c4", "c5"};
    for (const char* name : names) {
        QVERIFY(database_->Execute(
            QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'corto', 'liso', 'rojo', ?)"),
            {QString::fromLatin1(name)}));
    }
}

void RecordSetsTest::cleanup() {
    database_.reset();
    folder_.reset();
}

void RecordSetsTest::countingByWalkingToTheEndAndAnEmptySet() {
    RecordSet rows = database_->OpenRecordset(QStringLiteral("Select * from cabellos"));
    QVERIFY(rows.isOpen());
    QVERIFY(rows.RecordCount() != 0);
    QVERIFY(!rows.Bof());
    int counted = 0;
    while (!rows.Eof()) {
        ++counted;
        rows.MoveNext();
    }
    QCOMPARE(counted, 5);
    rows.MoveNext();  // past the end stays at the end
    QVERIFY(rows.Eof());
    QCOMPARE(rows.Fields(QStringLiteral("nombre")), QString());
    rows.MoveFirst();
    QVERIFY(!rows.Eof());
    QCOMPARE(rows.Fields(QStringLiteral("nombre")), QStringLiteral("c1"));

    // An empty set is at both ends.
    RecordSet none = database_->OpenRecordset(
        QStringLiteral("Select * from cabellos where tpersona = ?"), {QStringLiteral("hombre")});
    QVERIFY(none.isOpen());
    QCOMPARE(none.RecordCount(), 0);
    QVERIFY(none.Eof());
    QVERIFY(none.Bof());
}

void RecordSetsTest::moveByACountAndBackToTheFirstRow() {
    RecordSet rows = database_->OpenRecordset(QStringLiteral("Select * from cabellos"));
    rows.Move(3);
    QCOMPARE(rows.Fields(QStringLiteral("nombre")), QStringLiteral("c4"));
    rows.Move(1);
    QCOMPARE(rows.Fields(QStringLiteral("nombre")), QStringLiteral("c5"));
    rows.Move(6);
    QVERIFY(rows.Eof());
    rows.MoveFirst();
    rows.Move(-1);
    QVERIFY(rows.Bof());
    QVERIFY(!rows.Eof());
    rows.MoveFirst();
    rows.Move(0);
    QCOMPARE(rows.Fields(QStringLiteral("nombre")), QStringLiteral("c1"));
    rows.Close();
    QVERIFY(!rows.isOpen());
    QCOMPARE(rows.RecordCount(), 0);
}

void RecordSetsTest::fieldsByNameAsText() {
    QVERIFY(
        database_->Execute(QStringLiteral("CREATE TABLE cliente (codigocliente TEXT, "
                                          "nombrecliente TEXT, Fprograma TEXT)")));
    QVERIFY(database_->Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, NULL)"),
                               {QStringLiteral("001"), QStringLiteral("VEXA")}));
    RecordSet rows = database_->OpenRecordset(
        QStringLiteral("Select Fprograma,codigocliente,nombrecliente From cliente"));
    QCOMPARE(rows.Fields(QStringLiteral("codigocliente")), QStringLiteral("001"));  // text, not 1
    QCOMPARE(rows.Fields(QStringLiteral("NOMBRECLIENTE")), QStringLiteral("VEXA"));
    QCOMPARE(rows.Fields(QStringLiteral("Fprograma")), QString());
    QCOMPARE(rows.Fields(QStringLiteral("no_such_column")), QString());
}

void RecordSetsTest::typedValuesAreBoundNotPasted() {
    const QString name = QStringLiteral("O'Brien'); DROP TABLE cabellos; --");
    QVERIFY(database_->Execute(
        QStringLiteral("INSERT INTO cabellos VALUES ('hombre', 'largo', 'liso', 'Negro', ?)"),
        {name}));
    RecordSet rows =
        database_->OpenRecordset(QStringLiteral("Select * from cabellos where nombre = ?"), {name});
    QCOMPARE(rows.RecordCount(), 1);
    QCOMPARE(rows.Fields(QStringLiteral("nombre")), name);
    QCOMPARE(database_->OpenRecordset(QStringLiteral("Select * from cabellos")).RecordCount(), 6);
}

void RecordSetsTest::failingQueryIsAnErrorNotACrash() {
    QString error;
    RecordSet rows = database_->OpenRecordset(QStringLiteral("Select * from nada"), {}, &error);
    QVERIFY(!rows.isOpen());
    QVERIFY(rows.Eof());
    QVERIFY(error.contains(QStringLiteral("La consulta a la base de datos ha fallado")));
    Database closed;
    QVERIFY(!closed.OpenRecordset(QStringLiteral("Select 1"), {}, &error).isOpen());
    QVERIFY(!error.isEmpty());
}

void RecordSetsTest::transactionIsAllOrNothing() {
    const auto count = [this] {
        return database_->OpenRecordset(QStringLiteral("Select * from cabellos")).RecordCount();
    };
    const auto insert = [this](const char* name, QString* reason) {
        return database_->Execute(
            QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'largo', 'liso', 'rojo', ?)"),
            {QString::fromLatin1(name)}, reason);
    };
    QString error;
    // A failing statement after a good one takes the good one back, with the reason.
    QVERIFY(!database_->transaction(
        [&](QString* reason) {
            return insert("l1", reason) &&
                   database_->Execute(QStringLiteral("INSERT INTO nada VALUES (1)"), {}, reason);
        },
        &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(count(), 5);
    // A write refused by its own rule (no SQL error) is taken back as well.
    QVERIFY(!database_->transaction([&](QString* reason) { return !insert("l2", reason); }));
    QCOMPARE(count(), 5);
    // Nothing was left open: the next transaction starts and keeps both rows.
    error.clear();
    QVERIFY2(
        database_->transaction(
            [&](QString* reason) { return insert("l3", reason) && insert("l4", reason); }, &error),
        qPrintable(error));
    QCOMPARE(count(), 7);
    // A closed database runs none of the statements.
    Database closed;
    bool ran = false;
    QVERIFY(!closed.transaction(
        [&](QString*) {
            ran = true;
            return true;
        },
        &error));
    QVERIFY(!ran);
}

QTEST_GUILESS_MAIN(RecordSetsTest)
#include "tst_record_sets.moc"
