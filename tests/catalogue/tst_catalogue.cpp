#include <QtTest>

#include "catalogue/catalogue.h"
#include "image_compare.h"
#include "main_window/program_database.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;
using crinova::test::TestProgramFolder;

namespace {

// A catalogue of `matching` styles "m0", "m1", ... for mujer/largo/liso/dorado, each thumbnail
// coloured by its row number, plus rows of other kinds.
struct Catalogue {
    TestProgramFolder folder{TestProgramFolder::Empty};
    Database database;
    PictureCache pictures;
    CatalogueState state;
    std::array<Colour, 6> shown{};  // the colour each thumbnail shows (kNothing: untouched)
    std::array<int, 6> showCount{};

    static constexpr Colour kNothing = 0x00FFFFFF;
    static constexpr Colour kEmpty = 0x00EEEEEE;  // shown with no picture

    explicit Catalogue(int matching) {
        openProgramDatabase(database, folder.folder(), nullptr);
        database.Execute(QStringLiteral("BEGIN"));
        for (int row = 0; row < matching; ++row) {
            addRow(QStringLiteral("m%1").arg(row), QStringLiteral("dorado"));
            folder.writePicture(QStringLiteral("\\fotos\\visualizacion\\largo\\m%1.jpg").arg(row),
                                solidPicture(4, 4, Colour(row + 1)));
        }
        addRow(QStringLiteral("rojo1"), QStringLiteral("rojo"));
        database.Execute(
            QStringLiteral("INSERT INTO cabellos VALUES ('hombre', 'largo', 'liso', "
                           "'dorado', 'h1')"));
        database.Execute(QStringLiteral("COMMIT"));
        state.filters = {QStringLiteral("mujer"), QStringLiteral("largo"), QStringLiteral("liso"),
                         QStringLiteral("dorado")};
        shown.fill(kNothing);
    }
    void addRow(const QString& nombre, const QString& colour) {
        database.Execute(QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'largo', 'liso', ?, "
                                        "?)"),
                         {colour, nombre});
    }
    PageOutcome page(int index, bool firstLoad = false) {
        QString error;
        return btnpelos_Click(
            index, state, database, folder.folder(), pictures,
            [this](int thumbnail, const QImage& picture) {
                const auto slot = static_cast<std::size_t>(thumbnail);
                shown[slot] = picture.isNull() ? kEmpty : colourAt(picture, 0, 0) - 1;
                ++showCount[slot];
            },
            &error, firstLoad);
    }
    QList<Colour> rowsShown() const { return QList<Colour>(shown.begin(), shown.end()); }
};

constexpr Colour N = Catalogue::kNothing;

}  // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
  private slots:
    void queryTexts_data();
    void queryTexts();
    void pagingOverFourteenRows();
    void exactlySixRows();
    void nothingBeforeTheFirstPage();
    void noMatchingRowKeepsTheThumbnails();
    void missingTableIsAnError();
    void unsafeNamesAreNeverOpened();
    void unreadableThumbnailShowsTheHairPicture();
    void moreRowsThanTheCountersHold();
};

void CatalogueTest::queryTexts_data() {
    QTest::addColumn<CatalogueFilters>("filters");
    QTest::addColumn<QString>("consulta");
    QTest::newRow("todos drops the colour") << CatalogueFilters{"mujer", "corto", "liso", "todos"}
                                            << "Select * from cabellos Where tpersona='mujer' and "
                                               "largura='corto' and tipo='liso'";
    QTest::newRow("a colour") << CatalogueFilters{"hombre", "largo", "rizado", "Negro"}
                              << "Select * from cabellos Where tpersona='hombre' and "
                                 "largura='largo' and tipo='rizado' and color='Negro'";
    QTest::newRow("an empty colour is a condition")
        << CatalogueFilters{"niño", "medmelena", "mechas", ""}
        << "Select * from cabellos Where tpersona='niño' and largura='medmelena' and "
           "tipo='mechas' and color=''";
    QTest::newRow("Todos with a capital is a colour")
        << CatalogueFilters{"", "corto", "liso", "Todos"}
        << "Select * from cabellos Where tpersona='' and largura='corto' and tipo='liso' and "
           "color='Todos'";
}

