#include <gtest/gtest.h>

#include "draw_fixture.h"
#include "orvask/output.h"
#include "orvask/pages.h"

namespace orvask::test {
namespace {

using platform::Coord;

using CursorTest = DrawTest;

TEST_F(CursorTest, GotoxyRefusesTheBottomRightCellAndPositionsOutsideTheScreen) {
    ASSERT_TRUE(gotoxy(5, 7));
    EXPECT_FALSE(gotoxy(79, 24));
    EXPECT_FALSE(gotoxy(-1, 0));
    EXPECT_FALSE(gotoxy(0, 25));
    EXPECT_FALSE(gotoxy(80, 0));
    EXPECT_EQ(cursorPos(), (Coord{5, 7})) << "a refused move leaves the cursor alone";

    EXPECT_TRUE(gotoxy(79, 23));
    EXPECT_EQ(cursorPos(), (Coord{79, 23}));
    EXPECT_TRUE(gotoxy(78, 24));
    EXPECT_EQ(wherex(), 78);
    EXPECT_EQ(wherey(), 24);
}

TEST_F(CursorTest, NothingIsWritableBeforeTheScreenIsSized) {
    detail::recordScreenSize(0, 0);
    EXPECT_FALSE(inscr(0, 0));
    EXPECT_FALSE(Pxy(0, 0, "x", White, Black));
    EXPECT_EQ(con().takeOutput(), "");
}

TEST_F(CursorTest, WhereReadsTheConsoleEveryCall) {
    con().setCursorPosition({11, 3});
    EXPECT_EQ(wherex(), 11);
    EXPECT_EQ(wherey(), 3);
    con().write("abc", 3);
    EXPECT_EQ(wherex(), 14);
}

TEST_F(CursorTest, CursorModesSetSizeAndVisibility) {
    cursor(0);
    EXPECT_FALSE(con().model().cursorVisible);
    EXPECT_EQ(con().model().cursorSize, 1);
    cursor(1);
    EXPECT_TRUE(con().model().cursorVisible);
    EXPECT_EQ(con().model().cursorSize, 100);
    cursor(2);
    EXPECT_TRUE(con().model().cursorVisible);
    EXPECT_EQ(con().model().cursorSize, 20);
    cursor(7);
    cursor(-1);
    EXPECT_TRUE(con().model().cursorVisible);
    EXPECT_EQ(con().model().cursorSize, 20);
}

using ColourTest = DrawTest;

TEST_F(ColourTest, MarkersKeepTheCurrentColours) {
    setcolor(Yellow, DarkBlue);
    EXPECT_EQ(con().attribute(), 0x1E);
    setcolor(KeepFg, KeepBg);
    EXPECT_EQ(con().attribute(), 0x1E);
    setcolor(Red, KeepBg);
    EXPECT_EQ(con().attribute(), 0x1C);
    setcolor(KeepFg, Green);
    EXPECT_EQ(getfg(), Red);
    EXPECT_EQ(getbg(), Green);

    setcolor(LightGrey, DarkBlue);
    setfg(Red);
    EXPECT_EQ(con().attribute(), 0x1C);
    setbg(KeepBg);
    EXPECT_EQ(con().attribute(), 0x1C);
    setfg(KeepFg);
    EXPECT_EQ(getfg(), Red);
    setbg(Brown);
    EXPECT_EQ(con().attribute(), 0x6C);
    EXPECT_EQ(getbg(), Brown);
}

TEST_F(ColourTest, BrighterAndDarkerFollowThePalette) {
    const unsigned char brighterOf[16] = {8, 9,  10, 11, 12, 13, 14, 15,
                                          7, 15, 15, 15, 15, 15, 15, 15};
    const unsigned char darkerOf[16] = {0, 0, 8, 8, 0, 0, 8, 8, 0, 1, 2, 3, 4, 5, 6, 7};
    for (unsigned char c = 0; c < 16; ++c) {
        EXPECT_EQ(brighter(c), brighterOf[c]) << int{c};
        EXPECT_EQ(darker(c), darkerOf[c]) << int{c};
    }
    EXPECT_EQ(brighter(200), 15);
    EXPECT_EQ(darker(255), 247);

    Cell cell{'Q', Yellow, DarkGreen};
    darkcell(&cell);
    EXPECT_EQ(cell.glyph, 'Q');
    EXPECT_EQ(cell.fg, Brown);
    EXPECT_EQ(cell.bg, DarkGrey);
}

using PrintTest = DrawTest;

TEST_F(PrintTest, PxyPrintsEachValueTypeAtItsPlaceInItsColours) {
    EXPECT_TRUE(Pxy(2, 1, "50% off", Yellow, DarkBlue));
    EXPECT_EQ(text(2, 1, 7), "50% off");
    EXPECT_EQ(attrAt(2, 1), 0x1E);
    EXPECT_EQ(attrAt(8, 1), 0x1E);

    EXPECT_TRUE(Pxy(0, 2, static_cast<unsigned char>(219), White, Red));
    EXPECT_EQ(glyph(0, 2), 219);
    EXPECT_EQ(attrAt(0, 2), attr(White, Red));
    EXPECT_TRUE(Pxy(1, 2, 'z', Green, Black));
    EXPECT_EQ(glyph(1, 2), 'z');

    EXPECT_TRUE(Pxy(0, 3, -1234, LightGrey, Black));
    EXPECT_EQ(text(0, 3, 6), "-1234 ");
    EXPECT_TRUE(Pxy(0, 4, 3.14159, LightGrey, Black));
    EXPECT_EQ(text(0, 4, 5), "3.14 ");
    EXPECT_TRUE(Pxy(0, 5, 2.0, LightGrey, Black));
    EXPECT_EQ(text(0, 5, 5), "2.00 ");
    EXPECT_TRUE(Pxy(0, 6, -1e300, LightGrey, Black));
    EXPECT_EQ(cursorPos(), (Coord{65, 9})) << "the 305 characters wrap over four rows";

    EXPECT_TRUE(Pxy(4, 7, Cell{'#', Cyan, Magenta}));
    EXPECT_EQ(glyph(4, 7), '#');
    EXPECT_EQ(attrAt(4, 7), attr(Cyan, Magenta));
    EXPECT_EQ(getfg(), Cyan);
    EXPECT_EQ(getbg(), Magenta);
}

TEST_F(PrintTest, RefusedPositionsChangeNothing) {
    setcolor(Green, Black);
    gotoxy(3, 3);
    con().takeOutput();
    EXPECT_FALSE(Pxy(79, 24, "X", White, Red));
    EXPECT_FALSE(Pxy(-1, 0, 'X', White, Red));
    EXPECT_FALSE(Pxy(0, 25, 7, White, Red));
    EXPECT_FALSE(Pxy(80, 0, 1.5, White, Red));
    EXPECT_FALSE(Pxy(79, 24, Cell{'X', White, Red}));
    EXPECT_EQ(con().takeOutput(), "");
    EXPECT_EQ(cursorPos(), (Coord{3, 3}));
    EXPECT_EQ(getfg(), Green);
    EXPECT_EQ(con().attribute(), attr(Green, Black));
}

TEST_F(PrintTest, NullTextPrintsNothing) {
    EXPECT_TRUE(Pxy(2, 2, static_cast<const char*>(nullptr), Red, Black));
    Pcur(static_cast<const char*>(nullptr), Green, Black);
    EXPECT_EQ(con().takeOutput(), "");
    EXPECT_EQ(getfg(), Green);
}

TEST_F(PrintTest, TextPastTheRightEdgeWrapsLikeTheConsole) {
    EXPECT_TRUE(Pxy(78, 0, "abcd", White, Black));
    EXPECT_EQ(text(78, 0, 2), "ab");
    EXPECT_EQ(text(0, 1, 2), "cd");
}

TEST_F(PrintTest, OutputStopsBeforeTheBottomRightCellAndNeverScrolls) {
    Pxy(0, 23, "above", White, Black);
    EXPECT_TRUE(Pxy(78, 23, "abcdef", White, Black));  // wraps onto the last row
    EXPECT_TRUE(Pxy(75, 24, "ghijklm", White, Black));
    EXPECT_EQ(cursorPos(), (Coord{79, 24}));
    Pcur('n', White, Black);
    Pcur(123, White, Black);
    Pxy(74, 24, 123456, White, Black);
    Pxy(10, 24, "o\np", White, Black);
    EXPECT_EQ(text(0, 23, 5), "above") << "nothing scrolled";
    EXPECT_EQ(text(78, 23, 2), "ab");
    EXPECT_EQ(text(0, 24, 12), "cdef      o ");
    EXPECT_EQ(text(74, 24, 6), "12345 ");
}

TEST_F(PrintTest, PcurPrintsAtTheCursorAndPnlMovesDown) {
    gotoxy(10, 4);
    Pcur("ab", Red, Black);
    Pcur('c', Green, Black);
    Pcur(static_cast<unsigned char>(1), Green, Black);
    Pcur(42, Blue, White);
    Pcur(0.5, KeepFg, Black);
    Pcur(Cell{'!', Yellow, KeepBg});
    EXPECT_EQ(text(10, 4, 12), std::string("abc\x01"
                                           "420.50! "));
    EXPECT_EQ(attrAt(10, 4), attr(Red, Black));
    EXPECT_EQ(attrAt(14, 4), attr(Blue, White));
    EXPECT_EQ(attrAt(16, 4), attr(Blue, Black)) << "KeepFg takes the current foreground";
    EXPECT_EQ(attrAt(20, 4), attr(Yellow, Black)) << "a cell's marker resolves on printing";

    Pnl(2);
    EXPECT_EQ(cursorPos(), (Coord{0, 6}));
    Pnl(0);
    Pnl(-3);
    EXPECT_EQ(cursorPos(), (Coord{0, 6}));
}

TEST_F(PrintTest, PfillStopsBeforeTheBottomRightCellOnTheLastRow) {
    setcolor(Yellow, Red);
    gotoxy(0, 24);
    Pfill(200, '-');
    EXPECT_EQ(con().takeOutput(), std::string(79, '-'));
    EXPECT_EQ(glyph(79, 24), ' ');
    EXPECT_EQ(attrAt(0, 24), attr(Yellow, Red));

    gotoxy(0, 10);
    Pfill(200, '=');
    EXPECT_EQ(con().takeOutput(), std::string(80, '='));

    gotoxy(5, 12);
    Pfill(7, '*');
    EXPECT_EQ(con().takeOutput(), "***");
    EXPECT_EQ(text(4, 12, 5), " *** ");

    gotoxy(9, 13);
    Pfill(8, '*');
    EXPECT_EQ(con().takeOutput(), "") << "a cursor beyond endx writes nothing";
}

TEST_F(PrintTest, PfillGoesToTheWorkingPageWhenPagingIsOn) {
    vpinit();
    setcolor(Green, DarkBlue);
    gotoxy(76, 24);
    Pfill(100, '#');
    EXPECT_EQ(con().takeOutput(), "") << "nothing reaches the console before Page()";
    EXPECT_EQ(cursorPos(), (Coord{76, 24}));
    for (short x = 76; x <= 78; ++x) {
        const Cell* cell = workingCell(x, 24);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->glyph, '#');
        EXPECT_EQ(cell->fg, Green);
        EXPECT_EQ(cell->bg, DarkBlue);
    }
    EXPECT_EQ(workingCell(79, 24)->glyph, 0);
}

}  // namespace
}  // namespace orvask::test
