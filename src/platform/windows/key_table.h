#pragma once
// The keys without a character, by Windows virtual-key code, and the
// two-part codes a key read delivers for them: a prefix (0 for F1 to F10,
// 224 for F11, F12 and the grey keys) followed by one code per modifier.
// The keypad's twins of the grey keys (Num Lock off) come with the prefix 0
// and the same codes.

#include <cstdint>

#include "orvask/platform/console_codes.h"

namespace orvask::platform::windows {

struct KeyRow {
    std::uint16_t virtualKey;
    std::uint8_t prefix;
    bool keypadTwin;  // the keypad has the same key: without the enhanced flag, prefix 0
    std::uint8_t plain, shift, ctrl, alt;
};

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
};
// clang-format on

// Shift+Tab has a character (Tab's) but reads as a key without one.
inline constexpr std::uint16_t kTabKey = 0x09;
inline constexpr std::uint8_t kBackTabCode = 15;

// The keys whose code is a control character. Some console hosts report
// them without that character (Wine's reports Esc so); the code is the
// key's all the same.
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

}  // namespace orvask::platform::windows
