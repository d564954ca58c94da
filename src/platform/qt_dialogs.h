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
    MessageAnswer MsgBoxBeside(const QString& text, MessageButtons buttons, MessageIcon icon,
                               const QString& title, const QRect& keepVisible) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString OpenFile(const QString& filter, const QString& title,
                     const QString& initialFolder) override;
    QString ChooseFolder(const QString& title, const QString& initialFolder) override;
    std::optional<Colour> ChooseColour(Colour initial) override;
    bool PrinterSetup(Printer& printer) override;

    // "Description|*.a;*.b|..." as Qt's "Description (*.a *.b);;...".
    static QString toQtFilter(const QString& filter);

    // Where a window of `size` (its frame included) stands clear of `keep` inside `screen`: to the
    // right of it, else to the left, else below, else above, a gap of kClearGap away and level
    // with its middle as far as the screen allows; where no side has room, at the screen's
    // bottom-right corner, which hides the least of `keep` that a corner can.
    static constexpr int kClearGap = 12;
    static QPoint placedClearOf(QSize size, const QRect& keep, const QRect& screen);

  private:
    QWidget* owner() const;
    MessageAnswer askMessage(const QString& text, MessageButtons buttons, MessageIcon icon,
                             const QString& title, const QRect& keepVisible);

    QPointer<QWidget> parent_;
};

}  // namespace crinova
