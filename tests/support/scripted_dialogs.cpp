#include "scripted_dialogs.h"

namespace crinova::test {

MessageAnswer ScriptedDialogs::MsgBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                      const QString& title) {
    asked.push_back({QStringLiteral("MsgBox"), text, title, icon, buttons, {}});
    if (onMessage) {
        onMessage(asked.back());
    }
    if (messageAnswers.empty()) {
        ++unanswered;
        return buttons == MessageButtons::Ok            ? MessageAnswer::Ok
               : buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel
                                                        : MessageAnswer::No;
    }
    const MessageAnswer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

MessageAnswer ScriptedDialogs::MsgBoxBeside(const QString& text, MessageButtons buttons,
                                            MessageIcon icon, const QString& title,
                                            const QRect& keepVisible) {
    keptVisible.push_back(keepVisible);
    return MsgBox(text, buttons, icon, title);
}

QString ScriptedDialogs::InputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
    asked.push_back({QStringLiteral("InputBox"), prompt, title, MessageIcon::None,
                     MessageButtons::Ok, defaultText});
    if (textAnswers.empty()) {
        ++unanswered;
        return {};
    }
    const QString answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::OpenFile(const QString& filter, const QString& title,
                                  const QString& initialFolder) {
    asked.push_back({QStringLiteral("OpenFile"), filter, title, MessageIcon::None,
                     MessageButtons::Ok, initialFolder});
    if (textAnswers.empty()) {
        ++unanswered;
        return {};
    }
    const QString answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::ChooseFolder(const QString& title, const QString& initialFolder) {
    const QString answer = OpenFile(QString(), title, initialFolder);
    asked.back().kind = QStringLiteral("ChooseFolder");
    return answer;
}

std::optional<Colour> ScriptedDialogs::ChooseColour(Colour) {
    asked.push_back(
        {QStringLiteral("ChooseColour"), {}, {}, MessageIcon::None, MessageButtons::Ok, {}});
    if (colourAnswers.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    const std::optional<Colour> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::PrinterSetup(Printer&) {
    asked.push_back(
        {QStringLiteral("PrinterSetup"), {}, {}, MessageIcon::None, MessageButtons::Ok, {}});
    if (printerAnswers.empty()) {
        ++unanswered;
        return false;
    }
    const bool answer = printerAnswers.front();
    printerAnswers.pop_front();
    return answer;
}

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const Asked& question : asked) {
        if (question.kind == QLatin1String("MsgBox")) {
            texts << question.text;
        }
    }
    return texts;
}

}  // namespace crinova::test
