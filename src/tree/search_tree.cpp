#include "tree/search_tree.h"

#include <array>
#include <cstddef>
#include <deque>
#include <string>

namespace avl {

SearchTree::~SearchTree() {
    clear();
}

TreeNode* SearchTree::insert(Key key, bool allowDuplicates) {
    TreeNode* node = new TreeNode(key);
    link(node, allowDuplicates);
    return node;
}

void SearchTree::remove(TreeNode* node) {
    if (node == nullptr) return;
    unlink(node);
    announce("deletion");
    delete node;
}

void SearchTree::clear() {
    // Every node is read once and destroyed at once; its left subtree is
    // cleared next and its right subtree waits on the stack, its first node's
    // memory fetched meanwhile. An AVL tree of any size the count can hold
    // (2^31 nodes: at most 45 levels) never fills the stack; a deeper plain
    // tree clears the subtrees that do not fit by the post-order walk, which
    // needs no room at all.
    constexpr std::size_t kWaiting = 64;
    std::array<TreeNode*, kWaiting> waiting;
    std::size_t waitingCount = 0;
    for (TreeNode* node = root;;) {
        if (node == nullptr) {
            if (waitingCount == 0) break;
            node = waiting[--waitingCount];
        }
        TreeNode* const left = node->left;
        TreeNode* const right = node->right;
        delete node;  // inline, down to the pool
        if (left == nullptr) {
            node = right;
            continue;
        }
        if (right != nullptr) {
            if (waitingCount < kWaiting) {
                Prefetch(right);
                waiting[waitingCount++] = right;
            } else {
                right->parent = nullptr;  // the walk stops above this subtree
                auto destroy = [](TreeNode* n) { delete n; };
                postOrderFrom(right, destroy);
            }
        }
        node = left;
    }
    root = nullptr;
    count = 0;
}

void SearchTree::levelOrder(const std::function<void(const TreeNode*)>& visitor) const {
    std::deque<const TreeNode*> queue{root};
    int visited = 0;
    while (!queue.empty() && visited != count) {
        const TreeNode* node = queue.front();
        queue.pop_front();
        visitor(node);
        if (node == nullptr) {
            queue.insert(queue.end(), 2, nullptr);
        } else {
            ++visited;
            queue.push_back(node->left);
            queue.push_back(node->right);
        }
    }
}

void SearchTree::notifyObserver(const char* message) const {
    observer->notify(message);
}

}  // namespace avl
