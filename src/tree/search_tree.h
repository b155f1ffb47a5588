#pragma once

#include <functional>

#include "tree/tree_node.h"
#include "tree/tree_observer.h"

namespace avl {

// A binary search tree of Keys that owns its nodes (taken from the memory
// pool) and reports every structural change to an optional observer.
//
// Between operations: `count` is the number of nodes reachable from `root`,
// every parent link matches the child link that refers to it, and an in-order
// walk yields the keys in non-decreasing order. Equal keys, when allowed, go
// to the right of the ones already there.
//
// Not copyable: the tree owns its nodes.
class SearchTree {
  public:
    SearchTree() = default;
    // Clears the tree (no observer messages).
    virtual ~SearchTree();
    SearchTree(const SearchTree&) = delete;
    SearchTree& operator=(const SearchTree&) = delete;

    // Creates a node for `key` and links it in. Returns the node, or null when
    // `key` is already present and duplicates are not allowed (then nothing
    // changes and nothing is reported).
    virtual TreeNode* insert(Key key, bool allowDuplicates);
    // Removes a node of this tree; null does nothing. Sends "deletion".
    virtual void remove(TreeNode* node);

    // Removes a node holding `key` (through the virtual remove); an absent key
    // does nothing.
    void removeKey(Key key) { remove(find(key)); }
    // A node holding `key`, or null.
    TreeNode* find(Key key) const;
    // Destroys every node without sending messages.
    void clear();
    bool isEmpty() const { return root == nullptr; }
    // Attaches the observer (null detaches), replacing any earlier one.
    void setObserver(TreeObserver* newObserver) { observer = newObserver; }

    // Breadth-first walk over heap slots: slot 0 is the root, slot k has the
    // children 2k+1 and 2k+2, and an empty slot is visited with null. Visits
    // every slot up to and including the last node's; nothing for an empty
    // tree. The work grows with 2^depth, so this is for balanced trees.
    void levelOrder(const std::function<void(const TreeNode*)>& visitor) const;
    // Visits each node after both of its subtrees, without recursion or a
    // stack. The visitor may destroy the node it is given.
    void postOrder(const std::function<void(TreeNode*)>& visitor);

    // Read-only views of the tree, for observers and tests.
    const TreeNode* rootNode() const { return root; }
    int size() const { return count; }

  protected:
    // Puts a created, unlinked node into the tree, sending "insertion" unless
    // the tree was empty. When the key is rejected the node is destroyed and
    // `node` set to null.
    void link(TreeNode*& node, bool allowDuplicates);
    // Detaches `node` and decreases `count`. A node with two children takes
    // its successor's key and the successor is detached instead: `node` then
    // names the successor. The detached node keeps its parent link. Returns
    // whether the detached node was its parent's left child.
    bool unlink(TreeNode*& node);
    // Puts `replacement` (may be null) where `target` hangs (or at the root);
    // target's own links are left alone. Returns whether target was a left
    // child.
    bool replaceInParent(TreeNode* target, TreeNode* replacement);
    // Sends `message` to the observer, if one is attached.
    void announce(const char* message) const;

    TreeNode* root = nullptr;
    int count = 0;
    TreeObserver* observer = nullptr;
};

}  // namespace avl
