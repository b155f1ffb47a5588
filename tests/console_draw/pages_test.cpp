#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "draw_fixture.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/setup.h"

namespace orvask::test {
namespace {

using platform::Coord;

class PagesTest : public DrawTest {
  protected:
    PagesTest() { vpinit(); }
};

TEST_F(PagesTest, FreshPagesAreInitialAndPageDrawsNothing) {
    ASSERT_TRUE(vpon());
    const Cell* cell = workingCell(79, 24);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->glyph, 0);
    EXPECT_EQ(cell->fg, LightGrey);
    EXPECT_EQ(cell->bg, Black);
    EXPECT_NE(shownCell(0, 0), workingCell(0, 0));
    Page();
    EXPECT_EQ(con().bytesWritten(), 0u);
}

TEST_F(PagesTest, PageDrawsExactlyTheChangedCellsOnce) {
    EXPECT_TRUE(Pxyp(3, 4, 'A', Yellow, DarkBlue));
    EXPECT_TRUE(Pxyp(70, 20, Cell{'B', Red, Black}));
    EXPECT_EQ(con().takeOutput(), "") << "page writes never touch the console";
    Page();
    EXPECT_EQ(con().takeOutput(), "AB") << "row by row: (3,4) before (70,20)";
    EXPECT_EQ(glyph(3, 4), 'A');
    EXPECT_EQ(attrAt(3, 4), 0x1E);
    EXPECT_EQ(attrAt(70, 20), attr(Red, Black));
    EXPECT_EQ(shownCell(3, 4)->glyph, 'A');
    EXPECT_EQ(workingCell(3, 4)->glyph, 'A') << "the working page keeps its content";
    EXPECT_EQ(getfg(), Red) << "the colours of the last cell drawn";

    Page();
    EXPECT_EQ(con().takeOutput(), "");

    Pxyp(3, 4, 'A', Yellow, DarkBlue);  // what is already shown
    Pxyp(5, 4, 'C', Yellow, DarkBlue);
    Page();
    EXPECT_EQ(con().takeOutput(), "C");
}

TEST_F(PagesTest, PxypRefusesPositionsThatAreNotWritable) {
    EXPECT_FALSE(Pxyp(79, 24, 'X', White, Red));
    EXPECT_FALSE(Pxyp(-1, 0, 'X', White, Red));
    EXPECT_FALSE(Pxyp(80, 0, Cell{'X', White, Red}));
    EXPECT_FALSE(Pxyp(0, 25, Cell{'X', White, Red}));
    EXPECT_EQ(workingCell(79, 24)->glyph, 0);
    EXPECT_EQ(workingCell(80, 0), nullptr);
    EXPECT_EQ(shownCell(0, -1), nullptr);
}

TEST_F(PagesTest, MarkersResolveOnStoreOrOnDrawing) {
    setcolor(Green, DarkBlue);
    Pxyp(0, 0, 'r', KeepFg, KeepBg);
    Pxyp(1, 0, Cell{'u', KeepFg, KeepBg});
    EXPECT_EQ(workingCell(0, 0)->fg, Green);
    EXPECT_EQ(workingCell(0, 0)->bg, DarkBlue);
    EXPECT_EQ(workingCell(1, 0)->fg, KeepFg) << "the three-byte write stores what it gets";
    EXPECT_EQ(workingCell(1, 0)->bg, KeepBg);

    setcolor(Magenta, Black);
    Page();
    EXPECT_EQ(attrAt(0, 0), attr(Green, DarkBlue));
    // Drawn after (0,0), so the markers meet the colours that cell applied.
    EXPECT_EQ(attrAt(1, 0), attr(Green, DarkBlue));
    // The shown page records the colours as drawn, so a repaint in other
    // colours brings back exactly what was shown.
    EXPECT_EQ(shownCell(1, 0)->fg, Green);
    setcolor(Red, Red);
    Repaint(1, 0, 1, 0);
    EXPECT_EQ(attrAt(1, 0), attr(Green, DarkBlue));
}

TEST_F(PagesTest, ANewlineInAPageShowsAsABlankAndNeverScrolls) {
    Pxyp(0, 23, 'a', White, Black);
    Pm(3, 24, "b\nc");
    Page();
    EXPECT_EQ(text(0, 23, 1), "a") << "nothing scrolled";
    EXPECT_EQ(text(3, 24, 3), "b c");
    EXPECT_EQ(shownCell(4, 24)->glyph, ' ') << "the shown page holds what the screen shows";
    con().takeOutput();
    Page();
    EXPECT_EQ(con().takeOutput(), "") << "nor is the cell drawn again";
    Repaint(0, 0, 0, 0);
    EXPECT_EQ(text(0, 23, 1), "a");
    EXPECT_EQ(text(3, 24, 3), "b c");
}

TEST_F(PagesTest, MkcellAndCellcmp) {
    setcolor(Cyan, Brown);
    Cell a{};
    mkcell(&a, 'x', KeepFg, Red);
    EXPECT_EQ(a.fg, Cyan);
    EXPECT_EQ(a.bg, Red);
    Cell b = a;
    EXPECT_TRUE(cellcmp(&a, &b));
    b.bg = Black;
    EXPECT_FALSE(cellcmp(&a, &b));
    b = a;
    b.glyph = 'y';
    EXPECT_FALSE(cellcmp(&a, &b));
}

TEST_F(PagesTest, ClrscrFillsTheWorkingPageUntilPage) {
    setcolor(Yellow, Green);
    clrscr(DarkBlue);
    EXPECT_EQ(con().bytesWritten(), 0u);
    EXPECT_EQ(cursorPos(), (Coord{0, 0}));
    EXPECT_EQ(getfg(), Yellow);
    EXPECT_EQ(getbg(), Green);
    Page();
    EXPECT_EQ(con().takeOutput(), std::string(80 * 25 - 1, ' '));
    EXPECT_EQ(attrAt(0, 0), attr(Black, DarkBlue));
    EXPECT_EQ(attrAt(78, 24), attr(Black, DarkBlue));
    EXPECT_EQ(attrAt(79, 24), attr(LightGrey, Black)) << "the bottom-right cell is skipped";
    EXPECT_EQ(workingCell(79, 24)->glyph, 0);
}

TEST_F(PagesTest, RepaintRedrawsTheShownPageInTheRectangle) {
    Pxyp(10, 3, 'a', White, Black);
    Page();
    con().takeOutput();
    Pxyp(11, 3, 'b', White, Black);  // not shown yet: Repaint ignores it
    con().model().cell(10, 3) = {'?', 0x07};

    Repaint(10, 3, 30, 5);
    const std::string drawn = con().takeOutput();
    EXPECT_EQ(drawn.size(), 63u);
    EXPECT_EQ(drawn[0], 'a');
    EXPECT_EQ(drawn[1], '\0');
    EXPECT_EQ(glyph(10, 3), 'a');
    EXPECT_EQ(attrAt(10, 3), attr(White, Black));

    Repaint(0, 0, 0, 0);
    EXPECT_EQ(con().takeOutput().size(), 80u * 25u - 1u);

    Repaint(75, 20, 90, 30);  // clipped to the page
    EXPECT_EQ(con().takeOutput().size(), 5u * 5u - 1u);
}

TEST_F(PagesTest, ResizeWithPagingOnStartsTheCellsAfresh) {
    Pxyp(1, 1, 'z', White, Black);
    con().setBufferSize({40, 10});
    consize(40, 10);
    ASSERT_TRUE(vpon());
    EXPECT_NE(workingCell(39, 9), nullptr);
    EXPECT_EQ(workingCell(40, 0), nullptr);
    EXPECT_EQ(workingCell(1, 1)->glyph, 0);
    con().takeOutput();
    Page();
    EXPECT_EQ(con().takeOutput(), "");
}

using DirectClearTest = DrawTest;

TEST_F(DirectClearTest, ClrscrKeepsTheColoursAndTheBottomRightCell) {
    paintConsole('@');
    setcolor(Yellow, Green);
    gotoxy(30, 10);
    clrscr(DarkBlue);
    EXPECT_EQ(cursorPos(), (Coord{0, 0}));
    EXPECT_EQ(text(0, 0, 80), std::string(80, ' '));
    EXPECT_EQ(attrAt(40, 12), attr(Black, DarkBlue));
    EXPECT_EQ(glyph(78, 24), ' ');
    EXPECT_EQ(glyph(79, 24), '@');
    EXPECT_EQ(getfg(), Yellow);
    EXPECT_EQ(getbg(), Green);

    setcolor(LightGrey, Black);
    clrscr(Black);
    Pcur("hi", KeepFg, KeepBg);
    EXPECT_EQ(attrAt(0, 0), attr(LightGrey, Black)) << "text after a clear is light grey";
}

TEST_F(DirectClearTest, AccessorsAreNullWithoutPages) {
    EXPECT_FALSE(vpon());
    EXPECT_EQ(shownCell(0, 0), nullptr);
    EXPECT_EQ(workingCell(0, 0), nullptr);
    Repaint(0, 0, 0, 0);
    EXPECT_EQ(con().bytesWritten(), 0u);
}

// Death tests: conerror ends the child process; everything it wrote to the
// console is copied to stderr on the way out so the message can be matched.
platform::MemoryConsole* reportingConsole = nullptr;

void copyConsoleOutputToStderr() {
    const std::string out = reportingConsole->takeOutput();
    std::fwrite(out.data(), 1, out.size(), stderr);
}

class PagesDeathTest : public DrawTest {
  protected:
    void reportOnExit() {
        reportingConsole = &con();
        std::atexit(copyConsoleOutputToStderr);
    }
};

TEST_F(PagesDeathTest, PageOperationsWithoutPagesEndOnTheErrorScreen) {
    EXPECT_EXIT(
        {
            reportOnExit();
            Pxyp(1, 1, 'x', White, Black);
        },
        ::testing::ExitedWithCode(1), "ERROR: \\s+There's no page to apply Pxyp\\(\\)\\.");
    EXPECT_EXIT(
        {
            reportOnExit();
            Pxyp(1, 1, Cell{'x', White, Black});
        },
        ::testing::ExitedWithCode(1), "There's no page to apply Pxyp\\(\\)\\.");
    EXPECT_EXIT(
        {
            reportOnExit();
            Page();
        },
        ::testing::ExitedWithCode(1), "There's no page to apply Page\\(\\)\\.");
}

TEST_F(PagesDeathTest, FailedAllocationLeavesNoPagesBehind) {
    // Fail at each kind of block: either column array, a first or last column.
    // Half-built pages left in place would crash the error screen's clear.
    const long failAt[] = {0, 1, 80, 81, 82, 161};
    for (const long n : failAt) {
        EXPECT_EXIT(
            {
                reportOnExit();
                detail::limitPageAllocations(n);
                vpinit();
            },
            ::testing::ExitedWithCode(1), "Not enough memory for virtual paging")
            << "allocation " << n;
    }
}

}  // namespace
}  // namespace orvask::test
