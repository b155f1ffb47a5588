#pragma once
// Taking a terminal over and giving it back.
//
// takeOver() saves the terminal's mode, switches the keyboard to raw input
// and, when the output is the terminal, enters the alternate screen (pushing
// the user's title); it registers its own undo: restore() at exit and from
// every signal that ends or stops the process (see terminal_signals.h). The
// bytes of the take-over and of the restore are the two columns of one
// table (terminal/escape_sequences.h), so the restore mirrors the take-over.
// giveBack() undoes all of it, the signal handlers included, and a later
// takeOver() starts afresh from the terminal as it is then.
//
// restore() and resume() are async-signal-safe: prepared byte strings, write
// and tcsetattr only. Restoring twice is harmless.

namespace orvask::platform::posix::session {

struct Devices {
    int input;   // standard input
    int output;  // standard output
    bool inputIsTerminal;
    bool outputIsTerminal;
};

// Takes the terminals among `devices` over; does nothing when neither is a
// terminal or they are taken already. With keys from a terminal, that
// terminal's input becomes fully raw, whatever the output is: no echo, no
// line editing, no signal keys (Ctrl+C and Ctrl+Z arrive as 3 and 26), no
// CR-to-NL translation, no flow control. With keys from elsewhere and the
// output a terminal, only its echo and line editing are turned off, so Ctrl+C
// still stops the program.
void takeOver(const Devices& devices);

// Sets what runs at exit just before the restore: the backend's last sync,
// so the final frame is shown (or written to an output that is no terminal)
// before the terminal is given back. Registers the exit step even when no
// terminal is ever taken over.
void flushAtExit(void (*flush)());

// Whether the terminal is taken over (even while restored by a signal).
bool taken() noexcept;
// Whether the terminal is in the program's modes right now.
bool active() noexcept;

// Attributes reset, cursor shown in the terminal's own style, wrapping on,
// the saved mode back, the alternate screen left, the user's title back.
void restore() noexcept;

// After restore(): raw mode and the alternate screen again. The caller
// repaints.
void resume() noexcept;

// restore(), the host's signal handlers back, and the take-over forgotten.
void giveBack() noexcept;

// For a frame written from a thread other than the program's own (the
// backend's output watcher, which takes no signals): beginFrame() is false
// when the terminal is not in the program's modes, so nothing may be
// written; otherwise the frame is in flight until endFrame(), and a restore
// or resume from a signal handler waits for it (a short, bounded wait), so
// the terminal never gets the rest of a frame after it was given back.
bool beginFrame() noexcept;
void endFrame() noexcept;

}  // namespace orvask::platform::posix::session
