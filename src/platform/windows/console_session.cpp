#include "console_session.h"

#include <cstdlib>
#include <iterator>
#include <mutex>

namespace orvask::platform::windows::session {

namespace {

// The input modes a raw key read must not have.
constexpr DWORD kCookedInput = ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT |
                               ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT |
                               ENABLE_VIRTUAL_TERMINAL_INPUT;

struct Saved {
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    bool hasInputMode = false;
    DWORD inputMode = 0;
    bool hasOutputMode = false;
    DWORD outputMode = 0;
    UINT inputCodePage = 0;
    UINT outputCodePage = 0;
    bool hasCursor = false;
    CONSOLE_CURSOR_INFO cursor{};
    bool hasAttribute = false;
    WORD attribute = 0;
    bool hasTitle = false;
    WCHAR title[1024] = {};
};

enum class State { Free, Taken, Closed };

// Never destroyed: the control handler and the crash filter may run while
// the process's statics are being torn down.
std::recursive_mutex& guard() {
    static auto* const mutex = new std::recursive_mutex;
    return *mutex;
}

State state = State::Free;
Saved saved;
bool undoRegistered = false;
LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter = nullptr;

void save(HANDLE input, HANDLE output) {
    saved = Saved{};
    saved.input = input;
    saved.output = output;
    saved.hasInputMode = GetConsoleMode(input, &saved.inputMode) != 0;
    saved.hasOutputMode = GetConsoleMode(output, &saved.outputMode) != 0;
    saved.inputCodePage = GetConsoleCP();
    saved.outputCodePage = GetConsoleOutputCP();
    saved.hasCursor = GetConsoleCursorInfo(output, &saved.cursor) != 0;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(output, &info)) {
        saved.hasAttribute = true;
        saved.attribute = info.wAttributes;
    }
    // An empty title reads as 0 characters, like a failure, but leaves no
    // error behind: it is put back as empty.
    SetLastError(ERROR_SUCCESS);
    saved.hasTitle =
        GetConsoleTitleW(saved.title, static_cast<DWORD>(std::size(saved.title))) > 0 ||
        GetLastError() == ERROR_SUCCESS;
}

void putBack() {
    if (saved.hasInputMode) SetConsoleMode(saved.input, saved.inputMode);
    if (saved.hasOutputMode) SetConsoleMode(saved.output, saved.outputMode);
    if (saved.inputCodePage != 0) SetConsoleCP(saved.inputCodePage);
    if (saved.outputCodePage != 0) SetConsoleOutputCP(saved.outputCodePage);
    if (saved.hasCursor) SetConsoleCursorInfo(saved.output, &saved.cursor);
    if (saved.hasAttribute) SetConsoleTextAttribute(saved.output, saved.attribute);
    if (saved.hasTitle) SetConsoleTitleW(saved.title);
}

// Restores and keeps the console free for the rest of the process.
void close() {
    std::lock_guard<std::recursive_mutex> lock(guard());
    if (state == State::Taken) putBack();
    state = State::Closed;
}

void restoreAtExit() {
    close();
}

// Ctrl+C, Ctrl+Break, a closed window, log-off, shut-down: the console
// comes back, then the default handler ends the process.
BOOL WINAPI onControlEvent(DWORD) {
    close();
    return FALSE;
}

LONG WINAPI onCrash(EXCEPTION_POINTERS* exception) {
    close();
    return previousCrashFilter != nullptr ? previousCrashFilter(exception)
                                          : EXCEPTION_CONTINUE_SEARCH;
}

void registerUndo() {
    if (undoRegistered) return;
    undoRegistered = true;
    std::atexit(restoreAtExit);
    SetConsoleCtrlHandler(onControlEvent, TRUE);
    previousCrashFilter = SetUnhandledExceptionFilter(onCrash);
}

}  // namespace

void takeOver(HANDLE input, HANDLE output) {
    std::lock_guard<std::recursive_mutex> lock(guard());
    if (state != State::Free) return;
    save(input, output);
    registerUndo();
    if (saved.hasInputMode) SetConsoleMode(input, saved.inputMode & ~kCookedInput);
    state = State::Taken;
}

bool active() {
    std::lock_guard<std::recursive_mutex> lock(guard());
    return state == State::Taken;
}

void restore() {
    std::lock_guard<std::recursive_mutex> lock(guard());
    if (state != State::Taken) return;
    putBack();
    state = State::Free;
}

}  // namespace orvask::platform::windows::session
