#pragma once
// The Windows backend: a console model shown in a screen buffer of the
// program's own, keys from the console's input events.
//
// Whole frames, as on a terminal: output goes into the model at once and
// reaches the console by difference only at the sync points (reading a key,
// testing for a key, sleeping, a message box, giving the console back,
// exit), so the console never shows a frame half drawn. A sync writes the changed
// cells as one rectangle with one WriteConsoleOutputW call, and touches the
// cursor, the title, the code pages and the buffer's size only when they
// changed: a key that changes nothing makes no call that changes the
// console. A program that writes for long without reaching a sync point is
// shown anyway (ModelBackend::kSyncIntervalMs, kLargeOutput). With the
// output watcher started (the system's backend starts it), what a program
// drew before it went off to work without calling the backend is shown once
// it has made no call for FrameSchedule::kIdleFlushMs: a thread that sleeps
// until then (on an event, never spinning) and draws under the backend's
// lock and the console's (console_session.h), as every sync does. It takes
// the console over when the program has not yet, never after the program
// gave it back, draws nothing once the process is ending, and ends with the
// thread that started it.
//
// A recording (tapOutput) receives each frame as the terminal bytes that
// show it, made by the terminal renderer (terminal/renderer.h) from the same
// model, while a tap is set.
//
// The console: the first sync takes it over (console_session.h): the
// program draws on a screen buffer of its own, sized as the program asks,
// and the user's buffer comes back untouched at the end. While the console
// window is smaller than the program's screen, the buffer shows the same
// notice as a terminal that is too small.
//
// When standard output is no console (a file, a pipe), the bytes written go
// there as they are, a frame at a time. When standard input is no console,
// keys are read from its bytes (key_input.h).
//
// Alt: keyDown() reads the keyboard. Where its state says nothing about the
// keys read (keys from a pipe, or Wine's console, which reports no key held),
// a key that came with Alt keeps Alt reading as held, as on a terminal
// (keys::kAltHoldMs).

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "frame_schedule.h"
#include "key_input.h"
#include "orvask/platform/model_backend.h"
#include "screen_painter.h"
#include "terminal/renderer.h"

namespace orvask::platform::windows {

class ConsoleBackend : public ModelBackend {
  public:
    // The clock of every wait and time stamp, in milliseconds.
    using Milliseconds = std::uint32_t (*)();
    static std::uint32_t tickClock() { return GetTickCount(); }

    // `term` is the terminal type whose key sequences a byte stream on
    // `input` is read with.
    ConsoleBackend(HANDLE input, HANDLE output, std::string_view term = {},
                   Milliseconds clock = tickClock);
    ~ConsoleBackend() override;
    ConsoleBackend(const ConsoleBackend&) = delete;
    ConsoleBackend& operator=(const ConsoleBackend&) = delete;

    // --- Output: into the model, shown at the next sync -----------------------
    void write(const char* bytes, std::size_t count) override;
    void setWindowRect(Coord topLeft, Coord bottomRight) override;
    void maximizeWindow() override;
    void setOutputMode(unsigned mode) override;
    void setInputCodePage(int codePage) override;
    void setTitle(const char* text) override;

    // --- Clocks ---------------------------------------------------------------
    bool performanceFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t performanceCounter() override;
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;

    // --- Keyboard -------------------------------------------------------------
    int readKey() override;
    bool keyWaiting() override;
    bool keyDown(int virtualKey) override;
    bool inputEnded() override {
        const Hold hold(*this);
        return keys_.ended();
    }

    // --- Notification and hand-back -------------------------------------------
    // MessageBoxA, with the warning icon and an OK button.
    void messageBox(const char* caption, const char* text) override;
    void restoreConsole() override;
    void tapOutput(OutputTap* tap) override;

    // Brings the console up to date with the model now (a sync point).
    void sync();
    // The sync at exit: the last frame, while the console is the program's,
    // and what went to a file or a pipe; then the watcher is let go. Nothing
    // once the console was given back for good.
    void syncAtExit();

