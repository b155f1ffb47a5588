#pragma once
// Taking the console over and handing it back.
//
// takeOver() saves what the program changes console-wide (the input mode,
// both code pages, the title, the window's placement), turns the input raw
// (no line editing, no echo, Ctrl+C as a key, no mouse, no Quick Edit, no
// virtual-terminal input; window size events on) and, when standard output
// is a console, makes a screen buffer of the program's own the active one.
// The user's buffer is never written: its text, scrollback, cursor, colours
// and size are there again, untouched, once it is active again.
//
// The first take-over registers its own undo: the console comes back at
// exit, after Ctrl+C, Ctrl+Break, a closed window, a log-off or shut-down,
// after abort() (std::terminate too), after a crash and after a stack
// overflow. After any of those the process is ending: the console is not
// taken again, and nothing more is drawn.
//
// The undo may run on another thread than the program's (the console's
// control thread, a crash's helper), and the backend's output watcher draws
// from a thread of its own. Everything that touches the console holds the
// session's Lock, so no two of them touch it at the same time.

#include <windows.h>

namespace orvask::platform::windows::session {

// Held while touching the console.
class Lock {
  public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

// `input` may be no console (keys from a pipe), `output` neither (output to a
// file or a pipe): each is then left alone. Does nothing while the console
// is held or once the process is ending. Call with the Lock held.
void takeOver(HANDLE input, HANDLE output);

// Whether the console is held right now.
bool held();

// Whether the console was given back for good: the process is ending.
bool ending();

// The screen buffer the program draws on, its own, while the console is held
// and standard output is a console; INVALID_HANDLE_VALUE otherwise.
HANDLE screen();

// Saves the window's placement before the program first changes it (by
// maximising it), so that it comes back at the end. Call with the Lock held.
void keepWindowPlacement();

// Puts the saved state back and the user's screen buffer in front; the next
// takeOver() saves afresh. Call with the Lock held.
void restore();

// Sets what runs at exit just before the console is given back (the
// backend's last sync; not after a control event, nor after a crash).
// Registers the exit step even when the console is never taken over.
void flushAtExit(void (*flush)());

}  // namespace orvask::platform::windows::session
