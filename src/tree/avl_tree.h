#pragma once

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
// sees the balances from before the operation.
class AvlTree : public SearchTree {
  public:
    AvlTree() = default;
    ~AvlTree() override = default;

    TreeNode* insert(Key key, bool allowDuplicates) override;
    void remove(TreeNode* node) override;

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
    // Sends prefix + key to the observer, if one is attached.
    void announceRotation(const char* prefix, Key key) const {
        if (observer != nullptr) notifyRotation(prefix, key);
    }
    void notifyRotation(const char* prefix, Key key) const;
};

}  // namespace avl
