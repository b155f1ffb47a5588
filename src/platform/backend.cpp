#include "orvask/platform/backend.h"

#include "system_backend.h"

namespace orvask::platform {

namespace {
Backend* installed = nullptr;
}  // namespace

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
