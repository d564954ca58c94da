#include <QtTest>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <functional>

#include "platform/qt_dialogs.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::MessageButtons)
Q_DECLARE_METATYPE(crinova::MessageAnswer)

namespace {

// What the box showed while it was up.
struct SeenBox {
    QWidget* owner = nullptr;
    QPoint centre;
    QRect frame;
    bool shown = false;
};

// Runs `ask`, and while its box is up notes whose it is and where, then cancels it.
SeenBox whileTheBoxIsUp(const std::function<void()>& ask) {
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        seen.shown = true;
        seen.owner = box->parentWidget();
        seen.centre = box->frameGeometry().center();
        seen.frame = box->frameGeometry();
        box->reject();
    });
    ask();
    return seen;
}

// The program's windows as they stand: the main window over the whole screen and a dialog of its
// own near the top-left corner, so that the two centres lie apart.
struct Windows {
    QWidget main;
    QWidget dialog{&main, Qt::Window};
    QtDialogs dialogs{&main};

    Windows() {
        main.setObjectName(QStringLiteral("Principal"));
        main.setGeometry(0, 0, 800, 600);
        dialog.setObjectName(QStringLiteral("imprimir"));
        dialog.setGeometry(100, 100, 300, 240);
    }
};

}  // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void boxBelongsToTheWindowThatAsks_data();
    void boxBelongsToTheWindowThatAsks();
    void withNoWindowActiveTheMainWindowOwnsIt();
    void messageIsPlainTextAndAnswersAsClicked_data();
    void messageIsPlainTextAndAnswersAsClicked();
    void placedClearOfWhatItAsksAbout_data();
    void placedClearOfWhatItAsksAbout();
};

void QtDialogsTest::boxBelongsToTheWindowThatAsks_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("centred");  // the choosers are larger than the dialog
    QTest::newRow("message box") << 0 << true;
    QTest::newRow("question") << 1 << true;
    QTest::newRow("input box") << 2 << true;
    QTest::newRow("file chooser") << 3 << false;
    QTest::newRow("colour chooser") << 4 << false;
    QTest::newRow("question beside the dialog") << 5 << false;
}

void QtDialogsTest::boxBelongsToTheWindowThatAsks() {
    QFETCH(int, kind);
    QFETCH(bool, centred);
    Windows windows;
    windows.main.show();
    windows.dialog.show();
    windows.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&windows.dialog));

    QtDialogs& dialogs = windows.dialogs;
    const SeenBox seen = whileTheBoxIsUp([&] {
        switch (kind) {
            case 0:
                dialogs.MsgBox(QStringLiteral("Aviso"), MessageButtons::Ok,
                               MessageIcon::Information, QStringLiteral("Título"));
                break;
            case 1:
                dialogs.MsgBox(QStringLiteral("¿Seguro?"), MessageButtons::YesNo,
                               MessageIcon::Question, QStringLiteral("Título"));
                break;
            case 2:
                dialogs.InputBox(QStringLiteral("Número"), QStringLiteral("Título"),
                                 QStringLiteral("1"));
                break;
            case 3:
                dialogs.OpenFile(QStringLiteral("Fotos(*.jpg)|*.jpg"), QStringLiteral("Abrir"),
                                 QDir::tempPath());
                break;
            case 4:
                dialogs.ChooseColour(0x000000FF);
                break;
            case 5:
                dialogs.MsgBoxBeside(QStringLiteral("¿Con esta foto?"), MessageButtons::YesNo,
                                     MessageIcon::Question, QStringLiteral("Título"),
                                     windows.dialog.frameGeometry());
                break;
        }
    });
    QVERIFY(seen.shown);
    QCOMPARE(seen.owner, &windows.dialog);
    if (centred) {
        const QPoint offset = seen.centre - windows.dialog.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
    }
    if (kind == 5) {
        QVERIFY(!seen.frame.intersects(windows.dialog.frameGeometry()));
    }
    // Closing the box leaves the dialog that asked in front, not the main window.
    QTRY_COMPARE(QApplication::activeWindow(), &windows.dialog);
}

