#pragma once
// Turns the console's key events into the codes a key read delivers: the
// character when the key has one, in the console's input code page,
// otherwise the prefix 0 or 224 and the key's code (keys/key_table.h).
//
// Characters come as UTF-16 from the console and go out as code page bytes;
// a character the code page cannot show is dropped, as is one with a byte a
// reader would take for a prefix (glyphs/glyph_table.h). A character beyond
// the Basic Multilingual Plane comes in two events, its two surrogates.
// A character typed as Alt and digits on the keypad comes with the release
// of Alt; the digits themselves deliver nothing. Other releases, lone
// modifiers and every other key without a code deliver nothing.

#include <windows.h>

#include <deque>

#include "keys/key_table.h"

namespace orvask::platform::windows {

using keys::KeyEvent;

class KeyTranslator {
  public:
    // The code page typed characters are turned into (437 or 949).
    void setCodePage(int codePage) { codePage_ = codePage; }

    // Appends the codes of `event` to `codes`, once for each repetition.
    void translate(const KEY_EVENT_RECORD& event, std::deque<KeyEvent>& codes);

  private:
    void appendCharacter(wchar_t unit, bool alt, int times, std::deque<KeyEvent>& codes);

    int codePage_ = 437;
    wchar_t highSurrogate_ = 0;  // the first half of a character, waiting for its second
};

}  // namespace orvask::platform::windows
