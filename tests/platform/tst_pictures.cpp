#include <QtTest>

#include <cstdio>

#include "image_compare.h"
#include "platform/pictures.h"
#include "read_only_folder.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::jpegClaimingSize;
using crinova::test::ReadOnlyFolder;
using crinova::test::solidPicture;
using crinova::test::TestProgramFolder;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void setModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void formatComesFromTheContent_data();
    void formatComesFromTheContent();
    void faultsNameTheFile_data();
    void faultsNameTheFile();
    void largePictures_data();
    void largePictures();
    void picturesAreReadNoLargerThanShown_data();
    void picturesAreReadNoLargerThanShown();
    void bmpSavedWholeAndReplaced();
    void saveIntoUnwritableFolderFailsAndKeepsOldFile_data();
    void saveIntoUnwritableFolderFailsAndKeepsOldFile();
    void cachePicksUpChangesOnDisk();
    void cacheKnowsASettledFileByItsIdentity();
};

void PicturesTest::initTestCase() {
    allowLargePictures();
}

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
               "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAA"
               "AADElEQVR4nGP4z8AAAAMBAQDJ/"
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

void PicturesTest::largePictures_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("content");  // "jpg" or "bmp" pictures, "header" a claim only
    QTest::addColumn<QSize>("largest");       // asked for by the caller; invalid for none
    QTest::addColumn<bool>("tooLarge");
    const QSize none;
    QTest::newRow("48-megapixel phone photo")
        << QSize(8000, 6000) << QByteArray("jpg") << none << false;
    QTest::newRow("past the decoding limit")
        << QSize(30000, 20000) << QByteArray("header") << none << true;
    QTest::newRow("wider than asked for")
        << QSize(431, 200) << QByteArray("bmp") << QSize(430, 430) << true;
    QTest::newRow("higher than asked for")
        << QSize(200, 431) << QByteArray("bmp") << QSize(430, 430) << true;
    QTest::newRow("exactly as large as asked for")
        << QSize(430, 430) << QByteArray("bmp") << QSize(430, 430) << false;
}

void PicturesTest::largePictures() {
    QFETCH(QSize, size);
    QFETCH(QByteArray, content);
    QFETCH(QSize, largest);
    QFETCH(bool, tooLarge);
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString name = QStringLiteral("\\clientes\\movil.jpg");
    if (content == "header") {
        folder.writeBytes(name, jpegClaimingSize(size));
    } else {
        folder.writePicture(name, solidPicture(size.width(), size.height(), 0x00204080),
                            content.constData());
    }
    const PictureLoad load = loadPicture(folder.path(name), largest);
    QCOMPARE(load.size, size);
    if (!tooLarge) {
        QVERIFY(load.ok());
        QCOMPARE(load.picture.size(), size);
        QCOMPARE(load.picture.format(), QImage::Format_RGB32);
        return;
    }
    QCOMPARE(load.fault, PictureFault::TooLarge);
    QVERIFY(load.picture.isNull());
    const QString message = pictureFaultMessage(load);
    QVERIFY2(message.contains(folder.path(name)), qPrintable(message));
    // The pixel size is written as the program's locale writes numbers.
    QVERIFY2(message.contains(
                 QStringLiteral("demasiado grande: %1 × %2 píxeles")
                     .arg(QLocale().toString(size.width()), QLocale().toString(size.height()))),
             qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("dañado")), qPrintable(message));
}

void PicturesTest::picturesAreReadNoLargerThanShown_data() {
    QTest::addColumn<QByteArray>("format");  // "jpg", "rle" (a run-length bitmap), "header"
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("thumbnail");  // reduced into `shown`; otherwise its top-left part
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QSize>("expected");  // empty: refused as too large
    const QSize box(300, 320);
    const QSize large(1200, 900);
    QTest::newRow("jpeg in a picture box") << QByteArray("jpg") << large << false << box << box;
    QTest::newRow("bitmap in a picture box") << QByteArray("rle") << large << false << box << box;
    QTest::newRow("smaller than the box")
        << QByteArray("rle") << QSize(200, 100) << false << box << QSize(200, 100);
    QTest::newRow("jpeg thumbnail")
        << QByteArray("jpg") << large << true << QSize(40, 40) << QSize(40, 30);
    QTest::newRow("bitmap thumbnail")
        << QByteArray("rle") << large << true << QSize(40, 40) << QSize(40, 30);
    // 12000 x 12000 at 24 bits, decoded whole (4 bytes a pixel) before the part shown is cut,
    // and the part kept: 576,384,000 bytes, 550 MB. Refused from its header, with its size.
    QTest::newRow("bitmap past the memory limit")
        << QByteArray("header") << QSize(12000, 12000) << false << box << QSize();
}

