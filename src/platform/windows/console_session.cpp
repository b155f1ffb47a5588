#include "console_session.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iterator>
#include <mutex>

#include "console_handle.h"

namespace orvask::platform::windows::session {

namespace {

// The input modes a raw key read must not have, and the one it adds: window
// size events. (Quick Edit goes off as well: rawInputMode.)
constexpr DWORD kCookedInput = ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT |
                               ENABLE_MOUSE_INPUT | ENABLE_VIRTUAL_TERMINAL_INPUT;
constexpr DWORD kRawInput = ENABLE_WINDOW_INPUT;

// How long the undo of a crash waits for the Lock before it goes ahead.
constexpr auto kUndoPatience = std::chrono::milliseconds(500);

struct Saved {
    HANDLE input = nullptr;
    HANDLE userScreen = INVALID_HANDLE_VALUE;  // the buffer that was active
    bool ownsUserScreen = false;               // opened for the take-over
    bool hasInputMode = false;
    DWORD inputMode = 0;
    UINT inputCodePage = 0;
    UINT outputCodePage = 0;
    bool hasTitle = false;
    WCHAR title[1024] = {};
    HWND window = nullptr;
    bool hasPlacement = false;
    WINDOWPLACEMENT placement{};
};

enum class State { Free, Held, Ended };

// Never destroyed: the control handler and the crash handlers may run while
// the process's statics are being torn down.
std::recursive_timed_mutex& mutex() {
    static auto* const instance = new std::recursive_timed_mutex;
    return *instance;
}

std::atomic<State> state{State::Free};
Saved saved;
HANDLE ownScreen = INVALID_HANDLE_VALUE;  // made once, kept for every take-over
bool undoRegistered = false;
void (*exitFlush)() = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter = nullptr;
void (*previousAbortHandler)(int) = SIG_DFL;
bool wine = false;  // found out when the undo is registered

// Wine's console does not redraw its terminal when a buffer comes back in
// front: the user's window is written back as it is, which changes nothing
// in the buffer and redraws it there. Memory from the system, not the C
// runtime's heap, which a crash may have left broken.
void redrawForWine(HANDLE screen) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!wine || !GetConsoleScreenBufferInfo(screen, &info)) return;
    SMALL_RECT window = info.srWindow;
    const COORD size{static_cast<SHORT>(window.Right - window.Left + 1),
                     static_cast<SHORT>(window.Bottom - window.Top + 1)};
    if (size.X <= 0 || size.Y <= 0) return;
    const SIZE_T bytes = sizeof(CHAR_INFO) * static_cast<SIZE_T>(size.X) * size.Y;
    auto* cells = static_cast<CHAR_INFO*>(
        VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (cells == nullptr) return;
    if (ReadConsoleOutputW(screen, cells, size, COORD{0, 0}, &window)) {
        window = info.srWindow;
        WriteConsoleOutputW(screen, cells, size, COORD{0, 0}, &window);
        SetConsoleCursorPosition(screen, info.dwCursorPosition);
    }
    VirtualFree(cells, 0, MEM_RELEASE);
}

void save(HANDLE input, HANDLE output) {
    saved = Saved{};
    saved.input = input;
    saved.hasInputMode = isConsoleHandle(input) && GetConsoleMode(input, &saved.inputMode) != 0;
    saved.inputCodePage = GetConsoleCP();
    saved.outputCodePage = GetConsoleOutputCP();
    // An empty title reads as 0 characters, like a failure, but leaves no
    // error behind: it is put back as empty.
    SetLastError(ERROR_SUCCESS);
    saved.hasTitle =
        GetConsoleTitleW(saved.title, static_cast<DWORD>(std::size(saved.title))) > 0 ||
        GetLastError() == ERROR_SUCCESS;
    if (isConsoleHandle(output)) {
        // The buffer in front, which need not be standard output's.
        saved.userScreen =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        saved.ownsUserScreen = saved.userScreen != INVALID_HANDLE_VALUE;
        if (!saved.ownsUserScreen) saved.userScreen = output;
    }
}

// Quick Edit can be turned off, and back on, only where the mode reports
// it, with the extended flags.
DWORD rawInputMode(DWORD mode) {
    DWORD raw = (mode & ~kCookedInput) | kRawInput;
    if ((mode & ENABLE_EXTENDED_FLAGS) != 0) raw &= ~static_cast<DWORD>(ENABLE_QUICK_EDIT_MODE);
    return raw;
}

void showOwnScreen() {
    if (saved.userScreen == INVALID_HANDLE_VALUE) return;
    if (ownScreen == INVALID_HANDLE_VALUE) {
        ownScreen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              CONSOLE_TEXTMODE_BUFFER, nullptr);
    }
    if (ownScreen != INVALID_HANDLE_VALUE && !SetConsoleActiveScreenBuffer(ownScreen)) {
        CloseHandle(ownScreen);
        ownScreen = INVALID_HANDLE_VALUE;
    }
}

