#include "view/explanation.h"

#include "orvask/output.h"

namespace avl {

namespace {

const char* sideName(bool left) {
    return left ? "left" : "right";
}

}  // namespace

RotationReason reasonFor(Rotation rotation, const TreeNode& node) {
    const TreeNode* child = liftsLeftChild(rotation) ? node.left : node.right;
    return {rotation, node.key, child->key, child->balance};
}

std::string imbalanceText(const RotationReason& reason) {
    const bool left = liftsLeftChild(reason.rotation);
    std::string text(1, static_cast<char>(reason.node));
    text += std::string(" is ") + sideName(left) + "-heavy by 2, its " + sideName(left) +
            " child " + static_cast<char>(reason.child);
    if (reason.childBalance == 0) return text + " is balanced";
    return text + " leans " + sideName(reason.childBalance > 0);
}

std::string rotationName(Rotation rotation) {
    const std::string prefix = rotationPrefix(rotation);
    return prefix.substr(0, prefix.find(' '));
}

void showExplanation(const std::string& text) {
    using namespace orvask;
    gotoxy(0, kExplanationRow);
    Pcur(text.substr(0, kBelowMenuLastColumn + 1).c_str(), LightGrey, KeepBg);
    Pfill(kBelowMenuLastColumn, ' ');
}

}  // namespace avl
