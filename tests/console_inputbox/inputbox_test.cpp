// The input box on the in-memory console. Keys are scripted at virtual times
// after the box has opened (the box flushes keys typed ahead), so the spinner
// turns on the virtual clock while the box waits.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "orvask/inputbox.h"
#include "orvask/keyboard.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/memory_console.h"
#include "orvask/setup.h"

namespace orvask {
namespace {

using platform::ConsoleModel;

// Keeps a copy of the screen at every key read and notes every sleep, with
// the glyph a watched cell showed at that moment.
class RecordingConsole : public platform::MemoryConsole {
  public:
    struct Sleep {
        std::uint64_t at;
        std::uint32_t ms;
        std::uint8_t watched;
    };

    int readKey() override {
        screens.push_back(model());
        return MemoryConsole::readKey();
    }
    void sleep(std::uint32_t ms) override {
        sleeps.push_back({now(), ms, watch.x >= 0 ? glyph(watch.x, watch.y) : std::uint8_t{0}});
        MemoryConsole::sleep(ms);
    }

    std::vector<ConsoleModel> screens;  // before each key read
    std::vector<Sleep> sleeps;
    platform::Coord watch{-1, -1};
};

constexpr std::uint8_t attr(int fg, int bg) {
    return static_cast<std::uint8_t>(bg << 4 | fg);
}
constexpr std::uint8_t kFrame = attr(White, DarkBlue);
constexpr std::uint8_t kText = attr(Yellow, DarkBlue);

class InputBox : public ::testing::Test {
  protected:
    ~InputBox() override { conexit(80, 25); }

