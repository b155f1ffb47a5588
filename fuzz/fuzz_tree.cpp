// The AVL tree against std::multiset under arbitrary insertions (with and
// without duplicates), removals and clears:
//  * after every step the tree holds exactly the multiset's keys in order,
//    its count and links agree, and every balance is the true height
//    difference and lies in -1..1;
//  * at every observer message the links and the count agree;
//  * every node goes back to the pool.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "support/memory_pool.h"
#include "tree/avl_tree.h"

namespace avl::fuzz {
namespace {

// Counts the nodes below `node`, checking each child names it as parent.
int countLinked(const TreeNode* node) {
    if (node == nullptr) return 0;
    for (const TreeNode* child : {node->left, node->right}) {
        FUZZ_CHECK(child == nullptr || child->parent == node, "a child names another parent");
    }
    return 1 + countLinked(node->left) + countLinked(node->right);
}

void checkLinks(const SearchTree& tree) {
    FUZZ_CHECK(tree.rootNode() == nullptr || tree.rootNode()->parent == nullptr,
               "the root has a parent");
    FUZZ_CHECK(countLinked(tree.rootNode()) == tree.size(), "count %d disagrees", tree.size());
}

// The subtree's height; checks every balance on the way.
int checkBalances(const TreeNode* node) {
    if (node == nullptr) return 0;
    const int left = checkBalances(node->left);
    const int right = checkBalances(node->right);
    FUZZ_CHECK(node->balance == left - right && left - right >= -1 && left - right <= 1,
               "key %d: balance %d, heights %d and %d", node->key, node->balance, left, right);
    return 1 + std::max(left, right);
}

void inOrder(const TreeNode* node, std::vector<Key>& keys) {
    if (node == nullptr) return;
    inOrder(node->left, keys);
    keys.push_back(node->key);
    inOrder(node->right, keys);
}

class LinkChecker : public TreeObserver {
  public:
    explicit LinkChecker(const SearchTree& tree) : tree_(tree) {}
    void notify(const std::string&) override { checkLinks(tree_); }

  private:
    const SearchTree& tree_;
};

}  // namespace
}  // namespace avl::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    avl::SummonMemoryPool();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace avl;
    using namespace avl::fuzz;
    FuzzedDataProvider in(data, size);
    {
        AvlTree tree;
        LinkChecker checker(tree);
        tree.setObserver(&checker);
        std::multiset<Key> model;
        while (in.remaining_bytes() > 0) {
            const auto key = in.ConsumeIntegral<Key>();
            switch (in.ConsumeIntegralInRange(0, 9)) {
                case 0:
                    tree.clear();
                    model.clear();
                    break;
                case 1:
                case 2:
                case 3: {
                    const auto at = model.find(key);
                    if (at != model.end()) model.erase(at);
                    tree.removeKey(key);
                    break;
                }
                default: {
                    const bool duplicates = in.ConsumeBool();
                    const bool present = model.count(key) != 0;
                    const TreeNode* node = tree.insert(key, duplicates);
                    FUZZ_CHECK((node != nullptr) == (duplicates || !present),
                               "insert of %d answered wrongly", key);
                    if (node != nullptr) model.insert(key);
                    break;
                }
            }
            checkLinks(tree);
            checkBalances(tree.rootNode());
            std::vector<Key> keys;
            inOrder(tree.rootNode(), keys);
            FUZZ_CHECK(std::equal(keys.begin(), keys.end(), model.begin(), model.end()),
                       "the keys differ from the multiset's");
        }
    }
    const MemoryPool& pool = *CurrentMemoryPool();
    FUZZ_CHECK(pool.Counts().outstanding() == 0, "nodes not returned to the pool");
    FUZZ_CHECK(pool.FreeBlockCount(sizeof(TreeNode)) ==
                   pool.ChunkCount(sizeof(TreeNode)) * MemoryPool::kBlocksPerChunk,
               "the pool's free list lost blocks");
    return 0;
}
