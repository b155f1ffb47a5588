#include "demo_mirror.h"

namespace avl::testing {

namespace {
const std::string kShiftedDigits = ")!@#$%^&*(";
}  // namespace

std::string demoKeyPool() {
    std::string pool;
    const std::string keys = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (char c : keys)
        pool.append(3, c);  // insert, most often
    for (char c : keys) {
        const bool digit = c <= '9';
        pool.append(2, digit ? kShiftedDigits[static_cast<std::size_t>(c - '0')]
                             : static_cast<char>(c - 32));
    }
    return pool + "\r ";
}

int DemoMirror::type(char c) {
    const int before = rotations_;
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) {
        tree_.insert(static_cast<Key>(c), false);
    } else if (c >= 'A' && c <= 'Z') {
        tree_.removeKey(static_cast<Key>(c + 32));
    } else if (const auto digit = kShiftedDigits.find(c); digit != std::string::npos) {
        tree_.removeKey(static_cast<Key>('0' + digit));
    } else if (c == '\r') {
        tree_.clear();
    } else if (c == ' ') {
        paused_ = !paused_;
    }
    return rotations_ - before;
}

void DemoMirror::notify(const std::string& message) {
    if (message == "insertion" || message == "deletion") return;
    ++rotations_;
    lastRotation_ = message;
}

}  // namespace avl::testing
