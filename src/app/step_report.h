#pragma once
// What one key that may change the tree did, told in one line.

#include <string>
#include <vector>

#include "app/key_bindings.h"
#include "view/explanation.h"

namespace avl {

struct StepReport {
    Command command;  // Insert, Delete or DeleteAll
    bool changed = false;
    int deletedKeys = 0;  // DeleteAll: how many keys went
    Key successor = 0;    // Delete of a key with two children: the key that took its place
    std::vector<RotationReason> rotations;  // in the order they happened
};

// One line, at most 79 columns for the demo's keys: "Inserted k.",
// "k is already in the tree.", "Deleted all 7 keys.", and for a step that
// rotated the reason, or with several rotations each one in turn.
std::string explain(const StepReport& report);

}  // namespace avl
