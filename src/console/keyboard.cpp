// Keyboard input in one code space, and the flush that waits for every key
// to be let go.

#include "orvask/keyboard.h"

#include "orvask/platform/backend.h"

namespace orvask {

int lastkey = 0;

namespace {

// Alt + letter: both cases land on 2001..2026.
struct AltRange {
    int first;
    int last;
    int offset;
};
constexpr AltRange kAltLetters[] = {
    {'a', 'z', key::AltA - 'a'},
    {'A', 'Z', key::AltA - 'A'},
};

// The virtual keys keyflush() waits for, as inclusive ranges. Tab, Pause,
// keypad *, the Windows keys, punctuation and mouse buttons are not watched.
struct KeyRange {
    int first;
    int last;
};
constexpr KeyRange kWatchedKeys[] = {
    {0x08, 0x08},  // Backspace
    {0x0D, 0x0D},  // Enter
    {0x10, 0x12},  // Shift, Ctrl, Alt
    {0x14, 0x14},  // Caps Lock
    {0x1B, 0x1B},  // Esc
    {0x1E, 0x5A},  // Space, paging and arrow keys, Insert, Delete, digits, letters
    {0x60, 0x69},  // keypad 0..9
    {0x6B, 0x6F},  // keypad + separator - . /
    {0x70, 0x87},  // F1..F24
    {0x90, 0x90},  // Num Lock
    {0x91, 0x91},  // Scroll Lock
};

// Asks for every watched key, even after one is found down, so that each
// pass samples the whole keyboard.
bool anyWatchedKeyDown(platform::Backend& console) {
    bool down = false;
    for (const KeyRange& range : kWatchedKeys) {
        for (int vk = range.first; vk <= range.last; ++vk) {
            if (console.keyDown(vk)) down = true;
        }
    }
    return down;
}

}  // namespace

void getkey() {
    platform::Backend& console = platform::backend();
    const platform::KeyPress press = console.readKeyPress();
    switch (press.kind) {
        case platform::KeyPress::Kind::EndOfInput:
            lastkey = platform::kEndOfInput;
            return;
        case platform::KeyPress::Kind::Extended:
            lastkey = press.code + key::Extended;
            return;
        case platform::KeyPress::Kind::Character:
            lastkey = press.code;
            break;
    }
    // Alt is read from the keyboard now, when the key leaves the queue.
    for (const AltRange& range : kAltLetters) {
        if (lastkey >= range.first && lastkey <= range.last) {
            if (console.keyDown(platform::vk::Menu)) lastkey += range.offset;
            return;
        }
    }
}

void keyflush() {
    platform::Backend& console = platform::backend();
    while (anyWatchedKeyDown(console)) {
        // Busy-wait: the release is expected within moments.
    }
    // Every code waiting is discarded; the two halves of a key without a
    // character are queued together. (A 224 may also be a typed character,
    // so nothing waits for a code after it.)
    while (console.keyWaiting())
        console.readKey();
}

bool keywaiting() {
    return platform::backend().keyWaiting();
}

}  // namespace orvask
