// What the terminal backend shows: glyphs, colours, cursor, title, the
// output it spends on a frame, and the notice for a terminal that is too small.
#include <gtest/gtest.h>

#include <algorithm>

#include "cp437_table.h"
#include "probe_launch.h"
#include "term_harness/terminal.h"
#include "term_harness/tty_modes.h"

namespace terminal_test {
namespace {

using namespace std::chrono_literals;
using term_harness::Cell;
using term_harness::Options;
using term_harness::Position;
using term_harness::Terminal;

// Every byte at (byte % 16, byte / 16), white on blue, except the newline,
// which moves the cursor and leaves its cell untouched.
void expectCodePage437Block(const Terminal& term) {
    const auto table = test_data::loadCp437Table();
    ASSERT_TRUE(table.has_value())
        << "reference table missing or incomplete: " << test_data::kCp437TablePath;
    for (int byte = 0; byte < 256; ++byte) {
        const Cell cell = term.cell(byte % 16, byte / 16);
        SCOPED_TRACE("byte " + std::to_string(byte));
        if (byte == '\n') {
            EXPECT_EQ(cell.glyph(), U' ');
            continue;
        }
        const char32_t expected = byte == 0 ? U' ' : (*table)[static_cast<std::size_t>(byte)];
        EXPECT_EQ(static_cast<std::uint32_t>(cell.glyph()), static_cast<std::uint32_t>(expected))
            << "shown " << cell.utf8();
        EXPECT_EQ(cell.fg, ansiColour(15));
        EXPECT_EQ(cell.bg, ansiColour(1));
    }
}

TEST(TerminalRendering, CodePage437GlyphsAndAllAttributes) {
    Terminal term(probeOptions("glyphs"));
    // The frame is whole once the cursor has reached its place, its last step.
    ASSERT_TRUE(term.waitUntil([&] {
        return term.contains("glyphs ready") && term.cursor() == Position{5, 20};
    })) << term.screenText();
    expectCodePage437Block(term);
    for (int attribute = 0; attribute < 256; ++attribute) {
        const Cell cell = term.cell(20 + attribute % 16, attribute / 16);
        SCOPED_TRACE("attribute " + std::to_string(attribute));
        EXPECT_EQ(cell.ch, U'x');
        EXPECT_EQ(cell.fg, ansiColour(attribute & 15));
        EXPECT_EQ(cell.bg, ansiColour(attribute >> 4));
        EXPECT_FALSE(cell.reverse);
    }
    EXPECT_EQ(term.cursor(), (Position{5, 20}));
    EXPECT_TRUE(term.cursorVisible());
    EXPECT_TRUE(term.altScreen());
}

TEST(TerminalRendering, SameOutputWhenStandardOutputIsAPipe) {
    // Input that never ends keeps the probe waiting while its frame is shown.
    Terminal term(
        {.argv = {"/bin/sh", "-c", "sleep 30 | \"$0\" glyphs | cat", TERMINAL_PROBE_PATH}});
    ASSERT_TRUE(term.waitForText("glyphs ready")) << term.screenText();
    expectCodePage437Block(term);
    // Neither input nor output is the terminal: its modes are not the program's to change.
    const std::optional<termios> modes = term.ttyModes();
    ASSERT_TRUE(modes.has_value());
    EXPECT_EQ(term_harness::describeModeDifference(term.initialModes(), *modes), "");
}

TEST(TerminalRendering, FramesAreWrittenByDifference) {
    Terminal term(probeOptions("sync"));
    ASSERT_TRUE(term.waitForText("sync ready"));
    term.waitQuiet();

    term.markOutput();
    term.type("0");
    term.waitQuiet(100ms);
    EXPECT_EQ(term.bytesSinceMark(), 0u)
        << "a frame without change wrote " << term.outputSinceMark();

    term.markOutput();
    term.type("=");
    term.waitQuiet(100ms);
    EXPECT_EQ(term.bytesSinceMark(), 0u)
        << "rewriting a row unchanged wrote " << term.outputSinceMark();

    // A run of empty frames, then one changed glyph: only the glyph costs.
    term.markOutput();
    term.type("0000=1");
    ASSERT_TRUE(term.waitUntil([&] { return term.cell(40, 12).ch == U'A'; }));
    term.waitQuiet(60ms);
    EXPECT_GT(term.bytesSinceMark(), 0u);
    EXPECT_LT(term.bytesSinceMark(), 40u) << term.outputSinceMark();

    term.markOutput();
    term.type("2");
    ASSERT_TRUE(term.waitUntil([&] { return term.cell(40, 12).bg == ansiColour(4); }));
    term.waitQuiet(60ms);
    EXPECT_EQ(term.cell(40, 12).fg, ansiColour(14));
    EXPECT_EQ(term.cell(40, 12).ch, U'A');
    EXPECT_LT(term.bytesSinceMark(), 40u) << term.outputSinceMark();

    term.type("h");
    EXPECT_TRUE(term.waitUntil([&] { return !term.cursorVisible(); }));
    term.type("v");
    EXPECT_TRUE(term.waitUntil([&] { return term.cursorVisible(); }));
}

TEST(TerminalRendering, FrameIsShownBeforeASleepOrWorkThatCallsNothing) {
    for (const char key : {'s', 'w'}) {
        Terminal term(probeOptions("sync"));
        ASSERT_TRUE(term.waitForText("sync ready"));
        term.type(std::string(1, key));
        // The probe sleeps, or works without a call, for 3 s after the
        // change; it must be on screen meanwhile.
        const int row = key == 's' ? 13 : 14;
        const char32_t shown = key == 's' ? U'S' : U'W';
        EXPECT_TRUE(term.waitUntil([&] { return term.cell(40, row).ch == shown; }, 1500ms)) << key;
    }
}

TEST(TerminalRendering, MessageBoxOverTheFrameAndGoneAfterwards) {
    Terminal term(probeOptions("sync"));
    ASSERT_TRUE(term.waitForText("sync ready"));
    term.type("m");
    ASSERT_TRUE(term.waitForText("Box text")) << term.screenText();
    EXPECT_TRUE(term.contains("Probe box"));
    EXPECT_EQ(term.cell(0, 20).ch, U'M') << "the frame was not shown before the box";
    term.press("Enter");
    ASSERT_TRUE(term.waitForText("after box")) << term.screenText();
    term.waitQuiet();
    EXPECT_FALSE(term.contains("Box text")) << term.screenText();
    EXPECT_TRUE(term.contains("sync ready"));
    EXPECT_EQ(term.cell(0, 20).ch, U'M');
}

TEST(TerminalRendering, TitleWithoutControlBytesAndGivenBack) {
    Terminal term(probeFromShell("title"));
    ASSERT_TRUE(term.waitForText("title ready")) << term.screenText();
    EXPECT_EQ(term.title(), "Probe title!");
    term.type("n");
    EXPECT_TRUE(term.waitUntil([&] { return term.title() == "Next title"; })) << term.title();
    term.type("q");
    EXPECT_TRUE(term.waitForExit().exitedWith(0));
    EXPECT_EQ(term.title(), kUserTitle);
}

// The bounding box of every non-blank cell.
struct Extent {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Extent inkExtent(const Terminal& term) {
    Extent box;
    for (int row = 0; row < term.screen().rows(); ++row) {
        for (int col = 0; col < term.screen().cols(); ++col) {
            if (term.cell(col, row).glyph() == U' ') continue;
            box = {std::min(box.left, col), std::min(box.top, row), std::max(box.right, col),
                   std::max(box.bottom, row)};
        }
    }
    return box;
}

// A centred notice that names the size the program needs, and nothing else.
void expectSizeNotice(const Terminal& term) {
    const std::string text = term.screenText();
    EXPECT_EQ(text.find("small ready"), std::string::npos) << text;
    EXPECT_NE(text.find("80"), std::string::npos) << text;
    EXPECT_NE(text.find("25"), std::string::npos) << text;
    const Extent box = inkExtent(term);
    ASSERT_GE(box.right, 0) << "no notice shown";
    const int cols = term.screen().cols(), rows = term.screen().rows();
    EXPECT_LE(std::abs(box.left - (cols - 1 - box.right)), 2) << text;
    EXPECT_LE(std::abs(box.top - (rows - 1 - box.bottom)), 2) << text;
}

// The model at the top-left and blank around it.
void expectModelShown(const Terminal& term) {
    EXPECT_EQ(term.rowText(0).substr(0, 11), "small ready");
    EXPECT_EQ(term.cell(78, 24).ch, U'Z');
    const Extent box = inkExtent(term);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 78);
    EXPECT_EQ(box.bottom, 24);
}

TEST(TerminalRendering, TooSmallTerminalGetsANoticeUntilResized) {
    Terminal term({.argv = {TERMINAL_PROBE_PATH, "small"}, .cols = 60, .rows = 12});
    ASSERT_TRUE(term.waitUntil([&] { return inkExtent(term).right >= 0; }));
    term.waitQuiet();
    expectSizeNotice(term);

    term.resize(80, 25);
    ASSERT_TRUE(term.waitForText("small ready")) << term.screenText();
    term.waitQuiet();
    expectModelShown(term);

    term.resize(79, 25);  // one column short
    ASSERT_TRUE(term.waitUntil([&] { return !term.contains("small ready"); })) << term.screenText();
    term.waitQuiet();
    expectSizeNotice(term);

    term.resize(100, 30);
    ASSERT_TRUE(term.waitForText("small ready")) << term.screenText();
    term.waitQuiet();
    expectModelShown(term);
}

}  // namespace
}  // namespace terminal_test
