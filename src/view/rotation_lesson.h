#pragma once
// The teaching animation of one rotation. The tree is drawn as it stands just
// before the rotation, the node out of balance in a colour of its own with its
// balance of 2, and the reason on the explanation row; a double rotation is
// taken as its two single ones; each single one is announced on the top line,
// waited for (or held for a moment), and then every key whose slot changes
// slides from its old slot to its new one, frame by frame.

#include "tree/rotation.h"
#include "tree/search_tree.h"

namespace avl {

struct LessonPace {
    bool paused = false;    // wait for a key before each single rotation
    unsigned slowdown = 1;  // every wait lasts this many times as long
    unsigned char dim = 8;  // the colour of empty slots
};

// How long each single rotation is held before it moves (when not paused),
// and the frames of its slide.
inline constexpr unsigned kLessonHoldMilliseconds = 200;
inline constexpr int kSlideFrames = 8;
inline constexpr unsigned kSlideFrameMilliseconds = 25;
// The columns of the top line that a lesson's announcements own; the root's
// slot begins further right.
inline constexpr int kMessageWidth = 30;

// Shows the rotation about to happen at `node` of `tree`, up to the rotated
// tree; the tree itself is only read.
void teachRotation(const SearchTree& tree, Rotation rotation, const TreeNode& node,
                   const LessonPace& pace);

}  // namespace avl
