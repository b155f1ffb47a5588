#pragma once
// A copy of a tree's shape that the teaching animation can rotate on its own,
// one single rotation at a time, without touching the tree.

#include <vector>

#include "tree/search_tree.h"

namespace avl {

class TreeModel {
  public:
    static constexpr int kNone = -1;

    struct Node {
        Key key = 0;
        int balance = 0;  // as the tree holds it, until rebalance() says otherwise
        int left = kNone;
        int right = kNone;
        int parent = kNone;
    };

    // Copies every node of `tree`; `marked` (a node of it, or null) is
    // remembered as markedNode().
    TreeModel(const SearchTree& tree, const TreeNode* marked);

    const std::vector<Node>& nodes() const { return nodes_; }
    int root() const { return root_; }
    int markedNode() const { return marked_; }
    const Node& at(int node) const { return nodes_[static_cast<std::size_t>(node)]; }

    // The single rotations, as the tree does them: the child on the named
    // side's opposite takes `node`'s place. Balances are left as they were.
    void rotateRight(int node);
    void rotateLeft(int node);
    // Sets the balance of every node in the subtree under `node` from the
    // real heights of its subtrees.
    void rebalance(int node);
    // Gives `node` this balance, as the walk knows it before a rotation.
    void setBalance(int node, int balance) { mutableAt(node).balance = balance; }

    // Where every node is drawn, by index: its slot in the tree view's grid
    // (see slot_layout.h), or kNone when it lies deeper than the grid.
    std::vector<int> slots() const;

  private:
    Node& mutableAt(int node) { return nodes_[static_cast<std::size_t>(node)]; }
    // Puts `replacement` where `target` hangs (or at the root).
    void replaceInParent(int target, int replacement);
    void setLeft(int node, int child);
    void setRight(int node, int child);
    int height(int node);
    void placeFrom(int node, int slot, std::vector<int>& slots) const;

    std::vector<Node> nodes_;
    int root_ = kNone;
    int marked_ = kNone;
};

}  // namespace avl
