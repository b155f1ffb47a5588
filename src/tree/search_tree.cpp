#include "tree/search_tree.h"

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

TreeNode* SearchTree::find(Key key) const {
    TreeNode* node = root;
    while (node != nullptr && node->key != key)
        node = node->key > key ? node->left : node->right;
    return node;
}

void SearchTree::clear() {
    postOrder([](TreeNode* node) { delete node; });
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

void SearchTree::postOrder(const std::function<void(TreeNode*)>& visitor) {
    TreeNode* current = root;
    const TreeNode* previous = nullptr;  // only compared, never followed
    while (current != nullptr) {
        TreeNode* next = nullptr;
        if (previous == current->parent) {  // arrived from above
            next = current->left != nullptr ? current->left : current->right;
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

void SearchTree::link(TreeNode*& node, bool allowDuplicates) {
    if (root == nullptr) {
        root = node;
        ++count;
        return;
    }
    TreeNode* parent = nullptr;
    for (TreeNode* current = root; current != nullptr;) {
        parent = current;
        if (current->key > node->key) {
            current = current->left;
        } else if (current->key < node->key || allowDuplicates) {
            current = current->right;
        } else {
            delete node;
            node = nullptr;
            return;
        }
    }
    if (parent->key > node->key) {
        parent->setLeft(node);
    } else {
        parent->setRight(node);
    }
    ++count;
    announce("insertion");
}

bool SearchTree::unlink(TreeNode*& node) {
    --count;
    if (node->left != nullptr && node->right != nullptr) {
        TreeNode* successor = node->successor();
        node->key = successor->key;
        node = successor;
    }
    return replaceInParent(node, node->onlyChild());
}

bool SearchTree::replaceInParent(TreeNode* target, TreeNode* replacement) {
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

void SearchTree::announce(const char* message) const {
    if (observer != nullptr) observer->notify(message);
}

}  // namespace avl
