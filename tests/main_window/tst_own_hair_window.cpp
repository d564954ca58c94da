#include <QtTest>

#include <QAction>
#include <QImageReader>
#include <QImageWriter>
#include <QMenu>
#include <QPainter>

#include "face/face_fit.h"
#include "geometry/rotation.h"
#include "image_compare.h"
#include "main_window/face_commands.h"
#include "main_window/geometry_commands.h"
#include "platform/picture_box.h"
#include "principal_window.h"
#include "program/client_files.h"
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
    void eyesClickedWhenNoFaceIsFound();
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

void OwnHairWindowTest::eyesClickedWhenNoFaceIsFound() {
    Window window;
    QVERIFY(window.load());
    // The eyes painted over with the skin between them, so no face is found on the photo, and
    // the photo says its face was not found in preparation: no eyes are taken from the model.
    const EyePair eyes =
        targetEyes(PrincipalProbe::faceCommands(*window.principal)->clientPhotoTarget());
    const QString photo = window.folder.path(kBasePhoto);
    QImage pixels = window.basePhoto();
    {
        QPainter painter(&pixels);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(pixels.pixel(((eyes.left + eyes.right) / 2).toPoint())));
        const double radius = (eyes.right.x() - eyes.left.x()) / 3;
        painter.drawEllipse(eyes.left, radius, radius);
        painter.drawEllipse(eyes.right, radius, radius);
    }
    QImageWriter writer(photo, "jpg");
    writer.setText(QString::fromLatin1(kPreparedFaceKey), QStringLiteral("no"));
    QVERIFY(writer.write(pixels));
    QCOMPARE(preparedFaceFound(photo), std::optional(false));
    window.principal.reset();
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    // Turned 10 degrees counter-clockwise first: the clicks are turned back onto the photo.
    QVERIFY(PrincipalProbe::geometry(*window.principal).turnPhoto(0, 10));
    QAction* hide = window.find<QAction>(QStringLiteral("mnuocultarpelo"));
    hide->trigger();
    QVERIFY2(!window.dialogs.messages().isEmpty(), "nothing told");
    QVERIFY(window.dialogs.messages().back().startsWith(
        QStringLiteral("No se encuentra la cara en la foto")));
    QVERIFY(!hide->isChecked());
    QVERIFY(PrincipalProbe::faceCommands(*window.principal)->clickMode());

    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    const QPointF centre(pixels.width() / 2, pixels.height() / 2);
    for (const QPointF& eye : {eyes.left, eyes.right}) {
        const QPointF turned = turnedPoint(eye, centre, stepAngle(10));
        const QPoint at = photoToScreen(turned, pixels.size(), state).toPoint() +
                          window.fprincipal()->contentsRect().topLeft();
        QTest::mousePress(window.fprincipal(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(window.fprincipal(), Qt::LeftButton, {}, at);
    }
    QVERIFY(hide->isChecked() && state.ocultarpelo);
    // Kept with the eyes as clicked, on the photo's own pixels (a click lands on a whole pixel).
    const QStringList kept = QImageReader(OwnHairPhotos::storedName(photo))
                                 .text(QStringLiteral("ojos"))
                                 .split(QLatin1Char(' '));
    QCOMPARE(kept.size(), 4);
    const QPointF left(kept[0].toDouble(), kept[1].toDouble());
    const QPointF right(kept[2].toDouble(), kept[3].toDouble());
    QVERIFY2(std::hypot(left.x() - eyes.left.x(), left.y() - eyes.left.y()) < 1.0 &&
                 std::hypot(right.x() - eyes.right.x(), right.y() - eyes.right.y()) < 1.0,
             qPrintable(kept.join(' ')));
}

QTEST_MAIN(OwnHairWindowTest)
#include "tst_own_hair_window.moc"
