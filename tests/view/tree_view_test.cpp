#include "view/tree_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <queue>
#include <vector>

#include "expected_grid.h"
#include "hooked_console.h"
#include "orvask/output.h"
#include "orvask/setup.h"
#include "support/memory_pool.h"
#include "tree/avl_tree.h"
#include "view/rotation_lesson.h"

namespace avl {
namespace {

using testing::ExpectedGrid;
using testing::HookedConsole;

constexpr std::uint8_t kDarkGreyOnBlack = 0x08;
constexpr std::uint8_t kLightGreyOnBlack = 0x07;
constexpr std::uint8_t kWhiteOnBlack = 0x0F;
constexpr std::uint8_t kBlueOnBlack = 0x09;
constexpr std::uint8_t kRedOnBlack = 0x0C;
constexpr unsigned char kRightHeavy = 175;
constexpr unsigned char kLeftHeavy = 174;

// Passes every message on to the view, then lets the test look.
class Tap : public TreeObserver {
  public:
    Tap(TreeView& view, std::function<void(const std::string&)> after)
        : view_(view), after_(std::move(after)) {}
    void notify(const std::string& message) override {
        view_.notify(message);
        after_(message);
    }

  private:
    TreeView& view_;
    std::function<void(const std::string&)> after_;
};

class TreeViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SummonMemoryPool();
        orvask::consize(80, 25);
        orvask::setcolor(orvask::LightGrey, orvask::Black);
    }
    void TearDown() override {
        tree.clear();
        plain.clear();
        ReleaseMemoryPool();
    }

    void insertAll(SearchTree& into, const std::string& keys) {
        for (char key : keys)
            into.insert(static_cast<Key>(key), false);
    }
    std::string treeDifferences(const SearchTree& drawn) const {
        return console.differencesFrom(ExpectedGrid(drawn));
    }
    // How often a glyph appears on rows 0..14.
    int countOnGrid(unsigned char glyph) const {
        int found = 0;
        for (int y = 0; y < ExpectedGrid::kRows; ++y) {
            for (int x = 0; x < ExpectedGrid::kWidth; ++x)
                found += console.glyph(x, y) == glyph;
        }
        return found;
    }

    orvask::platform::BasicMemoryConsoleScope<HookedConsole> installed;
    HookedConsole& console = *installed;
    AvlTree tree;
    TreeView view{tree};
    SearchTree plain;  // never balances: for shapes an AVL tree cannot have
};

TEST_F(TreeViewTest, EmptyTreeShowsEveryEmptySlot) {
    view.redraw();

    EXPECT_EQ(treeDifferences(tree), "");
    EXPECT_EQ(console.text(38, 0, 3), " _ ");
    EXPECT_EQ(console.attributeAt(39, 0), kDarkGreyOnBlack);
    EXPECT_EQ(countOnGrid('_'), 63);  // the wide slots of levels 0 to 5
    EXPECT_EQ(countOnGrid('.'), 64);  // the compact slots of level 6
    EXPECT_EQ(console.text(0, 14, 10), ".... .... ");
    EXPECT_EQ(console.attributeAt(0, 14), kDarkGreyOnBlack);
    // Each redraw ends with a line break below the grid.
    EXPECT_EQ(console.cursorPosition().y, 15);
    EXPECT_EQ(console.cursorPosition().x, 0);
}

TEST_F(TreeViewTest, SingleKeyIsWhiteAtTheRootColumn) {
    tree.insert('k', false);
    view.redraw();

    EXPECT_EQ(console.text(38, 0, 3), " k ");
    EXPECT_EQ(console.attributeAt(39, 0), kWhiteOnBlack);
    EXPECT_EQ(treeDifferences(tree), "");
}

TEST_F(TreeViewTest, BalanceMarksPointAtTheTallerSubtree) {
    tree.insert('m', false);
    tree.insert('c', false);
    // The "insertion" redraw still shows the root's balance from before.
    EXPECT_EQ(console.text(38, 0, 3), " m ");
    view.redraw();
    EXPECT_EQ(console.glyph(38, 0), kLeftHeavy);
    EXPECT_EQ(console.attributeAt(38, 0), kBlueOnBlack);
    EXPECT_EQ(console.glyph(39, 0), 'm');
    EXPECT_EQ(console.glyph(40, 0), ' ');

    tree.removeKey('c');
    tree.insert('x', false);
    view.redraw();
    EXPECT_EQ(console.glyph(38, 0), ' ');
    EXPECT_EQ(console.glyph(40, 0), kRightHeavy);
    EXPECT_EQ(console.attributeAt(40, 0), kRedOnBlack);
    EXPECT_EQ(treeDifferences(tree), "");
}

