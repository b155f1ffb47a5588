#include "terminal/renderer.h"

#include <gtest/gtest.h>

#include <string>

#include "glyphs/glyph_table.h"
#include "glyphs/utf8.h"
#include "posix/message_box.h"
#include "term_harness/screen.h"

namespace orvask::platform::terminal {
using glyphs::appendUtf8;
using glyphs::singleByteGlyph;

namespace {

constexpr Coord kNoTerminal{0, 0};

std::string utf8(char32_t cp) {
    std::string s;
    appendUtf8(s, cp);
    return s;
}

std::string render(Renderer& renderer, const ConsoleModel& model, Coord terminal = kNoTerminal) {
    std::string out;
    renderer.render(model, terminal, out);
    return out;
}

// The ANSI palette index of a console colour.
int ansiPalette(int console) {
    return ((console & 1) << 2) | (console & 2) | ((console & 4) >> 2) | (console & 8);
}

// A terminal (libvterm) that shows what the renderer writes, for checks of
// what the user sees rather than of the bytes that got it there.
class ShownTerminal {
  public:
    ShownTerminal(int cols, int rows) : screen_(cols, rows) {}
    // Renders into the terminal; returns the bytes written.
    std::string render(Renderer& renderer, const ConsoleModel& model) {
        std::string out;
        renderer.render(
            model,
            {static_cast<std::int16_t>(screen_.cols()), static_cast<std::int16_t>(screen_.rows())},
            out);
        screen_.feed(out);
        return out;
    }
    std::string row(int y) const { return screen_.rowText(y); }
    const term_harness::Screen& screen() const { return screen_; }

