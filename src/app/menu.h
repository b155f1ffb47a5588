#pragma once

namespace avl {

// Prints the six lines of key help on rows 16 to 21, with the pause setting
// shown as "true " in blue or "false" in red (both five wide, so each
// overwrites the other).
void printMenu(bool paused);

}  // namespace avl
