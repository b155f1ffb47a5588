#include "tree/avl_tree.h"

#include <string>

namespace avl {

void AvlTree::remove(TreeNode* node) {
    if (node == nullptr) return;
    const bool wasLeft = unlink(node);
    announce("deletion");
    rebalanceAfterRemove(node, wasLeft);
    delete node;
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

void AvlTree::notifyRotation(Rotation rotation, Key key) const {
    observer->notify(rotationMessage(rotation, key));
}

}  // namespace avl
