#pragma once

#include <string>

#include "tree/rotation.h"
#include "tree/search_tree.h"
#include "tree/tree_observer.h"
#include "view/slot_layout.h"

namespace avl {

// Draws a tree on the console in the fixed 127-slot grid and animates its
// rotations. Attached to the tree as its observer, it redraws the whole grid
// on every "insertion" and "deletion", and shows every rotation message on the
// top line (flashing it, or waiting for a key while paused) before drawing the
// rotated tree.
//
// Wide slots (rows 0 to 12) show " k " in white with a red » right of the key
// when its node is right-heavy and a blue « left of it when left-heavy; empty
// wide slots show " _ " in dark grey. Compact slots (row 14) show the key
// alone in white, or a dark grey ".". Everything keeps the current background.
// Nodes deeper than the seventh level are not drawn.
//
// While teaching, and attached to an AvlTree as its rotation watcher too, it
// shows each rotation as a lesson before it happens (see rotation_lesson.h);
// the rotation's message then settles on the top line as usual.
//
// All output goes through the Orvask console; the waits go through the
// platform seam (its sleep and its key read).
class TreeView final : public TreeObserver, public RotationWatcher {
  public:
    // Attaches the view to `viewed` as its observer. The tree must outlive the
    // view's use; the view never detaches itself.
    explicit TreeView(SearchTree& viewed);
    TreeView(const TreeView&) = delete;
    TreeView& operator=(const TreeView&) = delete;

    void notify(const std::string& message) override;
    // While teaching: the lesson of the rotation about to happen.
    void aboutToRotate(Rotation rotation, const TreeNode& node) override;
    // Draws all 127 slots in place, then a line break.
    void redraw();
    // Draws the next slot of a redraw (null for an empty one) and moves the
    // layout on; does nothing once all 127 slots are drawn.
    void drawSlot(const TreeNode* node);
    // Blanks the top line's message, for a tree shown without its story.
    void clearMessage();

    // Wait for a key before each rotation instead of flashing it for a fixed
    // time. Off at first; the program flips it.
    bool paused = false;
    // Every step of the rotation animation lasts this many times as long
    // (for a lecture hall); 1 at first.
    unsigned slowdown = 1;
    // Show each rotation as a lesson (when also attached as the tree's
    // rotation watcher). Off at first.
    bool teaching = false;
    // Empty slots and settled messages in light grey instead of dark grey,
    // readable on a projector. Off at first.
    bool contrast = false;

    // How long a rotation message stays white, then dark grey, before the
    // rotated tree is drawn (when not paused).
    static constexpr unsigned kFlashMilliseconds = 200;
    static constexpr unsigned kSettleMilliseconds = 100;

  private:
    void drawBalanceMark(int balance);
    void showRotation(const std::string& message);
    // After a lesson: the rotation's message settles, the rotated tree shows.
    void settleLesson(const std::string& message);
    unsigned char dim() const;

    SearchTree& tree;
    LayoutCursor layout;
    bool lessonShown = false;  // a lesson ran for the rotation reported next
};

}  // namespace avl
