// orvask-tour on a real (pseudo-)terminal: a user walks through every screen,
// answers the input boxes and leaves; the terminal must come back as it was.

#include <gtest/gtest.h>

#include <string>

#include "term_harness/terminal.h"
#include "term_harness/tty_modes.h"

namespace {

using namespace std::chrono_literals;
using term_harness::Terminal;

class Tour : public ::testing::Test {
  protected:
    explicit Tour(bool stdinFromPipe = false)
        : term({.argv = {ORVASK_TOUR_PATH}, .stdinFromPipe = stdinFromPipe}) {}

    // Past the loading screen onto the first screen of the tour.
    void SetUp() override {
        ASSERT_TRUE(term.waitForText("Press any key to continue...")) << term.screenText();
        term.press("Enter");
        ASSERT_TRUE(term.waitForText("Orvask tour - Welcome")) << term.screenText();
        waitForFooter();
    }
    // The footer is drawn last: once it shows, the whole screen is there.
    void waitForFooter() {
        const std::string footer = "Screen " + std::to_string(screen) + " of 9";
        ASSERT_TRUE(term.waitForText(footer)) << term.screenText();
    }
    // Goes on with a key and waits for the next screen's title.
    void next(const char* title, const char* keyName = "Space") {
        term.press(keyName);
        ASSERT_TRUE(term.waitForText(std::string("Orvask tour - ") + title)) << term.screenText();
        ++screen;
        waitForFooter();
    }
    // The first input column of the box with this prompt, once it shows.
    term_harness::Position fieldOf(const std::string& prompt) {
        const std::string shown = prompt + " : ";
        EXPECT_TRUE(term.waitForText(shown)) << term.screenText();
        term_harness::Position at = term.screen().find(shown);
        at.col += static_cast<int>(shown.size());
        return at;
    }
    char32_t spinnerAt(term_harness::Position at) { return term.cell(at.col, at.row).glyph(); }
    // Waits until the input box with this prompt reads keys: its spinner
    // turns in the first input column (keys typed before the box has flushed
    // the keyboard would be thrown away).
    void waitForBox(const std::string& prompt) {
        const term_harness::Position at = fieldOf(prompt);
        ASSERT_TRUE(term.waitUntil([&] {
            const char32_t c = spinnerAt(at);
            return c == U'|' || c == U'/' || c == U'-' || c == U'\\';
        })) << term.screenText();
    }
    // Waits for the next turn of the spinner.
    void waitForSpinnerTurn(const std::string& prompt) {
        const term_harness::Position at = fieldOf(prompt);
        const char32_t before = spinnerAt(at);
        ASSERT_TRUE(term.waitUntil([&] { return spinnerAt(at) != before; })) << term.screenText();
    }
    // Types an answer into the box with this prompt and ends it with a key.
    void answer(const char* prompt, const char* typed, const char* finalKey = "Enter") {
        waitForBox(prompt);
        term.type(typed);
        if (finalKey != nullptr) term.press(finalKey);
    }
    void expectLeftCleanly() {
        EXPECT_TRUE(term.waitForExit().exitedWith(0)) << term.screenText();
        EXPECT_FALSE(term.altScreen());
        EXPECT_TRUE(term.cursorVisible());
        if (term.ttyModes()) {
            EXPECT_EQ(term_harness::describeModeDifference(term.initialModes(), *term.ttyModes()),
                      "");
        }
    }

    Terminal term;
    int screen = 1;
};

TEST_F(Tour, WalksThroughEveryScreenAndShowsEveryInputBack) {
    EXPECT_EQ(term.title(), "Orvask tour");

    next("Colours and markup");
    EXPECT_TRUE(term.contains("Score 1234  field of 6 [    42]"));
    next("Glyphs");
    EXPECT_TRUE(term.contains("\u263C"));  // `* drawn as the sun of code page 437
    EXPECT_TRUE(term.contains("\u2554"));  // the double-line top-left corner
    next("Frames", "Down");                // keys without a character go on as well
    next("Text boxes");
    ASSERT_TRUE(term.waitForText("Centred on column 40"));
    next("Input boxes");

    answer("Your name", "Ada");
    answer("A whole number", "x-4b2");
    answer("Your age", "-3a7");
    answer("A variable name", "my var!");
    waitForBox("A password");
    term.type("secret");
    ASSERT_TRUE(term.waitForText("******"));
    EXPECT_FALSE(term.contains("secret"));
    term.press("Enter");
    answer("Like it? (y/n)", "y", nullptr);  // answers at once
    answer("Really? (Y/n)", "y", nullptr);   // only a capital Y will do
    ASSERT_TRUE(term.waitForText("Press 'Y' to confirm.")) << term.screenText();
    // The hint stays for 500 ms, is taken back, and the box flushes the
    // keyboard: a key counts only once the spinner turns again.
    waitForSpinnerTurn("Really? (Y/n)");
    EXPECT_FALSE(term.contains("Press 'Y'"));
    term.type("Y");
    ASSERT_TRUE(term.waitForText("Every answer is above.")) << term.screenText();

    next("Dice and random numbers");
    EXPECT_TRUE(term.contains("dice(3, 6)"));
    term.press("r");  // rolls again, same screen
    EXPECT_TRUE(term.waitQuiet());
    EXPECT_TRUE(term.contains("Dice and random numbers"));
    next("Timers");
    ASSERT_TRUE(term.waitForText("elapsed"));
    next("Your answers");
    for (const char* line : {"text: Ada", "number (0x01): -42", "unsigned (0x01|0x20): 37",
                             "identifier (0x10): my_var", "password (0x02): secret",
                             "yes/no (0x04): Y", "strict yes/no (0x08): Y"}) {
        EXPECT_TRUE(term.contains(line)) << line << "\n" << term.screenText();
    }
    term.press("Enter");
    expectLeftCleanly();
}

TEST_F(Tour, EscLeavesFromTheMiddleOfTheTour) {
    next("Colours and markup");
    next("Glyphs");
    term.press("Esc");
    expectLeftCleanly();
}

TEST_F(Tour, EscInAnInputBoxCancelsOnlyThatBox) {
    for (const char* title :
         {"Colours and markup", "Glyphs", "Frames", "Text boxes", "Input boxes"}) {
        next(title);
    }
    answer("Your name", "Bob", "Esc");
    waitForBox("A whole number");
    EXPECT_TRUE(term.contains("Bob (cancelled)"));
    answer("A whole number", "12", "Esc");
    waitForBox("Your age");
    EXPECT_TRUE(term.contains("0 (cancelled)"));
}

class TourFromPipe : public Tour {
  protected:
    TourFromPipe() : Tour(true) {}
};

TEST_F(TourFromPipe, EndOfInputInsideAnInputBoxLeavesWithStatusZero) {
    for (const char* title :
         {"Colours and markup", "Glyphs", "Frames", "Text boxes", "Input boxes"}) {
        next(title);
    }
    waitForBox("Your name");
    term.type("Al");
    term.closeInput();
    expectLeftCleanly();
}

}  // namespace
