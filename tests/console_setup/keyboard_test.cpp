#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "orvask/keyboard.h"
#include "orvask/platform/memory_console.h"

namespace orvask {
namespace {

using platform::BasicMemoryConsoleScope;
using platform::MemoryConsole;
using platform::MemoryConsoleScope;

constexpr int kAlt = 0x12;
constexpr int kShift = 0x10;
constexpr int kTab = 0x09;

int readOne(MemoryConsole& console, std::initializer_list<int> codes) {
    console.pushKeys(codes);
    getkey();
    return lastkey;
}

TEST(GetKey, CharactersExtendedKeysAndEndOfInput) {
    MemoryConsoleScope console;
    EXPECT_EQ(readOne(*console, {'x'}), 'x');
    EXPECT_EQ(readOne(*console, {27}), key::Esc);
    EXPECT_EQ(readOne(*console, {0, 72}), key::Up) << "prefix 0";
    EXPECT_EQ(readOne(*console, {224, 59}), key::F1) << "prefix 224";
    EXPECT_EQ(readOne(*console, {224, 83}), key::Delete);
    EXPECT_EQ(readOne(*console, {0, 15}), key::ShiftTab);
    // A typed character 224 is taken as a prefix: the next key is its code.
    EXPECT_EQ(readOne(*console, {224, 'b'}), 1000 + 'b');
    EXPECT_EQ(console->keysQueued(), 0u);

    EXPECT_EQ(readOne(*console, {}), -1) << "end of input is stored unchanged";
    EXPECT_EQ(readOne(*console, {0}), -1) << "input ending after a prefix is still the end";
}

TEST(GetKey, AltTurnsLettersOfEitherCaseIntoOneCode) {
    MemoryConsoleScope console;
    console->holdKey(kAlt);
    EXPECT_EQ(readOne(*console, {'a'}), key::AltA);
    EXPECT_EQ(readOne(*console, {'A'}), key::AltA);
    EXPECT_EQ(readOne(*console, {'z'}), key::AltZ);
    EXPECT_EQ(readOne(*console, {'Z'}), key::AltZ);
    EXPECT_EQ(readOne(*console, {'m'}), 2013);
    // Only letters get the Alt code.
    EXPECT_EQ(readOne(*console, {'1'}), '1');
    EXPECT_EQ(readOne(*console, {'@'}), '@');
    EXPECT_EQ(readOne(*console, {'['}), '[');
    EXPECT_EQ(readOne(*console, {'`'}), '`');
    EXPECT_EQ(readOne(*console, {'{'}), '{');
    EXPECT_EQ(readOne(*console, {0, 104}), 1104) << "an extended code is left alone";

    // Alt counts as it is when the key leaves the queue, not when typed.
    console->releaseKey(kAlt);
    EXPECT_EQ(readOne(*console, {'a'}), 'a');
    EXPECT_EQ(readOne(*console, {'Z'}), 'Z');
}

// Records which virtual keys are asked for, pass by pass.
class KeyStateSpy : public MemoryConsole {
  public:
    bool keyDown(int virtualKey) override {
        asked.push_back(virtualKey);
        return MemoryConsole::keyDown(virtualKey);
    }
    std::vector<int> asked;
};

std::set<int> watchedKeys() {
    std::set<int> keys = {0x08, 0x0D, 0x10, 0x11, 0x12, 0x14, 0x1B, 0x90, 0x91};
    for (int vk = 0x1E; vk <= 0x5A; ++vk)
        keys.insert(vk);
    for (int vk = 0x60; vk <= 0x69; ++vk)
        keys.insert(vk);
    for (int vk = 0x6B; vk <= 0x6F; ++vk)
        keys.insert(vk);
    for (int vk = 0x70; vk <= 0x87; ++vk)
        keys.insert(vk);
    return keys;
}

TEST(KeyFlush, AsksForExactlyTheWatchedKeys) {
    BasicMemoryConsoleScope<KeyStateSpy> console;
    keyflush();
    const std::set<int> asked(console->asked.begin(), console->asked.end());
    EXPECT_EQ(asked, watchedKeys());
    EXPECT_EQ(console->asked.size(), asked.size()) << "one pass, each key once";
}

TEST(KeyFlush, WaitsWhileAWatchedKeyIsHeldAndAsksForEveryKeyInEachPass) {
    BasicMemoryConsoleScope<KeyStateSpy> console;
    console->holdKey(kShift, 3);  // down for three passes, released in the fourth
    keyflush();
    const std::size_t passSize = watchedKeys().size();
    ASSERT_EQ(console->asked.size(), 4 * passSize);
    EXPECT_EQ(console->keyStateQueries(), 4 * passSize);
}

TEST(KeyFlush, IgnoresUnwatchedKeys) {
    BasicMemoryConsoleScope<KeyStateSpy> console;
    for (int vk : {kTab, 0x13, 0x5B, 0x5C, 0x5D, 0x6A, 0xBA, 0xDE, 0x01, 0x02}) {
        console->holdKey(vk, 1000);
    }
    keyflush();
    EXPECT_EQ(console->asked.size(), watchedKeys().size()) << "returned after one pass";
}

TEST(KeyFlush, DiscardsTypedAheadKeysButNotLaterOnes) {
    MemoryConsoleScope console;
    console->pushKeys({'a', 0, 59, 224, 72, 'b', 0, 83});
    console->pushKeyAt(5'000, 'q');  // typed after the flush
    keyflush();
    EXPECT_EQ(console->keysQueued(), 1u);
    EXPECT_FALSE(keywaiting());
    getkey();
    EXPECT_EQ(lastkey, 'q');

    keyflush();  // end of input: returns at once
    getkey();
    EXPECT_EQ(lastkey, -1);
}

TEST(KeyWaiting, FollowsTheQueueAndTheClock) {
    MemoryConsoleScope console;
    EXPECT_FALSE(keywaiting());
    console->pushKeyAt(1'000, 'k');
    EXPECT_FALSE(keywaiting());
    console->advance(1'000);
    EXPECT_TRUE(keywaiting());
    getkey();
    EXPECT_EQ(lastkey, 'k');
    EXPECT_FALSE(keywaiting());
}

}  // namespace
}  // namespace orvask
