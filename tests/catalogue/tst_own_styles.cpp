#include <QtTest>

#include "catalogue/own_styles.h"
#include "platform/pictures.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "read_only_folder.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::ReadOnlyFolder;
using crinova::test::TestProgramFolder;

namespace {

// An alpha that runs 0 .. 255 across the frame, strands of one colour.
StylePictures rampPictures() {
    QImage alpha(kStyleSize, QImage::Format_Grayscale8);
    for (int y = 0; y < alpha.height(); ++y) {
        for (int x = 0; x < alpha.width(); ++x) {
            alpha.scanLine(y)[x] = uchar((x + y) % 256);
        }
    }
    QImage colour(kStyleSize, QImage::Format_RGB32);
    colour.fill(qRgb(0x6a, 0x40, 0x24));
    return stylePictures(colour, alpha);
}

StyleSource source(const QString& nombre) {
    StyleSource source;
    source.row = StyleRow{QStringLiteral("mujer"), QStringLiteral("corto"), QStringLiteral("liso"),
                          QStringLiteral("dorado"), nombre};
    source.photo = "photo bytes";
    source.suffix = QStringLiteral("jpg");
    source.eyes = EyePair{QPointF(203.5, 99), QPointF(247, 101.5)};
    source.strokes = {Stroke{false, 8, {{10, 20}, {30, 40}}}};
    return source;
}

int rows(Database& database, const QString& nombre) {
    return database.OpenRecordset(QStringLiteral("Select * from cabellos where nombre=?"), {nombre})
        .RecordCount();
}

}  // namespace

class TestOwnStyles : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void picturesKeepTheExactComposition();
    void names_data();
    void names();
    void savedAsOneUnit_data();
    void savedAsOneUnit();
    void reopenedReplacedAndRemoved();

  private:
    std::unique_ptr<TestProgramFolder> folder_;
    std::unique_ptr<Database> database_;
};

void TestOwnStyles::init() {
    database_.reset();
    folder_ = std::make_unique<TestProgramFolder>(TestProgramFolder::Samples);
    database_ = std::make_unique<Database>();
    QVERIFY(openProgramDatabase(*database_, folder_->folder(), nullptr));
}

void TestOwnStyles::picturesKeepTheExactComposition() {
    const StylePictures pictures = rampPictures();
    QString error;
    QVERIFY2(saveOwnStyle(*database_, folder_->folder(), pictures, source("rampa"), false, &error),
             qPrintable(error));
    // As written and read back: the mask pure black exactly where the alpha is at least 128,
    // pure white elsewhere; the hair pure black wherever the mask is white.
    const PictureLoad hair = loadPicture(folder_->path(catalogueHairPath("corto", "rampa")));
    const PictureLoad mask = loadPicture(folder_->path(catalogueMaskPath("corto", "rampa")));
    const QImage alpha(folder_->path(catalogueAlphaPath("corto", "rampa")));
    QVERIFY(hair.ok() && mask.ok());
    QCOMPARE(alpha.format(), QImage::Format_Grayscale8);
    QCOMPARE(alpha, pictures.alpha);
    for (int y = 0; y < kStyleSize.height(); ++y) {
        for (int x = 0; x < kStyleSize.width(); ++x) {
            const bool covered = (x + y) % 256 >= 128;
            const QRgb m = mask.picture.pixel(x, y) & 0xffffff;
            const QRgb h = hair.picture.pixel(x, y) & 0xffffff;
            QCOMPARE(m, covered ? 0x000000u : 0xffffffu);
            QCOMPARE(h, covered ? 0x6a4024u : 0x000000u);
        }
    }
    QCOMPARE(QImage(folder_->path(catalogueThumbnailPath("corto", "rampa"))).size(),
             kStyleSize / 2);
}

void TestOwnStyles::names_data() {
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<NameRefusal>("refusal");
    QTest::newRow("letters, digits, - and _")
        << QString::fromUtf8("Melena_ñ-2") << NameRefusal::None;
    QTest::newRow("empty") << QString() << NameRefusal::Empty;
    QTest::newRow("a space") << QStringLiteral("corto liso") << NameRefusal::Characters;
    QTest::newRow("a folder in it") << QStringLiteral("../fuera") << NameRefusal::Characters;
    QTest::newRow("too long") << QString(kLongestStyleName + 1, QLatin1Char('a'))
                              << NameRefusal::TooLong;
    QTest::newRow("its row exists") << QStringLiteral("fila") << NameRefusal::Used;
    QTest::newRow("its picture exists") << QStringLiteral("dibujo") << NameRefusal::Used;
    QTest::newRow("the mask of another") << QStringLiteral("dibujom") << NameRefusal::Used;
}

