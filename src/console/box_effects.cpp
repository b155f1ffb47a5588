#include "box_effects.h"

#include <algorithm>
#include <cstdint>

#include "orvask/frames.h"
#include "orvask/timers.h"

namespace orvask::detail {

void openingAnimation(int left, int top, int right, unsigned char framefg, unsigned char bg) {
    const int width = right - left;
    const auto step = static_cast<std::uint32_t>(std::clamp(250 / width, 5, 40));
    const auto s = [](int v) { return static_cast<short>(v); };
    for (int n = width / 2; n >= 1; --n) {
        box(s(left + n), s(top), s(right - n), s(top + 2), framefg, bg, BoxFill | BoxDirect);
        pace(step);
    }
}

}  // namespace orvask::detail
