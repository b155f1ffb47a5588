#pragma once
// The keys without a character and the two-part codes a Windows console
// read delivers for them: a prefix (0 for the function keys F1 to F10 and
// Shift+Tab, 224 for the grey keys) followed by one code per modifier.

#include <cstdint>

#include "orvask/platform/console_codes.h"

namespace orvask::platform::posix {

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

struct KeyCodes {
    std::uint8_t prefix;
    std::uint8_t plain, shift, ctrl, alt;
};

// One row per Key, in the order of the enumeration.
inline constexpr KeyCodes kKeyCodes[] = {
    {kKeyPrefix, 59, 84, 94, 104},         // F1
    {kKeyPrefix, 60, 85, 95, 105},         // F2
    {kKeyPrefix, 61, 86, 96, 106},         // F3
    {kKeyPrefix, 62, 87, 97, 107},         // F4
    {kKeyPrefix, 63, 88, 98, 108},         // F5
    {kKeyPrefix, 64, 89, 99, 109},         // F6
    {kKeyPrefix, 65, 90, 100, 110},        // F7
    {kKeyPrefix, 66, 91, 101, 111},        // F8
    {kKeyPrefix, 67, 92, 102, 112},        // F9
    {kKeyPrefix, 68, 93, 103, 113},        // F10
    {kGreyKeyPrefix, 133, 135, 137, 139},  // F11
    {kGreyKeyPrefix, 134, 136, 138, 140},  // F12
    {kGreyKeyPrefix, 71, 71, 119, 151},    // Home
    {kGreyKeyPrefix, 72, 72, 141, 152},    // Up
    {kGreyKeyPrefix, 73, 73, 134, 153},    // Page Up
    {kGreyKeyPrefix, 75, 75, 115, 155},    // Left
    {kGreyKeyPrefix, 77, 77, 116, 157},    // Right
    {kGreyKeyPrefix, 79, 79, 117, 159},    // End
    {kGreyKeyPrefix, 80, 80, 145, 160},    // Down
    {kGreyKeyPrefix, 81, 81, 118, 161},    // Page Down
    {kGreyKeyPrefix, 82, 82, 146, 162},    // Insert
    {kGreyKeyPrefix, 83, 83, 147, 163},    // Delete
    {kKeyPrefix, 15, 15, 15, 15},          // Shift+Tab
    {kKeyPrefix, 0, 0, 0, 0},              // keypad Enter (a character, see above)
};

// The code of `key` under the modifiers: Ctrl wins over Alt, Alt over Shift,
// as the Windows console reports combinations.
inline std::uint8_t keyCode(Key key, unsigned modifiers) {
    const KeyCodes& codes = kKeyCodes[static_cast<int>(key)];
    if (modifiers & mod::Ctrl) return codes.ctrl;
    if (modifiers & (mod::Alt | mod::Meta)) return codes.alt;
    if (modifiers & mod::Shift) return codes.shift;
    return codes.plain;
}

}  // namespace orvask::platform::posix
