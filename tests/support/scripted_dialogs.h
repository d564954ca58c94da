#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/dialogs.h"

namespace crinova::test {

// Answers the program's modal questions as a test tells it to, and records every question.
class ScriptedDialogs : public Dialogs {
  public:
    struct Asked {
        QString kind;  // "MsgBox", "InputBox", "OpenFile", "ChooseFolder", "ChooseColour", ...
        QString text;  // message, prompt or filter
        QString title;
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        QString initialFolder;
    };

    // Queued answers, used in order; a question with no queued answer of its kind gets the
    // harmless default (OK / No / cancel) and is counted in `unanswered`.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<QString> textAnswers;  // input boxes and file and folder choosers
    std::deque<std::optional<Colour>> colourAnswers;
    std::deque<bool> printerAnswers;

    std::vector<Asked> asked;
    // What each message box asked beside something was to leave in sight (MsgBoxBeside).
    std::vector<QRect> keptVisible;
    // Runs as each message box is asked, before it is answered (to look at what it is shown over).
    std::function<void(const Asked&)> onMessage;
    int unanswered = 0;

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

    // The texts of the message boxes shown, in order.
    QStringList messages() const;
};

}  // namespace crinova::test
