#include "expected_grid.h"

#include <sstream>

namespace avl::testing {

namespace {

constexpr int kDarkGrey = 8;
constexpr int kBlue = 9;
constexpr int kRed = 12;
constexpr int kWhite = 15;
constexpr int kCompactLevel = 6;

int levelOf(int slot) {
    int level = 0;
    while (slot >= (2 << level) - 1)
        ++level;
    return level;
}

// The heap slot of every node down to the seventh level.
void collect(const TreeNode* node, int slot, std::vector<const TreeNode*>& slots) {
    if (node == nullptr || slot >= ExpectedGrid::kSlots) return;
    slots[static_cast<std::size_t>(slot)] = node;
    collect(node->left, 2 * slot + 1, slots);
    collect(node->right, 2 * slot + 2, slots);
}

}  // namespace

int ExpectedGrid::slotColumn(int slot) {
    const int level = levelOf(slot);
    const int index = slot - ((1 << level) - 1);
    if (level <= 3) {
        const int part = 80 >> level;
        return index * part + part / 2;
    }
    if (level == 4) return slotColumn(7 + index / 2) + (index % 2 == 0 ? -2 : 2);
    if (level == 5) return slotColumn(15 + index / 2) + (index % 2 == 0 ? -1 : 1);
    // level 6: the index-th column of 1..79 that is not a multiple of 5
    int column = 0;
    for (int seen = -1; seen < index;) {
        ++column;
        if (column % 5 != 0) ++seen;
    }
    return column;
}

int ExpectedGrid::slotRow(int slot) {
    constexpr int kLevelRows[] = {0, 3, 6, 8, 10, 12, 14};
    return kLevelRows[levelOf(slot)];
}

ExpectedGrid::ExpectedGrid(const SearchTree& tree)
    : cells_(static_cast<std::size_t>(kWidth * kRows)) {
    std::vector<const TreeNode*> slots(kSlots, nullptr);
    collect(tree.rootNode(), 0, slots);
    // In drawing order, so a later slot overwrites the shared column of an
    // earlier neighbour.
    for (int slot = 0; slot < kSlots; ++slot)
        drawSlot(slot, slots[static_cast<std::size_t>(slot)]);
}

void ExpectedGrid::put(int x, int y, unsigned char glyph, int colour) {
    cells_[static_cast<std::size_t>(y * kWidth + x)] = {glyph, glyph == ' ' ? -1 : colour};
}

void ExpectedGrid::drawSlot(int slot, const TreeNode* node) {
    const int column = slotColumn(slot);
    const int row = slotRow(slot);
    if (levelOf(slot) == kCompactLevel) {
        if (node == nullptr) {
            put(column - 1, row, '.', kDarkGrey);
        } else {
            put(column - 1, row, static_cast<unsigned char>(node->key), kWhite);
        }
        return;
    }
    if (node == nullptr) {
        put(column - 2, row, ' ', kDarkGrey);
        put(column - 1, row, '_', kDarkGrey);
        put(column, row, ' ', kDarkGrey);
        return;
    }
    put(column - 2, row, ' ', kWhite);
    put(column - 1, row, static_cast<unsigned char>(node->key), kWhite);
    put(column, row, ' ', kWhite);
    if (node->balance == -1) put(column, row, 175, kRed);
    if (node->balance == +1) put(column - 2, row, 174, kBlue);
}

std::string ExpectedGrid::differences(const std::function<GridCell(int x, int y)>& actual) const {
    std::ostringstream out;
    int shown = 0;
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (inMessageArea(x, y)) continue;
            const GridCell& want = at(x, y);
            const GridCell got = actual(x, y);
            const bool glyphDiffers = want.glyph != got.glyph;
            const bool colourDiffers = want.colour >= 0 && want.colour != got.colour;
            if (!glyphDiffers && !colourDiffers) continue;
            if (++shown > 20) continue;
            out << "(" << x << "," << y << "): want glyph " << int{want.glyph} << " colour "
                << want.colour << ", got glyph " << int{got.glyph} << " colour " << got.colour
                << "\n";
        }
    }
    if (shown > 20) out << "... " << shown - 20 << " more\n";
    return out.str();
}

}  // namespace avl::testing
