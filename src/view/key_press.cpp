#include "view/key_press.h"

#include "orvask/platform/backend.h"

namespace avl {

KeyPress readKeyPress() {
    auto& console = orvask::platform::backend();
    const int first = console.readKey();
    if (first == orvask::platform::kEndOfInput) return {KeyPress::Kind::EndOfInput, 0};
    if (!orvask::platform::isKeyPrefix(first)) return {KeyPress::Kind::Character, first};
    const int second = console.readKey();
    if (second == orvask::platform::kEndOfInput) return {KeyPress::Kind::EndOfInput, 0};
    return {KeyPress::Kind::Extended, second};
}

}  // namespace avl
