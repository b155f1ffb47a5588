#include "monotonic_clock.h"

#include <time.h>

#include <cerrno>

namespace orvask::platform::posix {

std::int64_t monotonicNanoseconds() noexcept {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kCounterFrequency + now.tv_nsec;
}

std::uint32_t monotonicMilliseconds() noexcept {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(monotonicNanoseconds()) /
                                      1'000'000u);
}

void sleepMilliseconds(std::uint32_t milliseconds, void (*interrupted)(void*), void* context) {
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1'000'000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        if (interrupted != nullptr) interrupted(context);
    }
}

}  // namespace orvask::platform::posix
