// The AVL tree's rotations as the observer sees them: which messages, in what
// order, and what the tree looks like at each of them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/avl_tree.h"
#include "tree_checks.h"

namespace avl::testing {
namespace {

using Messages = std::vector<std::string>;

class AvlRotationTest : public PooledTreeTest {};

Messages Insertions(int n) {
    return Messages(static_cast<std::size_t>(n), "insertion");
}

Messages Then(Messages messages, const std::string& last) {
    messages.push_back(last);
    return messages;
}

TEST_F(AvlRotationTest, AnInsertionImbalanceIsFixedByOneRotationReportedWithItsKey) {
    struct Case {
        const char* keys;  // inserted in this order; the first sends nothing
        std::string rotation;
        const char* after;
    };
    const Case cases[] = {
        {"123", "L rotation at 1", "2[0](1[0],3[0])"},
        {"321", "R rotation at 3", "2[0](1[0],3[0])"},
        {"312", "LR rotation at 3", "2[0](1[0],3[0])"},
        {"132", "RL rotation at 1", "2[0](1[0],3[0])"},
        // Double rotations whose middle node brings subtrees along, leaning
        // either way.
        {"ebfadc", "LR rotation at e", "d[0](b[0](a[0],c[0]),e[-1](-,f[0]))"},
        {"ebfacd", "LR rotation at e", "c[0](b[1](a[0],-),e[0](d[0],f[0]))"},
        {"baedfc", "RL rotation at b", "d[0](b[0](a[0],c[0]),e[-1](-,f[0]))"},
        {"baecfd", "RL rotation at b", "c[0](b[1](a[0],-),e[0](d[0],f[0]))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        AvlTree tree;
        RecordingObserver observer(tree);
        const std::string keys = c.keys;
        InsertAll(tree, keys);
        const int linked = static_cast<int>(keys.size()) - 1;
        EXPECT_EQ(observer.messages, Then(Insertions(linked), c.rotation));
        // Links and balances are final when the rotation is reported.
        EXPECT_EQ(observer.pictures.back(), c.after);
        EXPECT_EQ(Describe(tree), c.after);
        EXPECT_TRUE(AvlBalanced(tree));
    }
}

TEST_F(AvlRotationTest, AtInsertionTheNewNodeIsShownWithTheBalancesFromBefore) {
    AvlTree tree;
    RecordingObserver observer(tree);
    InsertAll(tree, "12");
    EXPECT_EQ(Describe(tree), "1[-1](-,2[0])");
    observer.forget();
    tree.insert('3', false);
    ASSERT_EQ(observer.messages.size(), 2u);
    EXPECT_EQ(observer.pictures[0], "1[-1](-,2[0](-,3[0]))");
}

TEST_F(AvlRotationTest, RemovalWithABalancedSiblingRotatesAndThenLeansTheNewRoot) {
    AvlTree tree;
    RecordingObserver observer(tree);
    InsertAll(tree, "21435");
    ASSERT_EQ(Describe(tree), "2[-1](1[0],4[0](3[0],5[0]))");
    observer.forget();

    tree.removeKey('1');
    EXPECT_EQ(observer.messages, (Messages{"deletion", "L rotation at 2"}));
    EXPECT_EQ(observer.pictures[0], "2[-1](-,4[0](3[0],5[0]))") << "balances from before";
    EXPECT_EQ(observer.pictures[1], "4[0](2[0](-,3[0]),5[0])") << "as the rotation left them";
    EXPECT_EQ(Describe(tree), "4[1](2[-1](-,3[0]),5[0])");
    EXPECT_TRUE(AvlBalanced(tree));

    // The mirror image.
    AvlTree mirror;
    RecordingObserver mirrorObserver(mirror);
    InsertAll(mirror, "42513");
    mirrorObserver.forget();
    mirror.removeKey('5');
    EXPECT_EQ(mirrorObserver.messages, (Messages{"deletion", "R rotation at 4"}));
    EXPECT_EQ(mirrorObserver.pictures[1], "2[0](1[0],4[0](3[0],-))");
    EXPECT_EQ(Describe(mirror), "2[-1](1[0],4[1](3[0],-))");
}

TEST_F(AvlRotationTest, RemovalRotatesAtEveryLevelThatShrankLowestFirst) {
    AvlTree tree;
    RecordingObserver observer(tree);
    InsertAll(tree, "hejcgikbdfla");  // a minimal tree of height 5
    ASSERT_EQ(observer.messages, Insertions(11)) << "built without rotations";
    observer.forget();

    tree.removeKey('i');
    EXPECT_EQ(observer.messages, (Messages{"deletion", "L rotation at j", "R rotation at h"}));
    EXPECT_EQ(Describe(tree), "e[0](c[1](b[1](a[0],-),d[0]),h[0](g[1](f[0],-),k[0](j[0],l[0])))");
    EXPECT_TRUE(AvlBalanced(tree));
}

TEST_F(AvlRotationTest, TwoChildrenRemovalMovesTheSuccessorsKeyAndDetachesTheSuccessor) {
    AvlTree tree;
    RecordingObserver observer(tree);
    InsertAll(tree, "badce");
    const TreeNode* top = tree.rootNode();
    const auto returnedBefore = Pool().Counts().returned;
    observer.forget();

    tree.removeKey('b');
    EXPECT_EQ(tree.rootNode(), top) << "the node object keeps its place";
    EXPECT_EQ(tree.find('c'), top);
    EXPECT_EQ(tree.size(), 4);
    EXPECT_EQ(Pool().Counts().returned, returnedBefore + 1);
    EXPECT_EQ(observer.messages, Messages{"deletion"});
    EXPECT_EQ(observer.pictures[0], "c[-1](a[0],d[0](-,e[0]))");
    EXPECT_EQ(Describe(tree), "c[-1](a[0],d[-1](-,e[0]))") << "the walk began at d";

    // When the successor is the right child, the walk begins at the node
    // that took its key, and may rotate there.
    AvlTree other;
    RecordingObserver otherObserver(other);
    InsertAll(other, "cbda");
    otherObserver.forget();
    other.removeKey('c');
    EXPECT_EQ(otherObserver.messages, (Messages{"deletion", "R rotation at d"}));
    EXPECT_EQ(Describe(other), "b[0](a[0],d[0])");
}

// Logs each rotation foretold, with the tree as it stands then, into the same
// list as the observer's messages.
class LoggingWatcher : public RotationWatcher {
  public:
    LoggingWatcher(AvlTree& tree, Messages& log) : tree_(tree), log_(log) {
        tree.setRotationWatcher(this);
    }
    void aboutToRotate(Rotation rotation, const TreeNode& node) override {
        static const char* const kNames[] = {"R", "L", "LR", "RL"};
        log_.push_back(std::string("about to ") + kNames[static_cast<int>(rotation)] + " at " +
                       static_cast<char>(node.key) + ": " + Describe(tree_));
    }

  private:
    AvlTree& tree_;
    Messages& log_;
};

TEST_F(AvlRotationTest, TheWatcherIsToldOfEachRotationBeforeItHappens) {
    AvlTree tree;
    RecordingObserver observer(tree, false);
    LoggingWatcher watcher(tree, observer.messages);
    InsertAll(tree, "31");
    observer.forget();
    tree.insert('2', false);
    // The walk has updated 1 below the rotation; 3 still holds its balance
    // from before.
    EXPECT_EQ(observer.messages, (Messages{"insertion", "about to LR at 3: 3[1](1[-1](-,2[0]),-)",
                                           "LR rotation at 3"}));

    AvlTree deep;
    RecordingObserver deepObserver(deep, false);
    InsertAll(deep, "hejcgikbdfla");
    LoggingWatcher deepWatcher(deep, deepObserver.messages);
    deepObserver.forget();
    deep.removeKey('i');
    ASSERT_EQ(deepObserver.messages.size(), 5u);
    EXPECT_EQ(deepObserver.messages[1].rfind("about to L at j: ", 0), 0u);
    EXPECT_EQ(deepObserver.messages[2], "L rotation at j");
    EXPECT_EQ(deepObserver.messages[3].rfind("about to R at h: ", 0), 0u);
    EXPECT_EQ(deepObserver.messages[4], "R rotation at h");
    EXPECT_EQ(Describe(deep), "e[0](c[1](b[1](a[0],-),d[0]),h[0](g[1](f[0],-),k[0](j[0],l[0])))")
        << "watching changes nothing";
}

TEST_F(AvlRotationTest, DuplicatesAreRejectedSilentlyOrKeptInOrderWhenAllowed) {
    AvlTree tree;
    RecordingObserver observer(tree);
    InsertAll(tree, "mm", true);
    observer.forget();
    const auto counts = Pool().Counts();

    EXPECT_EQ(tree.insert('m', false), nullptr);
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(tree.size(), 2);
    EXPECT_EQ(Pool().Counts().handedOut, counts.handedOut + 1);
    EXPECT_EQ(Pool().Counts().returned, counts.returned + 1);

    const TreeNode* third = tree.insert('m', true);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(observer.messages, (Messages{"insertion", "L rotation at m"}));
    EXPECT_EQ(Describe(tree), "m[0](m[0],m[0])");
    EXPECT_EQ(tree.rootNode()->right, third) << "equal keys go after the ones there";
    tree.removeKey('m');
    EXPECT_EQ(InOrderKeys(tree), (std::vector<Key>{'m', 'm'}));
}

}  // namespace
}  // namespace avl::testing
