#include <QtTest>

#include <QAction>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/raster.h"
#include "platform/text_colour.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::solidPicture;
using Window = crinova::test::PrincipalWindow;

namespace {

constexpr Colour kStyleHair = 0x0000C0FF;

// A main window whose catalogue holds three short curly red styles for women, "r0" to "r2"; the
// hair of "r1" is a block of kStyleHair in the top-left quarter.
struct CatalogueWindow : Window {
    bool open() {
        if (!load()) {
            return false;
        }
        database.Execute(QStringLiteral("DELETE FROM cabellos"));
        for (int row = 0; row < 3; ++row) {
            database.Execute(QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'corto', "
                                            "'rizado', 'rojo', ?)"),
                             {QStringLiteral("r%1").arg(row)});
            folder.writePicture(QStringLiteral("\\fotos\\visualizacion\\corto\\r%1.jpg").arg(row),
                                solidPicture(15, 16, Colour(0x10 * (row + 1))));
        }
        QImage hair = solidPicture(300, 320, kBlack);
        QImage mask = solidPicture(300, 320, kWhite);
        for (int y = 0; y < 160; ++y) {
            for (int x = 0; x < 150; ++x) {
                hair.setPixel(x, y, toPixel(kStyleHair));
                mask.setPixel(x, y, toPixel(kBlack));
            }
        }
        folder.writePicture(QStringLiteral("\\fotos\\corto\\r1.jpg"), hair);
        folder.writePicture(QStringLiteral("\\fotos\\corto\\r1m.jpg"), mask);
        PrincipalProbe::catalogue(*principal).mnubuscarcabello_Click();
        return dialog() != nullptr;
    }
    Tipocabello* dialog() const { return PrincipalProbe::catalogue(*principal).tipocabello(); }
    void click(const char* name) const {
        QTest::mouseClick(dialog()->findChild<QWidget*>(QString::fromUtf8(name)), Qt::LeftButton);
    }
    void chooseShortCurlyRed() const {
        for (const char* name : {"opmujer", "cabellocorto", "cabelloescalado", "colorpelirrojo"}) {
            click(name);
        }
    }
};

// The hair-type dialog over a stand-in for the main window: it keeps the filters, records each
// first-page load with the filters of that moment and answers whether a page was found.
struct FakeCatalogueHost : QObject, CatalogueHost {
    QWidget mainWindow;
    CatalogueFilters filters;
    bool pageFound = true;
    std::vector<CatalogueFilters> loads;
    int closings = 0;
    QPointer<Tipocabello> window;

    bool loadFirstCataloguePage() override {
        loads.push_back(filters);
        return pageFound;
    }
    // Opens the dialog the way the main window does: made on first use, released on close.
    Tipocabello* open() {
        showModeless(modelessWindow(
            window, [this] { return new Tipocabello(filters, *this, &mainWindow); }, this,
            [this] { ++closings; }));
        return window;
    }
    void click(const char* name) const {
        QTest::mouseClick(window->findChild<QWidget*>(QString::fromUtf8(name)), Qt::LeftButton);
    }
    QRadioButton* option(const char* name) const {
        return window->findChild<QRadioButton*>(QString::fromUtf8(name));
    }
};

bool sameFilters(const CatalogueFilters& a, const CatalogueFilters& b) {
    return a.filtropersona == b.filtropersona && a.filtrolargura == b.filtrolargura &&
           a.filtrotipo == b.filtrotipo && a.filtrocolor == b.filtrocolor;
}

}  // namespace

class TipocabelloTest : public QObject {
    Q_OBJECT
  private slots:
    void captionsOfTheDialog();
    void optionsWriteTheirWords_data();
    void optionsWriteTheirWords();
    void filtersOutliveTheDialog();
    void acceptAsksTheHostForTheFirstPage();
    void acceptLoadsTheFirstPageAndAThumbnailAppliesItsStyle();
    void closingWithOrWithoutAHair();
    void removingTheAppliedStyleFromTheCatalogue();
};

