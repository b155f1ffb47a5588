#include "terminal_backend.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "fd_write.h"
#include "message_box.h"
#include "system_backend.h"
#include "terminal_session.h"
#include "terminal_signals.h"

namespace orvask::platform::posix {

namespace {

// The backend the exit-time sync goes to.
TerminalBackend* syncedAtExit = nullptr;

void syncAtExit() {
    if (syncedAtExit != nullptr) syncedAtExit->syncIfHeld();
}

// What a wait for input ended with.
enum Waited : int { Bytes, Quiet, Woken };

}  // namespace

TerminalBackend::TerminalBackend(int inputFd, int outputFd, std::string_view term, Clock& clock)
    : inputFd_(inputFd),
      outputFd_(outputFd),
      inputIsTerminal_(::isatty(inputFd) == 1),
      outputIsTerminal_(::isatty(outputFd) == 1),
      clock_(clock),
      decoder_(keys::terminalFamily(term)) {
    decoder_.setCodePage(model_.inputCodePage);
    takeTerminal();
    session::flushAtExit(syncAtExit);
    syncedAtExit = this;
}

TerminalBackend::~TerminalBackend() {
    if (syncedAtExit == this) syncedAtExit = nullptr;
}

void TerminalBackend::takeTerminal() {
    session::takeOver({inputFd_, outputFd_, inputIsTerminal_, outputIsTerminal_});
    terminalSize_ = queryTerminalSize();
    renderer_.invalidate();
    held_ = true;
    changed();
}

void TerminalBackend::restoreConsole() {
    if (!held_) return;
    sync();
    session::giveBack();
    held_ = false;
    renderer_.invalidate();
}

// --- Output -------------------------------------------------------------------

void TerminalBackend::changed() {
    if (dirty_) return;
    dirty_ = true;
    dirtySinceMs_ = clock_.milliseconds();
}

void TerminalBackend::write(const char* bytes, std::size_t count) {
    ModelBackend::write(bytes, count);
    writtenSinceSync_ += count;
    if (writtenSinceSync_ >= kLargeOutput ||
        clock_.milliseconds() - dirtySinceMs_ >= kSyncIntervalMs) {
        sync();
    }
}

void TerminalBackend::setInputCodePage(int codePage) {
    ModelBackend::setInputCodePage(codePage);
    decoder_.setCodePage(codePage);
}

void TerminalBackend::sync() {
    if (!held_) {
        takeTerminal();
    } else if (session::taken() && !session::active()) {
        // A signal restored the terminal and the host's own handler let the
        // program go on: take it again.
        session::resume();
        renderer_.invalidate();
        changed();
    }
    answerSignals();
    if (!dirty_ || outputBroken_) return;
    renderer_.render(overlay_ != nullptr ? *overlay_ : model_, terminalSize_, pending_);
    if (!pending_.empty()) {
        if (tap_ != nullptr) tap_->sent(pending_);
        if (!writeFully(outputFd_, pending_.data(), pending_.size())) outputBroken_ = true;
    }
    pending_.clear();
    dirty_ = false;
    writtenSinceSync_ = 0;
}

void TerminalBackend::syncIfHeld() {
    if (held_ && (!session::taken() || session::active())) sync();
}

void TerminalBackend::answerSignals() {
    if (signals::takeResize()) {
        terminalSize_ = queryTerminalSize();
        renderer_.invalidate();
        changed();
    }
    if (signals::takeRepaint()) {
        renderer_.invalidate();
        changed();
    }
}

void TerminalBackend::answerSignalsDuringSleep(void* self) {
    static_cast<TerminalBackend*>(self)->sync();
}

Coord TerminalBackend::queryTerminalSize() const {
    winsize size{};
    if (!outputIsTerminal_ || ::ioctl(outputFd_, TIOCGWINSZ, &size) != 0) return {0, 0};
    if (size.ws_col == 0 || size.ws_row == 0) return {0, 0};
    return {static_cast<std::int16_t>(std::min<int>(size.ws_col, INT16_MAX)),
            static_cast<std::int16_t>(std::min<int>(size.ws_row, INT16_MAX))};
}

// --- Clocks -------------------------------------------------------------------

bool TerminalBackend::performanceFrequency(std::int64_t& countsPerSecond) {
    countsPerSecond = Clock::kCounterFrequency;
    return true;
}

std::int64_t TerminalBackend::performanceCounter() {
    return clock_.nanoseconds();
}

std::uint32_t TerminalBackend::tickCount() {
    return clock_.milliseconds();
}

void TerminalBackend::sleep(std::uint32_t milliseconds) {
    sync();
    clock_.sleep(milliseconds, answerSignalsDuringSleep, this);
}

// --- Keyboard -----------------------------------------------------------------

int TerminalBackend::readKey() {
    if (!decoder_.ready() && inputEnded_) return kEndOfInput;
    sync();
    while (!decoder_.ready()) {
        if (inputEnded_) return kEndOfInput;
        if (!decoder_.holding()) {
            waitForInput(-1);
            continue;
        }
        // Held-back bytes are settled only after kEscTimeoutMs in which no
        // byte arrived, and never while more bytes are already waiting (a
        // paste read while the program was busy).
        const std::uint32_t quiet = clock_.milliseconds() - lastByteMs_;
        const int left = quiet >= kEscTimeoutMs ? 0 : static_cast<int>(kEscTimeoutMs - quiet);
        if (waitForInput(left) == Quiet) decoder_.settle();
    }
    return takeKey();
}

bool TerminalBackend::keyWaiting() {
    if (decoder_.ready()) return true;
    if (inputEnded_) return false;
    sync();
    waitForInput(0);
    settleIfQuiet();
    return decoder_.ready();
}

bool TerminalBackend::keyDown(int virtualKey) {
    return virtualKey == vk::Menu && altHeld_ && clock_.milliseconds() - altSinceMs_ < kAltHoldMs;
}

int TerminalBackend::takeKey() {
    keys::KeyEvent event{};
    decoder_.next(event);
    altHeld_ = event.alt;
    altSinceMs_ = clock_.milliseconds();
    return event.code;
}

void TerminalBackend::settleIfQuiet() {
    if (decoder_.holding() && clock_.milliseconds() - lastByteMs_ >= kEscTimeoutMs) {
        decoder_.settle();
    }
}

// Waits up to timeoutMs (-1: no limit) for input or a signal, and takes in
// everything that is waiting. Returns Bytes when bytes came, Quiet when the
// whole timeout passed without any, Woken otherwise (a signal, the end).
int TerminalBackend::waitForInput(int timeoutMs) {
    if (signals::hungUp()) {
        endInput();
        return Woken;
    }
    pollfd fds[2] = {{inputFd_, POLLIN, 0}, {signals::wakeFd(), POLLIN, 0}};
    const nfds_t count = fds[1].fd >= 0 ? 2 : 1;
    const int ready = ::poll(fds, count, timeoutMs);
    if (ready == 0) return Quiet;
    if (ready < 0) {
        if (errno != EINTR && errno != EAGAIN) endInput();
        sync();
        return Woken;
    }
    if (count == 2 && fds[1].revents != 0) {
        signals::drainWake();
        if (signals::hungUp()) {
            endInput();  // the terminal is gone: no key can come any more
            return Woken;
        }
        sync();
    }
    if (fds[0].revents != 0 && readInput()) return Bytes;
    return Woken;
}

// Reads everything waiting on the input into the decoder; true when any
// byte came.
bool TerminalBackend::readInput() {
    bool got = false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(inputFd_, buffer, sizeof buffer);
        if (n > 0) {
            decoder_.feed(buffer, static_cast<std::size_t>(n));
            lastByteMs_ = clock_.milliseconds();
            got = true;
            pollfd more{inputFd_, POLLIN, 0};
            if (::poll(&more, 1, 0) <= 0) break;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            endInput();  // end of file, or the terminal is gone (EIO)
        }
        break;
    }
    return got;
}

