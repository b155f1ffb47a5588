#include "screen_painter.h"

#include <algorithm>

namespace orvask::platform::windows {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool operator==(const CHAR_INFO& a, const CHAR_INFO& b) {
    return a.Char.UnicodeChar == b.Char.UnicodeChar && a.Attributes == b.Attributes;
}

CHAR_INFO charInfo(char32_t glyph, std::uint8_t attribute, WORD half = 0) {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = glyph <= 0xFFFF ? static_cast<wchar_t>(glyph) : kReplacement;
    cell.Attributes = static_cast<WORD>(attribute | half);
    return cell;
}

}  // namespace

void ScreenPainter::convert(const ConsoleModel& frame) {
    const auto width = static_cast<std::size_t>(frame.width());
    want_.resize(width * static_cast<std::size_t>(frame.height()));
    for (int y = 0; y < frame.height(); ++y) {
        glyphs::screenRow(frame, y, row_);
        CHAR_INFO* out = want_.data() + static_cast<std::size_t>(y) * width;
        for (std::size_t x = 0; x < width; ++x) {
            const glyphs::ScreenCell& cell = row_[x];
            if (cell.width == 2) {
                out[x] = charInfo(cell.glyph, cell.attribute, COMMON_LVB_LEADING_BYTE);
            } else if (cell.width == 0 && x > 0) {
                out[x] = charInfo(row_[x - 1].glyph, cell.attribute, COMMON_LVB_TRAILING_BYTE);
            } else {
                out[x] = charInfo(cell.glyph, cell.attribute);
            }
        }
    }
}

bool ScreenPainter::paint(const ConsoleModel& frame, std::vector<CHAR_INFO>& cells,
                          SMALL_RECT& region) {
    convert(frame);
    const int width = frame.width();
    const int height = frame.height();
    int left = width, top = height, right = -1, bottom = -1;
    if (shownSize_ != frame.size()) {
        left = top = 0;
        right = width - 1;
        bottom = height - 1;
    } else {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::size_t i = static_cast<std::size_t>(y * width + x);
                if (want_[i] == shown_[i]) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (right < 0) return false;
        // Both halves of a wide character go out together.
        for (int y = top; y <= bottom; ++y) {
            const CHAR_INFO* row = want_.data() + static_cast<std::size_t>(y * width);
            if (left > 0 && (row[left].Attributes & COMMON_LVB_TRAILING_BYTE) != 0) --left;
            if (right + 1 < width && (row[right].Attributes & COMMON_LVB_LEADING_BYTE) != 0)
                ++right;
        }
    }
    const int columns = right - left + 1;
    cells.resize(static_cast<std::size_t>(columns * (bottom - top + 1)));
    for (int y = top; y <= bottom; ++y) {
        const auto from = want_.begin() + y * width + left;
        std::copy(from, from + columns, cells.begin() + (y - top) * columns);
    }
    region = SMALL_RECT{static_cast<SHORT>(left), static_cast<SHORT>(top),
                        static_cast<SHORT>(right), static_cast<SHORT>(bottom)};
    shown_.swap(want_);
    shownSize_ = frame.size();
    return true;
}

}  // namespace orvask::platform::windows
