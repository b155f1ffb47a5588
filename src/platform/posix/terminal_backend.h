#pragma once
// The POSIX backend: a console model rendered to a terminal, keys decoded
// from the terminal's byte stream.
//
// Output goes into the model at once and reaches the terminal by difference
// at the sync points: before a blocking key read, a sleep or a message box,
// when keyWaiting() is polled after a change, when much output is pending,
// and at exit. When standard output is a terminal it is taken over (raw
// mode, alternate screen) until the process ends; otherwise the same output
// is written to it as it is. When standard input is no terminal, keys are
// read from it with the same decoding, so scripts can drive a program.
//
// A terminal reports no physical key state: keyDown() says Alt is down for
// the key just read when that key came with Alt (an Esc prefix or an Alt
// modifier), until the next read and for at most kAltHoldMs, so a wait for
// all keys to be released still ends; every other key reads as up.

#include <cstdint>
#include <string>
#include <string_view>

#include "key_decoder.h"
#include "orvask/platform/model_backend.h"
#include "renderer.h"

namespace orvask::platform::posix {

class TerminalBackend : public ModelBackend {
  public:
    // A lone Esc is told from the start of a sequence by this silence.
    static constexpr std::uint32_t kEscTimeoutMs = 50;
    static constexpr std::uint32_t kAltHoldMs = 200;
    // Output pending this long, or this large, is synced without waiting
    // for the next sync point.
    static constexpr std::uint32_t kSyncIntervalMs = 100;
    static constexpr std::size_t kLargeOutput = 64 * 1024;

    // Takes the terminal on `outputFd` over when it is one. `term` is the
    // terminal type (TERM), which picks the key sequences to expect.
    TerminalBackend(int inputFd, int outputFd, std::string_view term);
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
    bool inputEnded() override { return inputEnded_ && !decoder_.ready(); }

    void messageBox(const char* caption, const char* text) override;

    // Brings the terminal up to date with the model now.
    void sync();

  private:
    void changed() override { dirty_ = true; }
    void waitForInput(int timeoutMs);
    void readInput();
    void endInput();
    void settleIfDue();
    void answerSignals();
    static void answerSignalsDuringSleep(void* self);
    int takeKey();
    Coord queryTerminalSize() const;

    int inputFd_;
    int outputFd_;
    bool inputIsTerminal_;
    bool outputIsTerminal_;
    const ConsoleModel* overlay_ = nullptr;  // shown instead of the model (message box)
    Renderer renderer_;
    KeyDecoder decoder_;
    std::string pending_;  // rendered bytes on their way out
    Coord terminalSize_{0, 0};
    bool dirty_ = true;
    bool inputEnded_ = false;
    bool outputBroken_ = false;
    std::size_t writtenSinceSync_ = 0;
    std::uint32_t lastSyncMs_ = 0;
    std::uint32_t lastByteMs_ = 0;
    bool altHeld_ = false;
    std::uint32_t altSinceMs_ = 0;
};

}  // namespace orvask::platform::posix
