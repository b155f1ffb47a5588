// The first screens: what Orvask is, its colours and markup, its glyphs.

#include <cstdio>

#include "orvask/orvask.h"
#include "tour.h"

namespace tour {

using namespace orvask;

bool welcome(Tour& tour) {
    beginScreen(tour, "Welcome");
    Pm(4, 3, "`HOrvask`y is a small console library for text-mode programs:");
    Pm(6, 5, "`C*`y coloured output at any position, and inline colour `Wmarkup");
    Pm(6, 6, "`C*`y virtual pages: draw off-screen, show only what changed");
    Pm(6, 7, "`C*`y one key code space for characters, arrows, F-keys and Alt");
    Pm(6, 8, "`C*`y frames, text boxes and an input box with a spinning cursor");
    Pm(6, 9, "`C*`y timers, pacing delays and dice-style random numbers");
    Pm(4, 11, "Each screen of this tour shows one part of it, drawn by the part");
    Pm(4, 12, "itself. Use it from CMake or pkg-config:");
    Pm(6, 14, "`Kfind_package(`GOrvask`K)   target_link_libraries(app `GOrvask::orvask`K)");
    Pm(6, 15, "`Kc++ -std=c++20 app.cpp $(pkg-config --cflags --libs `Gorvask`K)");
    Pm(4, 17, "The whole program begins with `Wconinit(437, 80, 25, ConPages)`y and");
    Pm(4, 18, "ends with `Wconexit(80, 25)`y, which gives the terminal back.");
    Pm(4, 21, "Press any key to begin.");
    return waitForNext();
}

bool colours(Tour& tour) {
    beginScreen(tour, "Colours and markup");
    Pm(2, 2, "The 16 colours, with the markup letter that selects each one:");
    for (int c = 0; c < 16; ++c) {
        char code[3];
        colcode(code, static_cast<unsigned char>(c));
        // "`" + code turns the colour letter into a background code.
        char swatch[40];
        std::snprintf(swatch, sizeof swatch, "`%s    ``k `y%2d `K`~%c", code, c, code[1]);
        Pm(static_cast<short>(2 + (c % 4) * 19), static_cast<short>(4 + c / 4), swatch);
    }

    Pm(2, 9, "A backtick and one letter change the colour; two backticks the background:");
    const char* examples[] = {
        "`HWhite `RRed `GGreen `BBlue `WYellow",
        "``b`W yellow on blue ``k`y and back",
        "`yScore `W`0`y  field of 6 [`W`6`y]",
        "`SAlert!`d back to grey",
    };
    for (int i = 0; i < 4; ++i) {
        const short row = static_cast<short>(11 + 2 * i);
        Pm(4, row, ("`K" + visibleMarkup(examples[i])).c_str());
        Pm(44, row, examples[i], 1234, 42);
    }
    Pm(2, 20, "`K`~0 inserts the next number argument, `~1..`~9 in a field that wide.");
    return waitForNext();
}

bool glyphs(Tour& tour) {
    beginScreen(tour, "Glyphs");
    Pm(2, 2, "Markup codes that draw a glyph (code page 437 shapes):");
    const char* codes[] = {"`*", "`-",  "`|",  "`<",  "`>",  "`^",
                           "`v", "``<", "``>", "``^", "``v", "`~"};
    for (int i = 0; i < 12; ++i) {
        const auto x = static_cast<short>(4 + (i % 6) * 12);
        const auto y = static_cast<short>(4 + (i / 6) * 2);
        Pm(x, y, ("`K" + visibleMarkup(codes[i])).c_str());
        Pm(static_cast<short>(x + 5), y, (std::string("`W") + codes[i]).c_str());
    }

    Pm(2, 9, "The frame glyph tables, single and double lines (boxglyphs1, boxglyphs2):");
    for (int i = 0; i < 12; ++i) {
        const auto x = static_cast<short>(4 + 4 * i);
        Pxyp(x, 11, boxglyphs1[i], Cyan, Black);
        Pxyp(x, 13, boxglyphs2[i], Yellow, Black);
        Pm(x, 15, "`K`0", i);
    }
    Pm(2, 18, "`yAny byte 1..255 can be put in a cell: `WPxyp(x, y, 3, Red, Black)`y gives ");
    Pxyp(72, 18, 3, Red, Black);
    return waitForNext();
}

}  // namespace tour
