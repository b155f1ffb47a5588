// avl-demo on a real (pseudo-)terminal: what a user at an xterm sees.
#include <gtest/gtest.h>

#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "demo_terminal.h"
#include "term_harness/tty_modes.h"

namespace avl::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kDarkGrey = 8;
constexpr int kBlue = 9;
constexpr int kRed = 12;
constexpr int kWhite = 15;

class DemoE2e : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(demo.enterDemo()) << demo.term().screenText(); }
    int fg(int x, int y) { return demo.term().cell(x, y).fg; }
    // The glyphs of `count` cells from (x, y), as UTF-8.
    std::string cells(int x, int y, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += demo.term().cell(x + i, y).utf8();
        return text;
    }

    DemoTerminal demo;
};

TEST(DemoE2eStart, LoadingScreenThenEmptyTreeAndMenu) {
    DemoTerminal demo;
    auto& term = demo.term();
    ASSERT_TRUE(term.waitForText("Press any key to continue...")) << term.screenText();
    EXPECT_TRUE(term.contains("This program is powered by"));
    EXPECT_EQ(term.title(), "AVL Tree Demo");

    term.type("x");
    ASSERT_TRUE(term.waitForText("Exit : Esc")) << term.screenText();
    EXPECT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    EXPECT_FALSE(term.contains("Press any key"));
    EXPECT_EQ(term.rowText(0).substr(38, 3), " _ ");
    EXPECT_EQ(term.cell(39, 0).fg, ansiFromConsole(kDarkGrey));
    EXPECT_EQ(term.rowText(16).substr(0, 58),
              "AVL Tree Demonstration by Orvask team (orvask@example.org)");
    EXPECT_EQ(term.rowText(20).substr(0, 52),
              "Pause before rotation : false (toggle with spacebar)");
    EXPECT_EQ(term.cell(24, 20).fg, ansiFromConsole(kRed));
    EXPECT_FALSE(term.cursorVisible());
}

TEST_F(DemoE2e, RotationThenShiftedDigitDeletes) {
    for (const char* key : {"1", "2", "3"})
        demo.key(key);
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences() << demo.term().screenText();
    EXPECT_EQ(demo.term().rowText(0).substr(0, 16), "L rotation at 1 ");
    EXPECT_EQ(fg(0, 0), ansiFromConsole(kDarkGrey));
    EXPECT_EQ(demo.term().rowText(0).substr(38, 3), " 2 ");
    EXPECT_EQ(fg(39, 0), ansiFromConsole(kWhite));

    demo.key("@");  // Shift+2
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    EXPECT_EQ(cells(38, 0, 3), "\u00AB3 ");
    EXPECT_EQ(fg(38, 0), ansiFromConsole(kBlue));
}

TEST_F(DemoE2e, PausedRotationWaitsForAKey) {
    demo.key("Space");
    auto& term = demo.term();
    ASSERT_TRUE(term.waitForText("true  (toggle with spacebar)"));
    EXPECT_EQ(fg(24, 20), ansiFromConsole(kBlue));
    for (const char* key : {"3", "2", "1"})
        demo.key(key);
    ASSERT_TRUE(term.waitForText("R rotation at 3 <do>")) << term.screenText();
    std::this_thread::sleep_for(500ms);
    term.poll();
    EXPECT_TRUE(term.contains("R rotation at 3 <do>"));
    EXPECT_EQ(cells(38, 0, 3), "\u00AB3 ") << "not rotated before the key";

    term.press("Down");  // the whole key continues; its code must not delete 'p'
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    EXPECT_FALSE(term.contains("<do>"));
    EXPECT_EQ(term.rowText(0).substr(38, 3), " 2 ");
}

TEST_F(DemoE2e, ArrowAndFunctionKeysChangeNothing) {
    for (const char* key : {"h", "p", "q", "s"})
        demo.key(key);
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    for (const char* key : {"Up", "Down", "PageDown", "Delete", "F1"})
        demo.key(key);
    demo.key("z");  // a marker: once it shows, every key before it was handled
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
}

// A paste that arrives while a rotation animates, with the Esc of an arrow
// key as byte 256 of it: every key of it reaches the program whole.
TEST_F(DemoE2e, APasteDuringARotationArrivesWhole) {
    for (const char* key : {"1", "2", "3"})
        demo.key(key);  // the rotation at 1 animates while the paste arrives
    std::vector<std::string> paste = {"4"};
    for (int i = 0; i < 84; ++i)
        paste.push_back("Right");  // 3 bytes each: 253 bytes so far
    for (const char* key : {"5", "6", "Up", "7", "8", "9", "a", "b"})
        paste.push_back(key);  // Up's Esc is byte 256
    demo.paste(paste);
    ASSERT_TRUE(demo.waitForMirror(5000ms)) << demo.gridDifferences();
    EXPECT_FALSE(demo.term().status().ended()) << demo.term().status();
}

// Redrawing a tree whose root leans, unchanged, must not show the terminal
// the root's mark erased and drawn again: a key that changes nothing writes
// nothing.
TEST_F(DemoE2e, AKeyThatChangesNothingWritesNothing) {
    demo.key("1");
    demo.key("2");  // the root leans right: its mark is drawn after its key
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    demo.term().waitQuiet(300ms);
    demo.term().markOutput();
    demo.key("1");  // already there
    demo.term().waitQuiet(300ms);
    EXPECT_EQ(demo.term().bytesSinceMark(), 0u) << demo.term().outputSinceMark();
    demo.key("z");  // and the program still answers
    EXPECT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
}

