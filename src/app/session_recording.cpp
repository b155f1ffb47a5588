#include "app/session_recording.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/recording_file.h"

namespace avl {

std::string jsonString(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::unique_ptr<SessionRecording> SessionRecording::create(const std::string& path, bool overwrite,
                                                           int width, int height,
                                                           std::string& error) {
    const int fd = openRecordingFile(path, overwrite, error);
    if (fd < 0) return nullptr;
    std::unique_ptr<SessionRecording> recording(new SessionRecording(fd, path));
    char header[160];
    std::snprintf(header, sizeof header,
                  "{\"version\": 2, \"width\": %d, \"height\": %d, \"timestamp\": %lld, "
                  "\"title\": \"AVL Tree Demo\"}\n",
                  width, height, static_cast<long long>(std::time(nullptr)));
    if (!recording->append(header)) {
        error = recording->failure_;
        return nullptr;
    }
    return recording;
}

SessionRecording::~SessionRecording() {
    closeRecordingFile(fd_);
}

void SessionRecording::sent(std::string_view bytes) {
    if (!failure_.empty()) return;
    const Clock::time_point now = Clock::now();
    elapsed_ += std::min<std::chrono::duration<double>>(now - last_, kMaxPause);
    last_ = now;
    char time[32];
    std::snprintf(time, sizeof time, "[%.6f, \"o\", ", elapsed_.count());
    append(time + jsonString(bytes) + "]\n");
}

bool SessionRecording::append(const std::string& line) {
    if (writeRecordingFile(fd_, line.data(), line.size())) {
        length_ += static_cast<std::int64_t>(line.size());
        return true;
    }
    failure_ = "cannot write '" + path_ + "': " + std::strerror(errno);
    truncateRecordingFile(fd_, length_);
    return false;
}

}  // namespace avl
