#include "terminal_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "terminal_session.h"

namespace orvask::platform::posix::signals {

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGQUIT, SIGSEGV,
                                  SIGABRT, SIGBUS, SIGFPE,  SIGILL};

// How long a program has after a hang-up to wind down by itself.
constexpr unsigned kHangupGraceSeconds = 2;

int wakePipe[2] = {-1, -1};
volatile std::sig_atomic_t resizeRequested = 0;
volatile std::sig_atomic_t repaintRequested = 0;
volatile std::sig_atomic_t hangupRequested = 0;

void wake() noexcept {
    if (wakePipe[1] < 0) return;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &byte, 1);  // a full pipe wakes anyway
    errno = saved;
}

void onEnding(int sig) {
    session::restore();
    // Installed with SA_RESETHAND | SA_NODEFER: this raise takes the default
    // action, so the process ends as the signal meant it to.
    std::raise(sig);
}

void onHangupGraceOver(int) {
    session::restore();
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(SIGHUP, &dfl, nullptr);
    sigset_t hup;
    sigemptyset(&hup);
    sigaddset(&hup, SIGHUP);
    sigprocmask(SIG_UNBLOCK, &hup, nullptr);
    std::raise(SIGHUP);
}

// The terminal is gone: the input ends, so the program shuts down the way it
// does at the end of its input (the demo exits 0). One that never reads its
// keys again is ended by the hang-up after a short grace period.
void onHangup(int) {
    const int saved = errno;
    if (hangupRequested == 0) {
        hangupRequested = 1;
        struct sigaction grace {};
        grace.sa_handler = onHangupGraceOver;
        sigemptyset(&grace.sa_mask);
        sigaction(SIGALRM, &grace, nullptr);
        ::alarm(kHangupGraceSeconds);
    }
    wake();
    errno = saved;
}

void onStop(int) {
    const int saved = errno;
    session::restore();
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    struct sigaction mine {};
    sigaction(SIGTSTP, &dfl, &mine);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    std::raise(SIGTSTP);  // stops here until continued
    sigaction(SIGTSTP, &mine, nullptr);
    errno = saved;
}

void onContinue(int) {
    const int saved = errno;
    session::resume();
    repaintRequested = 1;
    wake();
    errno = saved;
}

void onResize(int) {
    resizeRequested = 1;
    wake();
}

void handle(int sig, void (*handler)(int), int flags) {
    struct sigaction old {};
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    sigaction(sig, &action, nullptr);
}

}  // namespace

void install() {
    if (wakePipe[0] < 0 && ::pipe(wakePipe) == 0) {
        for (int fd : wakePipe) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    for (int sig : kEndingSignals)
        handle(sig, onEnding, SA_RESETHAND | SA_NODEFER);
    handle(SIGHUP, onHangup, SA_RESTART);
    handle(SIGTSTP, onStop, SA_RESTART);
    handle(SIGCONT, onContinue, SA_RESTART);
    handle(SIGWINCH, onResize, SA_RESTART);
}

int wakeFd() noexcept {
    return wakePipe[0];
}

void drainWake() noexcept {
    if (wakePipe[0] < 0) return;
    char buffer[64];
    while (::read(wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

bool takeResize() noexcept {
    const bool requested = resizeRequested != 0;
    resizeRequested = 0;
    return requested;
}

bool hungUp() noexcept {
    return hangupRequested != 0;
}

bool takeRepaint() noexcept {
    const bool requested = repaintRequested != 0;
    repaintRequested = 0;
    return requested;
}

}  // namespace orvask::platform::posix::signals
