#pragma once

namespace avl {

// Prints the six lines of key help on rows 16 to 21, with the pause setting
// shown as "true " in blue or "false" in red (both five wide, so each
// overwrites the other). With `contrast`, what would be dark grey is light
// grey.
void printMenu(bool paused, bool contrast = false);

// The history row (24) while teaching: which step shows, of how many, and
// the keys that move through them.
void printHistoryRow(int current, int latest);
// Blanks the explanation and history rows.
void clearTeachingRows();

}  // namespace avl
