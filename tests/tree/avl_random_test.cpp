// Long random runs of insertions and removals against a std::multiset, with
// the whole tree checked after every operation and at every message.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tree/avl_tree.h"
#include "tree_checks.h"

namespace avl::testing {
namespace {

class AvlRandomTest : public PooledTreeTest {
  protected:
    // Runs `operations` random insertions (with probability `insertShare`)
    // and removals of keys drawn from `keys`, checking the tree against a
    // multiset after each one.
    void Run(std::uint32_t seed, const std::vector<Key>& keys, bool allowDuplicates,
             double insertShare, int operations, int maxHeight) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::uniform_int_distribution<std::size_t> pick(0, keys.size() - 1);
        std::bernoulli_distribution insertNext(insertShare);

        AvlTree tree;
        RecordingObserver observer(tree, false, maxHeight + 1);
        std::multiset<Key> oracle;
        const MemoryPool::BlockCounts before = Pool().Counts();
        std::uint64_t insertCalls = 0;
        for (int step = 0; step < operations; ++step) {
            const Key key = keys[pick(random)];
            if (insertNext(random)) {
                ++insertCalls;
                const bool present = oracle.count(key) != 0;
                const TreeNode* node = tree.insert(key, allowDuplicates);
                ASSERT_EQ(node == nullptr, present && !allowDuplicates) << "step " << step;
                if (node != nullptr) {
                    ASSERT_EQ(node->key, key);
                    oracle.insert(key);
                }
            } else {
                tree.removeKey(key);
                if (auto it = oracle.find(key); it != oracle.end()) oracle.erase(it);
            }
            ASSERT_TRUE(LinksConsistent(tree)) << "step " << step;
            ASSERT_TRUE(AvlBalanced(tree)) << "step " << step;
            ASSERT_LE(Height(tree.rootNode()), maxHeight) << "step " << step;
            ASSERT_EQ(InOrderKeys(tree), std::vector<Key>(oracle.begin(), oracle.end()))
                << "step " << step;
            ASSERT_EQ(observer.inconsistencies, 0);
        }
        const auto rotations = std::count_if(
            observer.messages.begin(), observer.messages.end(),
            [](const std::string& m) { return m.find(" rotation at ") != std::string::npos; });
        EXPECT_GT(rotations, operations / 20) << "the run exercised the balancing";
        tree.clear();
        // Every insertion took one node from the pool, rejected or not, and
        // every node went back.
        EXPECT_EQ(Pool().Counts().handedOut - before.handedOut, insertCalls);
        EXPECT_EQ(Pool().Counts().returned - before.returned, insertCalls);
    }
};

TEST_F(AvlRandomTest, TheDemonstrationsKeysWithoutDuplicates) {
    std::vector<Key> keys;
    for (char c : std::string("0123456789abcdefghijklmnopqrstuvwxyz"))
        keys.push_back(c);
    // 36 keys never need more than 7 levels (8 for a moment while linking).
    for (std::uint32_t seed : {1u, 2u, 3u})
        Run(seed, keys, false, 0.55, 20000, 7);
}

TEST_F(AvlRandomTest, TheWholeSignedByteRangeWithDuplicates) {
    std::vector<Key> keys;
    for (int k = -128; k <= 127; ++k)
        keys.push_back(static_cast<Key>(k));
    // Some hundreds of nodes, with long runs of equal keys; an AVL tree of
    // height 16 already needs over 2500 nodes.
    for (std::uint32_t seed : {11u, 12u})
        Run(seed, keys, true, 0.5, 8000, 16);
}

}  // namespace
}  // namespace avl::testing
