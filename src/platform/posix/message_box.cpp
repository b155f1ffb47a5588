#include "message_box.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "glyphs/glyph_table.h"

namespace orvask::platform::posix {

namespace {

constexpr std::uint8_t kBoxColours = 0x4F;      // bright white on dark red
constexpr std::uint8_t kCaptionColours = 0x4E;  // yellow on dark red
constexpr std::uint8_t kButtonColours = 0x70;   // black on light grey
constexpr std::string_view kButton = "[ OK ]";

std::vector<std::string> wrapLines(std::string_view text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n' || line.size() == width) {
            lines.push_back(line);
            line.clear();
            if (c == '\n') continue;
        }
        line.push_back(c);
    }
    lines.push_back(line);
    return lines;
}

void put(ConsoleModel& screen, int x, int y, std::uint8_t glyph, std::uint8_t attribute) {
    if (x < 0 || y < 0 || x >= screen.width() || y >= screen.height()) return;
    screen.cell(x, y) = CellData{glyph, attribute};
}

void putText(ConsoleModel& screen, int x, int y, std::string_view text, std::uint8_t attribute) {
    for (char c : text)
        put(screen, x++, y, static_cast<std::uint8_t>(c), attribute);
}

}  // namespace

void drawMessageBox(ConsoleModel& screen, std::string_view caption, std::string_view text) {
    const BoxGlyphs& g = screen.outputCodePage == kCodePage949 ? kBox949 : kBoxSingle437;
    const int maxInner = std::max(1, screen.width() - 4);
    std::size_t inner = std::max(caption.size() + 2, kButton.size());
    for (const std::string& line : wrapLines(text, static_cast<std::size_t>(maxInner))) {
        inner = std::max(inner, line.size());
    }
    inner = std::min(inner, static_cast<std::size_t>(maxInner));
    std::vector<std::string> lines = wrapLines(text, inner);
    const std::size_t maxLines = static_cast<std::size_t>(std::max(0, screen.height() - 5));
    if (lines.size() > maxLines) lines.resize(maxLines);

    const int width = static_cast<int>(inner) + 4;
    const int height = static_cast<int>(lines.size()) + 5;
    const int left = std::max(0, (screen.width() - width) / 2);
    const int top = std::max(0, (screen.height() - height) / 2);
    const int right = left + width - 1;
    const int bottom = top + height - 1;

    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            std::uint8_t glyph = ' ';
            if (y == top || y == bottom) glyph = g[Horizontal];
            if (x == left || x == right) glyph = g[Vertical];
            if (y == top && x == left) glyph = g[TopLeft];
            if (y == top && x == right) glyph = g[TopRight];
            if (y == bottom && x == left) glyph = g[BottomLeft];
            if (y == bottom && x == right) glyph = g[BottomRight];
            put(screen, x, y, glyph, kBoxColours);
        }
    }
    if (!caption.empty()) {
        const std::string title = " " + std::string(caption.substr(0, inner - 2)) + " ";
        putText(screen, left + (width - static_cast<int>(title.size())) / 2, top, title,
                kCaptionColours);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        putText(screen, left + 2, top + 2 + static_cast<int>(i), lines[i], kBoxColours);
    }
    putText(screen, left + (width - static_cast<int>(kButton.size())) / 2, bottom - 1, kButton,
            kButtonColours);
    screen.cursorVisible = false;
}

}  // namespace orvask::platform::posix
