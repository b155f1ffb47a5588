#pragma once
// The keys without a character and the codes a key read delivers for them,
// for every backend: a prefix (0 for F1 to F10 and Shift+Tab, 224 for F11,
// F12 and the grey keys) followed by one code per modifier. The POSIX
// backend finds the key in a terminal's byte sequence, the Windows backend
// by its virtual-key code; both turn it into codes with appendKey() below,
// into a queue of the one event type, KeyEvent.

#include <cstdint>
#include <deque>

#include "orvask/platform/console_codes.h"

namespace orvask::platform::keys {

enum class Key : std::uint8_t {
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    Home,
    Up,
    PageUp,
    Left,
    Right,
    End,
    Down,
    PageDown,
    Insert,
    Delete,
    BackTab,
    KeypadEnter,  // the keypad's Enter in application mode: delivered as 13
};

// Modifier bits, numbered as xterm numbers them (its parameter minus one).
namespace mod {
inline constexpr unsigned Shift = 1;
inline constexpr unsigned Alt = 2;
inline constexpr unsigned Ctrl = 4;
inline constexpr unsigned Meta = 8;  // taken as Alt
}  // namespace mod

struct KeyRow {
    std::uint16_t virtualKey;  // the Windows virtual-key code; 0 for none of its own
    std::uint8_t prefix;
    bool keypadTwin;  // the keypad has the same key: without the enhanced flag, prefix 0
    std::uint8_t plain, shift, ctrl, alt;
};

// One row per Key, in the order of the enumeration.
// clang-format off
inline constexpr KeyRow kKeyRows[] = {
    {0x70, kKeyPrefix, false, 59, 84, 94, 104},          // F1
    {0x71, kKeyPrefix, false, 60, 85, 95, 105},          // F2
    {0x72, kKeyPrefix, false, 61, 86, 96, 106},          // F3
    {0x73, kKeyPrefix, false, 62, 87, 97, 107},          // F4
    {0x74, kKeyPrefix, false, 63, 88, 98, 108},          // F5
    {0x75, kKeyPrefix, false, 64, 89, 99, 109},          // F6
    {0x76, kKeyPrefix, false, 65, 90, 100, 110},         // F7
    {0x77, kKeyPrefix, false, 66, 91, 101, 111},         // F8
    {0x78, kKeyPrefix, false, 67, 92, 102, 112},         // F9
    {0x79, kKeyPrefix, false, 68, 93, 103, 113},         // F10
    {0x7A, kGreyKeyPrefix, false, 133, 135, 137, 139},   // F11
    {0x7B, kGreyKeyPrefix, false, 134, 136, 138, 140},   // F12
    {0x24, kGreyKeyPrefix, true, 71, 71, 119, 151},      // Home
    {0x26, kGreyKeyPrefix, true, 72, 72, 141, 152},      // Up
    {0x21, kGreyKeyPrefix, true, 73, 73, 134, 153},      // Page Up
    {0x25, kGreyKeyPrefix, true, 75, 75, 115, 155},      // Left
    {0x27, kGreyKeyPrefix, true, 77, 77, 116, 157},      // Right
    {0x23, kGreyKeyPrefix, true, 79, 79, 117, 159},      // End
    {0x28, kGreyKeyPrefix, true, 80, 80, 145, 160},      // Down
    {0x22, kGreyKeyPrefix, true, 81, 81, 118, 161},      // Page Down
    {0x2D, kGreyKeyPrefix, true, 82, 82, 146, 162},      // Insert
    {0x2E, kGreyKeyPrefix, true, 83, 83, 147, 163},      // Delete
    {0, kKeyPrefix, false, 15, 15, 15, 15},              // Shift+Tab: the Tab key with Shift
    {0, kKeyPrefix, false, 0, 0, 0, 0},                  // keypad Enter (a character, see above)
};
// clang-format on

// The Tab key's virtual-key code: with Shift it is Key::BackTab.
inline constexpr std::uint16_t kTabVirtualKey = 0x09;

// The keys whose code is a control character, by virtual-key code. Some
// console hosts report them without that character (Wine's reports Esc so);
// the code is the key's all the same.
struct ControlKey {
    std::uint16_t virtualKey;
    std::uint8_t code;
};
inline constexpr ControlKey kControlKeys[] = {
    {0x08, 8},   // Backspace
    {0x09, 9},   // Tab
    {0x0D, 13},  // Enter
    {0x1B, 27},  // Esc
};

constexpr const KeyRow& rowOf(Key key) {
    return kKeyRows[static_cast<int>(key)];
}

// The code of `key` under the modifiers: Ctrl wins over Alt, Alt over Shift,
// as the Windows console reports combinations.
constexpr std::uint8_t codeUnder(Key key, unsigned modifiers) {
    const KeyRow& row = rowOf(key);
    if (modifiers & mod::Ctrl) return row.ctrl;
    if (modifiers & (mod::Alt | mod::Meta)) return row.alt;
    if (modifiers & mod::Shift) return row.shift;
    return row.plain;
}

// One code as a key read delivers it, and whether Alt came with its key.
struct KeyEvent {
    int code;
    bool alt;
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// Appends the codes of `key` under `modifiers`: its prefix and its code
// (`fromKeypad`: the prefix 0 instead of 224, for the keypad's twin of a grey
// key), or 13 for the keypad's Enter. Both halves carry Alt when the
// modifiers hold it. The one producer of these codes for both backends.
inline void appendKey(std::deque<KeyEvent>& out, Key key, unsigned modifiers,
                      bool fromKeypad = false) {
    const bool alt = (modifiers & (mod::Alt | mod::Meta)) != 0;
    if (key == Key::KeypadEnter) {
        out.push_back({13, alt});
        return;
    }
    out.push_back({fromKeypad ? kKeyPrefix : rowOf(key).prefix, alt});
    out.push_back({codeUnder(key, modifiers), alt});
}

}  // namespace orvask::platform::keys
