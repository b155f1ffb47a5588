// The terminal is taken over while the program runs and given back on every
// way out: return, exit(), terminating signals, crashes, a stop, the end of
// the input.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "probe_launch.h"
#include "term_harness/terminal.h"
#include "term_harness/tty_modes.h"

namespace terminal_test {
namespace {

using namespace std::chrono_literals;
using term_harness::ExitStatus;
using term_harness::Terminal;

// AddressSanitizer must not turn the crash signals into reports of its own:
// the backend's handlers are what is under test.
term_harness::Options waitingProbe() {
    term_harness::Options options = probeFromShell("wait");
    options.env = {
        {"ASAN_OPTIONS", "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_abort=0"}};
    return options;
}

void expectTakenOver(const Terminal& term) {
    EXPECT_TRUE(term.altScreen());
    const std::optional<termios> modes = term.ttyModes();
    ASSERT_TRUE(modes.has_value());
    EXPECT_TRUE(term_harness::isRaw(*modes));
    EXPECT_FALSE(term.cursorVisible());
    EXPECT_EQ(term.title(), "Probe waiting");
}

// As the user left it: modes, main screen with the prompt, cursor, colours, title.
void expectGivenBack(const Terminal& term) {
    const std::optional<termios> modes = term.ttyModes();
    ASSERT_TRUE(modes.has_value());
    EXPECT_EQ(term_harness::describeModeDifference(term.initialModes(), *modes), "");
    EXPECT_FALSE(term.altScreen());
    EXPECT_TRUE(term.contains(kUserPrompt)) << term.screenText();
    EXPECT_TRUE(term.cursorVisible());
    EXPECT_EQ(term.screen().cursorShape(), 1) << "cursor not back to its default style";
    EXPECT_TRUE(term.screen().cursorBlink()) << "cursor not back to its default style";
    EXPECT_TRUE(term.screen().penIsDefault()) << "attributes not reset";
    EXPECT_EQ(term.title(), kUserTitle);
}

struct WayOut {
    const char* label;
    char key;    // typed to the probe, or 0
    int signal;  // sent to the probe, or 0
    // The status it must end with; with neither set, any end will do.
    int exitCode;
    int deathSignal;
};

void PrintTo(const WayOut& way, std::ostream* out) {
    *out << way.label;
}

class TerminalRestore : public testing::TestWithParam<WayOut> {};

TEST_P(TerminalRestore, GivenBackOnEveryWayOut) {
    const WayOut& way = GetParam();
    Terminal term(waitingProbe());
    ASSERT_TRUE(term.waitForText("wait ready")) << term.screenText();
    term.waitQuiet();
    expectTakenOver(term);

    if (way.key) {
        term.type(std::string(1, way.key));
    }
    if (way.signal) {
        ASSERT_TRUE(term.sendSignal(way.signal));
    }
    const ExitStatus status = term.waitForExit();
    ASSERT_TRUE(status.ended()) << "still running after " << way.label;
    if (way.exitCode >= 0) {
        EXPECT_TRUE(status.exitedWith(way.exitCode)) << status;
    }
    if (way.deathSignal) {
        EXPECT_TRUE(status.killedBy(way.deathSignal)) << status;
    }
    expectGivenBack(term);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TerminalRestore,
    testing::Values(
        WayOut{"ReturnFromMain", 'q', 0, 0, 0}, WayOut{"Exit", 'e', 0, 3, 0},
        WayOut{"SIGTERM", 0, SIGTERM, -1, 0}, WayOut{"SIGHUP", 0, SIGHUP, -1, 0},
        WayOut{"SIGINT", 0, SIGINT, -1, 0}, WayOut{"SIGQUIT", 0, SIGQUIT, -1, 0},
        WayOut{"SIGSEGV", 0, SIGSEGV, -1, SIGSEGV}, WayOut{"SIGABRT", 0, SIGABRT, -1, SIGABRT},
        WayOut{"SIGBUS", 0, SIGBUS, -1, SIGBUS}, WayOut{"SIGFPE", 0, SIGFPE, -1, SIGFPE},
        WayOut{"WildPointerWrite", 's', 0, -1, SIGSEGV}, WayOut{"Abort", 'a', 0, -1, SIGABRT},
        WayOut{"RaisedSIGBUS", 'b', 0, -1, SIGBUS}, WayOut{"RaisedSIGFPE", 'f', 0, -1, SIGFPE},
        // Signals a program may use for its own ends, which end one that does not.
        WayOut{"SIGPIPE", 0, SIGPIPE, -1, SIGPIPE}, WayOut{"SIGXFSZ", 0, SIGXFSZ, -1, SIGXFSZ},
        WayOut{"SIGXCPU", 0, SIGXCPU, -1, SIGXCPU}, WayOut{"SIGUSR1", 0, SIGUSR1, -1, SIGUSR1},
        WayOut{"SIGUSR2", 0, SIGUSR2, -1, SIGUSR2}, WayOut{"SIGALRM", 0, SIGALRM, -1, SIGALRM},
        WayOut{"SIGVTALRM", 0, SIGVTALRM, -1, SIGVTALRM},
        WayOut{"SIGPROF", 0, SIGPROF, -1, SIGPROF}, WayOut{"SIGTRAP", 0, SIGTRAP, -1, SIGTRAP},
        WayOut{"SIGSYS", 0, SIGSYS, -1, SIGSYS}, WayOut{"SIGRTMIN", 0, SIGRTMIN, -1, SIGRTMIN}),
    [](const testing::TestParamInfo<WayOut>& way) { return std::string(way.param.label); });

TEST(TerminalRestore, GivenBackWhileStoppedAndTakenAgainOnContinue) {
    Terminal term(waitingProbe());
    ASSERT_TRUE(term.waitForText("wait ready"));
    term.waitQuiet();

    ASSERT_TRUE(term.sendSignal(SIGTSTP));
    ASSERT_TRUE(term.waitForStop().stopped()) << term.status();
    term.waitQuiet();
    expectGivenBack(term);

    ASSERT_TRUE(term.sendSignal(SIGCONT));
    ASSERT_TRUE(term.waitUntil([&] { return term.altScreen() && term.contains("wait ready"); }))
        << term.screenText();
    term.waitQuiet();
    expectTakenOver(term);
    EXPECT_TRUE(term.contains("colour left on")) << "not repainted: " << term.screenText();

    term.type("q");
    EXPECT_TRUE(term.waitForExit().exitedWith(0));
    expectGivenBack(term);
}

// A host program's own handler still runs, once the terminal is its user's
// again: what it prints lands on the normal screen. Its handler for a signal
// of its own (SIGUSR1) runs and leaves the terminal alone.
TEST(TerminalRestore, AHostsOwnHandlerRunsAfterTheTerminalIsGivenBack) {
    Terminal term(probeFromShell("host"));
    ASSERT_TRUE(term.waitForText("host ready")) << term.screenText();
    term.waitQuiet();
    term.markOutput();
    ASSERT_TRUE(term.sendSignal(SIGUSR1));
    term.waitQuiet();
    EXPECT_EQ(term.bytesSinceMark(), 0u) << term.outputSinceMark();
    ASSERT_TRUE(term.sendSignal(SIGINT));
    EXPECT_TRUE(term.waitForExit().exitedWith(7)) << term.status();
    EXPECT_TRUE(term.contains("host handler ran, notices: 1")) << term.screenText();
    expectGivenBack(term);
}

// conexit gives the terminal back: what the program prints afterwards is on
// the user's screen, in the user's modes; a later coninit takes it again.
TEST(TerminalRestore, ConexitGivesTheTerminalBackForEveryRound) {
    Terminal term(probeFromShell("rounds"));
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(term.waitForText("Press any key to continue...")) << term.screenText();
        EXPECT_TRUE(term.altScreen());
        term.type("x");
        ASSERT_TRUE(term.waitForText("printed after round " + std::to_string(round)))
            << term.screenText();
        term.waitQuiet();
        expectGivenBack(term);
        if (round == 1) term.type("go\r");  // read by the program in the user's line mode
    }
    EXPECT_TRUE(term.waitForExit().exitedWith(0)) << term.status();
}

TEST(TerminalEndOfInput, ClosedPipeEndsTheProgramCleanly) {
    term_harness::Options options = probeOptions("keys");
    options.stdinFromPipe = true;
    Terminal term(std::move(options));
    ASSERT_TRUE(term.waitForText("keys read: 0"));
    term.type("ab");
    ASSERT_TRUE(term.waitForText("keys read: 2"));
    term.closeInput();
    // The probe exits 0 only if, after -1, keyWaiting() is false and the
    // next readKey() is -1 again.
    EXPECT_TRUE(term.waitForExit(2000ms).exitedWith(0)) << term.status();
    const std::optional<termios> modes = term.ttyModes();
    ASSERT_TRUE(modes.has_value());
    EXPECT_EQ(term_harness::describeModeDifference(term.initialModes(), *modes), "");
    EXPECT_FALSE(term.altScreen());
}

TEST(TerminalEndOfInput, HangUpEndsTheInputAndTheProgramCleanly) {
    Terminal term(probeOptions("keys"));
    ASSERT_TRUE(term.waitForText("keys read: 0"));
    term.hangUp();
    // Exit 0 only if the hang-up read as a clean end of input.
    EXPECT_TRUE(term.waitForExit(2000ms).exitedWith(0)) << term.status();
}

TEST(TerminalEndOfInput, HangUpEndsAProgramThatNeverReadsAgain) {
    Terminal term(probeOptions("busy"));
    ASSERT_TRUE(term.waitForText("busy ready"));
    term.hangUp();
    EXPECT_TRUE(term.waitForExit(5000ms).killedBy(SIGHUP)) << term.status();
}

TEST(TerminalEndOfInput, HangUpWithHangUpSignalIgnored) {
    // As under nohup: no SIGHUP, only reads that fail.
    Terminal term(
        {.argv = {"/bin/sh", "-c", "trap '' HUP; exec \"$0\" keys", TERMINAL_PROBE_PATH}});
    ASSERT_TRUE(term.waitForText("keys read: 0"));
    term.hangUp();
    EXPECT_TRUE(term.waitForExit(2000ms).ended()) << term.status();
}

}  // namespace
}  // namespace terminal_test