void PicturesTest::picturesAreReadNoLargerThanShown() {
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(bool, thumbnail);
    QFETCH(QSize, shown);
    QFETCH(QSize, expected);
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString name = QStringLiteral("\\clientes\\grande.bmp");
    constexpr Colour kColour = 0x00204080;
    if (format == "rle") {
        folder.writeBytes(name, test::runLengthBitmap(size, kColour));
    } else if (format == "header") {
        folder.writeBytes(name, test::bitmapClaimingSize(size));
    } else {
        folder.writePicture(name, solidPicture(size.width(), size.height(), kColour), "jpg");
    }
    const PictureLoad load =
        loadShownPicture(folder.path(name), thumbnail ? PictureShown::reducedInto(shown)
                                                      : PictureShown::topLeft(shown));
    QCOMPARE(load.size, size);
    if (expected.isEmpty()) {
        QCOMPARE(load.fault, PictureFault::TooLarge);
        const QString message = pictureFaultMessage(load);
        QVERIFY2(message.contains(
                     QStringLiteral("%1 × %2 píxeles")
                         .arg(QLocale().toString(size.width()), QLocale().toString(size.height()))),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("550 MB")), qPrintable(message));
        return;
    }
    QVERIFY(load.ok());
    QCOMPARE(load.picture.size(), expected);
    QCOMPARE(load.picture.format(), QImage::Format_RGB32);
    const Colour middle = colourAt(load.picture, expected.width() / 2, expected.height() / 2);
    for (int shift : {0, 8, 16}) {  // a JPEG's colours come back within its rounding
        QVERIFY(std::abs(int((middle >> shift) & 0xff) - int((kColour >> shift) & 0xff)) <= 4);
    }
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

void PicturesTest::saveIntoUnwritableFolderFailsAndKeepsOldFile_data() {
    QTest::addColumn<QString>("oldFile");  // written before the save, expected untouched after it
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<bool>("picture");  // false: an empty picture is saved
    QTest::addColumn<QString>("reason");
    const QString photo = QStringLiteral("\\clientes\\foto1.bmp");
    const QString folderRefused = QStringLiteral("No se puede escribir en esa carpeta");
    QTest::newRow("read-only folder") << photo << photo << true << true << folderRefused;
    // A folder that cannot be created: its name is taken by a file.
    QTest::newRow("folder name taken by a file")
        << QStringLiteral("\\clientes") << photo << false << true << folderRefused;
    QTest::newRow("nothing to save")
        << photo << photo << false << false << QStringLiteral("No hay ninguna imagen que guardar.");
}