void TerminalBackend::endInput() {
    inputEnded_ = true;
    decoder_.settle();
}

// --- Message box --------------------------------------------------------------

void TerminalBackend::messageBox(const char* caption, const char* text) {
    const std::string_view captionText = caption != nullptr ? caption : "";
    const std::string_view bodyText = text != nullptr ? text : "";
    if (!outputIsTerminal_) {
        std::string line;
        line.append(captionText).append(": ").append(bodyText).append("\n");
        writeFully(STDERR_FILENO, line.data(), line.size());
        return;
    }
    // Drawn over what the program shows; when the terminal is too small for
    // that, over a blank screen of the terminal's size, so it is seen.
    const bool fits = terminalSize_.x == 0 ||
                      (terminalSize_.x >= model_.width() && terminalSize_.y >= model_.height());
    ConsoleModel box = fits ? model_ : ConsoleModel(terminalSize_);
    box.outputCodePage = model_.outputCodePage;
    box.title = model_.title;
    drawMessageBox(box, captionText, bodyText);
    overlay_ = &box;
    changed();
    while (true) {
        const KeyPress press = readKeyPress();
        if (press.kind == KeyPress::Kind::EndOfInput) break;
        if (press.kind == KeyPress::Kind::Character && acknowledgesMessageBox(press.code)) break;
    }
    overlay_ = nullptr;
    changed();
    sync();
}

}  // namespace orvask::platform::posix

namespace orvask::platform {

Backend& systemBackend() {
    // Made on first use and never destroyed: the exit-time sync and the
    // signal handlers may need it until the very end.
    static posix::TerminalBackend* const instance = [] {
        const char* term = std::getenv("TERM");
        return new posix::TerminalBackend(STDIN_FILENO, STDOUT_FILENO, term != nullptr ? term : "");
    }();
    return *instance;
}

}  // namespace orvask::platform
