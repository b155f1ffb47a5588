#include "byte_reader.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace orvask::platform::windows {

namespace {
constexpr DWORD kBytesAtOnce = 4096;
}  // namespace

struct ByteReader::Shared {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Chunk> chunks;
    bool ended = false;
};

ByteReader::ByteReader(HANDLE input) : input_(input), shared_(std::make_shared<Shared>()) {}

void ByteReader::start() {
    started_ = true;
    std::thread([input = input_, shared = shared_] {
        for (;;) {
            char buffer[kBytesAtOnce];
            DWORD count = 0;
            const bool read = ReadFile(input, buffer, sizeof buffer, &count, nullptr) && count > 0;
            std::lock_guard<std::mutex> lock(shared->mutex);
            if (read) {
                shared->chunks.push_back({std::string(buffer, count), GetTickCount64()});
            } else {
                shared->ended = true;  // end of file, or the writing end closed
            }
            shared->arrived.notify_all();
            if (!read) return;
        }
    }).detach();
}

bool ByteReader::take(Chunk& chunk, DWORD timeoutMs) {
    if (!started_) start();
    std::unique_lock<std::mutex> lock(shared_->mutex);
    const auto ready = [this] { return !shared_->chunks.empty() || shared_->ended; };
    if (timeoutMs == INFINITE) {
        shared_->arrived.wait(lock, ready);
    } else {
        shared_->arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    if (shared_->chunks.empty()) return false;
    chunk = std::move(shared_->chunks.front());
    shared_->chunks.pop_front();
    return true;
}

bool ByteReader::ended() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->ended && shared_->chunks.empty();
}

}  // namespace orvask::platform::windows
