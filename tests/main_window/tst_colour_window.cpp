#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "image_compare.h"
#include "overlay/colorcabello.h"
#include "overlay/hair_colour.h"
#include "overlay/mouse_placement.h"
#include "principal_window.h"

using namespace crinova;
using Window = crinova::test::PrincipalWindow;

namespace {

// The main window with a sample applied and the colour window open.
struct ColourWindow : Window {
    Colorcabello* colour = nullptr;

    bool open(int sample) {
        if (!load()) {
            return false;
        }
        principal->Muestrapelos_Click(sample);
        find<QAction>(QStringLiteral("mnucolorcabello"))->trigger();
        colour = principal->findChild<Colorcabello*>(QStringLiteral("colorcabello"));
        return colour != nullptr;
    }
    template <typename T>
    T* control(const char* name) const {
        return colour->findChild<T*>(QString::fromUtf8(name));
    }
    void choose(const char* box, int index) {
        control<QComboBox>(box)->setCurrentIndex(index);
        emit control<QComboBox>(box)->activated(index);
    }
    // The applied sample's coverage, from its mask.
    std::vector<std::uint8_t> coverage() {
        const OverlayState& overlay = PrincipalProbe::overlay(*principal);
        return maskCoverages(loadPicture(folder.path(overlay.ficheromascara)).picture,
                             QSize(300, 320));
    }
};

// The pixels not covered by the mask are the same in both pictures; some covered one differs.
void compareOutsideAndInside(const QImage& shown, const QImage& original,
                             const std::vector<std::uint8_t>& coverage) {
    bool inside = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const bool same = shown.pixel(x, y) == original.pixel(x, y);
            if (coverage[std::size_t(y) * 300 + x] == 0) {
                QVERIFY2(same, qPrintable(QStringLiteral("outside at %1, %2").arg(x).arg(y)));
            }
            inside = inside || !same;
        }
    }
    QVERIFY(inside);
}

}  // namespace

class ColourWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void entryFollowsSavePhoto();
    void shadeIntensityMechasAndOriginal();
    void mechasNeedStrandsThatRunOneWay();
    void fantasyColourAndOwnHair();
};

void ColourWindowTest::entryFollowsSavePhoto() {
    Window window;
    QVERIFY(window.load());
    QAction* entry = window.find<QAction>(QStringLiteral("mnucolorcabello"));
    QCOMPARE(entry->text(), QStringLiteral("&Color del Cabello..."));
    QVERIFY(!entry->isEnabled());
    entry->trigger();  // no style yet: nothing opens
    QVERIFY(!window.principal->findChild<Colorcabello*>());
    window.principal->Muestrapelos_Click(1);
    QVERIFY(entry->isEnabled());
    // After "Ajustar Cabello con Clics" in the image menu.
    const QList<QAction*> entries = window.find<QMenu>(QStringLiteral("mnuefectos"))->actions();
    QCOMPARE(entries.indexOf(entry),
             entries.indexOf(window.find<QAction>(QStringLiteral("mnuajustarclics"))) + 1);
    entry->trigger();
    auto* colour = window.principal->findChild<Colorcabello*>(QStringLiteral("colorcabello"));
    QVERIFY(colour);
    QCOMPARE(colour->windowTitle(), QStringLiteral("COLOR DEL CABELLO"));
}

