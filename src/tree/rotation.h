#pragma once

#include <string>

#include "tree/tree_node.h"

namespace avl {

// The four rotations of an AVL tree, named by the message that reports them.
enum class Rotation {
    Right,      // "R": a's left child b takes a's place
    Left,       // "L": a's right child b takes a's place
    LeftRight,  // "LR": a left rotation at a's left child, then a right one at a
    RightLeft,  // "RL": a right rotation at a's right child, then a left one at a
};

// The start of the message that reports a rotation; the key of the node that
// was out of balance follows it.
constexpr const char* rotationPrefix(Rotation rotation) {
    constexpr const char* kPrefixes[] = {"R rotation at ", "L rotation at ", "LR rotation at ",
                                         "RL rotation at "};
    return kPrefixes[static_cast<int>(rotation)];
}

// The message that reports a rotation at the node holding `key`:
// "LR rotation at c".
inline std::string rotationMessage(Rotation rotation, Key key) {
    return rotationPrefix(rotation) + std::string(1, static_cast<char>(key));
}

// True when the rotation lifts from the node's left side (Right and
// LeftRight): the node out of balance is left-heavy.
constexpr bool liftsLeftChild(Rotation rotation) {
    return rotation == Rotation::Right || rotation == Rotation::LeftRight;
}

// Is told of each rotation just before it happens, while the tree still stands
// as the rebalancing walk has left it: every balance below and beside `node`
// is current, the walk has not reached the nodes above it yet, and `node`
// itself is two levels heavy on the side the rotation lifts (left for Right
// and LeftRight, right for the other two), whatever its stored balance says.
// The rotation's usual observer message follows once its links are set.
//
// Like the observer, the watcher runs synchronously inside the tree operation
// and may read the tree but must not change it. Nothing is spent on watching
// while no watcher is attached.
class RotationWatcher {
  public:
    virtual void aboutToRotate(Rotation rotation, const TreeNode& node) = 0;

  protected:
    ~RotationWatcher() = default;
};

}  // namespace avl
