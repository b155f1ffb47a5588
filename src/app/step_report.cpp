#include "app/step_report.h"

namespace avl {

namespace {

std::string keyText(Key key) {
    return std::string(1, static_cast<char>(key));
}

// What the rotations of a step were: nothing for none, the reason of a single
// one, the list of several, lowest first.
std::string rotationsText(const std::vector<RotationReason>& rotations) {
    if (rotations.empty()) return ".";
    if (rotations.size() == 1) {
        const RotationReason& only = rotations.front();
        return "; " + imbalanceText(only) + ": " + rotationName(only.rotation) + " rotation.";
    }
    std::string text = "; " + std::to_string(rotations.size()) + " rotations on the way up: ";
    for (std::size_t i = 0; i < rotations.size(); ++i) {
        if (i > 0) text += ", ";
        text += rotationName(rotations[i].rotation) + " at " + keyText(rotations[i].node);
    }
    return text + ".";
}

}  // namespace

std::string explain(const StepReport& report) {
    const std::string key = keyText(report.command.key);
    switch (report.command.action) {
        case Action::Insert:
            if (!report.changed) return key + " is already in the tree.";
            return "Inserted " + key + rotationsText(report.rotations);
        case Action::Delete:
            if (!report.changed) return key + " is not in the tree.";
            if (report.rotations.empty() && report.successor != 0) {
                return "Deleted " + key + "; " + keyText(report.successor) +
                       ", the next key in order, took its place.";
            }
            return "Deleted " + key + rotationsText(report.rotations);
        case Action::DeleteAll:
            if (!report.changed) return "The tree is already empty.";
            if (report.deletedKeys == 1) return "Deleted the only key.";
            return "Deleted all " + std::to_string(report.deletedKeys) + " keys.";
        default:
            return {};
    }
}

}  // namespace avl
