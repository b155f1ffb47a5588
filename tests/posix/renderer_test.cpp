#include "posix/renderer.h"

#include <gtest/gtest.h>

#include <string>

#include "posix/glyph_table.h"
#include "posix/message_box.h"
#include "posix/utf8.h"

namespace orvask::platform::posix {
namespace {

constexpr Coord kNoTerminal{0, 0};

// The text a terminal would show of `out`: escape sequences (CSI, OSC and
// two-byte ones) removed.
std::string visibleText(const std::string& out) {
    std::string text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] != '\x1b') {
            text.push_back(out[i]);
            continue;
        }
        if (i + 1 >= out.size()) break;
        if (out[i + 1] == '[') {
            i += 2;
            while (i < out.size() && !(out[i] >= 0x40 && out[i] <= 0x7E))
                ++i;
        } else if (out[i + 1] == ']') {
            i = out.find('\x07', i);
            if (i == std::string::npos) break;
        } else {
            ++i;
        }
    }
    return text;
}

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
    std::string expected;
    for (int byte = 0; byte < 256; ++byte) {
        model.cell(byte % 64, byte / 64) = CellData{static_cast<std::uint8_t>(byte), 0x07};
        appendUtf8(expected, singleByteGlyph(kCodePage437, static_cast<std::uint8_t>(byte)));
    }
    Renderer renderer;
    const std::string text = visibleText(render(renderer, model));
    EXPECT_EQ(text, expected);
    for (unsigned char c : text)
        EXPECT_FALSE(c < 0x20 || c == 0x7F) << int{c};
}

TEST(RendererGlyphs, CodePage949PairsAndBoxBytes) {
    ConsoleModel model = quietModel({10, 2});
    model.outputCodePage = kCodePage949;
    putText(model, 0, 0, "\xB0\xA1\x06\x05>#");
    Renderer renderer;
    const std::string first = visibleText(render(renderer, model));
    EXPECT_EQ(first.substr(0, 11), utf8(U'가') + utf8(U'─') + utf8(U'│') + ">#");

    // Changing the trail byte redraws the whole character, once.
    model.cell(1, 0).glyph = 0xA2;
    const std::string second = render(renderer, model);
    EXPECT_EQ(visibleText(second), utf8(U'각'));
    EXPECT_NE(second.find("\x1b[1;1H"), std::string::npos);

    // Breaking the pair redraws both halves of what the terminal shows.
    model.cell(1, 0).glyph = '!';
    EXPECT_EQ(visibleText(render(renderer, model)), utf8(U'\uFFFD') + "!");
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
    render(renderer, model);
    model.cell(10, 5) = CellData{'Z', 0x07};
    const std::string out = render(renderer, model);
    EXPECT_LE(out.size(), 16u) << out;
    EXPECT_NE(out.find("\x1b[6;11HZ"), std::string::npos) << out;
}

TEST(RendererDiff, ASizeChangeOrInvalidateRepaintsEverything) {
    ConsoleModel model(quietModel({20, 5}));
    putText(model, 0, 0, "abc");
    Renderer renderer;
    render(renderer, model);
    renderer.invalidate();
    std::string out = render(renderer, model);
    EXPECT_NE(out.find("\x1b[2J"), std::string::npos);
    EXPECT_EQ(visibleText(out).substr(0, 3), "abc");

    model.resize({30, 5});
    out = render(renderer, model);
    EXPECT_NE(out.find("\x1b[2J"), std::string::npos);
    EXPECT_EQ(visibleText(out).size(), 150u);
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

    // The same bytes under another code page are another title.
    model.title = "\xC7\xD1";
    render(renderer, model);
    model.outputCodePage = kCodePage949;
    EXPECT_NE(render(renderer, model).find("\x1b]2;" + utf8(U'한') + "\x07"), std::string::npos);
}

TEST(RendererCursor, PositionVisibilityAndShapeAreMirrored) {
    ConsoleModel model({80, 25});
    model.setCursor({3, 2});
    Renderer renderer;
    std::string out = render(renderer, model);
    EXPECT_TRUE(out.ends_with("\x1b[3;4H\x1b[?25h")) << out;

    model.setCursor({4, 2});
    EXPECT_EQ(render(renderer, model), "\x1b[C");
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
    std::string out = render(renderer, model, {60, 20});
    EXPECT_NE(visibleText(out).find("80 x 25"), std::string::npos) << out;
    EXPECT_EQ(visibleText(out).find("hello"), std::string::npos);
    EXPECT_EQ(render(renderer, model, {60, 20}), "");

    out = render(renderer, model, {100, 30});
    EXPECT_EQ(visibleText(out).substr(0, 5), "hello");
    EXPECT_EQ(visibleText(out).size(), 80u * 25u);
}

TEST(RendererSize, NoticeFitsATinyTerminal) {
    ConsoleModel model(quietModel());
    Renderer renderer;
    const std::string out = render(renderer, model, {10, 1});
    const std::string text = visibleText(out);
    EXPECT_LE(text.size(), 10u);
    EXPECT_FALSE(text.empty());
}

TEST(MessageBoxLayout, FramedCentredBoxWithCaptionTextAndOk) {
    ConsoleModel screen({80, 25});
    drawMessageBox(screen, "Vornel Crashed", "Memory pool missing\nsecond line");
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
    drawMessageBox(screen, "Caption", std::string(200, 'x'));
    for (int y = 0; y < 10; ++y) {
        EXPECT_NE(screen.cell(0, y).glyph, 'x');
        EXPECT_NE(screen.cell(39, y).glyph, 'x');
    }
    EXPECT_NE(screen.rowText(9).find('\x04'), std::string::npos);  // 949 bottom-right piece
}

}  // namespace
}  // namespace orvask::platform::posix
