// The terminal backend driven through pipes, as scripts drive a program:
// no terminal, so no raw mode and no alternate screen, but the same key
// decoding and the same rendered output.
#include "posix/terminal_backend.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <string>
#include <thread>

namespace orvask::platform::posix {
namespace {

class Pipe {
  public:
    Pipe() {
        EXPECT_EQ(::pipe(fds_), 0);
        ::fcntl(fds_[0], F_SETFL, O_NONBLOCK);
    }
    ~Pipe() {
        closeWriter();
        ::close(fds_[0]);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int reader() const { return fds_[0]; }
    int writer() const { return fds_[1]; }
    void send(std::string_view bytes) {
        ASSERT_EQ(::write(fds_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void closeWriter() {
        if (fds_[1] >= 0) ::close(fds_[1]);
        fds_[1] = -1;
    }
    // Everything written so far (the read end does not block).
    std::string drain() {
        std::string out;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fds_[0], buffer, sizeof buffer)) > 0;)
            out.append(buffer, static_cast<std::size_t>(n));
        return out;
    }

  private:
    int fds_[2] = {-1, -1};
};

// A clock that moves only when told to, or when waited on: a wait that finds
// nothing ready moves it on to the next bytes typed (see typeAt) or to the
// wait's end.
class ManualClock : public Clock {
  public:
    explicit ManualClock(Pipe& keys) : keys_(keys) {}
    std::int64_t nanoseconds() noexcept override { return now_; }
    void advance(std::uint32_t milliseconds) { now_ += std::int64_t{milliseconds} * 1'000'000; }
    // `bytes` arrive on the keys pipe `afterMs` from now.
    void typeAt(std::uint32_t afterMs, std::string bytes) {
        typed_.push_back({now_ + std::int64_t{afterMs} * 1'000'000, std::move(bytes)});
    }

    int poll(pollfd* fds, nfds_t count, int timeoutMs) override {
        const std::int64_t end = timeoutMs < 0 ? -1 : now_ + std::int64_t{timeoutMs} * 1'000'000;
        for (;;) {
            while (!typed_.empty() && typed_.front().at <= now_) {
                keys_.send(typed_.front().bytes);
                typed_.pop_front();
            }
            const int ready = ::poll(fds, count, 0);
            if (ready != 0) return ready;
            if (!typed_.empty() && (end < 0 || typed_.front().at <= end)) {
                now_ = typed_.front().at;
                continue;
            }
            if (end < 0) return ::poll(fds, count, -1);
            now_ = std::max<std::int64_t>(now_, end);
            return 0;
        }
    }

