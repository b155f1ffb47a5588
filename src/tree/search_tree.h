#pragma once

#include <functional>

#include "support/prefetch.h"
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
    TreeNode* find(Key key) const {
        TreeNode* node = root;
        while (node != nullptr && node->key != key)
            node = node->key > key ? node->left : node->right;
        return node;
    }
    // Destroys every node without sending messages, each node read once: depth
    // first, the right subtrees still to clear waiting on a short stack while
    // their memory is fetched.
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
    // stack. The visitor (any callable taking a TreeNode*) may destroy the
    // node it is given.
    template <class Visitor>
    void postOrder(Visitor&& visitor) {
        postOrderFrom(root, visitor);
    }

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
    bool replaceInParent(TreeNode* target, TreeNode* replacement) {
        TreeNode* parent = target->parent;
        if (replacement != nullptr) replacement->parent = parent;
        if (parent == nullptr) {
            root = replacement;
            return false;
        }
        if (parent->left == target) {
            parent->left = replacement;
            return true;
        }
        parent->right = replacement;
        return false;
    }
    // Sends `message` to the observer, if one is attached.
    void announce(const char* message) const {
        if (observer != nullptr) notifyObserver(message);
    }

    TreeNode* root = nullptr;
    int count = 0;
    TreeObserver* observer = nullptr;

  private:
    void notifyObserver(const char* message) const;
    // The post-order walk of the subtree under `top`, whose parent link must
    // be null.
    template <class Visitor>
    static void postOrderFrom(TreeNode* top, Visitor& visitor);
};

inline void SearchTree::link(TreeNode*& node, bool allowDuplicates) {
    if (root == nullptr) {
        root = node;
        ++count;
        return;
    }
    const Key key = node->key;
    TreeNode* parent = root;
    // Each step picks a child by one comparison, written so that the compiler
    // can choose without a branch: on random keys a branch is mispredicted
    // at every other level.
    if (allowDuplicates) {  // equal keys go right, after the ones there
        for (TreeNode* next = root; next != nullptr;) {
            parent = next;
            next = parent->key > key ? parent->left : parent->right;
        }
    } else {
        for (TreeNode* next = root; next != nullptr;) {
            parent = next;
            if (parent->key == key) {
                delete node;
                node = nullptr;
                return;
            }
            next = parent->key > key ? parent->left : parent->right;
        }
    }
    if (parent->key > key) {
        parent->setLeft(node);
    } else {
        parent->setRight(node);
    }
    ++count;
    announce("insertion");
}

inline bool SearchTree::unlink(TreeNode*& node) {
    --count;
    if (node->left != nullptr && node->right != nullptr) {
        TreeNode* successor = node->successor();
        node->key = successor->key;
        node = successor;
    }
    return replaceInParent(node, node->onlyChild());
}

template <class Visitor>
void SearchTree::postOrderFrom(TreeNode* top, Visitor& visitor) {
    TreeNode* current = top;
    const TreeNode* previous = nullptr;  // only compared, never followed
    while (current != nullptr) {
        TreeNode* next = nullptr;
        if (previous == current->parent) {  // arrived from above
            next = current->left != nullptr ? current->left : current->right;
            // The walk goes down the left subtree first; the right child is
            // wanted when it comes back, so its memory is fetched meanwhile.
            if (current->left != nullptr) Prefetch(current->right);
        } else if (previous == current->left) {  // back from the left subtree
            next = current->right;
        }
        // Back from the right subtree, or no subtree left to walk: visit and
        // climb. The parent is read first, since the visitor may destroy.
        if (next == nullptr) {
            next = current->parent;
            visitor(current);
        }
        previous = current;
        current = next;
    }
}

}  // namespace avl
