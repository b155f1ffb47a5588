// The plain search tree: linking, removal, messages and the two walks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/search_tree.h"
#include "tree_checks.h"

namespace avl::testing {
namespace {

using Messages = std::vector<std::string>;

class SearchTreeTest : public PooledTreeTest {};

std::string LevelOrder(const SearchTree& tree) {
    std::string slots;
    tree.levelOrder([&](const TreeNode* node) {
        slots += node != nullptr ? static_cast<char>(node->key) : '.';
    });
    return slots;
}

TEST_F(SearchTreeTest, InsertionLinksByKeyAndReportsAllButTheFirstNode) {
    SearchTree tree;
    RecordingObserver observer(tree);
    const TreeNode* first = tree.insert('d', false);
    EXPECT_EQ(tree.rootNode(), first);
    EXPECT_EQ(first->parent, nullptr);
    EXPECT_TRUE(observer.messages.empty());

    InsertAll(tree, "bfacd");
    EXPECT_EQ(observer.messages, Messages(4, "insertion")) << "the second d is rejected";
    EXPECT_EQ(Describe(tree), "d[0](b[0](a[0],c[0]),f[0])") << "no balancing in a plain tree";
    EXPECT_EQ(tree.size(), 5);
    EXPECT_EQ(tree.find('c')->parent, tree.find('b'));
    EXPECT_EQ(tree.find('z'), nullptr);

    // Allowed duplicates go to the right of the equal key.
    const TreeNode* twin = tree.insert('b', true);
    EXPECT_EQ(twin->parent, tree.find('c'));
    EXPECT_EQ(tree.find('c')->left, twin);
    EXPECT_EQ(InOrderKeys(tree), (std::vector<Key>{'a', 'b', 'b', 'c', 'd', 'f'}));
}

TEST_F(SearchTreeTest, RemovalDetachesAndReportsBeforeDestroying) {
    SearchTree tree;
    RecordingObserver observer(tree);
    InsertAll(tree, "dbfaceg");
    const TreeNode* top = tree.rootNode();
    observer.forget();

    tree.removeKey('d');  // two children: e's key moves up, e's node goes
    EXPECT_EQ(tree.rootNode(), top);
    EXPECT_EQ(observer.messages, Messages{"deletion"});
    EXPECT_EQ(observer.pictures[0], "e[0](b[0](a[0],c[0]),f[0](-,g[0]))");
    EXPECT_EQ(tree.size(), 6);

    tree.removeKey('x');  // absent
    EXPECT_EQ(observer.messages.size(), 1u);
    tree.remove(nullptr);
    EXPECT_EQ(observer.messages.size(), 1u);

    for (char key : std::string("bacfg"))
        tree.removeKey(static_cast<Key>(key));
    EXPECT_EQ(Describe(tree), "e[0]");
    tree.removeKey('e');
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(tree.size(), 0);
    EXPECT_EQ(observer.messages.size(), 7u);
    EXPECT_EQ(observer.pictures.back(), "-");
}

TEST_F(SearchTreeTest, LevelOrderVisitsHeapSlotsUpToTheLastNode) {
    SearchTree tree;
    EXPECT_EQ(LevelOrder(tree), "");
    tree.insert('m', false);
    EXPECT_EQ(LevelOrder(tree), "m");
    tree.insert('p', false);
    EXPECT_EQ(LevelOrder(tree), "m.p");
    InsertAll(tree, "dbz");
    EXPECT_EQ(LevelOrder(tree), "mdpb..z");
    tree.insert('y', false);  // slot 13, below z
    EXPECT_EQ(LevelOrder(tree), "mdpb..z......y");
}

TEST_F(SearchTreeTest, PostOrderVisitsChildrenFirstAndClearReturnsEveryNode) {
    SearchTree tree;
    RecordingObserver observer(tree);
    InsertAll(tree, "dbfacegh");
    std::string order;
    tree.postOrder([&](TreeNode* node) { order += static_cast<char>(node->key); });
    EXPECT_EQ(order, "acbehgfd");

    observer.forget();
    tree.clear();
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(tree.size(), 0);
    EXPECT_EQ(Pool().Counts().outstanding(), 0u);

    // A right-leaning chain has no left links to come back from.
    InsertAll(tree, "abc");
    order.clear();
    tree.postOrder([&](TreeNode* node) { order += static_cast<char>(node->key); });
    EXPECT_EQ(order, "cba");
}

}  // namespace
}  // namespace avl::testing
