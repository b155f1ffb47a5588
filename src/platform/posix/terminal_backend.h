#pragma once
// The POSIX backend: a console model rendered to a terminal, keys decoded
// from the terminal's byte stream.
//
// Whole frames: output goes into the model at once and reaches the terminal
// by difference at the sync points (reading a key, testing for a key,
// sleeping, a message box, giving the terminal back, and exit), so the
// terminal never sees a frame half drawn, and a frame that ends as it began
// writes nothing. A program that writes for a long time without reaching a
// sync point is shown anyway once its oldest unshown change is
// kSyncIntervalMs old, or once kLargeOutput bytes are pending. With the
// output watcher started (the system's backend starts it), what a program
// printed before it went off to work without calling the backend is shown
// once it has made no call for kIdleFlushMs: a thread that sleeps until
// then, takes no signals and never touches the keyboard.
//
// Keys carry the time they were read: once the program has asked for keys,
// sleeps read them as they come, and bytes that come kEscTimeoutMs or more
// after a held-back Esc are a key of their own (an Esc typed during an
// animation is not glued to the next key as Alt+key).
//
// The terminal: when standard output is a terminal it is taken over (raw
// mode, alternate screen); when the keys come from a terminal, that terminal
// reads unbuffered and unechoed whatever the output is. restoreConsole()
// gives everything back; the next output or key read takes it again. When
// standard output is no terminal the same output is written to it as it is;
// when standard input is no terminal, keys are read from it with the same
// decoding, so scripts can drive a program.
//
// A terminal reports no physical key state: keyDown() says Alt is down for
// the key just read when that key came with Alt (an Esc prefix or an Alt
// modifier), until the next read and for at most kAltHoldMs, so a wait for
// all keys to be released still ends; every other key reads as up.

#include <pthread.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "clock.h"
#include "frame_schedule.h"
#include "keys/key_decoder.h"
#include "orvask/platform/model_backend.h"
#include "terminal/renderer.h"

namespace orvask::platform::posix {

class TerminalBackend : public ModelBackend {
  public:
    // An incomplete sequence (a lone Esc too) is settled after this long
    // without a byte arriving.
    static constexpr std::uint32_t kEscTimeoutMs = keys::kEscTimeoutMs;
    static constexpr std::uint32_t kAltHoldMs = keys::kAltHoldMs;
    // The output watcher shows what is pending once the program has been
    // this long without a call: about one frame.
    static constexpr std::uint32_t kIdleFlushMs = FrameSchedule::kIdleFlushMs;

    // Takes the terminals among `inputFd` and `outputFd` over. `term` is the
    // terminal type (TERM), which picks the key sequences to expect; `clock`
    // times the Esc timeout, the valve, Alt and every wait, and must outlive
    // the backend.
    TerminalBackend(int inputFd, int outputFd, std::string_view term, Clock& clock = systemClock());
    ~TerminalBackend() override;
    TerminalBackend(const TerminalBackend&) = delete;
    TerminalBackend& operator=(const TerminalBackend&) = delete;

    // --- Backend ------------------------------------------------------------
    void write(const char* bytes, std::size_t count) override;
    void setInputCodePage(int codePage) override;

    bool performanceFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t performanceCounter() override;
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;

    int readKey() override;
    bool keyWaiting() override;
    bool keyDown(int virtualKey) override;
    // Ended once the input reached its end and every key read before it
    // has been taken.
    bool inputEnded() override {
        const Hold hold(*this);
        return inputEnded_ && !decoder_.ready();
    }

    void messageBox(const char* caption, const char* text) override;
    void restoreConsole() override;
    void tapOutput(OutputTap* tap) override {
        const Hold hold(*this);
        tap_ = tap;
    }

    // Brings the terminal up to date with the model now (a sync point).
    void sync();
    // The sync at exit: only while the terminal is the program's.
    void syncIfHeld();

    // Starts the output watcher (see above); does nothing when it runs.
    void startWatcher();
    // Stops it (at exit: nothing is shown after the exit-time sync).
    void stopWatcher();

  private:
    // The lock the program's calls and the watcher share; recursive, since
    // calls nest, and made afresh in the child of a fork.
    class Lock {
      public:
        Lock() { init(); }
        ~Lock() { pthread_mutex_destroy(&mutex_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        void lock() { pthread_mutex_lock(&mutex_); }
        void unlock() { pthread_mutex_unlock(&mutex_); }
        void init();

      private:
        pthread_mutex_t mutex_;
    };

    void changed() override;
    void enter() override;
    void leave() override;
    void takeTerminal();
    void render();
    int wait(int timeoutMs, bool keys);
    int waitForInput(int timeoutMs);
    bool readInput();
    void endInput();
    void settleIfQuiet(std::uint32_t now);
    void answerSignals();
    int takeKey();
    Coord queryTerminalSize() const;
    void watch();
    void askWatcherToStop();
    void notifyWatcher();
    static void* runWatcher(void* self);
    static void forkPrepare();
    static void forkParent();
    static void forkChild();

    int inputFd_;
    int outputFd_;
    bool inputIsTerminal_;
    bool outputIsTerminal_;
    Clock& clock_;
    // The clock as the frame schedule reads it.
    auto now() const {
        return [this] { return clock_.milliseconds(); };
    }
    const ConsoleModel* overlay_ = nullptr;  // shown instead of the model (message box)
    terminal::Renderer renderer_;
    keys::KeyDecoder decoder_;
    std::string pending_;  // rendered bytes on their way out
    OutputTap* tap_ = nullptr;
    Coord terminalSize_{0, 0};
    bool held_ = false;  // the terminal is the program's (not given back)
    bool inputEnded_ = false;
    bool outputBroken_ = false;
    int writeError_ = 0;  // errno of the write that broke it
    std::uint32_t lastByteMs_ = 0;
    bool altHeld_ = false;
    std::uint32_t altSinceMs_ = 0;
    bool keysInUse_ = false;  // the program has asked for keys

    Lock lock_;
    FrameSchedule schedule_;  // when what the model holds is shown
    pthread_t watcher_{};
    bool watching_ = false;
    bool stopWatching_ = false;
    bool watcherAsleep_ = false;  // waiting with no deadline: wake it on a change
    int watcherWake_[2] = {-1, -1};
};

}  // namespace orvask::platform::posix
