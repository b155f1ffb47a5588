// Frames and text boxes, drawn into the working page when paging is on or
// straight onto the console.

#include "orvask/frames.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "box_effects.h"
#include "markup_width.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/console_codes.h"
#include "orvask/setup.h"
#include "shown_cells.h"

namespace orvask {

namespace {

using platform::BoxPiece;

// A box of one cell is always this block, whatever the tables hold.
constexpr unsigned char kSolidBlock = platform::kBoxSingle437[platform::SolidBlock];
constexpr unsigned char kSpace = ' ';

// Writes the cells of one box in its colours, to the page or the console.
class CellWriter {
  public:
    CellWriter(unsigned char fg, unsigned char bg, bool toPage)
        : fg_(fg), bg_(bg), toPage_(toPage) {}

    void operator()(int x, int y, unsigned char glyph) const {
        const auto cx = static_cast<short>(x);
        const auto cy = static_cast<short>(y);
        if (toPage_) {
            Pxyp(cx, cy, glyph, fg_, bg_);
        } else {
            Pxy(cx, cy, glyph, fg_, bg_);
        }
    }

  private:
    unsigned char fg_;
    unsigned char bg_;
    bool toPage_;
};

// The text box's text with its colour prefix: a colpair code and at most
// 94 bytes of text; a longer text is cut.
constexpr std::size_t kTextBufferSize = 100;
constexpr std::size_t kColourPrefixLength = 5;
constexpr std::size_t kMaxTextLength = kTextBufferSize - kColourPrefixLength - 1;

}  // namespace

void box(short x1, short y1, short x2, short y2, unsigned char fg, unsigned char bg, int style) {
    if (fg == KeepFg) fg = getfg();
    if (bg == KeepBg) bg = getbg();
    const CellWriter put(fg, bg, vpon() && (style & BoxDirect) == 0);

    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);

    if (left == right && top == bottom) {
        put(left, top, kSolidBlock);
        return;
    }

    const unsigned char* table = (style & BoxDouble) != 0 ? boxglyphs2 : boxglyphs1;
    const bool blank = (style & BoxBlank) != 0;
    const auto glyph = [&](BoxPiece piece) { return blank ? kSpace : table[piece]; };

    // Only the columns and rows of the inside that lie on the screen are
    // visited (the writers skip the rest anyway), so the work is bounded by
    // the screen whatever the corners.
    const int insideLeft = std::max(left + 1, 0);
    const int insideRight = std::min(right - 1, scrw() - 1);
    const int insideTop = std::max(top + 1, 0);
    const int insideBottom = std::min(bottom - 1, scrh() - 1);

    for (int x = insideLeft; x <= insideRight; ++x) {
        put(x, top, glyph(platform::Horizontal));
        put(x, bottom, glyph(platform::Horizontal));
    }
    for (int y = insideTop; y <= insideBottom; ++y) {
        put(left, y, glyph(platform::Vertical));
        put(right, y, glyph(platform::Vertical));
    }
    // Right-hand corners after left-hand ones: a one-column box shows them.
    put(left, top, glyph(platform::TopLeft));
    put(right, top, glyph(platform::TopRight));
    put(left, bottom, glyph(platform::BottomLeft));
    put(right, bottom, glyph(platform::BottomRight));

    if ((style & BoxFill) != 0) {
        for (int x = insideLeft; x <= insideRight; ++x) {
            for (int y = insideTop; y <= insideBottom; ++y)
                put(x, y, kSpace);
        }
    }
}

void textbox(short x, short y, const char* text, unsigned char framefg, unsigned char bg,
             unsigned char textfg, int flags) {
    // Keep-colour values mean the colours current when the box is asked for,
    // for the frame, the text and whatever the shadow falls on that is not
    // on the screen yet.
    const unsigned char keptFg = getfg();
    const unsigned char keptBg = getbg();
    if (framefg == KeepFg) framefg = keptFg;
    if (textfg == KeepFg) textfg = keptFg;
    if (bg == KeepBg) bg = keptBg;

    char buffer[kTextBufferSize];
    colpair(buffer, textfg, bg);
    const char* source = text != nullptr ? text : "";
    const std::size_t length = std::min(std::strlen(source), kMaxTextLength);
    std::memcpy(buffer + kColourPrefixLength, source, length);
    buffer[kColourPrefixLength + length] = '\0';

    // The frame fits the cells the text prints, number fields included.
    const int width = detail::markupWidth(buffer);
    int left = x;
    int row = y;
    if (left == -1) left = scrw() / 2;
    if (row == -1) row = scrh() / 2 - 2;
    if ((flags & BoxCentreX) != 0) left -= (width + 1) / 2;
    const int right = left + width + 1;
    // A box whose frame or shadow cannot be given in 16-bit coordinates is
    // refused: it would wrap round to the wrong place.
    if (left < SHRT_MIN || right + 1 > SHRT_MAX || row + 3 > SHRT_MAX) return;
    const auto sx = [](int v) { return static_cast<short>(v); };

    if ((flags & BoxAnimate) != 0) detail::openingAnimation(left, row, right, framefg, bg);

    box(sx(left), sx(row), sx(right), sx(row + 2), framefg, bg, BoxFill);
    Pm(sx(left + 1), sx(row + 1), buffer);

    if (vpon() && (flags & BoxShadow) != 0) {
        // A cell the console already shows darkens from the colours it is
        // shown in, keep-colour values as they were drawn.
        const auto dim = [&](int cx, int cy) {
            if (!inscr(sx(cx), sx(cy))) return;
            Cell* cell = workingCell(sx(cx), sx(cy));
            if (cell == nullptr) return;
            const Cell* seen = detail::shownUnchanged(sx(cx), sx(cy));
            if (cell->fg == KeepFg) cell->fg = seen != nullptr ? seen->fg : keptFg;
            if (cell->bg == KeepBg) cell->bg = seen != nullptr ? seen->bg : keptBg;
            darkcell(cell);
        };
        detail::forEachShadowCell(left, row, right, dim);
    }
}

}  // namespace orvask
