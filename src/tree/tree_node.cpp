#include "tree/tree_node.h"

namespace avl {

void TreeNode::setLeft(TreeNode* child) {
    left = child;
    if (child != nullptr) child->parent = this;
}

void TreeNode::setRight(TreeNode* child) {
    right = child;
    if (child != nullptr) child->parent = this;
}

TreeNode* TreeNode::leftmost() {
    TreeNode* node = this;
    while (node->left != nullptr)
        node = node->left;
    return node;
}

TreeNode* TreeNode::successor() {
    if (right != nullptr) return right->leftmost();
    TreeNode* node = this;
    while (node->parent != nullptr && node == node->parent->right)
        node = node->parent;
    return node->parent;
}

}  // namespace avl