  private:
    term_harness::Screen screen_;
};

void putText(ConsoleModel& model, int x, int y, std::string_view text, std::uint8_t attr = 0x07) {
    for (char c : text)
        model.cell(x++, y) = CellData{static_cast<std::uint8_t>(c), attr};
}

ConsoleModel quietModel(Coord size = {80, 25}) {
    ConsoleModel model(size);
    model.cursorVisible = false;
    return model;
}

TEST(RendererGlyphs, EveryByteReachesTheTerminalAsItsGlyphNeverAsAControl) {
    ConsoleModel model = quietModel({64, 4});
    for (int byte = 0; byte < 256; ++byte)
        model.cell(byte % 64, byte / 64) = CellData{static_cast<std::uint8_t>(byte), 0x07};
    Renderer renderer;
    ShownTerminal terminal(64, 4);
    terminal.render(renderer, model);
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(terminal.screen().cell(byte % 64, byte / 64).glyph(),
                  singleByteGlyph(kCodePage437, static_cast<std::uint8_t>(byte)))
            << "byte " << byte;
    }
}

TEST(RendererGlyphs, CodePage949PairsAndBoxBytes) {
    ConsoleModel model = quietModel({10, 2});
    model.outputCodePage = kCodePage949;
    putText(model, 0, 0, "\xB0\xA1\x06\x05>#");
    Renderer renderer;
    ShownTerminal terminal(10, 2);
    terminal.render(renderer, model);
    EXPECT_EQ(terminal.row(0).substr(0, 11), utf8(U'가') + utf8(U'─') + utf8(U'│') + ">#");

    // Changing the trail byte redraws the whole character, once.
    model.cell(1, 0).glyph = 0xA2;
    const std::string second = terminal.render(renderer, model);
    EXPECT_EQ(terminal.row(0).substr(0, 11), utf8(U'각') + utf8(U'─') + utf8(U'│') + ">#");
    EXPECT_EQ(second.find(utf8(U'─')), std::string::npos) << "only the character is redrawn";

    // Breaking the pair redraws both halves of what the terminal shows.
    model.cell(1, 0).glyph = '!';
    terminal.render(renderer, model);
    EXPECT_EQ(terminal.row(0).substr(0, 4), utf8(U'\uFFFD') + "!");
}

TEST(RendererDiff, ASyncThatChangesNothingWritesNothing) {
    ConsoleModel model(quietModel());
    putText(model, 0, 0, "hello");
    model.title = "AVL Tree Demo";
    Renderer renderer;
    EXPECT_FALSE(render(renderer, model).empty());
    EXPECT_EQ(render(renderer, model), "");
    model.setAttribute(0x1F);  // the next write's colour: nothing to show yet
    model.setCursor({5, 5});   // the cursor is hidden
    EXPECT_EQ(render(renderer, model), "");
}

TEST(RendererDiff, OneCellChangeWritesAHandfulOfBytes) {
    ConsoleModel model(quietModel());
    Renderer renderer;
    ShownTerminal terminal(80, 25);
    terminal.render(renderer, model);
    model.cell(10, 5) = CellData{'Z', 0x07};
    const std::string out = terminal.render(renderer, model);
    EXPECT_LE(out.size(), 8u) << out;
    EXPECT_EQ(terminal.screen().cell(10, 5).glyph(), U'Z');
}

// Each change in its shortest form, as a terminal shows it: the half of the
// colour that changed, and moves by line feed, carriage return, backspace,
// relative steps or by rewriting the unchanged cells in between.
TEST(RendererDiff, ChangesTakeTheirShortestForm) {
    ConsoleModel model(quietModel({40, 6}));
    putText(model, 0, 0, "row zero", 0x07);
    Renderer renderer;
    ShownTerminal terminal(40, 6);
    terminal.render(renderer, model);

    struct Step {
        int x, y;
        std::uint8_t glyph, attribute;
        std::string bytes;
    };
    // Each step starts where the one before left the cursor (after its cell).
    const Step steps[] = {
        {30, 4, 'z', 0x07, "\x1b[5;31Hz"},  // from nowhere known: a jump
        {31, 5, 'x', 0x07, "\nx"},          // down one, same column
        {2, 0, 'W', 0x07, "\x1b[1;3HW"},    // far up: a jump again
        {0, 1, 'y', 0x07, "\n\ry"},         // down one, back to the line start
        {3, 1, 'v', 0x07, "  v"},           // rewriting two cells beats a step
        {0, 1, 'y', 0x0C, "\r\x1b[91my"},   // the foreground alone
        {0, 1, 'y', 0x1C, "\b\x1b[44my"},   // the background alone
    };
    for (const Step& step : steps) {
        model.cell(step.x, step.y) = CellData{step.glyph, step.attribute};
        const std::string out = terminal.render(renderer, model);
        const term_harness::Cell shown = terminal.screen().cell(step.x, step.y);
        EXPECT_EQ(shown.glyph(), step.glyph) << step.bytes;
        EXPECT_EQ(shown.bg, ansiPalette(step.attribute >> 4)) << step.bytes;
        EXPECT_LE(out.size(), step.bytes.size()) << out;
    }
    EXPECT_EQ(terminal.row(0).substr(0, 8), "roW zero");
}

// A terminal of unknown size may end right after the model: past its last
// column the cursor is not where counting says, so no move starts from there.
TEST(RendererDiff, NoMoveStartsFromPastTheLastColumnOfATerminalOfUnknownSize) {
    ConsoleModel model(quietModel({10, 2}));
    putText(model, 0, 0, "0123456789");
    putText(model, 0, 1, "abcdefghij");
    Renderer renderer;
    term_harness::Screen screen(10, 2);
    std::string out;
    renderer.render(model, kNoTerminal, out);
    model.cell(9, 0).glyph = 'X';
    model.cell(9, 1).glyph = 'Y';
    renderer.render(model, kNoTerminal, out);
    screen.feed(out);
    EXPECT_EQ(screen.rowText(0), "012345678X");
    EXPECT_EQ(screen.rowText(1), "abcdefghiY");
}

TEST(RendererDiff, ASizeChangeOrInvalidateRepaintsEverything) {
    ConsoleModel model(quietModel({20, 5}));
    putText(model, 0, 0, "abc");
    Renderer renderer;
    ShownTerminal terminal(30, 5);
    terminal.render(renderer, model);
    renderer.invalidate();
    std::string out = terminal.render(renderer, model);
    EXPECT_NE(out.find("\x1b[2J"), std::string::npos);
    EXPECT_EQ(terminal.row(0).substr(0, 3), "abc");

    model.resize({30, 5});
    putText(model, 25, 4, "edge");
    out = terminal.render(renderer, model);
    EXPECT_NE(out.find("\x1b[2J"), std::string::npos);
    EXPECT_EQ(terminal.row(4).substr(25, 4), "edge");
}

TEST(RendererColours, ConsoleBitOrderIsTranslatedToAnsi) {
    EXPECT_EQ(colourSequence(0x07), "\x1b[37;40m");
    EXPECT_EQ(colourSequence(0x1C), "\x1b[91;44m");   // red on dark blue
    EXPECT_EQ(colourSequence(0x4E), "\x1b[93;41m");   // yellow on dark red
    EXPECT_EQ(colourSequence(0x36), "\x1b[33;46m");   // brown on dark cyan
    EXPECT_EQ(colourSequence(0xF8), "\x1b[90;107m");  // dark grey on white
    EXPECT_EQ(colourSequence(0x95), "\x1b[35;104m");  // dark magenta on blue
}

TEST(RendererColours, ColourIsSetOnlyWhenItChanges) {
    ConsoleModel model(quietModel({4, 1}));
    putText(model, 0, 0, "ab", 0x1C);
    putText(model, 2, 0, "c", 0x07);
    Renderer renderer;
    const std::string out = render(renderer, model);
    EXPECT_NE(out.find("\x1b[91;44mab\x1b[37;40mc"), std::string::npos) << out;
}

TEST(RendererTitle, TitleIsSanitisedAndSentOnce) {
    EXPECT_EQ(sanitizeTitle("AVL\x1b]0;x\x07\x9b\n", kCodePage437), "AVL]0;x" + utf8(U'¢'));
    EXPECT_EQ(sanitizeTitle(std::string(400, 'a'), kCodePage437).size(), 255u);
    EXPECT_EQ(sanitizeTitle("\xC7\xD1", kCodePage949), utf8(U'한'));

    ConsoleModel model(quietModel());
    model.title = "Demo\x1b[2J";
    Renderer renderer;
    const std::string out = render(renderer, model);
    EXPECT_NE(out.find("\x1b]2;Demo[2J\x07"), std::string::npos);
    model.title = "Next";
    EXPECT_EQ(render(renderer, model), "\x1b]2;Next\x07");

    // Sent again whenever what it shows changes: the same bytes under
    // another code page, or after a repaint even when empty.
    model.title = "\x9b";
    render(renderer, model);
    model.outputCodePage = kCodePage949;
    EXPECT_NE(render(renderer, model).find("\x1b]2;" + utf8(U'\uFFFD') + "\x07"),
              std::string::npos);
    model.title = "";
    render(renderer, model);
    renderer.invalidate();
    EXPECT_NE(render(renderer, model).find("\x1b]2;\x07"), std::string::npos);
}

TEST(RendererCursor, PositionVisibilityAndShapeAreMirrored) {
    ConsoleModel model({80, 25});
    model.setCursor({3, 2});
    Renderer renderer;
    std::string out = render(renderer, model);
    EXPECT_TRUE(out.ends_with("\x1b[3;4H\x1b[?25h")) << out;

    model.setCursor({4, 2});
    EXPECT_EQ(render(renderer, model), " ");  // rewriting the blank is the shortest step
    model.cursorSize = 100;
    EXPECT_EQ(render(renderer, model), "\x1b[2 q");
    model.cursorSize = 20;
    EXPECT_EQ(render(renderer, model), "\x1b[4 q");
    model.cursorVisible = false;
    EXPECT_EQ(render(renderer, model), "\x1b[?25l");
    model.cursorSize = 100;  // the shape waits until the cursor is shown
    EXPECT_EQ(render(renderer, model), "");
    model.cursorVisible = true;
    EXPECT_EQ(render(renderer, model), "\x1b[2 q\x1b[?25h");
}

TEST(RendererSize, TooSmallTerminalShowsANoticeUntilItFits) {
    ConsoleModel model(quietModel());
    putText(model, 0, 0, "hello");
    Renderer renderer;
    ShownTerminal small(60, 20);
    small.render(renderer, model);
    EXPECT_TRUE(small.screen().contains("80 x 25")) << small.screen().text();
    EXPECT_FALSE(small.screen().contains("hello"));
    EXPECT_EQ(render(renderer, model, {60, 20}), "");

    ShownTerminal large(100, 30);
    large.render(renderer, model);
    EXPECT_EQ(large.row(0).substr(0, 6), "hello ");
    EXPECT_FALSE(large.screen().contains("80 x 25"));
}

TEST(RendererSize, NoticeFitsATinyTerminal) {
    ConsoleModel model(quietModel());
    Renderer renderer;
    ShownTerminal tiny(10, 1);
    tiny.render(renderer, model);
    EXPECT_NE(tiny.row(0).find_first_not_of(' '), std::string::npos);
}

TEST(MessageBoxLayout, FramedCentredBoxWithCaptionTextAndOk) {
    ConsoleModel screen({80, 25});
    posix::drawMessageBox(screen, "Vornel Crashed", "Memory pool missing\nsecond line");
    int top = -1;
    int left = -1;
    for (int y = 0; y < 25 && top < 0; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (screen.cell(x, y).glyph == 218) {
                top = y;
                left = x;
                break;
            }
        }
    }
    ASSERT_GE(top, 0);
    int right = left;
    while (screen.cell(right, top).glyph != 191)
        ++right;
    int bottom = top;
    while (screen.cell(left, bottom).glyph != 192)
        ++bottom;
    EXPECT_LE(std::abs(left - (79 - right)), 1);
    EXPECT_LE(std::abs(top - (24 - bottom)), 1);
    EXPECT_NE(screen.rowText(top).find(" Vornel Crashed "), std::string::npos);
    EXPECT_NE(screen.rowText(top + 2).find("Memory pool missing"), std::string::npos);
    EXPECT_NE(screen.rowText(top + 3).find("second line"), std::string::npos);
    EXPECT_NE(screen.rowText(bottom - 1).find("[ OK ]"), std::string::npos);
    EXPECT_EQ(screen.cell(right, bottom).glyph, 217);
    EXPECT_FALSE(screen.cursorVisible);
}

TEST(MessageBoxLayout, LongTextWrapsInsideTheScreen) {
    ConsoleModel screen({40, 10});
    screen.outputCodePage = kCodePage949;
    posix::drawMessageBox(screen, "Caption", std::string(200, 'x'));
    for (int y = 0; y < 10; ++y) {
        EXPECT_NE(screen.cell(0, y).glyph, 'x');
        EXPECT_NE(screen.cell(39, y).glyph, 'x');
    }
    EXPECT_NE(screen.rowText(9).find('\x04'), std::string::npos);  // 949 bottom-right piece
}

}  // namespace
}  // namespace orvask::platform::terminal
