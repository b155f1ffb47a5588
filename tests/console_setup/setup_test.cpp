#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "library_state.h"
#include "orvask/keyboard.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/memory_console.h"
#include "orvask/setup.h"
#include "orvask/timers.h"

namespace orvask {
namespace {

using platform::BasicMemoryConsoleScope;
using platform::ConsoleModel;
using platform::Coord;
using platform::MemoryConsole;
using platform::MemoryConsoleScope;

// Keeps a copy of the screen as it was when the first key was read: the
// loading screen, before coninit clears it.
class SnapshotConsole : public MemoryConsole {
  public:
    int readKey() override {
        if (!atFirstKey) atFirstKey = model();
        return MemoryConsole::readKey();
    }
    std::optional<ConsoleModel> atFirstKey;
};

const unsigned char kBox437Single[12] = {254, 196, 179, 218, 191, 217,
                                         192, 195, 194, 180, 193, 197};
const unsigned char kBox437Double[12] = {254, 205, 186, 201, 187, 188,
                                         200, 204, 203, 185, 202, 206};
const unsigned char kBox949[12] = {35, 6, 5, 1, 2, 4, 3, 24, 21, 22, 20, 16};

// Each test leaves the library's process-wide state as it found it.
class ConsoleSetup : public ::testing::Test {
  protected:
    void SetUp() override {
        detail::resetState();
        console->model().inputCodePage = 850;
        console->model().outputCodePage = 850;
    }
    void TearDown() override { detail::resetState(); }

    const ConsoleModel& loadingScreen() {
        EXPECT_TRUE(console->atFirstKey.has_value()) << "no key was read";
        if (!console->atFirstKey) console->atFirstKey = console->model();
        return *console->atFirstKey;
    }

