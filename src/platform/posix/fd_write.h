#pragma once
// Writing a whole buffer to a file descriptor, as output to a terminal or a
// pipe needs it: interrupted and partial writes are continued, a full
// non-blocking descriptor is waited for. Async-signal-safe.

#include <cstddef>

namespace orvask::platform::posix {

// False when the descriptor refused the bytes for good (closed terminal,
// broken pipe); what was written stays written.
bool writeFully(int fd, const char* bytes, std::size_t count) noexcept;

}  // namespace orvask::platform::posix
