#include "FolderPaths.h"
#include "ScriptedPrompter.h"
#include "cSHFolder.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "QtPrint.h"

namespace {

// A small folder tree: Skins/{Day,Night}, Skins/readme.txt, Other.
class FolderPicker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        for (const char* dir : {"Skins/Day", "Skins/Night", "Other"})
            ASSERT_TRUE(QDir(tmp.path()).mkpath(QString::fromLatin1(dir)));
        QFile readme(path("Skins/readme.txt"));
        ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    }

    QString path(const QString& relative) const
    {
        return QDir::toNativeSeparators(tmp.path() + u'/' + relative);
    }

    // Runs one browse; the script sees the shown browser window.
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

template<typename T>
T* part(QDialog& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QFileSystemModel* modelOf(QDialog& dialog)
{
    return qobject_cast<QFileSystemModel*>(part<QTreeView>(dialog, "FolderTree")->model());
}

QString selectedIn(QDialog& dialog)
{
    auto* tree = part<QTreeView>(dialog, "FolderTree");
    return QDir::toNativeSeparators(modelOf(dialog)->filePath(tree->currentIndex()));
}

// Clicks the entry of path in the tree as a user would.
void clickEntry(QDialog& dialog, const QString& path)
{
    auto* tree = part<QTreeView>(dialog, "FolderTree");
    const QModelIndex index = modelOf(dialog)->index(QDir::fromNativeSeparators(path));
    ASSERT_TRUE(index.isValid()) << path.toStdString();
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        tree->expand(up);
    tree->scrollTo(index);
    const QRect rect = tree->visualRect(index);
    ASSERT_FALSE(rect.isEmpty()) << path.toStdString();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

void click(QDialog& dialog, const char* button)
{
    QTest::mouseClick(part<QPushButton>(dialog, button), Qt::LeftButton);
}

// Names below folder as the tree shows them, once it has listed at least count.
QStringList namesBelow(QDialog& dialog, const QString& folder, int count)
{
    QFileSystemModel* model = modelOf(dialog);
    const QModelIndex parent = model->index(QDir::fromNativeSeparators(folder));
    part<QTreeView>(dialog, "FolderTree")->expand(parent);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(parent) >= count; }));
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row)
        names << model->index(row, 0, parent).data().toString();
    names.sort();
    return names;
}

} // namespace

TEST_F(FolderPicker, OpeningAppliesTheSettingsAndPreselectsTheDefaultPath)
{
    folder.setCaption(QStringLiteral("Skin-Ordner"));
    folder.setStatusTextArea(true);
    folder.setStatusText(QStringLiteral("Bitte wählen"));
    folder.setNewDialog(true);
    // The editor hands over its skin folder with a trailing separator.
    folder.setDefaultPath(path("Skins/Night") + QDir::separator());
    QSignalSpy initialized(&folder, &cSHFolder::Initialized);
    QSignalSpy selections(&folder, &cSHFolder::SelectionChanged);

    QWidget* openWindow = nullptr;
    const QString result = browse([&](QDialog& d) {
        openWindow = folder.hwnd();
        EXPECT_EQ(d.windowTitle(), "Skin-Ordner");
        EXPECT_EQ(part<QLabel>(d, "TitleLabel")->text(), "Wählen Sie einen Ordner aus");
        EXPECT_TRUE(part<QLabel>(d, "StatusLabel")->isVisible());
        EXPECT_EQ(part<QLabel>(d, "StatusLabel")->text(), "Bitte wählen");
        EXPECT_FALSE(part<QLineEdit>(d, "EditBox")->isVisible());
        EXPECT_EQ(selectedIn(d), path("Skins/Night"));
        EXPECT_TRUE(part<QPushButton>(d, "OKButton")->isEnabled());
        click(d, "OKButton");
    });

    EXPECT_NE(openWindow, nullptr);
    EXPECT_EQ(folder.hwnd(), nullptr);
    EXPECT_EQ(initialized.count(), 1);
    ASSERT_GE(selections.count(), 1);
    EXPECT_EQ(selections.first().at(0).toString(), path("Skins/Night"));
    EXPECT_EQ(result, path("Skins/Night"));
    EXPECT_EQ(folder.DisplayName(), "Night");
}

