#include "terminal_session.h"

#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <iterator>

#include "fd_write.h"
#include "terminal/escape_sequences.h"
#include "terminal_signals.h"

namespace orvask::platform::posix::session {

namespace seq = terminal::seq;

namespace {

enum class Column { SetUp, Restore };

constexpr std::string_view cell(const seq::PairedSequence& row, Column column) {
    return column == Column::SetUp ? row.setUp : row.restore;
}

constexpr std::size_t columnLength(Column column) {
    std::size_t length = 0;
    for (const seq::PairedSequence& row : seq::kSession)
        length += cell(row, column).size();
    return length;
}

// A column of the session's table as one string: the set-up from the top,
// the restore from the bottom. Made at compile time, so that a signal
// handler only writes it.
template <Column column>
constexpr auto sessionBytes() {
    std::array<char, columnLength(column)> bytes{};
    const std::size_t rows = std::size(seq::kSession);
    std::size_t at = 0;
    for (std::size_t i = 0; i < rows; ++i) {
        const seq::PairedSequence& row = seq::kSession[column == Column::SetUp ? i : rows - 1 - i];
        for (char c : cell(row, column))
            bytes[at++] = c;
    }
    return bytes;
}

constexpr auto kEnter = sessionBytes<Column::SetUp>();
constexpr auto kLeave = sessionBytes<Column::Restore>();

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

void (*exitFlush)() = nullptr;

// The one exit-time step: the last frame shown, then the terminal restored.
void atExit() {
    if (exitFlush != nullptr) exitFlush();
    restore();
}

void registerExitOnce() {
    static bool registered = false;
    if (!registered) std::atexit(atExit);
    registered = true;
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
    registerExitOnce();
    takenOver = true;
    signals::install();
    resume();
}

void flushAtExit(void (*flush)()) {
    exitFlush = flush;
    registerExitOnce();
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
    if (screenFd >= 0) writeFully(screenFd, kLeave.data(), kLeave.size());
    if (modeFd >= 0) setMode(savedMode);
}

void resume() noexcept {
    if (!takenOver || inOurMode) return;
    if (modeFd >= 0) setMode(rawMode);
    if (screenFd >= 0) writeFully(screenFd, kEnter.data(), kEnter.size());
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
