// The console library on a real terminal: set-up with its loading screen,
// drawing through the virtual pages, and the restore at exit.

#include <gtest/gtest.h>
#include <termios.h>

#include <string>

#include "term_harness/terminal.h"

namespace {

using term_harness::Options;
using term_harness::Terminal;

// A console colour (bit 0 blue, 1 green, 2 red, 3 bright) as the terminal's
// palette index (bit 0 red, 1 green, 2 blue, 3 bright).
int ansi(int consoleColour) {
    return (consoleColour & 1 ? 4 : 0) | (consoleColour & 2) | (consoleColour & 4 ? 1 : 0) |
           (consoleColour & 8);
}

std::string glyph(const Terminal& term, int x, int y) {
    return term.cell(x, y).utf8();
}

// The glyph of every cell in columns x1..x2 of row y.
std::string span(const Terminal& term, int x1, int x2, int y) {
    std::string out;
    for (int x = x1; x <= x2; ++x)
        out += glyph(term, x, y);
    return out;
}

// The row as UTF-8 up to its last non-blank cell.
std::string row(const Terminal& term, int y) {
    std::string text = term.rowText(y);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(ConsoleEndToEnd, LoadingScreenDrawingAndRestoreOnARealTerminal) {
    Terminal term(Options{.argv = {DRAWING_PROGRAM}, .cols = 80, .rows = 25});

    // The loading screen, drawn straight on the console.
    ASSERT_TRUE(term.waitForText("Press any key to continue...")) << term.screenText();
    EXPECT_TRUE(term.altScreen());
    EXPECT_EQ(term.title(), "Orvask drawing");
    EXPECT_EQ(row(term, 0), " This program is powered by");
    EXPECT_EQ(span(term, 0, 23, 2), " \u2502Orvask v1.2 for Win32 ");
    EXPECT_EQ(span(term, 1, 37, 1), "\u250C" + repeat("\u2500", 35) + "\u2510");
    EXPECT_EQ(span(term, 1, 37, 6), "\u2514" + repeat("\u2500", 35) + "\u2518");
    EXPECT_EQ(glyph(term, 37, 4), "\u2502");
    EXPECT_EQ(term.cell(1, 1).fg, ansi(15));
    EXPECT_EQ(term.cell(10, 2).fg, ansi(15)) << "1.2 in white";
    EXPECT_EQ(term.cell(18, 2).fg, ansi(9)) << "Win32 in blue";
    EXPECT_EQ(row(term, 8), " > Finding high-resolution performance counter... ok.");
    EXPECT_EQ(row(term, 9), " > Orvask loading finished.");
    EXPECT_EQ(row(term, 10), " > Press any key to continue...");
    EXPECT_EQ(term.cell(1, 9).fg, ansi(15));
    EXPECT_EQ(term.cell(3, 9).fg, ansi(7));

    // After a key: the scene, brought to the terminal by Page().
    ASSERT_TRUE(term.type("x"));
    ASSERT_TRUE(term.waitForText("Shadowed")) << term.screenText();
    ASSERT_TRUE(term.waitQuiet());
    EXPECT_FALSE(term.contains("This program")) << "the loading screen is gone";

    EXPECT_EQ(span(term, 2, 20, 1), "Orvask drawing test");
    EXPECT_EQ(term.cell(2, 1).fg, ansi(15));
    EXPECT_EQ(term.cell(9, 1).fg, ansi(14));
    EXPECT_EQ(term.cell(17, 1).fg, ansi(12));

    EXPECT_EQ(span(term, 4, 30, 4), "\u2554" + repeat("\u2550", 25) + "\u2557");
    EXPECT_EQ(span(term, 4, 30, 9), "\u255A" + repeat("\u2550", 25) + "\u255D");
    EXPECT_EQ(glyph(term, 4, 6), "\u2551");
    EXPECT_EQ(glyph(term, 30, 6), "\u2551");
    EXPECT_EQ(term.cell(4, 4).fg, ansi(14));
    EXPECT_EQ(term.cell(4, 4).bg, ansi(1));
    EXPECT_EQ(term.cell(15, 6).bg, ansi(1)) << "filled inside";
    EXPECT_EQ(term.cell(31, 6).bg, ansi(3)) << "the ground outside";

    EXPECT_EQ(span(term, 40, 49, 12), "\u250C" + repeat("\u2500", 8) + "\u2510");
    EXPECT_EQ(span(term, 40, 49, 13), "\u2502Shadowed\u2502");
    EXPECT_EQ(span(term, 40, 49, 14), "\u2514" + repeat("\u2500", 8) + "\u2518");
    EXPECT_EQ(term.cell(40, 12).fg, ansi(11));
    EXPECT_EQ(term.cell(41, 13).fg, ansi(15));
    EXPECT_EQ(term.cell(41, 13).bg, ansi(1));
    // The shadow: one row below and one column right, the ground darkened.
    EXPECT_EQ(term.cell(40, 15).bg, ansi(3));
    for (int x = 41; x <= 50; ++x)
        EXPECT_EQ(term.cell(x, 15).bg, ansi(8)) << x;
    EXPECT_EQ(term.cell(50, 13).bg, ansi(8));
    EXPECT_EQ(term.cell(50, 14).bg, ansi(8));
    EXPECT_EQ(term.cell(50, 12).bg, ansi(3));
    EXPECT_EQ(term.cell(51, 15).bg, ansi(3));

    // After the second key: a clean exit and the terminal as it was.
    ASSERT_TRUE(term.type("q"));
    const term_harness::ExitStatus status = term.waitForExit();
    EXPECT_TRUE(status.exitedWith(0)) << status;
    EXPECT_FALSE(term.altScreen());
    EXPECT_TRUE(term.cursorVisible());
    if (const auto modes = term.ttyModes()) {
        const tcflag_t cooked = ECHO | ICANON | ISIG;
        EXPECT_EQ(modes->c_lflag & cooked, term.initialModes().c_lflag & cooked);
    }
}

}  // namespace
