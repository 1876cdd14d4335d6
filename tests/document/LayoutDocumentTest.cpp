#include "LayoutDocument.h"
#include "SelectTool.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

LayoutElement element(QRectF rect, Touch touch = {}, int coSystem = -1)
{
    return {.picture = {}, .rect = rect, .touch = touch, .coSystem = coSystem};
}

// A binding of these sections of mainmenult.ini, all shown.
ScreenBinding named(std::initializer_list<const char*> sections)
{
    ScreenBinding binding;
    int slot = 0;
    for (const char* section : sections) {
        binding.ElementSection[slot] = QString::fromLatin1(section);
        binding.ElementFile[slot] = QStringLiteral("mainmenult.ini");
        binding.ElementVisible[0][slot++] = true;
    }
    return binding;
}

// "home" at 10,36 with 105 x 54 device pixels, "speech" beside it and a "logo"
// that may not be changed at all.
class LayoutDocumentTest : public ::testing::Test
{
protected:
    const QRectF home{150, 540, 1575, 810};
    const QRectF speech{1875, 540, 1575, 810};
    LayoutDocument doc;
    QUndoStack& undo = doc.undoStack();
    SelectTool tool{doc};

    void SetUp() override
    {
        doc.load({element(home), element(speech), element({0, 0, 300, 300}, {false, false, false, false})}, {}, 1,
                 named({"home", "speech", "logo"}));
        tool.setView(15, Layout::EdgeZone(3), {0, 0, 3600, 4800});
    }

    void press(QPointF at, Qt::MouseButton button = Qt::LeftButton) { tool.press(at, button, {}); }
    void moveTo(QPointF at, Qt::MouseButtons buttons = Qt::LeftButton) { tool.move(at, buttons, {}); }

    // Press, the skipped first move, the moves, the release; points in twips.
    void drag(int slot, QPointF from, std::initializer_list<QPointF> to)
    {
        press(from);
        ASSERT_EQ(doc.current(), slot);
        moveTo(from);
        for (QPointF p : to)
            moveTo(p);
        tool.release();
    }
};

TEST_F(LayoutDocumentTest, ADragIsOneStepThatUndoAndRedoPutBackWithItsSelection)
{
    drag(0, {900, 900}, {{1000, 950}, {1200, 1000}, {1500, 1200}});
    EXPECT_EQ(doc.rect(0), home.translated(600, 300));
    EXPECT_EQ(undo.undoText(), QStringLiteral("home verschieben"));
    doc.select(1);
    // The selection's views follow each step once: another selection, or a selected element moved.
    QSignalSpy changed(&doc, &LayoutDocument::selectionChanged), moved(&doc, &LayoutDocument::selectionMoved);
    undo.undo();
    EXPECT_EQ(doc.rect(0), home);
    EXPECT_EQ(doc.selection(), QList<int>{0});
    EXPECT_EQ(changed.count() + moved.count(), 1);
    undo.redo();
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(doc.rect(0), home.translated(600, 300));

    drag(0, {760, 1000}, {{700, 1000}});                      // its left edge
    EXPECT_EQ(undo.undoText(), QStringLiteral("Größe von home ändern")) << "a step of its own";
}