TEST_F(FolderPicker, DefaultPathWinsOverTheSpecialFolder)
{
    folder.setDefaultPIDL(40); // the home folder
    folder.setDefaultPath(path("Other"));
    browse([&](QDialog& d) { EXPECT_EQ(selectedIn(d), path("Other")); });

    folder.setDefaultPath(QString());
    browse([&](QDialog& d) { EXPECT_EQ(selectedIn(d), QDir::toNativeSeparators(QDir::homePath())); });
}

TEST_F(FolderPicker, OkIsEnabledOnlyInsideTheValidFolder)
{
    // Letter case does not matter, as on the file systems skins come from.
    folder.setValidFolder(path("SKINS"));
    const struct {
        const char* entry;
        bool okEnabled;
    } cases[] = {{"Skins/Night", true}, {"Other", false}, {"Skins", true}, {"Skins/Day", true}};
    for (const auto& c : cases) {
        const QString entry = path(QString::fromLatin1(c.entry));
        const QString result = browse([&](QDialog& d) {
            clickEntry(d, entry);
            EXPECT_EQ(selectedIn(d), entry);
            EXPECT_EQ(part<QPushButton>(d, "OKButton")->isEnabled(), c.okEnabled) << c.entry;
            click(d, "OKButton");
        });
        EXPECT_EQ(result, c.okEnabled ? entry : QString()) << c.entry;
    }
}

TEST_F(FolderPicker, CancelReturnsNothingAndKeepsTheLastDisplayName)
{
    folder.setDefaultPath(path("Skins/Day"));
    ASSERT_EQ(browse([&](QDialog& d) { click(d, "OKButton"); }), path("Skins/Day"));

    const std::function<void(QDialog&)> cancels[] = {
        [](QDialog& d) { click(d, "CancelButton"); },
        [](QDialog& d) { QTest::keyClick(part<QTreeView>(d, "FolderTree"), Qt::Key_Escape); },
        [](QDialog&) {}, // closed without choosing
    };
    for (const auto& cancel : cancels) {
        const QString result = browse([&](QDialog& d) {
            clickEntry(d, path("Other"));
            cancel(d);
        });
        EXPECT_EQ(result, QString());
        EXPECT_EQ(folder.DisplayName(), "Day");
    }
}

TEST_F(FolderPicker, SelectionChangedReportsEveryChoiceAndMayWriteTheStatusLine)
{
    folder.setStatusTextArea(true);
    folder.setStatusText(QStringLiteral("Anfang"));
    folder.setDefaultPath(path("Skins"));
    QStringList reported;
    // The editor's handler: a status line that tells what was chosen.
    QObject::connect(&folder, &cSHFolder::SelectionChanged, &folder, [&](const QString& chosen) {
        reported << chosen;
        folder.setStatusText(chosen.isEmpty() ? QString() : chosen + " wurde gewählt.");
    });

    browse([&](QDialog& d) {
        ASSERT_EQ(namesBelow(d, path("Skins"), 2), QStringList({"Day", "Night"}));
        clickEntry(d, path("Skins/Night"));
        EXPECT_EQ(part<QLabel>(d, "StatusLabel")->text(), path("Skins/Night") + " wurde gewählt.");
        QTest::keyClick(part<QTreeView>(d, "FolderTree"), Qt::Key_Up);
        EXPECT_EQ(part<QLabel>(d, "StatusLabel")->text(), path("Skins/Day") + " wurde gewählt.");
    });

    EXPECT_EQ(reported, QStringList({path("Skins"), path("Skins/Night"), path("Skins/Day")}));
    // Texts set while the browser is open are not kept for the next one.
    EXPECT_EQ(folder.StatusText(), "Anfang");
}

TEST_F(FolderPicker, FilesAreListedAndChosenOnlyWhenIncluded)
{
    folder.setDefaultPath(path("Skins/Night"));
    browse([&](QDialog& d) {
        EXPECT_EQ(namesBelow(d, path("Skins"), 2), QStringList({"Day", "Night"}));
    });

    folder.setIncludeFiles(true);
    const QString result = browse([&](QDialog& d) {
        EXPECT_EQ(namesBelow(d, path("Skins"), 3), QStringList({"Day", "Night", "readme.txt"}));
        clickEntry(d, path("Skins/readme.txt"));
        click(d, "OKButton");
    });
    EXPECT_EQ(result, path("Skins/readme.txt"));
    EXPECT_EQ(folder.DisplayName(), "readme.txt");
}

