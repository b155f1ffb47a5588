#pragma once
// Taking the console over and handing it back.
//
// takeOver() saves what the program may change (the input and output
// modes, both code pages, the cursor's shape, the text attribute and the
// title) and turns the input raw: no line editing, no echo, Ctrl+C as a key,
// no mouse or window events, no virtual-terminal input. The first take-over
// registers its own undo: restore() at exit, after Ctrl+C, Ctrl+Break, a
// closed window, a log-off or shut-down, and after a crash. After any of
// those the process is ending, and the console is not taken again.
//
// restore() puts the saved state back; the next takeOver() saves afresh.
// Both may run on the console's control thread as well as the program's.

#include <windows.h>

namespace orvask::platform::windows::session {

// `input` may be no console (keys from a pipe); it is then left alone.
void takeOver(HANDLE input, HANDLE output);

// Whether the console is taken over right now.
bool active();

void restore();

}  // namespace orvask::platform::windows::session
