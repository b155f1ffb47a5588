// The log file and the fatal-error path, each run in a child process inside
// a fresh working directory.

#ifndef _WIN32
#include <unistd.h>
#endif

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scratch_directory.h"
#include "support/fatal_error.h"
#include "support/log_file.h"

namespace avl::testing {
namespace {

using ::testing::ExitedWithCode;
using Lines = std::vector<std::string>;

class FatalErrorTest : public ScratchDirectoryTest {};
class LogFileTest : public ScratchDirectoryTest {};

TEST_F(FatalErrorTest, WithoutFileOrLineLogsOneLineShowsTheBoxAndExitsWithOne) {
    // After the box the console is handed back and the message left on
    // standard error, for when the box went unseen.
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError("Something broke", nullptr, -1);
        },
        ExitedWithCode(1),
        "^\\[box\\] caption=<Vornel Crashed> text=<Something broke> logged=1\\s+"
        "\\[restored\\]\\s+Vornel Crashed: Something broke\\s*$");
    EXPECT_EQ(ReadLogText(), std::string("FATAL_ERROR : Something broke") + kLineEnd);
}

TEST_F(FatalErrorTest, FileAndLineFollowTheHeadlineAndAreOnDiskBeforeTheBox) {
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError(std::string("Bad block"), "memory_pool.cpp", 0);
        },
        ExitedWithCode(1), "text=<Bad block> logged=3");
    EXPECT_EQ(ReadLogLines(),
              (Lines{"FATAL_ERROR : Bad block", " FILE : memory_pool.cpp", " LINE : 0"}));

    // A second run truncates the first run's log; negative lines other than
    // -1 keep their sign.
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError("Again", nullptr, INT_MIN);
        },
        ExitedWithCode(1), "text=<Again> logged=2");
    EXPECT_EQ(ReadLogLines(), (Lines{"FATAL_ERROR : Again", " LINE : -2147483648"}));
}

TEST_F(FatalErrorTest, EmptyOrNullMessageGivesABareHeadlineAndAnEmptyBox) {
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError("", "x.cpp", -1);
        },
        ExitedWithCode(1), "text=<> logged=2");
    EXPECT_EQ(ReadLogLines(), (Lines{"FATAL_ERROR : ", " FILE : x.cpp"}));

    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError(static_cast<const char*>(nullptr), nullptr, -1);
        },
        ExitedWithCode(1), "text=<> logged=1");
    EXPECT_EQ(ReadLogLines(), Lines{"FATAL_ERROR : "});
}

TEST_F(FatalErrorTest, UnwritableLogStillShowsTheBoxAndExitsWithOne) {
    // Tests run as root, so a directory in the way is what makes the log
    // impossible to open.
    std::filesystem::create_directory(kLogFileName);
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError("No log", "f.cpp", 12);
        },
        ExitedWithCode(1), "caption=<Vornel Crashed> text=<No log> logged=0");
    EXPECT_TRUE(std::filesystem::is_directory(kLogFileName));
}

TEST_F(FatalErrorTest, ALogThatIsALinkOrNotOursIsLeftAloneAndTheBoxStillShows) {
    const std::string kept = "not a log\n";
    std::ofstream("target.txt") << kept;
    // A death-test child on Windows runs this again and finds the link made.
    std::error_code ignored;
    std::filesystem::create_symlink("target.txt", kLogFileName, ignored);
    if (!std::filesystem::is_symlink(kLogFileName)) {
        GTEST_SKIP() << "no symbolic links here (Windows grants them by privilege)";
    }
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError("Linked", nullptr, 3);
        },
        ExitedWithCode(1), "text=<Linked>");
    EXPECT_EQ(ReadLogText(), kept) << "the link's target is untouched";
    EXPECT_TRUE(std::filesystem::is_symlink(kLogFileName));

#ifndef _WIN32
    // Someone else's file planted under the name (a hard link to it, say).
    if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the file to another user";
    std::filesystem::remove(kLogFileName);
    WriteLogText(kept);
    ASSERT_EQ(chown(kLogFileName, 4242, 4242), 0);
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            FatalError("Foreign", nullptr, -1);
        },
        ExitedWithCode(1), "text=<Foreign>");
    EXPECT_EQ(ReadLogText(), kept);
#endif
}

TEST_F(LogFileTest, FirstLineTruncatesThenLinesAppendAndEachIsOnDiskAtOnce) {
    WriteLogText("line of an earlier run\n");
    EXPECT_EXIT(
        {
            WriteLog("one");
            std::fprintf(stderr, "after one: %zu\n", ReadLogLines().size());
            WriteLog(std::string("two"));
            std::fprintf(stderr, "after two: %zu\n", ReadLogLines().size());
            LogFile::Instance().WriteLine(nullptr);
            std::exit(0);
        },
        ExitedWithCode(0), "after one: 1\\s+after two: 2");
    const std::string end = kLineEnd;
    EXPECT_EQ(ReadLogText(), "one" + end + "two" + end + end);
}

}  // namespace
}  // namespace avl::testing
