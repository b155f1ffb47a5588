// Random typing at avl-demo, the screen checked against the tree engine after
// every key.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "demo_terminal.h"

namespace avl::testing {
namespace {

constexpr unsigned kSeed = 20261208;
// Enough keys to see typing, deleting, pausing and clearing through a real
// terminal; the long random run is in-process (tests/app/demo_test.cpp).
constexpr int kKeyPresses = 50;

// The demo's key pool, as names the terminal harness types.
std::vector<std::string> keyPool() {
    std::vector<std::string> pool;
    for (char c : demoKeyPool()) {
        pool.push_back(c == '\r' ? "Enter" : c == ' ' ? "Space" : std::string(1, c));
    }
    return pool;
}

TEST(DemoRandomTyping, ScreenFollowsTheTreeAfterEveryKey) {
    DemoTerminal demo;
    ASSERT_TRUE(demo.enterDemo()) << demo.term().screenText();
    const std::vector<std::string> pool = keyPool();
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);

    std::string typed;
    for (int press = 0; press < kKeyPresses; ++press) {
        const std::string& name = pool[pick(random)];
        typed += name.size() == 1 ? name : "<" + name + ">";
        const int rotations = demo.key(name);
        if (demo.paused()) {
            // Each rotation waits for a key; an unbound one continues it.
            for (int i = 0; i < rotations; ++i) {
                ASSERT_TRUE(demo.term().waitForText(" <do>")) << typed;
                demo.term().type(".");
                ASSERT_TRUE(demo.term().waitUntil([&] { return !demo.term().contains(" <do>"); }))
                    << typed;
            }
        }
        ASSERT_TRUE(demo.waitForMirror()) << "after " << typed << " (seed " << kSeed << ")\n"
                                          << demo.gridDifferences() << demo.term().screenText();
    }
    EXPECT_GT(demo.mirror().size(), 0);
    demo.key("Esc");
    EXPECT_TRUE(demo.term().waitForExit().exitedWith(0));
}

}  // namespace
}  // namespace avl::testing
