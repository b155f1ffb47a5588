#pragma once
// The steps of a session, for going back and forth through them: every key
// that changed the tree is one step, kept with the tree's shape after it, so
// that any step can be shown again exactly, and replayed from the one before.

#include <deque>
#include <string>

#include "app/key_bindings.h"
#include "tree/avl_tree.h"

namespace avl {

class History {
  public:
    // Steps kept; older ones are forgotten, the shape of the oldest kept
    // standing in for everything before it.
    static constexpr int kKeptSteps = 1000;

    struct Step {
        Command command;    // the key that made the step; none for the start
        std::string shape;  // the tree after it (see shapeOf)
        std::string explanation;
    };

    // Step 0, the start of the session, is `start`.
    explicit History(Step start = {});

    // Step numbers count from the start of the session.
    int current() const { return current_; }
    int latest() const { return first_ + static_cast<int>(steps_.size()) - 1; }
    int oldest() const { return first_; }
    // A step from oldest() to latest().
    const Step& step(int number) const { return steps_[static_cast<std::size_t>(number - first_)]; }

    // Adds a step after the current one, which drops the steps that followed
    // it (as an editor's undo does), and makes it current; beyond the bound
    // the oldest step goes.
    void add(Step step);
    // Makes a step current, held within oldest() to latest().
    void moveTo(int number);

  private:
    std::deque<Step> steps_;
    int first_ = 0;
    int current_ = 0;
};

// A tree's shape: its keys in level order. Inserting them in that order into
// an empty AVL tree builds the same tree, node for node and balance for
// balance, without a single rotation: every prefix of the level order of an
// AVL tree is balanced itself.
std::string shapeOf(const SearchTree& tree);
// Empties `tree` and builds `shape` in it. The caller detaches whoever
// watches the tree beforehand.
void rebuild(AvlTree& tree, const std::string& shape);

}  // namespace avl