void CatalogueTest::queryTexts() {
    QFETCH(CatalogueFilters, filters);
    QFETCH(QString, consulta);
    CatalogueState state;
    state.filters = filters;
    ConsultaCabellos(state);
    QCOMPARE(state.consulta, consulta);
    const BoundQuery bound = boundCatalogueQuery(filters);
    QCOMPARE(bound.values.size(), filters.filtrocolor == QLatin1String("todos") ? 3 : 4);
    QVERIFY(!bound.sql.contains(QLatin1Char('\'')));
}

void CatalogueTest::pagingOverFourteenRows() {
    Catalogue catalogue(14);
    QCOMPARE(catalogue.page(0, true), PageOutcome::Loaded);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(catalogue.state.totalcabellos, 14);
    QCOMPARE(catalogue.state.siguientepagina, 6);
    QCOMPARE(catalogue.state.nmuestras, 6);
    QCOMPARE(catalogue.state.rutapelo[2], QStringLiteral("\\fotos\\largo\\m2.jpg"));
    QCOMPARE(catalogue.state.rutamascara[2], QStringLiteral("\\fotos\\largo\\m2m.jpg"));
    QVERIFY(catalogue.state.consulta.endsWith(QStringLiteral("and color='dorado'")));

    QCOMPARE(catalogue.page(1), PageOutcome::Loaded);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{6, 7, 8, 9, 10, 11}));
    QCOMPARE(catalogue.state.siguientepagina, 12);

    QCOMPARE(catalogue.page(1), PageOutcome::Loaded);  // two rows: thumbnails 2 to 5 keep theirs
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{12, 13, 8, 9, 10, 11}));
    QCOMPARE(catalogue.state.siguientepagina, 14);
    QCOMPARE(catalogue.state.nmuestras, 2);
    QCOMPARE(catalogue.state.rutapelo[3], QStringLiteral("\\fotos\\largo\\m9.jpg"));

    const std::array<int, 6> before = catalogue.showCount;
    QCOMPARE(catalogue.page(1), PageOutcome::LastPage);
    QVERIFY(catalogue.showCount == before);

    QCOMPARE(catalogue.page(0), PageOutcome::Loaded);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{0, 1, 2, 3, 4, 5}));
}

void CatalogueTest::exactlySixRows() {
    Catalogue catalogue(6);
    QCOMPARE(catalogue.page(0, true), PageOutcome::Loaded);
    QCOMPARE(catalogue.page(1), PageOutcome::LastPage);
    QCOMPARE(catalogue.state.siguientepagina, 6);
}

void CatalogueTest::nothingBeforeTheFirstPage() {
    Catalogue catalogue(3);
    QCOMPARE(catalogue.page(0), PageOutcome::Ignored);
    QCOMPARE(catalogue.page(1), PageOutcome::Ignored);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{N, N, N, N, N, N}));
    QVERIFY(catalogue.state.consulta.isEmpty());
}

void CatalogueTest::noMatchingRowKeepsTheThumbnails() {
    Catalogue catalogue(8);
    catalogue.page(0, true);
    catalogue.state.filters.filtrocolor = QStringLiteral("fantasia");
    QCOMPARE(catalogue.page(0), PageOutcome::NoRows);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{0, 1, 2, 3, 4, 5}));
    catalogue.state.filters.filtrocolor = QStringLiteral("todos");  // 8 + "rojo1"
    QCOMPARE(catalogue.page(0), PageOutcome::Loaded);
    QCOMPARE(catalogue.state.totalcabellos, 9);
}

