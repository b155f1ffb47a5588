#pragma once
// A tree in the test process that takes the demo's keys as the demo does,
// so that a screen can be compared with what the tree engine itself holds.
// Its nodes come from the process-wide pool, which must exist meanwhile.

#include <string>

#include "expected_grid.h"
#include "tree/avl_tree.h"
#include "tree/tree_observer.h"

namespace avl::testing {

// The keys a user of the demo types, each as often as it is picked at
// random: every key inserted three times as often, deleted twice as often
// (Shift+letter, Shift+digit), Enter ('\r') and Space once.
std::string demoKeyPool();

class DemoMirror final : private TreeObserver {
  public:
    DemoMirror() { tree_.setObserver(this); }
    ~DemoMirror() { tree_.clear(); }
    DemoMirror(const DemoMirror&) = delete;
    DemoMirror& operator=(const DemoMirror&) = delete;

    // Applies the binding of one typed character ('\r' is Enter); returns
    // how many rotations it made.
    int type(char c);

    const AvlTree& tree() const { return tree_; }
    ExpectedGrid grid() const { return ExpectedGrid(tree_); }
    bool paused() const { return paused_; }
    // The message of the last rotation; empty before the first.
    const std::string& lastRotation() const { return lastRotation_; }

  private:
    void notify(const std::string& message) override;

    AvlTree tree_;
    int rotations_ = 0;
    std::string lastRotation_;
    bool paused_ = false;
};

}  // namespace avl::testing
