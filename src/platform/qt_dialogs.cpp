#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

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

// A message box that, once it has its size, moves clear of a part of the screen.
class PlacedMessageBox : public QMessageBox {
  public:
    PlacedMessageBox(QWidget* parent, const QRect& keep) : QMessageBox(parent), keep_(keep) {}

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // sizes the box
        if (keep_.isValid() && screen()) {
            // The frame is not known before the window is mapped: room for a usual one.
            const QMargins frame(4, 28, 4, 4);
            const QPoint at = QtDialogs::placedClearOf(size().grownBy(frame), keep_,
                                                       screen()->availableGeometry());
            move(at);  // a window's position is its frame's
        }
    }

  private:
    QRect keep_;
};

}  // namespace

QPoint QtDialogs::placedClearOf(QSize size, const QRect& keep, const QRect& screen) {
    const auto within = [](int value, int low, int high) {
        return std::max(low, std::min(value, high));
    };
    const int centreX = within(keep.center().x() - size.width() / 2, screen.left(),
                               screen.right() + 1 - size.width());
    const int centreY = within(keep.center().y() - size.height() / 2, screen.top(),
                               screen.bottom() + 1 - size.height());
    const QPoint candidates[] = {
        {keep.right() + 1 + kClearGap, centreY},
        {keep.left() - kClearGap - size.width(), centreY},
        {centreX, keep.bottom() + 1 + kClearGap},
        {centreX, keep.top() - kClearGap - size.height()},
    };
    for (const QPoint& at : candidates) {
        if (screen.contains(QRect(at, size))) {
            return at;
        }
    }
    return {screen.right() + 1 - size.width(), screen.bottom() + 1 - size.height()};
}

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
    return askMessage(text, buttons, icon, title, {});
}

MessageAnswer QtDialogs::MsgBoxBeside(const QString& text, MessageButtons buttons, MessageIcon icon,
                                      const QString& title, const QRect& keepVisible) {
    return askMessage(text, buttons, icon, title, keepVisible);
}

MessageAnswer QtDialogs::askMessage(const QString& text, MessageButtons buttons, MessageIcon icon,
                                    const QString& title, const QRect& keepVisible) {
    QPointer<QMessageBox> box = new PlacedMessageBox(owner(), keepVisible);
    box->setWindowTitle(title);
    // Names and paths in the text are the stylist's data, never markup.
    box->setTextFormat(Qt::PlainText);
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
    if (buttons == MessageButtons::Ok) {
        box->addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
        runModal(box);
        delete box;
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box->addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
    QPushButton* no = box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton* cancel = buttons == MessageButtons::YesNoCancel
                              ? box->addButton(QStringLiteral("&Cancelar"), QMessageBox::RejectRole)
                              : nullptr;
    box->setDefaultButton(buttons == MessageButtons::YesNoDefaultNo ? no : yes);
    runModal(box);
    const QAbstractButton* clicked = box ? box->clickedButton() : nullptr;
    delete box;
    if (clicked && clicked == yes) {
        return MessageAnswer::Yes;
    }
    return cancel && clicked != no ? MessageAnswer::Cancel : MessageAnswer::No;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    QPointer<QInputDialog> dialog = new QInputDialog(owner());
    dialog->setWindowTitle(title);
    QString shown = prompt;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    dialog->setLabelText(shown);
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }
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
