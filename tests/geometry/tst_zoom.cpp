#include <QtTest>

#include "geometry/zoom.h"

using namespace crinova;

class ZoomTest : public QObject {
    Q_OBJECT
  private slots:
    void stepsChangeTheChosenOffsets();
    void refusedSteps();
    void stepText();
};

void ZoomTest::stepsChangeTheChosenOffsets() {
    OverlayState state;
    QCOMPARE(applyZoomStep(state, DragTarget::Foto, {true, true}, 10, true), ZoomOutcome::Changed);
    QCOMPARE(state.anchofoto, 10);
    QCOMPARE(state.altofoto, 10);
    QCOMPARE(state.anchopelo, 0);

    applyZoomStep(state, DragTarget::Pelo, {false, true}, 5, false);
    QCOMPARE(state.altopelo, -5);
    QCOMPARE(state.anchopelo, 0);
    QCOMPARE(state.altofoto, 10);

    applyZoomStep(state, DragTarget::Pelo, {true, false}, 0, true);
    QCOMPARE(state.anchopelo, 0);

    // Reductions may go through zero and below: the composition mirrors or draws nothing.
    applyZoomStep(state, DragTarget::Pelo, {true, false}, 400, false);
    QCOMPARE(state.anchopelo, -400);
}

void ZoomTest::refusedSteps() {
    OverlayState state;
    QCOMPARE(applyZoomStep(state, DragTarget::Foto, {false, false}, 10, true),
             ZoomOutcome::NoDimension);
    QCOMPARE(state.anchofoto, 0);

    state.anchofoto = 32760;
    state.altofoto = 5;
    QCOMPARE(applyZoomStep(state, DragTarget::Foto, {true, true}, 10, true),
             ZoomOutcome::OutOfRange);
    QCOMPARE(state.anchofoto, 32760);  // nothing changes, not even the height
    QCOMPARE(state.altofoto, 5);
    QCOMPARE(applyZoomStep(state, DragTarget::Foto, {true, true}, 7, true), ZoomOutcome::Changed);
    QCOMPARE(state.anchofoto, 32767);

    state.altopelo = -32760;
    QCOMPARE(applyZoomStep(state, DragTarget::Pelo, {false, true}, 9, false),
             ZoomOutcome::OutOfRange);
    QCOMPARE(state.altopelo, -32760);
}

void ZoomTest::stepText() {
    QCOMPARE(stepFromText(QStringLiteral("10")), 10);
    QCOMPARE(stepFromText(QStringLiteral("")), 0);
    QCOMPARE(stepFromText(QStringLiteral("007")), 7);
    QCOMPARE(stepFromText(QStringLiteral("1a")), 0);
    QCOMPARE(stepFromText(QStringLiteral("-5")), 0);
}

QTEST_GUILESS_MAIN(ZoomTest)
#include "tst_zoom.moc"