    // 80 by 25, one key for the loading screen, a cleared screen.
    void start(int conFlags = 0) {
        con.pushKeys({key::Enter});
        coninit(437, 80, 25, conFlags);
        con.screens.clear();
        con.sleeps.clear();
    }
    // One key press (one or two codes) arriving `afterUs` from now.
    void pressAfter(std::uint64_t afterUs, std::initializer_list<int> codes) {
        for (int code : codes)
            con.pushKeyAt(con.now() + afterUs, code);
    }
    // Key presses arriving 100 ms apart, the first 100 ms from now.
    void typeLater(std::initializer_list<int> codes) {
        std::uint64_t at = con.now();
        for (int code : codes)
            con.pushKeyAt(at += 100'000, code);
    }
    int ask(short x, short y, const char* prompt, int maxlen, int flags) {
        return inputbox(x, y, prompt, buf, maxlen, White, DarkBlue, Yellow, flags);
    }

  private:
    platform::BasicMemoryConsoleScope<RecordingConsole> installed_;

  protected:
    RecordingConsole& con = *installed_;
    char buf[64] = "untouched";
};

std::string text(const ConsoleModel& screen, int x, int y, int length) {
    return screen.rowText(y).substr(static_cast<std::size_t>(x), static_cast<std::size_t>(length));
}

TEST_F(InputBox, LaysOutFramePromptAndFieldThenBlanksItselfWithoutPages) {
    start();
    typeLater({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', key::Enter});
    EXPECT_EQ(ask(10, 5, "Name", 8, 0), 1);
    EXPECT_STREQ(buf, "abcdefgh");

    const ConsoleModel& opened = con.screens.at(0);
    EXPECT_EQ(opened.cell(10, 5).glyph, 218);
    EXPECT_EQ(opened.cell(27, 5).glyph, 191);
    EXPECT_EQ(opened.cell(10, 7).glyph, 192);
    EXPECT_EQ(opened.cell(27, 7).glyph, 217);
    EXPECT_EQ(opened.cell(11, 5).glyph, 196);
    EXPECT_EQ(opened.cell(27, 6).glyph, 179);
    EXPECT_EQ(opened.cell(10, 5).attribute, kFrame);
    EXPECT_EQ(opened.cell(28, 6).attribute, attr(Black, Black));  // outside untouched
    EXPECT_EQ(text(opened, 11, 6, 7), "Name : ");
    EXPECT_EQ(opened.cell(11, 6).attribute, kText);
    // The spinner's third turn (the first key comes at 100 ms), in the first input column.
    EXPECT_EQ(opened.cell(18, 6).glyph, '-');
    EXPECT_EQ(opened.cell(19, 6).glyph, ' ');  // the filled inside

    const ConsoleModel& full = con.screens.back();  // eight typed, before Enter
    EXPECT_EQ(text(full, 18, 6, 8), "abcdefgh");
    EXPECT_NE(std::string("|/-\\").find(static_cast<char>(full.cell(26, 6).glyph)),
              std::string::npos);

    for (int y = 5; y <= 7; ++y) {
        for (int x = 10; x <= 27; ++x) {
            EXPECT_EQ(con.glyph(x, y), ' ') << x << "," << y;
            EXPECT_EQ(con.attributeAt(x, y), attr(Yellow, Black)) << x << "," << y;
        }
    }
}

TEST_F(InputBox, CentresOnTheScreenOrAroundTheGivenColumn) {
    start();
    typeLater({key::Esc});
    ask(-1, -1, "Name", 8, 0);
    typeLater({key::Esc});
    ask(40, 2, "Name", 8, BoxCentreX);
    ASSERT_EQ(con.screens.size(), 2u);
    EXPECT_EQ(con.screens[0].cell(32, 10).glyph, 218);
    EXPECT_EQ(con.screens[0].cell(49, 12).glyph, 217);
    EXPECT_EQ(con.screens[1].cell(32, 2).glyph, 218);
    EXPECT_EQ(con.screens[1].cell(49, 2).glyph, 191);
}

TEST_F(InputBox, BackspaceRemovesTheLastCharacterAndStopsAtTheStart) {
    start();
    typeLater({key::Backspace, 'a', 'b', 'c', key::Backspace, 'd', key::Enter});
    EXPECT_EQ(ask(10, 5, "Name", 8, 0), 1);
    EXPECT_STREQ(buf, "abd");
    EXPECT_EQ(text(con.screens.back(), 18, 6, 3), "abd");
}

TEST_F(InputBox, KeysTypedBeforeTheBoxOpenedAreThrownAway) {
    start();
    con.pushKeys({'x', key::Enter});  // typed ahead, already waiting
    typeLater({'a', key::Enter});
    EXPECT_EQ(ask(10, 5, "Name", 8, 0), 1);
    EXPECT_STREQ(buf, "a");
}

TEST_F(InputBox, EscCancelsKeepingTheTextOrLeavingZeroForNumbers) {
    start();
    typeLater({'1', '2', key::Esc});
    EXPECT_EQ(ask(10, 5, "Age", 4, 0), 0);
    EXPECT_STREQ(buf, "12");
    typeLater({'1', '2', key::Esc});
    EXPECT_EQ(ask(10, 5, "Age", 4, InputNumber), 0);
    EXPECT_STREQ(buf, "0");
}

TEST_F(InputBox, NumberAndUnsignedNumberModesRefuseOtherKeys) {
    start();
    typeLater({'a', '-', '5', ' ', '-', key::Enter});
    EXPECT_EQ(ask(10, 5, "N", 8, InputNumber), 1);
    EXPECT_STREQ(buf, "-5-");
    typeLater({'-', '7', 'x', '3', key::Enter});
    EXPECT_EQ(ask(10, 5, "N", 8, InputNumber | InputNoMinus), 1);
    EXPECT_STREQ(buf, "73");
}

TEST_F(InputBox, IdentifierModeTurnsSpacesIntoUnderscoresAndRefusesPunctuation) {
    start();
    typeLater({'m', 'y', ' ', 'v', '.', 'a', '!', 'r', key::Enter});
    EXPECT_EQ(ask(10, 5, "Id", 10, InputIdentifier), 1);
    EXPECT_STREQ(buf, "my_var");
}

TEST_F(InputBox, PasswordShowsAsterisksAndStoresTheText) {
    start();
    typeLater({'a', 'b', 'c', key::Enter});
    EXPECT_EQ(ask(10, 5, "Pass", 8, InputPassword), 1);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(text(con.screens.back(), 18, 6, 4).substr(0, 3), "***");
}

TEST_F(InputBox, AcceptsControlCharactersButIgnoresKeysWithoutACharacter) {
    start();
    std::uint64_t at = 100'000;
    pressAfter(at, {key::Tab});
    pressAfter(at += 100'000, {224, 72});  // Up
    pressAfter(at += 100'000, {0, 59});    // F1
    pressAfter(at += 100'000, {'z'});
    pressAfter(at += 100'000, {key::Enter});
    EXPECT_EQ(ask(10, 5, "Name", 8, 0), 1);
    EXPECT_STREQ(buf, "\tz");
}

TEST_F(InputBox, IgnoresCharactersBeyondTheMaximumLength) {
    start();
    typeLater({'a', 'b', 'c', 'd', 'e', key::Backspace, 'x', key::Enter});
    EXPECT_EQ(ask(10, 5, "Code", 3, 0), 1);
    EXPECT_STREQ(buf, "abx");
}

TEST_F(InputBox, LenientYesNoAnswersWithTheFirstKey) {
    start();
    const struct {
        int key;
        const char* answer;
    } cases[] = {{'y', "Y"}, {'Y', "Y"}, {'n', "n"}, {key::Esc, "n"}, {key::Enter, "n"}};
    for (const auto& c : cases) {
        typeLater({c.key});
        EXPECT_EQ(ask(10, 5, "Sure?", 40, InputYesNo), 1) << c.key;
        EXPECT_STREQ(buf, c.answer) << c.key;
    }
}

TEST_F(InputBox, StrictYesNoHintsAtCapitalYAndKeepsTheHintWithoutPages) {
    start();
    typeLater({'y'});
    pressAfter(1'000'000, {'Y'});  // after the hint's pause and flush
    EXPECT_EQ(ask(10, 5, "Sure?", 1, InputYesNoStrict), 1);
    EXPECT_STREQ(buf, "Y");
    EXPECT_EQ(con.text(20, 8, 21), "Press 'Y' to confirm.");
    EXPECT_EQ(con.attributeAt(20, 8), attr(White, Black));
}

TEST_F(InputBox, StrictYesNoHintIsTakenBackWithPages) {
    start(ConPages);
    Pm(0, 8, "`G0123456789012345678901234567890123456789");
    Page();
    const std::string before = con.rowText(8);
    typeLater({'y'});
    pressAfter(1'000'000, {'n'});
    EXPECT_EQ(ask(10, 5, "Sure?", 1, InputYesNoStrict), 1);
    EXPECT_STREQ(buf, "n");
    EXPECT_EQ(con.screens.back().rowText(8), before);  // hint gone before the next key
    EXPECT_EQ(con.rowText(8), before);
}

TEST_F(InputBox, SpinnerTurnsOneStepEvery40Milliseconds) {
    start();
    con.watch = {18, 6};
    const std::uint64_t t0 = con.now();
    pressAfter(1'000'000, {key::Enter});
    EXPECT_EQ(ask(10, 5, "Name", 8, 0), 1);

    ASSERT_EQ(con.sleeps.size(), 25u);  // 0, 40, ..., 960 ms; the key comes at 1000
    std::string turns;
    for (std::size_t i = 0; i < con.sleeps.size(); ++i) {
        EXPECT_EQ(con.sleeps[i].ms, 40u);
        EXPECT_EQ(con.sleeps[i].at, t0 + i * 40'000);
        turns.push_back(static_cast<char>(con.sleeps[i].watched));
    }
    EXPECT_EQ(turns, "|/-\\|/-\\|/-\\|/-\\|/-\\|/-\\|");
}

TEST_F(InputBox, OpeningAnimationPacesEachStep) {
    start();
    pressAfter(1'000'000, {key::Enter});
    ask(10, 5, "Name", 8, BoxAnimate);  // 17 columns wide: 8 steps of 250 / 17 ms
    ASSERT_GE(con.sleeps.size(), 9u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(con.sleeps[i].ms, 14u) << i;
    EXPECT_EQ(con.sleeps[8].ms, 40u);
}

TEST_F(InputBox, WithPagesTheShadowDimsAndClosingRestoresEveryCoveredCell) {
    start(ConPages);
    for (int y = 3; y <= 10; ++y) {
        for (int x = 5; x <= 40; ++x) {
            Pxyp(static_cast<short>(x), static_cast<short>(y),
                 static_cast<unsigned char>('A' + (x + y) % 26),
                 static_cast<unsigned char>((x + y) % 16), static_cast<unsigned char>(x % 8));
        }
    }
    // Cells that show in the colours of the moment they were drawn.
    for (int x = 20; x <= 24; ++x)
        Pxyp(static_cast<short>(x), 8, Cell{'k', KeepFg, KeepBg});
    setcolor(Cyan, Brown);
    Page();
    const ConsoleModel before = con.model();

    typeLater({'h', 'i', key::Enter});
    EXPECT_EQ(ask(10, 5, "Name", 8, BoxShadow), 1);
    EXPECT_STREQ(buf, "hi");

    const ConsoleModel& opened = con.screens.at(0);
    auto dimmed = [&](int x, int y) {
        const platform::CellData under = before.cell(x, y);
        return attr(darker(under.attribute & 0x0F), darker(under.attribute >> 4));
    };
    for (int x = 11; x <= 28; ++x) {
        EXPECT_EQ(opened.cell(x, 8).glyph, before.cell(x, 8).glyph) << x;
        EXPECT_EQ(opened.cell(x, 8).attribute, dimmed(x, 8)) << x;
    }
    EXPECT_EQ(opened.cell(28, 6).attribute, dimmed(28, 6));
    EXPECT_EQ(opened.cell(10, 8), before.cell(10, 8));  // the shadow starts one column in

    for (int y = 5; y <= 8; ++y) {
        for (int x = 10; x <= 28; ++x)
            EXPECT_EQ(con.cell(x, y), before.cell(x, y)) << x << "," << y;
    }
    con.takeOutput();
    Page();  // the box never touched the working page
    EXPECT_TRUE(con.takeOutput().empty());
}

TEST_F(InputBox, EndOfInputCancelsInsteadOfWaitingForEver) {
    start();
    EXPECT_EQ(ask(10, 5, "Age", 4, InputNumber), 0);
    EXPECT_STREQ(buf, "0");

    typeLater({'a', 'b'});
    EXPECT_EQ(ask(10, 5, "Name", 8, 0), 0);
    EXPECT_STREQ(buf, "ab");
    EXPECT_EQ(con.glyph(10, 5), ' ');  // closed as usual

    EXPECT_EQ(ask(10, 5, "Sure?", 1, InputYesNo), 0);
    EXPECT_STREQ(buf, "n");

    pressAfter(100'000, {0});  // the input ends between the halves of a key
    EXPECT_EQ(ask(10, 5, "Name", 8, 0), 0);
    EXPECT_EQ(lastkey, -1);
}

TEST_F(InputBox, WithoutRoomForACharacterNothingIsWrittenPastTheBuffer) {
    start();
    const auto tiny = std::make_unique<char[]>(1);  // maxlen 0: one byte, the terminator
    struct Case {
        int flags;
        std::initializer_list<int> keys;
        int result;
    };
    const Case cases[] = {{InputNumber, {'5', key::Esc}, 0},
                          {InputNumber, {}, 0},  // the input ends
                          {0, {key::Backspace, 'a', key::Enter}, 1}};
    for (const Case& c : cases) {
        tiny[0] = 'x';
        typeLater(c.keys);
        EXPECT_EQ(inputbox(10, 5, "Name", tiny.get(), 0, White, DarkBlue, Yellow, c.flags),
                  c.result);
        EXPECT_EQ(tiny[0], '\0') << c.flags;
    }
    const ConsoleModel& afterBackspace = con.screens.back();
    EXPECT_EQ(afterBackspace.cell(19, 6).glyph, 179) << "the frame's right edge stays";

    // A yes/no box answers in two bytes whatever maxlen says.
    for (const int maxlen : {0, -1}) {
        typeLater({'y'});
        EXPECT_EQ(ask(10, 5, "Sure?", maxlen, InputYesNo), 1) << maxlen;
        EXPECT_STREQ(buf, "Y") << maxlen;
    }
}

TEST_F(InputBox, PromptAndHintAreClippedAtTheRightEdgeAndTakenBackWithPages) {
    start(ConPages);
    for (short y = 4; y <= 9; ++y)
        Pm(0, y, "`G0123456789012345678901234567890123456789012345678901234567890123456789");
    Page();
    const ConsoleModel before = con.model();
    typeLater({'y'});
    pressAfter(1'000'000, {'Y'});
    EXPECT_EQ(ask(76, 5, "Name", 8, InputYesNoStrict), 1);
    const ConsoleModel& hinted = con.screens.back();
    EXPECT_EQ(text(hinted, 77, 6, 3), "Nam");
    EXPECT_EQ(text(hinted, 0, 7, 5), text(before, 0, 7, 5)) << "nothing wraps onto the next row";
    for (int y = 0; y < 25; ++y)
        EXPECT_EQ(con.model().rowText(y), before.rowText(y)) << y;
}

TEST_F(InputBox, RefusesImpossibleSizesWithoutDrawing) {
    start();
    con.takeOutput();
    EXPECT_EQ(ask(10, 5, "Name", -1, 0), 0);
    EXPECT_STREQ(buf, "untouched");
    EXPECT_EQ(ask(10, 5, "Name", 1'000'000, 0), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(ask(32760, 5, "Name", 8, 0), 0);  // the right edge would pass 32767
    EXPECT_TRUE(con.takeOutput().empty());
    std::strcpy(buf, "untouched");
    EXPECT_EQ(ask(32740, 5, "ab", 8, InputYesNoStrict), 0);  // its hint would pass 32767
    EXPECT_STREQ(buf, "");

    // The hint counts for strict boxes only, the shadow for shadowed ones.
    typeLater({'x', key::Enter});
    EXPECT_EQ(ask(32740, 5, "ab", 8, 0), 1);
    EXPECT_STREQ(buf, "x");
    typeLater({'x', key::Enter});
    EXPECT_EQ(ask(32752, 5, "ab", 8, BoxShadow), 0);
    EXPECT_STREQ(buf, "");
}

}  // namespace
}  // namespace orvask
