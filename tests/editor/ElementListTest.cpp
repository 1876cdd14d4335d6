#include "ElementList.h"
#include "LayoutDocument.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ElementListTest, RowsShowTheElementsAndSelectBothWays)
{
    LayoutDocument doc;
    std::vector<LayoutElement> elements(3);
    ScreenBinding binding;
    const char* sections[] = {"home", "", "quit"};
    for (int slot = 0; slot < 3; ++slot) {
        binding.ElementSection[slot] = QString::fromLatin1(sections[slot]);
        binding.ElementFile[slot] = QStringLiteral("mainmenult.ini");
        binding.ElementVisible[0][slot] = slot != 2;
        elements[slot].rect = QRectF(150 * slot, 540, 1575, 810);
    }
    doc.load(elements, {}, 0, binding);
    ElementList list(doc);
    list.resize(600, 200);
    list.show();
    ASSERT_EQ(list.rowCount(), 2); // an unused slot has no row
    const auto cell = [&](int row, int column) { return list.item(row, column)->text(); };
    EXPECT_EQ(QStringList({cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3), cell(1, 4), cell(1, 5), cell(1, 6)}),
              QStringList({"quit", "mainmenult.ini", "20", "36", "105", "54", "nein"}));
    const auto click = [&](int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, mods, list.visualItemRect(list.item(row, 0)).center());
    };
    click(1);
    EXPECT_EQ(doc.selection(), QList<int>{2});
    click(0, Qt::ControlModifier);
    EXPECT_EQ(doc.selection(), (QList<int>{0, 2}));
    doc.select(0);
    EXPECT_EQ(list.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(list.currentRow(), 0);
    doc.typeValue(FieldX, 7);
    EXPECT_EQ(cell(0, 2), QStringLiteral("7"));
    EXPECT_EQ(ElementList::describe(doc, 0), QStringLiteral("home in mainmenult.ini: x 7, y 36, cx 105, cy 54"));

    // The last check's findings mark their elements; which ones, FindingConcerns says.
    list.setFindings({{Finding::Severity::Error, "Hauptmenu", 0, "MainMenuLt.ini", "quit", "ragt heraus"}});
    EXPECT_EQ(list.item(1, 0)->toolTip(), QStringLiteral("ragt heraus"));
    EXPECT_TRUE(list.item(0, 0)->icon().isNull());
}

} // namespace
