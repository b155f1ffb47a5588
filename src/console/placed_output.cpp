#include "placed_output.h"

#include <climits>

#include "orvask/output.h"
#include "orvask/platform/backend.h"

namespace orvask::detail {

unsigned char displayable(unsigned char glyph) {
    return glyph == '\n' ? ' ' : glyph;
}

bool placeGlyph(int x, int y, unsigned char glyph) {
    if (x < SHRT_MIN || x > SHRT_MAX || y < SHRT_MIN || y > SHRT_MAX) return false;
    const auto cx = static_cast<short>(x);
    const auto cy = static_cast<short>(y);
    if (!inscr(cx, cy)) return false;
    platform::Backend& console = platform::backend();
    if (!(console.cursorPosition() == platform::Coord{cx, cy})) console.setCursorPosition({cx, cy});
    const char byte = static_cast<char>(displayable(glyph));
    console.write(&byte, 1);
    return true;
}

void placeRow(int x, int y, const char* text, unsigned char fg, unsigned char bg) {
    setcolor(fg, bg);
    if (text == nullptr) return;
    // Bytes right of the screen can never show; stop at the first of them.
    for (int column = x; *text != '\0' && column < scrw(); ++text, ++column)
        placeGlyph(column, y, static_cast<unsigned char>(*text));
}

}  // namespace orvask::detail
