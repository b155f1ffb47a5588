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
        int balance = 0;  // as the tree holds it, until rebalanced() says otherwise
        int left = kNone;
        int right = kNone;
        int parent = kNone;
    };

    // Where a node is drawn: its heap slot (0 is the root, slot k has the
    // children 2k+1 and 2k+2) and its level, or no slot when it lies deeper
    // than the drawn levels.
    struct Place {
        int slot = kNone;
        int level = 0;
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

    // The place of every node, by index.
    std::vector<Place> places(int levels) const;

  private:
    Node& mutableAt(int node) { return nodes_[static_cast<std::size_t>(node)]; }
    // Puts `replacement` where `target` hangs (or at the root).
    void replaceInParent(int target, int replacement);
    void setLeft(int node, int child);
    void setRight(int node, int child);
    int height(int node);

    std::vector<Node> nodes_;
    int root_ = kNone;
    int marked_ = kNone;
};

}  // namespace avl
