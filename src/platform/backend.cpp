#include "orvask/platform/backend.h"

#include "system_backend.h"

namespace orvask::platform {

namespace {
Backend* installed = nullptr;
}  // namespace

KeyPress Backend::readKeyPress() {
    const int first = readKey();
    if (first == kEndOfInput) return {KeyPress::Kind::EndOfInput, 0};
    if (!isKeyPrefix(first)) return {KeyPress::Kind::Character, first};
    const int second = readKey();
    if (second == kEndOfInput) return {KeyPress::Kind::EndOfInput, 0};
    return {KeyPress::Kind::Extended, second};
}

Backend& backend() {
    if (installed == nullptr) installed = &systemBackend();
    return *installed;
}

Backend* installBackend(Backend* replacement) {
    Backend* previous = installed;
    installed = replacement;
    return previous;
}

}  // namespace orvask::platform
