#include "key_events.h"

#include <iterator>
#include <string>

#include "glyphs/glyph_table.h"

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

// A digit of a character typed as Alt and keypad digits: a keypad key (with
// Num Lock on, or off and then without the enhanced flag) held with Alt
// alone.
bool isAltKeypadDigit(const KEY_EVENT_RECORD& event, unsigned modifiers) {
    if (modifiers != keys::mod::Alt) return false;
    const WORD vk = event.wVirtualKeyCode;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return true;
    if ((event.dwControlKeyState & ENHANCED_KEY) != 0) return false;
    constexpr WORD kKeypadWithoutNumLock[] = {VK_INSERT, VK_END,   VK_DOWN, VK_NEXT, VK_LEFT,
                                              VK_CLEAR,  VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
    for (WORD key : kKeypadWithoutNumLock) {
        if (vk == key) return true;
    }
    return false;
}

bool isHighSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(wchar_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void KeyTranslator::translate(const KEY_EVENT_RECORD& event, std::deque<KeyEvent>& codes) {
    const wchar_t unit = event.uChar.UnicodeChar;
    if (!event.bKeyDown) {
        if (event.wVirtualKeyCode == VK_MENU && unit != 0) appendCharacter(unit, false, 1, codes);
        return;
    }
    const unsigned modifiers = modifiersOf(event.dwControlKeyState);
    if (isAltKeypadDigit(event, modifiers)) return;
    const int times = event.wRepeatCount > 0 ? event.wRepeatCount : 1;
    Key key{};
    if (keyOf(event.wVirtualKeyCode, modifiers, key)) {
        const bool fromKeypad =
            keys::rowOf(key).keypadTwin && (event.dwControlKeyState & ENHANCED_KEY) == 0;
        for (int i = 0; i < times; ++i)
            keys::appendKey(codes, key, modifiers, fromKeypad);
        return;
    }
    // Alt with Ctrl is AltGr, which types characters of its own.
    const bool alt =
        modifiers == keys::mod::Alt || modifiers == (keys::mod::Alt | keys::mod::Shift);
    if (unit != 0) {
        appendCharacter(unit, alt, times, codes);
        return;
    }
    if (const int code = controlCodeOf(event.wVirtualKeyCode)) {
        for (int i = 0; i < times; ++i)
            codes.push_back({code, alt});
    }
}

void KeyTranslator::appendCharacter(wchar_t unit, bool alt, int times,
                                    std::deque<KeyEvent>& codes) {
    if (isHighSurrogate(unit)) {
        highSurrogate_ = unit;
        return;
    }
    char32_t codePoint = unit;
    if (isLowSurrogate(unit)) {
        if (highSurrogate_ == 0) return;
        codePoint = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) +
                    (static_cast<char32_t>(unit) - 0xDC00);
    }
    highSurrogate_ = 0;
    // Control characters (Enter, Esc, Ctrl+letter ...) are codes of their own.
    const std::string bytes = codePoint < 0x80 ? std::string(1, static_cast<char>(codePoint))
                                               : glyphs::typedBytes(codePage_, codePoint);
    for (int i = 0; i < times; ++i) {
        for (char byte : bytes)
            codes.push_back({static_cast<unsigned char>(byte), alt});
    }
}

}  // namespace orvask::platform::windows
