// The library's error report ends the process, so each case runs in a child
// process; the child describes what the console showed and how it was left
// on stderr, where the parent matches it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/memory_console.h"
#include "orvask/setup.h"

namespace orvask {
namespace {

using platform::ConsoleModel;
using platform::MemoryConsole;

// Keeps the screen as it was at the latest blocking key read, which for the
// error report is the wait for the acknowledging key.
class ErrorConsole : public MemoryConsole {
  public:
    int readKey() override {
        if (!keyWaiting()) atWait = model();
        return MemoryConsole::readKey();
    }
    std::optional<ConsoleModel> atWait;
};

ErrorConsole* reportedConsole = nullptr;

// A row with trailing blanks removed and glyphs outside printable ASCII (the
// frame lines) shown as '#'.
std::string trimmedRow(const ConsoleModel& screen, int y) {
    std::string row = screen.rowText(y);
    row.erase(row.find_last_not_of(' ') + 1);
    for (char& c : row) {
        if (c < ' ' || c > '~') c = '#';
    }
    return row;
}

// Runs at process exit, after conerror has restored the console.
void describeConsole() {
    ErrorConsole& console = *reportedConsole;
    std::string out = "shown[";
    if (console.atWait) {
        const ConsoleModel& screen = *console.atWait;
        out += trimmedRow(screen, 0) + "|" + trimmedRow(screen, 1) + "|" + trimmedRow(screen, 2) +
               "] cursor " + std::to_string(screen.cursor().x) + "," +
               std::to_string(screen.cursor().y) + " attr " +
               std::to_string(screen.cell(0, 0).attribute);
    } else {
        out += "no wait]";
    }
    const ConsoleModel& after = console.model();
    out += " left " + std::to_string(console.keysQueued()) + " size " +
           std::to_string(after.width()) + "x" + std::to_string(after.height()) + " row0[" +
           trimmedRow(after, 0) + "] paging " + (vpon() ? "on" : "off") + " cp " +
           std::to_string(after.inputCodePage) + "\n";
    std::fputs(out.c_str(), stderr);
}

// Sets the console up at 100 by 30 (code page 850 before), then runs `fail`
// with a key typed ahead and the acknowledging key arriving later.
template <typename Fail>
void failAfterSetUp(int flags, Fail fail) {
    // Installed for the rest of the (child) process.
    static ErrorConsole& console = **new platform::BasicMemoryConsoleScope<ErrorConsole>;
    reportedConsole = &console;
    console.model().inputCodePage = 850;
    console.pushKeys({'x'});
    coninit(437, 100, 30, flags);
    std::atexit(describeConsole);
    console.pushKeys({'t'});             // typed ahead: flushed
    console.pushKeyAt(60'000'000, 'y');  // the acknowledgement
    fail();
}

TEST(ConerrorDeathTest, ShowsTheMessageOnAClearedScreenAndRestoresTheConsole) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(failAfterSetUp(0,
                               [] {
                                   Pxy(10, 10, "busy", White, Blue);
                                   conerror("Something went wrong");
                               }),
                ::testing::ExitedWithCode(1),
                "shown\\[ERROR:\\|Something went wrong\\|\\] cursor 0,2 attr 7 left 0 "
                "size 80x25 row0\\[\\] paging off cp 850");
}

TEST(ConerrorDeathTest, WithPagesPrintsOverTheVisibleScreen) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The loading screen is still on the console: only the cursor moves.
    // No {n} counts: Windows' death tests know only simple expressions.
    EXPECT_EXIT(failAfterSetUp(ConPages, [] { conerror("oops"); }), ::testing::ExitedWithCode(1),
                "shown\\[ERROR: rogram is powered by\\|oops" + std::string(34, '#') +
                    "\\| #Orvask v1.2 for Win32 +#\\] "
                    "cursor 0,2 attr 7 left 0 size 80x25 row0\\[\\] paging off cp 850");
}

TEST(ConerrorDeathTest, PageMisuseEndsOnTheErrorScreen) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(failAfterSetUp(0, [] { Page(); }), ::testing::ExitedWithCode(1),
                "shown\\[ERROR:\\|There's no page to apply Page\\(\\)\\.\\|\\] cursor 0,2");
}

}  // namespace
}  // namespace orvask
