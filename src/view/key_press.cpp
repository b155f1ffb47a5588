#include "view/key_press.h"

#include "orvask/platform/backend.h"

namespace avl {

namespace {
// The console read announces a key without a character with one of these
// and delivers the key's own code on the next read.
constexpr int kExtendedPrefixes[] = {0, 224};

bool isExtendedPrefix(int code) {
    for (int prefix : kExtendedPrefixes) {
        if (code == prefix) return true;
    }
    return false;
}
}  // namespace

KeyPress readKeyPress() {
    auto& console = orvask::platform::backend();
    const int first = console.readKey();
    if (first == orvask::platform::kEndOfInput) return {KeyPress::Kind::EndOfInput, 0};
    if (!isExtendedPrefix(first)) return {KeyPress::Kind::Character, first};
    const int second = console.readKey();
    if (second == orvask::platform::kEndOfInput) return {KeyPress::Kind::EndOfInput, 0};
    return {KeyPress::Kind::Extended, second};
}

}  // namespace avl