void TipocabelloTest::captionsOfTheDialog() {
    FakeCatalogueHost host;
    Tipocabello* dialog = host.open();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("SELECCIONE EL TIPO DE CABELLO"));
    const QList<QPair<QString, QString>> frames = {{"Frame4", "Seleccione el Tipo de Persona:"},
                                                   {"Frame3", "Largura del Cabello:"},
                                                   {"Frame1", "Tipo de Cabello:"},
                                                   {"Frame2", "Color del Cabello:"}};
    for (const auto& [name, caption] : frames) {
        QCOMPARE(dialog->findChild<QGroupBox*>(name)->title(), caption);
    }
    const QList<QPair<QString, QString>> captions = {{"opniño", "Niño/Niña"},
                                                     {"ophombre", "Hombre"},
                                                     {"opmujer", "Mujer"},
                                                     {"cabellolargo", "Largo"},
                                                     {"cabellomedia", "Media Melena"},
                                                     {"cabellocorto", "Corto"},
                                                     {"cabellomechas", "Mechas"},
                                                     {"cabellorecogido", "Recogidos"},
                                                     {"cabelloescalado", "Rizado"},
                                                     {"cabelloondulado", "Ondulado"},
                                                     {"cabelloliso", "Liso"},
                                                     {"optodos", "Todos"},
                                                     {"colorfantasia", "Fantasía"},
                                                     {"colorpelirrojo", "Rojo"},
                                                     {"colorrubio", "Dorado"},
                                                     {"colorcastaño", "Castaño"},
                                                     {"btnaceptar", "&Aceptar"},
                                                     {"btncancelar", "&Volver"}};
    for (const auto& [name, caption] : captions) {
        auto* control = dialog->findChild<QAbstractButton*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->text(), caption);
    }
    QVERIFY(!dialog->seleccionado());
}

void TipocabelloTest::optionsWriteTheirWords_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("word");
    // The words of the `cabellos` columns, not the captions.
    const char* const rows[][3] = {
        {"ophombre", "persona", "hombre"},
        {"opmujer", "persona", "mujer"},
        {"opniño", "persona", "niño"},
        {"cabellolargo", "largura", "largo"},
        {"cabellomedia", "largura", "medmelena"},
        {"cabellocorto", "largura", "corto"},
        {"cabelloliso", "tipo", "liso"},
        {"cabelloondulado", "tipo", "ondulado"},
        {"cabelloescalado", "tipo", "rizado"},
        {"cabellomechas", "tipo", "mechas"},
        {"cabellorecogido", "tipo", "recogidos"},
        {"colorcastaño", "color", "Negro"},
        {"colorrubio", "color", "dorado"},
        {"colorpelirrojo", "color", "rojo"},
        {"colorfantasia", "color", "fantasia"},
        {"optodos", "color", "todos"},
    };
    for (const auto& row : rows) {
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1])
                              << QString::fromUtf8(row[2]);
    }
}

void TipocabelloTest::optionsWriteTheirWords() {
    QFETCH(QString, option);
    QFETCH(QString, filter);
    QFETCH(QString, word);
    FakeCatalogueHost host;
    Tipocabello* dialog = host.open();
    QVERIFY(!dialog->seleccionado());
    QTest::mouseClick(dialog->findChild<QRadioButton*>(option), Qt::LeftButton);
    const CatalogueFilters& filters = host.filters;
    const QMap<QString, QString> written = {{"persona", filters.filtropersona},
                                            {"largura", filters.filtrolargura},
                                            {"tipo", filters.filtrotipo},
                                            {"color", filters.filtrocolor}};
    // The option's own filter takes its word; the other three stay empty.
    for (auto it = written.begin(); it != written.end(); ++it) {
        QCOMPARE(it.value(), it.key() == filter ? word : QString());
    }
    QVERIFY(dialog->seleccionado());
}

