#pragma once
// Where the tree view puts each node: a fixed grid of 127 slots, the seven
// levels of a complete binary tree, on rows 0 to 14 of an 80-column screen.

#include <array>
#include <bit>

namespace avl {

// Slots are numbered in heap order: slot 0 is the root, the children of slot
// k are 2k+1 and 2k+2, level L holds slots 2^L - 1 to 2^(L+1) - 2.
inline constexpr int kSlotCount = 127;

// From this row on a level is drawn compact: one character per slot and no
// balance marks. The levels above it are wide: three characters per slot.
inline constexpr int kCompactRow = 14;

// The column of each slot's centre. Levels 0 to 3 split the 80 columns into
// equal parts; level 4 steps 2 to either side of level 3, level 5 one to
// either side of level 4; level 6 takes every column from 1 to 79 that is not
// a multiple of 5.
extern const std::array<int, kSlotCount> slotColumn;

// The console row of a slot's level: 0, 3, 6, 8, 10, 12 and 14, as the
// layout cursor steps through them.
constexpr int slotRow(int slot) {
    const int level = std::bit_width(static_cast<unsigned>(slot) + 1) - 1;
    return level <= 2 ? 3 * level : 2 * level + 2;
}

// Walks the grid slot by slot in heap order while a redraw runs.
struct LayoutCursor {
    int slotIndex = 0;    // the next slot to draw, 0..127
    int slotInLevel = 0;  // slots drawn so far in the current level
    int levelWidth = 1;   // slots of the current level: 1, 2, 4, ... 64
    int drawRow = 0;      // console row of the current level

    bool finished() const { return slotIndex >= kSlotCount; }
    bool wide() const { return drawRow < kCompactRow; }
    // The first column of the current slot's text.
    int slotStart() const { return slotColumn[slotIndex] - (wide() ? 2 : 1); }

    // Steps to the next slot; after a full level, to the next level's row:
    // three rows down below the first levels, two rows from row 6 on, which
    // gives the rows 0, 3, 6, 8, 10, 12 and 14.
    void advance();
};

}  // namespace avl