TEST_F(LayoutDocumentTest, GesturesThatEndWhereTheyStartedOrWereCancelledLeaveNoStep)
{
    using P = std::vector<QPointF>;
    const struct { const char* what; QList<int> selected; QPointF press; Qt::MouseButton button; P moves;
                   bool escape; QList<int> after; } rows[] = {
        {"a click", {1}, {900, 900}, Qt::LeftButton, P{{900, 900}, {900, 900}}, false, {0}},
        {"there and back", {1}, {900, 900}, Qt::LeftButton, P{{900, 900}, {1000, 1000}, {900, 900}}, false, {0}},
        {"the right button only selects", {0}, {2000, 900}, Qt::RightButton, P{{2000, 900}, {2500, 900}}, false, {1}},
        {"a locked element ignores the press", {1}, {100, 100}, Qt::LeftButton, P{{100, 100}, {600, 600}}, false, {1}},
        {"Escape: a move", {1}, {900, 900}, Qt::LeftButton, P{{900, 900}, {1500, 1200}}, true, {1}},
        {"Escape: a resize by the left edge", {1}, {160, 900}, Qt::LeftButton, P{{160, 900}, {400, 900}}, true, {1}},
        {"Escape: several", {0, 1}, {900, 900}, Qt::LeftButton, P{{1200, 1500}}, true, {0, 1}},
        {"Escape: a band", {1}, {100, 3000}, Qt::LeftButton, P{{1000, 800}}, true, {1}},
    };
    const Rects before = doc.rects();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        doc.setSelection(r.selected, r.selected.last());
        press(r.press, r.button);
        for (QPointF p : r.moves)
            moveTo(p, r.button);
        if (r.escape) {
            ASSERT_TRUE(doc.rects() != before || doc.selection() != r.selected) << "the gesture shows";
            EXPECT_TRUE(tool.cancel());
            moveTo(r.press + QPointF(30, 30)); // the button is still held
        }
        tool.release();
        EXPECT_EQ(doc.rects(), before);
        EXPECT_EQ(doc.selection(), r.after);
        EXPECT_EQ(undo.count(), 0);
        EXPECT_FALSE(tool.cancel()) << "nothing runs any more";
    }
}

