// Clearing trees of every shape: each node goes back to the pool once, and a
// plain tree too deep for clear's short stack of waiting subtrees is cleared
// all the same.

#include <gtest/gtest.h>

#include <random>

#include "tree/avl_tree.h"
#include "tree_checks.h"

namespace avl::testing {
namespace {

class ClearTest : public PooledTreeTest {};

TEST_F(ClearTest, ALargeAvlTreeGivesEveryNodeBackOnce) {
    AvlTree tree;
    std::mt19937 random(5);
    std::uniform_int_distribution<int> pick(-128, 127);
    for (int i = 0; i < 50'000; ++i)
        tree.insert(static_cast<Key>(pick(random)), true);
    ASSERT_EQ(Pool().Counts().outstanding(), 50'000u);
    tree.clear();
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(tree.size(), 0);
    // The fixture checks that every block is on the free list exactly once.
}

TEST_F(ClearTest, APlainTreeDeeperThanTheStackIsClearedWhole) {
    // A left spine in which every node also has a right leaf: each level
    // leaves one right subtree waiting, 120 levels deep.
    SearchTree tree;
    RecordingObserver observer(tree, false, 1000);
    for (int k = 120; k > 0; --k) {
        tree.insert(static_cast<Key>(k), true);
        tree.insert(static_cast<Key>(k), true);  // equal keys go right
    }
    ASSERT_EQ(tree.size(), 240);
    ASSERT_GE(Height(tree.rootNode()), 120);
    observer.forget();
    tree.clear();
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(Pool().Counts().outstanding(), 0u);
}

}  // namespace
}  // namespace avl::testing