TEST_F(DemoE2e, EscEndsWithStatusZeroAndRestoresTheTerminal) {
    demo.key("a");
    demo.key("Esc");
    const term_harness::ExitStatus status = demo.term().waitForExit();
    EXPECT_TRUE(status.exitedWith(0)) << status;
    EXPECT_FALSE(demo.term().altScreen());
    EXPECT_TRUE(demo.term().cursorVisible());
    const auto modes = demo.term().ttyModes();
    ASSERT_TRUE(modes.has_value());
    EXPECT_TRUE(term_harness::isCooked(*modes));
}

// A teacher's walk: a tree prepared with --keys, one step back and forward
// again (replayed, its rotation explained), back to the empty start, and on
// to the latest step.
TEST(DemoE2eTeaching, APreparedTreeIsWalkedThroughStepByStep) {
    const std::string keys = "mftcipwa2";  // 2 rotates right at c
    DemoTerminal demo(false, {"--teach", "--keys", keys});
    demo.assume(keys);
    ASSERT_TRUE(demo.enterDemo()) << demo.gridDifferences() << demo.term().screenText();
    auto& term = demo.term();
    ASSERT_TRUE(term.waitForText("Step 9 of 9 ")) << term.screenText();

    AvlTree before;
    for (const char key : keys.substr(0, keys.size() - 1))
        before.insert(static_cast<Key>(key), false);
    demo.key("Left");
    ASSERT_TRUE(term.waitForText("Step 8 of 9 ")) << term.screenText();
    EXPECT_TRUE(term.waitUntil([&] { return demo.gridDifferencesFrom(before).empty(); }))
        << demo.gridDifferencesFrom(before);
    EXPECT_EQ(term.rowText(23).substr(0, 12), "Inserted a. ");

    demo.key("Right");
    ASSERT_TRUE(term.waitForText("Step 9 of 9 ")) << term.screenText();
    EXPECT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    EXPECT_EQ(term.rowText(0).substr(0, 16), "R rotation at c ");
    EXPECT_EQ(term.rowText(23).substr(0, 34), "Inserted 2; c is left-heavy by 2, ");

    const AvlTree empty;
    demo.key("Home");
    ASSERT_TRUE(term.waitForText("Step 0 of 9 ")) << term.screenText();
    EXPECT_EQ(demo.gridDifferencesFrom(empty), "");
    demo.key("End");
    ASSERT_TRUE(term.waitForText("Step 9 of 9 ")) << term.screenText();
    EXPECT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
}

TEST(DemoE2eInput, ClosingStandardInputEndsWithStatusZero) {
    DemoTerminal demo(/*stdinFromPipe=*/true);
    ASSERT_TRUE(demo.enterDemo()) << demo.term().screenText();
    demo.key("1");
    demo.key("2");
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    demo.term().closeInput();
    const term_harness::ExitStatus status = demo.term().waitForExit();
    EXPECT_TRUE(status.exitedWith(0)) << status;
    EXPECT_FALSE(demo.term().altScreen());
}

// Closing the terminal ends the input: the demo shuts down as after Esc.
TEST(DemoE2eInput, ClosingTheTerminalEndsWithStatusZero) {
    DemoTerminal demo;
    ASSERT_TRUE(demo.enterDemo()) << demo.term().screenText();
    demo.key("q");
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    demo.term().hangUp();
    const term_harness::ExitStatus status = demo.term().waitForExit();
    EXPECT_TRUE(status.exitedWith(0)) << status;
}

// With its output in a file, the keys still come from the terminal as they
// are typed: Esc, not glued to a newline, ends the demo.
TEST(DemoE2eInput, OutputToAFileKeysFromTheTerminal) {
    const std::string file =
        ::testing::TempDir() + "avl-demo-output-" + std::to_string(getpid()) + ".txt";
    term_harness::Terminal term(
        {.argv = {"/bin/sh", "-c", "exec \"$0\" > \"$1\"", AVL_DEMO_PATH, file}});
    term.type("x1");  // past the loading screen, then a key
    std::this_thread::sleep_for(200ms);
    term.press("Esc");
    const term_harness::ExitStatus status = term.waitForExit();
    EXPECT_TRUE(status.exitedWith(0)) << status;
    const auto modes = term.ttyModes();
    ASSERT_TRUE(modes.has_value());
    EXPECT_EQ(term_harness::describeModeDifference(term.initialModes(), *modes), "");
    std::ifstream written(file);
    const std::string frames((std::istreambuf_iterator<char>(written)), {});
    EXPECT_NE(frames.find("Demonstration"), std::string::npos) << "the frames went to the file";
    std::remove(file.c_str());
}

TEST(DemoE2eInput, InputEndingDuringAPausedRotationEndsWithStatusZero) {
    DemoTerminal demo(/*stdinFromPipe=*/true);
    ASSERT_TRUE(demo.enterDemo()) << demo.term().screenText();
    for (const char* key : {"Space", "1", "2", "3"})
        demo.key(key);
    ASSERT_TRUE(demo.term().waitForText("<do>")) << demo.term().screenText();
    demo.term().closeInput();
    const term_harness::ExitStatus status = demo.term().waitForExit();
    EXPECT_TRUE(status.exitedWith(0)) << status;
}

}  // namespace
}  // namespace avl::testing
