#include "key_input.h"

#include "console_handle.h"
#include "key_events.h"
#include "orvask/platform/backend.h"

namespace orvask::platform::windows {

KeyInput::KeyInput(HANDLE input)
    : input_(input),
      console_(isConsoleHandle(input)),
      pipe_(!console_ && input != nullptr && input != INVALID_HANDLE_VALUE &&
            GetFileType(input) == FILE_TYPE_PIPE) {
    if (input == nullptr || input == INVALID_HANDLE_VALUE) ended_ = true;
}

int KeyInput::read() {
    while (codes_.empty()) {
        if (ended_) return kEndOfInput;
        fetch(true);
    }
    const int code = codes_.front().code;
    codes_.pop_front();
    return code;
}

bool KeyInput::waiting() {
    while (codes_.empty()) {
        if (ended_ || !fetch(false)) return false;
    }
    return true;
}

bool KeyInput::fetch(bool block) {
    return console_ ? fetchEvent(block) : fetchByte(block);
}

bool KeyInput::fetchEvent(bool block) {
    if (!block) {
        DWORD pending = 0;
        if (!GetNumberOfConsoleInputEvents(input_, &pending)) {
            ended_ = true;
            return false;
        }
        if (pending == 0) return false;
    }
    INPUT_RECORD record{};
    DWORD count = 0;
    if (!ReadConsoleInputA(input_, &record, 1, &count) || count == 0) {
        ended_ = true;  // the console is gone
        return false;
    }
    if (record.EventType == KEY_EVENT) appendKeyCodes(record.Event.KeyEvent, codes_);
    return true;
}

bool KeyInput::fetchByte(bool block) {
    if (!block && pipe_) {
        DWORD available = 0;
        if (!PeekNamedPipe(input_, nullptr, 0, nullptr, &available, nullptr)) {
            ended_ = true;  // the writing end is closed
            return false;
        }
        if (available == 0) return false;
    }
    unsigned char byte = 0;
    DWORD count = 0;
    if (!ReadFile(input_, &byte, 1, &count, nullptr) || count == 0) {
        ended_ = true;
        return false;
    }
    codes_.push_back({byte, false});
    return true;
}

}  // namespace orvask::platform::windows
