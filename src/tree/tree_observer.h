#pragma once

#include <string>

namespace avl {

// Receives a short message for each structural change of a tree:
// "insertion", "deletion", and "R rotation at ", "L rotation at ",
// "LR rotation at ", "RL rotation at " each followed by the key character.
// It is called synchronously from inside the tree operation, when the tree's
// links, parents and count agree; it may read the tree but must not change it.
// The tree does not own its observer and never deletes it.
class TreeObserver {
  public:
    virtual void notify(const std::string& message) = 0;

  protected:
    ~TreeObserver() = default;
};

}  // namespace avl
