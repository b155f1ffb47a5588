#include "view/rotation_lesson.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "orvask/output.h"
#include "orvask/platform/backend.h"
#include "view/balance_mark.h"
#include "view/explanation.h"
#include "view/slot_layout.h"
#include "view/tree_model.h"

namespace avl {

namespace {

using namespace orvask;
using Slots = std::vector<int>;

constexpr int kWidth = 80;
constexpr int kRows = kCompactRow + 1;
// Where a node below the drawn levels would be: under the grid, out of sight.
constexpr int kHiddenRow = kCompactRow + 2;

// One picture of the tree's rows, composed off screen.
class Frame {
  public:
    void put(int x, int y, unsigned char glyph, unsigned char colour) {
        if (x < 0 || x >= kWidth || y < 0 || y >= kRows) return;
        cells_[static_cast<std::size_t>(y * kWidth + x)] = {glyph, colour};
    }
    // Paints every cell that differs from `shown` (each one without it),
    // leaving the top line's announcement alone.
    void paint(const Frame* shown) const {
        for (int y = 0; y < kRows; ++y) {
            for (int x = y == 0 ? kMessageWidth : 0; x < kWidth; ++x) {
                const Cell& cell = cells_[static_cast<std::size_t>(y * kWidth + x)];
                if (shown != nullptr &&
                    shown->cells_[static_cast<std::size_t>(y * kWidth + x)] == cell) {
                    continue;
                }
                Pxy(static_cast<short>(x), static_cast<short>(y), cell.glyph, cell.colour, KeepBg);
            }
        }
    }

