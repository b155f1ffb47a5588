// The loading screen: the library's name and version in a frame, then the
// probe of the high-resolution counter and the prompt for a key.

#include "loading_screen.h"

#include <cstdint>

#include "orvask/frames.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/platform/backend.h"
#include "orvask/timers.h"
#include "orvask/version.h"

namespace orvask::detail {

namespace {

// The frame around the title lines; its left side falls on their leading
// spaces, so every title line must end before its right side.
constexpr short kFrameLeft = 1;
constexpr short kFrameTop = 1;
constexpr short kFrameRight = 37;
constexpr short kFrameBottom = 6;

constexpr short kMessagesRow = 8;

// Counter ticks per millisecond from the counter's frequency per second.
constexpr std::int64_t kMsPerSecond = 1000;

}  // namespace

bool probeCounter() {
    std::int64_t frequency = 0;
    if (!platform::backend().performanceFrequency(frequency)) {
        ticksPerMs = 0;  // the clock runs on the tick count
        return false;
    }
    ticksPerMs = static_cast<std::uint32_t>(frequency / kMsPerSecond);
    return true;
}

void drawLoadingScreen() {
    Pm(0, 0, " This program is powered by");
    Pm(0, 2, "  `HOrvask `Kv`H" ORVASK_VERSION_STRING " `yfor `BWin32");
    Pm(0, 3, "   `r- `HO`yrvask `r-");
    Pm(0, 5, "   `Kby `RO`Hrvask `K(`yorvask@example.org`K)");
    box(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom, White, Black, 0);

    gotoxy(0, kMessagesRow);
    if (probeCounter()) {
        Pmc(" `H> `yFinding high-resolution performance counter... ok.\n");
    } else {
        Pmc(" `H> `yFinding high-resolution performance counter... failed.\n");
    }
    Pmc(" `H> `yOrvask loading finished.\n");
    Pmc(" `H> `yPress any key to continue...");
}

}  // namespace orvask::detail
