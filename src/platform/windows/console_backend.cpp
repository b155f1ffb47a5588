#include "console_backend.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <system_error>

#include "console_handle.h"
#include "console_session.h"
#include "size_notice.h"
#include "system_backend.h"

namespace orvask::platform::windows {

namespace {

void writeFile(HANDLE handle, const char* bytes, std::size_t count) {
    while (count > 0) {
        const DWORD piece = count > 0x10000 ? 0x10000 : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(handle, bytes, piece, &written, nullptr) || written == 0) return;
        bytes += written;
        count -= written;
    }
}

Coord sizeOf(const SMALL_RECT& rect) {
    return {static_cast<std::int16_t>(rect.Right - rect.Left + 1),
            static_cast<std::int16_t>(rect.Bottom - rect.Top + 1)};
}

// The title's bytes as the console shows them under the code page.
std::wstring titleText(const std::string& title, int codePage) {
    if (title.empty()) return {};
    const int length = MultiByteToWideChar(static_cast<UINT>(codePage), 0, title.data(),
                                           static_cast<int>(title.size()), nullptr, 0);
    if (length <= 0) return std::wstring(title.begin(), title.end());
    std::wstring text(static_cast<std::size_t>(length), L' ');
    MultiByteToWideChar(static_cast<UINT>(codePage), 0, title.data(),
                        static_cast<int>(title.size()), text.data(), length);
    return text;
}

}  // namespace

ConsoleBackend::ConsoleBackend(HANDLE input, HANDLE output, std::string_view term,
                               Milliseconds clock)
    : input_(input),
      output_(output),
      outputIsConsole_(isConsoleHandle(output)),
      milliseconds_(clock),
      keys_(input, term),
      keyboardKnown_(keys_.isConsole() && !underWine()),
      schedule_(clock()),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    // The model starts with the console's code pages, which getcp() reports.
    if (const UINT codePage = GetConsoleCP()) model_.inputCodePage = static_cast<int>(codePage);
    if (const UINT codePage = GetConsoleOutputCP())
        model_.outputCodePage = static_cast<int>(codePage);
    keys_.setCodePage(model_.inputCodePage);
}

ConsoleBackend::~ConsoleBackend() {
    stopWatcher();
    CloseHandle(wake_);
    if (programThread_ != nullptr) CloseHandle(programThread_);
}

void ConsoleBackend::enter() {
    lock_.lock();
    schedule_.callBegins();
}

void ConsoleBackend::leave() {
    schedule_.callEnds(milliseconds_);
    lock_.unlock();
}

// --- Output -------------------------------------------------------------------

void ConsoleBackend::changed() {
    if (schedule_.changed(milliseconds_) && watcherAsleep_) SetEvent(wake_);
}

void ConsoleBackend::write(const char* bytes, std::size_t count) {
    const Hold hold(*this);
    ModelBackend::write(bytes, count);
    if (!outputIsConsole_) passThrough_.append(bytes, count);
    if (schedule_.wrote(count, milliseconds_)) sync();
}

void ConsoleBackend::setWindowRect(Coord topLeft, Coord bottomRight) {
    const Hold hold(*this);
    ModelBackend::setWindowRect(topLeft, bottomRight);
    changed();
}

void ConsoleBackend::maximizeWindow() {
    const Hold hold(*this);
    ModelBackend::maximizeWindow();
    ++maximizeRequests_;
    changed();
}

void ConsoleBackend::setOutputMode(unsigned mode) {
    const Hold hold(*this);
    ModelBackend::setOutputMode(mode);
    outputModeSet_ = true;
    changed();
}

void ConsoleBackend::setInputCodePage(int codePage) {
    const Hold hold(*this);
    ModelBackend::setInputCodePage(codePage);
    keys_.setCodePage(codePage);
    changed();
}

void ConsoleBackend::setTitle(const char* text) {
    const Hold hold(*this);
    ModelBackend::setTitle(text);
    titleSet_ = true;
}

void ConsoleBackend::sync() {
    const Hold hold(*this);
    frame();
}

// A sync, with the backend's lock held (by the program's call or by the
// watcher).
void ConsoleBackend::frame() {
    session::Lock lock;
    if (session::ending()) {
        // The console is the user's again for good: nothing more is drawn.
        passThrough_.clear();
        schedule_.shown();
        return;
    }
    if (!session::held()) take();
    flushPassThrough();
    if (!schedule_.pending()) return;
    schedule_.shown();
    sendToTap();
    applySettings();
    if (screen_ == INVALID_HANDLE_VALUE) return;
    applyGeometry();
    paint();
}