// The leftmost group of level 5: slots 31 and 32 hang below slot 15 and are
// drawn at columns 0..2 and 2..4, sharing column 2.
class LevelFiveTest : public TreeViewTest {
  protected:
    void SetUp() override {
        TreeViewTest::SetUp();
        plainView = std::make_unique<TreeView>(plain);
        insertAll(plain, "umhd5");  // slots 0, 1, 3, 7, 15
        slot31 = plain.insert('2', false);
        slot32 = plain.insert('7', false);
    }
    std::unique_ptr<TreeView> plainView;
    TreeNode* slot31 = nullptr;
    TreeNode* slot32 = nullptr;
};

TEST_F(LevelFiveTest, RightNeighbourHidesARightHeavyMark) {
    slot31->balance = -1;
    plainView->redraw();
    EXPECT_EQ(console.text(0, 12, 5), " 2 7 ");
    EXPECT_EQ(countOnGrid(kRightHeavy), 0);
    EXPECT_EQ(treeDifferences(plain), "");
}

TEST_F(LevelFiveTest, LeftHeavyMarkOverwritesTheLeftNeighbour) {
    slot32->balance = +1;
    plainView->redraw();
    EXPECT_EQ(console.glyph(1, 12), '2');
    EXPECT_EQ(console.glyph(2, 12), kLeftHeavy);
    EXPECT_EQ(console.attributeAt(2, 12), kBlueOnBlack);
    EXPECT_EQ(console.glyph(3, 12), '7');
    EXPECT_EQ(treeDifferences(plain), "");
}

TEST_F(LevelFiveTest, LevelSixShowsKeysWithoutMarks) {
    TreeNode* deepest = plain.insert('1', false);  // slot 63, column 0 of row 14
    deepest->balance = +1;
    slot31->balance = +1;
    plainView->redraw();
    EXPECT_EQ(console.glyph(0, 14), '1');
    EXPECT_EQ(console.attributeAt(0, 14), kWhiteOnBlack);
    EXPECT_EQ(console.glyph(1, 14), '.');
    for (int x = 0; x < 80; ++x) {
        EXPECT_NE(console.glyph(x, 14), kLeftHeavy) << x;
        EXPECT_NE(console.glyph(x, 14), kRightHeavy) << x;
    }
    EXPECT_EQ(treeDifferences(plain), "");
}

// A minimal AVL tree of `height` levels, every inner node left-heavy, with
// keys taken in order; returned as its keys in level order. Inserting them in
// that order builds exactly this tree without a rotation.
std::string fibonacciTreeInLevelOrder(int height, const std::string& keys) {
    struct Node {
        char key = 0;
        std::unique_ptr<Node> left, right;
    };
    std::size_t next = 0;
    std::function<std::unique_ptr<Node>(int)> build = [&](int h) -> std::unique_ptr<Node> {
        if (h <= 0) return nullptr;
        auto node = std::make_unique<Node>();
        node->left = build(h - 1);
        node->key = keys.at(next++);
        node->right = build(h - 2);
        return node;
    };
    const std::unique_ptr<Node> root = build(height);
    std::string order;
    std::queue<const Node*> queue;
    queue.push(root.get());
    while (!queue.empty()) {
        const Node* node = queue.front();
        queue.pop();
        if (node == nullptr) continue;
        order.push_back(node->key);
        queue.push(node->left.get());
        queue.push(node->right.get());
    }
    return order;
}

TEST_F(TreeViewTest, EighthLevelNodeAppearsOnlyAfterItsRotation) {
    const std::string keys = "123456789abcdefghijklmnopqrstuvwx";
    insertAll(tree, fibonacciTreeInLevelOrder(7, keys));
    ASSERT_EQ(tree.size(), 33);
    ASSERT_EQ(console.sleepCalls(), 0u) << "the tree was built without rotations";

    std::vector<std::string> messages;
    Tap tap(view, [&](const std::string& message) {
        messages.push_back(message);
        EXPECT_EQ(treeDifferences(tree), "") << "after " << message;
        if (message == "insertion") {
            EXPECT_EQ(countOnGrid('0'), 0) << "the new node lies on the eighth level";
        } else {
            EXPECT_EQ(countOnGrid('0'), 1) << "the rotation lifts it into view";
        }
    });
    tree.setObserver(&tap);
    tree.insert('0', false);
    EXPECT_THAT(messages, ::testing::ElementsAre("insertion", "R rotation at 2"));
}

struct RotationCase {
    const char* keys;
    const char* message;
};

class RotationTest : public TreeViewTest, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(RotationTest, FlashesWhiteThenSettlesDarkGrey) {
    const std::string message = GetParam().message;
    struct Moment {
        std::uint32_t milliseconds;
        std::string topLine;
        std::uint8_t messageAttribute;
    };
    std::vector<Moment> moments;
    console.beforeSleep = [&](std::uint32_t ms) {
        moments.push_back({ms, console.text(0, 0, 22), console.attributeAt(0, 0)});
    };
    const std::uint64_t start = console.now();

