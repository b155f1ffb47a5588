#pragma once
// A session recorded for teaching, as an asciicast version 2 file (what the
// common terminal-session players read): a JSON header line, then one line
// [seconds, "o", text] per write to the terminal, exactly the bytes the
// terminal received. Each line is on disk before the next write, so a
// session ended by a signal loses nothing. A pause longer than kMaxPause
// is shortened to kMaxPause: a recording has no dead air.
//
// A write that fails (a full disk, a file size limit, an I/O error) ends the
// recording, never the program: the file is cut back to its last whole line
// and failure() says why. The size limit's signal must be ignored for the
// write to fail rather than the process to end.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "orvask/platform/backend.h"

namespace avl {

class SessionRecording final : public orvask::platform::OutputTap {
  public:
    static constexpr std::chrono::duration<double> kMaxPause{2.0};

    // Creates `path` as a new regular file, or, with `overwrite`, replaces an
    // existing regular file (a link or anything else is never written
    // through), and writes the header for a `width` by `height` screen.
    // Null, with `error` saying why, when that cannot be done.
    static std::unique_ptr<SessionRecording> create(const std::string& path, bool overwrite,
                                                    int width, int height, std::string& error);
    ~SessionRecording();
    SessionRecording(const SessionRecording&) = delete;
    SessionRecording& operator=(const SessionRecording&) = delete;

    void sent(std::string_view bytes) override;

    // Empty while the recording goes on; once a write has failed, why
    // ("cannot write 'FILE': No space left on device").
    const std::string& failure() const { return failure_; }

  private:
    using Clock = std::chrono::steady_clock;
    SessionRecording(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    // Writes one whole line, or cuts the file back to the lines before it
    // and ends the recording.
    bool append(const std::string& line);

    int fd_;
    std::string path_;
    std::int64_t length_ = 0;  // bytes of whole lines in the file
    std::string failure_;
    Clock::time_point last_ = Clock::now();
    std::chrono::duration<double> elapsed_{0};  // in the recording's own time
};

// `bytes` as the text of a JSON string (quotes included): quotes,
// backslashes and control bytes escaped, everything else (UTF-8) as it is.
std::string jsonString(std::string_view bytes);

}  // namespace avl
