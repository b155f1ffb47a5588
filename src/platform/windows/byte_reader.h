#pragma once
// Reads a stream that is no console (a pipe, a file) on a thread of its own,
// so that the program can wait for its bytes with a timeout, and know when
// each chunk came, whatever the stream is: a pipe cannot be waited on, and
// under Wine not even asked how much it holds.
//
// The thread starts with the first wait and blocks in its read until bytes
// come or the stream ends; it is left to the process's end, and never
// touches the reader's owner.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace orvask::platform::windows {

class ByteReader {
  public:
    explicit ByteReader(HANDLE input);

    struct Chunk {
        std::string bytes;
        std::uint64_t arrivedMs = 0;  // GetTickCount64() when it was read
    };

    // Takes the oldest chunk read, waiting up to timeoutMs (INFINITE: no
    // limit) for one. False when none came in time, or the stream has ended
    // and every chunk is taken.
    bool take(Chunk& chunk, DWORD timeoutMs);
    // True once the stream has ended and every chunk is taken.
    bool ended() const;

  private:
    struct Shared;
    void start();

    HANDLE input_;
    std::shared_ptr<Shared> shared_;
    bool started_ = false;
};

}  // namespace orvask::platform::windows
