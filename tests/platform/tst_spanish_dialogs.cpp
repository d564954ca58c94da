#include <QtTest>

#include <langinfo.h>
#include <QAbstractFileIconProvider>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <functional>

#include "platform/qt_dialogs.h"
#include "platform/qt_printer.h"
#include "platform/translations.h"
#include "principal_window.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::PrincipalWindow;
using crinova::test::TestProgramFolder;

namespace {

// Looks at the modal box the next event loop shows, then cancels it. What is seen is kept for
// the test to compare once the box is gone.
template <typename Dialog>
void inspectNextBox(std::function<void(Dialog*)> look) {
    QTimer::singleShot(0, [look] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog) {
            look(dialog);
        } else if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            other->reject();
            return;
        }
        if (dialog) {
            dialog->reject();
        }
    });
}

QString buttonText(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    const auto* box = dialog->findChild<QDialogButtonBox*>();
    const QPushButton* button = box ? box->button(which) : nullptr;
    return button ? button->text() : QStringLiteral("<no button>");
}

template <typename Control>
QString textOf(QWidget* dialog, const char* name) {
    const auto* control = dialog->findChild<Control*>(QString::fromLatin1(name));
    return control ? control->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

bool hasChildWithText(QWidget* dialog, const QString& text) {
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->text() == text) {
            return true;
        }
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            return true;
        }
    }
    return false;
}

void removeTranslators() {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        delete translator;
    }
}

}  // namespace

class SpanishDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void missingCataloguesStartInEnglish();
    void cataloguesAreFound();
    void fileChooserIsSpanish();
    void colourChooserIsSpanish();
    void printSetupIsSpanish();
    void contextMenuAndNumbersAreSpanish();
};

void SpanishDialogsTest::missingCataloguesStartInEnglish() {
    const QTemporaryDir empty;
    const SpanishCatalogues found = installSpanish(*qApp, empty.path(), {empty.path()});
    QVERIFY(!found.qt);
    QVERIFY(!found.own);

    PrincipalWindow window;
    QVERIFY(window.load());

    QtDialogs dialogs;
    QString open;
    inspectNextBox<QFileDialog>(
        [&](QFileDialog* dialog) { open = buttonText(dialog, QDialogButtonBox::Open); });
    QCOMPARE(dialogs.OpenFile(QStringLiteral("Fotos|*.jpg"), QStringLiteral("Abrir"), empty.path()),
             QString());
    QCOMPARE(open, QStringLiteral("&Open"));
    removeTranslators();
}

void SpanishDialogsTest::cataloguesAreFound() {
    const SpanishCatalogues found =
        installSpanish(*qApp, qtTranslationsFolder(), {QStringLiteral(CRINOVA_TRANSLATIONS)});
    QVERIFY(found.qt);
    QVERIFY(found.own);
    // UTF-8 file names whatever locales the machine has (this one lacks Spain's, or the test
    // asked for it in vain).
    QCOMPARE(QByteArray(nl_langinfo(CODESET)), QByteArray("UTF-8"));
}

void SpanishDialogsTest::fileChooserIsSpanish() {
    TestProgramFolder folder(TestProgramFolder::Samples);
    QtDialogs dialogs;
    QStringList seen;
    inspectNextBox<QFileDialog>([&](QFileDialog* dialog) {
        seen << buttonText(dialog, QDialogButtonBox::Open)
             << buttonText(dialog, QDialogButtonBox::Cancel)
             << textOf<QLabel>(dialog, "lookInLabel") << textOf<QLabel>(dialog, "fileNameLabel")
             << textOf<QLabel>(dialog, "fileTypeLabel")
             // The "Type" column of the detail view; Qt's catalogue leaves this one out.
             << dialog->iconProvider()->type(QFileInfo(folder.path(QStringLiteral("\\clientes"))));
    });
    dialogs.OpenFile(QStringLiteral("Fotos|*.jpg;*.bmp"), QStringLiteral("Abrir Foto Original"),
                     folder.path(QString()));
    QCOMPARE(seen, (QStringList{"&Abrir", "Cancelar",
                                "Ver en:", "&Nombre de fichero:", "Ficheros de tipo:", "Carpeta"}));
}

void SpanishDialogsTest::colourChooserIsSpanish() {
    QtDialogs dialogs;
    const QStringList labels = {"Colores &básicos", "&Colores personalizados",
                                "&Añadir a los colores personalizados"};
    QStringList seen;
    inspectNextBox<QColorDialog>([&](QColorDialog* dialog) {
        seen << buttonText(dialog, QDialogButtonBox::Ok)
             << buttonText(dialog, QDialogButtonBox::Cancel) << dialog->windowTitle();
        for (const QString& label : labels) {
            seen << (hasChildWithText(dialog, label) ? label : QStringLiteral("<missing>"));
        }
    });
    QVERIFY(!dialogs.ChooseColour(Colour(0x00FF0000)).has_value());
    QCOMPARE(seen, QStringList({"Aceptar", "Cancelar", "Selecciona color"}) + labels);
}

void SpanishDialogsTest::printSetupIsSpanish() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    QtPrinter printer;
    // A PDF file, never a real printer, even though the dialog is only cancelled.
    printer.device().setOutputFormat(QPrinter::PdfFormat);
    printer.device().setOutputFileName(folder.path(QStringLiteral("\\prueba.pdf")));
    QtDialogs dialogs;
    QStringList seen;
    inspectNextBox<QPrintDialog>([&](QPrintDialog* dialog) {
        seen << buttonText(dialog, QDialogButtonBox::Ok)
             << buttonText(dialog, QDialogButtonBox::Cancel)
             << textOf<QPushButton>(dialog, "properties")
             // The "Options" page: the double-sided choices are ours, Qt's catalogue lacks them.
             << textOf<QRadioButton>(dialog, "noDuplex")
             << textOf<QRadioButton>(dialog, "duplexLong")
             << textOf<QRadioButton>(dialog, "duplexShort")
             << textOf<QRadioButton>(dialog, "pagesRadioButton");
    });
    QVERIFY(!dialogs.PrinterSetup(printer));
    QCOMPARE(seen, (QStringList{"Im&primir", "Cancelar", "P&ropiedades", "Desactivada",
                                "Encuadernación por el lado largo",
                                "Encuadernación por el lado corto", "Páginas"}));
    QVERIFY(!folder.exists(QStringLiteral("\\prueba.pdf")));
}

void SpanishDialogsTest::contextMenuAndNumbersAreSpanish() {
    QLineEdit edit(QStringLiteral("Ana"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            entries << action->text().section(QLatin1Char('\t'), 0, 0);
        }
    }
    QCOMPARE(entries, (QStringList{"&Deshacer", "&Rehacer", "Cor&tar", "&Copiar", "&Pegar",
                                   "Borrar", "Seleccionar todo"}));
    QCOMPARE(QLocale().toString(0.5), QStringLiteral("0,5"));
    // The dialogs' dates and sizes follow the system locale.
    QCOMPARE(QLocale::system().language(), QLocale::Spanish);
    QCOMPARE(QLocale::system().monthName(12, QLocale::ShortFormat), QStringLiteral("dic"));
    QCOMPARE(QLocale::system().toString(1.5), QStringLiteral("1,5"));
    // The C library still reads numbers with a point, whatever the locale.
    QCOMPARE(std::strtod("0.5", nullptr), 0.5);
}

int main(int argc, char* argv[]) {
    useSpanishSystemLocale();
    QApplication app(argc, argv);
    SpanishDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_spanish_dialogs.moc"