void putBack() {
    if (ownScreen != INVALID_HANDLE_VALUE && saved.userScreen != INVALID_HANDLE_VALUE) {
        SetConsoleActiveScreenBuffer(saved.userScreen);
        redrawForWine(saved.userScreen);
    }
    if (saved.hasInputMode) SetConsoleMode(saved.input, saved.inputMode);
    if (saved.inputCodePage != 0) SetConsoleCP(saved.inputCodePage);
    if (saved.outputCodePage != 0) SetConsoleOutputCP(saved.outputCodePage);
    if (saved.hasTitle) SetConsoleTitleW(saved.title);
    if (saved.hasPlacement) SetWindowPlacement(saved.window, &saved.placement);
}

// Gives the console back for good. The program's thread may be stuck
// holding the Lock when it crashed, so the crash handlers wait for it only
// a little (on that thread itself they have it at once) before they go
// ahead; the others wait their turn. Once it is given back for good, no
// Lock is needed: an exit-time call after a control event then returns at
// once, even if the program's thread was ended holding the Lock.
void end(bool crashing) {
    if (state.load() == State::Ended) return;
    std::unique_lock<std::recursive_timed_mutex> lock(mutex(), std::defer_lock);
    if (crashing) {
        (void)lock.try_lock_for(kUndoPatience);
    } else {
        lock.lock();
    }
    if (state.load() == State::Held) putBack();
    state.store(State::Ended);
}

// The one exit-time step: the last frame, then the console given back.
void endAtExit() {
    if (exitFlush != nullptr && state.load() != State::Ended) exitFlush();
    end(false);
}

void registerExitOnce() {
    static bool registered = false;
    if (!registered) std::atexit(endAtExit);
    registered = true;
}

// Ctrl+C, Ctrl+Break, a closed window, log-off, shut-down: the console
// comes back, then the default handler ends the process.
BOOL WINAPI onControlEvent(DWORD) {
    end(false);
    return FALSE;
}

LONG WINAPI onCrash(EXCEPTION_POINTERS* exception) {
    end(true);
    return previousCrashFilter != nullptr ? previousCrashFilter(exception)
                                          : EXCEPTION_CONTINUE_SEARCH;
}

DWORD WINAPI endOnFreshStack(void*) {
    end(true);
    return 0;
}

// A stack overflow leaves too little stack for the console calls (and
// reaches no unhandled-exception filter under Wine): the console is given
// back from a thread of its own, at the first sight of the overflow.
LONG WINAPI onStackOverflow(EXCEPTION_POINTERS* exception) {
    if (exception->ExceptionRecord->ExceptionCode != EXCEPTION_STACK_OVERFLOW ||
        state.load() != State::Held) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    if (HANDLE helper = CreateThread(nullptr, 0, endOnFreshStack, nullptr, 0, nullptr)) {
        WaitForSingleObject(helper, 2000);
        CloseHandle(helper);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// abort(), and std::terminate through it: the console comes back, then the
// host's own handler runs, then abort() ends the process.
void onAbort(int signal) {
    end(true);
    if (previousAbortHandler != SIG_DFL && previousAbortHandler != SIG_IGN &&
        previousAbortHandler != SIG_ERR) {
        previousAbortHandler(signal);
    }
}

void registerUndo() {
    if (undoRegistered) return;
    undoRegistered = true;
    wine = underWine();
    registerExitOnce();
    SetConsoleCtrlHandler(onControlEvent, TRUE);
    previousCrashFilter = SetUnhandledExceptionFilter(onCrash);
    AddVectoredExceptionHandler(1, onStackOverflow);
    previousAbortHandler = std::signal(SIGABRT, onAbort);
}

}  // namespace

Lock::Lock() {
    mutex().lock();
}

Lock::~Lock() {
    mutex().unlock();
}

void takeOver(HANDLE input, HANDLE output) {
    if (state.load() != State::Free) return;
    save(input, output);
    registerUndo();
    if (saved.hasInputMode) SetConsoleMode(input, rawInputMode(saved.inputMode));
    showOwnScreen();
    state.store(State::Held);
}

bool held() {
    return state.load() == State::Held;
}

bool ending() {
    return state.load() == State::Ended;
}

HANDLE screen() {
    if (!held() || saved.userScreen == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
    // Without a buffer of its own (the console refused one), the program
    // draws on the user's.
    return ownScreen != INVALID_HANDLE_VALUE ? ownScreen : saved.userScreen;
}

void keepWindowPlacement() {
    if (!held() || saved.hasPlacement) return;
    saved.window = GetConsoleWindow();
    saved.placement.length = sizeof saved.placement;
    saved.hasPlacement =
        saved.window != nullptr && GetWindowPlacement(saved.window, &saved.placement) != 0;
}

void restore() {
    if (state.load() != State::Held) return;
    putBack();
    if (saved.ownsUserScreen) CloseHandle(saved.userScreen);
    state.store(State::Free);
}

void flushAtExit(void (*flush)()) {
    exitFlush = flush;
    registerExitOnce();
}

}  // namespace orvask::platform::windows::session
