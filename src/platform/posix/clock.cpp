#include "clock.h"

#include <time.h>

#include <cerrno>

namespace orvask::platform::posix {

namespace {

class SystemClock final : public Clock {
  public:
    std::int64_t nanoseconds() noexcept override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::int64_t>(now.tv_sec) * kCounterFrequency + now.tv_nsec;
    }

    void sleep(std::uint32_t milliseconds, void (*interrupted)(void*), void* context) override {
        timespec left{static_cast<time_t>(milliseconds / 1000),
                      static_cast<long>(milliseconds % 1000) * 1'000'000L};
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
            if (interrupted != nullptr) interrupted(context);
        }
    }
};

}  // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace orvask::platform::posix
