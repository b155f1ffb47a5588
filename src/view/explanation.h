#pragma once
// Why the tree rotates, in words, and the screen row that says it.

#include <string>
#include <vector>

#include "tree/rotation.h"

namespace avl {

// The row below the menu that explains the last step (and, while teaching,
// the rotation under way).
inline constexpr short kExplanationRow = 23;
// The last column the rows below the menu write: the bottom row's last cell
// is the screen's bottom-right one, which is never written, and no row's
// text wraps.
inline constexpr short kBelowMenuLastColumn = 78;

// What the tree looks like where it rotates, just before the rotation.
struct RotationReason {
    Rotation rotation = Rotation::Right;
    Key node = 0;          // two levels heavy
    Key child = 0;         // its child on the heavy side
    int childBalance = 0;  // that child's lean: +1 left, -1 right, 0 none
};

// The reason for a rotation about to happen at `node` (see RotationWatcher).
RotationReason reasonFor(Rotation rotation, const TreeNode& node);

// "c is left-heavy by 2, its left child a leans right"
std::string imbalanceText(const RotationReason& reason);
// "R", "L", "LR" or "RL".
std::string rotationName(Rotation rotation);

// Collects the reason of every rotation foretold, and passes each on to the
// next watcher, if any.
class RotationRecorder final : public RotationWatcher {
  public:
    void aboutToRotate(Rotation rotation, const TreeNode& node) override {
        reasons.push_back(reasonFor(rotation, node));
        if (next != nullptr) next->aboutToRotate(rotation, node);
    }

    std::vector<RotationReason> reasons;
    RotationWatcher* next = nullptr;
};

// Writes `text` on the explanation row in light grey, blanking the rest of
// the row.
void showExplanation(const std::string& text);

}  // namespace avl
