#pragma once
// The process's one diagnostic log, "Log.txt" in the working directory.

#include <cstdio>
#include <string>

namespace avl {

inline constexpr const char* kLogFileName = "Log.txt";

// Writes the log one line at a time. The file is created (and an old one
// truncated) only when the first line of a run is written, so a run that logs
// nothing leaves an existing log untouched. Each line is closed to disk before
// WriteLine returns and the file is reopened for appending, so a line survives
// even if the process dies right after it. If the file cannot be opened, every
// later line is dropped silently: logging never stops the program.
//
// The log is written only to a regular file the process creates or already
// owns under that name: a symbolic link there is not followed (its target is
// never touched), and anything else in the way counts as a log that cannot be
// opened.
//
// Not thread-safe; callers serialise.
class LogFile {
  public:
    // The process-wide log; the first call opens the file.
    static LogFile& Instance();

    // Writes `text` and a line feed. A null text writes an empty line.
    void WriteLine(const char* text);

    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

  private:
    LogFile();

    std::FILE* stream_ = nullptr;  // null once opening failed; stays null
};

// Append one line to the process-wide log.
void WriteLog(const char* text);
void WriteLog(const std::string& text);

}  // namespace avl
