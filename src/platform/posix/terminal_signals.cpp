#include "terminal_signals.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "terminal_session.h"
#include "wake_pipe.h"

namespace orvask::platform::posix::signals {

namespace {

using Handler = void (*)(int, siginfo_t*, void*);

void onEnding(int sig, siginfo_t* info, void* context);
void onNotice(int sig, siginfo_t* info, void* context);
void onHangup(int sig, siginfo_t* info, void* context);
void onStop(int sig, siginfo_t* info, void* context);
void onContinue(int sig, siginfo_t* info, void* context);
void onResize(int sig, siginfo_t* info, void* context);

struct Answer {
    int sig;
    Handler handler;
};

// Every signal the library answers, and how; the real-time signals, whose
// numbers are known only at run time, are answered as notices too.
constexpr Answer kAnswers[] = {
    {SIGTERM, onEnding},   {SIGINT, onEnding},  {SIGQUIT, onEnding},   {SIGSEGV, onEnding},
    {SIGABRT, onEnding},   {SIGBUS, onEnding},  {SIGFPE, onEnding},    {SIGILL, onEnding},
    {SIGTRAP, onEnding},   {SIGSYS, onEnding},  {SIGPIPE, onNotice},   {SIGXFSZ, onNotice},
    {SIGXCPU, onNotice},   {SIGUSR1, onNotice}, {SIGUSR2, onNotice},   {SIGALRM, onNotice},
    {SIGVTALRM, onNotice}, {SIGPROF, onNotice},
#if defined(__linux__)  // elsewhere these are ignored by default, or do not exist
    {SIGIO, onNotice},     {SIGPWR, onNotice},
#if defined(SIGSTKFLT)
    {SIGSTKFLT, onNotice},
#endif
#endif
    {SIGHUP, onHangup},    {SIGTSTP, onStop},   {SIGCONT, onContinue}, {SIGWINCH, onResize},
};

// How long a program has after a hang-up to wind down by itself.
constexpr unsigned kHangupGraceSeconds = 2;

// The host's handlers, by signal number, while ours are installed.
struct sigaction hostAction[NSIG];
volatile std::sig_atomic_t ours[NSIG];
// The host's SIGALRM, while the hang-up grace period borrows it.
struct sigaction hostAlarm;
volatile std::sig_atomic_t alarmBorrowed = 0;

int wakePipe[2] = {-1, -1};
volatile std::sig_atomic_t resizeRequested = 0;
volatile std::sig_atomic_t repaintRequested = 0;
volatile std::sig_atomic_t hangupRequested = 0;
volatile std::sig_atomic_t terminalGone = 0;  // SIGHUP came, or a read found it gone

void wake() noexcept {
    if (wakePipe[1] >= 0) wakeUp(wakePipe[1]);
}

bool hostHandles(int sig) {
    if (!ours[sig]) return false;
    const struct sigaction& host = hostAction[sig];
    if ((host.sa_flags & SA_SIGINFO) != 0) return host.sa_sigaction != nullptr;
    return host.sa_handler != SIG_DFL && host.sa_handler != SIG_IGN;
}

// Runs the host's handler as the host installed it: with its mask, and
// with the signal itself blocked unless it asked for SA_NODEFER.
void callHost(int sig, siginfo_t* info, void* context) {
    const struct sigaction& host = hostAction[sig];
    sigset_t mask = host.sa_mask;
    if ((host.sa_flags & SA_NODEFER) == 0) sigaddset(&mask, sig);
    sigset_t before;
    sigprocmask(SIG_BLOCK, &mask, &before);
    if ((host.sa_flags & SA_SIGINFO) != 0) {
        host.sa_sigaction(sig, info, context);
    } else {
        host.sa_handler(sig);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
}

// The default action of `sig`, now: the process ends or stops as the signal
// means it to.
void actByDefault(int sig) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(sig);
}

void onEnding(int sig, siginfo_t* info, void* context) {
    const int saved = errno;
    session::restore();
    if (hostHandles(sig)) {
        callHost(sig, info, context);
    } else {
        actByDefault(sig);
    }
    errno = saved;
}

// A signal the host may use for its own ends: its handler runs alone; without
// one the process ends, with the terminal given back first.
void onNotice(int sig, siginfo_t* info, void* context) {
    const int saved = errno;
    if (hostHandles(sig)) {
        callHost(sig, info, context);
    } else {
        session::restore();
        actByDefault(sig);
    }
    errno = saved;
}

void onHangupGraceOver(int) {
    session::restore();
    actByDefault(SIGHUP);
}

// The terminal is gone: the input ends, so the program shuts down the way it
// does at the end of its input (the demo exits 0). One that never reads its
// keys again is ended by the hang-up after a short grace period.
void onHangup(int sig, siginfo_t* info, void* context) {
    const int saved = errno;
    terminalGone = 1;
    if (hangupRequested == 0) {
        hangupRequested = 1;
        struct sigaction grace {};
        grace.sa_handler = onHangupGraceOver;
        sigemptyset(&grace.sa_mask);
        sigaction(SIGALRM, &grace, &hostAlarm);
        alarmBorrowed = 1;
        ::alarm(kHangupGraceSeconds);
    }
    wake();
    if (hostHandles(sig)) callHost(sig, info, context);
    errno = saved;
}

void onStop(int sig, siginfo_t* info, void* context) {
    const int saved = errno;
    session::restore();
    if (hostHandles(sig)) {
        callHost(sig, info, context);
    } else {
        struct sigaction mine {};
        sigaction(SIGTSTP, nullptr, &mine);
        actByDefault(SIGTSTP);  // stops here until continued
        sigaction(SIGTSTP, &mine, nullptr);
    }
    errno = saved;
}

void onContinue(int sig, siginfo_t* info, void* context) {
    const int saved = errno;
    session::resume();
    repaintRequested = 1;
    wake();
    if (hostHandles(sig)) callHost(sig, info, context);
    errno = saved;
}

void onResize(int sig, siginfo_t* info, void* context) {
    const int saved = errno;
    resizeRequested = 1;
    wake();
    if (hostHandles(sig)) callHost(sig, info, context);
    errno = saved;
}

}  // namespace

namespace {

void answer(int sig, Handler handler) {
    struct sigaction host {};
    if (ours[sig] || sigaction(sig, nullptr, &host) != 0) return;
    if ((host.sa_flags & SA_SIGINFO) == 0 && host.sa_handler == SIG_IGN) return;
    hostAction[sig] = host;
    struct sigaction action {};
    action.sa_sigaction = handler;
    sigemptyset(&action.sa_mask);
    // SA_NODEFER lets the default action raised from inside the handler
    // take effect at once.
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_NODEFER;
    ours[sig] = 1;
    sigaction(sig, &action, nullptr);
}

}  // namespace

void install() {
    if (wakePipe[0] < 0) openWakePipe(wakePipe);
    for (const Answer& each : kAnswers)
        answer(each.sig, each.handler);
#if defined(SIGRTMIN) && defined(SIGRTMAX)
    for (int sig = SIGRTMIN; sig <= SIGRTMAX && sig < NSIG; ++sig)
        answer(sig, onNotice);
#endif
}

void uninstall() noexcept {
    // The borrowed alarm first: what it gives back may be our own SIGALRM
    // answer, which the loop below then replaces with the host's.
    if (alarmBorrowed) {
        ::alarm(0);
        sigaction(SIGALRM, &hostAlarm, nullptr);
        alarmBorrowed = 0;
    }
    for (int sig = 1; sig < NSIG; ++sig) {
        if (!ours[sig]) continue;
        struct sigaction host = hostAction[sig];
        if (sig == SIGHUP && terminalGone && (host.sa_flags & SA_SIGINFO) == 0 &&
            host.sa_handler == SIG_DFL) {
            host.sa_handler = SIG_IGN;
        }
        sigaction(sig, &host, nullptr);
        ours[sig] = 0;
    }
}

int wakeFd() noexcept {
    return wakePipe[0];
}

void drainWake() noexcept {
    if (wakePipe[0] >= 0) drainWakePipe(wakePipe[0]);
}

bool takeResize() noexcept {
    const bool requested = resizeRequested != 0;
    resizeRequested = 0;
    return requested;
}

bool hungUp() noexcept {
    return hangupRequested != 0;
}

void noteHangUp() noexcept {
    terminalGone = 1;
}

bool takeRepaint() noexcept {
    const bool requested = repaintRequested != 0;
    repaintRequested = 0;
    return requested;
}

}  // namespace orvask::platform::posix::signals
