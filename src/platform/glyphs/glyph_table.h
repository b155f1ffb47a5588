#pragma once
// What a console byte looks like: the glyph a single byte shows under the
// console's code page, as a Unicode code point, and back again for input.
//
// Code page 437 is the full IBM PC set: the bytes 1 to 31 and 127 are the
// PC's symbols (smileys, card suits, arrows, the house), never control codes,
// and 0 shows as a blank. Under code page 949 the low bytes the library uses
// as box pieces show as single-line box drawing; bytes 0x81..0xFE start a
// double-byte character (see cp949_codec.h). Any other code page is shown
// with the code page 437 glyphs.

#include <cstdint>
#include <string>

#include "orvask/platform/console_codes.h"

namespace orvask::platform::glyphs {

// The glyph of one byte standing alone in a cell.
char32_t singleByteGlyph(int codePage, std::uint8_t byte);

// The single byte whose glyph is `codePoint` under the code page, for
// turning typed characters into console bytes. Plain ASCII maps to itself.
// False when no single byte shows that character.
bool singleByteFor(int codePage, char32_t codePoint, std::uint8_t& byte);

// The console bytes a typed character gives under the code page: one byte,
// or a double-byte pair under code page 949. Empty for a character the code
// page cannot show, and for one with a byte that a key read would take for
// the prefix of a key without a character (224 is alpha in code page 437),
// which would swallow the next key.
std::string typedBytes(int codePage, char32_t codePoint);

}  // namespace orvask::platform::glyphs