  private:
    struct Cell {
        unsigned char glyph = ' ';
        unsigned char colour = LightGrey;
        friend bool operator==(const Cell&, const Cell&) = default;
    };
    std::array<Cell, kWidth * kRows> cells_{};
};

bool outOfBalance(const TreeModel::Node& node) {
    return node.balance > 1 || node.balance < -1;
}

// A key and its balance mark, as the tree view draws them; a balance of 2
// in yellow, key and mark, so that it cannot pass for a lean of 1.
void drawKey(Frame& frame, const TreeModel::Node& node, const LayoutCursor& at) {
    const int x = at.slotStart();
    const int y = at.drawRow;
    const bool unbalanced = outOfBalance(node);
    const unsigned char colour = unbalanced ? Yellow : White;
    const auto key = static_cast<unsigned char>(node.key);
    if (!at.wide()) {
        frame.put(x, y, key, colour);
        return;
    }
    frame.put(x, y, ' ', colour);
    frame.put(x + 1, y, key, colour);
    frame.put(x + 2, y, ' ', colour);
    if (const BalanceMark* mark = balanceMark(node.balance); mark != nullptr)
        frame.put(x + mark->column, y, mark->glyph, unbalanced ? Yellow : mark->colour);
}

// All 127 slots of `model`; the slots of the nodes flagged in `moving` are
// left blank, as the keys that leave them slide away.
void drawGrid(Frame& frame, const TreeModel& model, const Slots& slots, unsigned char dim,
              const std::vector<bool>& moving) {
    constexpr int kEmpty = TreeModel::kNone;
    constexpr int kVacated = TreeModel::kNone - 1;
    std::array<int, kSlotCount> occupant;
    occupant.fill(kEmpty);
    for (std::size_t node = 0; node < slots.size(); ++node) {
        if (slots[node] == TreeModel::kNone) continue;
        occupant[static_cast<std::size_t>(slots[node])] =
            moving[node] ? kVacated : static_cast<int>(node);
    }
    for (LayoutCursor at; !at.finished(); at.advance()) {
        const int node = occupant[static_cast<std::size_t>(at.slotIndex)];
        if (node >= 0) {
            drawKey(frame, model.at(node), at);
        } else if (!at.wide()) {
            frame.put(at.slotStart(), at.drawRow, node == kVacated ? ' ' : '.', dim);
        } else {
            frame.put(at.slotStart(), at.drawRow, ' ', dim);
            frame.put(at.slotStart() + 1, at.drawRow, node == kVacated ? ' ' : '_', dim);
            frame.put(at.slotStart() + 2, at.drawRow, ' ', dim);
        }
    }
}

Frame frameOf(const TreeModel& model, unsigned char dim) {
    Frame frame;
    drawGrid(frame, model, model.slots(), dim, std::vector<bool>(model.nodes().size(), false));
    return frame;
}

// The cell of a key in its slot; a node out of sight is taken to be under
// the grid, below where it shows at the other end of its slide.
struct Point {
    double x;
    double y;
};
Point pointOf(int slot, int otherEnd) {
    if (slot != TreeModel::kNone) {
        return {static_cast<double>(slotColumn[static_cast<std::size_t>(slot)] - 1),
                static_cast<double>(slotRow(slot))};
    }
    if (otherEnd == TreeModel::kNone) return {0, kHiddenRow};
    return {pointOf(otherEnd, slot).x, kHiddenRow};
}

void sleepFor(unsigned milliseconds, const LessonPace& pace) {
    platform::backend().sleep(milliseconds * pace.slowdown);
}

// `label` in white on the top line; then the wait for a key (paused) or the
// hold before the rotation moves.
void announce(const std::string& label, const LessonPace& pace) {
    gotoxy(0, 0);
    Pcur(label.c_str(), White, KeepBg);
    if (pace.paused) Pcur(" <do>", LightGrey, KeepBg);
    Pfill(kMessageWidth - 1, ' ');
    if (pace.paused) {
        platform::backend().readKeyPress();  // any key continues; all of it is taken
    } else {
        sleepFor(kLessonHoldMilliseconds, pace);
    }
}

// Slides every key whose slot differs between `from` and `to` (the same
// nodes, rotated) over the frames of a slide; the last frame is `to`.
void slide(const TreeModel& from, const TreeModel& to, Frame& shown, const LessonPace& pace) {
    const Slots start = from.slots();
    const Slots end = to.slots();
    std::vector<bool> moving(start.size());
    for (std::size_t node = 0; node < start.size(); ++node)
        moving[node] = start[node] != end[node];
    // What stays put, the moving keys' slots blank: the same in every frame.
    Frame still;
    drawGrid(still, from, start, pace.dim, moving);
    for (int step = 1; step <= kSlideFrames; ++step) {
        Frame frame;
        if (step == kSlideFrames) {
            frame = frameOf(to, pace.dim);
        } else {
            frame = still;
            const double done = static_cast<double>(step) / kSlideFrames;
            for (std::size_t node = 0; node < start.size(); ++node) {
                if (!moving[node]) continue;
                const Point a = pointOf(start[node], end[node]);
                const Point b = pointOf(end[node], start[node]);
                const TreeModel::Node& moved = from.at(static_cast<int>(node));
                frame.put(static_cast<int>(std::lround(a.x + (b.x - a.x) * done)),
                          static_cast<int>(std::lround(a.y + (b.y - a.y) * done)),
                          static_cast<unsigned char>(moved.key),
                          outOfBalance(moved) ? Yellow : White);
            }
        }
        frame.paint(&shown);
        shown = frame;
        sleepFor(kSlideFrameMilliseconds, pace);
    }
}

}  // namespace

void teachRotation(const SearchTree& tree, Rotation rotation, const TreeNode& node,
                   const LessonPace& pace) {
    TreeModel model(tree, &node);
    const int top = model.markedNode();
    model.setBalance(top, liftsLeftChild(rotation) ? 2 : -2);
    const std::string message = rotationMessage(rotation, node.key);
    showExplanation(imbalanceText(reasonFor(rotation, node)) + ": " + message + ".");
    Frame shown = frameOf(model, pace.dim);
    shown.paint(nullptr);

    // The single rotations it takes: left or right, at which node.
    struct Single {
        bool left;
        int pivot;
    };
    std::vector<Single> singles;
    switch (rotation) {
        case Rotation::Right:
            singles = {{false, top}};
            break;
        case Rotation::Left:
            singles = {{true, top}};
            break;
        case Rotation::LeftRight:
            singles = {{true, model.at(top).left}, {false, top}};
            break;
        case Rotation::RightLeft:
            singles = {{false, model.at(top).right}, {true, top}};
            break;
    }
    for (const Single& single : singles) {
        std::string label = message;
        if (singles.size() > 1) {
            label += std::string(": ") + (single.left ? "L" : "R") + " at " +
                     static_cast<char>(model.at(single.pivot).key);
        }
        announce(label, pace);
        const TreeModel before = model;
        if (single.left) {
            model.rotateLeft(single.pivot);
        } else {
            model.rotateRight(single.pivot);
        }
        // The balances of what now stands where the rotation began.
        model.rebalance(single.pivot == top ? model.at(top).parent : top);
        slide(before, model, shown, pace);
    }
}

}  // namespace avl
