#pragma once
// Turns the console's key events into the codes a key read delivers: the
// character when the key has one, otherwise the prefix 0 or 224 and the
// key's code (key_table.h). Releases, lone modifiers and every other key
// without a code deliver nothing.

#include <windows.h>

#include <deque>

namespace orvask::platform::windows {

// Appends the codes of `event` to `codes`, once for each repetition.
void appendKeyCodes(const KEY_EVENT_RECORD& event, std::deque<int>& codes);

}  // namespace orvask::platform::windows
