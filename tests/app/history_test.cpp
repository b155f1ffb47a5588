#include "app/history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/memory_pool.h"

namespace avl {
namespace {

// Every node's key and balance, in level order.
std::string picture(const AvlTree& tree) {
    std::string text;
    tree.levelOrder([&text](const TreeNode* node) {
        if (node != nullptr)
            text += std::string(1, static_cast<char>(node->key)) + "[" +
                    std::to_string(node->balance) + "]";
    });
    return text;
}

// Beyond its bound the history forgets its oldest steps, and every step it
// keeps still rebuilds the very tree it stood for, balances and all.
TEST(History, KeepsTheLastStepsAndRebuildsEachOneExactly) {
    SummonMemoryPool();
    {
        const std::string keys = "0123456789abcdefghijklmnopqrstuvwxyz";
        std::mt19937 random(18);
        AvlTree played;
        History history;
        std::vector<std::string> pictures{""};
        while (history.latest() < History::kKeptSteps + 500) {
            // Each key goes in, or out when it is there.
            const auto key = static_cast<Key>(keys[random() % keys.size()]);
            if (played.find(key) == nullptr) {
                played.insert(key, false);
            } else {
                played.removeKey(key);
            }
            history.add({{Action::Insert, key}, shapeOf(played), ""});
            pictures.push_back(picture(played));
        }
        EXPECT_EQ(history.oldest(), history.latest() - History::kKeptSteps);
        history.moveTo(0);
        EXPECT_EQ(history.current(), history.oldest());

        AvlTree rebuilt;
        for (int step = history.oldest(); step <= history.latest(); ++step) {
            rebuild(rebuilt, history.step(step).shape);
            ASSERT_EQ(picture(rebuilt), pictures[static_cast<std::size_t>(step)]) << step;
        }
        played.clear();
        rebuilt.clear();
    }
    ReleaseMemoryPool();
}

}  // namespace
}  // namespace avl
