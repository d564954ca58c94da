#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

namespace crinova {

// The real dialogs: Qt's standard message, input, file, colour and print dialogs. Each box belongs
// to the window that is active when it is asked for (the dialog the stylist is working in), or to
// `parent`, the main window, when none is.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer MsgBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                         const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString OpenFile(const QString& filter, const QString& title,
                     const QString& initialFolder) override;
    QString ChooseFolder(const QString& title, const QString& initialFolder) override;
    std::optional<Colour> ChooseColour(Colour initial) override;
    bool PrinterSetup(Printer& printer) override;

    // "Description|*.a;*.b|..." as Qt's "Description (*.a *.b);;...".
    static QString toQtFilter(const QString& filter);

  private:
    QWidget* owner() const;

    QPointer<QWidget> parent_;
};

}  // namespace crinova
