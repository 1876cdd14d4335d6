#pragma once

#include "Prompter.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

// A prompter for tests: records every message and answers from a script.
// Unscripted questions get the neutral answer (Ok, No for yes/no, Cancel when
// the question offers it), and an unscripted dialog is cancelled, so no test
// ever blocks.
class ScriptedPrompter : public Prompter
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Buttons buttons;
        Icon icon;
    };

    Answer ask(const QString& title, const QString& text, Buttons buttons, Icon icon) override;
    bool runDialog(QObject& dialog) override;

    // Answers for the next questions, in order.
    void answer(Answer a) { answers.push_back(a); }
    // Handlers for the next dialogs, in order; each returns whether it accepted.
    void onDialog(std::function<bool(QObject&)> handler) { dialogs.push_back(std::move(handler)); }

    QList<Shown> shown;
    // The texts shown, in order.
    QStringList texts() const;
    int dialogsRun = 0;

private:
    std::deque<Answer> answers;
    std::deque<std::function<bool(QObject&)>> dialogs;
};