void ConsoleBackend::take() {
    session::takeOver(input_, output_);
    screen_ = session::screen();
    applied_ = Applied{};
    painter_.invalidate();
    if (tapRenderer_) tapRenderer_->invalidate();
    geometryStale_ = true;
    schedule_.changed(milliseconds_);  // the whole screen is to be painted
    givenBack_ = false;
}

void ConsoleBackend::syncAtExit() {
    // After a control event the program's thread may have been ended in a
    // call, holding the backend's lock: nothing is drawn any more anyway.
    if (session::ending()) return;
    // Another thread may end the process while the program's waits for a
    // key inside a call: that call is waited for only briefly.
    std::unique_lock<std::recursive_timed_mutex> lock(lock_, std::defer_lock);
    if (!lock.try_lock_for(std::chrono::milliseconds(kExitPatienceMs))) return;
    if (session::held()) {
        frame();
    } else {
        flushPassThrough();
    }
    askWatcherToStop();
    // It ends by itself once it has the lock; nobody waits for it at exit.
    if (watcher_.joinable()) watcher_.detach();
}

// The frame as a terminal's bytes, for the recording: the model as it is,
// on a terminal of its own size.
void ConsoleBackend::sendToTap() {
    if (tap_ == nullptr) return;
    tapBytes_.clear();
    tapRenderer_->render(model_, {0, 0}, tapBytes_);
    if (!tapBytes_.empty()) tap_->sent(tapBytes_);
}

void ConsoleBackend::tapOutput(OutputTap* tap) {
    const Hold hold(*this);
    tap_ = tap;
    if (tap == nullptr) {
        tapRenderer_.reset();
        return;
    }
    // A new tap starts from the whole screen.
    tapRenderer_.emplace();
    changed();
}

void ConsoleBackend::flushPassThrough() {
    if (passThrough_.empty()) return;
    writeFile(output_, passThrough_.data(), passThrough_.size());
    passThrough_.clear();
}

// Console-wide settings, which the user's console gets back at the end.
void ConsoleBackend::applySettings() {
    if (applied_.inputCodePage != model_.inputCodePage) {
        SetConsoleCP(static_cast<UINT>(model_.inputCodePage));
        counted();
        applied_.inputCodePage = model_.inputCodePage;
    }
    if (applied_.outputCodePage != model_.outputCodePage) {
        SetConsoleOutputCP(static_cast<UINT>(model_.outputCodePage));
        counted();
        applied_.outputCodePage = model_.outputCodePage;
    }
    if (titleSet_ && applied_.title != model_.title) {
        SetConsoleTitleW(titleText(model_.title, model_.outputCodePage).c_str());
        counted();
        applied_.title = model_.title;
    }
}

// The buffer's size and window, as the program asked for them. The window
// may never be larger than the buffer, so it shrinks first.
void ConsoleBackend::applyGeometry() {
    if (outputModeSet_ && applied_.outputMode != model_.outputMode) {
        // Virtual-terminal processing stays off: cells are written whole.
        SetConsoleMode(screen_,
                       model_.outputMode & ~static_cast<DWORD>(ENABLE_VIRTUAL_TERMINAL_PROCESSING));
        counted();
        applied_.outputMode = model_.outputMode;
    }
    const Coord size = model_.size();
    const SMALL_RECT window{
        std::max<SHORT>(model_.windowTopLeft.x, 0), std::max<SHORT>(model_.windowTopLeft.y, 0),
        std::min<SHORT>(model_.windowBottomRight.x, static_cast<SHORT>(size.x - 1)),
        std::min<SHORT>(model_.windowBottomRight.y, static_cast<SHORT>(size.y - 1))};
    const std::pair<Coord, Coord> corners{{window.Left, window.Top}, {window.Right, window.Bottom}};
    if (applied_.bufferSize != size || applied_.window != corners ||
        applied_.maximized != maximizeRequests_) {
        if (geometryStale_) readGeometry();
        const Coord shown = sizeOf(window_);
        if (shown.x > size.x || shown.y > size.y) {
            const SMALL_RECT smaller{0, 0, static_cast<SHORT>(std::min(shown.x, size.x) - 1),
                                     static_cast<SHORT>(std::min(shown.y, size.y) - 1)};
            SetConsoleWindowInfo(screen_, TRUE, &smaller);
            counted();
        }
        SetConsoleScreenBufferSize(screen_, COORD{size.x, size.y});
        SetConsoleWindowInfo(screen_, TRUE, &window);
        calls_ += 2;
        if (applied_.maximized != maximizeRequests_) {
            session::keepWindowPlacement();
            if (HWND console = GetConsoleWindow()) ShowWindow(console, SW_MAXIMIZE);
            counted();
        }
        applied_.bufferSize = size;
        applied_.window = corners;
        applied_.maximized = maximizeRequests_;
        geometryStale_ = true;
    }
    if (geometryStale_) readGeometry();
}

