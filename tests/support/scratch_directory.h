#pragma once
// Runs each test in a fresh, empty working directory, so that the Log.txt a
// child process writes can be inspected in isolation.
//
// The log is process-wide and opened on its first line, so everything that
// writes it runs in a child process (EXPECT_EXIT); the test process itself
// never logs.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "orvask/platform/memory_console.h"
#include "support/log_file.h"

namespace avl::testing {

inline bool LogExists() {
    return std::filesystem::exists(kLogFileName);
}

inline std::string ReadLogText() {
    std::ifstream in(kLogFileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> ReadLogLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadLogText());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline void WriteLogText(const std::string& text) {
    std::ofstream(kLogFileName, std::ios::binary) << text;
}

class ScratchDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "fast");  // the child keeps our directory
        previous_ = std::filesystem::current_path();
        char pattern[] = "/tmp/avl-support-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        std::filesystem::current_path(directory_);
    }
    void TearDown() override {
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
    static ReportingConsole console;
    orvask::platform::installBackend(&console);
}

}  // namespace avl::testing
