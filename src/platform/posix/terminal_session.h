#pragma once
// Taking a terminal over and giving it back.
//
// takeOver() saves the terminal's mode, switches it to raw input, enters the
// alternate screen (pushing the user's title) and registers its own undo:
// restore() at exit and from every signal that ends or stops the process
// (see terminal_signals.h). restore() and resume() are async-signal-safe:
// prepared byte strings, write and tcsetattr only. Restoring twice is
// harmless.

namespace orvask::platform::posix::session {

struct Devices {
    int input;   // standard input
    int output;  // standard output, a terminal
    bool inputIsTerminal;
};

// Takes the terminal on `devices.output` over. With a terminal on input as
// well, input becomes fully raw: no echo, no line editing, no signal keys
// (Ctrl+C and Ctrl+Z arrive as 3 and 26), no CR-to-NL translation, no flow
// control. When keys come from elsewhere, only echo and line editing are
// turned off, so Ctrl+C still stops the program.
void takeOver(const Devices& devices);

// Whether the terminal is taken over right now.
bool active() noexcept;

// Attributes reset, cursor shown in the terminal's own style, wrapping on,
// the saved mode back, the alternate screen left, the user's title back.
void restore() noexcept;

// After a stop: raw mode and the alternate screen again. The caller repaints.
void resume() noexcept;

}  // namespace orvask::platform::posix::session
