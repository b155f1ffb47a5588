#pragma once
// The bytes xterm sends for a key, by name.
//
// A name is a key with optional modifiers joined by '+', modifiers first:
//   "a", "Z", "7", "Space"           the character (Shift+a gives "A")
//   "Enter", "Tab", "Backspace", "Esc"
//   "Up", "Down", "Left", "Right", "Home", "End", "PageUp", "PageDown",
//   "Insert", "Delete", "F1" .. "F12"
//   modifiers "Shift+", "Ctrl+", "Alt+" in any combination:
//   "Shift+F3", "Ctrl+Left", "Alt+x", "Ctrl+c", "Shift+Tab", "Ctrl+Alt+Delete"
// Names are case-sensitive for single characters only ("a" vs "A");
// key and modifier words are matched without regard to case.

#include <string>
#include <string_view>

namespace term_harness {

// The byte sequence; throws std::invalid_argument for an unknown name or a
// combination xterm cannot send. With `applicationCursorKeys` (DECCKM set by
// the program) the unmodified arrows, Home and End use their SS3 form.
std::string xtermKey(std::string_view name, bool applicationCursorKeys = false);

}  // namespace term_harness
