#pragma once

#include "support/pooled_object.h"

namespace avl {

// A key of the demonstration's trees: one character, compared as a signed
// 8-bit number.
using Key = signed char;

// The node of both trees. Nodes live in the memory pool and are owned by the
// tree they belong to; readers (the observer, the view) only look at the
// fields.
//
// Final: no class derives from it, so `delete node` needs no virtual call and
// goes straight to the pool.
class TreeNode final : public PooledObject {
  public:
    explicit TreeNode(Key nodeKey) : key(nodeKey) {}
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    // Set the child link and, for a non-null child, its parent link. The old
    // child is not touched.
    void setLeft(TreeNode* child) {
        left = child;
        if (child != nullptr) child->parent = this;
    }
    void setRight(TreeNode* child) {
        right = child;
        if (child != nullptr) child->parent = this;
    }

    // The node reached by following left links from here.
    TreeNode* leftmost() {
        TreeNode* node = this;
        while (node->left != nullptr)
            node = node->left;
        return node;
    }
    // The next node in order, or null after the last one.
    TreeNode* successor() {
        if (right != nullptr) return right->leftmost();
        TreeNode* node = this;
        while (node->parent != nullptr && node == node->parent->right)
            node = node->parent;
        return node->parent;
    }
    // The left child if there is one, else the right child (null for a leaf).
    TreeNode* onlyChild() const { return left != nullptr ? left : right; }

    Key key;
    TreeNode* parent = nullptr;  // null for the root
    TreeNode* left = nullptr;
    TreeNode* right = nullptr;
    // Height of the left subtree minus height of the right one; kept by
    // AvlTree, always 0 in a plain SearchTree.
    int balance = 0;
};

}  // namespace avl