void ColourWindowTest::shadeIntensityMechasAndOriginal() {
    ColourWindow window;
    QVERIFY(window.open(1));
    const QImage original = window.shown().copy();
    const std::vector<std::uint8_t> coverage = window.coverage();

    window.choose("cbreflejo", int(Reflejo::Cobrizo));
    COMPARE_IMAGES(window.shown(), original);  // no level yet: nothing shown
    window.choose("cbaltura", 6);
    QCOMPARE(window.control<QLabel>("lbltono")->text(), QStringLiteral("7.4 Rubio medio cobrizo"));
    const QImage shaded = window.shown().copy();
    compareOutsideAndInside(shaded, original, coverage);

    window.control<QSlider>("sldintensidad")->setValue(0);
    COMPARE_IMAGES(window.shown(), original);
    window.control<QSlider>("sldintensidad")->setValue(100);
    COMPARE_IMAGES(window.shown(), shaded);

    window.control<QCheckBox>("cmechas")->click();
    QVERIFY(window.control<QComboBox>("cbalturamechas")->isEnabled());
    window.choose("cbalturamechas", 9);
    const QImage streaked = window.shown().copy();
    compareOutsideAndInside(streaked, shaded, coverage);

    // The drag preview and a saved slot show the colour too.
    OverlayState& overlay = PrincipalProbe::overlay(*window.principal);
    PictureBuffers& buffers = PrincipalProbe::buffers(*window.principal);
    window.principal->findChild<QRadioButton*>(QStringLiteral("oppelo"))->click();
    emit window.fprincipal()->mouseDown(1, 0, 0, 0);
    QVERIFY(buffers.temporal1.Picture() !=
            loadPicture(window.folder.path(overlay.ficheropelo)).picture);
    emit window.fprincipal()->mouseUp(1, 0, 0, 0);
    const QImage moved = window.shown().copy();
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    COMPARE_IMAGES(loadPicture(window.folder.path(slotFileName(1))).picture, moved);

    // Another style keeps the colour; "Color Original" gives back the exact pixels.
    window.principal->Muestrapelos_Click(0);
    QVERIFY(overlay.colorelegido);
    window.principal->Muestrapelos_Click(1);
    window.control<QPushButton>("btncolororiginal")->click();
    QVERIFY(!overlay.colorelegido);
    QCOMPARE(window.control<QLabel>("lbltono")->text(), QStringLiteral("Color original"));
    COMPARE_IMAGES(window.shown(), original);
    emit window.fprincipal()->mouseDown(1, 0, 0, 0);
    emit window.fprincipal()->mouseUp(1, 0, 0, 0);
    COMPARE_IMAGES(window.shown(), original);
}

void ColourWindowTest::mechasNeedStrandsThatRunOneWay() {
    ColourWindow window;
    QVERIFY(window.open(0));  // long straight hair
    QCheckBox* mechas = window.control<QCheckBox>("cmechas");
    QVERIFY(mechas->isEnabled());
    window.principal->Muestrapelos_Click(2);  // short curls
    QVERIFY(!mechas->isEnabled());
    QVERIFY(mechas->toolTip().contains(QStringLiteral("rizos")));
    QVERIFY(window.control<QCheckBox>("cbalayage")->isEnabled());
}

void ColourWindowTest::fantasyColourAndOwnHair() {
    ColourWindow window;
    QVERIFY(window.open(1));
    const QImage original = window.shown().copy();
    window.dialogs.colourAnswers = {std::nullopt, kBlack};
    window.control<QPushButton>("btnfantasia")->click();  // cancelled
    QVERIFY(!PrincipalProbe::overlay(*window.principal).colorelegido);
    COMPARE_IMAGES(window.shown(), original);
    window.control<QPushButton>("btnfantasia")->click();
    QCOMPARE(window.control<QLabel>("lbltono")->text(), QStringLiteral("Fantasía"));
    compareOutsideAndInside(window.shown(), original, window.coverage());
    // "Difuminar Cabello" blends the coloured hair in.
    window.find<QAction>(QStringLiteral("mnudifuminar"))->setChecked(true);
    const QImage blended = window.shown().copy();
    window.control<QPushButton>("btncolororiginal")->click();
    QVERIFY(window.shown() != blended);

    // No own-hair selection exists yet: the stylist is told, nothing else changes.
    QCheckBox* own = window.control<QCheckBox>("cpelopropio");
    own->click();
    QVERIFY(!own->isChecked());
    QCOMPARE(window.dialogs.asked.back().title, QStringLiteral("Error Faltan Datos"));

    // Selected when offered: the colour on her own hair, with no cut drawn over the photo.
    const QImage styleOwnColour = window.shown().copy();
    window.choose("cbaltura", 4);
    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    own->click();
    QVERIFY(own->isChecked());
    const QImage photo = window.basePhoto();
    const std::vector<std::uint8_t> coverage = window.coverage();
    int cut = 0, asPhoto = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 300; ++x) {
            cut += coverage[std::size_t(y) * 300 + x] == 255;
            asPhoto += coverage[std::size_t(y) * 300 + x] == 255 &&
                       window.shown().pixel(x, y) == photo.pixel(x, y);
        }
    }
    QVERIFY2(asPhoto > cut / 2, qPrintable(QStringLiteral("%1 of %2").arg(asPhoto).arg(cut)));
    QVERIFY(window.shown().pixel(150, 80) != photo.pixel(150, 80));  // her hair, in the colour
    window.control<QPushButton>("btncolororiginal")->click();
    QVERIFY(!own->isChecked());
    COMPARE_IMAGES(window.shown(), styleOwnColour);
}

QTEST_MAIN(ColourWindowTest)
#include "tst_colour_window.moc"
