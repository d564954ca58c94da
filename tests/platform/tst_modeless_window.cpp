#include <QCloseEvent>
#include <QtTest>

#include "platform/modeless_window.h"

using namespace crinova;

namespace {

// A window whose close step counts how often it ran.
class CountingWindow : public QWidget {
  public:
    explicit CountingWindow(int* steps) : QWidget(nullptr, Qt::Window), steps_(steps) {
        close_ = new ModelessClose(this);
    }
    ModelessClose& modelessClose() { return *close_; }

  protected:
    void closeEvent(QCloseEvent* event) override {
        close_->closing([this] { ++*steps_; });
        event->accept();
    }

  private:
    int* steps_;
    ModelessClose* close_;
};

}  // namespace

class ModelessWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void closedIsToldOnceHoweverOftenItCloses();
    void madeOnFirstUseAndReleasedOnClose();
};

void ModelessWindowTest::closedIsToldOnceHoweverOftenItCloses() {
    int steps = 0;
    int told = 0;
    auto* window = new CountingWindow(&steps);
    QPointer<CountingWindow> alive(window);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    connect(&window->modelessClose(), &ModelessClose::closed, this, [&] {
        QCOMPARE(steps, 1);  // the window's own step runs first
        ++told;
    });
    window->show();
    window->close();
    window->close();  // closed again before the deferred delete
    QCloseEvent again;
    QCoreApplication::sendEvent(window, &again);
    QCOMPARE(steps, 1);
    QCOMPARE(told, 1);
    QTRY_VERIFY(!alive);  // deleted once the event loop runs
}

void ModelessWindowTest::madeOnFirstUseAndReleasedOnClose() {
    QPointer<CountingWindow> slot;
    int steps = 0;
    int made = 0;
    int closedRuns = 0;
    const auto make = [&] {
        ++made;
        return new CountingWindow(&steps);
    };
    const auto onClosed = [&] {
        QVERIFY(!slot);  // released before the main window is told
        ++closedRuns;
    };
    CountingWindow* first = modelessWindow(slot, make, this, onClosed);
    QCOMPARE(modelessWindow(slot, make, this, onClosed), first);
    QCOMPARE(made, 1);
    showModeless(first);
    QVERIFY(first->isVisible());
    first->close();
    QCOMPARE(closedRuns, 1);
    QVERIFY(!slot);
    // The next opening makes a new window even before the old one is deleted.
    CountingWindow* second = modelessWindow(slot, make, this, onClosed);
    QCOMPARE(made, 2);
    QCOMPARE(slot.data(), second);
    second->close();
    QCOMPARE(closedRuns, 2);
}

QTEST_MAIN(ModelessWindowTest)
#include "tst_modeless_window.moc"
