#pragma once
// Runs a program in a pseudo-terminal and lets a test type at it and look at
// what it shows, the way a user at an xterm would.
//
//   #include "term_harness/terminal.h"
//   using namespace std::chrono_literals;
//
//   term_harness::Terminal term({.argv = {DEMO_PATH}, .cols = 80, .rows = 25});
//   ASSERT_TRUE(term.waitForText("Press any key")) << term.screenText();
//   term.press("Enter");                          // or term.type("abc")
//   ASSERT_TRUE(term.waitForText("ok."));
//   term_harness::Cell c = term.cell(0, 0);       // c.utf8(), c.fg, c.bg (0..15)
//   EXPECT_EQ(c.fg, 15);
//   term.press("Esc");
//   EXPECT_TRUE(term.waitForExit().exitedWith(0));
//   EXPECT_FALSE(term.altScreen());
//
// How the program runs: the harness plays a job-control shell. A small
// session leader owns the pseudo-terminal and starts the program in its own
// process group, in the foreground, so that terminal signals (SIGWINCH,
// SIGHUP on hang-up, SIGTSTP stopping the program) behave as under a real
// shell. pid() and sendSignal() address the program itself.
//
// Waiting: nothing runs in the background. Every wait* call reads the
// program's output, feeds it to the screen and answers terminal queries
// (cursor position, device attributes) until its condition holds or its
// timeout passes; the screen is only as new as the last wait. A timeout
// never throws: the wait returns false (or a still-running status) so the
// test can report the screen. The destructor kills and reaps whatever still
// runs, so a hung program never hangs the test suite.
//
// Writing to a program that has exited must not kill the test, so the first
// Terminal sets SIGPIPE to be ignored in the test process.

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "term_harness/exit_status.h"
#include "term_harness/screen.h"
#include "term_harness/xterm_keys.h"

namespace term_harness {

using Millis = std::chrono::milliseconds;

// Default timeout of the wait* calls: long enough for a loaded CI machine,
// short enough that a hung program fails fast.
inline constexpr Millis kDefaultTimeout{3000};
// Default quiet period of waitQuiet().
inline constexpr Millis kDefaultQuiet{80};

struct Options {
    // The program and its arguments; argv[0] is looked up in PATH.
    std::vector<std::string> argv{};
    int cols = 80;
    int rows = 25;
    std::string term = "xterm-256color";
    // Variables set in the program's environment (on top of the test's own).
    std::vector<std::pair<std::string, std::string>> env{};
    // Variables removed from it.
    std::vector<std::string> unsetEnv{};
    // Standard input from a pipe the harness writes (type(), press()) and can
    // close (closeInput()); standard output and error stay the terminal.
    bool stdinFromPipe = false;
};

class Terminal {
  public:
    // Starts the program. Throws std::runtime_error when the terminal or the
    // processes cannot be made; a program that cannot be executed exits 127
    // after writing why to the terminal.
    explicit Terminal(Options options);
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // --- Input ---------------------------------------------------------------
    // Sends bytes as typed (to the terminal, or to the pipe in pipe mode).
    // Returns false when they could not all be delivered (input closed, or the
    // program stopped reading for a whole timeout).
    bool type(std::string_view bytes);
    // Sends a named key as xterm does (see xterm_keys.h), honouring the
    // program's cursor-key mode. Throws std::invalid_argument for unknown names.
    bool press(std::string_view keyName);
    // Ends the input: closes the pipe in pipe mode, hangs the terminal up
    // otherwise (see hangUp()).
    void closeInput();
    // Closes the terminal's master side, as when the terminal window is
    // closed: the program's session gets SIGHUP and its reads from the
    // terminal end. The screen keeps its last state; no more output is seen.
    void hangUp();

    // --- Waiting -------------------------------------------------------------
    // Until no output has arrived for `quiet`. False on timeout.
    bool waitQuiet(Millis quiet = kDefaultQuiet, Millis timeout = kDefaultTimeout);
    // Until `condition` holds (checked after every piece of output and at
    // least every 10 ms). False on timeout.
    bool waitUntil(const std::function<bool()>& condition, Millis timeout = kDefaultTimeout);
    // Until some row contains `utf8`.
    bool waitForText(std::string_view utf8, Millis timeout = kDefaultTimeout);
    // Until the program has ended; then reads what output remains. Returns
    // the status (still Running after a timeout).
    ExitStatus waitForExit(Millis timeout = kDefaultTimeout);
    // Until the program is stopped (SIGTSTP and friends) or has ended.
    ExitStatus waitForStop(Millis timeout = kDefaultTimeout);
    // Reads whatever output is available now, without waiting.
    void poll();

    // --- The screen ----------------------------------------------------------
    const Screen& screen() const { return *screen_; }
    Cell cell(int col, int row) const { return screen_->cell(col, row); }
    std::string rowText(int row) const { return screen_->rowText(row); }
    std::string screenText() const { return screen_->text(); }
    bool contains(std::string_view utf8) const { return screen_->contains(utf8); }
    Position cursor() const { return screen_->cursor(); }
    bool cursorVisible() const { return screen_->cursorVisible(); }
    const std::string& title() const { return screen_->title(); }
    bool altScreen() const { return screen_->altScreen(); }

    // --- Output bytes --------------------------------------------------------
    // Starts counting output afresh.
    void markOutput() { sinceMark_.clear(); }
    std::size_t bytesSinceMark() const { return sinceMark_.size(); }
    // The raw bytes received since the mark (escape sequences included).
    const std::string& outputSinceMark() const { return sinceMark_; }
    std::uint64_t totalBytes() const { return totalBytes_; }

    // --- The terminal device -------------------------------------------------
    // The terminal's current modes; nothing after hangUp().
    std::optional<termios> ttyModes() const;
    // The modes the terminal had before the program started (cooked input
    // with echo, as a shell leaves it).
    const termios& initialModes() const { return initialModes_; }
    // Changes the window size: the screen is resized and the program gets
    // SIGWINCH from the kernel.
    void resize(int cols, int rows);

    // --- The process ---------------------------------------------------------
    pid_t pid() const { return programPid_; }
    // Sends a signal to the program. False if it has already ended.
    bool sendSignal(int sig);
    // The last status seen (reads pending reports first).
    ExitStatus status();

  private:
    // Reads output and status reports for at most `wait`; returns the number
    // of output bytes received.
    std::size_t pump(Millis wait);
    bool flushInput(Millis timeout);
    void readReports();
    void drainAfterExit();
    void killAndReap();

    Options options_;
    std::unique_ptr<Screen> screen_;
    int master_ = -1;
    int stdinPipe_ = -1;   // write end, pipe mode only
    int reportPipe_ = -1;  // read end: the session leader's status reports
    pid_t leaderPid_ = -1;
    pid_t programPid_ = -1;
    bool leaderReaped_ = false;
    bool masterEnded_ = false;  // every slave descriptor closed
    ExitStatus status_;
    termios initialModes_{};
    std::string pendingInput_;    // to the master
    std::string pendingReplies_;  // answers to terminal queries, to the master
    std::string reportBuffer_;
    std::string sinceMark_;
    std::uint64_t totalBytes_ = 0;
};

}  // namespace term_harness
