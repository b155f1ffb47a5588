#pragma once
// Turns the console's key events into the codes a key read delivers: the
// character when the key has one, otherwise the prefix 0 or 224 and the
// key's code (keys/key_table.h). Releases, lone modifiers and every other key
// without a code deliver nothing.

#include <windows.h>

#include <deque>

#include "keys/key_table.h"

namespace orvask::platform::windows {

using keys::KeyEvent;

// Appends the codes of `event` to `codes`, once for each repetition.
void appendKeyCodes(const KEY_EVENT_RECORD& event, std::deque<KeyEvent>& codes);

}  // namespace orvask::platform::windows
