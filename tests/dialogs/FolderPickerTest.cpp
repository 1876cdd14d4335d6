#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "cSHFolder.h"

#include <QDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

template<typename T>
T* part(QDialog& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}
QTreeView* tree(QDialog& d) { return part<QTreeView>(d, "FolderTree"); }
QFileSystemModel& modelOf(QDialog& d) { return *qobject_cast<QFileSystemModel*>(tree(d)->model()); }
QString selectedIn(QDialog& d) { return QDir::toNativeSeparators(modelOf(d).filePath(tree(d)->currentIndex())); }
void click(QDialog& d, const char* button) { QTest::mouseClick(part<QPushButton>(d, button), Qt::LeftButton); }

// Clicks the entry of path in the tree as a user would.
void clickEntry(QDialog& d, const QString& path)
{
    const QModelIndex index = modelOf(d).index(QDir::fromNativeSeparators(path));
    tree(d)->scrollTo(index);
    const QRect rect = tree(d)->visualRect(index);
    ASSERT_FALSE(rect.isEmpty()) << path.toStdString();
    QTest::mouseClick(tree(d)->viewport(), Qt::LeftButton, {}, rect.center());
}

// A small folder tree: Skins/{Day,Night}, Skins/readme.txt, Other.
class FolderPicker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* dir : {"Skins/Day", "Skins/Night", "Other"})
            ASSERT_TRUE(QDir(tmp.path()).mkpath(dir));
        writeFile(path("Skins/readme.txt"), "");
    }
    QString path(const QString& relative) const { return QDir::toNativeSeparators(tmp.path() + u'/' + relative); }

    // Runs one browse; the script works on the shown browser window.
    QString browse(std::function<void(QDialog&)> script, QWidget* owner = nullptr)
    {
        prompter.onDialog([script](QObject& o) {
            auto& dialog = dynamic_cast<QDialog&>(o);
            dialog.show();
            script(dialog);
            return dialog.result() == QDialog::Accepted;
        });
        return folder.BrowseForFolder(owner);
    }

    QTemporaryDir tmp;
    ScriptedPrompter prompter;
    cSHFolder folder{prompter};
};

} // namespace

TEST_F(FolderPicker, OpeningAppliesTheSettingsAndPreselectsTheDefaultPath)
{
    folder.setStatusTextArea(true);
    folder.setStatusText("Bitte wählen");
    folder.setDefaultPath(path("Skins/Night") + QDir::separator()); // the editor's folder ends with a separator
    folder.setDefaultPIDL(40); // the home folder, applied before the path
    QSignalSpy initialized(&folder, &cSHFolder::Initialized);
    const QString result = browse([&](QDialog& d) {
        EXPECT_EQ(folder.hwnd(), &d);
        EXPECT_EQ(part<QLabel>(d, "StatusLabel")->text(), "Bitte wählen");
        EXPECT_EQ(selectedIn(d), path("Skins/Night"));
        click(d, "OKButton");
    });
    EXPECT_EQ(folder.hwnd(), nullptr);
    EXPECT_EQ(initialized.count(), 1);
    EXPECT_EQ(result, path("Skins/Night"));
    EXPECT_EQ(folder.DisplayName(), "Night");
}

TEST_F(FolderPicker, OkIsEnabledOnlyInsideTheValidFolder)
{
    folder.setValidFolder(path("SKINS")); // letter case does not matter
    // The caller may still enable OK by itself.
    const struct { const char* entry; bool okEnabled, callerEnables; } cases[] = {
        {"Skins/Night", true, false}, {"Other", false, false}, {"Skins", true, false}, {"Other", false, true}};
    for (const auto& c : cases) {
        const QString entry = path(c.entry);
        const QString result = browse([&](QDialog& d) {
            clickEntry(d, entry);
            EXPECT_EQ(selectedIn(d), entry);
            EXPECT_EQ(part<QPushButton>(d, "OKButton")->isEnabled(), c.okEnabled) << c.entry;
            EXPECT_EQ(folder.BrowseForFolder(), "") << "one browse at a time";
            if (c.callerEnables)
                folder.setOKEnabled(true);
            click(d, "OKButton");
        });
        EXPECT_EQ(result, c.okEnabled || c.callerEnables ? entry : QString()) << c.entry;
    }
}