    BasicMemoryConsoleScope<SnapshotConsole> console;
};

std::string text(const ConsoleModel& screen, int x, int y, int length) {
    return screen.rowText(y).substr(static_cast<std::size_t>(x), static_cast<std::size_t>(length));
}

// The row from column x with trailing blanks removed; inside the frame
// (rows 2 to 5) only up to its right side.
std::string trimmed(const ConsoleModel& screen, int x, int y) {
    const bool framed = y >= 2 && y <= 5;
    std::string row = screen.rowText(y).substr(
        static_cast<std::size_t>(x), framed ? static_cast<std::size_t>(37 - x) : std::string::npos);
    row.erase(row.find_last_not_of(' ') + 1);
    return row;
}

std::uint8_t attr(const ConsoleModel& screen, int x, int y) {
    return screen.cell(x, y).attribute;
}

void expectFrame(const ConsoleModel& screen, const unsigned char* glyphs) {
    EXPECT_EQ(screen.cell(1, 1).glyph, glyphs[3]);
    EXPECT_EQ(screen.cell(37, 1).glyph, glyphs[4]);
    EXPECT_EQ(screen.cell(37, 6).glyph, glyphs[5]);
    EXPECT_EQ(screen.cell(1, 6).glyph, glyphs[6]);
    for (int x = 2; x <= 36; ++x) {
        ASSERT_EQ(screen.cell(x, 1).glyph, glyphs[1]) << x;
        ASSERT_EQ(screen.cell(x, 6).glyph, glyphs[1]) << x;
        ASSERT_EQ(attr(screen, x, 6), 0x0F) << x;
    }
    for (int y = 2; y <= 5; ++y) {
        EXPECT_EQ(screen.cell(1, y).glyph, glyphs[2]) << y;
        EXPECT_EQ(screen.cell(37, y).glyph, glyphs[2]) << y;
        EXPECT_EQ(attr(screen, 37, y), 0x0F) << y;
    }
    EXPECT_EQ(screen.cell(38, 3).glyph, ' ') << "nothing right of the frame";
}

TEST_F(ConsoleSetup, LoadingScreenShowsTheLibraryFrameAndCounterProbe) {
    console->pushKeyAt(5'000'000, 'x');
    coninit(437, 80, 25, 0);
    const ConsoleModel& screen = loadingScreen();

    EXPECT_EQ(trimmed(screen, 0, 0), " This program is powered by");
    EXPECT_EQ(trimmed(screen, 2, 2), "Orvask v1.2 for Win32");
    EXPECT_EQ(attr(screen, 2, 2), 0x0F);   // Orvask in white
    EXPECT_EQ(attr(screen, 9, 2), 0x08);   // v in dark grey
    EXPECT_EQ(attr(screen, 10, 2), 0x0F);  // 1.2 in white
    EXPECT_EQ(attr(screen, 14, 2), 0x07);  // for
    EXPECT_EQ(attr(screen, 18, 2), 0x09);  // Win32 in blue
    EXPECT_EQ(trimmed(screen, 2, 3), " - Orvask -");
    EXPECT_EQ(attr(screen, 3, 3), 0x04);
    EXPECT_EQ(attr(screen, 5, 3), 0x0F);
    EXPECT_EQ(attr(screen, 6, 3), 0x07);
    EXPECT_EQ(attr(screen, 12, 3), 0x04);
    EXPECT_EQ(text(screen, 2, 4, 35), std::string(35, ' '));

    // The credit: dark grey label, handle with a light red initial, address
    // in light grey between dark grey parentheses, clear of the frame.
    const std::string credit = trimmed(screen, 2, 5);
    EXPECT_EQ(credit.substr(0, 1), " ");
    const std::size_t open = credit.find('(');
    const std::size_t close = credit.find(')');
    ASSERT_NE(open, std::string::npos);
    ASSERT_EQ(close, credit.size() - 1);
    EXPECT_LT(2 + close, 36u) << "ends before the frame with a space to spare";
    EXPECT_EQ(attr(screen, 3, 5), 0x08);
    const int handle = 2 + static_cast<int>(credit.find("Orvask"));
    EXPECT_EQ(attr(screen, handle, 5), 0x0C);
    EXPECT_EQ(attr(screen, handle + 1, 5), 0x0F);
    EXPECT_EQ(attr(screen, 2 + static_cast<int>(open), 5), 0x08);
    EXPECT_EQ(attr(screen, 3 + static_cast<int>(open), 5), 0x07);
    EXPECT_EQ(attr(screen, 2 + static_cast<int>(close), 5), 0x08);

    expectFrame(screen, kBox437Single);
    EXPECT_EQ(attr(screen, 1, 1), 0x0F);

    EXPECT_EQ(trimmed(screen, 0, 7), "");
    EXPECT_EQ(trimmed(screen, 0, 8), " > Finding high-resolution performance counter... ok.");
    EXPECT_EQ(trimmed(screen, 0, 9), " > Orvask loading finished.");
    EXPECT_EQ(trimmed(screen, 0, 10), " > Press any key to continue...");
    EXPECT_EQ(trimmed(screen, 0, 11), "");
    for (int y = 8; y <= 10; ++y) {
        EXPECT_EQ(attr(screen, 1, y), 0x0F) << y;
        EXPECT_EQ(attr(screen, 3, y), 0x07) << y;
    }
    EXPECT_EQ(screen.cursor(), (Coord{31, 10}));
    EXPECT_EQ(ticksPerMs, MemoryConsole::kCounterFrequency / 1000);
}

TEST_F(ConsoleSetup, ConinitLeavesAClearedConsoleOfTheRequestedSize) {
    console->pushKeyAt(5'000'000, 'x');
    coninit(437, 80, 25, 0);

    EXPECT_GE(console->now(), 5'000'000u) << "returned only after the key press";
    EXPECT_EQ(console->keysQueued(), 0u);
    EXPECT_EQ(lastkey, 'x');
    ConsoleModel& model = console->model();
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (x == 79 && y == 24) continue;
            ASSERT_EQ(model.cell(x, y).glyph, ' ') << x << "," << y;
            ASSERT_EQ(model.cell(x, y).attribute & 0xF0, 0x00) << x << "," << y;
        }
    }
    EXPECT_EQ(model.cursor(), (Coord{0, 0}));
    EXPECT_EQ(getfg(), LightGrey);
    EXPECT_EQ(getbg(), Black);
    EXPECT_EQ(model.attribute(), 0x07);
    EXPECT_EQ(model.size(), (Coord{80, 25}));
    EXPECT_EQ(model.windowTopLeft, (Coord{0, 0}));
    EXPECT_EQ(model.windowBottomRight, (Coord{79, 24}));
    EXPECT_TRUE(model.windowMaximized);
    EXPECT_EQ(model.outputMode, 0x17u);
    EXPECT_EQ(model.inputCodePage, 437);
    EXPECT_EQ(model.outputCodePage, 437);
    EXPECT_EQ(scrw(), 80);
    EXPECT_EQ(scrh(), 25);
    EXPECT_FALSE(vpon());
    EXPECT_EQ(std::memcmp(boxglyphs1, kBox437Single, 12), 0);
    EXPECT_EQ(std::memcmp(boxglyphs2, kBox437Double, 12), 0);
    EXPECT_STREQ(spinner, "\\|/-\\|/-\\|");
}

