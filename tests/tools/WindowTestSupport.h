#pragma once

#include "AppState.h"
#include "ScriptedPrompter.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
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
        state.AppPath = dir.path() + QDir::separator();
        state.prompter = &prompter;
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList texts() const
    {
        QStringList all;
        for (const auto& shown : prompter.shown)
            all << shown.text;
        return all;
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    AppState state;
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

// Copies a folder tree file by file.
inline void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
}
