#pragma once
// The message box a terminal shows: drawn into a copy of the screen, as a
// framed box with the caption in its top edge, the text, and a highlighted
// OK button, centred. The screen beneath is the model itself, untouched, so
// it comes back by repainting.

#include <string_view>

#include "orvask/platform/console_model.h"

namespace orvask::platform::posix {

// Draws the box onto `screen` in its output code page's box glyphs. Lines
// of `text` break at newlines and, when too long, at the box's width.
void drawMessageBox(ConsoleModel& screen, std::string_view caption, std::string_view text);

// The keys that acknowledge the box: Enter, Space and Esc.
inline bool acknowledgesMessageBox(int key) {
    return key == 13 || key == 32 || key == 27;
}

}  // namespace orvask::platform::posix
