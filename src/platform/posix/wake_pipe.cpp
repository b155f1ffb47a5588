#include "wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace orvask::platform::posix {

bool openWakePipe(int (&fds)[2]) noexcept {
    if (::pipe(fds) != 0) return false;
    for (int fd : fds) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    return true;
}

void wakeUp(int writeFd) noexcept {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(writeFd, &byte, 1);
    errno = saved;
}

void drainWakePipe(int readFd) noexcept {
    char buffer[64];
    while (::read(readFd, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace orvask::platform::posix
