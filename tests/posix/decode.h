#pragma once
// Helpers shared by the decoder tests.

#include <string_view>
#include <vector>

#include "keys/key_decoder.h"

namespace orvask::platform::keys::testing {

// Every key code the decoder yields for `bytes`, after the Esc timeout.
inline std::vector<KeyEvent> decodeAll(std::string_view bytes, Terminal terminal = Terminal::Any,
                                       int codePage = 437) {
    KeyDecoder decoder(terminal);
    decoder.setCodePage(codePage);
    decoder.feed(bytes);
    decoder.settle();
    std::vector<KeyEvent> keys;
    for (KeyEvent key{}; decoder.next(key);)
        keys.push_back(key);
    return keys;
}

inline std::vector<int> codes(const std::vector<KeyEvent>& keys) {
    std::vector<int> out;
    for (const KeyEvent& key : keys)
        out.push_back(key.code);
    return out;
}

// The code as the library's getkey makes it of the two reads (1000 + code
// for a prefixed key), or -1 when the decoder gave anything but one key.
inline int libraryCode(const std::vector<KeyEvent>& keys) {
    if (keys.size() == 2 && (keys[0].code == 0 || keys[0].code == 224)) {
        return 1000 + keys[1].code;
    }
    if (keys.size() == 1) return keys[0].code;
    return -1;
}

}  // namespace orvask::platform::keys::testing
