#include "fd_write.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace orvask::platform::posix {

bool writeFully(int fd, const char* bytes, std::size_t count) noexcept {
    while (count > 0) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd pfd{fd, POLLOUT, 0};
            if (::poll(&pfd, 1, -1) < 0 && errno != EINTR) return false;
            continue;
        }
        return false;
    }
    return true;
}

}  // namespace orvask::platform::posix
