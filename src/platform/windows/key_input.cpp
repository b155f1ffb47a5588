#include "key_input.h"

#include <algorithm>

#include "console_handle.h"

namespace orvask::platform::windows {

namespace {

// Events taken in at once: a paste arrives in few reads.
constexpr DWORD kEventsAtOnce = 128;

bool usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

KeyInput::KeyInput(HANDLE input, std::string_view term)
    : input_(input),
      console_(isConsoleHandle(input)),
      bytes_(input),
      decoder_(keys::terminalFamily(term)) {
    if (!usable(input)) ended_ = true;
}

void KeyInput::setCodePage(int codePage) {
    translator_.setCodePage(codePage);
    decoder_.setCodePage(codePage);
}

bool KeyInput::next(KeyEvent& key) {
    if (!codes_.empty()) {
        key = codes_.front();
        codes_.pop_front();
        return true;
    }
    return decoder_.next(key);
}

void KeyInput::fetch(bool block) {
    if (ended_) return;
    if (console_) {
        fetchEvents(block);
    } else {
        fetchBytes(block);
    }
}

bool KeyInput::takeResize() {
    const bool resized = resized_;
    resized_ = false;
    return resized;
}

void KeyInput::fetchEvents(bool block) {
    DWORD wanted = kEventsAtOnce;
    if (!block) {
        if (!GetNumberOfConsoleInputEvents(input_, &wanted)) {
            end();
            return;
        }
        if (wanted == 0) return;
        wanted = std::min(wanted, kEventsAtOnce);
    }
    INPUT_RECORD records[kEventsAtOnce];
    DWORD count = 0;
    if (!ReadConsoleInputW(input_, records, wanted, &count) || count == 0) {
        end();  // the console is gone
        return;
    }
    for (DWORD i = 0; i < count; ++i) {
        if (records[i].EventType == KEY_EVENT) {
            translator_.translate(records[i].Event.KeyEvent, codes_);
        } else if (records[i].EventType == WINDOW_BUFFER_SIZE_EVENT) {
            resized_ = true;
        }
    }
}

// Bytes that came kEscTimeoutMs or more apart are separate keys, however
// late they are read: what was held back is settled first. A blocking fetch
// waits for more bytes only as long as held-back bytes may still be the
// start of a sequence.
void KeyInput::fetchBytes(bool block) {
    for (;;) {
        ByteReader::Chunk chunk;
        DWORD wait = block ? INFINITE : 0;
        if (decoder_.holding()) {
            const std::uint64_t quiet = GetTickCount64() - lastByteMs_;
            wait = quiet >= keys::kEscTimeoutMs
                       ? 0
                       : std::min<DWORD>(wait, static_cast<DWORD>(keys::kEscTimeoutMs - quiet));
        }
        if (bytes_.take(chunk, wait)) {
            if (decoder_.holding() && chunk.arrivedMs - lastByteMs_ >= keys::kEscTimeoutMs) {
                decoder_.settle();
            }
            decoder_.feed(chunk.bytes.data(), chunk.bytes.size());
            lastByteMs_ = chunk.arrivedMs;
            return;
        }
        if (bytes_.ended()) {
            end();
            return;
        }
        if (decoder_.holding() && GetTickCount64() - lastByteMs_ >= keys::kEscTimeoutMs) {
            decoder_.settle();
            return;
        }
        if (!block) return;
    }
}

void KeyInput::end() {
    ended_ = true;
    decoder_.settle();
}

}  // namespace orvask::platform::windows
