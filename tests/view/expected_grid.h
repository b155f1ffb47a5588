#pragma once
// What the tree view must show for a tree, worked out from the layout rules
// (not from the view's own tables), for comparing with a real screen.

#include <functional>
#include <string>
#include <vector>

#include "tree/search_tree.h"

namespace avl::testing {

struct GridCell {
    unsigned char glyph = ' ';  // code page 437 byte
    int colour = -1;            // console colour 0..15; -1 for a blank (not compared)
};

class ExpectedGrid {
  public:
    static constexpr int kWidth = 80;
    static constexpr int kRows = 15;  // rows 0 to 14
    static constexpr int kSlots = 127;

    explicit ExpectedGrid(const SearchTree& tree);

    const GridCell& at(int x, int y) const { return cells_[y * kWidth + x]; }
    // The cells of row 0 where the rotation message goes; not part of the
    // grid's own drawing.
    static bool inMessageArea(int x, int y) { return y == 0 && x <= 20; }

    // Every cell of rows 0..14 outside the message area that differs, as
    // readable lines; empty when all agree. `actual` reads a screen cell.
    std::string differences(const std::function<GridCell(int x, int y)>& actual) const;

    // Layout by rule: the centre column and the row of a slot.
    static int slotColumn(int slot);
    static int slotRow(int slot);

  private:
    void put(int x, int y, unsigned char glyph, int colour);
    void drawSlot(int slot, const TreeNode* node);

    std::vector<GridCell> cells_;
};

}  // namespace avl::testing
