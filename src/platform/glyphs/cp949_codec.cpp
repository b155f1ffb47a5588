#include "cp949_codec.h"

#include <array>

namespace orvask::platform::glyphs {

namespace {

constexpr char32_t kUnknown = 0;               // not looked up yet
constexpr char32_t kNoCharacter = 0xFFFFFFFF;  // looked up, no character

// One entry per (lead, trail) pair. A plain array with a trivial destructor,
// so the exit-time repaint can still use it after static destruction began.
std::array<char32_t, 65536> pairCache{};

}  // namespace

char32_t decodeCp949(std::uint8_t lead, std::uint8_t trail) {
    char32_t& cached = pairCache[static_cast<std::size_t>(lead) << 8 | trail];
    if (cached == kUnknown) {
        const char32_t found = convertCp949Pair(lead, trail);
        cached = found != 0 ? found : kNoCharacter;
    }
    return cached == kNoCharacter ? 0 : cached;
}

}  // namespace orvask::platform::glyphs
