#include "EditorFixture.h"

#include <QAbstractItemView>
#include <QPushButton>

namespace {

class EditorKeyboardTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        ASSERT_TRUE(window->openSkinFolder(skin.path()));
    }

    void setMode(int mode)
    {
        while (window->nudgeMode() != mode)
            QTest::mouseClick(find<QPushButton>("BTNpos"), Qt::LeftButton);
    }
};

} // namespace

TEST_F(EditorKeyboardTest, ArrowKeysAndButtonsNudgeInTheThreeModes)
{
    const struct { int mode; Qt::Key key; const char* button; QRectF expected; } rows[] = {
        {0, Qt::Key_Up, "MoveN", {10, 35, 105, 54}}, {1, Qt::Key_Left, "MoveW", {9, 36, 106, 54}},
        {2, Qt::Key_Right, "MoveO", {11, 36, 104, 54}},
    };
    for (const auto& r : rows) {
        for (const bool byKey : {true, false}) {
            SCOPED_TRACE(testing::Message() << "mode " << r.mode << " " << r.button << (byKey ? " key" : " button"));
            openScreen(QStringLiteral("Hauptmenu"));
            select(0);
            setMode(r.mode);
            view()->setFocus(); // as after a click on the canvas
            const auto nudge = [&] {
                byKey ? key(r.key) : QTest::mouseClick(find<QPushButton>(r.button), Qt::LeftButton);
            };
            nudge();
            EXPECT_EQ(pixels(0), r.expected);
            nudge();
            EXPECT_EQ(QApplication::focusWidget(), view()) << "where the arrows go on nudging";
            prompter.answer(Prompter::Answer::No);
        }
    }
}

TEST_F(EditorKeyboardTest, ArrowsInTheListsMoveThroughTheListAndNudgeNothing)
{
    select(0);
    QComboBox* combo = find<QComboBox>("ComboAnsicht");
    const int start = combo->currentIndex();
    for (QWidget* list : std::initializer_list<QWidget*>{find<QAbstractItemView>("ElementList"),
                                                         find<QAbstractItemView>("HistoryView"), combo}) {
        SCOPED_TRACE(list->objectName().toStdString());
        list->setFocus();
        key(Qt::Key_Down);
        EXPECT_FALSE(changed());
        if (list != combo) {
            EXPECT_EQ(doc().current(), 1) << "the element list selects the next row";
        }
    }
    EXPECT_EQ(window->layout().currentScreen(), combo->itemText(start + 1)) << "the screen list chooses the next screen";
}

TEST_F(EditorKeyboardTest, TypingKeepsTheTextAppliesEachNumberAsOneStepAndTidiesUpAtTheEnd)
{
    // "\b" is Backspace. Every row starts on "home" at x 10 with the field's text selected.
    const struct { const char* typed; Qt::Key end; double left; const char* shown; } rows[] = {
        {"-5", Qt::Key_unknown, -5, "-5"}, {"12.5", Qt::Key_unknown, 12.5, "12.5"},
        {"\b30", Qt::Key_unknown, 30, "30"}, {"12.50", Qt::Key_Return, 12.5, "12.5"},
        {"7.", Qt::Key_Tab, 7, "7"}, {"-05", Qt::Key_unknown, -5, "-05"}, {"-", Qt::Key_Escape, 10, "10"}, // not yet a number: nothing moves
    };
    QLineEdit* x = find<QLineEdit>("txtX");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        forget();
        openScreen(QStringLiteral("Hauptmenu"));
        select(0);
        x->setFocus();
        x->selectAll();
        for (const char c : std::string(r.typed))
            c == '\b' ? QTest::keyClick(x, Qt::Key_Backspace) : QTest::keyClicks(x, QString(QChar(c)));
        EXPECT_EQ(x->text(), QString::fromLatin1(r.typed).remove(u'\b'));
        if (r.end != Qt::Key_unknown)
            QTest::keyClick(x, r.end);
        EXPECT_EQ(pixels(0), QRectF(r.left, 36, 105, 54));
        EXPECT_EQ(x->text(), QString::fromLatin1(r.shown));
        EXPECT_EQ(doc().undoStack().count(), r.left == 10 ? 0 : 1);
    }
}

TEST_F(EditorKeyboardTest, InACoordinateFieldLeftAndRightMoveTheCaretUpAndDownStepTheValue)
{
    select(0);
    QLineEdit* x = find<QLineEdit>("txtX");
    x->setFocus();
    x->setCursorPosition(2);
    key(Qt::Key_Left);
    EXPECT_EQ(x->cursorPosition(), 1);
    key(Qt::Key_Home);
    EXPECT_EQ(x->cursorPosition(), 0);
    EXPECT_EQ(pixels(0), QRectF(10, 36, 105, 54)) << "the caret moved, not the element";
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    key(Qt::Key_Down);
    key(Qt::Key_Up);
    EXPECT_EQ(pixels(0), QRectF(12, 36, 105, 54));
    EXPECT_EQ(x->text(), QStringLiteral("12"));
    EXPECT_EQ(doc().undoStack().count(), 1);
}

TEST_F(EditorKeyboardTest, CtrlAloneCyclesTheModesAndCtrlASelectsEveryShownElementOrTheFieldsText)
{
    const auto ctrlA = [](QWidget* w) { // Ctrl goes down first and up last
        w->setFocus();
        QTest::keyPress(w, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyRelease(w, Qt::Key_Control, Qt::ControlModifier);
    };
    select(0);
    QLineEdit* x = find<QLineEdit>("txtX");
    ctrlA(x);
    EXPECT_EQ(x->selectedText(), x->text());
    EXPECT_EQ(doc().selection(), QList<int>{0});
    ctrlA(view());
    EXPECT_EQ(doc().selection().size(), 12);
    EXPECT_EQ(doc().current(), 0);
    EXPECT_EQ(window->nudgeMode(), 0) << "Ctrl with A is no Ctrl alone";
    x->setFocus();
    for (const char* caption : {"scale+", "scale-", "pos."}) {
        key(Qt::Key_Control);
        EXPECT_EQ(find<QPushButton>("BTNpos")->text(), caption);
    }
}
