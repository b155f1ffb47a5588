#include "view/tree_model.h"

#include <algorithm>
#include <utility>

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

std::vector<TreeModel::Place> TreeModel::places(int levels) const {
    std::vector<Place> placed(nodes_.size());
    // Breadth first from the root, each node's slot worked out from its
    // parent's; below the drawn levels there are no slots.
    std::vector<std::pair<int, Place>> level;
    if (root_ != kNone) level.push_back({root_, {0, 0}});
    while (!level.empty()) {
        std::vector<std::pair<int, Place>> below;
        for (const auto& [node, place] : level) {
            placed[static_cast<std::size_t>(node)] = place;
            const int depth = place.level + 1;
            const bool drawn = place.slot != kNone && depth < levels;
            const int left = at(node).left;
            const int right = at(node).right;
            if (left != kNone) below.push_back({left, {drawn ? 2 * place.slot + 1 : kNone, depth}});
            if (right != kNone)
                below.push_back({right, {drawn ? 2 * place.slot + 2 : kNone, depth}});
        }
        level = std::move(below);
    }
    return placed;
}

}  // namespace avl
