#include "support/log_file.h"

#ifdef _WIN32
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace avl {

namespace {

// Opens the log for writing, created if missing, truncated or appended to.
// The name is trusted only as a regular file of our own: a symbolic link is
// never followed, and a device, a FIFO or another user's file (a hard link
// planted under the name) is refused before anything is truncated. Null
// when the log cannot or may not be opened.
std::FILE* OpenLog(bool truncate) {
#ifdef _WIN32
    // The C runtime cannot refuse a link while opening; the name is checked
    // first. Text mode gives the platform's line ends.
    std::error_code error;
    const auto type = std::filesystem::symlink_status(kLogFileName, error).type();
    if (type != std::filesystem::file_type::not_found &&
        type != std::filesystem::file_type::regular) {
        return nullptr;
    }
    return std::fopen(kLogFileName, truncate ? "wt" : "at");
#else
    const int flags =
        O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (truncate ? 0 : O_APPEND);
    const int fd = ::open(kLogFileName, flags, 0666);
    if (fd < 0) return nullptr;
    struct stat info {};
    const bool ours =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
    if (!ours || (truncate && ::ftruncate(fd, 0) != 0)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* stream = ::fdopen(fd, truncate ? "w" : "a");
    if (stream == nullptr) ::close(fd);
    return stream;
#endif
}

}  // namespace

LogFile& LogFile::Instance() {
    static LogFile instance;
    return instance;
}

LogFile::LogFile() : stream_(OpenLog(true)) {}

LogFile::~LogFile() {
    if (stream_ != nullptr) std::fclose(stream_);
}

void LogFile::WriteLine(const char* text) {
    if (stream_ == nullptr) return;
    std::fprintf(stream_, "%s\n", text != nullptr ? text : "");
    std::fclose(stream_);
    stream_ = OpenLog(false);
}

void WriteLog(const char* text) {
    LogFile::Instance().WriteLine(text);
}

void WriteLog(const std::string& text) {
    LogFile::Instance().WriteLine(text.c_str());
}

}  // namespace avl
