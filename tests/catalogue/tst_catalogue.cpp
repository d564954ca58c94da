#include <QtTest>

#include "catalogue/catalogue.h"
#include "image_compare.h"
#include "program/program_database.h"
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
        database.transaction([&](QString*) {
            for (int row = 0; row < matching; ++row) {
                addRow(QStringLiteral("m%1").arg(row), QStringLiteral("dorado"));
                folder.writePicture(
                    QStringLiteral("\\fotos\\visualizacion\\largo\\m%1.jpg").arg(row),
                    solidPicture(4, 4, Colour(row + 1)));
            }
            addRow(QStringLiteral("rojo1"), QStringLiteral("rojo"));
            database.Execute(
                QStringLiteral("INSERT INTO cabellos VALUES ('hombre', 'largo', 'liso', "
                               "'dorado', 'h1')"));
            return true;
        });
        state.filters = {QStringLiteral("mujer"), QStringLiteral("largo"), QStringLiteral("liso"),
                         QStringLiteral("dorado")};
        shown.fill(kNothing);
    }
    void addRow(const QString& nombre, const QString& colour) {
        database.Execute(QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'largo', 'liso', ?, "
                                        "?)"),
                         {colour, nombre});
    }
    void show(int thumbnail, const QImage& picture) {
        const auto slot = static_cast<std::size_t>(thumbnail);
        shown[slot] = picture.isNull() ? kEmpty : colourAt(picture, 0, 0) - 1;
        ++showCount[slot];
    }
    PageOutcome page(int index, bool firstLoad = false) {
        QString error;
        return loadCataloguePage(
            index, state, database, folder.folder(), pictures,
            [this](int thumbnail, const QImage& picture) { show(thumbnail, picture); }, &error,
            firstLoad);
    }
    PageOutcome reload(const QString& removed) {
        QString error;
        return reloadCataloguePage(
            state, removed, database, folder.folder(), pictures,
            [this](int thumbnail, const QImage& picture) { show(thumbnail, picture); }, &error);
    }
    void remove(const QString& nombre) {
        database.Execute(QStringLiteral("DELETE FROM cabellos WHERE nombre=?"), {nombre});
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
    void neverChosenFilterMatchesAnEmptyColumn();
    void pagingOverFourteenRowsAndReloadAfterARemoval();
    void exactlySixRowsAndNothingBeforeTheFirstPage();
    void noMatchingRowKeepsTheThumbnails();
    void missingTableIsAnError();
    void unsafeNamesAreNeverOpened();
    void unreadableThumbnailShowsTheHairPicture();
    void moreRowsThanTheCountersHold();
    void reloadAfterTheLastStyleWent();
};

void CatalogueTest::queryTexts_data() {
    QTest::addColumn<CatalogueFilters>("filters");
    QTest::addColumn<QString>("consulta");
    QTest::addColumn<QString>("bound");
    QTest::addColumn<QStringList>("values");
    const QString three =
        QStringLiteral("Select * from cabellos Where tpersona=? and largura=? and tipo=?");
    const QString four = three + QStringLiteral(" and color=?");
    QTest::newRow("todos drops the colour")
        << CatalogueFilters{"mujer", "corto", "liso", "todos"}
        << "Select * from cabellos Where tpersona='mujer' and largura='corto' and tipo='liso'"
        << three << QStringList{"mujer", "corto", "liso"};
    QTest::newRow("a colour") << CatalogueFilters{"hombre", "largo", "rizado", "Negro"}
                              << "Select * from cabellos Where tpersona='hombre' and "
                                 "largura='largo' and tipo='rizado' and color='Negro'"
                              << four << QStringList{"hombre", "largo", "rizado", "Negro"};
    QTest::newRow("an empty colour is a condition")
        << CatalogueFilters{"niño", "medmelena", "mechas", ""}
        << "Select * from cabellos Where tpersona='niño' and largura='medmelena' and "
           "tipo='mechas' and color=''"
        << four << QStringList{"niño", "medmelena", "mechas", ""};
    QTest::newRow("Todos with a capital is a colour")
        << CatalogueFilters{"", "corto", "liso", "Todos"}
        << "Select * from cabellos Where tpersona='' and largura='corto' and tipo='liso' and "
           "color='Todos'"
        << four << QStringList{"", "corto", "liso", "Todos"};
    QTest::newRow("filters never chosen")
        << CatalogueFilters{}
        << "Select * from cabellos Where tpersona='' and largura='' and tipo='' and color=''"
        << four << QStringList{"", "", "", ""};
}

void CatalogueTest::queryTexts() {
    QFETCH(CatalogueFilters, filters);
    QFETCH(QString, consulta);
    QFETCH(QString, bound);
    QFETCH(QStringList, values);
    CatalogueState state;
    state.filters = filters;
    ConsultaCabellos(state);
    QCOMPARE(state.consulta, consulta);
    const BoundQuery query = boundCatalogueQuery(filters);
    QCOMPARE(query.sql, bound);
    QStringList boundValues;
    for (const QVariant& value : query.values) {
        // An empty filter is an empty text, never a NULL that matches nothing.
        QVERIFY(!value.isNull());
        boundValues << value.toString();
    }
    QCOMPARE(boundValues, values);
}

