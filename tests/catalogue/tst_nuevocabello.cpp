#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "catalogue/own_styles.h"
#include "face/face_fit.h"
#include "image_compare.h"
#include "platform/image_control.h"
#include "principal_window.h"
#include "program/folder_names.h"
#include "segmentation/selection_editor.h"

using namespace crinova;
using crinova::test::solidPicture;

namespace {

// The main window with "NUEVO CABELLO DESDE FOTO" opened from its menu entry.
struct Window : test::PrincipalWindow {
    Nuevocabello* open() {
        if (!load()) {
            return nullptr;
        }
        find<QAction>(QStringLiteral("mnuanadircabello"))->trigger();
        return nuevocabello();
    }
    Nuevocabello* nuevocabello() const {
        return PrincipalProbe::catalogue(*principal).nuevocabello();
    }
    template <typename T>
    T* control(const char* name) const {
        return nuevocabello()->findChild<T*>(QString::fromUtf8(name));
    }
    void click(const char* name) const {
        QTest::mouseClick(control<QWidget>(name), Qt::LeftButton);
    }
    // "&Abrir Foto" answered with a photo of the folder.
    void openPhoto(const QString& relativeName) {
        dialogs.textAnswers = {folder.path(relativeName)};
        click("btnabrirfoto");
    }
    // A stroke on the canvas through frame pixels.
    void stroke(std::initializer_list<QPoint> points) const {
        auto* canvas = control<SelectionCanvas>("fotoseleccion");
        auto at = [](QPoint p) {
            return (QPointF(p) + QPointF(0.5, 0.5)) * SelectionCanvas::kZoom;
        };
        QTest::mousePress(canvas, Qt::LeftButton, {}, at(*points.begin()).toPoint());
        for (const QPoint& p : points) {
            QTest::mouseMove(canvas, at(p).toPoint());
        }
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, at(*(points.end() - 1)).toPoint());
    }
};

}  // namespace

class TestNuevocabello : public QObject {
    Q_OBJECT

  private slots:
    void fromAPhotoToTheCatalogueAndOut();
    void badInput_data();
    void badInput();
};

void TestNuevocabello::fromAPhotoToTheCatalogueAndOut() {
    Window window;
    QVERIFY(window.open());
    const QList<QAction*> entries = window.find<QMenu>(QStringLiteral("mnuprincipal"))->actions();
    const qsizetype at = entries.indexOf(window.find<QAction>(QStringLiteral("mnueliminarpelos")));
    QCOMPARE(entries.at(at + 1)->text(), QString::fromUtf8("A&ñadir Cabello desde Foto"));
    Nuevocabello* nuevo = window.nuevocabello();
    QCOMPARE(nuevo->windowTitle(), QStringLiteral("NUEVO CABELLO DESDE FOTO"));

    // A client photo of the samples: the face is found, the hair selected at once.
    window.openPhoto(QStringLiteral("\\clientes\\cliente1.jpg"));
    QVERIFY(nuevo->selection().started());
    QCOMPARE(window.control<QLineEdit>("txtnombrecabello")->text(), QStringLiteral("cliente1"));
    const QImage automatic = nuevo->selection().hardMask();
    window.click("oppelono");
    window.stroke({{150, 50}, {150, 60}, {150, 70}});
    QCOMPARE(nuevo->selection().strokes().size(), std::size_t(1));
    QVERIFY(!nuevo->selection().strokes()[0].selected);
    window.click("btndeshacer");
    QVERIFY(nuevo->selection().strokes().empty());
    QCOMPARE(nuevo->selection().hardMask(), automatic);

    for (const auto& [box, word] : {std::pair{"cbpersona", "mujer"},
                                    {"cblargura", "corto"},
                                    {"cbtipo", "rizado"},
                                    {"cbcolor", "dorado"}}) {
        auto* combo = window.control<QComboBox>(box);
        combo->setCurrentIndex(combo->findText(QString::fromUtf8(word)));
    }
    window.control<QLineEdit>("txtnombrecabello")->setText(QStringLiteral("de-foto"));
    window.click("btnguardarcabello");
    QVERIFY2(window.dialogs.messages().last().contains(QStringLiteral("está en el catálogo")),
             qPrintable(window.dialogs.messages().last()));
    QCOMPARE(window.database
                 .OpenRecordset(QStringLiteral("Select * from cabellos where tpersona='mujer' and "
                                               "largura='corto' and tipo='rizado' and "
                                               "color='dorado' and nombre='de-foto'"))
                 .RecordCount(),
             1);
    const QStringList files = styleFiles("corto", "de-foto", "jpg");
    for (const QString& file : files) {
        QVERIFY2(window.folder.exists(file), qPrintable(file));
    }
    // Its photo, opened again, is the style again: saved, it replaces itself.
    window.openPhoto(files[4]);
    QCOMPARE(window.control<QLineEdit>("txtnombrecabello")->text(), QStringLiteral("de-foto"));
    QCOMPARE(window.control<QComboBox>("cbtipo")->currentText(), QStringLiteral("rizado"));
    QVERIFY(!nuevo->unsaved());
    window.click("btnguardarcabello");
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("está en el catálogo")));

    // The hair-type dialog finds it; applied, it is composed exactly: (photo AND mask) XOR hair.
    CatalogueCommands& catalogue = PrincipalProbe::catalogue(*window.principal);
    catalogue.mnubuscarcabello_Click();
    for (const char* option : {"opmujer", "cabellocorto", "cabelloescalado", "colorrubio"}) {
        QTest::mouseClick(catalogue.tipocabello()->findChild<QWidget*>(option), Qt::LeftButton);
    }
    QTest::mouseClick(catalogue.tipocabello()->findChild<QWidget*>("btnaceptar"), Qt::LeftButton);
    const auto& routes = catalogue.state().rutapelo;
    const auto slot =
        std::find(routes.begin(), routes.end(), catalogueHairPath("corto", "de-foto"));
    QVERIFY(slot != routes.end());
    window.principal->Muestrapelos_Click(int(slot - routes.begin()));
    const QImage hair = QImage(window.folder.path(files[0])).convertToFormat(QImage::Format_RGB32);
    const QImage mask = QImage(window.folder.path(files[1])).convertToFormat(QImage::Format_RGB32);
    QImage expected = window.basePhoto();
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            expected.setPixel(
                x, y, (expected.pixel(x, y) & mask.pixel(x, y)) ^ (hair.pixel(x, y) & 0xffffff));
        }
    }
    COMPARE_IMAGES(window.shown(), expected);

    // "&Difuminar Cabello" lays the style's own alpha, not the mask: with an alpha of 0 the photo
    // shows untouched.
    QImage none(kStyleSize, QImage::Format_Grayscale8);
    none.fill(0);
    QVERIFY(none.save(window.folder.path(files[2]), "png"));
    window.find<QAction>(QStringLiteral("mnudifuminar"))->trigger();
    COMPARE_IMAGES(window.shown(), window.basePhoto());

    // "&Eliminar Cabellos" takes it out with every file.
    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    window.find<QAction>(QStringLiteral("mnueliminarpelos"))->trigger();
    QCOMPARE(window.database
                 .OpenRecordset(QStringLiteral("Select * from cabellos where nombre='de-foto'"))
                 .RecordCount(),
             0);
    for (const QString& file : files) {
        QVERIFY2(!window.folder.exists(file), qPrintable(file));
    }
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheropelo, kDefaultHair);
}

