// The Windows backend's output watcher, with the output a pipe (written as it
// is) and a clock that moves only when told to.

#include "windows/console_backend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace orvask::platform::windows {
namespace {

std::atomic<std::uint32_t> now{5000};  // read by the watcher too
std::uint32_t manualClock() {
    return now.load();
}

class Pipe {
  public:
    Pipe() { EXPECT_TRUE(CreatePipe(&reader_, &writer_, nullptr, 0)); }
    ~Pipe() {
        CloseHandle(reader_);
        CloseHandle(writer_);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    HANDLE reader() const { return reader_; }
    HANDLE writer() const { return writer_; }
    // Everything written so far, without waiting.
    std::string drain() {
        std::string out;
        DWORD waiting = 0;
        while (PeekNamedPipe(reader_, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
            std::string piece(waiting, '\0');
            DWORD read = 0;
            if (!ReadFile(reader_, piece.data(), waiting, &read, nullptr)) break;
            out.append(piece, 0, read);
        }
        return out;
    }
    // What is written within about five seconds, until `text` is among it.
    std::string waitFor(const std::string& text) {
        std::string out;
        for (int i = 0; i < 500 && out.find(text) == std::string::npos; ++i) {
            Sleep(10);
            out += drain();
        }
        return out;
    }

  private:
    HANDLE reader_ = nullptr;
    HANDLE writer_ = nullptr;
};

// Output shows once the program has made no call for a frame's time, without
// a sync point; not while it may still be drawing, and not after the program
// gave the console back.
TEST(ConsoleBackendWatcher, ShowsOutputOnceTheProgramIsIdleUntilTheConsoleIsGivenBack) {
    Pipe keys;
    Pipe screen;
    ConsoleBackend backend(keys.reader(), screen.writer(), {}, manualClock);
    backend.startWatcher();
    backend.write("Working...", 10);
    Sleep(100);
    EXPECT_EQ(screen.drain(), "");
    now += FrameSchedule::kIdleFlushMs;
    const std::string shown = screen.waitFor("Working...");
    EXPECT_EQ(shown, "Working...");

    backend.restoreConsole();
    backend.write("Later", 5);
    now += FrameSchedule::kIdleFlushMs;
    Sleep(100);
    EXPECT_EQ(screen.drain(), "");
    backend.stopWatcher();
}

}  // namespace
}  // namespace orvask::platform::windows
