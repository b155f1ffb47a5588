#pragma once
// Keyboard input in one code space: 1..255 the character a key produced,
// 1000 + n a key without a character (see the Key constants), 2001..2026
// Alt + a letter.

#include "orvask/platform/export.h"
namespace orvask {

// The code of the last key read by getkey(); 0 before the first.
extern ORVASK_API int lastkey;

// Blocks until a key press arrives and stores its code in lastkey.
// At the end of input lastkey is -1.
ORVASK_API void getkey();
// Waits until no key is held down, then discards every queued key press.
ORVASK_API void keyflush();
// True when a key press is waiting to be read.
ORVASK_API bool keywaiting();
// True once the input has ended for good (terminal closed, piped input used
// up): getkey() then returns at once with lastkey -1. Polling loops use it
// to stop instead of waiting for a key that can never come.
ORVASK_API bool inputended();

namespace key {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Esc = 27;
inline constexpr int Space = 32;
inline constexpr int Extended = 1000;  // offset of keys without a character
inline constexpr int ShiftTab = 1015;
inline constexpr int F1 = 1059;  // F1..F10 are 1059..1068
inline constexpr int F10 = 1068;
inline constexpr int F11 = 1133;
inline constexpr int F12 = 1134;
inline constexpr int Home = 1071;
inline constexpr int Up = 1072;
inline constexpr int PageUp = 1073;
inline constexpr int Left = 1075;
inline constexpr int Right = 1077;
inline constexpr int End = 1079;
inline constexpr int Down = 1080;
inline constexpr int PageDown = 1081;
inline constexpr int Insert = 1082;
inline constexpr int Delete = 1083;
inline constexpr int AltA = 2001;  // Alt+A..Alt+Z are 2001..2026
inline constexpr int AltZ = 2026;
}  // namespace key

}  // namespace orvask
