#include <gtest/gtest.h>

#include <string>

#include "draw_fixture.h"
#include "orvask/frames.h"
#include "orvask/output.h"
#include "orvask/pages.h"

namespace orvask::test {
namespace {

using platform::Coord;

// Single-line glyphs of code page 437.
constexpr unsigned char H1 = 196, V1 = 179, TL1 = 218, TR1 = 191, BR1 = 217, BL1 = 192;
// Double-line glyphs.
constexpr unsigned char H2 = 205, V2 = 186, TL2 = 201, TR2 = 187, BR2 = 188, BL2 = 200;

std::string bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

using BoxTest = SmallScreenTest;

TEST_F(BoxTest, SingleFrameLeavesTheInsideAlone) {
    paintConsole('.');
    box(1, 1, 5, 4, White, DarkBlue, 0);
    EXPECT_EQ(text(1, 1, 5), bytes({TL1, H1, H1, H1, TR1}));
    EXPECT_EQ(text(1, 2, 5), bytes({V1, '.', '.', '.', V1}));
    EXPECT_EQ(text(1, 3, 5), bytes({V1, '.', '.', '.', V1}));
    EXPECT_EQ(text(1, 4, 5), bytes({BL1, H1, H1, H1, BR1}));
    EXPECT_EQ(attrAt(1, 1), attr(White, DarkBlue));
    EXPECT_EQ(attrAt(2, 2), attr(LightGrey, Black));
    EXPECT_EQ(getfg(), White) << "direct drawing leaves the box colours current";
}

TEST_F(BoxTest, CornersInEitherOrderDrawTheSameDoubleFrame) {
    box(6, 4, 1, 1, Yellow, Black, BoxDouble);
    const std::string first = con().takeOutput();
    EXPECT_EQ(text(1, 1, 6), bytes({TL2, H2, H2, H2, H2, TR2}));
    EXPECT_EQ(text(1, 2, 6), bytes({V2, ' ', ' ', ' ', ' ', V2}));
    EXPECT_EQ(text(1, 4, 6), bytes({BL2, H2, H2, H2, H2, BR2}));
    box(1, 1, 6, 4, Yellow, Black, BoxDouble);
    EXPECT_EQ(con().takeOutput(), first);
}

TEST_F(BoxTest, OneCellIsTheSolidBlockWhateverTheStyle) {
    for (int style : {0, 1, 2, 4, 6, 15}) {
        paintConsole('.');
        box(3, 3, 3, 3, Red, Black, style);
        EXPECT_EQ(con().takeOutput(), bytes({254})) << "style " << style;
        EXPECT_EQ(text(2, 3, 3), bytes({'.', 254, '.'}));
    }
}

TEST_F(BoxTest, OneColumnAndOneRowBoxesShowTheLaterCorners) {
    box(4, 0, 4, 3, White, Black, 0);
    EXPECT_EQ(glyph(4, 0), TR1);
    EXPECT_EQ(glyph(4, 1), V1);
    EXPECT_EQ(glyph(4, 2), V1);
    EXPECT_EQ(glyph(4, 3), BR1);

    box(1, 5, 5, 5, White, Black, 0);
    EXPECT_EQ(text(1, 5, 5), bytes({BL1, H1, H1, H1, BR1}));
}

TEST_F(BoxTest, BlankFilledBoxErasesTheRectangle) {
    paintConsole('.');
    setcolor(Green, Black);
    box(0, 0, 3, 3, KeepFg, Black, BoxBlank | BoxFill);
    for (int y = 0; y <= 3; ++y)
        EXPECT_EQ(text(0, y, 5), "    .") << y;
    EXPECT_EQ(attrAt(1, 1), attr(Green, Black));
}

TEST_F(BoxTest, BoxesBeyondTheScreenAreClippedAndSpareTheBottomRightCell) {
    paintConsole('.');
    box(8, 3, 20, 9, White, Black, BoxFill);
    EXPECT_EQ(glyph(8, 3), TL1);
    EXPECT_EQ(text(9, 3, 3), bytes({H1, H1, H1}));
    EXPECT_EQ(text(9, 5, 2), "  ");
    EXPECT_EQ(glyph(11, 5), '.') << "the bottom-right cell";
}

TEST_F(BoxTest, BoxesAtTheEdgesOfTheCoordinatesAreClippedOrRefused) {
    box(-32768, -32768, 32767, 32767, White, Black, BoxFill);
    EXPECT_EQ(con().takeOutput(), std::string(12 * 6 - 1, ' ')) << "the screen is all inside";

    // Frames whose right edge, bottom or shadow would pass 32767 (or whose
    // left edge would pass -32768) would wrap round across the screen.
    textbox(32765, 0, "abcdef", White, Black, White, 0);
    textbox(-32768, 0, "abcdef", White, Black, White, BoxCentreX);
    textbox(0, 32766, "abc", White, Black, White, 0);
    EXPECT_EQ(con().takeOutput(), "");
}

TEST_F(BoxTest, WithPagingTheFrameWaitsForPageUnlessDirect) {
    vpinit();
    box(1, 1, 4, 3, White, Black, BoxFill);
    EXPECT_EQ(con().bytesWritten(), 0u);
    EXPECT_EQ(workingCell(1, 1)->glyph, TL1);
    EXPECT_EQ(workingCell(2, 2)->glyph, ' ');
    Page();
    EXPECT_EQ(glyph(1, 1), TL1);

    box(6, 1, 9, 3, White, Black, BoxFill | BoxDirect);
    EXPECT_EQ(glyph(6, 1), TL1);
    EXPECT_EQ(workingCell(6, 1)->glyph, 0) << "direct drawing bypasses the page";
}

using TextBoxTest = DrawTest;

TEST_F(TextBoxTest, CentredFiveLetterText) {
    textbox(-1, -1, "Hello", White, DarkBlue, Yellow, BoxCentreX);
    EXPECT_EQ(text(37, 10, 7), bytes({TL1, H1, H1, H1, H1, H1, TR1}));
    EXPECT_EQ(text(37, 11, 7), bytes({V1, 'H', 'e', 'l', 'l', 'o', V1}));
    EXPECT_EQ(text(37, 12, 7), bytes({BL1, H1, H1, H1, H1, H1, BR1}));
    EXPECT_EQ(glyph(36, 11), ' ');
    EXPECT_EQ(glyph(44, 11), ' ');
    EXPECT_EQ(attrAt(37, 10), attr(White, DarkBlue));
    EXPECT_EQ(attrAt(38, 11), attr(Yellow, DarkBlue));
    EXPECT_EQ(getfg(), Yellow) << "the text's markup colours stay current";
}

TEST_F(TextBoxTest, LeftEdgeAtTheCentreAndTheFrameFitsThePrintedCells) {
    textbox(-1, 2, "`Rab", White, Black, LightGrey, 0);
    EXPECT_EQ(glyph(40, 2), TL1);
    EXPECT_EQ(glyph(43, 2), TR1) << "two cells of text: right edge at x + 3";
    EXPECT_EQ(text(41, 3, 3), bytes({'a', 'b', V1}));
    EXPECT_EQ(attrAt(41, 3), attr(Red, Black));

    textbox(0, 5, "n=`7", White, Black, LightGrey, 0);  // a seven-cell number field
    EXPECT_EQ(text(0, 6, 11), bytes({V1}) + "n=      0" + bytes({V1}));
}

TEST_F(TextBoxTest, KeepColourValuesKeepTheColoursOfTheCall) {
    setcolor(Yellow, DarkBlue);
    textbox(0, 0, "hi", KeepFg, KeepBg, KeepFg, 0);
    EXPECT_EQ(text(1, 1, 2), "hi");
    EXPECT_EQ(attrAt(0, 0), attr(Yellow, DarkBlue));
    EXPECT_EQ(attrAt(1, 1), attr(Yellow, DarkBlue));
}

TEST_F(TextBoxTest, ShadowDimsThePageBelowAndRight) {
    vpinit();
    clrscr(Green);
    Pxyp(12, 8, Cell{'m', KeepFg, KeepBg});  // shows in the colours of the moment
    setcolor(White, Green);
    textbox(10, 5, "abc", White, Blue, White, BoxShadow);
    EXPECT_EQ(con().takeOutput(), "");
    EXPECT_EQ(workingCell(12, 8)->fg, LightGrey) << "a kept colour darkens like any other";
    const int right = 14;
    for (int x = 11; x <= right + 1; ++x) {
        EXPECT_EQ(workingCell(static_cast<short>(x), 8)->bg, DarkGreen) << x;
    }
    EXPECT_EQ(workingCell(10, 8)->bg, Green);
    EXPECT_EQ(workingCell(right + 1, 6)->bg, DarkGreen);
    EXPECT_EQ(workingCell(right + 1, 7)->bg, DarkGreen);
    EXPECT_EQ(workingCell(right + 1, 5)->bg, Green);
    EXPECT_EQ(workingCell(right, 7)->bg, Blue) << "the frame itself is not dimmed";

    // A kept-colour cell already on the screen darkens from the colours it
    // shows in (those of the cell drawn before it), not from those current now.
    Pxyp(10, 12, Cell{'r', Yellow, Red});
    Pxyp(11, 12, Cell{'s', KeepFg, KeepBg});
    Page();
    setcolor(White, Green);
    textbox(10, 9, "abc", White, Blue, White, BoxShadow);
    EXPECT_EQ(workingCell(11, 12)->fg, Brown);
    EXPECT_EQ(workingCell(11, 12)->bg, DarkRed);
}

TEST_F(TextBoxTest, NoShadowWithoutPaging) {
    paintConsole('.');
    textbox(10, 5, "abc", White, Blue, White, BoxShadow);
    EXPECT_EQ(attrAt(12, 8), attr(LightGrey, Black));
}

TEST_F(TextBoxTest, AnimationOpensFromTheMiddleAtAPacedRate) {
    struct Case {
        const char* text;
        int steps;
        unsigned delay;
    };
    const std::string long50(49, 'x');
    const Case cases[] = {{"abcde", 3, 40}, {"abcdefghij", 5, 250 / 11}, {long50.c_str(), 25, 5}};
    for (const Case& c : cases) {
        const auto sleptBefore = con().sleptMilliseconds();
        const auto callsBefore = con().sleepCalls();
        textbox(0, 0, c.text, White, Black, White, BoxAnimate);
        EXPECT_EQ(con().sleepCalls() - callsBefore, static_cast<unsigned>(c.steps)) << c.text;
        EXPECT_EQ(con().sleptMilliseconds() - sleptBefore, c.steps * c.delay) << c.text;
    }
}

TEST_F(TextBoxTest, AnimationFramesReachTheConsoleAtOnceWithPaging) {
    vpinit();
    textbox(0, 0, "abcde", White, Black, White, BoxAnimate);
    // The widest animation frame spans columns 1..5; the final box is paged.
    EXPECT_EQ(glyph(1, 0), TL1);
    EXPECT_EQ(glyph(5, 2), BR1);
    EXPECT_EQ(glyph(0, 0), ' ');
    EXPECT_EQ(workingCell(0, 0)->glyph, TL1);
}

TEST_F(TextBoxTest, OverlongTextIsCutToTheBuffer) {
    con().setBufferSize({120, 25});
    detail::recordScreenSize(120, 25);
    const std::string longText(120, 'q');
    textbox(0, 0, (longText + "END").c_str(), White, Black, White, 0);
    EXPECT_EQ(glyph(0, 0), TL1);
    EXPECT_EQ(glyph(95, 0), TR1) << "94 bytes of text";
    EXPECT_EQ(text(1, 1, 95), std::string(94, 'q') + static_cast<char>(V1));
}

}  // namespace
}  // namespace orvask::test