void TestOwnStyles::names() {
    QFETCH(QString, nombre);
    QFETCH(NameRefusal, refusal);
    QVERIFY(
        database_->Execute(QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'corto', "
                                          "'liso', 'rojo', 'fila')")));
    folder_->writeBytes(catalogueHairPath("corto", "dibujo"), "x");
    QCOMPARE(checkStyleName(nombre, QStringLiteral("corto"), folder_->folder(), *database_),
             refusal);
    // Another length folder is another catalogue.
    if (refusal == NameRefusal::Used) {
        QCOMPARE(checkStyleName(nombre, QStringLiteral("largo"), folder_->folder(), *database_),
                 NameRefusal::None);
        QCOMPARE(proposeStyleName(QStringLiteral("/fotos/") + nombre + QStringLiteral(".jpg"),
                                  QStringLiteral("corto"), folder_->folder(), *database_),
                 nombre + QStringLiteral("-2"));
    }
}

void TestOwnStyles::savedAsOneUnit_data() {
    QTest::addColumn<int>("blocked");  // the file whose temporary name a folder takes, or:
    QTest::newRow("saved") << -1;
    const QStringList names{"hair picture", "mask", "alpha", "thumbnail", "photo", "strokes"};
    for (int i = 0; i < names.size(); ++i) {
        QTest::addRow("%s cannot be written", qPrintable(names[i])) << i;
    }
    QTest::newRow("the row is refused") << 10;
    QTest::newRow("a folder where the thumbnail goes") << 11;
    QTest::newRow("a read-only catalogue folder") << 12;
}

void TestOwnStyles::savedAsOneUnit() {
    QFETCH(int, blocked);
    const QStringList files = styleFiles("corto", "nuevo", "jpg");
    QCOMPARE(files.size(), 6);
    std::unique_ptr<ReadOnlyFolder> readOnly;
    if (blocked >= 0 && blocked < files.size()) {
        folder_->writeBytes(files[blocked] + QStringLiteral(".nuevo\\x"), "in the way");
    } else if (blocked == 10) {
        QVERIFY(database_->Execute(QStringLiteral("DROP TABLE cabellos")));
    } else if (blocked == 11) {
        folder_->writeBytes(files[3] + QStringLiteral("\\x"), "in the way");
    } else if (blocked == 12) {
        QVERIFY(QDir().mkpath(folder_->path("\\fotos\\corto")));
        readOnly = std::make_unique<ReadOnlyFolder>(folder_->path("\\fotos\\corto"));
    }
    QString error;
    const bool saved =
        saveOwnStyle(*database_, folder_->folder(), rampPictures(), source("nuevo"), false, &error);
    readOnly.reset();
    QCOMPARE(saved, blocked < 0);
    if (saved) {
        QCOMPARE(rows(*database_, "nuevo"), 1);
    } else {
        QVERIFY2(error.startsWith(QString::fromUtf8("No se ha guardado el cabello «nuevo»")),
                 qPrintable(error));
        QVERIFY(blocked == 10 || rows(*database_, "nuevo") == 0);
    }
    for (const QString& file : files) {
        QCOMPARE(QFileInfo(folder_->path(file)).isFile(), saved);
        QVERIFY(!QFileInfo(folder_->path(file + QStringLiteral(".nuevo"))).isFile());
    }
}

void TestOwnStyles::reopenedReplacedAndRemoved() {
    StyleSource first = source("propio");
    QVERIFY(saveOwnStyle(*database_, folder_->folder(), rampPictures(), first, false, nullptr));
    const QString photo = folder_->path("\\fotos\\originales\\corto\\propio.jpg");
    std::optional<StyleSource> kept = readStyleSource(folder_->folder(), photo, *database_);
    QVERIFY(kept.has_value());
    QCOMPARE(kept->row.tipo, QStringLiteral("liso"));
    QCOMPARE(kept->eyes.left, first.eyes.left);
    QVERIFY(kept->strokes == first.strokes);
    QVERIFY(
        !readStyleSource(folder_->folder(), folder_->path("\\clientes\\cliente1.jpg"), *database_));

    kept->row.tipo = QStringLiteral("rizado");
    kept->suffix = QStringLiteral("png");
    kept->photo = "another photo";
    QString error;
    QVERIFY2(saveOwnStyle(*database_, folder_->folder(), rampPictures(), *kept, true, &error),
             qPrintable(error));
    QCOMPARE(rows(*database_, "propio"), 1);
    QCOMPARE(
        database_->OpenRecordset("Select tipo from cabellos where nombre='propio'").Fields("tipo"),
        QStringLiteral("rizado"));
    QVERIFY(!QFileInfo::exists(photo));  // the photograph is kept once, as the latest
    QVERIFY(isOwnStyle(folder_->folder(), "corto", "propio"));

    QVERIFY(removeOwnStyleFiles(folder_->folder(), "corto", "propio", nullptr));
    for (const QString& file : styleFiles("corto", "propio", "png")) {
        QVERIFY2(!QFileInfo::exists(folder_->path(file)), qPrintable(file));
    }
    QVERIFY(!isOwnStyle(folder_->folder(), "corto", "propio"));
}

QTEST_MAIN(TestOwnStyles)
#include "tst_own_styles.moc"
