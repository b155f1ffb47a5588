#include "terminal_session.h"

#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "fd_write.h"
#include "terminal_signals.h"

namespace orvask::platform::posix::session {

namespace {

// Push the title, alternate screen, no automatic wrap (so writing the last
// column never scrolls), plain colours, cleared screen.
constexpr char kEnter[] = "\x1b[22;0t\x1b[?1049h\x1b[?7l\x1b[0m\x1b[H\x1b[2J";
// Plain colours, visible cursor in the terminal's default style, wrapping
// back on, main screen, the user's title popped.
constexpr char kLeave[] = "\x1b[0m\x1b[?25h\x1b[0 q\x1b[?7h\x1b[?1049l\x1b[23;0t";

int modeFd = -1;    // the terminal whose mode is changed, or -1
int screenFd = -1;  // where the screen sequences go, or -1
termios savedMode{};
termios rawMode{};
// Atomics, lock-free: read by signal handlers and by the output watcher.
std::atomic<bool> takenOver{false};
std::atomic<bool> inOurMode{false};
std::atomic<bool> frameInFlight{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// How long a restore waits at most for a frame another thread is writing.
constexpr int kFrameWaitSteps = 200;
constexpr long kFrameWaitStepNs = 1'000'000;

void waitForFrame() noexcept {
    for (int step = 0; step < kFrameWaitSteps && frameInFlight.load(); ++step) {
        timespec pause{0, kFrameWaitStepNs};
        nanosleep(&pause, nullptr);
    }
}

void setMode(const termios& mode) noexcept {
    while (tcsetattr(modeFd, TCSADRAIN, &mode) != 0 && errno == EINTR) {
    }
}

void restoreAtExit() {
    restore();
}

}  // namespace

void takeOver(const Devices& devices) {
    if (takenOver || (!devices.inputIsTerminal && !devices.outputIsTerminal)) return;
    screenFd = devices.outputIsTerminal ? devices.output : -1;
    modeFd = devices.inputIsTerminal ? devices.input : devices.output;
    if (tcgetattr(modeFd, &savedMode) != 0) {
        modeFd = -1;
        if (screenFd < 0) return;
    }
    rawMode = savedMode;
    rawMode.c_lflag &= static_cast<tcflag_t>(~(ECHO | ECHONL | ICANON | IEXTEN));
    if (devices.outputIsTerminal) rawMode.c_oflag &= static_cast<tcflag_t>(~OPOST);
    if (devices.inputIsTerminal) {
        rawMode.c_lflag &= static_cast<tcflag_t>(~ISIG);
        rawMode.c_iflag &= static_cast<tcflag_t>(
            ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON));
        rawMode.c_cflag = static_cast<tcflag_t>((rawMode.c_cflag & ~(CSIZE | PARENB)) | CS8);
    }
    rawMode.c_cc[VMIN] = 1;
    rawMode.c_cc[VTIME] = 0;

    // The undo first, then the change it undoes.
    static bool undoRegistered = false;
    if (!undoRegistered) std::atexit(restoreAtExit);
    undoRegistered = true;
    takenOver = true;
    signals::install();
    resume();
}

bool taken() noexcept {
    return takenOver;
}

bool active() noexcept {
    return inOurMode;
}

void restore() noexcept {
    if (!takenOver || !inOurMode) return;
    inOurMode = false;
    waitForFrame();
    if (screenFd >= 0) writeFully(screenFd, kLeave, sizeof kLeave - 1);
    if (modeFd >= 0) setMode(savedMode);
}

void resume() noexcept {
    if (!takenOver || inOurMode) return;
    if (modeFd >= 0) setMode(rawMode);
    if (screenFd >= 0) writeFully(screenFd, kEnter, sizeof kEnter - 1);
    inOurMode = true;
}

bool beginFrame() noexcept {
    // Marked first, then checked: a restore that clears the mode after this
    // check sees the mark and waits.
    frameInFlight = true;
    if (takenOver && !inOurMode) {
        frameInFlight = false;
        return false;
    }
    return true;
}

void endFrame() noexcept {
    frameInFlight = false;
}

void giveBack() noexcept {
    restore();
    if (!takenOver) return;
    signals::uninstall();
    takenOver = false;
}

}  // namespace orvask::platform::posix::session
