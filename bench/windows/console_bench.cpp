// What a key of avl-demo costs the Windows console, the way the backend
// worked before (every operation straight to the console) and ours (whole
// frames by difference), side by side in one run, on the path the program
// really takes: avl::runDemo with its keys from a pipe, drawing on this
// console. The figure that carries over from Wine to Windows is the count
// of console calls per key; the times are Wine's.
//
// Run it in a console of at least 80 x 25 (under Wine, in such a terminal:
// cmake/wine-run build/windows/bench/windows_console_bench.exe):
//
//   windows_console_bench [REPEATS [KEYS_BEFORE]]
//
// Each repetition (3) runs every contender once, interleaved: KEYS_BEFORE
// (20) keys that change nothing through the backend of before (seconds each
// under Wine), 300 through ours, and the same 15 insertions through both.
// Per key: the console calls and the time from the read that returned the
// key to its frame shown. The goal checked: 300 keys that change nothing
// take under 3 s more than no keys at all, whole runs compared.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/demo.h"
#include "windows/console_backend.h"

namespace {

using orvask::platform::Coord;
using orvask::platform::windows::ConsoleBackend;

// The backend as it was: every operation a console call at once, every
// read of the cursor or the attribute a query of the console.
class DirectConsole : public ConsoleBackend {
  public:
    using ConsoleBackend::ConsoleBackend;

