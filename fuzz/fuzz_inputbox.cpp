// The input box in every flag combination, with arbitrary prompts, sizes,
// positions and keys, the caller's buffer exactly maxlen + 1 bytes (2 for a
// yes/no box, whatever maxlen says):
//  * nothing is written past the buffer (AddressSanitizer watches), and the
//    text is always terminated within it;
//  * nothing is handed to the console that would land on the bottom-right
//    cell or scroll the screen;
//  * without pages the box draws nowhere but its own rectangle and the
//    strict-mode hint's row; with pages every cell it covered comes back.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <string>

#include "guarded_console.h"
#include "orvask/inputbox.h"
#include "orvask/keyboard.h"
#include "orvask/pages.h"

namespace orvask::fuzz {
namespace {

constexpr int kYesNo = InputYesNo | InputYesNoStrict;

// Where the box may draw, worked out from its documented layout: the frame,
// and the hint's 21 cells ten columns in from its left edge, one row below.
struct Area {
    int left, right, top;
    bool covers(int x, int y) const {
        const bool inBox = x >= left && x <= right && y >= top && y <= top + 2;
        const bool inHint = y == top + 3 && x >= left + 10 && x <= left + 30;
        return inBox || inHint;
    }
};

Area boxArea(platform::Coord screen, short x0, short y0, int promptLength, int maxlen, int flags) {
    const int field = (flags & kYesNo) ? 1 : maxlen;
    int x = x0 == -1 ? screen.x / 2 - (promptLength + field + 4) / 2 : x0;
    const int y = y0 == -1 ? screen.y / 2 - 2 : y0;
    int right = x + promptLength + field + 5;
    if (flags & BoxCentreX) {
        const int half = (right - x) / 2;
        x -= half;
        right -= half;
    }
    return {x, right, y};
}

short position(FuzzedDataProvider& in, int screen) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return -1;  // centred
        case 1:
            return in.ConsumeIntegral<short>();
        default:
            return static_cast<short>(in.ConsumeIntegralInRange(-8, screen + 2));
    }
}

void scriptKeys(FuzzedDataProvider& in, platform::MemoryConsole& console) {
    static constexpr int kUseful[] = {key::Esc, key::Enter, key::Backspace, 'y', 'Y', '-', ' ',
                                      '5',      'a'};
    std::uint64_t at = console.now();
    const int count = in.ConsumeIntegralInRange(0, 24);
    for (int i = 0; i < count; ++i) {
        at += in.ConsumeIntegralInRange<std::uint64_t>(1, 700) * 1000;
        switch (in.ConsumeIntegralInRange(0, 3)) {
            case 0:
                console.pushKeyAt(at, in.PickValueInArray(kUseful));
                break;
            case 1:  // a key without a character: a prefix and its code
                console.pushKeyAt(at, in.ConsumeBool() ? 0 : 224);
                console.pushKeyAt(at, in.ConsumeIntegralInRange(1, 255));
                break;
            default:
                console.pushKeyAt(at, in.ConsumeIntegralInRange(1, 255));
                break;
        }
    }
}

}  // namespace
}  // namespace orvask::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvask;
    using namespace orvask::fuzz;
    FuzzedDataProvider in(data, size);
    const platform::Coord screen = ConsumeScreenSize(in);
    const bool paging = in.ConsumeBool();
    const int flags = in.ConsumeIntegralInRange(0, 0x1FF);
    const int maxlen =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 3) : in.ConsumeIntegralInRange(-1, 300);
    const short x = position(in, screen.x);
    const short y = position(in, screen.y);
    const auto framefg = in.ConsumeIntegral<unsigned char>();
    const auto bg = in.ConsumeIntegral<unsigned char>();
    const auto textfg = in.ConsumeIntegral<unsigned char>();
    const std::string prompt = in.ConsumeRandomLengthString(40);

    GuardedConsole console(screen);
    console.blankAsFreshPages();
    if (paging) {
        vpinit();
        // Something to cover: cells of every kind, keep-colour markers and
        // control bytes included.
        for (int n = in.ConsumeIntegralInRange(0, 64); n > 0; --n) {
            const auto cx = static_cast<short>(in.ConsumeIntegralInRange(0, screen.x - 1));
            const auto cy = static_cast<short>(in.ConsumeIntegralInRange(0, screen.y - 1));
            Pxyp(cx, cy,
                 Cell{in.ConsumeIntegral<unsigned char>(), in.ConsumeIntegral<unsigned char>(),
                      in.ConsumeIntegral<unsigned char>()});
        }
        Page();
    }
    scriptKeys(in, console);
    const platform::ConsoleModel before = console.model();

    const bool yesNo = (flags & kYesNo) != 0;
    const std::size_t bytes = yesNo ? 2 : maxlen >= 0 ? static_cast<std::size_t>(maxlen) + 1 : 1;
    const auto buffer = std::make_unique<char[]>(bytes);
    std::memset(buffer.get(), 'Z', bytes);
    const int result =
        inputbox(x, y, prompt.c_str(), buffer.get(), maxlen, framefg, bg, textfg, flags);

    FUZZ_CHECK(result == 0 || result == 1, "inputbox returned %d", result);
    if (yesNo || maxlen >= 0) {
        FUZZ_CHECK(std::memchr(buffer.get(), '\0', bytes) != nullptr, "the text is not terminated");
    }
    const Area area =
        boxArea(screen, x, y, static_cast<int>(std::strlen(prompt.c_str())), maxlen, flags);
    for (int cy = 0; cy < screen.y; ++cy) {
        for (int cx = 0; cx < screen.x; ++cx) {
            const bool same = console.cell(cx, cy) == before.cell(cx, cy);
            if (paging) {
                FUZZ_CHECK(same, "cell %d,%d not restored", cx, cy);
            } else {
                FUZZ_CHECK(same || area.covers(cx, cy), "cell %d,%d drawn outside the box", cx, cy);
            }
        }
    }
    return 0;
}
