#include "app/session_recording.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

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
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::file_status existing = fs::symlink_status(path, ignored);
    std::FILE* file = nullptr;
    if (fs::exists(existing)) {
        if (!fs::is_regular_file(existing)) {
            error = "'" + path + "' exists and is not a regular file";
            return nullptr;
        }
        if (!overwrite) {
            error = "'" + path + "' already exists (--force overwrites it)";
            return nullptr;
        }
        file = std::fopen(path.c_str(), "w");
    } else {
        file = std::fopen(path.c_str(), "wx");  // created new, or not at all
    }
    if (file == nullptr) {
        error = "cannot create '" + path + "': " + std::strerror(errno);
        return nullptr;
    }
    std::fprintf(file,
                 "{\"version\": 2, \"width\": %d, \"height\": %d, \"timestamp\": %lld, "
                 "\"title\": \"AVL Tree Demo\"}\n",
                 width, height, static_cast<long long>(std::time(nullptr)));
    if (std::fflush(file) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<SessionRecording>(new SessionRecording(file));
}

SessionRecording::~SessionRecording() {
    std::fclose(file_);
}

void SessionRecording::sent(std::string_view bytes) {
    const Clock::time_point now = Clock::now();
    elapsed_ += std::min<std::chrono::duration<double>>(now - last_, kMaxPause);
    last_ = now;
    std::fprintf(file_, "[%.6f, \"o\", %s]\n", elapsed_.count(), jsonString(bytes).c_str());
    std::fflush(file_);
}

}  // namespace avl
