#include "tree_checks.h"

#include <algorithm>

namespace avl::testing {

std::string Describe(const TreeNode* node) {
    if (node == nullptr) return "-";
    std::string text(1, static_cast<char>(node->key));
    text += "[" + std::to_string(node->balance) + "]";
    if (node->left != nullptr || node->right != nullptr) {
        text += "(" + Describe(node->left) + "," + Describe(node->right) + ")";
    }
    return text;
}

int Height(const TreeNode* node) {
    return node == nullptr ? 0 : 1 + std::max(Height(node->left), Height(node->right));
}

namespace {

// Counts the nodes below `node`, failing on the first bad parent link.
::testing::AssertionResult CountLinked(const TreeNode* node, int& nodes) {
    if (node == nullptr) return ::testing::AssertionSuccess();
    ++nodes;
    for (const TreeNode* child : {node->left, node->right}) {
        if (child != nullptr && child->parent != node) {
            return ::testing::AssertionFailure() << "node " << int{child->key} << " does not name "
                                                 << int{node->key} << " as its parent";
        }
        auto result = CountLinked(child, nodes);
        if (!result) return result;
    }
    return ::testing::AssertionSuccess();
}

// Checks every balance below `node` in one bottom-up pass, leaving the
// subtree's height in `height`.
::testing::AssertionResult BalancedBelow(const TreeNode* node, int& height) {
    height = 0;
    if (node == nullptr) return ::testing::AssertionSuccess();
    int left = 0;
    int right = 0;
    if (auto result = BalancedBelow(node->left, left); !result) return result;
    if (auto result = BalancedBelow(node->right, right); !result) return result;
    height = 1 + std::max(left, right);
    if (node->balance != left - right || left - right < -1 || left - right > 1) {
        return ::testing::AssertionFailure()
               << "node " << int{node->key} << " has balance " << node->balance
               << ", height difference " << left - right;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

::testing::AssertionResult LinksConsistent(const SearchTree& tree) {
    const TreeNode* root = tree.rootNode();
    if (root != nullptr && root->parent != nullptr) {
        return ::testing::AssertionFailure() << "the root has a parent";
    }
    int nodes = 0;
    auto result = CountLinked(root, nodes);
    if (!result) return result;
    if (nodes != tree.size()) {
        return ::testing::AssertionFailure()
               << nodes << " nodes reachable, count says " << tree.size();
    }
    if (tree.isEmpty() != (root == nullptr)) return ::testing::AssertionFailure() << "isEmpty";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult AvlBalanced(const SearchTree& tree) {
    int height = 0;
    return BalancedBelow(tree.rootNode(), height);
}

std::vector<Key> InOrderKeys(const SearchTree& tree) {
    std::vector<Key> keys;
    if (tree.rootNode() == nullptr) return keys;
    // successor() is a non-const walk; the tree is only read.
    for (auto* node = const_cast<TreeNode*>(tree.rootNode())->leftmost(); node != nullptr;
         node = node->successor()) {
        keys.push_back(node->key);
    }
    return keys;
}

void RecordingObserver::notify(const std::string& message) {
    messages.push_back(message);
    if (keepPictures_) pictures.push_back(Describe(tree_));
    auto consistent = LinksConsistent(tree_);
    const int height = Height(tree_.rootNode());
    if (!consistent || height > maxHeight_) {
        ++inconsistencies;
        ADD_FAILURE() << "at \"" << message << "\": " << consistent.message() << " height "
                      << height;
    }
}

}  // namespace avl::testing
