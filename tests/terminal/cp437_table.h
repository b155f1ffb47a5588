#pragma once
// The reference glyphs of code page 437: for each byte, the Unicode code
// point the IBM PC shows for it.

#include <array>
#include <optional>
#include <string>

namespace terminal_test {

// Reads lines "0xNN U+XXXX NAME"; nothing when the file is missing or does
// not list all 256 bytes.
std::optional<std::array<char32_t, 256>> loadCp437Table(const std::string& path);

}  // namespace terminal_test
