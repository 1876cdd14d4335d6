#pragma once

#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// A program folder in a temporary folder with a scripted prompter.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        programFolder = dir.path() + QDir::separator();
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList texts() const { return prompter.texts(); }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    QString programFolder;
};

// The child named name; for control arrays the one whose "index" is index.
template<class T>
T* control(const QWidget& window, const QString& name, int index = -1)
{
    for (T* child : window.findChildren<T*>(name))
        if (index < 0 || child->property("index").toInt() == index)
            return child;
    return nullptr;
}

// Shows window and makes it the active one, so focus moves as for a user.
inline bool activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}
