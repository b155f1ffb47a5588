#pragma once
// Where the keys come from: the console's input events, or, when standard
// input is no console (a pipe, a file), its bytes, each one a key code as a
// key read delivers it. Either way the codes wait in one queue, so a key
// test consumes nothing that the next read would not return.

#include <windows.h>

#include <deque>

#include "key_events.h"

namespace orvask::platform::windows {

class KeyInput {
  public:
    explicit KeyInput(HANDLE input);

    bool isConsole() const { return console_; }

    // Blocks until a code is there; kEndOfInput once the input has ended.
    int read();
    // True when read() returns a code at once.
    bool waiting();
    // True once the input has ended and every code before the end is taken.
    bool ended() const { return ended_ && codes_.empty(); }

  private:
    // Takes one event or byte from the input into the queue. Without
    // `block`, only when one is there already. False when none was taken.
    bool fetch(bool block);
    bool fetchEvent(bool block);
    bool fetchByte(bool block);

    HANDLE input_;
    bool console_;
    bool pipe_;
    bool ended_ = false;
    std::deque<KeyEvent> codes_;
};

}  // namespace orvask::platform::windows
