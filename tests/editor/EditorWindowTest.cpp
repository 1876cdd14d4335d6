#include "EditorFixture.h"

#include "Canvas.h"
#include "EditorActions.h"
#include "Finding.h"
#include "FolderBrowser.h"
#include "Ini.h"
#include "ScreenGallery.h"
#include "Settings.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

namespace {

class EditorWindowTest : public EditorWindowFixture
{
protected:
    // Makes a layout file impossible to replace.
    void block(const QString& folder, const QString& name)
    {
        ASSERT_TRUE(QFile::remove(folder + u'/' + name));
        ASSERT_TRUE(QDir(folder).mkdir(name));
    }
};

} // namespace

TEST_F(EditorWindowTest, NothingLoadsBeforeAFolderAndAFolderOnTheCommandLineOpensTheMainMenu)
{
    openScreen(QStringLiteral("Hauptmenu"));
    window->BTNSave_Click();
    EXPECT_FALSE(window->canvas().bitmap(0)->isVisible());
    EXPECT_TRUE(prompter.shown.isEmpty()) << "nothing is saved";
    EXPECT_FALSE(window->openSkinFolder(skin.filePath(QStringLiteral("missing"))));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_FALSE(state.LayoutLoaded);

    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    EXPECT_EQ(find<QComboBox>("ComboAnsicht")->currentText(), QStringLiteral("Hauptmenu"));
    EXPECT_EQ(activeSlot(), 11);
}

TEST_F(EditorWindowTest, TheSaveQuestionGuardsEveryActionThatWouldDropTheEdits)
{
    // Yes saves, No gives the edits up; Cancel and a failed save keep the
    // screen, its edits, the check boxes and the folder as they were.
    enum Action { OtherScreen, Thumbnail, Infobar, InfobarMenu, Dummys, Folder, Check, Close };
    using A = Prompter::Answer;
    const struct { Action action; A answer; bool block; } rows[] = {
        {OtherScreen, A::No, false}, {OtherScreen, A::Cancel, false}, {OtherScreen, A::Yes, true},
        {Thumbnail, A::No, false}, {Thumbnail, A::Cancel, false},
        {Infobar, A::Cancel, false}, {Infobar, A::Yes, true}, {InfobarMenu, A::Cancel, false}, {Dummys, A::Cancel, false}, {Dummys, A::Yes, true},
        {Folder, A::Yes, false}, {Folder, A::No, false}, {Folder, A::Cancel, false}, {Folder, A::Yes, true},
        {Check, A::Cancel, false}, {Check, A::Yes, true},
        {Close, A::Yes, false}, {Close, A::No, false}, {Close, A::Cancel, false}, {Close, A::Yes, true},
    };
    const QString map = QStringLiteral("Kartenansicht 1");
    QCheckBox* infobar = find<QCheckBox>("ChkInfobar");
    QCheckBox* dummys = find<QCheckBox>("ChkDummys");
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "action " << r.action << " answer " << int(r.answer) << " " << r.block);
        QTemporaryDir first, second;
        copySkin(first.path());
        copySkin(second.path());
        const QString file = first.filePath(QStringLiteral("mapviewlt.ini"));
        forget();
        window->show();
        infobar->setChecked(true);
        dummys->setChecked(false);
        ASSERT_TRUE(window->openSkinFolder(first.path()));
        openScreen(map);
        const QString storedX = ReadIni(file, "distance", "x", {});
        select(6); // "distance"
        window->MoveO_Click();
        const QRectF edited = pixels(6);
        if (r.block)
            block(first.path(), QStringLiteral("mapviewlt.ini"));
        const auto secondBefore = snapshot(second.path());
        prompter.shown.clear();
        prompter.answer(r.answer);
        switch (r.action) {
        case OtherScreen: openScreen(QStringLiteral("Hauptmenu")); break;
        case Thumbnail: QTest::mouseClick(window->gallery()->thumbnail("Hauptmenu"), Qt::LeftButton); break;
        case Infobar: QTest::mouseClick(infobar, Qt::LeftButton); break;
        case InfobarMenu: window->actions().action(EditorActions::Infobar)->trigger(); break;
        case Dummys: QTest::mouseClick(dummys, Qt::LeftButton); break;
        case Folder: window->openSkinFolder(second.path()); break;
        case Check: QTest::mouseClick(find<QPushButton>("BTNCheck"), Qt::LeftButton); break;
        case Close: window->close(); break;
        }
        EXPECT_EQ(questions(), 1);
        EXPECT_EQ(prompter.shown.size(), r.block ? 2 : 1) << "a failed save is reported";
        if (!r.block) {
            const bool saved = r.answer == A::Yes;
            EXPECT_EQ(ReadIni(file, "distance", "x", {}), saved ? QString::number(storedX.toInt() + 1) : storedX);
        }
        const bool kept = r.answer == A::Cancel || r.block;
        EXPECT_EQ(changed(), kept);
        EXPECT_EQ(window->isVisible(), kept || r.action != Close);
        const QString folder = QDir::toNativeSeparators((kept || r.action != Folder ? first : second).path());
        EXPECT_EQ(state.SkinFolder, folder + QDir::separator());
        EXPECT_EQ(ReadIni(Settings::filePath(state.AppPath), Settings::Directory, Settings::LastDir, {}), folder);
        EXPECT_EQ(snapshot(second.path()), secondBefore) << "another folder never gets the edits";
        if (kept) {
            EXPECT_EQ(find<QComboBox>("ComboAnsicht")->currentText(), map);
            EXPECT_TRUE(window->gallery()->thumbnail(map)->isChecked());
            EXPECT_FALSE(window->gallery()->thumbnail("Hauptmenu")->isChecked());
            EXPECT_TRUE(infobar->isChecked());
            EXPECT_TRUE(window->actions().action(EditorActions::Infobar)->isChecked()) << "the menu follows the box";
            EXPECT_FALSE(dummys->isChecked());
            EXPECT_EQ(pixels(6), edited);
        }
    }
}

