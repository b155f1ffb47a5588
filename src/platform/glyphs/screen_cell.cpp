#include "screen_cell.h"

#include "cp949_codec.h"
#include "glyph_table.h"

namespace orvask::platform::glyphs {

namespace {

// Whether the terminal shows the character two columns wide.
bool isWideGlyph(char32_t cp) {
    struct Range {
        char32_t first, last;
    };
    // The East Asian wide blocks code page 949 reaches.
    static constexpr Range kWide[] = {
        {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF},
        {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},
        {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6},
    };
    for (const Range& r : kWide) {
        if (cp >= r.first && cp <= r.last) return true;
    }
    return false;
}

}  // namespace

void screenRow(const ConsoleModel& model, int y, std::vector<ScreenCell>& row) {
    const int width = model.width();
    const int codePage = model.outputCodePage;
    row.resize(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        const CellData& cell = model.cell(x, y);
        auto& out = row[static_cast<std::size_t>(x)];
        if (codePage == kCodePage949 && isCp949LeadByte(cell.glyph) && x + 1 < width) {
            if (const char32_t cp = decodeCp949(cell.glyph, model.cell(x + 1, y).glyph)) {
                const bool wide = isWideGlyph(cp);
                out = {cp, cell.attribute, static_cast<std::uint8_t>(wide ? 2 : 1)};
                row[static_cast<std::size_t>(x) + 1] =
                    wide ? ScreenCell{0, cell.attribute, 0} : ScreenCell{U' ', cell.attribute, 1};
                ++x;
                continue;
            }
        }
        out = {singleByteGlyph(codePage, cell.glyph), cell.attribute, 1};
    }
}

}  // namespace orvask::platform::glyphs
