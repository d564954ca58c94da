#include <QtTest>

#include <QDialog>

#include "platform/activation_watch.h"

using namespace crinova;

class ActivationWatchTest : public QObject {
    Q_OBJECT
  private slots:
    void aModalBoxIsNotAnotherWindow();
};

void ActivationWatchTest::aModalBoxIsNotAnotherWindow() {
    QWidget window;
    QWidget other;
    window.show();
    other.show();
    ActivationWatch watch;
    QEvent change(QEvent::ActivationChange);

    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(watch.activated(&window, &change));  // the first activation counts

    // Left for a modal box: the activation that follows it does not count.
    QDialog box(&window);
    box.setModal(true);
    box.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!watch.activated(&window, &change));  // the deactivation itself never counts
    box.hide();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(!watch.activated(&window, &change));

    // Left for another window: coming back counts.
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    watch.activated(&window, &change);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(watch.activated(&window, &change));

    QEvent unrelated(QEvent::Resize);
    QVERIFY(!watch.activated(&window, &unrelated));
}

QTEST_MAIN(ActivationWatchTest)
#include "tst_activation_watch.moc"
