#pragma once
// The clocks of the terminal backend, all from the monotonic clock, and a
// sleep that lasts the time asked even when signals interrupt it.

#include <cstdint>

namespace orvask::platform::posix {

// The performance counter counts nanoseconds.
inline constexpr std::int64_t kCounterFrequency = 1'000'000'000;

std::int64_t monotonicNanoseconds() noexcept;

// Milliseconds, 32-bit and wrapping.
std::uint32_t monotonicMilliseconds() noexcept;

// Sleeps `milliseconds`; an interruption by a signal calls `interrupted`
// (when given) and sleeps on for the time that was left.
void sleepMilliseconds(std::uint32_t milliseconds, void (*interrupted)(void*) = nullptr,
                       void* context = nullptr);

}  // namespace orvask::platform::posix
