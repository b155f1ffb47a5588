// The library's millisecond clock and its three ways of waiting.
//
// Waits work in tenths of a millisecond (a duration times the time scale)
// and compare against elapsed milliseconds times 10, all in unsigned 32-bit
// arithmetic, so a wrap of the clock between two readings does no harm.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "library_state.h"
#include "orvask/platform/backend.h"
#include "orvask/timers.h"

namespace orvask {

constinit const TimeScale timeScale;

std::uint32_t ticksPerMs = 0;

namespace {

// Elapsed milliseconds are compared in tenths, like the requests.
constexpr std::uint32_t kTenthsPerMs = 10;

std::uint32_t tenths(std::uint32_t ms) {
    return ms * static_cast<std::uint32_t>(timeScale.get());
}

}  // namespace

std::uint32_t tnow() {
    platform::Backend& console = platform::backend();
    if (ticksPerMs == 0) return console.tickCount();
    return static_cast<std::uint32_t>(console.performanceCounter() /
                                      static_cast<std::int64_t>(ticksPerMs));
}

std::uint32_t delay(std::uint32_t ms) {
    platform::Backend& console = platform::backend();
    const std::uint32_t req = tenths(ms);
    const std::uint32_t start = console.tickCount();
    while ((console.tickCount() - start) * kTenthsPerMs < req)
        console.sleep(1);
    return console.tickCount() - start;
}

std::uint32_t pace(std::uint32_t ms) {
    std::int32_t& paceCarry = detail::state().paceCarry;
    const std::int64_t req = tenths(ms);
    const std::uint32_t t0 = tnow();

    // The carry pays for as much of this request as it can.
    const std::int64_t wait = std::max<std::int64_t>(req - paceCarry, 0);
    paceCarry -= static_cast<std::int32_t>(std::min<std::int64_t>(req, paceCarry));

    platform::backend().sleep(static_cast<std::uint32_t>(wait / kTenthsPerMs));

    const std::uint32_t took = (tnow() - t0) * kTenthsPerMs;
    const std::int64_t over = std::max<std::int64_t>(std::int64_t{took} - wait, 0);
    // Saturate rather than overflow after an absurdly long oversleep.
    paceCarry = static_cast<std::int32_t>(
        std::min<std::int64_t>(paceCarry + over, std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::uint32_t>(over);
}

std::uint32_t tmark() {
    detail::state().markTime = tnow();
    return detail::state().markTime;
}

std::uint32_t twait(std::uint32_t ms) {
    const std::uint32_t markTime = detail::state().markTime;
    const std::uint32_t req = tenths(ms);
    while ((tnow() - markTime) * kTenthsPerMs < req)
        platform::backend().sleep(1);
    return ((tnow() - markTime) * kTenthsPerMs - req) / kTenthsPerMs;
}

}  // namespace orvask