  private:
    struct Typed {
        std::int64_t at;
        std::string bytes;
    };
    Pipe& keys_;
    std::atomic<std::int64_t> now_ = 5'000'000'000;  // read by the output watcher too
    std::deque<Typed> typed_;
};

class TerminalBackendOverPipes : public ::testing::Test {
  protected:
    Pipe keys_;
    Pipe screen_;
    ManualClock clock_{keys_};
    TerminalBackend backend_{keys_.reader(), screen_.writer(), "xterm-256color", clock_};
};

TEST_F(TerminalBackendOverPipes, KeysAreDecodedOneCodePerRead) {
    keys_.send("a\x1b[A\x1b[15;5~\r\x7f");
    keys_.closeWriter();
    const int expected[] = {'a', 224, 72, 0, 98, 13, 8};
    for (int code : expected)
        EXPECT_EQ(backend_.readKey(), code);
    EXPECT_EQ(backend_.readKey(), kEndOfInput);
}

TEST_F(TerminalBackendOverPipes, EndOfInputIsFinalAndNeverBlocks) {
    keys_.send("\x1b");
    keys_.closeWriter();
    EXPECT_EQ(backend_.readKey(), 27);  // the pending Esc is settled by the end
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(backend_.readKey(), kEndOfInput);
        EXPECT_FALSE(backend_.keyWaiting());
    }
}

TEST_F(TerminalBackendOverPipes, KeyWaitingSeesTheSecondHalfOfAnExtendedKey) {
    EXPECT_FALSE(backend_.keyWaiting());
    keys_.send("\x1b[B");
    EXPECT_TRUE(backend_.keyWaiting());
    EXPECT_EQ(backend_.readKey(), 224);
    EXPECT_TRUE(backend_.keyWaiting());
    EXPECT_EQ(backend_.readKey(), 80);
    EXPECT_FALSE(backend_.keyWaiting());
}

TEST_F(TerminalBackendOverPipes, AltIsDownForTheKeyReadWithEscOnly) {
    keys_.send("\x1bxy");
    EXPECT_EQ(backend_.readKey(), 'x');
    EXPECT_TRUE(backend_.keyDown(vk::Menu));
    EXPECT_FALSE(backend_.keyDown(vk::Shift));
    EXPECT_EQ(backend_.readKey(), 'y');
    EXPECT_FALSE(backend_.keyDown(vk::Menu));
}

// Bytes read during a sleep keep the time they came: an Esc and a key 150 ms
// later are two keys, however late the program reads them; within the Esc
// timeout they are Alt and the key.
TEST_F(TerminalBackendOverPipes, KeysTypedDuringASleepKeepTheTimeTheyCame) {
    EXPECT_FALSE(backend_.keyWaiting());
    clock_.typeAt(10, "\x1b");
    clock_.typeAt(160, "z");
    clock_.typeAt(200, "\x1b");
    clock_.typeAt(200 + TerminalBackend::kEscTimeoutMs - 1, "y");
    backend_.sleep(300);
    keys_.closeWriter();
    EXPECT_EQ(backend_.readKey(), 27);
    EXPECT_EQ(backend_.readKey(), 'z');
    EXPECT_FALSE(backend_.keyDown(vk::Menu));
    EXPECT_EQ(backend_.readKey(), 'y');
    EXPECT_TRUE(backend_.keyDown(vk::Menu));
}

TEST_F(TerminalBackendOverPipes, AltIsReleasedSoAWaitForAllKeysUpEnds) {
    // A wait for every key to be released polls the key state without
    // reading: Alt must not stay down for good after Alt+letter.
    keys_.send("\x1bq");
    EXPECT_EQ(backend_.readKey(), 'q');
    bool released = false;
    for (int i = 0; i < 100 && !released; ++i) {
        released = !backend_.keyDown(vk::Menu);
        if (!released) backend_.sleep(10);
    }
    EXPECT_TRUE(released);
}

TEST_F(TerminalBackendOverPipes, OutputIsSyncedByDifferenceAtSyncPoints) {
    backend_.setCursorInfo(1, false);
    backend_.sleep(0);
    screen_.drain();
    clock_.advance(500);  // however long since the last sync: a write is no sync point
    backend_.setCursorPosition({2, 1});
    backend_.write("Hi", 2);
    backend_.write("!", 1);
    EXPECT_EQ(screen_.drain(), "");
    backend_.sleep(0);
    const std::string first = screen_.drain();
    EXPECT_NE(first.find("Hi!"), std::string::npos) << first;

    // A frame that ends as it began writes nothing, however it was drawn.
    backend_.setCursorPosition({2, 1});
    backend_.write("--", 2);
    backend_.setCursorPosition({2, 1});
    backend_.write("Hi", 2);
    EXPECT_FALSE(backend_.keyWaiting());
    EXPECT_EQ(screen_.drain(), "");

    backend_.write("?", 1);
    EXPECT_FALSE(backend_.keyWaiting());
    const std::string changed = screen_.drain();
    EXPECT_TRUE(changed.ends_with("?")) << changed;
    EXPECT_LE(changed.size(), 8u) << changed;
}

TEST_F(TerminalBackendOverPipes, LongOutputWithoutSyncPointShowsOnceItsOldestChangeIsDue) {
    backend_.sleep(0);
    screen_.drain();
    backend_.write("a", 1);
    clock_.advance(TerminalBackend::kSyncIntervalMs - 1);
    backend_.write("b", 1);
    EXPECT_EQ(screen_.drain(), "");
    clock_.advance(1);
    backend_.write("c", 1);
    EXPECT_NE(screen_.drain().find("abc"), std::string::npos);
}

// With the watcher, output shows once the program has made no call for a
// frame's time, without a sync point; not while it may still be drawing.
TEST_F(TerminalBackendOverPipes, TheWatcherShowsOutputOnceTheProgramIsIdle) {
    backend_.sleep(0);
    screen_.drain();
    backend_.startWatcher();
    backend_.write("Working...", 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(screen_.drain(), "");
    clock_.advance(TerminalBackend::kIdleFlushMs);
    std::string shown;
    for (int i = 0; i < 500 && shown.find("Working...") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        shown += screen_.drain();
    }
    EXPECT_NE(shown.find("Working..."), std::string::npos) << shown;
}

TEST_F(TerminalBackendOverPipes, AKeyAfterARunawaySequenceArrives) {
    keys_.send("\x1b[" + std::string(40, '1'));
    EXPECT_FALSE(backend_.keyWaiting());
    clock_.advance(TerminalBackend::kEscTimeoutMs);
    EXPECT_FALSE(backend_.keyWaiting());  // settled: the runaway is over
    keys_.send("x");
    EXPECT_EQ(backend_.readKey(), 'x');
}

TEST_F(TerminalBackendOverPipes, ModelStartsAt80x25AndFollowsTheBufferSize) {
    EXPECT_EQ(backend_.bufferSize(), (Coord{80, 25}));
    backend_.setBufferSize({100, 40});
    EXPECT_EQ(backend_.bufferSize(), (Coord{100, 40}));
    backend_.setCursorInfo(0, false);  // refused, as by the console
    EXPECT_TRUE(backend_.model().cursorVisible);
}

TEST_F(TerminalBackendOverPipes, TypedCharactersFollowTheInputCodePage) {
    backend_.setInputCodePage(949);
    keys_.send("\xea\xb0\x80");
    EXPECT_EQ(backend_.readKey(), 0xB0);
    EXPECT_EQ(backend_.readKey(), 0xA1);
    backend_.setInputCodePage(437);
    keys_.send("\xc3\xa9");
    EXPECT_EQ(backend_.readKey(), 130);
}

TEST_F(TerminalBackendOverPipes, MessageBoxWithoutTerminalGoesToStandardError) {
    Pipe errors;
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(errors.writer(), STDERR_FILENO);
    backend_.messageBox("Vornel Crashed", "pool missing");
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    EXPECT_EQ(errors.drain(), "Vornel Crashed: pool missing\n");
    EXPECT_EQ(screen_.drain(), "");
}

TEST_F(TerminalBackendOverPipes, ClocksAdvanceTogether) {
    std::int64_t frequency = 0;
    ASSERT_TRUE(backend_.performanceFrequency(frequency));
    EXPECT_EQ(frequency, 1'000'000'000);
    const std::int64_t counter = backend_.performanceCounter();
    const std::uint32_t ticks = backend_.tickCount();
    backend_.sleep(20);
    EXPECT_GE(backend_.performanceCounter() - counter, 20'000'000);
    EXPECT_GE(backend_.tickCount() - ticks, 19u);
}

}  // namespace
}  // namespace orvask::platform::posix