void TipocabelloTest::filtersOutliveTheDialog() {
    FakeCatalogueHost host;
    host.open();
    const CatalogueFilters& filters = host.filters;
    host.click("ophombre");
    host.click("opniño");  // the chosen person is marked in red
    QCOMPARE(filters.filtropersona, QStringLiteral("niño"));
    QVERIFY(isRed(host.option("opniño")));
    QVERIFY(!isRed(host.option("ophombre")));
    QVERIFY(!isRed(host.option("opmujer")));
    host.click("cabellolargo");
    QVERIFY(!isRed(host.option("cabellolargo")));
    host.click("colorrubio");
    host.click("optodos");
    QCOMPARE(filters.filtrocolor, QStringLiteral("todos"));
    host.click("opmujer");
    const QPointer<Tipocabello> closing = host.window;
    host.click("btncancelar");
    QVERIFY(closing && closing->isHidden());
    QCOMPARE(host.closings, 1);
    QVERIFY(host.loads.empty());                               // "&Volver" loads nothing
    QTRY_VERIFY(!closing);                                     // released
    QCOMPARE(filters.filtropersona, QStringLiteral("mujer"));  // kept after "&Volver"
    host.open();
    QVERIFY(!host.window->seleccionado());  // a fresh dialog
    QVERIFY(!host.option("opmujer")->isChecked());
    QCOMPARE(filters.filtropersona, QStringLiteral("mujer"));  // opening does not reset it
}

void TipocabelloTest::acceptAsksTheHostForTheFirstPage() {
    FakeCatalogueHost host;
    host.open();
    host.click("btnaceptar");  // nothing chosen: closes without asking
    QVERIFY(host.loads.empty());
    QCOMPARE(host.closings, 1);

    host.open();
    host.pageFound = false;
    for (const char* name : {"opmujer", "cabellocorto", "cabelloescalado", "colorrubio"}) {
        host.click(name);
    }
    host.click("btnaceptar");  // no page: the dialog stays for other filters
    QCOMPARE(host.loads.size(), std::size_t(1));
    QVERIFY(sameFilters(host.loads[0], {QStringLiteral("mujer"), QStringLiteral("corto"),
                                        QStringLiteral("rizado"), QStringLiteral("dorado")}));
    QVERIFY(host.window && host.window->isVisible());
    QCOMPARE(host.closings, 1);

    host.pageFound = true;
    host.click("colorpelirrojo");
    host.click("btnaceptar");  // a page: the dialog closes
    QCOMPARE(host.loads.size(), std::size_t(2));
    QCOMPARE(host.loads[1].filtrocolor, QStringLiteral("rojo"));
    QCOMPARE(host.closings, 2);
    QTRY_VERIFY(!host.window);
}

void TipocabelloTest::acceptLoadsTheFirstPageAndAThumbnailAppliesItsStyle() {
    CatalogueWindow window;
    QVERIFY(window.open());
    auto* next = window.find<ImageControl>(QStringLiteral("btnpelos_1"));
    QVERIFY(next->hasPicture());
    QTest::mouseClick(next, Qt::LeftButton);  // no page yet: nothing
    QVERIFY(PrincipalProbe::catalogue(*window.principal).state().consulta.isEmpty());
    // No matching style: the message, and the dialog stays.
    window.chooseShortCurlyRed();
    window.click("colorrubio");
    window.click("btnaceptar");
    QCOMPARE(window.dialogs.messages().size(), 1);
    QVERIFY(window.dialogs.messages().first().contains(QStringLiteral("No hay ningún cabello")));
    QVERIFY(window.dialog() && window.dialog()->isVisible());
    QCOMPARE(PrincipalProbe::catalogue(*window.principal).state().nmuestras, 0);

    window.click("colorpelirrojo");
    window.click("btnaceptar");
    QTRY_VERIFY(!window.dialog());
    QCOMPARE(PrincipalProbe::catalogue(*window.principal).state().nmuestras, 3);
    auto* second = window.find<ImageControl>(QStringLiteral("Muestrapelos_1"));
    QCOMPARE(test::colourAt(second->picture(), 0, 0), Colour(0x20));
    // Thumbnails 3 to 5 keep the installed samples.
    QVERIFY(window.find<ImageControl>(QStringLiteral("Muestrapelos_4"))->hasPicture());

    QTest::mouseClick(second, Qt::LeftButton);
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QCOMPARE(state.ficheropelo, QStringLiteral("\\fotos\\corto\\r1.jpg"));
    QCOMPARE(state.ficheromascara, QStringLiteral("\\fotos\\corto\\r1m.jpg"));
    QCOMPARE(GetPixel(PrincipalProbe::buffers(*window.principal).fprincipal, 10, 10), kStyleHair);
    const QImage photo = window.basePhoto();
    QCOMPARE(GetPixel(PrincipalProbe::buffers(*window.principal).fprincipal, 200, 250),
             test::colourAt(photo, 200, 250));
    // The installed sample files are untouched.
    QVERIFY(window.folder.exists(QStringLiteral("\\pelo2.jpg")));

    QVERIFY(PrincipalProbe::samples(*window.principal).muestraaplicada);
    QTest::mouseClick(window.find<ImageControl>(QStringLiteral("btnpelos_0")), Qt::LeftButton);
    QVERIFY(!PrincipalProbe::samples(*window.principal)
                 .muestraaplicada);           // the same index applies again
    QTest::mouseClick(next, Qt::LeftButton);  // three rows: no further page
    QCOMPARE(PrincipalProbe::catalogue(*window.principal).state().siguientepagina, 3);
    QCOMPARE(window.dialogs.asked.size(), std::size_t(1));
}