    insertAll(tree, GetParam().keys);

    ASSERT_EQ(moments.size(), 2u);
    EXPECT_EQ(moments[0].milliseconds, TreeView::kFlashMilliseconds);
    EXPECT_EQ(moments[0].topLine, (message + "      ").append(22 - message.size() - 6, ' '));
    EXPECT_EQ(moments[0].messageAttribute, kWhiteOnBlack);
    EXPECT_EQ(moments[1].milliseconds, TreeView::kSettleMilliseconds);
    EXPECT_EQ(moments[1].topLine.substr(0, message.size() + 5), message + "     ");
    EXPECT_EQ(moments[1].messageAttribute, kDarkGreyOnBlack);
    EXPECT_EQ(console.now() - start, 300'000u);

    // The message stays in dark grey above the rotated tree, rooted at 2.
    EXPECT_EQ(console.text(0, 0, static_cast<int>(message.size())), message);
    EXPECT_EQ(console.text(38, 0, 3), " 2 ");
    EXPECT_EQ(treeDifferences(tree), "");
}

INSTANTIATE_TEST_SUITE_P(AllFour, RotationTest,
                         ::testing::Values(RotationCase{"321", "R rotation at 3"},
                                           RotationCase{"123", "L rotation at 1"},
                                           RotationCase{"312", "LR rotation at 3"},
                                           RotationCase{"132", "RL rotation at 1"}),
                         [](const ::testing::TestParamInfo<RotationCase>& param) {
                             const std::string message = param.param.message;
                             return message.substr(0, message.find(' '));
                         });

TEST_F(TreeViewTest, ShorterMessageLeavesNoStrayCharacter) {
    insertAll(tree, "312");  // "LR rotation at 3", 16 characters
    insertAll(tree, "45");   // "L rotation at 3", 15 characters
    EXPECT_EQ(console.text(0, 0, 21), "L rotation at 3      ");
    EXPECT_EQ(console.attributeAt(0, 0), kDarkGreyOnBlack);
}

TEST_F(TreeViewTest, PausedRotationWaitsForAWholeKey) {
    view.paused = true;
    std::string topLineWhileWaiting;
    std::uint8_t promptAttribute = 0;
    console.beforeReadKey = [&] {
        if (!topLineWhileWaiting.empty()) return;  // the second half of the key
        topLineWhileWaiting = console.text(0, 0, 20);
        promptAttribute = console.attributeAt(16, 0);
        EXPECT_EQ(console.attributeAt(0, 0), kWhiteOnBlack);
    };
    std::vector<std::uint32_t> sleeps;
    console.beforeSleep = [&](std::uint32_t ms) { sleeps.push_back(ms); };
    console.pushKeys({224, 72});  // Up: a prefix and its code

    insertAll(tree, "123");

    EXPECT_EQ(topLineWhileWaiting, "L rotation at 1 <do>");
    EXPECT_EQ(promptAttribute, kLightGreyOnBlack);
    EXPECT_EQ(console.keysQueued(), 0u) << "both halves of the key are taken";
    EXPECT_THAT(sleeps, ::testing::ElementsAre(TreeView::kSettleMilliseconds));
    EXPECT_EQ(console.text(0, 0, 21), "L rotation at 1      ");
    EXPECT_EQ(console.attributeAt(0, 0), kDarkGreyOnBlack);
    EXPECT_EQ(treeDifferences(tree), "");
}

TEST_F(TreeViewTest, PausedRotationDoesNotWaitAfterTheEndOfInput) {
    view.paused = true;
    ASSERT_EQ(console.keysQueued(), 0u);
    insertAll(tree, "321");
    EXPECT_EQ(console.sleptMilliseconds(), TreeView::kSettleMilliseconds);
    EXPECT_EQ(console.text(38, 0, 3), " 2 ");
}

// Teaching, paused: the LR rotation at 3 after 3, 1, 2 is taken as its two
// single rotations, each shown before it moves and waited for; then every
// key whose slot changes slides there a few columns at a time.
TEST_F(TreeViewTest, TeachingShowsEachSingleRotationAndSlidesTheKeys) {
    constexpr std::uint8_t kYellowOnBlack = 0x0E;
    view.teaching = true;
    view.paused = true;
    tree.setRotationWatcher(&view);
    insertAll(tree, "31");
    console.pushKeys({'x', 'x'});

    struct Waiting {
        std::string topLine, explanation;
    };
    std::vector<Waiting> waits;
    std::vector<std::string> gridsWhileWaiting;
    console.beforeReadKey = [&] {
        waits.push_back({console.text(0, 0, 30), console.rowText(23)});
        std::string grid;
        for (int y = 0; y < 15; ++y)
            grid += console.text(0, y, 80) + "\n";
        gridsWhileWaiting.push_back(grid);
        if (waits.size() == 1) {
            EXPECT_EQ(console.attributeAt(39, 0), kYellowOnBlack) << "3, two levels left-heavy";
            EXPECT_EQ(console.glyph(38, 0), kLeftHeavy);
            EXPECT_EQ(console.attributeAt(38, 0), kYellowOnBlack);
            EXPECT_EQ(console.glyph(20, 3), kRightHeavy) << "1 leans right";
            EXPECT_EQ(console.attributeAt(20, 3), kRedOnBlack);
        } else {
            EXPECT_EQ(console.attributeAt(39, 0), kYellowOnBlack);
            EXPECT_EQ(console.glyph(18, 3), kLeftHeavy) << "2 leans left, over 1";
            EXPECT_EQ(console.attributeAt(18, 3), kBlueOnBlack);
        }
    };
    // Where each key is at every frame (the top line's message left out).
    std::vector<std::uint32_t> sleeps;
    std::vector<std::vector<std::pair<int, int>>> frames;
    console.beforeSleep = [&](std::uint32_t ms) {
        sleeps.push_back(ms);
        std::vector<std::pair<int, int>> at(3, {-1, -1});
        for (int y = 0; y < 15; ++y) {
            for (int x = y == 0 ? 30 : 0; x < 80; ++x) {
                const unsigned char glyph = console.glyph(x, y);
                if (glyph < '1' || glyph > '3') continue;
                EXPECT_EQ(at[glyph - '1'].first, -1) << glyph << " shown twice";
                at[glyph - '1'] = {x, y};
            }
        }
        frames.push_back(at);
    };

    tree.insert('2', false);

    ASSERT_EQ(waits.size(), 2u);
    EXPECT_EQ(waits[0].topLine, "LR rotation at 3: L at 1 <do> ");
    EXPECT_EQ(waits[1].topLine, "LR rotation at 3: R at 3 <do> ");
    EXPECT_EQ(waits[0].explanation.substr(0, 70),
              "3 is left-heavy by 2, its left child 1 leans right: LR rotation at 3. ");
    EXPECT_EQ(gridsWhileWaiting[0].substr(3 * 81 + 18, 3), " 1\xAF");
    EXPECT_EQ(gridsWhileWaiting[0].substr(6 * 81 + 28, 3), " 2 ") << "2 in its slot below 1";
    EXPECT_EQ(gridsWhileWaiting[1].substr(6 * 81 + 8, 3), " 1 ") << "1 below 2";

    // Two slides of 8 frames, then the settled message.
    std::vector<std::uint32_t> expected(16, kSlideFrameMilliseconds);
    expected.push_back(TreeView::kSettleMilliseconds);
    EXPECT_EQ(sleeps, expected);
    std::pair<int, int> last[3] = {{19, 3}, {29, 6}, {39, 0}};  // 1, 2, 3 before
    int moves[3] = {};
    for (std::size_t frame = 0; frame < 16; ++frame) {
        for (int key = 0; key < 3; ++key) {
            const auto [x, y] = frames[frame][static_cast<std::size_t>(key)];
            ASSERT_NE(x, -1) << "key " << key + 1 << " missing from frame " << frame;
            EXPECT_LE(std::abs(x - last[key].first), 3) << "key " << key + 1 << " jumped";
            EXPECT_LE(std::abs(y - last[key].second), 1) << "key " << key + 1 << " jumped";
            moves[key] += frames[frame][static_cast<std::size_t>(key)] != last[key];
            last[key] = {x, y};
        }
    }
    EXPECT_GE(moves[2], 6) << "3 slides down to the right over several frames";
    EXPECT_EQ(last[2], (std::pair<int, int>{59, 3}));
    EXPECT_EQ(console.text(0, 0, 30), "LR rotation at 3" + std::string(14, ' '));
    EXPECT_EQ(console.attributeAt(0, 0), kDarkGreyOnBlack);
    EXPECT_EQ(treeDifferences(tree), "");
}

TEST_F(TreeViewTest, InsertionAndDeletionRedrawAtOnceWithoutMessage) {
    tree.insert('5', false);
    tree.insert('3', false);
    EXPECT_EQ(console.text(18, 3, 3), " 3 ");
    tree.removeKey('3');
    EXPECT_EQ(console.text(18, 3, 3), " _ ");
    EXPECT_EQ(console.sleepCalls(), 0u);
    EXPECT_EQ(console.text(0, 0, 21), std::string(21, ' '));
}

}  // namespace
}  // namespace avl
