#include <QtTest>

#include "platform/files.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;

class FilesTest : public QObject {
    Q_OBJECT
  private slots:
    void namesOfTheProgramFolder();
    void existsAndDelete();
};

void FilesTest::namesOfTheProgramFolder() {
    const ProgramFolder folder(QStringLiteral("/opt/crinova/"));
    QCOMPARE(folder.path(), QStringLiteral("/opt/crinova"));
    QCOMPARE(folder.fullPath(QStringLiteral("\\foto10.bmp")),
             QStringLiteral("/opt/crinova/foto10.bmp"));
    QCOMPARE(folder.fullPath(QStringLiteral("\\fotos\\visualizacion\\corto\\a1.jpg")),
             QStringLiteral("/opt/crinova/fotos/visualizacion/corto/a1.jpg"));
    // Relative names only for paths under the folder.
    QCOMPARE(folder.relativeName(QStringLiteral("/opt/crinova/clientes/ana.jpg")),
             QStringLiteral("\\clientes\\ana.jpg"));
    QCOMPARE(folder.relativeName(QStringLiteral("/opt/crinova2/ana.jpg")), QString());
    QCOMPARE(folder.relativeName(QStringLiteral("/home/ana.jpg")), QString());
    QCOMPARE(folder.resolve(QStringLiteral("\\clientes\\ana.jpg")),
             QStringLiteral("/opt/crinova/clientes/ana.jpg"));
    QCOMPARE(folder.resolve(QStringLiteral("/home/ana.jpg")), QStringLiteral("/home/ana.jpg"));
}

void FilesTest::existsAndDelete() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString path = folder.path(QStringLiteral("\\foto3.bmp"));
    QVERIFY(!fileExists(path));
    QVERIFY(!QFileInfo::exists(path));  // asking did not create it
    folder.writeBytes(QStringLiteral("\\foto3.bmp"), "x");
    QVERIFY(fileExists(path));
    QVERIFY(!fileExists(folder.folder().path()));  // a folder is not a file
    QVERIFY(deleteFile(path));
    QVERIFY(!fileExists(path));
    QVERIFY(deleteFile(path));  // already gone: no error
}

QTEST_GUILESS_MAIN(FilesTest)
#include "tst_files.moc"
