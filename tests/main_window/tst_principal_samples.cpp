#include <QtTest>

#include <QLineEdit>

#include "image_compare.h"
#include "platform/image_control.h"
#include "principal_window.h"

using namespace crinova;
using Window = crinova::test::PrincipalWindow;

namespace {

// The first catalogue page of long straight blond styles for women (lm01, lm02, ...).
bool loadBlondPage(Window& window) {
    PrincipalProbe::catalogue(*window.principal).state().filters = {
        QStringLiteral("mujer"), QStringLiteral("largo"), QStringLiteral("liso"),
        QStringLiteral("dorado")};
    return PrincipalProbe::catalogue(*window.principal).loadFirstCataloguePage();
}

ImageControl* thumbnail(Window& window, int index) {
    return window.find<ImageControl>(QStringLiteral("Muestrapelos_%1").arg(index));
}

}  // namespace

class PrincipalSamplesTest : public QObject {
    Q_OBJECT
  private slots:
    void pictureButtonsTakeOnlyTheLeftButton_data();
    void pictureButtonsTakeOnlyTheLeftButton();
    void damagedSampleHairIsNamedAtTheClick();
    void catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair_data();
    void catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair();
};

void PrincipalSamplesTest::pictureButtonsTakeOnlyTheLeftButton_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::MouseButton>("button");
    for (const char* control : {"Muestrapelos_3", "btnpelos_0", "btngirar_0", "btngirar_1"}) {
        QTest::addRow("%s, right button", control) << QString::fromUtf8(control) << Qt::RightButton;
        QTest::addRow("%s, middle button", control)
            << QString::fromUtf8(control) << Qt::MiddleButton;
    }
}

// Each picture button is pressed with another button first (nothing may happen), then with the
// left one (its command runs), so the test sees the control answer at all.
void PrincipalSamplesTest::pictureButtonsTakeOnlyTheLeftButton() {
    QFETCH(QString, control);
    QFETCH(Qt::MouseButton, button);
    const bool paging = control.startsWith(QLatin1String("btnpelos"));
    Window window(paging ? test::TestProgramFolder::SamplesWithCatalogue
                         : test::TestProgramFolder::Samples);
    QVERIFY(window.load());
    Principal& principal = *window.principal;
    std::function<bool()> ran;
    if (control.startsWith(QLatin1String("Muestrapelos"))) {
        ran = [&] { return PrincipalProbe::overlay(principal).pelocargado; };
    } else if (paging) {
        QVERIFY(loadBlondPage(window));
        thumbnail(window, 0)->clearPicture();  // the first page command fills it again
        ran = [&] { return thumbnail(window, 0)->hasPicture(); };
    } else {
        principal.Muestrapelos_Click(1);
        window.find<QLineEdit>(QStringLiteral("txtgirar"))->setText(QStringLiteral("90"));
        ran = [&] { return PrincipalProbe::geometry(principal).rotation().angulototal != 0.0; };
    }
    auto* picture = window.find<ImageControl>(control);
    QTest::mouseClick(picture, button);
    QVERIFY(!ran());
    QTest::mouseClick(picture, Qt::LeftButton);
    QVERIFY(ran());
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalSamplesTest::damagedSampleHairIsNamedAtTheClick() {
    Window window;
    window.folder.writeBytes(QStringLiteral("\\pelo4.jpg"), "\xff\xd8\xff\xe0 dañado");
    QVERIFY(window.load());
    QVERIFY(!thumbnail(window, 3)->hasPicture());
    QTest::mouseClick(thumbnail(window, 3), Qt::LeftButton);
    QCOMPARE(window.dialogs.messages().size(), 1);
    const QString message = window.dialogs.messages().first();
    QVERIFY2(message.contains(
                 QDir::toNativeSeparators(window.folder.path(QStringLiteral("\\pelo4.jpg")))),
             qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("dañado")));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Critical);
    QVERIFY(!PrincipalProbe::overlay(*window.principal).pelocargado);  // nothing applied
    COMPARE_IMAGES(window.shown(), window.basePhoto());

    // A thumbnail whose file is simply absent stays an empty thumbnail, ignored.
    QFile::remove(window.folder.path(QStringLiteral("\\pelo5.jpg")));
    thumbnail(window, 4)->clearPicture();
    QTest::mouseClick(thumbnail(window, 4), Qt::LeftButton);
    QCOMPARE(window.dialogs.messages().size(), 1);
}

void PrincipalSamplesTest::catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair_data() {
    QTest::addColumn<QByteArray>("thumbnailBytes");  // empty: no thumbnail file
    QTest::newRow("damaged thumbnail") << QByteArray("\xff\xd8\xff\xe0 roto");
    QTest::newRow("empty thumbnail file") << QByteArray("");
    QTest::newRow("no thumbnail file") << QByteArray();
}

void PrincipalSamplesTest::catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair() {
    QFETCH(QByteArray, thumbnailBytes);
    Window window(test::TestProgramFolder::SamplesWithCatalogue);
    const QString thumbnailFile = QStringLiteral("\\fotos\\visualizacion\\largo\\lm02.jpg");
    if (thumbnailBytes.isNull()) {
        QVERIFY(QFile::remove(window.folder.path(thumbnailFile)));
    } else {
        window.folder.writeBytes(thumbnailFile, thumbnailBytes);
    }
    QVERIFY(window.load());
    QVERIFY(loadBlondPage(window));
    const QString hair = QStringLiteral("\\fotos\\largo\\lm02.jpg");
    COMPARE_IMAGES(thumbnail(window, 1)->picture(), loadPicture(window.folder.path(hair)).picture);

    QTest::mouseClick(thumbnail(window, 1), Qt::LeftButton);
    QVERIFY(PrincipalProbe::overlay(*window.principal).pelocargado);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheropelo, hair);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheromascara,
             QStringLiteral("\\fotos\\largo\\lm02m.jpg"));
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    QVERIFY(test::firstDifference(window.shown(), window.basePhoto()) != QString());
}

QTEST_MAIN(PrincipalSamplesTest)
#include "tst_principal_samples.moc"
