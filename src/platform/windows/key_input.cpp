#include "key_input.h"

#include <algorithm>

#include "console_handle.h"

namespace orvask::platform::windows {

namespace {

// Events or bytes taken in at once: a paste arrives in few reads.
constexpr DWORD kEventsAtOnce = 128;
constexpr DWORD kBytesAtOnce = 4096;

// How often a pipe is looked at while the rest of a sequence may still come.
constexpr DWORD kPipePollMs = 2;

bool usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

KeyInput::KeyInput(HANDLE input, std::string_view term)
    : input_(input),
      console_(isConsoleHandle(input)),
      pipe_(!console_ && usable(input) && GetFileType(input) == FILE_TYPE_PIPE),
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

bool KeyInput::fetch(bool block) {
    if (ended_) return false;
    return console_ ? fetchEvents(block) : fetchBytes(block);
}

bool KeyInput::takeResize() {
    const bool resized = resized_;
    resized_ = false;
    return resized;
}

bool KeyInput::fetchEvents(bool block) {
    DWORD wanted = kEventsAtOnce;
    if (!block) {
        if (!GetNumberOfConsoleInputEvents(input_, &wanted)) {
            end();
            return false;
        }
        if (wanted == 0) return false;
        wanted = std::min(wanted, kEventsAtOnce);
    }
    INPUT_RECORD records[kEventsAtOnce];
    DWORD count = 0;
    if (!ReadConsoleInputW(input_, records, wanted, &count) || count == 0) {
        end();  // the console is gone
        return false;
    }
    for (DWORD i = 0; i < count; ++i) {
        if (records[i].EventType == KEY_EVENT) {
            translator_.translate(records[i].Event.KeyEvent, codes_);
        } else if (records[i].EventType == WINDOW_BUFFER_SIZE_EVENT) {
            resized_ = true;
        }
    }
    return true;
}

// How many bytes wait on the input. A file always has its rest waiting; a
// pipe says how much it holds. A pipe whose writing end is closed may still
// hold bytes (Wine says nothing about them then): the read that follows
// gets them, or finds the end.
DWORD KeyInput::bytesWaiting() {
    DWORD available = 0;
    if (pipe_ && PeekNamedPipe(input_, nullptr, 0, nullptr, &available, nullptr)) return available;
    return kBytesAtOnce;
}

bool KeyInput::fetchBytes(bool block) {
    DWORD available = bytesWaiting();
    // Held-back bytes are settled only after kEscTimeoutMs in which no byte
    // came; meanwhile a blocking fetch looks at the pipe every few ms.
    while (available == 0 && decoder_.holding()) {
        if (GetTickCount64() - lastByteMs_ >= keys::kEscTimeoutMs) {
            decoder_.settle();
            return true;
        }
        if (!block) return false;
        Sleep(kPipePollMs);
        available = bytesWaiting();
    }
    if (available == 0 && !block) return false;
    char buffer[kBytesAtOnce];
    DWORD count = 0;
    const DWORD wanted = available == 0 ? 1 : std::min<DWORD>(available, sizeof buffer);
    if (!ReadFile(input_, buffer, wanted, &count, nullptr) || count == 0) {
        end();  // end of file, or the writing end closed
        return false;
    }
    decoder_.feed(buffer, count);
    lastByteMs_ = GetTickCount64();
    return true;
}

void KeyInput::end() {
    ended_ = true;
    decoder_.settle();
}

}  // namespace orvask::platform::windows