void TipocabelloTest::closingWithOrWithoutAHair() {
    CatalogueWindow window;
    QVERIFY(window.open());
    window.click("btnaceptar");  // nothing chosen: closes without loading
    QTRY_VERIFY(!window.dialog());
    QCOMPARE(PrincipalProbe::catalogue(*window.principal).state().nmuestras, 0);
    QVERIFY(!PrincipalProbe::overlay(*window.principal).redibujar);
    QVERIFY(!window.timer2().isActive());
    COMPARE_IMAGES(window.shown(), window.basePhoto());
    QVERIFY(window.dialogs.asked.empty());

    // With a hair applied, closing recomposes and empties the views.
    PrincipalProbe::catalogue(*window.principal).mnubuscarcabello_Click();
    window.principal->Muestrapelos_Click(0);  // sample 1 has both views
    QVERIFY(!PrincipalProbe::viewStores(*window.principal).fotolateral.isNull());
    window.dialog()->close();
    QVERIFY(PrincipalProbe::viewStores(*window.principal).fotolateral.isNull());
    QVERIFY(PrincipalProbe::viewStores(*window.principal).fotoinicio.isNull());
    QVERIFY(PrincipalProbe::overlay(*window.principal).redibujar);
    COMPARE_IMAGES(window.shown(), window.basePhoto());  // cleared until the redraw
    QVERIFY(window.timer2().isActive());
}

void TipocabelloTest::removingTheAppliedStyleFromTheCatalogue() {
    CatalogueWindow window;
    QVERIFY(window.open());
    QAction* entry = window.find<QAction>(QStringLiteral("mnueliminarpelos"));
    QVERIFY(!entry->isEnabled());
    window.principal->Muestrapelos_Click(1);  // an installed sample is not in the catalogue
    QVERIFY(!entry->isEnabled());
    window.chooseShortCurlyRed();
    window.click("btnaceptar");
    window.principal->Muestrapelos_Click(1);
    QVERIFY(entry->isEnabled());
    window.dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes};
    entry->trigger();
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("r1")));
    QCOMPARE(window.database.OpenRecordset(QStringLiteral("Select * from cabellos")).RecordCount(),
             3);
    entry->trigger();
    QCOMPARE(
        window.database.OpenRecordset(QStringLiteral("Select * from cabellos where nombre='r1'"))
            .RecordCount(),
        0);
    QCOMPARE(window.database.OpenRecordset(QStringLiteral("Select * from cabellos")).RecordCount(),
             2);
    QVERIFY(!entry->isEnabled());
    QVERIFY(window.folder.exists(QStringLiteral("\\fotos\\corto\\r1.jpg")));  // pictures stay
    // The page is loaded again without it: r2 moves up into thumbnail 1.
    const CatalogueState& catalogue = PrincipalProbe::catalogue(*window.principal).state();
    QCOMPARE(catalogue.nmuestras, 2);
    QCOMPARE(catalogue.rutapelo[1], QStringLiteral("\\fotos\\corto\\r2.jpg"));
    QCOMPARE(test::colourAt(window.find<ImageControl>(QStringLiteral("Muestrapelos_1"))->picture(),
                            0, 0),
             Colour(0x30));
    for (const QString& route : catalogue.rutapelo) {
        QVERIFY(route != QStringLiteral("\\fotos\\corto\\r1.jpg"));
    }
    QVERIFY(!PrincipalProbe::samples(*window.principal)
                 .muestraaplicada);  // any thumbnail applies again
}

QTEST_MAIN(TipocabelloTest)
#include "tst_tipocabello.moc"
