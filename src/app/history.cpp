#include "app/history.h"

#include <algorithm>
#include <utility>

namespace avl {

History::History(Step start) {
    steps_.push_back(std::move(start));
}

void History::add(Step step) {
    steps_.resize(static_cast<std::size_t>(current_ - first_ + 1));
    steps_.push_back(std::move(step));
    if (steps_.size() > static_cast<std::size_t>(kKeptSteps) + 1) {
        steps_.pop_front();
        ++first_;
    }
    current_ = latest();
}

void History::moveTo(int number) {
    current_ = std::clamp(number, oldest(), latest());
}

std::string shapeOf(const SearchTree& tree) {
    std::string shape;
    tree.levelOrder([&shape](const TreeNode* node) {
        if (node != nullptr) shape.push_back(static_cast<char>(node->key));
    });
    return shape;
}

void rebuild(AvlTree& tree, const std::string& shape) {
    tree.clear();
    for (const char key : shape)
        tree.insert(static_cast<Key>(key), false);
}

}  // namespace avl
