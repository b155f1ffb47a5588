#include "size_notice.h"

#include <algorithm>
#include <array>

namespace orvask::platform {

std::vector<NoticeLine> sizeNotice(Coord needed, Coord actual) {
    const std::array<std::string, 3> lines = {
        "The terminal is too small.",
        "Please make it at least " + std::to_string(needed.x) + " x " + std::to_string(needed.y) +
            ".",
        "(It is " + std::to_string(actual.x) + " x " + std::to_string(actual.y) + " now.)",
    };
    const int count = static_cast<int>(lines.size());
    const int top = std::max(0, (actual.y - count) / 2);
    std::vector<NoticeLine> placed;
    for (int i = 0; i < count && top + i < actual.y; ++i) {
        std::string text = lines[static_cast<std::size_t>(i)].substr(
            0, static_cast<std::size_t>(std::max<int>(actual.x, 0)));
        const int left = (actual.x - static_cast<int>(text.size())) / 2;
        placed.push_back({left, top + i, std::move(text)});
    }
    return placed;
}

}  // namespace orvask::platform
