#include "EditorFixture.h"

#include "EditorActions.h"
#include "ElementList.h"
#include "Settings.h"

#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QListWidget>

namespace {

class EditorShellTest : public EditorWindowFixture
{
protected:
    QAction* action(EditorActions::Command command) const { return window->actions().action(command); }

    // Opens a menu of the menu bar and clicks its entry, as the user does.
    void choose(const char* menuName, QAction* entry)
    {
        QMenu* menu = find<QMenu>(menuName);
        menu->popup(window->mapToGlobal(QPoint(20, 20)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }

    // Drops the local path onto the window, as a file manager does.
    void drop(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPointF at(window->width() / 2.0, window->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
    }
};

} // namespace

TEST_F(EditorShellTest, AMenuEntryItsShortcutAndItsButtonRunTheSameCommand)
{
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    enum Route { Menu, Shortcut, Button };
    const QString file = skin.filePath(QStringLiteral("mainmenult.ini"));
    int x = ReadIni(file, "home", "x", {}).toInt();
    for (Route route : {Menu, Shortcut, Button}) {
        SCOPED_TRACE(route);
        select(0);
        window->MoveO_Click();
        ++x;
        switch (route) {
        case Menu: choose("FileMenu", action(EditorActions::Save)); break;
        // In a text field too, which would keep Ctrl+S to itself.
        case Shortcut: QTest::keyClick(find<QLineEdit>("txtX"), Qt::Key_S, Qt::ControlModifier); break;
        case Button: QTest::mouseClick(find<QPushButton>("BTNSave"), Qt::LeftButton); break;
        }
        EXPECT_EQ(ReadIni(file, "home", "x", {}), QString::number(x));
        EXPECT_FALSE(changed());
    }
}

TEST_F(EditorShellTest, AClickInTheHistoryTakesTheScreenToThatState)
{
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    const QRectF home = pixels(0), win = pixels(11);
    select(0);
    window->MoveO_Click();
    select(11);
    window->MoveS_Click();
    auto* history = find<QListWidget>("HistoryView");
    ASSERT_EQ(history->model()->rowCount(), 3);
    const auto click = [&](int row) {
        QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                          history->visualRect(history->model()->index(row, 0)).center());
    };
    click(0);
    EXPECT_EQ(pixels(0), home);
    EXPECT_EQ(pixels(11), win);
    EXPECT_FALSE(changed());
    click(1);
    EXPECT_EQ(pixels(0), home.translated(1, 0));
    click(2);
    EXPECT_EQ(pixels(11), win.translated(0, 1));

    // A new step after going back replaces the steps ahead, row and text.
    click(0);
    select(1);
    window->MoveO_Click();
    ASSERT_EQ(history->count(), 2);
    EXPECT_EQ(history->item(1)->text(), QStringLiteral("speech verschieben"));
}

TEST_F(EditorShellTest, ADroppedSkinOpensAfterTheSaveQuestion)
{
    using A = Prompter::Answer;
    const struct { const char* name; QString dropped; A answer; bool opens; } rows[] = {
        {"folder, Cancel keeps the old one", "", A::Cancel, false},
        {"folder, No", "", A::No, true},
        {"a file inside it", "mainmenult.ini", A::No, true},
        {"a path that is gone", "missing/x.ini", A::No, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QTemporaryDir second;
        copySkin(second.path());
        forget();
        ASSERT_TRUE(window->openSkinFolder(skin.path()));
        select(0);
        window->MoveO_Click();
        prompter.shown.clear();
        prompter.answer(r.answer);
        drop(r.dropped.isEmpty() ? second.path() : second.filePath(r.dropped));
        const bool asked = !prompter.shown.isEmpty();
        EXPECT_EQ(asked, r.opens || r.answer == A::Cancel);
        const QString shown = QDir::toNativeSeparators(r.opens ? second.path() : skin.path());
        EXPECT_EQ(state.SkinFolder, shown + QDir::separator());
        EXPECT_EQ(changed(), !r.opens);
        // The folder opened last heads Zuletzt geöffnet.
        EXPECT_EQ(Settings::readRecentFolders(Settings::filePath(state.AppPath)).value(0), shown);
    }
    QMenu* menu = find<QMenu>("RecentMenu");
    menu->popup(window->mapToGlobal(QPoint(20, 20)));
    const QList<QAction*> recent = menu->actions();
    ASSERT_EQ(recent.size(), 3) << "each skin once";
    EXPECT_TRUE(recent[0]->isEnabled());
    EXPECT_FALSE(recent.last()->isEnabled()) << "the dropped folders are gone";
    menu->close();
}

TEST_F(EditorShellTest, DeployingWaitsForASkinAndSendsItsFolder)
{
    QStringList calls;
    window->setDeployOpener([&](QWidget*, const QString& folder, bool dryRun) {
        calls << folder + (dryRun ? QStringLiteral(" dry") : QString());
        return QStringLiteral("1 Datei übertragen");
    });
    EXPECT_FALSE(action(EditorActions::Deploy)->isEnabled());
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    ASSERT_TRUE(action(EditorActions::Deploy)->isEnabled());
    QTest::keyClick(view(), Qt::Key_T, Qt::ControlModifier);
    choose("ToolsMenu", action(EditorActions::DeployDryRun));
    EXPECT_EQ(calls, QStringList({state.SkinFolder, state.SkinFolder + QStringLiteral(" dry")}));
    EXPECT_EQ(find<QLabel>("LBLStatus")->text(), QStringLiteral("1 Datei übertragen"));
    window->setDeployOpener({});
    EXPECT_FALSE(action(EditorActions::Deploy)->isEnabled()) << "no way to the device";
}

TEST_F(EditorShellTest, TheDocksComeBackAsTheyWereLeft)
{
    auto* history = find<QDockWidget>("HistoryDock");
    auto* findings = find<QDockWidget>("FindingsDock");
    history->toggleViewAction()->trigger();
    findings->setFloating(true);
    window->close();
    window = std::make_unique<frmTivaro>(state);
    window->show();
    EXPECT_FALSE(find<QDockWidget>("HistoryDock")->isVisible());
    EXPECT_TRUE(find<QDockWidget>("FindingsDock")->isFloating());
}

TEST_F(EditorShellTest, SperrenLocksEverySelectedElementUntilEntsperren)
{
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    doc().setSelection({0, 1}, 0);
    choose("EditMenu", action(EditorActions::Lock));
    auto* list = find<ElementList>("ElementList");
    EXPECT_TRUE(list->isLocked(0) && list->isLocked(1) && !list->isLocked(2));
    window->MoveO_Click();
    EXPECT_FALSE(changed()) << "locked elements stay";
    doc().setSelection({1}, 1);
    choose("EditMenu", action(EditorActions::Unlock));
    EXPECT_TRUE(list->isLocked(0));
    EXPECT_FALSE(list->isLocked(1));
    window->MoveO_Click();
    EXPECT_TRUE(changed());
}
