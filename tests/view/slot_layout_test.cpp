#include "view/slot_layout.h"

#include <gtest/gtest.h>

#include "expected_grid.h"

namespace avl {
namespace {

using testing::ExpectedGrid;

TEST(SlotLayout, ColumnTableFollowsTheLevelRules) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(slotColumn[static_cast<std::size_t>(slot)], ExpectedGrid::slotColumn(slot))
            << "slot " << slot;
    }
}

TEST(SlotLayout, CursorVisitsTheLevelRowsAndWidths) {
    LayoutCursor cursor;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        ASSERT_FALSE(cursor.finished());
        EXPECT_EQ(cursor.slotIndex, slot);
        EXPECT_EQ(cursor.drawRow, ExpectedGrid::slotRow(slot)) << "slot " << slot;
        EXPECT_EQ(cursor.wide(), slot < 63) << "slot " << slot;
        const int column = ExpectedGrid::slotColumn(slot);
        EXPECT_EQ(cursor.slotStart(), slot < 63 ? column - 2 : column - 1) << "slot " << slot;
        cursor.advance();
    }
    EXPECT_TRUE(cursor.finished());
    EXPECT_EQ(cursor.levelWidth, 128);
}

}  // namespace
}  // namespace avl
