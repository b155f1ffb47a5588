#pragma once
// The signals a terminal program must answer, installed together with the
// terminal take-over and taken out again when the terminal is given back:
//
//   * SIGTERM, SIGINT, SIGQUIT and the crashes (SIGSEGV, SIGABRT, SIGBUS,
//     SIGFPE, SIGILL, SIGTRAP, SIGSYS): the terminal is restored, then the
//     process dies by the same signal with its default action;
//   * every other signal whose default action ends the process (SIGPIPE,
//     SIGXFSZ, SIGXCPU, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, the
//     real-time signals and, where they end it, SIGIO, SIGPWR and SIGSTKFLT):
//     the same, unless the host handles it (see below);
//   * SIGHUP (the terminal closed): the input ends, so the program winds
//     down through its own exit path; if it is still running two seconds
//     later, the terminal is restored and the process dies by SIGHUP. Once
//     the terminal has hung up, a SIGHUP the host left at its default action
//     stays ignored after uninstall(): the program is already on its way
//     out, and a late copy of the hang-up (a shell passes it on to its jobs)
//     must not kill it there;
//   * SIGTSTP: the terminal is restored and the process stops; SIGCONT takes
//     the terminal over again and asks for a full repaint;
//   * SIGWINCH: asks for the size to be read again and a repaint.
//
// As a guest in its host program, the library keeps the handlers the host
// had installed: they are saved at install() and put back at uninstall().
// When the host has a handler of its own for one of these signals, it runs
// as well, with the host's signal mask: for SIGTERM, SIGINT, SIGQUIT, the
// crashes, SIGHUP, SIGTSTP, SIGCONT and SIGWINCH after the terminal has been
// restored where the signal restores it, instead of the default action (so a
// host that catches SIGINT decides itself whether the program ends; if it
// goes on, the terminal is taken again at the next sync point). The other
// signals are the ones programs use for their own ends (timers, profilers,
// broken pipes, messages between processes): a host's handler for one of
// them runs alone and the terminal stays as it is. A signal the process
// ignored at start stays ignored.
//
// The requests are flags, and a byte on a wake-up pipe lets a blocking key
// read see them at once.

namespace orvask::platform::posix::signals {

void install();
// Puts back the handlers the host had before install().
void uninstall() noexcept;

// The read end of the wake-up pipe (non-blocking), or -1.
int wakeFd() noexcept;
// Drains the wake-up pipe.
void drainWake() noexcept;

// Each returns whether the request was made since the last call, and clears it.
bool takeResize() noexcept;
bool takeRepaint() noexcept;
// Whether the terminal hung up; stays true.
bool hungUp() noexcept;
// Tells that the terminal's input found the terminal gone (a read that
// ended or failed), which may come before the hang-up signal does.
void noteHangUp() noexcept;

}  // namespace orvask::platform::posix::signals
