#pragma once
// The numbers a Windows console and the programs on it agree on: the code
// pages the library knows, the prefixes of keys without a character, and the
// box-drawing bytes of each code page. Backends, the library and its users
// all take them from here.

#include <array>
#include <cstdint>

namespace orvask::platform {

// --- Code pages ---------------------------------------------------------------

inline constexpr int kCodePage437 = 437;  // the IBM PC set
inline constexpr int kCodePage949 = 949;  // Unified Hangul Code

// --- Keys without a character ---------------------------------------------------

// A key read delivers a key without a character as one of these prefixes,
// then the key's own code on the next read: 0 for F1..F10 and Shift+Tab,
// 224 for the grey keys (arrows, Home, End, Insert, Delete, F11, F12 ...).
inline constexpr int kKeyPrefix = 0;
inline constexpr int kGreyKeyPrefix = 224;

constexpr bool isKeyPrefix(int code) {
    return code == kKeyPrefix || code == kGreyKeyPrefix;
}

// --- Box-drawing bytes ----------------------------------------------------------

// A set of twelve frame bytes, indexed by BoxPiece.
using BoxGlyphs = std::array<std::uint8_t, 12>;

enum BoxPiece : int {
    SolidBlock = 0,
    Horizontal = 1,
    Vertical = 2,
    TopLeft = 3,
    TopRight = 4,
    BottomRight = 5,
    BottomLeft = 6,
    TeeRight = 7,  // opening right: on a left edge
    TeeDown = 8,   // opening down: on a top edge
    TeeLeft = 9,   // opening left: on a right edge
    TeeUp = 10,    // opening up: on a bottom edge
    Cross = 11,
};

// Code page 437: single and double lines.
inline constexpr BoxGlyphs kBoxSingle437 = {254, 196, 179, 218, 191, 217,
                                            192, 195, 194, 180, 193, 197};
inline constexpr BoxGlyphs kBoxDouble437 = {254, 205, 186, 201, 187, 188,
                                            200, 204, 203, 185, 202, 206};
// Code page 949 has no line-drawing bytes of its own: the Korean console
// fonts show these low bytes as single lines, and there is no double set.
inline constexpr BoxGlyphs kBox949 = {35, 6, 5, 1, 2, 4, 3, 24, 21, 22, 20, 16};

}  // namespace orvask::platform
