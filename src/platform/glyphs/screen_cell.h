#pragma once
// One cell as the terminal shows it: a Unicode glyph in a console attribute.

#include <cstdint>
#include <vector>

#include "orvask/platform/console_model.h"

namespace orvask::platform::glyphs {

struct ScreenCell {
    char32_t glyph = U' ';
    std::uint8_t attribute = 0x07;
    // Columns the glyph takes: 1, 2 for a wide glyph, 0 for the right half
    // of the wide glyph on its left.
    std::uint8_t width = 1;
    friend bool operator==(const ScreenCell&, const ScreenCell&) = default;
};

// The cells of model row y as the terminal is to show them under the
// model's output code page: single bytes through the glyph table, code page
// 949 pairs as one character (a wide one over two cells, a narrow one
// followed by a blank).
void screenRow(const ConsoleModel& model, int y, std::vector<ScreenCell>& row);

}  // namespace orvask::platform::glyphs
