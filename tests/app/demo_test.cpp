#include "app/demo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "demo_mirror.h"
#include "hooked_console.h"
#include "support/memory_pool.h"
#include "tree/avl_tree.h"

namespace avl {
namespace {

using orvask::platform::ConsoleModel;
using orvask::platform::Coord;
using testing::DemoMirror;
using testing::ExpectedGrid;
using testing::HookedConsole;

constexpr int kEsc = 27;
constexpr int kEnter = 13;
constexpr int kAnyKey = 'x';  // answers the loading screen
// Keys without a character: the prefix, then the code.
const std::vector<int> kLeft = {224, 75};
const std::vector<int> kRight = {224, 77};
const std::vector<int> kHome = {224, 71};
const std::vector<int> kEnd = {224, 79};
const std::vector<int> kF2 = {0, 60};

// Records the console calls that mark the steps of start-up and shutdown,
// with the state of the memory pool at each.
class StepConsole : public HookedConsole {
  public:
    std::vector<std::string> steps;

    void setTitle(const char* text) override {
        steps.push_back(std::string("title ") + text + poolState());
        HookedConsole::setTitle(text);
    }
    void setInputCodePage(int codePage) override {
        steps.push_back("codepage " + std::to_string(codePage) + poolState());
        HookedConsole::setInputCodePage(codePage);
    }
    void setCursorInfo(int size, bool visible) override {
        steps.push_back(std::string(visible ? "cursor shown" : "cursor hidden") + poolState());
        HookedConsole::setCursorInfo(size, visible);
    }