    void setCursorPosition(Coord pos) override {
        SetConsoleCursorPosition(out(), COORD{pos.x, pos.y});
        counted();
    }
    Coord cursorPosition() override {
        const CONSOLE_SCREEN_BUFFER_INFO i = info();
        return {i.dwCursorPosition.X, i.dwCursorPosition.Y};
    }
    void setAttribute(std::uint8_t attribute) override {
        SetConsoleTextAttribute(out(), attribute);
        counted();
    }
    std::uint8_t attribute() override { return static_cast<std::uint8_t>(info().wAttributes); }
    void write(const char* bytes, std::size_t count) override {
        DWORD written = 0;
        WriteConsoleA(out(), bytes, static_cast<DWORD>(count), &written, nullptr);
        counted();
    }
    void setCursorInfo(int size, bool visible) override {
        const CONSOLE_CURSOR_INFO cursor{static_cast<DWORD>(size), visible ? TRUE : FALSE};
        SetConsoleCursorInfo(out(), &cursor);
        counted();
    }
    void setBufferSize(Coord size) override {
        SetConsoleScreenBufferSize(out(), COORD{size.x, size.y});
        counted();
    }
    Coord bufferSize() override {
        const CONSOLE_SCREEN_BUFFER_INFO i = info();
        return {i.dwSize.X, i.dwSize.Y};
    }
    void setWindowRect(Coord topLeft, Coord bottomRight) override {
        const SMALL_RECT window{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        SetConsoleWindowInfo(out(), TRUE, &window);
        counted();
    }
    void maximizeWindow() override {
        if (HWND window = GetConsoleWindow()) ShowWindow(window, SW_MAXIMIZE);
        counted();
    }
    void setOutputMode(unsigned mode) override {
        SetConsoleMode(out(), mode & ~static_cast<DWORD>(ENABLE_VIRTUAL_TERMINAL_PROCESSING));
        counted();
    }
    void setOutputCodePage(int codePage) override {
        SetConsoleOutputCP(static_cast<UINT>(codePage));
        counted();
    }
    void setTitle(const char* text) override {
        SetConsoleTitleA(text);
        counted();
    }

  private:
    HANDLE out() {
        if (screen() == INVALID_HANDLE_VALUE) sync();  // takes the console
        return screen();
    }
    CONSOLE_SCREEN_BUFFER_INFO info() {
        CONSOLE_SCREEN_BUFFER_INFO i{};
        GetConsoleScreenBufferInfo(out(), &i);
        counted();
        return i;
    }
};

double now() {
    LARGE_INTEGER frequency{}, count{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A contender with the work of each key of the main loop measured: from the
// read that returned it to the next read, its frame shown (the sync at the
// next read) included.
template <class Console>
class Measured final : public Console {
  public:
    using Console::Console;

    int readKey() override {
        this->sync();
        if (reads_ >= 2) {  // the loading screen's key, then the loop's keys
            seconds += now() - returnedAt_;
            calls += static_cast<double>(this->consoleCalls() - callsAtReturn_);
            ++keys;
        }
        const int key = Console::readKey();
        ++reads_;
        returnedAt_ = now();
        callsAtReturn_ = this->consoleCalls();
        return key;
    }

    double seconds = 0;
    double calls = 0;
    int keys = 0;

  private:
    int reads_ = 0;
    double returnedAt_ = 0;
    std::uint64_t callsAtReturn_ = 0;
};

struct Run {
    double seconds = 0;     // the whole run
    double keySeconds = 0;  // per key of the main loop
    double keyCalls = 0;
};

// One run of the demo: `typed` keys first (without the animations), then
// `piped` from a pipe after the loading screen's key; the end of the pipe
// ends it.
template <class Console>
Run runDemo(const std::string& typed, const std::string& piped) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) std::exit(2);
    const std::string keys = "x" + piped;
    DWORD written = 0;
    WriteFile(writeEnd, keys.data(), static_cast<DWORD>(keys.size()), &written, nullptr);
    CloseHandle(writeEnd);
    Measured<Console> console(readEnd, GetStdHandle(STD_OUTPUT_HANDLE));
    avl::DemoOptions options;
    options.keys = typed;
    const double start = now();
    {
        orvask::platform::BackendScope installed(console);
        avl::runDemo(options);
    }
    Run run;
    run.seconds = now() - start;
    CloseHandle(readEnd);
    if (console.keys > 0) {
        run.keySeconds = console.seconds / console.keys;
        run.keyCalls = console.calls / console.keys;
    }
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    std::vector<double> calls, ms;
    void add(const Run& run) {
        calls.push_back(run.keyCalls);
        ms.push_back(run.keySeconds * 1000);
    }
};

// Insertions that rotate nothing (a balanced tree, level by level), so no
// animation waits; a key already in the tree changes nothing.
const std::string kInsertions = "hdlbfjnacegikmo";

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int before = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    constexpr int kOurs = 300;
    Figures sameBefore, sameOurs, insertBefore, insertOurs;
    std::vector<double> extra;
    for (int r = 0; r < repeats; ++r) {
        sameBefore.add(runDemo<DirectConsole>("a", std::string(before, 'a')));
        const Run many = runDemo<ConsoleBackend>("a", std::string(kOurs, 'a'));
        const Run none = runDemo<ConsoleBackend>("a", "");
        sameOurs.add(many);
        extra.push_back(many.seconds - none.seconds);
        insertBefore.add(runDemo<DirectConsole>("", kInsertions));
        insertOurs.add(runDemo<ConsoleBackend>("", kInsertions));
    }
    const auto row = [](const char* what, const Figures& b, const Figures& o) {
        std::printf("%-32s %8.1f %8.1f %10.3f %9.3f\n", what, median(b.calls), median(o.calls),
                    median(b.ms), median(o.ms));
    };
    std::printf("avl-demo with its keys from a pipe, on this console (medians of %d runs)\n",
                repeats);
    std::printf("%-32s %17s %20s\n", "per key", "console calls", "ms");
    std::printf("%-32s %8s %8s %10s %9s\n", "", "before", "ours", "before", "ours");
    row("a key that changes nothing", sameBefore, sameOurs);
    row("an insertion without rotation", insertBefore, insertOurs);
    const double more = median(extra);
    std::printf("%s %d keys that change nothing: %.2f s more than none (goal: under 3 s)\n",
                more < 3.0 ? "met:" : "NOT MET:", kOurs, more);
    return more < 3.0 ? 0 : 1;
}
