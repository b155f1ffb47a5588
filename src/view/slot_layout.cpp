#include "view/slot_layout.h"

namespace avl {

// clang-format off
const std::array<int, kSlotCount> slotColumn = {
    // level 0
    40,
    // level 1
    20, 60,
    // level 2
    10, 30, 50, 70,
    // level 3
    5, 15, 25, 35, 45, 55, 65, 75,
    // level 4
    3, 7, 13, 17, 23, 27, 33, 37, 43, 47, 53, 57, 63, 67, 73, 77,
    // level 5
    2, 4, 6, 8, 12, 14, 16, 18, 22, 24, 26, 28, 32, 34, 36, 38,
    42, 44, 46, 48, 52, 54, 56, 58, 62, 64, 66, 68, 72, 74, 76, 78,
    // level 6
    1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14, 16, 17, 18, 19,
    21, 22, 23, 24, 26, 27, 28, 29, 31, 32, 33, 34, 36, 37, 38, 39,
    41, 42, 43, 44, 46, 47, 48, 49, 51, 52, 53, 54, 56, 57, 58, 59,
    61, 62, 63, 64, 66, 67, 68, 69, 71, 72, 73, 74, 76, 77, 78, 79,
};
// clang-format on

void LayoutCursor::advance() {
    ++slotIndex;
    ++slotInLevel;
    if (slotInLevel != levelWidth) return;
    slotInLevel = 0;
    levelWidth *= 2;
    if (drawRow < 4) ++drawRow;
    drawRow += 2;
}

}  // namespace avl