TEST_F(FolderPicker, TypedInvalidPathRaisesValidationFailed)
{
    folder.setEditBox(true);
    folder.setDefaultPath(path("Skins"));
    QStringList invalid;
    const struct {
        bool cancel;
        bool staysOpen;
    } cases[] = {{true, false}, {false, true}};
    for (const auto& c : cases) {
        invalid.clear();
        auto handler = QObject::connect(&folder, &cSHFolder::ValidationFailed, &folder,
                               [&](const QString& typed, bool& cancel) {
                                   invalid << typed;
                                   cancel = c.cancel;
                               });
        const QString result = browse([&](QDialog& d) {
            auto* edit = part<QLineEdit>(d, "EditBox");
            EXPECT_EQ(edit->text(), path("Skins"));
            edit->selectAll();
            QTest::keyClicks(edit, path("Gibtsnicht"));
            QTest::keyClick(edit, Qt::Key_Return);
            EXPECT_EQ(d.isVisible(), c.staysOpen);
            if (c.staysOpen) {
                // Corrected to a name inside the selected folder, then accepted.
                edit->selectAll();
                QTest::keyClicks(edit, QStringLiteral("Night"));
                QTest::keyClick(edit, Qt::Key_Return);
                EXPECT_FALSE(d.isVisible());
            }
        });
        QObject::disconnect(handler);
        EXPECT_EQ(invalid, QStringList{path("Gibtsnicht")});
        EXPECT_EQ(result, c.staysOpen ? path("Skins/Night") : QString());
    }
}

TEST_F(FolderPicker, TypedPathsMustBeFoldersInsideTheValidFolder)
{
    folder.setEditBox(true);
    folder.setValidFolder(path("Skins"));
    folder.setDefaultPath(path("Skins"));
    QStringList invalid;
    QObject::connect(&folder, &cSHFolder::ValidationFailed, &folder, [&](const QString& typed, bool& cancel) {
        invalid << typed;
        cancel = true;
    });
    for (const QString& typed : {path("Other"), path("Skins/readme.txt"), QStringLiteral("Skins")}) {
        const QString result = browse([&](QDialog& d) {
            auto* edit = part<QLineEdit>(d, "EditBox");
            edit->selectAll();
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        EXPECT_EQ(result, QString());
    }
    // A bare name is taken inside the selected folder, here Skins/Skins.
    EXPECT_EQ(invalid, QStringList({path("Other"), path("Skins/readme.txt"), QStringLiteral("Skins")}));
}

TEST_F(FolderPicker, NewDialogStyleMakesNewFoldersInTheSelectedOne)
{
    browse([&](QDialog& d) { EXPECT_FALSE(part<QPushButton>(d, "NewFolderButton")->isVisible()); });

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

TEST_F(FolderPicker, OneBrowseAtATimeAndOkCanBeForced)
{
    folder.setValidFolder(path("Skins"));
    folder.setDefaultPath(path("Other"));
    const QString result = browse([&](QDialog& d) {
        EXPECT_EQ(folder.BrowseForFolder(), QString());
        EXPECT_FALSE(part<QPushButton>(d, "OKButton")->isEnabled());
        folder.setOKEnabled(true);
        click(d, "OKButton");
    });
    EXPECT_EQ(prompter.dialogsRun, 1);
    EXPECT_EQ(result, path("Other"));
}

TEST_F(FolderPicker, RootLimitsWhatCanBeSelected)
{
    // The home folder as the top of the tree: a path elsewhere is not selected.
    folder.setDefaultPath(tmp.path());
    prompter.onDialog([&](QObject& o) {
        auto& d = dynamic_cast<QDialog&>(o);
        const bool inHome = tmp.path().startsWith(QDir::homePath() + u'/');
        EXPECT_EQ(selectedIn(d).isEmpty(), !inHome);
        return false;
    });
    EXPECT_EQ(folder.BrowseForFolder(nullptr, QStringLiteral("Wohin?"), 40), QString());
}

TEST_F(FolderPicker, CentresOnTheScreenRatherThanOverTheOwner)
{
    QWidget owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    for (const bool centre : {true, false}) {
        folder.setCenterDialog(centre);
        browse(
            [&](QDialog& d) {
                const QPoint offScreenCentre = d.frameGeometry().center() - d.screen()->geometry().center();
                EXPECT_EQ(offScreenCentre.manhattanLength() <= 2, centre) << offScreenCentre.x() << "," << offScreenCentre.y();
            },
            &owner);
    }
}
