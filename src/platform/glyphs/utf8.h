#pragma once
// UTF-8, the encoding the terminal speaks in both directions.

#include <cstddef>
#include <string>

namespace orvask::platform::glyphs {

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

// How many bytes the sequence that starts with `lead` has: 1 to 4, or 0 when
// `lead` cannot start a sequence (a continuation byte or an invalid byte).
std::size_t utf8Length(unsigned char lead);

// Decodes one complete sequence of `length` bytes (as utf8Length reported).
// Returns false for a malformed sequence: a bad continuation byte, an
// overlong form, a surrogate or a value past U+10FFFF.
bool decodeUtf8(const unsigned char* bytes, std::size_t length, char32_t& codePoint);

}  // namespace orvask::platform::glyphs
