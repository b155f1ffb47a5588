#pragma once
// The signals a terminal program must answer, installed together with the
// terminal take-over:
//
//   * SIGTERM, SIGINT, SIGQUIT and the crashes (SIGSEGV, SIGABRT, SIGBUS,
//     SIGFPE, SIGILL): the terminal is restored, then the process dies by the
//     same signal with its default action;
//   * SIGHUP (the terminal closed): the input ends, so the program winds
//     down through its own exit path; if it is still running two seconds
//     later, the terminal is restored and the process dies by SIGHUP;
//   * SIGTSTP: the terminal is restored and the process stops; SIGCONT takes
//     the terminal over again and asks for a full repaint;
//   * SIGWINCH: asks for the size to be read again and a repaint.
//
// The requests are flags, and a byte on a wake-up pipe lets a blocking key
// read see them at once. A signal the process ignored at start stays ignored.

namespace orvask::platform::posix::signals {

void install();

// The read end of the wake-up pipe (non-blocking), or -1.
int wakeFd() noexcept;
// Drains the wake-up pipe.
void drainWake() noexcept;

// Each returns whether the request was made since the last call, and clears it.
bool takeResize() noexcept;
bool takeRepaint() noexcept;
// Whether the terminal hung up; stays true.
bool hungUp() noexcept;

}  // namespace orvask::platform::posix::signals
