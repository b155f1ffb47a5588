#include "app/recording_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace avl {

namespace {

// Why `path` could not be opened, from what is there now.
std::string refusal(const std::string& path, int openError) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::file_status existing = fs::symlink_status(path, ignored);
    if (fs::exists(existing) && !fs::is_regular_file(existing)) {
        return "'" + path + "' exists and is not a regular file";
    }
    if (openError == EEXIST) return "'" + path + "' already exists (--force overwrites it)";
    return "cannot create '" + path + "': " + std::strerror(openError);
}

}  // namespace

#ifdef _WIN32

// Links on Windows are made by privilege only; the check before the open is
// what guards against them here.
int openRecordingFile(const std::string& path, bool overwrite, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::file_status existing = fs::symlink_status(path, ignored);
    if (fs::exists(existing) && !fs::is_regular_file(existing)) {
        error = refusal(path, EEXIST);
        return -1;
    }
    const int flags = _O_WRONLY | _O_BINARY | _O_CREAT | (overwrite ? _O_TRUNC : _O_EXCL);
    const int fd = ::_open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
    if (fd < 0) error = refusal(path, errno);
    return fd;
}

namespace {

// Writes at most `size` bytes; what the system's write returns.
long writeSome(int fd, const char* bytes, std::size_t size) {
    constexpr std::size_t kMostAtOnce = std::size_t{1} << 30;
    return ::_write(fd, bytes, static_cast<unsigned>(size < kMostAtOnce ? size : kMostAtOnce));
}

}  // namespace

void truncateRecordingFile(int fd, std::int64_t length) {
    ::_chsize_s(fd, length);
}

void closeRecordingFile(int fd) {
    ::_close(fd);
}

#else

int openRecordingFile(const std::string& path, bool overwrite, std::string& error) {
    // Not through a link (O_NOFOLLOW, and O_EXCL for a new file), not
    // blocking on a FIFO (O_NONBLOCK), not truncating before the check.
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                      (overwrite ? 0 : O_EXCL);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        error = refusal(path, errno);
        return -1;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        error = "'" + path + "' exists and is not a regular file";
    } else if (opened.st_uid != ::geteuid()) {
        error = "'" + path + "' belongs to another user";
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
               ::ftruncate(fd, 0) != 0) {
        error = "cannot create '" + path + "': " + std::strerror(errno);
    } else {
        return fd;
    }
    ::close(fd);
    return -1;
}

namespace {

long writeSome(int fd, const char* bytes, std::size_t size) {
    return static_cast<long>(::write(fd, bytes, size));
}

}  // namespace

void truncateRecordingFile(int fd, std::int64_t length) {
    while (::ftruncate(fd, static_cast<off_t>(length)) != 0 && errno == EINTR) {
    }
}

void closeRecordingFile(int fd) {
    ::close(fd);
}

#endif

bool writeRecordingFile(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const long n = writeSome(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace avl