    // Starts the output watcher (see above); does nothing when it runs.
    void startWatcher();
    // Stops it and waits for it to end; not from within a call of the
    // backend.
    void stopWatcher();

    // The calls that changed the console so far: what its frames cost.
    std::uint64_t consoleCalls() const { return calls_; }

  protected:
    // The screen buffer the program draws on while the console is held;
    // INVALID_HANDLE_VALUE when there is none (output is no console).
    HANDLE screen() const { return screen_; }
    // Counts one call that changes the console.
    void counted() { ++calls_; }

  private:
    // What the console has been given since the take-over; empty: unknown.
    struct Applied {
        std::optional<std::string> title;
        std::optional<int> inputCodePage;
        std::optional<int> outputCodePage;
        std::optional<unsigned> outputMode;
        std::optional<Coord> bufferSize;
        std::optional<std::pair<Coord, Coord>> window;  // top left, bottom right
        int maximized = 0;
        std::optional<Coord> cursor;
        std::optional<int> cursorSize;
        std::optional<bool> cursorVisible;
    };

    void changed() override;
    void enter() override;
    void leave() override;
    void frame();
    void sendToTap();
    void watch();
    void askWatcherToStop();
    bool programEnded() const;

    // Lets the backend's lock go while the program's thread waits (for a
    // key, in a sleep, on a message box), having synced: the watcher is
    // never held up by a wait. The program's calls never nest there.
    class Unlocked {
      public:
        explicit Unlocked(ConsoleBackend& backend) : lock_(backend.lock_) { lock_.unlock(); }
        ~Unlocked() { lock_.lock(); }
        Unlocked(const Unlocked&) = delete;
        Unlocked& operator=(const Unlocked&) = delete;

      private:
        std::recursive_timed_mutex& lock_;
    };
    void take();
    void applySettings();
    void applyGeometry();
    void readGeometry();
    void paint();
    ConsoleModel noticeFrame() const;
    void paintCursor(bool shown);
    void flushPassThrough();
    int takeKey();
    void noticeResize();

    HANDLE input_;
    HANDLE output_;
    bool outputIsConsole_;
    Milliseconds milliseconds_;
    KeyInput keys_;
    ScreenPainter painter_;
    HANDLE screen_ = INVALID_HANDLE_VALUE;
    Applied applied_;
    bool titleSet_ = false;
    bool outputModeSet_ = false;
    int maximizeRequests_ = 0;
    // The buffer's real size and window, as the console reports them.
    Coord bufferSize_{0, 0};
    SMALL_RECT window_{0, 0, 0, 0};
    bool geometryStale_ = false;
    std::string passThrough_;  // bytes for an output that is no console
    std::vector<CHAR_INFO> cells_;
    bool keyboardKnown_;  // keyDown() tells about the keys read
    bool altHeld_ = false;
    std::uint32_t altSinceMs_ = 0;
    std::uint64_t calls_ = 0;
    bool givenBack_ = false;  // restoreConsole() gave the console back
    OutputTap* tap_ = nullptr;
    std::optional<terminal::Renderer> tapRenderer_;  // while a tap is set
    std::string tapBytes_;

    // The lock of the program's calls and the watcher; recursive, since
    // calls nest. Taken before the console's.
    std::recursive_timed_mutex lock_;
    static constexpr int kExitPatienceMs = 200;  // how long the exit waits for it
    static constexpr int kLockPatienceMs = 100;  // how often the watcher looks for the program
    FrameSchedule schedule_;                     // when what the model holds is shown
    HANDLE wake_;                                // set to wake the watcher
    HANDLE programThread_ = nullptr;  // the program's thread, which the watcher ends with
    std::thread watcher_;
    bool stopWatching_ = false;
    bool watcherAsleep_ = false;  // waiting with no deadline: wake it on a change
};

}  // namespace orvask::platform::windows
