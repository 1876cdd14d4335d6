#include "ScriptedPrompter.h"

Prompter::Answer ScriptedPrompter::ask(const QString& title, const QString& text, Buttons buttons, Icon icon)
{
    shown.append({title, text, buttons, icon});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
    default: return Answer::Ok;
    }
}

bool ScriptedPrompter::runDialog(QObject& dialog)
{
    ++dialogsRun;
    if (dialogs.empty())
        return false;
    auto handler = std::move(dialogs.front());
    dialogs.pop_front();
    return handler(dialog);
}

QStringList ScriptedPrompter::texts() const
{
    QStringList all;
    for (const Shown& s : shown)
        all << s.text;
    return all;
}
