#include "key_events.h"

#include <iterator>

namespace orvask::platform::windows {

namespace {

using keys::Key;

unsigned modifiersOf(DWORD controlState) {
    unsigned modifiers = 0;
    if ((controlState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0)
        modifiers |= keys::mod::Ctrl;
    if ((controlState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0) modifiers |= keys::mod::Alt;
    if ((controlState & SHIFT_PRESSED) != 0) modifiers |= keys::mod::Shift;
    return modifiers;
}

// The key without a character that `virtualKey` is under the modifiers;
// false for a key with a character.
bool keyOf(WORD virtualKey, unsigned modifiers, Key& key) {
    for (int i = 0; i < static_cast<int>(std::size(keys::kKeyRows)); ++i) {
        if (keys::kKeyRows[i].virtualKey != 0 && keys::kKeyRows[i].virtualKey == virtualKey) {
            key = static_cast<Key>(i);
            return true;
        }
    }
    if (virtualKey == keys::kTabVirtualKey && (modifiers & keys::mod::Shift) != 0) {
        key = Key::BackTab;
        return true;
    }
    return false;
}

int controlCodeOf(WORD virtualKey) {
    for (const keys::ControlKey& key : keys::kControlKeys) {
        if (key.virtualKey == virtualKey) return key.code;
    }
    return 0;
}

}  // namespace

void appendKeyCodes(const KEY_EVENT_RECORD& event, std::deque<KeyEvent>& codes) {
    if (!event.bKeyDown) return;
    const unsigned modifiers = modifiersOf(event.dwControlKeyState);
    const int times = event.wRepeatCount > 0 ? event.wRepeatCount : 1;
    Key key{};
    if (keyOf(event.wVirtualKeyCode, modifiers, key)) {
        const bool fromKeypad =
            keys::rowOf(key).keypadTwin && (event.dwControlKeyState & ENHANCED_KEY) == 0;
        for (int i = 0; i < times; ++i)
            keys::appendKey(codes, key, modifiers, fromKeypad);
        return;
    }
    const unsigned char character = static_cast<unsigned char>(event.uChar.AsciiChar);
    const int code = character != 0 ? character : controlCodeOf(event.wVirtualKeyCode);
    if (code == 0) return;
    const bool alt = (modifiers & keys::mod::Alt) != 0;
    for (int i = 0; i < times; ++i)
        codes.push_back({code, alt});
}

}  // namespace orvask::platform::windows
