#pragma once

#include <QRect>
#include <QString>
#include <optional>

#include "platform/colour.h"

namespace crinova {

class Printer;

enum class MessageIcon { None, Information, Critical, Question, Exclamation };
// YesNo answers Sí by default; YesNoDefaultNo, for a question whose Sí cannot be undone, No;
// YesNoCancel adds "Cancelar", which also answers a box closed without a choice.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Everything modal the program asks the stylist goes through here, so that tests can answer it.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The text is shown as it is written, never read as markup: it often carries a client's name.
    virtual MessageAnswer MsgBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                 const QString& title) = 0;

    // As MsgBox, with the box placed clear of `keepVisible` (screen pixels) as far as the screen
    // allows, so that the stylist sees what the question is about.
    virtual MessageAnswer MsgBoxBeside(const QString& text, MessageButtons buttons,
                                       MessageIcon icon, const QString& title,
                                       const QRect& keepVisible) {
        (void)keepVisible;
        return MsgBox(text, buttons, icon, title);
    }

    // The typed text, or an empty text when the stylist cancels.
    virtual QString InputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;

    // `filter` is written "Description|*.a;*.b" (pairs separated by "|"); answers the chosen file's
    // full path, or an empty text when the stylist cancels.
    virtual QString OpenFile(const QString& filter, const QString& title,
                             const QString& initialFolder) = 0;

    // A folder chosen to write into (a USB stick); an empty text when the stylist cancels.
    virtual QString ChooseFolder(const QString& title, const QString& initialFolder) = 0;

    // The chosen colour, or nothing when the stylist cancels.
    virtual std::optional<Colour> ChooseColour(Colour initial) = 0;

    // The printer set-up dialog; answers whether the stylist accepted it.
    virtual bool PrinterSetup(Printer& printer) = 0;
};

}  // namespace crinova