  private:
    static std::string poolState() {
        const MemoryPool* pool = CurrentMemoryPool();
        if (pool == nullptr) return " (no pool)";
        return " (pool, " + std::to_string(pool->Counts().outstanding()) + " out)";
    }
};

class DemoTest : public ::testing::Test {
  protected:
    // Runs the program on `keys` (after the loading screen's key) until the
    // input ends, and returns the screen as it was when the program asked
    // for the key after the last one.
    ConsoleModel screenAfter(const std::vector<int>& keys, const DemoOptions& options = {}) {
        console.pushKeys({kAnyKey});
        for (int key : keys)
            console.pushKeys({key});
        std::optional<ConsoleModel> last;
        console.beforeReadKey = [&] {
            if (!last && console.keysQueued() == 0) last = console.model();
        };
        EXPECT_EQ(runDemo(options), 0);
        console.beforeReadKey = nullptr;
        EXPECT_TRUE(last.has_value());
        return last.value_or(ConsoleModel{});
    }
    static std::vector<int> text(const std::string& typed) {
        return std::vector<int>(typed.begin(), typed.end());
    }
    static std::vector<int> joined(std::vector<int> a, const std::vector<int>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    static std::string grid(const ConsoleModel& screen) {
        std::string rows;
        for (int y = 0; y <= 14; ++y)
            rows += screen.rowText(y) + "\n";
        return rows;
    }
    static bool gridShows(const ConsoleModel& screen, char key) {
        for (int y = 1; y <= 14; ++y) {
            if (screen.rowText(y).find(key) != std::string::npos) return true;
        }
        return screen.rowText(0).substr(21).find(key) != std::string::npos;
    }
    static std::uint8_t attribute(const ConsoleModel& screen, int x, int y) {
        return screen.cell(x, y).attribute;
    }

    orvask::platform::BasicMemoryConsoleScope<StepConsole> installed;
    StepConsole& console = *installed;
};

TEST_F(DemoTest, ShowsTheEmptyTreeAndTheMenu) {
    const ConsoleModel screen = screenAfter({});
    EXPECT_EQ(screen.rowText(0).substr(38, 3), " _ ");
    EXPECT_EQ(screen.rowText(14).substr(0, 5), ".... ");

    auto row = [&](int y) {
        std::string line = screen.rowText(y);
        return line.substr(0, line.find_last_not_of(' ') + 1);
    };
    EXPECT_EQ(row(16), "AVL Tree Demonstration by Orvask team (orvask@example.org)");
    EXPECT_EQ(row(17), "Insert an element : 0~9 or a~z");
    EXPECT_EQ(row(18), "Delete an element : 0~9 or a~z, while shift key is pressed.");
    EXPECT_EQ(row(19), "Delete all element : Enter");
    EXPECT_EQ(row(20), "Pause before rotation : false (toggle with spacebar)");
    EXPECT_EQ(row(21), "Exit : Esc");
    // The credit: the name's first letter red, the rest white, the address
    // dark grey.
    EXPECT_EQ(attribute(screen, 26, 16), 0x0C);
    EXPECT_EQ(attribute(screen, 27, 16), 0x0F);
    EXPECT_EQ(attribute(screen, 38, 16), 0x08);
    // "false" red, the hint dark grey.
    EXPECT_EQ(attribute(screen, 24, 20), 0x0C);
    EXPECT_EQ(attribute(screen, 30, 20), 0x08);
    EXPECT_FALSE(screen.cursorVisible);
}

TEST_F(DemoTest, SpaceTogglesThePause) {
    const ConsoleModel screen = screenAfter({' '});
    EXPECT_EQ(screen.rowText(20).substr(24, 28), "true  (toggle with spacebar)");
    EXPECT_EQ(attribute(screen, 24, 20), 0x09);
}

TEST_F(DemoTest, TypingOneTwoThreeRotatesLeft) {
    const ConsoleModel screen = screenAfter(text("123"));
    EXPECT_EQ(screen.rowText(0).substr(0, 15), "L rotation at 1");
    EXPECT_EQ(screen.rowText(0).substr(38, 3), " 2 ");
    EXPECT_EQ(screen.rowText(3).substr(18, 3), " 1 ");
    EXPECT_EQ(screen.rowText(3).substr(58, 3), " 3 ");
    EXPECT_EQ(console.sleptMilliseconds(), 300u);
}

TEST_F(DemoTest, CapitalLettersDeleteTheLowerCaseKey) {
    // Shift and Caps Lock both deliver the capital.
    const ConsoleModel screen = screenAfter(text("abcBA"));
    EXPECT_FALSE(gridShows(screen, 'a'));
    EXPECT_FALSE(gridShows(screen, 'b'));
    EXPECT_TRUE(gridShows(screen, 'c'));
}

TEST_F(DemoTest, ShiftedDigitsDeleteTheirDigits) {
    const ConsoleModel screen = screenAfter(text("0123456789)!@#$%^&*("));
    for (char digit = '0'; digit <= '9'; ++digit)
        EXPECT_FALSE(gridShows(screen, digit)) << digit;
    EXPECT_EQ(screen.rowText(0).substr(38, 3), " _ ");
}

TEST_F(DemoTest, EnterDeletesEverything) {
    const ConsoleModel emptyScreen = screenAfter({});
    const ConsoleModel screen = screenAfter(joined(text("q7z"), {kEnter}));
    EXPECT_EQ(grid(screen).substr(81), grid(emptyScreen).substr(81));  // below the message
}

TEST_F(DemoTest, KeysAlreadyThereOrAbsentChangeNothing) {
    const ConsoleModel before = screenAfter(text("ab"));
    const std::uint64_t sleptBefore = console.sleptMilliseconds();
    const ConsoleModel after = screenAfter(text("abaZ(-"));
    EXPECT_EQ(grid(after), grid(before));
    EXPECT_EQ(console.sleptMilliseconds(), 2 * sleptBefore);
}

TEST_F(DemoTest, KeysWithoutACharacterChangeNothing) {
    const std::vector<int> keys = text("hpqs;");
    const ConsoleModel before = screenAfter(keys);
    // Up, Down, Page Down, Delete, F1: their codes are those of 'H' 'P' 'Q'
    // 'S' ';'.
    const ConsoleModel after =
        screenAfter(joined(keys, {224, 72, 224, 80, 224, 81, 224, 83, 0, 59}));
    EXPECT_EQ(grid(after), grid(before));
    for (char key : std::string("hpqs"))
        EXPECT_TRUE(gridShows(after, key)) << key;
}

TEST_F(DemoTest, PausedRotationTakesTheWholeKeyThatContinuesIt) {
    // With the pause on, inserting 1 below h and 2 rotates at h and waits;
    // Up (224, 72) continues it. Its 72 ('H') must not reach the key loop.
    const ConsoleModel screen = screenAfter(joined(text(" h21"), {224, 72}));
    EXPECT_EQ(screen.rowText(0).substr(0, 15), "R rotation at h");
    EXPECT_TRUE(gridShows(screen, 'h'));
    EXPECT_EQ(console.sleptMilliseconds(), 100u);
}

// Each key that changes the tree is a step: its line on row 23, the history
// on row 24, and the tree as that step left it.
TEST_F(DemoTest, StepsAreExplainedAndWalkedThrough) {
    const struct {
        std::vector<std::vector<int>> keys;
        const char* explanation;
        const char* history;        // how row 24 begins
        const char* tree;           // keys that, inserted in order, build the tree shown
        const char* prepared = "";  // --keys
    } cases[] = {
        {{text("a")}, "Inserted a.", "Step 1 of 1 ", "a"},
        {{text("aa")}, "a is already in the tree.", "Step 1 of 1 ", "a"},
        {{text("aZ")}, "z is not in the tree.", "Step 1 of 1 ", "a"},
        {{text("312")},
         "Inserted 2; 3 is left-heavy by 2, its left child 1 leans right: LR rotation.",
         "Step 3 of 3 ",
         "213"},
        {{text("21435!")},
         "Deleted 1; 2 is right-heavy by 2, its right child 4 is balanced: L rotation.",
         "Step 6 of 6 ",
         "4253"},
        {{text("hejcgikbdflaI")},
         "Deleted i; 2 rotations on the way up: L at j, R at h.",
         "Step 13 of 13 ",
         "echbdgkafjl"},
        {{text("badceB")},
         "Deleted b; c, the next key in order, took its place.",
         "Step 6 of 6 ",
         "cade"},
        {{text("abc\r\r")}, "The tree is already empty.", "Step 4 of 4 ", ""},
        {{text("abc"), kLeft}, "Inserted b.", "Step 2 of 3 ", "ab"},
        {{text("abc"), kHome}, "The empty tree at the start.", "Step 0 of 3 ", ""},
        {{text("abc"), kHome, kEnd},
         "Inserted c; a is right-heavy by 2, its right child b leans right: L rotation.",
         "Step 3 of 3 ",
         "bac"},
        // Typing while stepped back drops the later steps.
        {{text("abc"), kLeft, kLeft, text("x")}, "Inserted x.", "Step 2 of 2 ", "ax"},
        {{text("abc\r"), kLeft},
         "Inserted c; a is right-heavy by 2, its right child b "
         "leans right: L rotation.",
         "Step 3 of 4 ",
         "bac"},
        {{text("abc"), kLeft, kRight},
         "Inserted c; a is right-heavy by 2, its right child b leans right: L rotation.",
         "Step 3 of 3 ",
         "bac"},
        {{text("ab"), kRight}, "Inserted b.", "Step 2 of 2 ", "ab"},
        {{kHome, kLeft}, "The empty tree at the start.", "Step 0 of 0 ", ""},
        // Prepared keys are steps too, and only those that changed the tree.
        {{kHome, kRight, kRight}, "Inserted a.", "Step 2 of 5 ", "3a", "3a1A1\r"},
        {{text("7\r")}, "Deleted the only key.", "Step 2 of 2 ", ""},
    };
    for (const auto& c : cases) {
        std::vector<int> keys;
        for (const auto& part : c.keys)
            keys = joined(keys, part);
        SCOPED_TRACE(std::string(c.prepared) + "|" + std::string(keys.begin(), keys.end()));
        DemoOptions options;
        options.teaching = true;
        options.keys = c.prepared;
        const ConsoleModel screen = screenAfter(keys, options);
        EXPECT_EQ(screen.rowText(23),
                  std::string(c.explanation).append(80 - std::strlen(c.explanation), ' '));
        EXPECT_EQ(screen.rowText(24).rfind(c.history, 0), 0u) << screen.rowText(24);

        SummonMemoryPool();
        {
            AvlTree expected;
            for (char key : std::string(c.tree))
                expected.insert(static_cast<Key>(key), false);
            EXPECT_EQ(testing::ExpectedGrid(expected).differences([&](int x, int y) {
                return testing::GridCell{screen.cell(x, y).glyph,
                                         screen.cell(x, y).attribute & 0x0F};
            }),
                      "");
        }
        ReleaseMemoryPool();
    }
}

TEST_F(DemoTest, F2ShowsAndHidesTheTeachingRows) {
    const std::string blank(80, ' ');
    const ConsoleModel plain = screenAfter(text("ab"));
    EXPECT_EQ(plain.rowText(23), blank);
    EXPECT_EQ(plain.rowText(24), blank);
    const ConsoleModel shown = screenAfter(joined(text("ab"), kF2));
    EXPECT_EQ(shown.rowText(23).substr(0, 12), "Inserted b. ");
    const std::string history = "Step 2 of 2   <- back   -> forward   Home   End   F2 teaching off";
    EXPECT_EQ(shown.rowText(24), history + std::string(80 - history.size(), ' '));
    const ConsoleModel hidden = screenAfter(joined(joined(text("ab"), kF2), kF2));
    EXPECT_EQ(hidden.rowText(23), blank);
    EXPECT_EQ(hidden.rowText(24), blank);
}

TEST_F(DemoTest, ContrastLeavesNoDarkGreyText) {
    DemoOptions options;
    options.contrast = true;
    const ConsoleModel screen = screenAfter(text("123"), options);
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (screen.cell(x, y).glyph != ' ') {
                EXPECT_NE(attribute(screen, x, y), 0x08) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(attribute(screen, 0, 0), 0x07) << "the settled message";
    EXPECT_EQ(attribute(screen, 39, 0), 0x0F) << "keys stay white";
}

TEST_F(DemoTest, EscEndsAfterEmptyingTheTreeInOrder) {
    console.pushKeys({kAnyKey, 'a', 'b', 'c', kEsc});
    const int inputCodePage = 850;
    console.model().inputCodePage = inputCodePage;
    EXPECT_EQ(runDemo(), 0);

    EXPECT_THAT(console.steps,
                ::testing::ElementsAre("title AVL Tree Demo (pool, 0 out)",
                                       "codepage 437 (pool, 0 out)",  // coninit
                                       "cursor hidden (pool, 0 out)",
                                       "codepage 850 (pool, 0 out)"));  // conexit, tree empty
    EXPECT_EQ(CurrentMemoryPool(), nullptr);
    EXPECT_EQ(console.model().inputCodePage, inputCodePage);
    EXPECT_EQ(console.rowText(16), std::string(80, ' ')) << "conexit cleared the screen";
    EXPECT_EQ(console.model().size(), (Coord{80, 25}));
}

TEST_F(DemoTest, EndOfInputEndsLikeEsc) {
    console.pushKeys({kAnyKey, 'a', 'b', 'c'});
    EXPECT_EQ(runDemo(), 0);
    EXPECT_EQ(console.steps.back(), "codepage 437 (pool, 0 out)");
    EXPECT_EQ(CurrentMemoryPool(), nullptr);
    EXPECT_EQ(console.rowText(16), std::string(80, ' '));
}

TEST_F(DemoTest, EndOfInputInsideAKeyOrAPauseEndsToo) {
    console.pushKeys({kAnyKey, ' ', '3', '2', '1'});  // the last key waits in a pause
    EXPECT_EQ(runDemo(), 0);
    console.pushKeys({kAnyKey, 'a', 224});  // a prefix whose code never comes
    EXPECT_EQ(runDemo(), 0);
    EXPECT_EQ(CurrentMemoryPool(), nullptr);
}

// Random typing, 300 keys on the virtual clock: whenever the program asks
// for the next key, the screen shows the tree the tree engine builds from
// the keys so far, and the top line names the last rotation.
TEST_F(DemoTest, RandomTypingKeepsTheScreenOnTheTree) {
    constexpr unsigned kSeed = 20261208;
    constexpr int kKeyPresses = 300;
    const std::string pool = testing::demoKeyPool();
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);

    // What each key must leave on the screen, worked out first: the mirror
    // and the program take their nodes from the same process-wide pool.
    struct Step {
        std::size_t firstCode;  // where the key starts among the codes typed
        ExpectedGrid grid;
        std::string rotation;
        std::string typed;  // the keys up to this one
    };
    std::vector<Step> steps;
    std::vector<int> codes;
    std::string typed;
    SummonMemoryPool();
    {
        DemoMirror mirror;
        for (int press = 0; press < kKeyPresses; ++press) {
            const char key = pool[pick(random)];
            const std::size_t firstCode = codes.size();
            const int rotations = mirror.type(key);
            codes.push_back(static_cast<unsigned char>(key));
            // Each rotation waits for a key; an unbound one continues it.
            if (mirror.paused())
                codes.insert(codes.end(), static_cast<std::size_t>(rotations), '.');
            typed += key == '\r' ? "<Enter>" : std::string(1, key);
            steps.push_back({firstCode, mirror.grid(), mirror.lastRotation(), typed});
        }
    }
    ReleaseMemoryPool();

    console.pushKeys({kAnyKey});
    for (int code : codes)
        console.pushKeys({code});
    std::size_t checked = 0;
    std::string failure;
    console.beforeReadKey = [&] {
        // The code the program reads next; past the last one, the end.
        const std::size_t next = codes.size() - console.keysQueued();
        if (console.keysQueued() > codes.size() || checked == steps.size()) return;
        if (next < codes.size() &&
            (checked + 1 == steps.size() || steps[checked + 1].firstCode != next)) {
            return;  // inside a key: a paused rotation waits
        }
        const Step& step = steps[checked++];
        if (!failure.empty()) return;
        std::string problem = console.differencesFrom(step.grid);
        if (!step.rotation.empty() && console.rowText(0).rfind(step.rotation + " ", 0) != 0) {
            problem += "top line: " + console.rowText(0) + "\n";
        }
        if (!problem.empty()) {
            failure = "after " + step.typed + " (seed " + std::to_string(kSeed) + ")\n" + problem;
        }
    };
    EXPECT_EQ(runDemo(), 0);
    console.beforeReadKey = nullptr;
    EXPECT_EQ(checked, steps.size());
    EXPECT_EQ(failure, "");
}

}  // namespace
}  // namespace avl
