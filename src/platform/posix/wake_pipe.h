#pragma once
// A wake-up pipe: a byte written to it wakes whoever polls its read end (a
// signal handler waking a key read, the backend waking its output watcher).

namespace orvask::platform::posix {

// Makes the pipe, both ends non-blocking and closed on exec; false (and
// `fds` as it was) when no pipe could be made.
bool openWakePipe(int (&fds)[2]) noexcept;
// Wakes the reader: writes a byte (a full pipe wakes it anyway), errno
// kept. Async-signal-safe.
void wakeUp(int writeFd) noexcept;
// Reads everything waiting on the read end and throws it away.
void drainWakePipe(int readFd) noexcept;

}  // namespace orvask::platform::posix