void CatalogueTest::missingTableIsAnError() {
    Catalogue catalogue(3);
    QVERIFY(catalogue.database.Execute(QStringLiteral("DROP TABLE cabellos")));
    QString error;
    const PageOutcome outcome = btnpelos_Click(
        0, catalogue.state, catalogue.database, catalogue.folder.folder(), catalogue.pictures,
        [](int, const QImage&) {}, &error, true);
    QCOMPARE(outcome, PageOutcome::Failed);
    QVERIFY(!error.isEmpty());
}

void CatalogueTest::unsafeNamesAreNeverOpened() {
    Catalogue catalogue(1);
    // A picture outside the catalogue that a crafted name would reach.
    catalogue.folder.writePicture(QStringLiteral("\\secreto.jpg"), solidPicture(4, 4, 0x00000063));
    for (const char* name : {"../../secreto", "..\\..\\secreto", "a/b", "'; DROP TABLE x; --"}) {
        catalogue.addRow(QString::fromUtf8(name), QStringLiteral("dorado"));
    }
    QCOMPARE(catalogue.page(0, true), PageOutcome::Loaded);
    QCOMPARE(catalogue.state.nmuestras, 5);
    for (std::size_t slot = 1; slot < 4; ++slot) {
        QCOMPARE(catalogue.shown[slot], Catalogue::kEmpty);
        QVERIFY(catalogue.state.rutapelo[slot].isEmpty());
    }
    // A quote is harmless: the name stays inside its folder (its file just does not exist).
    QCOMPARE(catalogue.state.rutapelo[4],
             QStringLiteral("\\fotos\\largo\\'; DROP TABLE x; --.jpg"));
    QVERIFY(isSafeCatalogueName(QStringLiteral("l01")));
    QVERIFY(!isSafeCatalogueName(QStringLiteral("..")));
    QVERIFY(!isSafeCatalogueName(QString()));
}

void CatalogueTest::moreRowsThanTheCountersHold() {
    Catalogue catalogue(0);
    catalogue.database.Execute(QStringLiteral("BEGIN"));
    for (int row = 0; row < 32768; ++row) {
        catalogue.addRow(QStringLiteral("x%1").arg(row), QStringLiteral("dorado"));
    }
    catalogue.database.Execute(QStringLiteral("COMMIT"));
    QCOMPARE(catalogue.page(0, true), PageOutcome::TooMany);
    QCOMPARE(catalogue.state.nmuestras, 0);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{N, N, N, N, N, N}));
}

void CatalogueTest::unreadableThumbnailShowsTheHairPicture() {
    Catalogue catalogue(4);
    const auto thumbnail = [](int row) {
        return QStringLiteral("\\fotos\\visualizacion\\largo\\m%1.jpg").arg(row);
    };
    const auto hair = [](int row) { return QStringLiteral("\\fotos\\largo\\m%1.jpg").arg(row); };
    // m0: a damaged thumbnail; m1: none at all; m2: neither thumbnail nor hair readable; m3: sound.
    catalogue.folder.writeBytes(thumbnail(0), "\xff\xd8\xff\xe0 roto");
    catalogue.folder.writePicture(hair(0), solidPicture(4, 4, 0x41));
    QVERIFY(QFile::remove(catalogue.folder.path(thumbnail(1))));
    catalogue.folder.writePicture(hair(1), solidPicture(4, 4, 0x42));
    catalogue.folder.writeBytes(thumbnail(2), "roto");
    catalogue.folder.writeBytes(hair(2), "roto");
    catalogue.folder.writePicture(hair(3), solidPicture(4, 4, 0x44));
    QCOMPARE(catalogue.page(0, true), PageOutcome::Loaded);
    // A thumbnail shows its own picture when it can (row 3: colour 4), else the style's hair.
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{0x40, 0x41, Catalogue::kEmpty, 3, N, N}));
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(catalogue.state.rutapelo[static_cast<std::size_t>(row)], hair(row));
    }
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