void QtDialogsTest::withNoWindowActiveTheMainWindowOwnsIt() {
    Windows windows;  // nothing shown: no window is active
    QVERIFY(!QApplication::activeWindow());
    const SeenBox seen = whileTheBoxIsUp([&] {
        windows.dialogs.MsgBox(QStringLiteral("Aviso"), MessageButtons::Ok, MessageIcon::Critical,
                               QStringLiteral("Error"));
    });
    QVERIFY(seen.shown);
    QCOMPARE(seen.owner, &windows.main);
}

void QtDialogsTest::messageIsPlainTextAndAnswersAsClicked_data() {
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<QString>("click");  // a button's text, or empty for Escape
    QTest::addColumn<QString>("byDefault");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("yes no, Escape") << MessageButtons::YesNo << ""
                                    << "&Sí" << MessageAnswer::No;
    QTest::newRow("yes no default no, Escape") << MessageButtons::YesNoDefaultNo << ""
                                               << "&No" << MessageAnswer::No;
    QTest::newRow("yes no default no, Sí") << MessageButtons::YesNoDefaultNo << "&Sí"
                                           << "&No" << MessageAnswer::Yes;
    QTest::newRow("yes no cancel, Escape") << MessageButtons::YesNoCancel << ""
                                           << "&Sí" << MessageAnswer::Cancel;
    QTest::newRow("yes no cancel, No") << MessageButtons::YesNoCancel << "&No"
                                       << "&Sí" << MessageAnswer::No;
    QTest::newRow("yes no cancel, Cancelar") << MessageButtons::YesNoCancel << "&Cancelar"
                                             << "&Sí" << MessageAnswer::Cancel;
}

void QtDialogsTest::messageIsPlainTextAndAnswersAsClicked() {
    QFETCH(MessageButtons, buttons);
    QFETCH(QString, click);
    QFETCH(QString, byDefault);
    QFETCH(MessageAnswer, answer);
    const QString text = QStringLiteral("<img src='x.png'><h1>¡Virus! Llame al 555</h1>");
    Windows windows;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QString defaultButton;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        shown = box->text();
        format = box->textFormat();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == click) {
                button->click();
                return;
            }
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(windows.dialogs.MsgBox(text, buttons, MessageIcon::Question, QStringLiteral("T")),
             answer);
    QCOMPARE(shown, text);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(defaultButton, byDefault);
}

void QtDialogsTest::placedClearOfWhatItAsksAbout_data() {
    QTest::addColumn<QRect>("keep");
    QTest::addColumn<QPoint>("expected");
    // A 200 x 100 box on an 800 x 600 screen, 12 pixels clear, its middle level with the middle
    // of `keep` (QRect::center rounds down).
    QTest::newRow("room on the right") << QRect(100, 100, 300, 320) << QPoint(412, 209);
    QTest::newRow("on the left near the right edge")
        << QRect(500, 100, 300, 320) << QPoint(288, 209);
    QTest::newRow("below a wide picture") << QRect(50, 20, 700, 300) << QPoint(299, 332);
    QTest::newRow("above a wide picture low down") << QRect(50, 300, 700, 290) << QPoint(299, 188);
    QTest::newRow("level as far as the screen allows") << QRect(100, 0, 300, 40) << QPoint(412, 0);
    QTest::newRow("no room anywhere: bottom-right corner")
        << QRect(20, 20, 760, 560) << QPoint(600, 500);
}

void QtDialogsTest::placedClearOfWhatItAsksAbout() {
    QFETCH(QRect, keep);
    QFETCH(QPoint, expected);
    QCOMPARE(QtDialogs::placedClearOf(QSize(200, 100), keep, QRect(0, 0, 800, 600)), expected);
}

QTEST_MAIN(QtDialogsTest)
#include "tst_qt_dialogs.moc"