void TestNuevocabello::badInput_data() {
    QTest::addColumn<QString>("photo");
    QTest::addColumn<QString>("told");
    QTest::newRow("not a picture")
        << QStringLiteral("\\clientes\\nota.jpg") << QStringLiteral("nota.jpg");
    QTest::newRow("no face: the eyes are clicked")
        << QStringLiteral("\\clientes\\pared.jpg") << QString::fromUtf8(kEyesNotFoundMessage);
    QTest::newRow("a name with a space")
        << QStringLiteral("\\clientes\\cliente1.jpg") << QStringLiteral("solo puede llevar letras");
}

void TestNuevocabello::badInput() {
    QFETCH(QString, photo);
    QFETCH(QString, told);
    Window window;
    QVERIFY(window.open());
    window.folder.writeBytes(QStringLiteral("\\clientes\\nota.jpg"), "hola");
    window.folder.writePicture(QStringLiteral("\\clientes\\pared.jpg"),
                               solidPicture(400, 400, 0x00c0d0e0), "jpg");
    window.openPhoto(photo);
    Nuevocabello* nuevo = window.nuevocabello();
    if (photo.endsWith(QStringLiteral("pared.jpg"))) {
        QVERIFY(!nuevo->selection().started());
        window.stroke({{120, 140}});
        window.stroke({{180, 140}});
        QVERIFY(nuevo->selection().started());
    }
    if (nuevo->selection().started()) {
        window.control<QLineEdit>("txtnombrecabello")->setText(QStringLiteral("con espacio"));
        window.click("btnguardarcabello");
    }
    const QString messages = window.dialogs.messages().join(QLatin1Char('\n'));
    QVERIFY2(messages.contains(told), qPrintable(messages));
    QCOMPARE(window.database
                 .OpenRecordset(QStringLiteral("Select * from cabellos where "
                                               "nombre like 'con%'"))
                 .RecordCount(),
             0);
    // Closing with a selection not saved asks first; No keeps the window.
    window.dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes};
    const bool asks = nuevo->selection().started();
    nuevo->close();
    QCOMPARE(bool(window.nuevocabello()), asks);
    if (asks) {
        nuevo->close();
        QVERIFY(!window.nuevocabello());
    }
}

QTEST_MAIN(TestNuevocabello)
#include "tst_nuevocabello.moc"
