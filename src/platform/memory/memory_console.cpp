#include "orvask/platform/memory_console.h"

#include <algorithm>

namespace orvask::platform {

void MemoryConsole::write(const char* bytes, std::size_t count) {
    ModelBackend::write(bytes, count);
    output_.append(bytes, count);
    bytesWritten_ += count;
}

bool MemoryConsole::performanceFrequency(std::int64_t& countsPerSecond) {
    countsPerSecond = hasCounter_ ? kCounterFrequency : 0;
    return hasCounter_;
}

std::int64_t MemoryConsole::performanceCounter() {
    return static_cast<std::int64_t>(nowUs_) * (kCounterFrequency / 1'000'000);
}

std::uint32_t MemoryConsole::tickCount() {
    return static_cast<std::uint32_t>(tickBase_ + nowUs_ / 1000);
}

void MemoryConsole::sleep(std::uint32_t milliseconds) {
    nowUs_ += std::uint64_t{milliseconds} * 1000 + sleepOverrunUs_;
    sleptMs_ += milliseconds;
    ++sleepCalls_;
}

int MemoryConsole::readKey() {
    if (keys_.empty()) return kEndOfInput;
    const ScriptedKey key = keys_.front();
    keys_.pop_front();
    nowUs_ = std::max(nowUs_, key.at);
    return key.code;
}

bool MemoryConsole::keyWaiting() {
    return !keys_.empty() && keys_.front().at <= nowUs_;
}

bool MemoryConsole::keyDown(int virtualKey) {
    ++keyStateQueries_;
    int& state = held_[index(virtualKey)];
    if (state == 0) return false;
    if (state > 0) --state;
    return true;
}

void MemoryConsole::messageBox(const char* caption, const char* text) {
    messages_.push_back({caption ? caption : "", text ? text : ""});
}

std::string MemoryConsole::text(int x, int y, int length) const {
    std::string result;
    for (int i = 0; i < length && x + i < model_.width(); ++i) {
        result.push_back(static_cast<char>(model_.cell(x + i, y).glyph));
    }
    return result;
}

std::string MemoryConsole::takeOutput() {
    std::string out;
    out.swap(output_);
    return out;
}

void MemoryConsole::pushKeys(std::initializer_list<int> codes) {
    for (int code : codes)
        keys_.push_back({0, code});
}

void MemoryConsole::pushText(const std::string& text) {
    for (unsigned char c : text)
        keys_.push_back({0, c});
}

void MemoryConsole::pushKeyAt(std::uint64_t atMicroseconds, int code) {
    keys_.push_back({atMicroseconds, code});
}

void MemoryConsole::holdKey(int virtualKey, int queries) {
    held_[index(virtualKey)] = queries < 0 ? -1 : queries;
}

}  // namespace orvask::platform
