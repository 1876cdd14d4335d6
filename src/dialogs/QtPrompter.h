#pragma once

#include "Prompter.h"

// The prompter of the running program: real modal Qt message boxes and dialogs,
// owned by whichever window is active.
class QtPrompter : public Prompter
{
public:
    Answer ask(const QString& title, const QString& text, Buttons buttons, Icon icon) override;
    // Runs dialog, which must be a QDialog, with exec(); anything else is not accepted.
    bool runDialog(QObject& dialog) override;
};
