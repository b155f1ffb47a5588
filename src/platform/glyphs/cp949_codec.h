#pragma once
// The double-byte characters of code page 949 (Unified Hangul Code), through
// the system's converter (iconv on POSIX, the code page tables on Windows).
// A cell pair (lead byte, trail byte) shows one
// character; typed Hangul comes back as its two bytes.

#include <cstdint>
#include <string>

namespace orvask::platform::glyphs {

// 0x81..0xFE: the byte opens a double-byte character.
constexpr bool isCp949LeadByte(std::uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// The character of a lead/trail pair, or 0 when the pair is no character
// (or the converter is missing). Results are cached per pair.
char32_t decodeCp949(std::uint8_t lead, std::uint8_t trail);

// The same, asked of the system's converter each time (cp949_codec_iconv.cpp,
// cp949_codec_windows.cpp); decodeCp949 keeps its answers.
char32_t convertCp949Pair(std::uint8_t lead, std::uint8_t trail);

// The code page 949 bytes of a character (one or two), empty when the code
// page has none.
std::string encodeCp949(char32_t codePoint);

}  // namespace orvask::platform::glyphs