TEST_F(ConsoleSetup, WithoutACounterTheProbeFailsAndTheClockUsesTheTickCount) {
    console->setHighResolutionCounter(false);
    ticksPerMs = 1234;  // left over from an earlier set-up
    console->pushKeys({'x'});
    coninit(437, 80, 25, 0);
    EXPECT_EQ(trimmed(loadingScreen(), 0, 8),
              " > Finding high-resolution performance counter... failed.");
    EXPECT_EQ(trimmed(loadingScreen(), 0, 9), " > Orvask loading finished.");
    EXPECT_EQ(ticksPerMs, 0u);
}

// For a host that draws its own start: nothing shown, no key read, the
// clock set up as with the loading screen, the screen cleared all the same.
TEST_F(ConsoleSetup, WithoutTheLoadingScreenNoKeyIsReadAndTheClockIsSetUp) {
    console->model().cell(5, 8).glyph = 'X';
    console->pushKeys({'x'});
    ticksPerMs = 0;
    coninit(437, 80, 25, ConNoLoadingScreen);
    EXPECT_EQ(console->keysQueued(), 1u);
    EXPECT_EQ(lastkey, 0);
    EXPECT_EQ(console->takeOutput().find("Orvask"), std::string::npos);
    EXPECT_EQ(console->model().cell(5, 8).glyph, ' ');
    EXPECT_EQ(ticksPerMs, MemoryConsole::kCounterFrequency / 1000);
}

TEST_F(ConsoleSetup, CodePage949SwapsTheGlyphTablesAndConexitRestoresTheCodePage) {
    console->pushKeys({'x'});
    coninit(949, 80, 25, 0);
    EXPECT_EQ(std::memcmp(boxglyphs1, kBox949, 12), 0);
    EXPECT_EQ(std::memcmp(boxglyphs2, kBox949, 12), 0);
    EXPECT_STREQ(spinner, "`|/-`|/-`|");
    expectFrame(loadingScreen(), kBox949);
    EXPECT_EQ(console->model().inputCodePage, 949);
    EXPECT_EQ(console->model().outputCodePage, 949);

    conexit(80, 25);
    EXPECT_EQ(console->model().inputCodePage, 850) << "the code page found before coninit";
    EXPECT_EQ(console->model().outputCodePage, 850);
}

TEST_F(ConsoleSetup, ConexitReleasesKeysFlushesAndRestoresTheConsole) {
    console->pushKeys({'x'});
    coninit(437, 100, 40, ConPages);
    ASSERT_TRUE(vpon());
    EXPECT_EQ(console->model().size(), (Coord{100, 40}));

    Pxy(5, 5, "left over", Yellow, DarkBlue);
    setcolor(Red, Green);
    console->pushKeys({'a', 0, 72});  // typed ahead
    console->holdKey(0x12, 3);        // Alt still held
    EXPECT_EQ(console->restores(), 0);
    conexit(80, 25);
    EXPECT_EQ(console->restores(), 1) << "the console is handed back last";

    const ConsoleModel& model = console->model();
    EXPECT_FALSE(vpon());
    EXPECT_EQ(console->keysQueued(), 0u);
    EXPECT_FALSE(console->keyDown(0x12));
    EXPECT_EQ(trimmed(model, 0, 5), "");
    EXPECT_EQ(model.cell(5, 5).attribute, 0x00);
    EXPECT_EQ(getfg(), LightGrey);
    EXPECT_EQ(getbg(), Black);
    EXPECT_EQ(model.cursor(), (Coord{0, 0}));
    EXPECT_EQ(model.size(), (Coord{80, 25}));
    EXPECT_EQ(model.windowBottomRight, (Coord{79, 24}));
    EXPECT_EQ(scrw(), 80);
    EXPECT_EQ(scrh(), 25);
    EXPECT_EQ(model.inputCodePage, 850);
}

