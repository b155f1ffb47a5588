#pragma once
// The clock the terminal backend runs on: a monotonic time and a sleep. The
// backend takes it from outside, so tests and benchmarks can run it on a
// clock of their own (one that never waits, or that stalls on demand).

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
    // Sleeps `milliseconds`; an interruption by a signal calls `interrupted`
    // (when given) and sleeps on for the time that was left.
    virtual void sleep(std::uint32_t milliseconds, void (*interrupted)(void*), void* context) = 0;
};

// CLOCK_MONOTONIC and nanosleep.
Clock& systemClock();

}  // namespace orvask::platform::posix
