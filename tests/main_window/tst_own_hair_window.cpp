#include <QtTest>

#include <QAction>
#include <QImageReader>
#include <QImageWriter>
#include <QMenu>

#include "image_compare.h"
#include "principal_window.h"
#include "read_only_folder.h"
#include "segmentation/own_hair_photos.h"
#include "segmentation/pelopropio.h"
#include "segmentation/selection_editor.h"

using namespace crinova;
using Window = crinova::test::PrincipalWindow;

namespace {

// The window (made again over the same folder), a sample applied and "Ocultar Pelo Propio" checked.
QImage hiddenWorkingPhoto(Window& window) {
    window.principal.reset();
    if (!window.load()) {
        return {};
    }
    window.principal->Muestrapelos_Click(1);
    window.find<QAction>(QStringLiteral("mnuocultarpelo"))->trigger();
    return PrincipalProbe::buffers(*window.principal).ftrabajo.Picture();
}

}  // namespace

class OwnHairWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void hideShowKeepAndRemake();
};

void OwnHairWindowTest::hideShowKeepAndRemake() {
    Window window;
    QVERIFY(window.load());
    QAction* hide = window.find<QAction>(QStringLiteral("mnuocultarpelo"));
    QVERIFY(!hide->isEnabled() && !hide->isChecked());
    // In the image menu after "&Color del Cabello...", the correction after it.
    const QList<QAction*> entries = window.find<QMenu>(QStringLiteral("mnuefectos"))->actions();
    const qsizetype colour =
        entries.indexOf(window.find<QAction>(QStringLiteral("mnucolorcabello")));
    QCOMPARE(entries.value(colour + 1), hide);
    QCOMPARE(hide->text(), QStringLiteral("&Ocultar Pelo Propio"));
    QCOMPARE(entries.value(colour + 2)->text(), QStringLiteral("Corregir Pelo &Propio..."));
    window.principal->Muestrapelos_Click(1);
    QVERIFY(hide->isEnabled());
    const QImage original = window.shown().copy();
    hide->trigger();
    QVERIFY(hide->isChecked());
    QVERIFY(window.shown() != original);
    // The composition works on the hidden photo, which is kept losslessly beside the photo.
    const QString photo = window.folder.path(kBasePhoto);
    const QString stored = OwnHairPhotos::storedName(photo);
    const QImage hidden = PrincipalProbe::buffers(*window.principal).ftrabajo.Picture().copy();
    COMPARE_IMAGES(QImage(stored).convertToFormat(QImage::Format_RGB32), hidden);

    // Corrected with the brush of the hair selection: hidden again at once, and kept.
    window.find<QAction>(QStringLiteral("mnucorregirpelo"))->trigger();
    auto* pelopropio = window.find<Pelopropio>(QStringLiteral("pelopropio"));
    QVERIFY(pelopropio && pelopropio->isVisible());
    auto* canvas = pelopropio->findChild<SelectionCanvas*>(QStringLiteral("fotoseleccion"));
    const QImage photoItself = window.basePhoto();
    QVERIFY(hidden.pixel(150, 80) != photoItself.pixel(150, 80));  // her hair, hidden
    emit canvas->strokeDrawn(Stroke{false, 8, {{150, 70}, {150, 90}}});
    const QImage corrected = PrincipalProbe::buffers(*window.principal).ftrabajo.Picture();
    QCOMPARE(corrected.pixel(150, 80), photoItself.pixel(150, 80));
    COMPARE_IMAGES(QImage(stored).convertToFormat(QImage::Format_RGB32), corrected);
    QVERIFY(
        QImageReader(stored).text(QStringLiteral("trazos")).contains(QStringLiteral("[150,90]")));
    pelopropio->close();
    hide->trigger();
    COMPARE_IMAGES(window.shown(), original);

    // Loaded again, the kept result is used as it is (marked here so that it shows).
    QImageReader reader(stored);
    const QString checksum = reader.text(QStringLiteral("foto"));
    QImage marked = reader.read();
    marked.setPixel(0, 0, qRgb(1, 2, 3));
    QImageWriter writer(stored);
    writer.setText(QStringLiteral("foto"), checksum);
    writer.setText(QStringLiteral("trazos"), QStringLiteral("[]"));
    QVERIFY(writer.write(marked));
    QCOMPARE(hiddenWorkingPhoto(window).pixel(0, 0), qRgb(1, 2, 3));

    // The photo changed: made again, never the stale one.
    QVERIFY(QFile::copy(photo, photo + QStringLiteral(".antes")));
    QImage changed = QImage(photo).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            changed.setPixel(x, y, qRgb(200, 0, 0));
        }
    }
    QVERIFY(changed.save(photo, "jpg", 100));
    QVERIFY(qRed(hiddenWorkingPhoto(window).pixel(0, 0)) > 150);
    QVERIFY(QImageReader(stored).text(QStringLiteral("foto")) != checksum);

    // A folder that cannot be written: hidden for the run, and the stylist told once.
    QFile::remove(stored);
    QVERIFY(QFile::remove(photo) && QFile::rename(photo + QStringLiteral(".antes"), photo));
    {
        test::ReadOnlyFolder readOnly(QFileInfo(photo).path());
        QVERIFY(hiddenWorkingPhoto(window) != QImage(photo).convertToFormat(QImage::Format_RGB32));
    }
    QVERIFY(!QFile::exists(stored));
    QCOMPARE(window.dialogs.asked.back().title, QStringLiteral("Ocultar Pelo Propio"));
    QVERIFY(window.dialogs.asked.back().text.contains(QStringLiteral("no se ha podido guardar")));

    // No hair to hide (here no face either: the eyes are taken where preparation puts them):
    // told, and the entry goes back off.
    changed.fill(qRgb(128, 128, 128));
    QVERIFY(changed.save(photo, "jpg", 100));
    COMPARE_IMAGES(hiddenWorkingPhoto(window), QImage(photo).convertToFormat(QImage::Format_RGB32));
    QVERIFY(!window.find<QAction>(QStringLiteral("mnuocultarpelo"))->isChecked());
    QVERIFY(window.dialogs.asked.back().text.startsWith(QStringLiteral("No se ve pelo propio")));
}

QTEST_MAIN(OwnHairWindowTest)
#include "tst_own_hair_window.moc"
