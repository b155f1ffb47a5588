// The markup printer, with and without pages, on arbitrary texts, arguments
// and positions:
//  * nothing is ever handed to the console that would land on the
//    bottom-right cell or scroll the screen;
//  * direct output shows exactly the glyphs that paged output shows after
//    Page() (so nothing is drawn outside the screen or away from its place),
//    except where a number field run past the right edge of a screen row
//    goes on at the start of the next row, as the console wraps it, which a
//    page refuses;
//  * after every Page() and Repaint the screen shows what the shown page
//    records, whatever the working page holds (markers, control bytes);
//  * the positioned and cursor prints never scroll either.

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <string>
#include <vector>

#include "guarded_console.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"

namespace orvask::fuzz {
namespace {

short anyCoordinate(FuzzedDataProvider& in, int screen) {
    // Mostly near the screen, sometimes anywhere in 16 bits.
    if (in.ConsumeBool()) return in.ConsumeIntegral<short>();
    return static_cast<short>(in.ConsumeIntegralInRange<int>(-3, screen + 2));
}

struct MarkupCall {
    short x;
    short y;
    std::string text;
    int args[8];
};

MarkupCall markupCall(FuzzedDataProvider& in, platform::Coord screen, bool keepNewlines) {
    MarkupCall call{anyCoordinate(in, screen.x), anyCoordinate(in, screen.y), {}, {}};
    for (int& a : call.args)
        a = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-99, 99);
    call.text = in.ConsumeRandomLengthString(120);
    // A newline in direct output goes on at the next row, as the console
    // takes it, while a page stores it as a glyph: compared runs leave it out.
    if (!keepNewlines) {
        for (char& c : call.text) {
            if (c == '\n') c = '\v';
        }
    }
    return call;
}

void print(const MarkupCall& c) {
    const auto& a = c.args;
    Pm(c.x, c.y, c.text.c_str(), a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
}

platform::Coord anyScreen(FuzzedDataProvider& in) {
    return {static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, 40)),
            static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, 12))};
}

// Whether direct output may have written this cell (a row-major index) where
// a page did not: where a call's number field wrapped onto the next row.
bool mayWrap(const std::vector<MarkupCall>& calls, platform::Coord screen, std::size_t cell) {
    for (const MarkupCall& c : calls) {
        if (mayWrapAfterRow(c.y, screen, static_cast<long>(cell))) return true;
    }
    return false;
}

// The same texts printed straight onto the console and through the pages.
void compareDirectAndPaged(FuzzedDataProvider& in) {
    const platform::Coord screen = anyScreen(in);
    std::vector<MarkupCall> calls;
    std::vector<bool> pageAfter;
    while (in.remaining_bytes() > 0 && calls.size() < 16) {
        calls.push_back(markupCall(in, screen, false));
        pageAfter.push_back(in.ConsumeBool());
    }

    std::string direct;
    {
        GuardedConsole console(screen);
        console.blankAsFreshPages();
        for (const MarkupCall& c : calls)
            print(c);
        direct = console.glyphs();
    }
    GuardedConsole console(screen);
    console.blankAsFreshPages();
    vpinit();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        print(calls[i]);
        if (pageAfter[i]) {
            Page();
            console.checkShownPageMatches();
        }
    }
    Page();
    console.checkShownPageMatches();
    const std::string paged = console.glyphs();
    for (std::size_t cell = 0; cell < direct.size(); ++cell) {
        FUZZ_CHECK(paged[cell] == direct[cell] || mayWrap(calls, screen, cell),
                   "direct and paged output differ at %d,%d", static_cast<int>(cell % screen.x),
                   static_cast<int>(cell / screen.x));
    }
}

// Page-aware drawing of every kind, Page() and Repaint.
void pagedDrawing(FuzzedDataProvider& in) {
    const platform::Coord screen = anyScreen(in);
    GuardedConsole console(screen);
    console.blankAsFreshPages();
    vpinit();
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 6)) {
            case 0:
                print(markupCall(in, screen, true));
                break;
            case 1: {
                const short x = anyCoordinate(in, screen.x);
                const short y = anyCoordinate(in, screen.y);
                Pxyp(x, y,
                     Cell{in.ConsumeIntegral<unsigned char>(), in.ConsumeIntegral<unsigned char>(),
                          in.ConsumeIntegral<unsigned char>()});
                break;
            }
            case 2:
                setcolor(in.ConsumeIntegralInRange<unsigned char>(0, 15),
                         in.ConsumeIntegralInRange<unsigned char>(0, 15));
                break;
            case 3:
                gotoxy(anyCoordinate(in, screen.x), anyCoordinate(in, screen.y));
                Pfill(anyCoordinate(in, screen.x), in.ConsumeIntegral<unsigned char>());
                break;
            case 4:
                clrscr(in.ConsumeIntegralInRange<unsigned char>(0, 15));
                break;
            case 5:
                Page();
                console.checkShownPageMatches();
                break;
            default:
                Repaint(anyCoordinate(in, screen.x), anyCoordinate(in, screen.y),
                        anyCoordinate(in, screen.x), anyCoordinate(in, screen.y));
                Repaint(0, 0, 0, 0);
                console.checkShownPageMatches();
                break;
        }
    }
    Page();
    console.checkShownPageMatches();
}

// Direct output at positions and at the cursor.
void directPrinting(FuzzedDataProvider& in) {
    const platform::Coord screen = anyScreen(in);
    GuardedConsole console(screen);
    while (in.remaining_bytes() > 0) {
        const short x = anyCoordinate(in, screen.x);
        const short y = anyCoordinate(in, screen.y);
        const auto fg = in.ConsumeIntegralInRange<unsigned char>(0, 15);
        switch (in.ConsumeIntegralInRange(0, 7)) {
            case 0:
                print(markupCall(in, screen, true));
                break;
            case 1:
                Pmc(in.ConsumeRandomLengthString(60).c_str(), in.ConsumeIntegral<int>());
                break;
            case 2:
                Pxy(x, y, in.ConsumeRandomLengthString(100).c_str(), fg, 0);
                break;
            case 3:
                Pxy(x, y, in.ConsumeIntegral<int>(), fg, 0);
                Pxy(x, y, in.ConsumeFloatingPoint<double>(), fg, 0);
                break;
            case 4:
                Pcur(in.ConsumeRandomLengthString(100).c_str(), fg, 0);
                break;
            case 5:
                Pcur(in.ConsumeIntegral<unsigned char>(), fg, 0);
                Pcur(in.ConsumeIntegral<int>(), fg, 0);
                break;
            case 6:
                gotoxy(x, y);
                break;
            default:
                Pfill(x, in.ConsumeIntegral<unsigned char>());
                break;
        }
    }
}

}  // namespace
}  // namespace orvask::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            orvask::fuzz::compareDirectAndPaged(in);
            break;
        case 1:
            orvask::fuzz::pagedDrawing(in);
            break;
        default:
            orvask::fuzz::directPrinting(in);
            break;
    }
    return 0;
}
