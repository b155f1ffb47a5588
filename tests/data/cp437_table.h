#pragma once
// The reference glyphs of code page 437: for each byte, the Unicode code
// point the IBM PC shows for it.

#include <array>
#include <optional>
#include <string>

namespace test_data {

// The table in tests/data/cp437.txt (lines "0xNN U+XXXX NAME"); nothing when
// the file is missing or does not list all 256 bytes.
std::optional<std::array<char32_t, 256>> loadCp437Table();

// Where that file is, for messages.
inline constexpr const char* kCp437TablePath = CP437_TABLE_PATH;

}  // namespace test_data