TEST_F(ConsoleSetup, WithPagesTheLoadingScreenStaysUntilTheFirstPage) {
    console->pushKeys({'x'});
    coninit(437, 80, 25, ConPages);
    ASSERT_TRUE(vpon());
    const ConsoleModel& model = console->model();
    EXPECT_EQ(trimmed(model, 0, 0), " This program is powered by") << "the clear went to the page";
    EXPECT_EQ(model.cursor(), (Coord{0, 0}));

    Page();
    EXPECT_EQ(trimmed(model, 0, 0), "");
    EXPECT_EQ(trimmed(model, 0, 8), "");
    conexit(80, 25);
}

TEST_F(ConsoleSetup, ResizeRecreatesThePagesAndShrinksTheWindowFirst) {
    console->pushKeys({'x'});
    coninit(437, 80, 25, ConPages);
    Pxyp(3, 4, 'A', Yellow, DarkBlue);
    consize(60, 20);
    ASSERT_TRUE(vpon());
    EXPECT_EQ(scrw(), 60);
    EXPECT_EQ(scrh(), 20);
    ASSERT_NE(workingCell(59, 19), nullptr);
    EXPECT_EQ(workingCell(60, 19), nullptr);
    EXPECT_EQ(workingCell(3, 4)->glyph, 0) << "page cells start afresh";
    EXPECT_EQ(console->model().size(), (Coord{60, 20}));
    EXPECT_EQ(console->model().windowBottomRight, (Coord{59, 19}));
    conexit(80, 25);
    EXPECT_FALSE(vpon());
}

TEST_F(ConsoleSetup, SizeCodePageAndTitleCalls) {
    setbufsize(90, 30);
    EXPECT_EQ(console->model().size(), (Coord{90, 30}));
    setwinsize(70, 20);
    EXPECT_EQ(console->model().windowTopLeft, (Coord{0, 0}));
    EXPECT_EQ(console->model().windowBottomRight, (Coord{69, 19}));
    setcp(1252);
    EXPECT_EQ(console->model().inputCodePage, 1252);
    EXPECT_EQ(console->model().outputCodePage, 1252);
    console->model().outputCodePage = 437;
    EXPECT_EQ(getcp(), 1252) << "the input code page";
    title("AVL Tree Demo");
    EXPECT_EQ(console->model().title, "AVL Tree Demo");
    title(nullptr);
    EXPECT_EQ(console->model().title, "");
}

// Records the window and buffer steps of the console set-up.
class SizeSpy : public MemoryConsole {
  public:
    void setWindowRect(Coord topLeft, Coord bottomRight) override {
        log += "win " + std::to_string(topLeft.x) + "," + std::to_string(topLeft.y) + "," +
               std::to_string(bottomRight.x) + "," + std::to_string(bottomRight.y) + "; ";
        MemoryConsole::setWindowRect(topLeft, bottomRight);
    }
    void setBufferSize(Coord size) override {
        log += "buf " + std::to_string(size.x) + "x" + std::to_string(size.y) + "; ";
        MemoryConsole::setBufferSize(size);
    }
    void maximizeWindow() override {
        log += "max; ";
        MemoryConsole::maximizeWindow();
    }
    std::string log;
};

// Runs in a fresh process, where no size has been recorded yet.
void firstSetUpOfAProcess() {
    BasicMemoryConsoleScope<SizeSpy> console;
    console->pushKeys({'x'});
    coninit(437, 80, 25, 0);
    std::fputs(("sizes: " + console->log + "\n").c_str(), stderr);
    std::exit(0);
}

TEST(ConsoleSetupDeathTest, FirstResizeStartsFromAnEmptyWindow) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(firstSetUpOfAProcess(), ::testing::ExitedWithCode(0),
                "sizes: win 0,0,-1,-1; buf 80x25; win 0,0,79,24; max; "
                "win 0,0,79,24; buf 80x25; win 0,0,79,24; max;");
}

// Runs in a fresh process, where coninit has saved no code page.
void restoreWithoutSetUp() {
    MemoryConsoleScope console;
    console->model().inputCodePage = 850;
    console->model().outputCodePage = 852;
    conexit(80, 25);
    std::fprintf(stderr, "code pages %d %d size %dx%d\n", console->model().inputCodePage,
                 console->model().outputCodePage, scrw(), scrh());
    std::exit(0);
}

TEST(ConsoleSetupDeathTest, ConexitWithoutSetUpLeavesTheCodePageAlone) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(restoreWithoutSetUp(), ::testing::ExitedWithCode(0),
                "code pages 850 852 size 80x25");
}

}  // namespace
}  // namespace orvask
