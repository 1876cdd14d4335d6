#pragma once

#include <QString>

class QObject;

// Every modal interaction of the program goes through this interface: message
// boxes, yes/no questions and the folder and file choosers. The application
// installs the Qt implementation; tests install a scripted one that records the
// texts and answers without ever blocking.
class Prompter
{
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    // Shows a modal message box and returns the button the user chose.
    virtual Answer ask(const QString& title, const QString& text,
                       Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;

    // Runs a fully configured modal dialog (a QDialog) and returns whether it
    // was accepted. A scripted prompter drives the dialog instead of showing it.
    virtual bool runDialog(QObject& dialog) = 0;

    // Convenience for notes with only an OK button.
    void note(const QString& title, const QString& text, Icon icon = Icon::Information)
    {
        ask(title, text, Buttons::Ok, icon);
    }
};
