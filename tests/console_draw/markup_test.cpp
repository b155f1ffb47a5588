#include <gtest/gtest.h>

#include <string>

#include "draw_fixture.h"
#include "orvask/frames.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"

namespace orvask::test {
namespace {

using platform::Coord;

using MarkupTest = DrawTest;

TEST_F(MarkupTest, MenuLineColoursEachWord) {
    Pm(3, 16, "`yExit `H: `GEsc");
    EXPECT_EQ(text(3, 16, 11), "Exit : Esc ");
    for (int x = 3; x < 8; ++x)
        EXPECT_EQ(attrAt(x, 16), attr(LightGrey, Black)) << x;
    for (int x = 8; x < 10; ++x)
        EXPECT_EQ(attrAt(x, 16), attr(White, Black)) << x;
    for (int x = 10; x < 13; ++x)
        EXPECT_EQ(attrAt(x, 16), attr(Green, Black)) << x;
    EXPECT_EQ(cursorPos(), (Coord{13, 16})) << "ten cells written";
    EXPECT_EQ(getfg(), Green) << "the last markup colours stay current";
}

TEST_F(MarkupTest, TheByteAfterAColourCodeIsPrintedNotInterpreted) {
    Pm(0, 0, "`G0`g~`G9");
    EXPECT_EQ(text(0, 0, 4), "0~9 ");
    EXPECT_EQ(attrAt(0, 0), attr(Green, Black));
    EXPECT_EQ(attrAt(1, 0), attr(DarkGreen, Black));
    EXPECT_EQ(attrAt(2, 0), attr(Green, Black));
}

TEST_F(MarkupTest, NumberFieldsTakeTheArgumentsInOrder) {
    Pm(0, 0, "`0|`6|`2|", 1234, 42, 123);
    EXPECT_EQ(text(0, 0, 16), "1234|    42|12| ");
    Pm(0, 1, "`1`0`9", -7, 2147483647, -2147483647 - 1);
    EXPECT_EQ(text(0, 1, 12), "-2147483647-");
    Pm(0, 2, "`0`0`0`0`0`0`0`0", 1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_EQ(text(0, 2, 9), "12345678 ");
}

TEST_F(MarkupTest, ANinthNumberCodePrintsNothing) {
    Pm(0, 0, "`0`0`0`0`0`0`0`0`5!", 1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_EQ(text(0, 0, 10), "12345678! ");
}

TEST_F(MarkupTest, BacktickGlyphsAndBackgroundCodes) {
    Pm(0, 0,
       "a`~b\xff"
       "c");
    EXPECT_EQ(text(0, 0, 6), "a`b`c ");

    Pm(0, 1, "`*`-`|`<`>`^`v` x");
    EXPECT_EQ(text(0, 1, 9), std::string("\x0f\x1d\x12\x1b\x1a\x18\x19 x"));

    Pm(0, 2, "``<``>``^``v");
    EXPECT_EQ(text(0, 2, 4), std::string("\x11\x10\x1e\x1f"));

    setcolor(LightGrey, Black);
    Pm(0, 3, "``HX`!Y`aZ``dQ``SR");
    EXPECT_EQ(text(0, 3, 6), "XYZQR ");
    EXPECT_EQ(attrAt(0, 3), attr(LightGrey, White)) << "``H sets only the background";
    EXPECT_EQ(attrAt(1, 3), attr(Black, White)) << "unknown codes mean black";
    EXPECT_EQ(attrAt(2, 3), attr(Black, White));
    EXPECT_EQ(attrAt(3, 3), attr(Black, White)) << "``d changes nothing";
    EXPECT_EQ(attrAt(4, 3), attr(Black, White)) << "``S changes nothing";
}

TEST_F(MarkupTest, AlarmAndResetCodes) {
    setcolor(LightGrey, DarkBlue);
    Pm(0, 0, "`SA``gB`sC``gD`dE");
    EXPECT_EQ(attrAt(0, 0), attr(White, DarkRed));
    EXPECT_EQ(attrAt(1, 0), attr(White, DarkGreen));
    // In direct output the console's background is the last one emitted.
    EXPECT_EQ(attrAt(2, 0), attr(DarkCyan, DarkGreen));
    EXPECT_EQ(attrAt(4, 0), attr(LightGrey, DarkGreen));

    vpinit();
    setcolor(LightGrey, DarkBlue);
    Pm(0, 1, "``gB`sC");
    EXPECT_EQ(workingCell(1, 1)->bg, DarkBlue) << "paging: the background from before the call";
}

TEST_F(MarkupTest, CodePage949SwapsTwoGlyphs) {
    con().setInputCodePage(949);
    Pm(0, 0, "`v``>");
    EXPECT_EQ(text(0, 0, 2), std::string("\x1f>"));
    con().setInputCodePage(437);
    Pm(0, 1, "`v``>");
    EXPECT_EQ(text(0, 1, 2), std::string("\x19\x10"));
}

TEST_F(MarkupTest, TextIsCutAtTheRightEdge) {
    Pm(75, 3, "abcdefghij");
    EXPECT_EQ(text(75, 3, 5), "abcde");
    EXPECT_EQ(text(0, 4, 5), "     ") << "nothing continues on the next row";

    // A trailing byte after a code is emitted in the same step, past the edge.
    Pm(79, 5, "x`Ry");
    EXPECT_EQ(glyph(79, 5), 'x');
    EXPECT_EQ(glyph(0, 6), ' ');
    Pm(78, 7, "x`Ryz");
    EXPECT_EQ(glyph(79, 7), 'y');
    EXPECT_EQ(glyph(0, 8), ' ');

    // A number field printed in one step goes on at the start of the next row
    // as the console wraps it; from the last row it goes nowhere.
    Pm(77, 9, "`0!z", 12345);
    EXPECT_EQ(text(77, 9, 3), "123");
    EXPECT_EQ(text(0, 10, 4), "45! ");
    Pm(78, 24, "`0", 123);
    EXPECT_EQ(text(78, 24, 2), "1 ");
    EXPECT_EQ(text(0, 0, 2), "  ") << "nothing scrolled or wrapped round";
    // A row above the screen has no next row on it either.
    Pm(78, -1, "`0", 98765);
    EXPECT_EQ(text(0, 0, 3), "   ") << "nothing came down from above the screen";
}

TEST_F(MarkupTest, DirectOutputStopsBeforeTheBottomRightCellAndNeverScrolls) {
    Pm(0, 23, "above");
    Pm(77, 24, "ab`Wc");
    Pm(0, 24, "x\ny");
    EXPECT_EQ(text(77, 24, 3), "ab ");
    EXPECT_EQ(text(0, 24, 2), "x ");
    EXPECT_EQ(text(0, 23, 5), "above") << "nothing scrolled";
}

TEST_F(MarkupTest, DirectOutputFromOffTheScreenShowsOnlyItsPartOnTheScreenAtItsPlace) {
    std::string line;
    for (int i = 0; i < 200; ++i)
        line.push_back(static_cast<char>('A' + i % 26));
    gotoxy(5, 10);
    Pm(-120, 3, line.c_str());
    Pm(3, -1, "above the screen");
    EXPECT_EQ(con().rowText(3), line.substr(120, 80));
    for (int y = 0; y < 25; ++y) {
        if (y == 3) continue;
        EXPECT_EQ(con().rowText(y), std::string(80, ' ')) << y;
    }
}

TEST_F(MarkupTest, ABacktickGivenToTheEmitterLeavesTheColumnAlone) {
    vpinit();
    short x = 4;
    Pmch('`', White, Black, x, 2);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(workingCell(4, 2)->glyph, 0);
    Pmch('a', White, Black, x, 2);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(workingCell(4, 2)->glyph, 'a');
}

TEST_F(MarkupTest, PagingRefusesTheBottomRightCell) {
    vpinit();
    Pm(77, 24, "abc");
    EXPECT_EQ(con().takeOutput(), "");
    EXPECT_EQ(workingCell(77, 24)->glyph, 'a');
    EXPECT_EQ(workingCell(78, 24)->glyph, 'b');
    EXPECT_EQ(workingCell(79, 24)->glyph, 0);
}

TEST_F(MarkupTest, TextsEndingInBackticksEndAsAtTheTerminator) {
    Pm(0, 0, "ab`R`");
    EXPECT_EQ(text(0, 0, 3), "ab ");
    EXPECT_EQ(getfg(), Red);
    Pm(0, 1, "cd``");
    EXPECT_EQ(text(0, 1, 3), "cd ");
    Pm(0, 2, "`C");
    EXPECT_EQ(getfg(), Cyan) << "a colour code right before the terminator still applies";
}

TEST_F(MarkupTest, ColoursStayCurrentAfterTheTerminatorButNotAfterThePagedEdge) {
    Pm(0, 0, "x`Ry");
    EXPECT_EQ(getfg(), Red);
    EXPECT_EQ(con().attribute(), attr(Red, Black));

    vpinit();
    setcolor(LightGrey, Black);
    Pm(76, 0, "ab`Gcdefg");
    EXPECT_EQ(getfg(), LightGrey) << "printing that stops at the edge applies nothing";
    Pm(0, 1, "`Bab");
    EXPECT_EQ(getfg(), Blue);
}

TEST_F(MarkupTest, NullTextIsAnEmptyText) {
    setcolor(Cyan, Black);
    Pm(0, 0, nullptr);
    EXPECT_EQ(con().takeOutput(), "");
    EXPECT_EQ(con().attribute(), attr(Cyan, Black));
    textbox(0, 0, nullptr, White, Black, White, 0);
    EXPECT_EQ(text(0, 1, 2), std::string("\xb3\xb3")) << "an empty frame";
}

TEST_F(MarkupTest, PmcPrintsAtTheCursor) {
    gotoxy(4, 9);
    Pmc(" `H> `y`0 done", 7);
    EXPECT_EQ(text(4, 9, 9), " > 7 done");
    EXPECT_EQ(attrAt(5, 9), attr(White, Black));
    EXPECT_EQ(attrAt(7, 9), attr(LightGrey, Black));
}

TEST_F(MarkupTest, NewlinesGoToTheConsoleAsTheyAre) {
    Pm(5, 2, "ab\ncd");
    EXPECT_EQ(text(5, 2, 2), "ab");
    EXPECT_EQ(text(0, 3, 2), "cd");
}

TEST(MarkupCodes, ColcodeAndColpair) {
    const char* expected[16] = {"`k", "`b", "`g", "`c", "`r", "`m", "`w", "`y",
                                "`K", "`B", "`G", "`C", "`R", "`M", "`W", "`H"};
    char code[3];
    for (unsigned char c = 0; c < 16; ++c) {
        colcode(code, c);
        EXPECT_STREQ(code, expected[c]);
    }
    colcode(code, 16);
    EXPECT_STREQ(code, "`y");

    char pair[6];
    colpair(pair, 15, 1);
    EXPECT_STREQ(pair, "`H``b");
    colpair(pair, 14, 4);
    EXPECT_STREQ(pair, "`W``r");
}

TEST_F(MarkupTest, ColpairSelectsBothColours) {
    char pair[6];
    colpair(pair, White, DarkBlue);
    Pm(0, 0, (std::string(pair) + "Hi").c_str());
    EXPECT_EQ(text(0, 0, 3), "Hi ");
    EXPECT_EQ(attrAt(0, 0), attr(White, DarkBlue));
    EXPECT_EQ(attrAt(1, 0), attr(White, DarkBlue));
}

}  // namespace
}  // namespace orvask::test
