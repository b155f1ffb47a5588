// Frames and text boxes of arbitrary sizes, positions, texts, colours and
// styles, with and without pages:
//  * nothing is handed to the console that would land on the bottom-right
//    cell or scroll the screen;
//  * a box draws only inside its rectangle (a text box: its frame and its
//    shadow), so nothing wraps round to the wrong place, and a text box that
//    cannot be placed in 16-bit coordinates draws nothing; the one exception
//    is a text box's number field run past the right edge of a screen row
//    without pages, which goes on at the start of the next row as the
//    console wraps it;
//  * the work is bounded by the screen, not by the box: the console gets a
//    bounded number of bytes, and libFuzzer's timeout catches slow inputs;
//  * with pages, after Page() the screen shows what the shown page records.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "guarded_console.h"
#include "markup_width.h"
#include "orvask/frames.h"
#include "orvask/output.h"
#include "orvask/pages.h"

namespace orvask::fuzz {
namespace {

short coordinate(FuzzedDataProvider& in, int screen) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return in.ConsumeBool() ? SHRT_MIN : SHRT_MAX;
        case 1:
            return in.ConsumeIntegral<short>();
        default:
            return static_cast<short>(in.ConsumeIntegralInRange(-4, screen + 3));
    }
}

unsigned char colour(FuzzedDataProvider& in) {
    // The palette, the keep-colour values, or any byte.
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return KeepFg;
        case 1:
            return KeepBg;
        case 2:
            return in.ConsumeIntegral<unsigned char>();
        default:
            return in.ConsumeIntegralInRange<unsigned char>(0, 15);
    }
}

struct Rect {
    long left, top, right, bottom;
    // The row of text printed straight onto the console, or -1.
    long directRow = -1;
    bool contains(int x, int y, platform::Coord screen) const {
        return (x >= left && x <= right && y >= top && y <= bottom) ||
               mayWrapAfterRow(directRow, screen, static_cast<long>(y) * screen.x + x);
    }
};

// Draws one box or text box; returns where it may draw, and whether it drew
// straight onto the console (which pages do not record).
Rect drawOne(FuzzedDataProvider& in, platform::Coord screen, bool paging, bool& direct) {
    if (in.ConsumeBool()) {
        const short x1 = coordinate(in, screen.x);
        const short y1 = coordinate(in, screen.y);
        const short x2 = coordinate(in, screen.x);
        const short y2 = coordinate(in, screen.y);
        const auto fg = colour(in);
        const auto bg = colour(in);
        const int style = in.ConsumeIntegralInRange(0, 15);
        direct = (style & BoxDirect) != 0;
        box(x1, y1, x2, y2, fg, bg, style);
        return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    }
    short x = coordinate(in, screen.x);
    short y = coordinate(in, screen.y);
    if (in.ConsumeBool()) x = -1;
    if (in.ConsumeBool()) y = -1;
    const auto framefg = colour(in);
    const auto bg = colour(in);
    const auto textfg = colour(in);
    const int flags = in.ConsumeIntegralInRange(0, 0x1FF);
    std::string text = in.ConsumeRandomLengthString(120);
    // A newline in direct output goes on at the start of the next row, as the
    // console takes one; a text box's text is one line.
    std::replace(text.begin(), text.end(), '\n', '\v');
    direct = (flags & BoxAnimate) != 0;
    textbox(x, y, text.c_str(), framefg, bg, textfg, flags);

    // The documented placement, with the frame as wide as the text prints
    // after its colour prefix (a foreground and a background code), cut to
    // 94 bytes as the box cuts it.
    std::string printed(text.c_str());
    printed.resize(std::min<std::size_t>(printed.size(), 94));
    const int width = detail::markupWidth(("`y``k" + printed).c_str());
    long left = x == -1 ? screen.x / 2 : x;
    const long top = y == -1 ? screen.y / 2 - 2 : y;
    if (flags & BoxCentreX) left -= (width + 1) / 2;
    const long right = left + width + 1;
    if (left < SHRT_MIN || right + 1 > SHRT_MAX || top + 3 > SHRT_MAX) return {1, 1, 0, 0};
    return {left, top, right + 1, top + 3, paging ? -1 : top + 1};
}

}  // namespace
}  // namespace orvask::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvask;
    using namespace orvask::fuzz;
    FuzzedDataProvider in(data, size);
    const platform::Coord screen = ConsumeScreenSize(in);
    const bool paging = in.ConsumeBool();
    GuardedConsole console(screen);
    console.blankAsFreshPages();
    if (paging) vpinit();
    const auto cells = static_cast<std::uint64_t>(screen.x) * static_cast<std::uint64_t>(screen.y);

    for (int round = 0; round < 8 && in.remaining_bytes() > 0; ++round) {
        setcolor(in.ConsumeIntegralInRange<unsigned char>(0, 15),
                 in.ConsumeIntegralInRange<unsigned char>(0, 15));
        const platform::ConsoleModel before = console.model();
        const std::uint64_t written = console.bytesWritten();
        bool direct = false;
        const Rect allowed = drawOne(in, screen, paging, direct);
        if (paging) Page();

        // Every drawing is clipped to the screen; an opening animation draws
        // once per step, at most half the width of a 94-byte text's frame.
        FUZZ_CHECK(console.bytesWritten() - written <= 512 * (cells + 4),
                   "%llu bytes for a %llu-cell screen",
                   static_cast<unsigned long long>(console.bytesWritten() - written),
                   static_cast<unsigned long long>(cells));
        for (int y = 0; y < screen.y; ++y) {
            for (int x = 0; x < screen.x; ++x) {
                FUZZ_CHECK(
                    console.cell(x, y) == before.cell(x, y) || allowed.contains(x, y, screen),
                    "cell %d,%d drawn outside the box %ld,%ld..%ld,%ld", x, y, allowed.left,
                    allowed.top, allowed.right, allowed.bottom);
            }
        }
        if (paging && !direct) console.checkShownPageMatches();
        if (paging && direct) {
            // Direct drawing bypasses the pages; start the next round afresh.
            Repaint(0, 0, 0, 0);
            console.checkShownPageMatches();
        }
    }
    return 0;
}
