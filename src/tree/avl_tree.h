#pragma once

#include "tree/rotation.h"
#include "tree/search_tree.h"

namespace avl {

// A SearchTree that keeps itself balanced: after every insertion and removal
// each node's balance (left height minus right height) is -1, 0 or +1 and
// equals the real height difference. Each rotation is reported to the
// observer, after its links and balances are set, as "R rotation at ",
// "L rotation at ", "LR rotation at " or "RL rotation at " followed by the
// key of the node that was out of balance.
//
// At "insertion" and "deletion" no balance has been updated yet: the observer
// sees the balances from before the operation. A RotationWatcher, if one is
// attached, is told of each rotation before it happens.
//
// Final, so that calls on an AvlTree need no virtual dispatch, and insert()
// is compiled into its caller: the whole insertion, from the pool's free list
// to the last rotation, is one stretch of straight code.
class AvlTree final : public SearchTree {
  public:
    AvlTree() = default;
    ~AvlTree() override = default;

    TreeNode* insert(Key key, bool allowDuplicates) override;
    void remove(TreeNode* node) override;

    // Attaches the rotation watcher (null detaches), replacing any earlier one.
    // Not owned by the tree.
    void setRotationWatcher(RotationWatcher* newWatcher) { watcher = newWatcher; }

  protected:
    // Walk up from a freshly linked node, updating balances until a subtree's
    // height is known not to change; rotates at most once.
    void rebalanceAfterInsert(TreeNode* node);
    // Walk up from a detached node (its parent link still names its former
    // parent); `wasLeft` says which side of that parent lost it. May rotate
    // once per level, lowest first.
    void rebalanceAfterRemove(TreeNode* node, bool wasLeft);

    // Each rotation takes the variable holding the node a to rotate at and
    // leaves in it the new root of that subtree.
    void rotateRight(TreeNode*& node);
    void rotateLeft(TreeNode*& node);
    void rotateLeftRight(TreeNode*& node);
    void rotateRightLeft(TreeNode*& node);

  private:
    // Tells the watcher, if one is attached, of the rotation about to happen
    // at `node`.
    void foretell(Rotation rotation, const TreeNode* node) const {
        if (watcher != nullptr) [[unlikely]]
            watcher->aboutToRotate(rotation, *node);
    }
    // Sends the rotation's message to the observer, if one is attached.
    void announceRotation(Rotation rotation, Key key) const {
        if (observer != nullptr) notifyRotation(rotation, key);
    }
    void notifyRotation(Rotation rotation, Key key) const;

    RotationWatcher* watcher = nullptr;
};

[[gnu::always_inline]] inline TreeNode* AvlTree::insert(Key key, bool allowDuplicates) {
    TreeNode* node = new TreeNode(key);
    link(node, allowDuplicates);
    if (node != nullptr) rebalanceAfterInsert(node);
    return node;
}

[[gnu::always_inline]] inline void AvlTree::rebalanceAfterInsert(TreeNode* node) {
    for (TreeNode* n = node;;) {
        TreeNode* child = n;
        n = n->parent;
        if (n == nullptr) return;
        // n's balance gains 1 when child is its left subtree, loses 1 when it
        // is its right one. Decided on the balance from before, which is read
        // early, rather than on the sum; the +2 and -2 that the sum would be
        // before a rotation are never stored, since the rotation sets n's
        // balance anyway.
        const bool fromLeft = child == n->left;
        const int before = n->balance;
        if (before == 0) {  // one level taller: look further up
            n->balance = fromLeft ? 1 : -1;
            continue;
        }
        if (before == (fromLeft ? -1 : 1)) {  // the shorter side caught up
            n->balance = 0;
            return;
        }
        if (fromLeft) {  // +2
            if (child->balance == 1) {
                rotateRight(n);
            } else {
                rotateLeftRight(n);
            }
        } else {  // -2
            if (child->balance == -1) {
                rotateLeft(n);
            } else {
                rotateRightLeft(n);
            }
        }
        return;
    }
}

inline void AvlTree::rotateRight(TreeNode*& node) {
    TreeNode* a = node;
    foretell(Rotation::Right, a);
    TreeNode* b = a->left;
    replaceInParent(a, b);
    a->setLeft(b->right);
    b->setRight(a);
    a->balance = 0;
    b->balance = 0;
    node = b;
    announceRotation(Rotation::Right, a->key);
}

inline void AvlTree::rotateLeft(TreeNode*& node) {
    TreeNode* a = node;
    foretell(Rotation::Left, a);
    TreeNode* b = a->right;
    replaceInParent(a, b);
    a->setRight(b->left);
    b->setLeft(a);
    a->balance = 0;
    b->balance = 0;
    node = b;
    announceRotation(Rotation::Left, a->key);
}

inline void AvlTree::rotateLeftRight(TreeNode*& node) {
    TreeNode* a = node;
    foretell(Rotation::LeftRight, a);
    TreeNode* b = a->left;
    TreeNode* c = b->right;
    replaceInParent(a, c);
    b->setRight(c->left);
    a->setLeft(c->right);
    c->setLeft(b);
    c->setRight(a);
    // c's taller side went to b (its left) or to a (its right).
    a->balance = c->balance == 1 ? -1 : 0;
    b->balance = c->balance == -1 ? 1 : 0;
    c->balance = 0;
    node = c;
    announceRotation(Rotation::LeftRight, a->key);
}

inline void AvlTree::rotateRightLeft(TreeNode*& node) {
    TreeNode* a = node;
    foretell(Rotation::RightLeft, a);
    TreeNode* b = a->right;
    TreeNode* c = b->left;
    replaceInParent(a, c);
    b->setLeft(c->right);
    a->setRight(c->left);
    c->setRight(b);
    c->setLeft(a);
    a->balance = c->balance == -1 ? 1 : 0;
    b->balance = c->balance == 1 ? -1 : 0;
    c->balance = 0;
    node = c;
    announceRotation(Rotation::RightLeft, a->key);
}

}  // namespace avl
