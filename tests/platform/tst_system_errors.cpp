#include <QtTest>

#include "file_size_limit.h"
#include "platform/pictures.h"
#include "platform/record_sets.h"
#include "platform/system_errors.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::FileSizeLimit;
using crinova::test::TestProgramFolder;

class SystemErrorsTest : public QObject {
    Q_OBJECT
  private slots:
    void systemTextsBecomeSpanish_data();
    void systemTextsBecomeSpanish();
    void unknownTextIsKeptAsDetail();
    void readOnlyOrReplacedDatabaseIsReportedInSpanish();
    void folderInTheWayIsReportedInSpanish();
    void aFullDiskIsNamedWhenAPictureIsSaved();
    void longNamesAreShortenedInTheMiddle();
};

void SystemErrorsTest::systemTextsBecomeSpanish_data() {
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("spanish");
    QTest::newRow("read-only database")
        << "attempt to write a readonly database"
        << "La base de datos es de solo lectura: no se pueden guardar cambios en ella.";
    QTest::newRow("busy database") << "database is locked"
                                   << "La base de datos está ocupada por otro programa. Espere a "
                                      "que termine y vuelva a intentarlo.";
    QTest::newRow("not a database") << "file is not a database"
                                    << "El archivo no es una base de datos.";
    QTest::newRow("missing table") << "no such table: cliente"
                                   << "A la base de datos le falta una tabla.";
    QTest::newRow("permission") << "Permission denied"
                                << "No tiene permiso para usar el archivo o la carpeta.";
    QTest::newRow("unwritable existing file") << "Existing file /tmp/x/foto1.bmp is not writable"
                                              << "El archivo ya existe y no se puede modificar.";
    QTest::newRow("a column the table lacks") << "table visita has no column named codigocliente"
                                              << "A la base de datos le falta un campo.";
    QTest::newRow("name too long") << "File name too long"
                                   << "El nombre del archivo es demasiado largo para el disco.";
    QTest::newRow("full disk") << "No space left on device"
                               << "El disco está lleno.";
    QTest::newRow("image reader") << "Unsupported image format"
                                  << "El formato de la imagen no es compatible.";
}

void SystemErrorsTest::systemTextsBecomeSpanish() {
    QFETCH(QString, system);
    QFETCH(QString, spanish);
    QCOMPARE(spanishSystemError(system), spanish);
    // However the system words it around: case and surrounding text do not matter.
    QCOMPARE(spanishSystemError(QStringLiteral("Unable to fetch row\n") + system.toUpper()),
             spanish);
}

void SystemErrorsTest::unknownTextIsKeptAsDetail() {
    QCOMPARE(spanishSystemError(QStringLiteral("Error desconocido 42")),
             QStringLiteral("El sistema ha indicado un error (Error desconocido 42)."));
    QCOMPARE(spanishSystemError(QString()), QStringLiteral("El sistema no ha dicho el motivo."));
}

void SystemErrorsTest::readOnlyOrReplacedDatabaseIsReportedInSpanish() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    Database database;
    QString error;
    QVERIFY2(database.open(folder.path(QStringLiteral("\\crinova.db")), true, &error),
             qPrintable(error));
    QVERIFY(database.Execute(QStringLiteral("CREATE TABLE cliente (nombre TEXT)")));
    // SQLite refuses every write from here on, whoever runs the test (root ignores file modes).
    QVERIFY(database.Execute(QStringLiteral("PRAGMA query_only = ON")));
    QVERIFY(!database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?)"),
                              {QStringLiteral("Ana")}, &error));
    QCOMPARE(error, QStringLiteral("La base de datos ha rechazado la operación:\n"
                                   "La base de datos es de solo lectura: no se pueden guardar "
                                   "cambios en ella."));

    // Another program puts a file of its own in its place: said so, not "read-only".
    QVERIFY(database.Execute(QStringLiteral("PRAGMA query_only = OFF")));
    const QString path = folder.path(QStringLiteral("\\crinova.db"));
    QVERIFY(QFile::rename(path, path + QStringLiteral(".antes")));
    QVERIFY(QFile::copy(path + QStringLiteral(".antes"), path));
    QVERIFY(!database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('Ana')"), {}, &error));
    QVERIFY2(error.contains(QStringLiteral("Otro programa ha sustituido o movido el archivo")),
             qPrintable(error));
    QVERIFY(!error.contains(QStringLiteral("solo lectura")));
}

void SystemErrorsTest::folderInTheWayIsReportedInSpanish() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString path = folder.path(QStringLiteral("\\foto1.bmp"));
    QVERIFY(QDir().mkpath(path));
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QString error;
    QVERIFY(!savePictureBmp(picture, path, &error));
    QCOMPARE(
        error,
        QStringLiteral("No se ha podido guardar la imagen:\n%1\n\n"
                       "No se puede reemplazar el archivo. Con ese nombre hay un directorio, no un "
                       "archivo.")
            .arg(QDir::toNativeSeparators(path)));
}

void SystemErrorsTest::aFullDiskIsNamedWhenAPictureIsSaved() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    QImage picture(1000, 1000, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QString error;
    {
        const FileSizeLimit full(1 << 20);  // a 4 MB bitmap does not fit
        QVERIFY(!savePictureBmp(picture, folder.path(QStringLiteral("\\foto1.bmp")), &error));
    }
    QVERIFY2(error.endsWith(QStringLiteral("El archivo es demasiado grande para el disco.")),
             qPrintable(error));
}

void SystemErrorsTest::longNamesAreShortenedInTheMiddle() {
    const QString shown =
        shortenedMiddle(QStringLiteral("/home/ana/") + QString(4000, 'x') + "/foto1.bmp");
    QCOMPARE(shown.size(), 90);
    QVERIFY2(shown.startsWith(QStringLiteral("/home/ana/xx")) &&
                 shown.endsWith(QStringLiteral("xx/foto1.bmp")) &&
                 shown.contains(QStringLiteral("x\u2026x")),
             qPrintable(shown));
    QCOMPARE(shortenedMiddle(QStringLiteral("corto")), QStringLiteral("corto"));
    // A right-to-left override would turn what follows it around on screen.
    QCOMPARE(shortenedMiddle(QStringLiteral("Ana\u202eLuis")), QStringLiteral("Ana\ufffdLuis"));
}

QTEST_MAIN(SystemErrorsTest)
#include "tst_system_errors.moc"