void PicturesTest::saveIntoUnwritableFolderFailsAndKeepsOldFile() {
    QFETCH(QString, oldFile);
    QFETCH(QString, target);
    QFETCH(bool, readOnlyFolder);
    QFETCH(bool, picture);
    QFETCH(QString, reason);
    TestProgramFolder folder(TestProgramFolder::Empty);
    folder.writePicture(oldFile, solidPicture(4, 4, 0x000000FF));
    const QByteArray oldBytes = fileBytes(folder.path(oldFile));
    QVERIFY(!oldBytes.isEmpty());
    const QString path = folder.path(target);
    const QString folderPath = QFileInfo(path).path();

    QString error;
    bool saved = false;
    if (readOnlyFolder) {
        const ReadOnlyFolder readOnly(folderPath);
        QVERIFY2(!QFile(folderPath + QStringLiteral("/probe")).open(QIODevice::WriteOnly),
                 "the folder is still writable");
        saved = savePictureBmp(solidPicture(3, 2, 0x0000FF00), path, &error);
    } else {
        saved = savePictureBmp(picture ? solidPicture(3, 2, 0x0000FF00) : QImage(), path, &error);
    }

    QVERIFY(!saved);
    QVERIFY2(error.contains(QStringLiteral("No se ha podido guardar la imagen")),
             qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(fileBytes(folder.path(oldFile)), oldBytes);
    // Nothing half-written is left beside the old file.
    QCOMPARE(QDir(QFileInfo(folder.path(oldFile)).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QFileInfo(folder.path(oldFile)).fileName()});
}

void PicturesTest::cachePicksUpChangesOnDisk() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString name = QStringLiteral("\\pelo2.jpg");
    folder.writePicture(name, solidPicture(4, 4, 0x000000FF));
    PictureCache cache;
    const PictureLoad first = cache.load(folder.path(name));
    QCOMPARE(colourAt(first.picture, 0, 0), Colour(0x000000FF));
    // Unchanged: the picture decoded before, not a new one.
    QCOMPARE(cache.load(folder.path(name)).picture.cacheKey(), first.picture.cacheKey());

    folder.writePicture(name, solidPicture(5, 4, 0x00FF0000));  // replaced: another size
    const PictureLoad replaced = cache.load(folder.path(name));
    QCOMPARE(replaced.picture.size(), QSize(5, 4));
    QCOMPARE(colourAt(replaced.picture, 0, 0), Colour(0x00FF0000));

    // Replaced again by a file of the same length within the same second: where the file system
    // keeps whole seconds, or the write falls in the same clock tick, the time says nothing.
    const QDateTime second = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    setModified(folder.path(name), second);
    const qint64 length = QFileInfo(folder.path(name)).size();
    QCOMPARE(colourAt(cache.load(folder.path(name)).picture, 0, 0), Colour(0x00FF0000));
    folder.writePicture(name, solidPicture(5, 4, 0x0000FF00));
    setModified(folder.path(name), second);
    QCOMPARE(QFileInfo(folder.path(name)).size(), length);
    QCOMPARE(QFileInfo(folder.path(name)).lastModified(), second);
    const PictureLoad sameSize = cache.load(folder.path(name));
    QCOMPARE(colourAt(sameSize.picture, 0, 0), Colour(0x0000FF00));

    QFile::remove(folder.path(name));
    const PictureLoad gone = cache.load(folder.path(name));
    QCOMPARE(gone.fault, PictureFault::Missing);
}

void PicturesTest::cacheKnowsASettledFileByItsIdentity() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    const QString path = folder.path(QStringLiteral("\\vexasinmo.jpg"));
    folder.writePicture(QStringLiteral("\\vexasinmo.jpg"), solidPicture(4, 4, 0x000000FF), "bmp");
    PictureCache cache(24, 0);  // every file counts as settled at once
    const PictureLoad first = cache.load(path);
    QCOMPARE(cache.filesRead(), std::size_t(1));
    // Unchanged: answered from its identity, the file not read again.
    QCOMPARE(cache.load(path).picture.cacheKey(), first.picture.cacheKey());
    QCOMPARE(cache.filesRead(), std::size_t(1));
    // Replaced by a file of the same size and time (a copy that keeps times): another inode.
    folder.writePicture(QStringLiteral("\\otra.jpg"), solidPicture(4, 4, 0x00FF0000), "bmp");
    setModified(folder.path(QStringLiteral("\\otra.jpg")), QFileInfo(path).lastModified());
    QVERIFY(::rename(QFile::encodeName(folder.path(QStringLiteral("\\otra.jpg"))),
                     QFile::encodeName(path)) == 0);
    QCOMPARE(colourAt(cache.load(path).picture, 0, 0), Colour(0x00FF0000));
    QCOMPARE(cache.filesRead(), std::size_t(2));
}

QTEST_GUILESS_MAIN(PicturesTest)
#include "tst_pictures.moc"
