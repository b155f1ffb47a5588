#include "tree/avl_tree.h"

#include <string>

namespace avl {

TreeNode* AvlTree::insert(Key key, bool allowDuplicates) {
    TreeNode* node = new TreeNode(key);
    link(node, allowDuplicates);
    if (node != nullptr) rebalanceAfterInsert(node);
    return node;
}

void AvlTree::remove(TreeNode* node) {
    if (node == nullptr) return;
    const bool wasLeft = unlink(node);
    announce("deletion");
    rebalanceAfterRemove(node, wasLeft);
    delete node;
}

void AvlTree::rebalanceAfterInsert(TreeNode* node) {
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

void AvlTree::rebalanceAfterRemove(TreeNode* node, bool wasLeft) {
    if (node == nullptr) return;
    for (TreeNode* n = node;;) {
        TreeNode* child = n;
        n = n->parent;
        if (n == nullptr) return;
        // On the first step the detached node is no child of n any more, and
        // wasLeft keeps the side it was detached from.
        if (child == n->left) {
            wasLeft = true;
        } else if (child == n->right) {
            wasLeft = false;
        }
        // wasLeft: n's left subtree became one level lower (else the right).
        if (n->balance == 0) {
            n->balance = wasLeft ? -1 : 1;
            return;  // n kept its height
        }
        if (n->balance == (wasLeft ? 1 : -1)) {
            n->balance = 0;  // n became one level lower
            continue;
        }
        if (!wasLeft) {  // two levels left-heavy
            const int sibling = n->left->balance;
            if (sibling == -1) {
                rotateLeftRight(n);
            } else {
                rotateRight(n);
                if (sibling == 0) {  // height unchanged: the walk ends here
                    n->balance = -1;
                    n->right->balance = 1;
                    return;
                }
            }
        } else {  // two levels right-heavy
            const int sibling = n->right->balance;
            if (sibling == 1) {
                rotateRightLeft(n);
            } else {
                rotateLeft(n);
                if (sibling == 0) {
                    n->balance = 1;
                    n->left->balance = -1;
                    return;
                }
            }
        }
    }
}

void AvlTree::rotateRight(TreeNode*& node) {
    TreeNode* a = node;
    TreeNode* b = a->left;
    replaceInParent(a, b);
    a->setLeft(b->right);
    b->setRight(a);
    a->balance = 0;
    b->balance = 0;
    node = b;
    announceRotation("R rotation at ", a->key);
}

void AvlTree::rotateLeft(TreeNode*& node) {
    TreeNode* a = node;
    TreeNode* b = a->right;
    replaceInParent(a, b);
    a->setRight(b->left);
    b->setLeft(a);
    a->balance = 0;
    b->balance = 0;
    node = b;
    announceRotation("L rotation at ", a->key);
}

void AvlTree::rotateLeftRight(TreeNode*& node) {
    TreeNode* a = node;
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
    announceRotation("LR rotation at ", a->key);
}

void AvlTree::rotateRightLeft(TreeNode*& node) {
    TreeNode* a = node;
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
    announceRotation("RL rotation at ", a->key);
}

void AvlTree::notifyRotation(const char* prefix, Key key) const {
    std::string message(prefix);
    message += static_cast<char>(key);
    observer->notify(message);
}

}  // namespace avl
