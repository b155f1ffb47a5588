#include "key_events.h"

#include "key_table.h"

namespace orvask::platform::windows {

namespace {

// The modifiers as the console reports combinations: Ctrl wins over Alt,
// Alt over Shift.
std::uint8_t codeUnder(const KeyRow& row, DWORD controlState) {
    if ((controlState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0) return row.ctrl;
    if ((controlState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0) return row.alt;
    if ((controlState & SHIFT_PRESSED) != 0) return row.shift;
    return row.plain;
}

const KeyRow* rowOf(WORD virtualKey) {
    for (const KeyRow& row : kKeyRows) {
        if (row.virtualKey == virtualKey) return &row;
    }
    return nullptr;
}

int controlCodeOf(WORD virtualKey) {
    for (const ControlKey& key : kControlKeys) {
        if (key.virtualKey == virtualKey) return key.code;
    }
    return 0;
}

}  // namespace

void appendKeyCodes(const KEY_EVENT_RECORD& event, std::deque<int>& codes) {
    if (!event.bKeyDown) return;
    int prefix = -1;  // none: a character
    int code = 0;
    const unsigned char character = static_cast<unsigned char>(event.uChar.AsciiChar);
    if (const KeyRow* row = rowOf(event.wVirtualKeyCode)) {
        const bool keypad = row->keypadTwin && (event.dwControlKeyState & ENHANCED_KEY) == 0;
        prefix = keypad ? kKeyPrefix : row->prefix;
        code = codeUnder(*row, event.dwControlKeyState);
    } else if (event.wVirtualKeyCode == kTabKey && (event.dwControlKeyState & SHIFT_PRESSED) != 0) {
        prefix = kKeyPrefix;
        code = kBackTabCode;
    } else if (character != 0) {
        code = character;
    } else {
        code = controlCodeOf(event.wVirtualKeyCode);
    }
    if (code == 0) return;
    const int times = event.wRepeatCount > 0 ? event.wRepeatCount : 1;
    for (int i = 0; i < times; ++i) {
        if (prefix >= 0) codes.push_back(prefix);
        codes.push_back(code);
    }
}

}  // namespace orvask::platform::windows
