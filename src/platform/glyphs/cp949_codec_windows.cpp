#include <windows.h>

#include "cp949_codec.h"

namespace orvask::platform::glyphs {

namespace {

constexpr UINT kCodePage = 949;

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

}  // namespace

char32_t convertCp949Pair(std::uint8_t lead, std::uint8_t trail) {
    const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    wchar_t out[2] = {};
    if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, in, 2, out, 2) == 1 &&
        !isSurrogate(out[0])) {
        return out[0];
    }
    return 0;
}

std::string encodeCp949(char32_t codePoint) {
    // Code page 949 holds characters of the Basic Multilingual Plane only.
    if (codePoint == 0 || codePoint > 0xFFFF || isSurrogate(codePoint)) return {};
    const wchar_t in = static_cast<wchar_t>(codePoint);
    char out[4];
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &in, 1, out, sizeof out,
                                           nullptr, &lossy);
    if (length <= 0 || lossy) return {};
    return std::string(out, static_cast<std::size_t>(length));
}

}  // namespace orvask::platform::glyphs
