#include "QtPrompter.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Acts on the modal window as soon as the modal loop runs.
void whenModal(std::function<void(QWidget&)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(*modal);
    });
}

} // namespace

TEST(QtPrompter, MessageBoxShowsTheTextsAndReportsTheButtonPressed)
{
    using B = Prompter::Buttons;
    using A = Prompter::Answer;
    const struct {
        B buttons;
        Prompter::Icon icon;
        QMessageBox::Icon qtIcon;
        int press; // a standard button, or 0 for the Escape key
        A expected;
    } cases[] = {
        {B::Ok, Prompter::Icon::Information, QMessageBox::Information, QMessageBox::Ok, A::Ok},
        {B::Ok, Prompter::Icon::None, QMessageBox::NoIcon, 0, A::Ok},
        {B::OkCancel, Prompter::Icon::Exclamation, QMessageBox::Warning, QMessageBox::Ok, A::Ok},
        {B::OkCancel, Prompter::Icon::Exclamation, QMessageBox::Warning, QMessageBox::Cancel, A::Cancel},
        {B::OkCancel, Prompter::Icon::Critical, QMessageBox::Critical, 0, A::Cancel},
        {B::YesNo, Prompter::Icon::Question, QMessageBox::Question, QMessageBox::Yes, A::Yes},
        {B::YesNo, Prompter::Icon::Question, QMessageBox::Question, QMessageBox::No, A::No},
        {B::YesNo, Prompter::Icon::Question, QMessageBox::Question, 0, A::No},
    };
    QtPrompter prompter;
    for (const auto& c : cases) {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttonCount = 0;
        whenModal([&](QWidget& w) {
            auto& box = dynamic_cast<QMessageBox&>(w);
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            buttonCount = int(box.buttons().size());
            if (c.press)
                QTest::mouseClick(box.button(QMessageBox::StandardButton(c.press)), Qt::LeftButton);
            else
                QTest::keyClick(&box, Qt::Key_Escape);
        });
        EXPECT_EQ(prompter.ask("Frage:", "Soll die Datei gespeichert werden?", c.buttons, c.icon), c.expected);
        EXPECT_EQ(title, "Frage:");
        EXPECT_EQ(text, "Soll die Datei gespeichert werden?");
        EXPECT_EQ(icon, c.qtIcon);
        EXPECT_EQ(buttonCount, c.buttons == B::Ok ? 1 : 2);
    }
}

TEST(QtPrompter, RunDialogReportsWhetherTheDialogWasAccepted)
{
    QtPrompter prompter;
    for (const bool accept : {true, false}) {
        QDialog dialog;
        whenModal([accept](QWidget& w) {
            auto& d = dynamic_cast<QDialog&>(w);
            accept ? d.accept() : d.reject();
        });
        EXPECT_EQ(prompter.runDialog(dialog), accept);
    }
    QObject notADialog;
    EXPECT_FALSE(prompter.runDialog(notADialog));
}