void ConsoleBackend::readGeometry() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    counted();
    if (GetConsoleScreenBufferInfo(screen_, &info)) {
        bufferSize_ = {info.dwSize.X, info.dwSize.Y};
        window_ = info.srWindow;
    } else {
        bufferSize_ = model_.size();
        window_ = SMALL_RECT{0, 0, static_cast<SHORT>(model_.width() - 1),
                             static_cast<SHORT>(model_.height() - 1)};
    }
    geometryStale_ = false;
    painter_.invalidate();  // a buffer of another size keeps only part of its cells
}

void ConsoleBackend::paint() {
    const Coord shown = sizeOf(window_);
    const bool fits = shown.x >= model_.width() && shown.y >= model_.height();
    std::optional<ConsoleModel> adjusted;
    if (!fits) {
        adjusted = noticeFrame();
    } else if (bufferSize_ != model_.size()) {
        // A buffer larger than the screen (a terminal that keeps its own
        // size): the screen at its top-left corner, the rest blank.
        adjusted = model_;
        adjusted->resize(bufferSize_);
    }
    SMALL_RECT region{};
    if (painter_.paint(adjusted ? *adjusted : model_, cells_, region)) {
        const Coord size = sizeOf(region);
        WriteConsoleOutputW(screen_, cells_.data(), COORD{size.x, size.y}, COORD{0, 0}, &region);
        counted();
    }
    paintCursor(fits);
}

// The buffer as it stands, blank, with the notice centred in its window.
ConsoleModel ConsoleBackend::noticeFrame() const {
    ConsoleModel frame(bufferSize_);
    const Coord shown = sizeOf(window_);
    for (const NoticeLine& line : sizeNotice(model_.size(), shown)) {
        frame.setCursor({static_cast<std::int16_t>(window_.Left + line.x),
                         static_cast<std::int16_t>(window_.Top + line.y)});
        frame.write(line.text.data(), line.text.size());
    }
    return frame;
}

void ConsoleBackend::paintCursor(bool shown) {
    const bool visible = shown && model_.cursorVisible;
    if (visible && applied_.cursor != model_.cursor()) {
        SetConsoleCursorPosition(screen_, COORD{model_.cursor().x, model_.cursor().y});
        counted();
        applied_.cursor = model_.cursor();
    }
    if (applied_.cursorVisible != visible ||
        (visible && applied_.cursorSize != model_.cursorSize)) {
        const CONSOLE_CURSOR_INFO info{static_cast<DWORD>(model_.cursorSize),
                                       visible ? TRUE : FALSE};
        SetConsoleCursorInfo(screen_, &info);
        counted();
        applied_.cursorVisible = visible;
        applied_.cursorSize = model_.cursorSize;
    }
}

// --- Clocks -------------------------------------------------------------------

