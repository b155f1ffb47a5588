#include "cp949_codec.h"

#include <iconv.h>

namespace orvask::platform::glyphs {

namespace {

iconv_t openConverter(const char* to, const char* from) {
    return iconv_open(to, from);
}

bool convert(iconv_t converter, const char* in, std::size_t inLength, char* out,
             std::size_t& outLength) {
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // reset shift state
    char* source = const_cast<char*>(in);
    char* target = out;
    std::size_t left = inLength;
    std::size_t room = outLength;
    if (iconv(converter, &source, &left, &target, &room) == static_cast<std::size_t>(-1) ||
        left != 0) {
        return false;
    }
    outLength -= room;
    return true;
}

}  // namespace

char32_t convertCp949Pair(std::uint8_t lead, std::uint8_t trail) {
    static const iconv_t converter = openConverter("UTF-32LE", "CP949");
    const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    unsigned char out[8] = {};
    std::size_t outLength = sizeof out;
    if (!convert(converter, in, 2, reinterpret_cast<char*>(out), outLength) || outLength != 4) {
        return 0;
    }
    return static_cast<char32_t>(out[0]) | static_cast<char32_t>(out[1]) << 8 |
           static_cast<char32_t>(out[2]) << 16 | static_cast<char32_t>(out[3]) << 24;
}

std::string encodeCp949(char32_t codePoint) {
    static const iconv_t converter = openConverter("CP949", "UTF-32LE");
    const char in[4] = {
        static_cast<char>(codePoint & 0xFF), static_cast<char>((codePoint >> 8) & 0xFF),
        static_cast<char>((codePoint >> 16) & 0xFF), static_cast<char>((codePoint >> 24) & 0xFF)};
    char out[8];
    std::size_t outLength = sizeof out;
    if (!convert(converter, in, sizeof in, out, outLength)) return {};
    return std::string(out, outLength);
}

}  // namespace orvask::platform::glyphs
