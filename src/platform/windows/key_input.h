#pragma once
// Where the keys come from: the console's input events, or, when standard
// input is no console (a pipe, a file), its bytes, decoded as a terminal's
// (keys/key_decoder.h): terminal programs without a console, such as
// mintty, send their keys so, and plain text is plain keys as well.
// Either way the codes wait in one queue, so a key test consumes nothing
// that the next read would not return.

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string_view>

#include "byte_reader.h"
#include "key_events.h"
#include "keys/key_decoder.h"

namespace orvask::platform::windows {

class KeyInput {
  public:
    // `term` is the terminal type (TERM) whose sequences a byte stream is
    // read with.
    KeyInput(HANDLE input, std::string_view term);

    bool isConsole() const { return console_; }
    // The code page typed characters are turned into.
    void setCodePage(int codePage);

    // A code is there to take.
    bool ready() const { return !codes_.empty() || decoder_.ready(); }
    // Takes the next code; false when none is there.
    bool next(KeyEvent& key);
    // Takes in what the input holds. With `block`, waits until at least one
    // event or byte came, the held-back bytes of a sequence were settled, or
    // the input ended.
    void fetch(bool block);
    // True once the input has ended and every code before the end is taken.
    bool ended() const { return ended_ && !ready(); }
    // Whether the console reported a new window size since the last call.
    bool takeResize();

  private:
    void fetchEvents(bool block);
    void fetchBytes(bool block);
    void end();

    HANDLE input_;
    bool console_;
    bool ended_ = false;
    bool resized_ = false;
    KeyTranslator translator_;
    std::deque<KeyEvent> codes_;
    ByteReader bytes_;
    keys::KeyDecoder decoder_;
    std::uint64_t lastByteMs_ = 0;  // when the last bytes fed to the decoder came
};

}  // namespace orvask::platform::windows
