#pragma once
// Runs each test in a fresh, empty working directory, so that the Log.txt a
// child process writes can be inspected in isolation.
//
// The log is process-wide and opened on its first line, so everything that
// writes it runs in a child process (EXPECT_EXIT); the test process itself
// never logs.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "orvask/platform/memory_console.h"
#include "support/log_file.h"

namespace avl::testing {

inline bool LogExists() {
    return std::filesystem::exists(kLogFileName);
}

// How a line written to a text-mode stream ends on this platform.
#ifdef _WIN32
inline constexpr char kLineEnd[] = "\r\n";
#else
inline constexpr char kLineEnd[] = "\n";
#endif

// The log's bytes as they are on disk.
inline std::string ReadLogText() {
    std::ifstream in(kLogFileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The log's lines without the platform's line ends.
inline std::vector<std::string> ReadLogLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadLogText());
    for (std::string line; std::getline(in, line);) {
        if (kLineEnd[0] == '\r' && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline void WriteLogText(const std::string& text) {
    std::ofstream(kLogFileName, std::ios::binary) << text;
}

// The scratch directory of the test that is running, for its death-test
// children: on Windows each is a new process that runs SetUp again, and it
// must join its parent's directory instead of making one of its own.
inline constexpr char kScratchDirectoryVariable[] = "AVL_SCRATCH_DIRECTORY";

inline void SetScratchDirectoryVariable(const std::string& value) {
#ifdef _WIN32
    _putenv_s(kScratchDirectoryVariable, value.c_str());  // "" removes it
#else
    setenv(kScratchDirectoryVariable, value.c_str(), 1);
#endif
}

class ScratchDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "fast");  // a forked child keeps our directory
        const char* parents = std::getenv(kScratchDirectoryVariable);
        if (parents != nullptr && *parents != '\0') {
            std::filesystem::current_path(parents);
            return;
        }
        previous_ = std::filesystem::current_path();
        std::random_device random;
        do {
            directory_ = std::filesystem::temp_directory_path() /
                         ("avl-support-" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(directory_));
        std::filesystem::current_path(directory_);
        SetScratchDirectoryVariable(directory_.string());
    }
    void TearDown() override {
        if (directory_.empty()) return;  // a child in its parent's directory
        SetScratchDirectoryVariable("");
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(directory_);
    }

  private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
};

// An in-memory console whose message box also reports on stderr what it shows
// and how many lines the log held at that moment, and which notes when the
// console is handed back, so that a death test can check the box of a
// process that has already ended.
class ReportingConsole : public orvask::platform::MemoryConsole {
  public:
    void messageBox(const char* caption, const char* text) override {
        MemoryConsole::messageBox(caption, text);
        std::fprintf(stderr, "[box] caption=<%s> text=<%s> logged=%zu\n", caption, text,
                     ReadLogLines().size());
    }
    void restoreConsole() override {
        MemoryConsole::restoreConsole();
        std::fprintf(stderr, "[restored]\n");
    }
};

// Installs a ReportingConsole for the rest of the (child) process.
inline void InstallReportingConsole() {
    new orvask::platform::BasicMemoryConsoleScope<ReportingConsole>;  // never ends
}

}  // namespace avl::testing
