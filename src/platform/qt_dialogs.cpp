#include "platform/qt_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

#include "platform/qt_printer.h"

namespace crinova {

MessageAnswer QtDialogs::MsgBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                const QString& title) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
    }
    if (buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == static_cast<QAbstractButton*>(yes) ? MessageAnswer::Yes
                                                                         : MessageAnswer::No;
    }
    box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    box.exec();
    return MessageAnswer::Ok;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(title);
    QString shown = prompt;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    dialog.setLabelText(shown);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("Aceptar"));
    dialog.setCancelButtonText(QStringLiteral("Cancelar"));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
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
    return QFileDialog::getOpenFileName(parent_, title, initialFolder, toQtFilter(filter));
}

std::optional<Colour> QtDialogs::ChooseColour(Colour initial) {
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(toPixel(initial)), parent_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return toColour(chosen.rgb());
}

bool QtDialogs::PrinterSetup(Printer& printer) {
    auto* qtPrinter = dynamic_cast<QtPrinter*>(&printer);
    if (!qtPrinter) {
        return false;
    }
    QPrintDialog dialog(&qtPrinter->device(), parent_);
    dialog.setWindowTitle(QStringLiteral("Configurar Impresora"));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace crinova
