#include "QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Acts on the modal window as soon as its loop runs.
void whenModal(std::function<void(QWidget&)> act)
{
    QTimer::singleShot(0, qApp, [act] { act(*QApplication::activeModalWidget()); });
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
        QMessageBox::StandardButton press; // NoButton: the Escape key
        A expected;
    } cases[] = {
        {B::Ok, Prompter::Icon::None, QMessageBox::NoIcon, QMessageBox::NoButton, A::Ok},
        {B::OkCancel, Prompter::Icon::Exclamation, QMessageBox::Warning, QMessageBox::Ok, A::Ok},
        {B::OkCancel, Prompter::Icon::Critical, QMessageBox::Critical, QMessageBox::NoButton, A::Cancel},
        {B::YesNo, Prompter::Icon::Question, QMessageBox::Question, QMessageBox::Yes, A::Yes},
        {B::YesNo, Prompter::Icon::Information, QMessageBox::Information, QMessageBox::NoButton, A::No},
        {B::YesNoCancel, Prompter::Icon::Question, QMessageBox::Question, QMessageBox::No, A::No},
        {B::YesNoCancel, Prompter::Icon::Question, QMessageBox::Question, QMessageBox::NoButton, A::Cancel},
    };
    QtPrompter prompter;
    for (const auto& c : cases) {
        QString texts;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenModal([&](QWidget& w) {
            auto& box = dynamic_cast<QMessageBox&>(w);
            texts = box.windowTitle() + '|' + box.text();
            icon = box.icon();
            if (c.press == QMessageBox::NoButton)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                QTest::mouseClick(box.button(c.press), Qt::LeftButton);
        });
        EXPECT_EQ(prompter.ask("Frage:", "Speichern?", c.buttons, c.icon), c.expected);
        EXPECT_EQ(texts, "Frage:|Speichern?");
        EXPECT_EQ(icon, c.qtIcon);
    }
}
