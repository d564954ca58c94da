#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

#include "platform/qt_printer.h"

namespace crinova {
namespace {

// Runs a box modal, then gives its owner the front again (a window manager may not). The owner may
// go while the box runs, taking the box with it; the answer is then a cancel.
template <typename Box>
int runModal(QPointer<Box>& box) {
    const QPointer<QWidget> owner = box->parentWidget();
    const int result = box->exec();
    if (owner && owner->isVisible()) {
        owner->raise();
        owner->activateWindow();
    }
    return box ? result : QDialog::Rejected;
}

}  // namespace

QWidget* QtDialogs::owner() const {
    // The window the stylist is working in asks; the box is centred on it and gives it back the
    // front when it closes. With none active (a redraw after the program lost the focus), the main
    // window.
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return parent_;
}

MessageAnswer QtDialogs::MsgBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                const QString& title) {
    QPointer<QMessageBox> box = new QMessageBox(owner());
    box->setWindowTitle(title);
    box->setText(text);
    switch (icon) {
        case MessageIcon::None:
            box->setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box->setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Critical:
            box->setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Question:
            box->setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Exclamation:
            box->setIcon(QMessageBox::Warning);
            break;
    }
    MessageAnswer answer = MessageAnswer::Ok;
    if (buttons == MessageButtons::YesNo) {
        QPushButton* yes = box->addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
        box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box->setDefaultButton(yes);
        runModal(box);
        answer = box && box->clickedButton() == static_cast<QAbstractButton*>(yes)
                     ? MessageAnswer::Yes
                     : MessageAnswer::No;
    } else {
        box->addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
        runModal(box);
    }
    delete box;
    return answer;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    QPointer<QInputDialog> dialog = new QInputDialog(owner());
    dialog->setWindowTitle(title);
    QString shown = prompt;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    dialog->setLabelText(shown);
    dialog->setTextValue(defaultText);
    dialog->setOkButtonText(QStringLiteral("Aceptar"));
    dialog->setCancelButtonText(QStringLiteral("Cancelar"));
    const QString typed = runModal(dialog) == QDialog::Accepted ? dialog->textValue() : QString();
    delete dialog;
    return typed;
}

QString QtDialogs::toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtDialogs::OpenFile(const QString& filter, const QString& title,
                            const QString& initialFolder) {
    QPointer<QFileDialog> dialog =
        new QFileDialog(owner(), title, initialFolder, toQtFilter(filter));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    const QString chosen =
        runModal(dialog) == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    delete dialog;
    return chosen;
}

QString QtDialogs::ChooseFolder(const QString& title, const QString& initialFolder) {
    QPointer<QFileDialog> dialog = new QFileDialog(owner(), title, initialFolder);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    const QString chosen =
        runModal(dialog) == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    delete dialog;
    return chosen;
}

std::optional<Colour> QtDialogs::ChooseColour(Colour initial) {
    QPointer<QColorDialog> dialog = new QColorDialog(QColor::fromRgb(toPixel(initial)), owner());
    std::optional<Colour> chosen;
    if (runModal(dialog) == QDialog::Accepted && dialog->selectedColor().isValid()) {
        chosen = toColour(dialog->selectedColor().rgb());
    }
    delete dialog;
    return chosen;
}

bool QtDialogs::PrinterSetup(Printer& printer) {
    auto* qtPrinter = dynamic_cast<QtPrinter*>(&printer);
    if (!qtPrinter) {
        return false;
    }
    QPointer<QPrintDialog> dialog = new QPrintDialog(&qtPrinter->device(), owner());
    dialog->setWindowTitle(QStringLiteral("Configurar Impresora"));
    const bool accepted = runModal(dialog) == QDialog::Accepted;
    delete dialog;
    return accepted;
}

}  // namespace crinova
