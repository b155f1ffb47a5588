#include "size_notice.h"

namespace orvask::platform {

std::array<std::string, 3> sizeNotice(Coord needed, Coord actual) {
    return {
        "The terminal is too small.",
        "Please make it at least " + std::to_string(needed.x) + " x " + std::to_string(needed.y) +
            ".",
        "(It is " + std::to_string(actual.x) + " x " + std::to_string(actual.y) + " now.)",
    };
}

}  // namespace orvask::platform
