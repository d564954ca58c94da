#include <QtTest>

#include "image_compare.h"
#include "platform/pictures.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;
using crinova::test::TestProgramFolder;

class PicturesTest : public QObject {
    Q_OBJECT
  private slots:
    void formatComesFromTheContent_data();
    void formatComesFromTheContent();
    void faultsNameTheFile_data();
    void faultsNameTheFile();
    void bmpSavedWholeAndReplaced();
    void saveIntoUnwritableFolderFailsAndKeepsOldFile();
    void cachePicksUpChangesOnDisk();
};

void PicturesTest::formatComesFromTheContent_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("format");
    QTest::newRow("bitmap under a .jpg name") << QStringLiteral("\\foto.jpg") << "bmp";
    QTest::newRow("jpeg under a .bmp name") << QStringLiteral("\\foto.bmp") << "jpg";
    QTest::newRow("jpeg with no extension") << QStringLiteral("\\foto") << "jpg";
}

void PicturesTest::formatComesFromTheContent() {
    QFETCH(QString, name);
    QFETCH(QString, format);
    TestProgramFolder folder(TestProgramFolder::Empty);
    folder.writePicture(name, solidPicture(8, 6, 0x00204080), format.toLatin1().constData());
    const PictureLoad load = loadPicture(folder.path(name));
    QVERIFY(load.ok());
    QCOMPARE(load.picture.size(), QSize(8, 6));
    QCOMPARE(load.picture.format(), QImage::Format_RGB32);
    if (format == QLatin1String("bmp")) {
        QCOMPARE(colourAt(load.picture, 3, 3), Colour(0x00204080));
    }
}

void PicturesTest::faultsNameTheFile_data() {
    QTest::addColumn<QByteArray>("content");  // "missing" writes nothing
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray("missing") << int(PictureFault::Missing)
                             << QStringLiteral("El archivo no existe.");
    QTest::newRow("empty") << QByteArray() << int(PictureFault::Empty)
                           << QStringLiteral("El archivo está vacío.");
    QTest::newRow("not a picture")
        << QByteArray("hola, esto es texto") << int(PictureFault::NotAPicture)
        << QStringLiteral("no es una imagen JPG o BMP");
    QTest::newRow("png is not a program picture")
        << QByteArray::fromBase64(
               "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGP4z8AAAAMBAQDJ/"
               "pLvAAAAAElFTkSuQmCC")
        << int(PictureFault::NotAPicture) << QStringLiteral("no es una imagen JPG o BMP");
}

void PicturesTest::faultsNameTheFile() {
    QFETCH(QByteArray, content);
    QFETCH(int, fault);
    QFETCH(QString, reason);
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString path = folder.path(QStringLiteral("\\mpelo2.jpg"));
    if (content != "missing") {
        folder.writeBytes(QStringLiteral("\\mpelo2.jpg"), content);
    }
    const PictureLoad load = loadPicture(path);
    QVERIFY(!load.ok());
    QVERIFY(load.picture.isNull());
    QCOMPARE(int(load.fault), fault);
    const QString message = pictureFaultMessage(load);
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
}

void PicturesTest::bmpSavedWholeAndReplaced() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString path = folder.path(QStringLiteral("\\foto1.bmp"));
    QVERIFY(savePictureBmp(solidPicture(4, 4, 0x000000FF), path));
    QVERIFY(savePictureBmp(solidPicture(3, 2, 0x0000FF00), path));
    const PictureLoad load = loadPicture(path);
    QVERIFY(load.ok());
    QCOMPARE(load.picture.size(), QSize(3, 2));
    QCOMPARE(colourAt(load.picture, 2, 1), Colour(0x0000FF00));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("BM"));
}

void PicturesTest::saveIntoUnwritableFolderFailsAndKeepsOldFile() {
    // A folder that cannot be created (its parent is a file) refuses the save even for root.
    TestProgramFolder folder(TestProgramFolder::Empty);
    folder.writeBytes(QStringLiteral("\\clientes"), "not a folder");
    const QString path = folder.path(QStringLiteral("\\clientes\\foto1.bmp"));
    QString error;
    QVERIFY(!savePictureBmp(solidPicture(3, 2, 0x0000FF00), path, &error));
    QVERIFY2(error.contains(QStringLiteral("No se ha podido guardar la imagen")),
             qPrintable(error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY(!savePictureBmp(QImage(), folder.path(QStringLiteral("\\foto1.bmp")), &error));
    QVERIFY(!folder.exists(QStringLiteral("\\foto1.bmp")));
}

void PicturesTest::cachePicksUpChangesOnDisk() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString name = QStringLiteral("\\pelo2.jpg");
    folder.writePicture(name, solidPicture(4, 4, 0x000000FF));
    PictureCache cache;
    QCOMPARE(colourAt(cache.load(folder.path(name)).picture, 0, 0), Colour(0x000000FF));

    folder.writePicture(name, solidPicture(5, 4, 0x00FF0000));  // replaced: another size
    const PictureLoad replaced = cache.load(folder.path(name));
    QCOMPARE(replaced.picture.size(), QSize(5, 4));
    QCOMPARE(colourAt(replaced.picture, 0, 0), Colour(0x00FF0000));

    QFile::remove(folder.path(name));
    const PictureLoad gone = cache.load(folder.path(name));
    QCOMPARE(gone.fault, PictureFault::Missing);
}

QTEST_GUILESS_MAIN(PicturesTest)
#include "tst_pictures.moc"
