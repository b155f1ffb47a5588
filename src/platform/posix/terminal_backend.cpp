#include "terminal_backend.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>

#include "fd_write.h"
#include "message_box.h"
#include "system_backend.h"
#include "terminal_session.h"
#include "terminal_signals.h"
#include "wake_pipe.h"

namespace orvask::platform::posix {

namespace {

// The backend the exit-time sync goes to.
TerminalBackend* syncedAtExit = nullptr;
// The backend whose watcher runs, for the fork handlers.
TerminalBackend* watched = nullptr;

void syncAtExit() {
    if (syncedAtExit == nullptr) return;
    syncedAtExit->syncIfHeld();
    syncedAtExit->stopWatcher();
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
      decoder_(keys::terminalFamily(term)),
      schedule_(clock.milliseconds()) {
    decoder_.setCodePage(model_.inputCodePage);
    takeTerminal();
    session::flushAtExit(syncAtExit);
    syncedAtExit = this;
}

TerminalBackend::~TerminalBackend() {
    if (syncedAtExit == this) syncedAtExit = nullptr;
    askWatcherToStop();
    if (watching_) pthread_join(watcher_, nullptr);
    if (watched == this) watched = nullptr;
    for (int fd : watcherWake_) {
        if (fd >= 0) ::close(fd);
    }
}

void TerminalBackend::Lock::init() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&mutex_, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

void TerminalBackend::enter() {
    lock_.lock();
    schedule_.callBegins();
}

void TerminalBackend::leave() {
    schedule_.callEnds(now());
    lock_.unlock();
}

void TerminalBackend::takeTerminal() {
    session::takeOver({inputFd_, outputFd_, inputIsTerminal_, outputIsTerminal_});
    terminalSize_ = queryTerminalSize();
    renderer_.invalidate();
    held_ = true;
    changed();
}

void TerminalBackend::restoreConsole() {
    const Hold hold(*this);
    if (!held_) return;
    sync();
    session::giveBack();
    held_ = false;
    renderer_.invalidate();
}

// --- Output -------------------------------------------------------------------

void TerminalBackend::changed() {
    if (schedule_.changed(now()) && watcherAsleep_) notifyWatcher();
}

void TerminalBackend::write(const char* bytes, std::size_t count) {
    const Hold hold(*this);
    ModelBackend::write(bytes, count);
    if (schedule_.wrote(count, now())) sync();
}

void TerminalBackend::setInputCodePage(int codePage) {
    const Hold hold(*this);
    ModelBackend::setInputCodePage(codePage);
    decoder_.setCodePage(codePage);
}

void TerminalBackend::sync() {
    const Hold hold(*this);
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
    render();
}

// Sends the terminal what it does not show yet.
void TerminalBackend::render() {
    if (!schedule_.pending() || outputBroken_) return;
    renderer_.render(overlay_ != nullptr ? *overlay_ : model_, terminalSize_, pending_);
    if (!pending_.empty()) {
        if (tap_ != nullptr) tap_->sent(pending_);
        if (!writeFully(outputFd_, pending_.data(), pending_.size())) {
            outputBroken_ = true;
            writeError_ = errno;
        }
    }
    pending_.clear();
    schedule_.shown();
}

void TerminalBackend::syncIfHeld() {
    const Hold hold(*this);
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
    const Hold hold(*this);
    sync();
    // Keys typed meanwhile are read as they come, so that each carries the
    // time it came; a signal is answered at once.
    const std::uint32_t start = clock_.milliseconds();
    for (;;) {
        const std::uint32_t slept = clock_.milliseconds() - start;
        if (slept >= milliseconds) return;
        wait(static_cast<int>(std::min<std::uint32_t>(milliseconds - slept, INT_MAX)), keysInUse_);
    }
}

// --- Keyboard -----------------------------------------------------------------

int TerminalBackend::readKey() {
    const Hold hold(*this);
    keysInUse_ = true;
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
    const Hold hold(*this);
    keysInUse_ = true;
    if (decoder_.ready()) return true;
    if (inputEnded_) return false;
    sync();
    waitForInput(0);
    settleIfQuiet(clock_.milliseconds());
    return decoder_.ready();
}

bool TerminalBackend::keyDown(int virtualKey) {
    const Hold hold(*this);
    return virtualKey == vk::Menu && altHeld_ && clock_.milliseconds() - altSinceMs_ < kAltHoldMs;
}

int TerminalBackend::takeKey() {
    keys::KeyEvent event{};
    decoder_.next(event);
    altHeld_ = event.alt;
    altSinceMs_ = clock_.milliseconds();
    return event.code;
}

// Settles the bytes held back once none has come for kEscTimeoutMs.
void TerminalBackend::settleIfQuiet(std::uint32_t now) {
    if (decoder_.holding() && now - lastByteMs_ >= kEscTimeoutMs) decoder_.settle();
}

// Waits up to timeoutMs (-1: no limit) for a signal and, with `keys`, for
// input, and takes in everything that is waiting. Returns Bytes when bytes
// came, Quiet when the whole timeout passed without any, Woken otherwise (a
// signal, the end of the input).
int TerminalBackend::wait(int timeoutMs, bool keys) {
    if (signals::hungUp() && !inputEnded_) {
        endInput();  // the terminal is gone: no key can come any more
        if (keys) return Woken;
    }
    keys = keys && !inputEnded_;
    pollfd fds[2];
    nfds_t count = 0;
    if (keys) fds[count++] = {inputFd_, POLLIN, 0};
    const int wakeFd = signals::wakeFd();
    if (wakeFd >= 0) fds[count++] = {wakeFd, POLLIN, 0};
    const int ready = clock_.poll(fds, count, timeoutMs);
    if (ready == 0) return Quiet;
    if (ready < 0) {
        if (keys && errno != EINTR && errno != EAGAIN) endInput();
        sync();
        return Woken;
    }
    if (wakeFd >= 0 && fds[count - 1].revents != 0) {
        signals::drainWake();
        if (signals::hungUp()) {
            endInput();
            return Woken;
        }
        sync();
    }
    if (keys && fds[0].revents != 0 && readInput()) return Bytes;
    return Woken;
}

int TerminalBackend::waitForInput(int timeoutMs) {
    return wait(timeoutMs, true);
}

// Reads everything waiting on the input into the decoder; true when any
// byte came.
bool TerminalBackend::readInput() {
    bool got = false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(inputFd_, buffer, sizeof buffer);
        if (n > 0) {
            // Bytes that come kEscTimeoutMs or more after those held back
            // start afresh: what is held is settled first.
            const std::uint32_t now = clock_.milliseconds();
            settleIfQuiet(now);
            decoder_.feed(buffer, static_cast<std::size_t>(n));
            lastByteMs_ = now;
            got = true;
            pollfd more{inputFd_, POLLIN, 0};
            if (::poll(&more, 1, 0) <= 0) break;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            // End of file, or the terminal is gone: a raw terminal reads
            // nothing or EIO only once it has hung up.
            if (inputIsTerminal_) signals::noteHangUp();
            endInput();
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
    const Hold hold(*this);
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

// --- Output watcher -------------------------------------------------------------

void TerminalBackend::startWatcher() {
    const Hold hold(*this);
    if (watching_ || !openWakePipe(watcherWake_)) return;
    // The program's signals go to the program's threads, never to this one;
    // only a fault of its own is its own (and gives the terminal back).
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT})
        sigdelset(&all, fault);
    pthread_sigmask(SIG_SETMASK, &all, &before);
    watching_ = pthread_create(&watcher_, nullptr, runWatcher, this) == 0;
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (!watching_) return;
    watched = this;
    static const bool forkHandled = pthread_atfork(forkPrepare, forkParent, forkChild) == 0;
    (void)forkHandled;
}

void TerminalBackend::stopWatcher() {
    const Hold hold(*this);
    askWatcherToStop();
    // It ends by itself once it has the lock; nobody waits for it at exit.
    if (watching_) pthread_detach(watcher_);
    watching_ = false;
}

void TerminalBackend::askWatcherToStop() {
    const Hold hold(*this);
    stopWatching_ = true;
    notifyWatcher();
}

void TerminalBackend::notifyWatcher() {
    if (watcherWake_[1] >= 0) wakeUp(watcherWake_[1]);
}

void* TerminalBackend::runWatcher(void* self) {
    static_cast<TerminalBackend*>(self)->watch();
    return nullptr;
}

// Shows pending output once the program has made no call for kIdleFlushMs,
// while the terminal is the program's. Sleeps in between: until the program
// has been idle long enough, or with nothing pending until the next change.
void TerminalBackend::watch() {
    lock_.lock();
    while (!stopWatching_) {
        int timeoutMs = schedule_.sleepMs(schedule_.pending() && held_ && !outputBroken_,
                                          clock_.milliseconds());
        if (timeoutMs == 0) {
            if (session::beginFrame()) {
                render();
                session::endFrame();
                // The program's own write would have had these signals;
                // this thread takes none: they go to the process.
                if (outputBroken_ && writeError_ == EPIPE) ::kill(::getpid(), SIGPIPE);
                if (outputBroken_ && writeError_ == EFBIG) ::kill(::getpid(), SIGXFSZ);
                continue;
            }
            timeoutMs = FrameSchedule::kUntilChanged;
        }
        watcherAsleep_ = timeoutMs < 0;
        lock_.unlock();
        pollfd wake{watcherWake_[0], POLLIN, 0};
        ::poll(&wake, 1, timeoutMs);
        drainWakePipe(watcherWake_[0]);
        lock_.lock();
        watcherAsleep_ = false;
    }
    lock_.unlock();
}

// A fork while the watcher holds the lock must not leave the child with a
// lock nobody will release; the child has no watcher.
void TerminalBackend::forkPrepare() {
    if (watched != nullptr) watched->lock_.lock();
}

void TerminalBackend::forkParent() {
    if (watched != nullptr) watched->lock_.unlock();
}

void TerminalBackend::forkChild() {
    if (watched == nullptr) return;
    watched->lock_.init();
    watched->watching_ = false;
    watched->watcherAsleep_ = false;
    watched = nullptr;
}

}  // namespace orvask::platform::posix

namespace orvask::platform {

Backend& systemBackend() {
    // Made on first use and never destroyed: the exit-time sync and the
    // signal handlers may need it until the very end.
    static posix::TerminalBackend* const instance = [] {
        const char* term = std::getenv("TERM");
        auto* backend =
            new posix::TerminalBackend(STDIN_FILENO, STDOUT_FILENO, term != nullptr ? term : "");
        backend->startWatcher();
        return backend;
    }();
    return *instance;
}

}  // namespace orvask::platform
