#pragma once
// Independent checks of a tree's structure, an observer that checks the tree
// at every message, and a fixture that gives each test its own pool and
// verifies that every node went back to it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_pool.h"
#include "tree/search_tree.h"

namespace avl::testing {

// "key[balance](left,right)", "-" for a missing child, children omitted for a
// leaf: "b[0](a[0],-)". Keys are shown as characters.
std::string Describe(const TreeNode* node);
inline std::string Describe(const SearchTree& tree) {
    return Describe(tree.rootNode());
}

// Parent links match child links, the root has no parent, and `size()` equals
// the number of reachable nodes.
::testing::AssertionResult LinksConsistent(const SearchTree& tree);
// Every balance equals the real height difference and lies in -1..1.
::testing::AssertionResult AvlBalanced(const SearchTree& tree);
// Inserts the characters of `keys` in order.
inline void InsertAll(SearchTree& tree, const std::string& keys, bool allowDuplicates = false) {
    for (char key : keys)
        tree.insert(static_cast<Key>(key), allowDuplicates);
}
// Levels from the root to the deepest node (0 for an empty tree).
int Height(const TreeNode* node);
// The keys of an in-order walk by successor links.
std::vector<Key> InOrderKeys(const SearchTree& tree);

// Records every message (and, unless told not to, a picture of the tree at
// that moment), and checks at each one that the tree is consistent and no
// taller than `maxHeight`.
class RecordingObserver : public TreeObserver {
  public:
    explicit RecordingObserver(SearchTree& tree, bool keepPictures = true, int maxHeight = 64)
        : tree_(tree), keepPictures_(keepPictures), maxHeight_(maxHeight) {
        tree.setObserver(this);
    }

    void notify(const std::string& message) override;

    std::vector<std::string> messages;
    std::vector<std::string> pictures;
    int inconsistencies = 0;

    // Drops what was recorded so far.
    void forget() {
        messages.clear();
        pictures.clear();
    }

  private:
    SearchTree& tree_;
    bool keepPictures_;
    int maxHeight_;
};

// Each test has the process-wide pool to itself; at the end every block the
// test took must have gone back.
class PooledTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SummonMemoryPool();
        ASSERT_NE(CurrentMemoryPool(), nullptr);
    }
    void TearDown() override {
        const MemoryPool& pool = *CurrentMemoryPool();
        EXPECT_EQ(pool.Counts().outstanding(), 0u) << "nodes not returned to the pool";
        EXPECT_EQ(pool.FreeBlockCount(sizeof(TreeNode)),
                  pool.ChunkCount(sizeof(TreeNode)) * MemoryPool::kBlocksPerChunk);
        ReleaseMemoryPool();
    }
    static const MemoryPool& Pool() { return *CurrentMemoryPool(); }
};

}  // namespace avl::testing