TEST_F(LayoutDocumentTest, APointHitsTheTopmostVisibleElement)
{
    ScreenBinding binding = named({"a", "b", "c"});
    binding.ElementVisible[0][2] = false;
    doc.load({element({0, 0, 100, 100}), element({50, 50, 100, 100}), element({60, 60, 10, 10})}, {}, 0, binding);
    const struct { QPointF at; int slot; } rows[] = {
        {{10, 10}, 0}, {{65, 65}, 1}, {{99.9, 49.9}, 0}, {{100, 10}, -1}, {{149.9, 149.9}, 1}, {{150, 150}, -1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(doc.elementAt(r.at), r.slot) << r.at.x() << "," << r.at.y();
}

TEST_F(LayoutDocumentTest, TheFirstMoveIsSkippedAndEveryLaterOneCountsFromThePress)
{
    doc.select(0); // one selected element is no group
    press({900, 900});
    moveTo({1500, 1500});
    EXPECT_EQ(doc.rect(0), home);
    moveTo({915, 900});
    moveTo({930, 900});
    EXPECT_EQ(doc.rect(0), home.translated(30, 0));
    // A second press before the release keeps the grabbed left edge; the press rectangle is taken anew.
    tool.release();
    press({200, 900});
    press({900, 900}, Qt::RightButton);
    moveTo({900, 900});
    moveTo({1000, 900});
    EXPECT_EQ(doc.rect(0), QRectF(1005, 540, 750, 810)) << "on whole pixels";
    tool.release();
    EXPECT_EQ(undo.count(), 2) << "one step per gesture";
}

TEST_F(LayoutDocumentTest, NudgesOfOneElementInOneModeMergeIntoOneStep)
{
    using M = NudgeMode;
    using D = NudgeDirection;
    doc.nudge(M::Position, D::East);
    doc.nudge(M::Position, D::East);
    doc.nudge(M::Position, D::South);
    undo.undo();
    undo.redo();                                              // the merged step redoes the last place
    EXPECT_EQ(doc.rect(1), speech.translated(30, 15));
    doc.nudge(M::Grow, D::East);                              // another mode
    EXPECT_EQ(undo.undoText(), QStringLiteral("Größe von speech ändern"));
    doc.nudge(M::Position, D::East);
    undo.undo();
    doc.nudge(M::Grow, D::East);                              // never merges into a step an undo uncovered
    EXPECT_EQ(undo.count(), 3);
    doc.select(0);
    doc.nudge(M::Grow, D::East);                              // another element
    doc.select(1);
    doc.nudge(M::Grow, D::East);                              // the same again, after another selection
    EXPECT_EQ(undo.count(), 5);
    while (undo.canUndo())
        undo.undo();
    EXPECT_EQ(doc.rect(0), home);
    EXPECT_EQ(doc.rect(1), speech);
    doc.select(-1);
    doc.nudge(M::Position, D::East);                          // nothing selected: nothing moves
    EXPECT_EQ(undo.count(), 5);
}

TEST_F(LayoutDocumentTest, TypedValuesOfOneFieldMergeUntilTheFieldIsLeft)
{
    doc.typeValue(FieldX, 1);
    doc.typeValue(FieldX, 12);
    EXPECT_EQ(doc.rect(1), QRectF(180, 540, 1575, 810));
    doc.typeValue(FieldCX, 12);                               // another field
    doc.finishStep();
    doc.typeValue(FieldCX, 13);
    doc.typeValue(FieldCX, 13);                               // changes nothing: no step
    EXPECT_EQ(undo.count(), 3);
    doc.typeValue(FieldCX, -1);                               // refused
    EXPECT_EQ(doc.rect(1), QRectF(180, 540, 195, 810));
}

TEST_F(LayoutDocumentTest, TheCleanStateIsTheSavedOne)
{
    doc.nudge(NudgeMode::Position, NudgeDirection::West);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.changedSinceSave(1));
    undo.undo();
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(doc.changedSinceSave(1));

    doc.nudge(NudgeMode::Position, NudgeDirection::West);
    doc.markSaved();
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(doc.changedSinceSave(1));
    doc.nudge(NudgeMode::Position, NudgeDirection::West);      // after a save a nudge is a step of its own
    EXPECT_EQ(undo.count(), 2);
    undo.undo();
    undo.undo();
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.changedSinceSave(1)) << "the file holds the saved place";

    doc.load({element(home)}, {}, 0, named({"home"}));
    EXPECT_EQ(undo.count(), 0);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(LayoutDocumentTest, DependentsChangeInsideTheStepOfTheirElement)
{
    // A list pop-up: list box, item, up, down, OK button (see the rule tests).
    const Touch none{false, false, false, false};
    ScreenBinding binding = named({"listbox", "listboxitem", "up", "down", "okbutton"});
    binding.NudgeFactor[1] = binding.NudgeFactor[4] = {0, 0, 1, 1};
    doc.load({element({300, 600, 3000, 2700}), element({300, 600, 2250, 600}, {false, false, true, true}, 0),
              element({2550, 600, 750, 1050}, none, 0), element({2550, 2250, 750, 1050}, none, 0),
              element({2700, 1725, 600, 465}, {true, true, false, true}, 0)},
             {.dependents = Dependents::List, .list = {0}}, 4, binding);
    QSignalSpy moved(&doc, &LayoutDocument::rectsChanged);
    const Rects before = doc.rects();

    drag(0, {3290, 2220}, {{3440, 2220}});                     // the list box's right edge, below "down"
    EXPECT_EQ(doc.rect(4), QRectF(2835, 1718, 600, 465));
    EXPECT_EQ(moved.last().at(0).value<QList<int>>(), (QList<int>{0, 1, 2, 3, 4}));
    drag(1, {1000, 2400}, {{1300, 2600}});                      // the item: the binding locks x and y
    EXPECT_EQ(doc.rect(1), QRectF(300, 2183, 2250, 600));
    doc.select(1);
    doc.typeValue(FieldCX, 160);                                // the item; up and down follow
    EXPECT_EQ(doc.rect(2).x(), 300 + 2400);
    doc.select(1);
    doc.nudge(NudgeMode::Position, NudgeDirection::West);       // x locked: nothing, no step
    EXPECT_EQ(undo.count(), 2);
    undo.undo();
    undo.undo();
    EXPECT_EQ(doc.rects(), before);
    EXPECT_EQ(doc.current(), 0);
    EXPECT_EQ(doc.origin(1), QPointF(300, 600));
}

} // namespace