bool ConsoleBackend::performanceFrequency(std::int64_t& countsPerSecond) {
    LARGE_INTEGER frequency{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return false;
    countsPerSecond = frequency.QuadPart;
    return true;
}

std::int64_t ConsoleBackend::performanceCounter() {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

std::uint32_t ConsoleBackend::tickCount() {
    return milliseconds_();
}

void ConsoleBackend::sleep(std::uint32_t milliseconds) {
    const Hold hold(*this);
    sync();
    const Unlocked waiting(*this);
    Sleep(milliseconds);
}

// --- Keyboard -----------------------------------------------------------------

int ConsoleBackend::readKey() {
    const Hold hold(*this);
    sync();
    while (!keys_.ready()) {
        if (keys_.ended()) return kEndOfInput;
        {
            const Unlocked waiting(*this);
            keys_.fetch(true);
        }
        noticeResize();
    }
    return takeKey();
}

bool ConsoleBackend::keyWaiting() {
    const Hold hold(*this);
    if (keys_.ready()) return true;
    if (keys_.ended()) return false;
    sync();
    keys_.fetch(false);
    noticeResize();
    return keys_.ready();
}

bool ConsoleBackend::keyDown(int virtualKey) {
    const Hold hold(*this);
    if ((GetAsyncKeyState(virtualKey) & 0x8000) != 0) return true;
    return !keyboardKnown_ && virtualKey == vk::Menu && altHeld_ &&
           milliseconds_() - altSinceMs_ < keys::kAltHoldMs;
}

int ConsoleBackend::takeKey() {
    KeyEvent key{};
    keys_.next(key);
    altHeld_ = key.alt;
    altSinceMs_ = milliseconds_();
    return key.code;
}

// A new window size shows at once: the screen, or the notice that the
// window is too small for it.
void ConsoleBackend::noticeResize() {
    if (!keys_.takeResize()) return;
    geometryStale_ = true;
    changed();
    sync();
}

// --- Notification and hand-back -----------------------------------------------

void ConsoleBackend::messageBox(const char* caption, const char* text) {
    const Hold hold(*this);
    sync();
    const Unlocked waiting(*this);
    MessageBoxA(nullptr, text != nullptr ? text : "", caption != nullptr ? caption : "",
                MB_ICONWARNING);
}

void ConsoleBackend::restoreConsole() {
    const Hold hold(*this);
    if (!session::held()) return;
    sync();
    session::Lock lock;
    session::restore();
    screen_ = INVALID_HANDLE_VALUE;
    givenBack_ = true;
}

// --- Output watcher -------------------------------------------------------------

void ConsoleBackend::startWatcher() {
    const Hold hold(*this);
    if (watcher_.joinable() || wake_ == nullptr) return;
    // The thread that starts it is the program's: the watcher ends with it,
    // so that it never keeps a process alive whose program is gone (Wine
    // ends only the thread that overflowed its stack).
    if (programThread_ == nullptr &&
        !DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(),
                         &programThread_, SYNCHRONIZE, FALSE, 0)) {
        programThread_ = nullptr;
        return;
    }
    stopWatching_ = false;
    try {
        watcher_ = std::thread([this] { watch(); });
    } catch (const std::system_error&) {
        // No thread: output shows at the sync points only.
    }
}

void ConsoleBackend::stopWatcher() {
    askWatcherToStop();
    if (watcher_.joinable()) watcher_.join();
}

void ConsoleBackend::askWatcherToStop() {
    const std::lock_guard<std::recursive_timed_mutex> lock(lock_);
    stopWatching_ = true;
    if (wake_ != nullptr) SetEvent(wake_);
}

bool ConsoleBackend::programEnded() const {
    return WaitForSingleObject(programThread_, 0) == WAIT_OBJECT_0;
}

// Shows pending output once the program has made no call for
// FrameSchedule::kIdleFlushMs, unless the program gave the console back. Sleeps
// in between, without the lock: until the program has been idle long
// enough, or with nothing pending until the next change. The program's
// thread lets the lock go while it waits, so the watcher waits for it only
// while it runs, and checks meanwhile whether it has ended.
void ConsoleBackend::watch() {
    for (;;) {
        while (!lock_.try_lock_for(std::chrono::milliseconds(kLockPatienceMs))) {
            if (programEnded()) return;
        }
        watcherAsleep_ = false;
        if (stopWatching_) {
            lock_.unlock();
            return;
        }
        const int sleepMs = schedule_.sleepMs(schedule_.pending() && !givenBack_, milliseconds_());
        if (sleepMs == 0) {
            frame();
            lock_.unlock();
            continue;
        }
        watcherAsleep_ = sleepMs < 0;
        lock_.unlock();
        const HANDLE waits[] = {wake_, programThread_};
        const DWORD woken = WaitForMultipleObjects(
            2, waits, FALSE, sleepMs < 0 ? INFINITE : static_cast<DWORD>(sleepMs));
        if (woken == WAIT_OBJECT_0 + 1 || woken == WAIT_FAILED) return;
    }
}

}  // namespace orvask::platform::windows

namespace orvask::platform {

Backend& systemBackend() {
    // Made on first use and never destroyed: the exit-time restore and the
    // control handler may run until the very end.
    static windows::ConsoleBackend* const instance = [] {
        const char* term = std::getenv("TERM");
        auto* backend = new windows::ConsoleBackend(GetStdHandle(STD_INPUT_HANDLE),
                                                    GetStdHandle(STD_OUTPUT_HANDLE),
                                                    term != nullptr ? term : "");
        windows::session::flushAtExit([] { instance->syncAtExit(); });
        backend->startWatcher();
        return backend;
    }();
    return *instance;
}

}  // namespace orvask::platform
