#include "console_backend.h"

#include "console_handle.h"
#include "console_output.h"
#include "console_session.h"
#include "system_backend.h"

namespace orvask::platform::windows {

namespace {

COORD toCoord(Coord c) {
    return COORD{c.x, c.y};
}

Coord fromCoord(COORD c) {
    return Coord{c.X, c.Y};
}

void writeFile(HANDLE handle, const char* bytes, std::size_t count) {
    while (count > 0) {
        const DWORD piece = count > 0x10000 ? 0x10000 : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(handle, bytes, piece, &written, nullptr) || written == 0) return;
        bytes += written;
        count -= written;
    }
}

}  // namespace

ConsoleBackend::ConsoleBackend(HANDLE input, HANDLE output)
    : input_(input), output_(output), outputIsConsole_(isConsoleHandle(output)), keys_(input) {}

void ConsoleBackend::take() {
    session::takeOver(input_, output_);
}

bool ConsoleBackend::screenInfo(CONSOLE_SCREEN_BUFFER_INFO& info) const {
    return GetConsoleScreenBufferInfo(output_, &info) != 0;
}

// --- Output -------------------------------------------------------------------

void ConsoleBackend::setCursorPosition(Coord pos) {
    take();
    SetConsoleCursorPosition(output_, toCoord(pos));
}

Coord ConsoleBackend::cursorPosition() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    return screenInfo(info) ? fromCoord(info.dwCursorPosition) : Coord{};
}

void ConsoleBackend::setAttribute(std::uint8_t attribute) {
    take();
    SetConsoleTextAttribute(output_, attribute);
}

std::uint8_t ConsoleBackend::attribute() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    return screenInfo(info) ? static_cast<std::uint8_t>(info.wAttributes & 0xFF) : 0;
}

void ConsoleBackend::write(const char* bytes, std::size_t count) {
    take();
    if (outputIsConsole_) {
        writeToConsole(output_, bytes, count);
    } else {
        writeFile(output_, bytes, count);
    }
}

void ConsoleBackend::setCursorInfo(int size, bool visible) {
    take();
    const CONSOLE_CURSOR_INFO info{static_cast<DWORD>(size), visible ? TRUE : FALSE};
    SetConsoleCursorInfo(output_, &info);
}

void ConsoleBackend::setBufferSize(Coord size) {
    take();
    SetConsoleScreenBufferSize(output_, toCoord(size));
}

Coord ConsoleBackend::bufferSize() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    return screenInfo(info) ? fromCoord(info.dwSize) : Coord{};
}

void ConsoleBackend::setWindowRect(Coord topLeft, Coord bottomRight) {
    take();
    const SMALL_RECT window{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    SetConsoleWindowInfo(output_, TRUE, &window);
}

void ConsoleBackend::maximizeWindow() {
    take();
    if (HWND window = GetConsoleWindow()) ShowWindow(window, SW_MAXIMIZE);
}

void ConsoleBackend::setOutputMode(unsigned mode) {
    take();
    SetConsoleMode(output_, mode & ~static_cast<DWORD>(ENABLE_VIRTUAL_TERMINAL_PROCESSING));
}

int ConsoleBackend::inputCodePage() {
    return static_cast<int>(GetConsoleCP());
}

void ConsoleBackend::setInputCodePage(int codePage) {
    take();
    SetConsoleCP(static_cast<UINT>(codePage));
}

int ConsoleBackend::outputCodePage() {
    return static_cast<int>(GetConsoleOutputCP());
}

void ConsoleBackend::setOutputCodePage(int codePage) {
    take();
    SetConsoleOutputCP(static_cast<UINT>(codePage));
}

void ConsoleBackend::setTitle(const char* text) {
    take();
    SetConsoleTitleA(text != nullptr ? text : "");
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
    return GetTickCount();
}

void ConsoleBackend::sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

// --- Keyboard -----------------------------------------------------------------

int ConsoleBackend::readKey() {
    take();
    return keys_.read();
}

bool ConsoleBackend::keyWaiting() {
    take();
    return keys_.waiting();
}

bool ConsoleBackend::keyDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

// --- Notification and hand-back -----------------------------------------------

void ConsoleBackend::messageBox(const char* caption, const char* text) {
    MessageBoxA(nullptr, text != nullptr ? text : "", caption != nullptr ? caption : "",
                MB_ICONWARNING);
}

void ConsoleBackend::restoreConsole() {
    session::restore();
}

}  // namespace orvask::platform::windows

namespace orvask::platform {

Backend& systemBackend() {
    // Made on first use and never destroyed: the exit-time restore and the
    // control handler may run until the very end.
    static windows::ConsoleBackend* const instance = new windows::ConsoleBackend(
        GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE));
    return *instance;
}

}  // namespace orvask::platform