TEST_F(EditorWindowTest, TheMapBoxesRebindAndReloadTheMapView)
{
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    QCheckBox* infobar = find<QCheckBox>("ChkInfobar");
    QCheckBox* dummys = find<QCheckBox>("ChkDummys");
    openScreen(QStringLiteral("Kartenansicht 2"));
    const QRectF shifted = pixels(2); // "to" follows the demo's info bar, 24 pixels high
    QTest::mouseClick(infobar, Qt::LeftButton);
    EXPECT_EQ(pixels(2), shifted.translated(0, 22)) << "no info bar, no shift";
    QTest::mouseClick(infobar, Qt::LeftButton);
    EXPECT_EQ(pixels(2), shifted);
    openScreen(QStringLiteral("Kartenansicht 1"));
    QTest::mouseClick(dummys, Qt::LeftButton);
    EXPECT_TRUE(window->canvas().bitmap(20)->isVisible()) << "smalldummy shows on the first view";
}

TEST_F(EditorWindowTest, CheckListsTheFindingsAndADoubleClickShowsTheElementAfterTheSaveQuestion)
{
    for (const char* section : {"home", "quit"})
        WriteIni(skin.filePath("mainmenult.ini"), section, "y", "300");
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    openScreen(QStringLiteral("Format"));
    auto* list = find<QTreeWidget>("findingList");
    QTest::mouseClick(find<QPushButton>("BTNCheck"), Qt::LeftButton);
    QTreeWidgetItem* quit = list->findItems(QStringLiteral("quit"), Qt::MatchExactly, 3).value(0);
    ASSERT_NE(quit, nullptr);
    ASSERT_GT(list->indexOfTopLevelItem(quit), 0) << "not the first finding";
    EXPECT_TRUE(find<QDockWidget>("FindingsDock")->isVisible());

    const auto doubleClick = [&] {
        list->scrollToItem(quit);
        // A double click arrives as press, release, double click, release.
        const QPoint at = list->visualItemRect(quit).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    // Pending edits on the screen shown come first: Cancel keeps it.
    select(0);
    window->MoveO_Click();
    prompter.answer(Prompter::Answer::Cancel);
    doubleClick();
    EXPECT_EQ(find<QComboBox>("ComboAnsicht")->currentText(), QStringLiteral("Format"));
    prompter.answer(Prompter::Answer::No);
    doubleClick();
    EXPECT_EQ(find<QComboBox>("ComboAnsicht")->currentText(), QStringLiteral("Hauptmenu"));
    EXPECT_EQ(find<QLabel>("LBLiniName")->text(), QStringLiteral("quit in mainmenult.ini"));
    window->showFinding({Finding::Severity::Error, "Hauptmenu", 0, "mainmenult.ini", "home", "x"});
    EXPECT_EQ(find<QLabel>("LBLiniName")->text(), QStringLiteral("home in mainmenult.ini")) << "the first element too";
}

TEST_F(EditorWindowTest, LadenChoosesTheFolderInThePickerAndAsksBeforeSwitching)
{
    QTemporaryDir second;
    copySkin(second.path());
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    select(0);
    window->MoveO_Click();

    // A cancelled picker changes nothing.
    QTest::mouseClick(find<QPushButton>("BTNLoad"), Qt::LeftButton);
    EXPECT_EQ(prompter.dialogsRun, 1);
    EXPECT_EQ(questions(), 0);
    EXPECT_TRUE(changed());

    QString startSelection, status;
    prompter.onDialog([&](QObject& dialog) {
        auto& browser = dynamic_cast<FolderBrowser&>(dialog);
        startSelection = browser.selectedPath();
        browser.selectPath(second.path());
        status = browser.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text();
        browser.accept();
        return true;
    });
    prompter.answer(Prompter::Answer::Yes);
    QTest::mouseClick(find<QPushButton>("BTNLoad"), Qt::LeftButton);
    EXPECT_EQ(startSelection, QDir::toNativeSeparators(skin.path()));
    EXPECT_EQ(status, QDir::toNativeSeparators(second.path()) + QStringLiteral(" wurde gewählt."));
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(state.SkinFolder, QDir::toNativeSeparators(second.path()) + QDir::separator());
    EXPECT_EQ(QApplication::focusWidget(), find<QComboBox>("ComboAnsicht"));
}

TEST_F(EditorWindowTest, UndoAndRedoWorkFromTheButtonsAndTheKeysWhereverTheFocusIs)
{
    ASSERT_TRUE(window->openSkinFolder(skin.path()));
    QPushButton* undo = find<QPushButton>("BTNUndo");
    QPushButton* redo = find<QPushButton>("BTNRedo");
    QLineEdit* x = find<QLineEdit>("txtX");
    select(0);
    view()->setFocus();
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(pixels(0).x(), 12);
    EXPECT_EQ(doc().undoStack().count(), 1);
    EXPECT_TRUE(window->isWindowModified());

    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier); // not the line edit's own undo
    EXPECT_EQ(pixels(0).x(), 10);
    EXPECT_EQ(x->text(), QStringLiteral("10"));
    EXPECT_FALSE(window->isWindowModified());
    QTest::keyClick(x, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(pixels(0).x(), 12);

    // Ctrl+S saves and says what it wrote; undoing past the save is a change
    // again, and coming back to the saved step asks no question.
    QTest::keyClick(x, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(find<QLabel>("LBLStatus")->text(), QStringLiteral("Gespeichert: mainmenult.ini"));
    EXPECT_EQ(ReadIni(skin.filePath("mainmenult.ini"), "home", "x", {}), QStringLiteral("12"));
    EXPECT_FALSE(window->isWindowModified());
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_TRUE(changed());
    QTest::mouseClick(redo, Qt::LeftButton);
    openScreen(QStringLiteral("Produktinfo"));
    EXPECT_EQ(questions(), 0);
    EXPECT_FALSE(undo->isEnabled()) << "another screen, another history";
}
