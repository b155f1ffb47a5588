#include "glyph_table.h"

#include <array>

#include "cp949_codec.h"

namespace orvask::platform::glyphs {

namespace {

// The IBM PC symbols of the bytes 1 to 31, eight a line.
// clang-format off
constexpr std::array<char32_t, 31> kLowSymbols = {
    0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8,
    0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA,
    0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, 0x2191,
    0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};
// clang-format on

constexpr char32_t kHouse = 0x2302;  // byte 127

// Code page 437, bytes 0x80 to 0xFF, eight a line.
// clang-format off
constexpr std::array<char32_t, 128> kHighHalf437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// clang-format on

// The box pieces the library draws with under code page 949, where the
// Korean console fonts show these low bytes as single-line box drawing.
struct BoxByte {
    BoxPiece piece;
    char32_t glyph;
};
constexpr std::array<BoxByte, 11> kBoxGlyphs949 = {{
    {Horizontal, 0x2500},
    {Vertical, 0x2502},
    {TopLeft, 0x250C},
    {TopRight, 0x2510},
    {BottomRight, 0x2518},
    {BottomLeft, 0x2514},
    {TeeRight, 0x251C},
    {TeeDown, 0x252C},
    {TeeLeft, 0x2524},
    {TeeUp, 0x2534},
    {Cross, 0x253C},
}};

constexpr char32_t kReplacement = 0xFFFD;

char32_t lowGlyph(int codePage, std::uint8_t byte) {
    if (byte == 0) return U' ';
    if (codePage == kCodePage949) {
        for (const BoxByte& box : kBoxGlyphs949) {
            if (kBox949[box.piece] == byte) return box.glyph;
        }
    }
    return kLowSymbols[byte - 1u];
}

}  // namespace

char32_t singleByteGlyph(int codePage, std::uint8_t byte) {
    if (byte < 0x20) return lowGlyph(codePage, byte);
    if (byte < 0x7F) return byte;
    if (byte == 0x7F) return kHouse;
    // A high byte of code page 949 shows something only as half of a
    // double-byte pair; standing alone it is no character.
    if (codePage == kCodePage949) return kReplacement;
    return kHighHalf437[byte - 0x80u];
}

bool singleByteFor(int codePage, char32_t codePoint, std::uint8_t& byte) {
    if (codePoint >= 0x20 && codePoint < 0x7F) {
        byte = static_cast<std::uint8_t>(codePoint);
        return true;
    }
    if (codePoint < 0x80) return false;
    const int last = codePage == kCodePage949 ? 0x7F : 0xFF;
    for (int candidate = 1; candidate <= last; ++candidate) {
        if (candidate >= 0x20 && candidate < 0x7F) continue;
        if (singleByteGlyph(codePage, static_cast<std::uint8_t>(candidate)) == codePoint) {
            byte = static_cast<std::uint8_t>(candidate);
            return true;
        }
    }
    return false;
}

std::string typedBytes(int codePage, char32_t codePoint) {
    std::string bytes;
    std::uint8_t byte = 0;
    if (singleByteFor(codePage, codePoint, byte)) {
        bytes.push_back(static_cast<char>(byte));
    } else if (codePage == kCodePage949) {
        bytes = encodeCp949(codePoint);
    }
    for (char c : bytes) {
        if (isKeyPrefix(static_cast<unsigned char>(c))) return {};
    }
    return bytes;
}

}  // namespace orvask::platform::glyphs
