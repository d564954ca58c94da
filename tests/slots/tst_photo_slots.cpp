#include <QtTest>

#include "scripted_dialogs.h"
#include "slots/photo_slots.h"

using namespace crinova;
using crinova::test::ScriptedDialogs;

namespace {

const QString kPrompt = QStringLiteral(
    "Ponga la Posición donde quiere que se Guarde la Foto\r Ejemplo: Inserte 1 para que la Foto se "
    "Guarde en la Posición 1");

// Chooses and, as a successful save does, keeps the counters.
int save(SlotState& state, ScriptedDialogs& dialogs) {
    const std::optional<SlotChoice> choice = chooseSlot(state, dialogs);
    if (!choice) {
        return 0;
    }
    state = choice->after;
    return choice->slot;
}

}  // namespace

class PhotoSlotsTest : public QObject {
    Q_OBJECT
  private slots:
    void sixSavesWithoutAQuestionThenAsk();
    void cancellingTheFirstQuestionStartsAgainAtSlotOne();
    void wrongAnswersSaveNothing_data();
    void wrongAnswersSaveNothing();
    void countersWaitForTheSave();
};

void PhotoSlotsTest::sixSavesWithoutAQuestionThenAsk() {
    SlotState state;
    ScriptedDialogs dialogs;
    for (int slot = 1; slot <= 6; ++slot) {
        QCOMPARE(save(state, dialogs), slot);
    }
    QVERIFY(dialogs.asked.empty());
    dialogs.textAnswers = {QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("1")};
    QCOMPARE(save(state, dialogs), 2);
    QCOMPARE(dialogs.asked.size(), std::size_t(1));
    QCOMPARE(dialogs.asked[0].kind, QStringLiteral("InputBox"));
    QCOMPARE(dialogs.asked[0].text, kPrompt);
    QCOMPARE(dialogs.asked[0].title, QStringLiteral("Guardar Fotografía"));
    QCOMPARE(dialogs.asked[0].initialFolder, QString());  // the empty default answer
    QVERIFY(state.modopregunta);
    QCOMPARE(state.posicionfoto, QStringLiteral("2"));
    QCOMPARE(save(state, dialogs), 6);
    QCOMPARE(save(state, dialogs), 1);  // even after slot 6 every save asks
    QCOMPARE(dialogs.asked.size(), std::size_t(3));
}

void PhotoSlotsTest::cancellingTheFirstQuestionStartsAgainAtSlotOne() {
    SlotState state{QStringLiteral("6"), false};
    ScriptedDialogs dialogs;
    dialogs.textAnswers = {QString()};
    QCOMPARE(save(state, dialogs), 0);
    QCOMPARE(state.posicionfoto, QString());
    QVERIFY(!state.modopregunta);
    QCOMPARE(save(state, dialogs), 1);
    QCOMPARE(dialogs.asked.size(), std::size_t(1));
}

void PhotoSlotsTest::wrongAnswersSaveNothing_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("9") << QStringLiteral("9");
    QTest::newRow("0") << QStringLiteral("0");
    QTest::newRow("2.5") << QStringLiteral("2.5");
    QTest::newRow("a word") << QStringLiteral("dos");
    QTest::newRow("a sign") << QStringLiteral("-3");
    QTest::newRow("blanks only") << QStringLiteral("  ");
}

void PhotoSlotsTest::wrongAnswersSaveNothing() {
    QFETCH(QString, answer);
    SlotState state{QStringLiteral("6"), false};
    ScriptedDialogs dialogs;
    dialogs.textAnswers = {answer, QStringLiteral("4")};
    QCOMPARE(save(state, dialogs), 0);
    QCOMPARE(dialogs.messages(), QStringList{"Tiene que poner un Numero entre el 1 y el 6"});
    QCOMPARE(dialogs.asked.back().title, QStringLiteral("Error Numero mal Introducido"));
    QCOMPARE(dialogs.asked.back().icon, MessageIcon::Information);
    QCOMPARE(state.posicionfoto, QStringLiteral("6"));
    QVERIFY(!state.modopregunta);
    QCOMPARE(save(state, dialogs), 4);  // the next save asks again
}

void PhotoSlotsTest::countersWaitForTheSave() {
    SlotState state;
    ScriptedDialogs dialogs;
    const std::optional<SlotChoice> choice = chooseSlot(state, dialogs);
    QVERIFY(choice);
    QCOMPARE(choice->slot, 1);
    QCOMPARE(state.posicionfoto, QString());  // unchanged until the file is written
}

QTEST_GUILESS_MAIN(PhotoSlotsTest)
#include "tst_photo_slots.moc"
