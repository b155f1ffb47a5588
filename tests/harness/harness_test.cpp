// The harness run against plain shell commands whose effect on a terminal is
// known, so that a fault in the harness is not mistaken for one in Orvask.
#include <gtest/gtest.h>
#include <signal.h>

#include <stdexcept>

#include "term_harness/terminal.h"
#include "term_harness/tty_modes.h"

namespace term_harness {
namespace {

using namespace std::chrono_literals;

Options shell(const std::string& script) {
    return Options{.argv = {"/bin/sh", "-c", script}};
}

TEST(HarnessScreen, ReadsGlyphsColoursAndAttributes) {
    Terminal term(shell(
        R"(printf '\033[31;44mX\033[0m\033[91;104mY\033[38;5;200mZ\033[0m\033[104m\342\230\272\033[0;1;7mB')"));
    ASSERT_TRUE(term.waitForExit().exitedWith(0));
    EXPECT_EQ(term.cell(0, 0).ch, U'X');
    EXPECT_EQ(term.cell(0, 0).fg, 1);
    EXPECT_EQ(term.cell(0, 0).bg, 4);
    EXPECT_EQ(term.cell(1, 0).fg, 9);
    EXPECT_EQ(term.cell(1, 0).bg, 12);
    EXPECT_EQ(term.cell(2, 0).fg, 200);
    EXPECT_EQ(term.cell(2, 0).bg, 12);
    EXPECT_EQ(term.cell(3, 0).ch, U'\u263A');
    EXPECT_EQ(term.cell(3, 0).utf8(), "\u263A");
    EXPECT_TRUE(term.cell(4, 0).bold);
    EXPECT_TRUE(term.cell(4, 0).reverse);
    EXPECT_EQ(term.cell(4, 0).bg, kDefaultColour);
    EXPECT_EQ(term.cell(5, 0).ch, 0u);
    EXPECT_EQ(term.cell(5, 0).glyph(), U' ');
    EXPECT_EQ(term.rowText(0).substr(0, 8), "XYZ\u263AB ");
    EXPECT_EQ(term.screen().find("\u263AB").col, 3);
    EXPECT_GE(term.totalBytes(), 40u);
    EXPECT_TRUE(term.screen().pen().reverse);
    EXPECT_FALSE(term.screen().penIsDefault());
}

// The reads cut the program's output anywhere, also inside a character.
TEST(HarnessScreen, ACharacterCutBetweenTwoReadsShowsWhole) {
    const std::string text = "a\u2550\u2550\U0001F600b";
    for (std::size_t cut = 1; cut < text.size(); ++cut) {
        term_harness::Screen screen(10, 1);
        screen.feed(text.substr(0, cut));
        screen.feed(text.substr(cut));
        EXPECT_EQ(screen.rowText(0).substr(0, 12), text) << "cut at " << cut;
    }
}

TEST(HarnessScreen, FollowsTitleAltScreenAndCursor) {
    Terminal term(shell(
        R"(printf '\033]2;Before\007\033[22;0t\033]2;Hello there\007\033[?1049h\033[?25l\033[3;5HX\033[4 q'; read x;)"
        R"(printf '\033[?25h\033[?1049l\033[0 q\033[23;0t')"));
    ASSERT_TRUE(term.waitUntil([&] { return term.contains("X"); }));
    EXPECT_EQ(term.title(), "Hello there");
    EXPECT_TRUE(term.altScreen());
    EXPECT_FALSE(term.cursorVisible());
    EXPECT_EQ(term.cursor(), (Position{5, 2}));
    EXPECT_EQ(term.screen().cursorShape(), 2);  // underline
    term.press("Enter");
    ASSERT_TRUE(term.waitForExit().exitedWith(0));
    EXPECT_FALSE(term.altScreen());
    EXPECT_TRUE(term.cursorVisible());
    EXPECT_FALSE(term.contains("X"));
    EXPECT_EQ(term.title(), "Before");
    EXPECT_TRUE(term.screen().penIsDefault());
}

TEST(HarnessInput, TypesNamedKeysAsXtermAndFollowsCursorKeyMode) {
    EXPECT_EQ(xtermKey("Up"), "\x1b[A");
    EXPECT_EQ(xtermKey("Up", true), "\x1bOA");
    EXPECT_EQ(xtermKey("F1"), "\x1bOP");
    EXPECT_EQ(xtermKey("Shift+F3"), "\x1b[1;2R");
    EXPECT_EQ(xtermKey("F5"), "\x1b[15~");
    EXPECT_EQ(xtermKey("ctrl+F12"), "\x1b[24;5~");
    EXPECT_EQ(xtermKey("Ctrl+Left"), "\x1b[1;5D");
    EXPECT_EQ(xtermKey("Alt+PageDown"), "\x1b[6;3~");
    EXPECT_EQ(xtermKey("Alt+x"), "\x1bx");
    EXPECT_EQ(xtermKey("Shift+a"), "A");
    EXPECT_EQ(xtermKey("Ctrl+c"), "\x03");
    EXPECT_EQ(xtermKey("+"), "+");
    EXPECT_EQ(xtermKey("Shift+Tab"), "\x1b[Z");
    EXPECT_EQ(xtermKey("Backspace"), "\x7f");
    EXPECT_EQ(xtermKey("Enter"), "\r");
    EXPECT_EQ(xtermKey("Esc"), "\x1b");
    EXPECT_THROW(xtermKey("Hyper+a"), std::invalid_argument);
    EXPECT_THROW(xtermKey("Upp"), std::invalid_argument);
    EXPECT_THROW(xtermKey("Ctrl+Enter"), std::invalid_argument);

    Terminal term(shell("stty raw -echo; printf '\\033[?1h'; head -c 7 | od -An -tx1"));
    ASSERT_TRUE(term.waitUntil([&] { return term.screen().applicationCursorKeys(); }));
    ASSERT_TRUE(term.press("Up"));
    ASSERT_TRUE(term.press("Ctrl+Up"));
    ASSERT_TRUE(term.waitForText("1b 4f 41 1b 5b 31 3b")) << term.screenText();
    EXPECT_TRUE(term.waitForExit().exitedWith(0));
}

TEST(HarnessInput, AnswersCursorPositionQueries) {
    Terminal term(shell(R"(stty raw -echo; printf '\033[5;7H\033[6n'; head -c 6 | od -An -c)"));
    ASSERT_TRUE(term.waitForText("[   5   ;   7   R")) << term.screenText();
}

TEST(HarnessInput, PipeModeDeliversTypedTextAndEndOfInput) {
    Terminal term({.argv = {"/bin/sh", "-c", "tr a-z A-Z; echo done"}, .stdinFromPipe = true});
    ASSERT_TRUE(term.type("hello\n"));
    ASSERT_TRUE(term.waitForText("HELLO")) << term.screenText();
    term.closeInput();
    EXPECT_TRUE(term.waitForExit().exitedWith(0));
    EXPECT_TRUE(term.contains("done"));
    EXPECT_FALSE(term.type("late")) << "input is closed";
}

TEST(HarnessProcess, ReportsExitCodesSignalsAndStops) {
    EXPECT_TRUE(Terminal(shell("exit 7")).waitForExit().exitedWith(7));
    EXPECT_TRUE(Terminal(shell("kill -SEGV $$")).waitForExit().killedBy(SIGSEGV));

    Terminal missing({.argv = {"/nonexistent/program"}});
    EXPECT_TRUE(missing.waitForExit().exitedWith(127));
    EXPECT_TRUE(missing.contains("cannot run /nonexistent/program"));

    // A job-control shell's foreground job really stops on SIGTSTP.
    Terminal sleeper({.argv = {"sleep", "30"}});
    ASSERT_TRUE(sleeper.sendSignal(SIGTSTP));
    EXPECT_EQ(sleeper.waitForStop().state, ExitStatus::State::Stopped);
    ASSERT_TRUE(sleeper.sendSignal(SIGCONT));
    EXPECT_TRUE(
        sleeper.waitUntil([&] { return sleeper.status().state == ExitStatus::State::Running; }));
    ASSERT_TRUE(sleeper.sendSignal(SIGTERM));
    EXPECT_TRUE(sleeper.waitForExit().killedBy(SIGTERM));
    EXPECT_FALSE(sleeper.sendSignal(SIGTERM));
}

TEST(HarnessProcess, HangUpSendsSighupAndAHungProgramTimesOut) {
    Terminal term({.argv = {"sleep", "30"}});
    EXPECT_FALSE(term.waitForText("never", 50ms));
    EXPECT_FALSE(term.waitForExit(50ms).ended());
    term.hangUp();
    EXPECT_TRUE(term.waitForExit().killedBy(SIGHUP));
    EXPECT_FALSE(term.ttyModes().has_value());
}

TEST(HarnessDevice, ReadsModesAndResizes) {
    Terminal term(shell(R"sh(stty raw -echo; trap 'printf "%s\r\n" "$(stty size)"' WINCH; )sh"
                        R"(printf 'ready\r\n'; while :; do sleep 0.02; done)"));
    ASSERT_TRUE(term.waitForText("ready"));
    ASSERT_TRUE(term.ttyModes().has_value());
    EXPECT_TRUE(isRaw(*term.ttyModes()));
    term.resize(100, 30);
    ASSERT_TRUE(term.waitForText("30 100")) << term.screenText();
    EXPECT_EQ(term.screen().cols(), 100);
    term.markOutput();
    EXPECT_TRUE(term.waitQuiet(60ms));
    EXPECT_EQ(term.bytesSinceMark(), 0u);
    term.resize(90, 28);
    ASSERT_TRUE(term.waitForText("28 90"));
    EXPECT_GT(term.bytesSinceMark(), 0u);
}

TEST(HarnessDevice, DescribesModeDifferences) {
    Terminal term(shell("sleep 30"));
    const std::optional<termios> cooked = term.ttyModes();
    ASSERT_TRUE(cooked.has_value());
    EXPECT_TRUE(isCooked(*cooked));
    EXPECT_EQ(describeModeDifference(term.initialModes(), *cooked), "");
    EXPECT_EQ(describeModeDifference(*cooked, *cooked), "");
    termios raw = *cooked;
    cfmakeraw(&raw);
    EXPECT_TRUE(isRaw(raw));
    EXPECT_NE(describeModeDifference(*cooked, raw).find("c_lflag"), std::string::npos);
}

}  // namespace
}  // namespace term_harness
