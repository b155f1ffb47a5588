#pragma once
// An in-memory console that behaves like a Windows console buffer in output
// mode 0x17, with scripted keys and a virtual clock. Tests install it with
// the MemoryConsoleScope below and then read back every cell, the cursor,
// the attribute and the settings.

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "orvask/platform/model_backend.h"

namespace orvask::platform {

class ORVASK_PLATFORM_API MemoryConsole : public ModelBackend {
  public:
    explicit MemoryConsole(Coord size = {80, 25}) : ModelBackend(size) {}

    // --- Backend --------------------------------------------------------------
    void write(const char* bytes, std::size_t count) override;

    bool performanceFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t performanceCounter() override;
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;

    int readKey() override;
    bool keyWaiting() override;
    bool keyDown(int virtualKey) override;
    // The script is the whole input: once it is used up, input has ended.
    bool inputEnded() override { return keys_.empty(); }

    void messageBox(const char* caption, const char* text) override;
    void restoreConsole() override { ++restores_; }

    // --- Inspection -------------------------------------------------------------
    using ModelBackend::model;
    ConsoleModel& model() { return model_; }
    const CellData& cell(int x, int y) const { return model_.cell(x, y); }
    std::uint8_t glyph(int x, int y) const { return model_.cell(x, y).glyph; }
    std::uint8_t attributeAt(int x, int y) const { return model_.cell(x, y).attribute; }
    // `length` glyphs of row y from column x, as bytes.
    std::string text(int x, int y, int length) const;
    std::string rowText(int y) const { return model_.rowText(y); }
    // Every byte handed to write() since the last call of takeOutput().
    std::string takeOutput();
    std::uint64_t bytesWritten() const { return bytesWritten_; }

    struct Message {
        std::string caption;
        std::string text;
    };
    const std::vector<Message>& messages() const { return messages_; }
    // How often the console was handed back.
    int restores() const { return restores_; }

    // --- Keys -------------------------------------------------------------------
    // Queues codes exactly as readKey() delivers them (0 or 224 before the
    // code of a key without a character). A code queued with a time becomes
    // visible once the virtual clock reaches that time; a blocking read of
    // it moves the clock forward to it.
    void pushKeys(std::initializer_list<int> codes);
    void pushText(const std::string& text);
    void pushKeyAt(std::uint64_t atMicroseconds, int code);
    std::size_t keysQueued() const { return keys_.size(); }
    // Marks a virtual key as held: down for the next `queries` keyDown()
    // calls of that key (or for good with a negative count), then released.
    void holdKey(int virtualKey, int queries = -1);
    void releaseKey(int virtualKey) { held_[index(virtualKey)] = 0; }
    std::uint64_t keyStateQueries() const { return keyStateQueries_; }

    // --- Clock ------------------------------------------------------------------
    // Virtual time in microseconds since the console was made.
    std::uint64_t now() const { return nowUs_; }
    void advance(std::uint64_t microseconds) { nowUs_ += microseconds; }
    // Every sleep lasts this much longer than asked (to model oversleeping).
    void setSleepOverrun(std::uint64_t microseconds) { sleepOverrunUs_ = microseconds; }
    void setHighResolutionCounter(bool present) { hasCounter_ = present; }
    void setTickBase(std::uint32_t ticks) { tickBase_ = ticks; }
    std::uint64_t sleptMilliseconds() const { return sleptMs_; }
    std::uint64_t sleepCalls() const { return sleepCalls_; }

    static constexpr std::int64_t kCounterFrequency = 10'000'000;

  private:
    static std::size_t index(int virtualKey) { return static_cast<std::size_t>(virtualKey) & 0xFF; }

    struct ScriptedKey {
        std::uint64_t at;
        int code;
    };

    std::string output_;
    std::uint64_t bytesWritten_ = 0;
    std::vector<Message> messages_;
    int restores_ = 0;
    std::deque<ScriptedKey> keys_;
    std::array<int, 256> held_{};  // 0 up, >0 queries left, <0 held for good
    std::uint64_t keyStateQueries_ = 0;
    std::uint64_t nowUs_ = 0;
    std::uint64_t sleepOverrunUs_ = 0;
    std::uint64_t sleptMs_ = 0;
    std::uint64_t sleepCalls_ = 0;
    std::uint32_t tickBase_ = 1'000'000;
    bool hasCounter_ = true;
};

// Installs a console for the lifetime of the scope and puts the previous
// backend back afterwards: a MemoryConsole (MemoryConsoleScope), or a
// subclass of it for a test that watches the calls
// (BasicMemoryConsoleScope<MyConsole>). The way tests install a console; one
// made with `new` and never deleted stays installed until the process ends.
template <typename Console>
class BasicMemoryConsoleScope {
  public:
    BasicMemoryConsoleScope() = default;
    explicit BasicMemoryConsoleScope(Coord size) : console_(size) {}
    BasicMemoryConsoleScope(const BasicMemoryConsoleScope&) = delete;
    BasicMemoryConsoleScope& operator=(const BasicMemoryConsoleScope&) = delete;

    Console& operator*() { return console_; }
    Console* operator->() { return &console_; }

  private:
    Console console_;
    BackendScope installed_{console_};
};

using MemoryConsoleScope = BasicMemoryConsoleScope<MemoryConsole>;

}  // namespace orvask::platform
