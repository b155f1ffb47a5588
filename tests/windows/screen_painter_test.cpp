// What a frame costs the console: the rectangle around the cells that
// changed, as the console keeps them.

#include "windows/screen_painter.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvask::platform::windows {
namespace {

struct Painted {
    bool any = false;
    SMALL_RECT region{};
    std::vector<CHAR_INFO> cells;

    std::vector<int> corners() const {
        return {region.Left, region.Top, region.Right, region.Bottom};
    }
};

Painted paint(ScreenPainter& painter, const ConsoleModel& frame) {
    Painted p;
    p.any = painter.paint(frame, p.cells, p.region);
    return p;
}

TEST(ScreenPainter, WritesOnlyTheRectangleAroundWhatChanged) {
    ConsoleModel frame({80, 25});
    ScreenPainter painter;
    EXPECT_EQ(paint(painter, frame).corners(), (std::vector<int>{0, 0, 79, 24})) << "all at first";
    EXPECT_FALSE(paint(painter, frame).any) << "an unchanged frame writes nothing";

    frame.cell(3, 1) = {'a', 0x1E};
    frame.cell(10, 4) = {1, 0x4F};
    const Painted changed = paint(painter, frame);
    EXPECT_EQ(changed.corners(), (std::vector<int>{3, 1, 10, 4}));
    ASSERT_EQ(changed.cells.size(), 8u * 4u);
    EXPECT_EQ(changed.cells.front().Char.UnicodeChar, L'a');
    EXPECT_EQ(changed.cells.front().Attributes, 0x1E) << "background and foreground";
    EXPECT_EQ(changed.cells.back().Char.UnicodeChar, L'\x263A') << "byte 1 shows its glyph";
    EXPECT_EQ(changed.cells.back().Attributes, 0x4F);
    EXPECT_FALSE(paint(painter, frame).any);

    painter.invalidate();
    EXPECT_EQ(paint(painter, frame).corners(), (std::vector<int>{0, 0, 79, 24}));
}

TEST(ScreenPainter, AWideCharacterTakesTwoCellsMarkedAsItsHalves) {
    ConsoleModel frame({10, 2});
    frame.outputCodePage = 949;
    frame.cell(4, 0) = {0xC7, 0x07};
    frame.cell(5, 0) = {0xD1, 0x07};
    ScreenPainter painter;
    const Painted first = paint(painter, frame);
    EXPECT_EQ(first.cells[4].Char.UnicodeChar, L'한');
    EXPECT_EQ(first.cells[4].Attributes, 0x07 | COMMON_LVB_LEADING_BYTE);
    EXPECT_EQ(first.cells[5].Char.UnicodeChar, L'한');
    EXPECT_EQ(first.cells[5].Attributes, 0x07 | COMMON_LVB_TRAILING_BYTE);

    frame.cell(5, 0).glyph = 0xD0;  // another syllable
    EXPECT_EQ(paint(painter, frame).corners(), (std::vector<int>{4, 0, 5, 0}));
}

}  // namespace
}  // namespace orvask::platform::windows
