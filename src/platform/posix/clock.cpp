#include "clock.h"

#include <time.h>

namespace orvask::platform::posix {

namespace {

class SystemClock final : public Clock {
  public:
    std::int64_t nanoseconds() noexcept override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::int64_t>(now.tv_sec) * kCounterFrequency + now.tv_nsec;
    }

    int poll(pollfd* fds, nfds_t count, int timeoutMs) override {
        return ::poll(fds, count, timeoutMs);
    }
};

}  // namespace

Clock& systemClock() {
    static SystemClock* const clock = new SystemClock;
    return *clock;
}

}  // namespace orvask::platform::posix
