#pragma once
// The clock the terminal backend runs on: a monotonic time and a wait. The
// backend takes it from outside, so tests and benchmarks can run it on a
// clock of their own (one that never waits, or that brings input at set
// times).

#include <poll.h>

#include <cstdint>

namespace orvask::platform::posix {

class Clock {
  public:
    // The performance counter counts nanoseconds.
    static constexpr std::int64_t kCounterFrequency = 1'000'000'000;

    virtual ~Clock() = default;

    // Monotonic nanoseconds since an arbitrary start.
    virtual std::int64_t nanoseconds() noexcept = 0;
    // Milliseconds of the same clock, 32-bit and wrapping.
    std::uint32_t milliseconds() noexcept {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(nanoseconds()) / 1'000'000u);
    }
    // Waits as poll(2) does, for up to `timeoutMs` of this clock (-1: no
    // limit), and returns what poll returns (-1 with EINTR for a signal).
    // Every wait of the backend, sleeps included, goes through here.
    virtual int poll(pollfd* fds, nfds_t count, int timeoutMs) = 0;
};

// CLOCK_MONOTONIC and poll(2). Never destroyed: the backend may still need
// it at exit.
Clock& systemClock();

}  // namespace orvask::platform::posix