void CatalogueTest::neverChosenFilterMatchesAnEmptyColumn() {
    Catalogue catalogue(0);
    QVERIFY(catalogue.database.Execute(
        QStringLiteral("INSERT INTO cabellos VALUES ('', 'largo', 'liso', 'dorado', 'vacio')")));
    catalogue.folder.writePicture(QStringLiteral("\\fotos\\visualizacion\\largo\\vacio.jpg"),
                                  solidPicture(4, 4, Colour(8)));
    catalogue.state.filters.filtropersona = QString();  // never chosen
    QCOMPARE(catalogue.page(0, true), PageOutcome::Loaded);
    QCOMPARE(catalogue.state.totalcabellos, 1);
    QCOMPARE(catalogue.shown[0], Colour(7));
    QCOMPARE(catalogue.state.rutapelo[0], QStringLiteral("\\fotos\\largo\\vacio.jpg"));
}

void CatalogueTest::pagingOverFourteenRowsAndReloadAfterARemoval() {
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

    catalogue.page(1);  // rows 6 to 11
    catalogue.remove(QStringLiteral("m8"));
    QCOMPARE(catalogue.reload(QStringLiteral("\\fotos\\largo\\m8.jpg")), PageOutcome::Loaded);
    // The same page without it: the rows after it move up, none is skipped.
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{6, 7, 9, 10, 11, 12}));
    QCOMPARE(catalogue.state.rutapelo[2], QStringLiteral("\\fotos\\largo\\m9.jpg"));
    QCOMPARE(catalogue.state.totalcabellos, 13);
    QCOMPARE(catalogue.state.iniciopagina, 6);
    QCOMPARE(catalogue.state.siguientepagina, 12);
    QCOMPARE(catalogue.page(1), PageOutcome::Loaded);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{13, 7, 9, 10, 11, 12}));

    // The only style of the last page goes: the page before it comes back.
    catalogue.remove(QStringLiteral("m13"));
    QCOMPARE(catalogue.reload(QStringLiteral("\\fotos\\largo\\m13.jpg")), PageOutcome::Loaded);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{6, 7, 9, 10, 11, 12}));
    QCOMPARE(catalogue.state.iniciopagina, 6);
    QCOMPARE(catalogue.state.nmuestras, 6);
    for (const QString& route : catalogue.state.rutapelo) {
        QVERIFY(!route.contains(QStringLiteral("m13")));
    }
}

void CatalogueTest::exactlySixRowsAndNothingBeforeTheFirstPage() {
    Catalogue catalogue(6);
    QCOMPARE(catalogue.page(0), PageOutcome::Ignored);
    QCOMPARE(catalogue.page(1), PageOutcome::Ignored);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{N, N, N, N, N, N}));
    QVERIFY(catalogue.state.consulta.isEmpty());
    QCOMPARE(catalogue.page(0, true), PageOutcome::Loaded);
    QCOMPARE(catalogue.page(1), PageOutcome::LastPage);
    QCOMPARE(catalogue.state.siguientepagina, 6);
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
    const PageOutcome outcome = loadCataloguePage(
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
    catalogue.database.transaction([&](QString*) {
        for (int row = 0; row < 32768; ++row) {
            catalogue.addRow(QStringLiteral("x%1").arg(row), QStringLiteral("dorado"));
        }
        return true;
    });
    QCOMPARE(catalogue.page(0, true), PageOutcome::TooMany);
    QCOMPARE(catalogue.state.nmuestras, 0);
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{N, N, N, N, N, N}));
}

void CatalogueTest::reloadAfterTheLastStyleWent() {
    Catalogue catalogue(2);
    catalogue.page(0, true);  // thumbnails 0 and 1 show m0 and m1
    catalogue.remove(QStringLiteral("m1"));
    QCOMPARE(catalogue.reload(QStringLiteral("\\fotos\\largo\\m1.jpg")), PageOutcome::Loaded);
    // The page holds one style now; the thumbnail that showed the removed one is emptied.
    QCOMPARE(catalogue.rowsShown(), (QList<Colour>{0, Catalogue::kEmpty, N, N, N, N}));
    QVERIFY(catalogue.state.rutapelo[1].isEmpty());
    QCOMPARE(catalogue.state.nmuestras, 1);

    catalogue.remove(QStringLiteral("m0"));
    QCOMPARE(catalogue.reload(QStringLiteral("\\fotos\\largo\\m0.jpg")), PageOutcome::NoRows);
    QCOMPARE(catalogue.rowsShown(),
             (QList<Colour>{Catalogue::kEmpty, Catalogue::kEmpty, N, N, N, N}));
    QVERIFY(catalogue.state.rutapelo[0].isEmpty());
    QCOMPARE(catalogue.state.nmuestras, 0);  // no page: the page buttons do nothing
    QCOMPARE(catalogue.page(1), PageOutcome::Ignored);
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
