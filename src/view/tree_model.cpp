#include "view/tree_model.h"

#include <algorithm>

#include "view/slot_layout.h"

namespace avl {

TreeModel::TreeModel(const SearchTree& tree, const TreeNode* marked) {
    // Depth first with a stack of (node, index of its parent, which side).
    struct Pending {
        const TreeNode* node;
        int parent;
        bool left;
    };
    std::vector<Pending> pending;
    if (tree.rootNode() != nullptr) pending.push_back({tree.rootNode(), kNone, false});
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        const int index = static_cast<int>(nodes_.size());
        nodes_.push_back({next.node->key, next.node->balance, kNone, kNone, next.parent});
        if (next.parent == kNone) {
            root_ = index;
        } else if (next.left) {
            mutableAt(next.parent).left = index;
        } else {
            mutableAt(next.parent).right = index;
        }
        if (next.node == marked) marked_ = index;
        if (next.node->right != nullptr) pending.push_back({next.node->right, index, false});
        if (next.node->left != nullptr) pending.push_back({next.node->left, index, true});
    }
}

void TreeModel::replaceInParent(int target, int replacement) {
    const int parent = at(target).parent;
    if (replacement != kNone) mutableAt(replacement).parent = parent;
    if (parent == kNone) {
        root_ = replacement;
    } else if (at(parent).left == target) {
        mutableAt(parent).left = replacement;
    } else {
        mutableAt(parent).right = replacement;
    }
}

void TreeModel::setLeft(int node, int child) {
    mutableAt(node).left = child;
    if (child != kNone) mutableAt(child).parent = node;
}

void TreeModel::setRight(int node, int child) {
    mutableAt(node).right = child;
    if (child != kNone) mutableAt(child).parent = node;
}

void TreeModel::rotateRight(int node) {
    const int lifted = at(node).left;
    replaceInParent(node, lifted);
    setLeft(node, at(lifted).right);
    setRight(lifted, node);
}

void TreeModel::rotateLeft(int node) {
    const int lifted = at(node).right;
    replaceInParent(node, lifted);
    setRight(node, at(lifted).left);
    setLeft(lifted, node);
}

int TreeModel::height(int node) {
    if (node == kNone) return 0;
    const int left = height(at(node).left);
    const int right = height(at(node).right);
    mutableAt(node).balance = left - right;
    return 1 + std::max(left, right);
}

void TreeModel::rebalance(int node) {
    height(node);
}

std::vector<int> TreeModel::slots() const {
    std::vector<int> slots(nodes_.size(), kNone);
    if (root_ != kNone) placeFrom(root_, 0, slots);
    return slots;
}

// Each node's slot is worked out from its parent's; the grid's last level
// has no slots below it.
void TreeModel::placeFrom(int node, int slot, std::vector<int>& slots) const {
    slots[static_cast<std::size_t>(node)] = slot;
    const bool below = slot != kNone && 2 * slot + 2 < kSlotCount;
    if (at(node).left != kNone) placeFrom(at(node).left, below ? 2 * slot + 1 : kNone, slots);
    if (at(node).right != kNone) placeFrom(at(node).right, below ? 2 * slot + 2 : kNone, slots);
}

}  // namespace avl