TEST_F(FolderPicker, CancelReturnsNothingAndKeepsTheLastDisplayName)
{
    folder.setDefaultPath(path("Skins/Day"));
    ASSERT_EQ(browse([&](QDialog& d) { click(d, "OKButton"); }), path("Skins/Day"));
    const std::function<void(QDialog&)> cancels[] = {
        [](QDialog& d) { click(d, "CancelButton"); }, [](QDialog& d) { QTest::keyClick(tree(d), Qt::Key_Escape); }};
    for (const auto& cancel : cancels) {
        EXPECT_EQ(browse([&](QDialog& d) { clickEntry(d, path("Other")); cancel(d); }), "");
        EXPECT_EQ(folder.DisplayName(), "Day");
    }
}

TEST_F(FolderPicker, SelectionChangedReportsEveryChoiceAndMayWriteTheStatusLine)
{
    folder.setStatusTextArea(true);
    folder.setStatusText("Anfang");
    folder.setDefaultPath(path("Skins"));
    QStringList reported;
    // The editor's handler: the status line tells what was chosen.
    QObject::connect(&folder, &cSHFolder::SelectionChanged, &folder, [&](const QString& chosen) {
        reported << chosen;
        folder.setStatusText(chosen + " wurde gewählt.");
    });
    browse([&](QDialog& d) {
        const QModelIndex skins = modelOf(d).index(QDir::fromNativeSeparators(path("Skins")));
        tree(d)->expand(skins);
        ASSERT_TRUE(QTest::qWaitFor([&] { return modelOf(d).rowCount(skins) >= 2; }));
        EXPECT_EQ(modelOf(d).rowCount(skins), 2) << "folders only";
        clickEntry(d, path("Skins/Night"));
        QTest::keyClick(tree(d), Qt::Key_Up);
        EXPECT_EQ(part<QLabel>(d, "StatusLabel")->text(), path("Skins/Day") + " wurde gewählt.");
    });
    EXPECT_EQ(reported, QStringList({path("Skins"), path("Skins/Night"), path("Skins/Day")}));
    EXPECT_EQ(folder.StatusText(), "Anfang") << "texts set while open are not kept";
}

TEST_F(FolderPicker, TypedPathsThatCannotBeChosenRaiseValidationFailed)
{
    folder.setEditBox(true);
    folder.setValidFolder(path("Skins"));
    folder.setDefaultPath(path("Skins"));
    // Outside the valid folder, a file, a missing folder (once corrected instead of cancelled);
    // a bare name is taken inside the selected folder.
    const struct { QString typed; bool cancel; } cases[] = {
        {path("Gibtsnicht"), true}, {path("Gibtsnicht"), false}, {path("Other"), true},
        {path("Skins/readme.txt"), true}, {"Skins", true},
    };
    QStringList invalid;
    bool cancels = true;
    QObject::connect(&folder, &cSHFolder::ValidationFailed, &folder, [&](const QString& typed, bool& cancel) {
        invalid << typed;
        cancel = cancels;
    });
    for (const auto& c : cases) {
        invalid.clear();
        cancels = c.cancel;
        const QString result = browse([&](QDialog& d) {
            auto* edit = part<QLineEdit>(d, "EditBox");
            EXPECT_EQ(edit->text(), path("Skins"));
            for (const QString& text : {c.typed, QString("Night")}) {
                edit->selectAll();
                QTest::keyClicks(edit, text);
                QTest::keyClick(edit, Qt::Key_Return);
                if (!d.isVisible())
                    break;
            }
        });
        EXPECT_EQ(invalid, QStringList{c.typed});
        EXPECT_EQ(result, c.cancel ? QString() : path("Skins/Night"));
    }
}

TEST_F(FolderPicker, NewDialogStyleMakesNewFoldersInTheSelectedOne)
{
    folder.setNewDialog(true);
    folder.setDefaultPath(path("Other"));
    const QString result = browse([&](QDialog& d) {
        click(d, "NewFolderButton");
        EXPECT_EQ(selectedIn(d), path("Other/Neuer Ordner"));
        clickEntry(d, path("Other"));
        click(d, "NewFolderButton");
        click(d, "OKButton");
    });
    EXPECT_TRUE(QDir(path("Other/Neuer Ordner")).exists());
    EXPECT_EQ(result, path("Other/Neuer Ordner (2)"));
}
