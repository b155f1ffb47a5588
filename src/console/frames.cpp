// Frames and text boxes, drawn into the working page when paging is on or
// straight onto the console.

#include "orvask/frames.h"

#include <algorithm>
#include <cstring>

#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/console_codes.h"
#include "orvask/setup.h"
#include "orvask/timers.h"

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

int animationPace(int span) {
    return std::clamp(250 / span, 5, 40);
}

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

    for (int x = left + 1; x <= right - 1; ++x) {
        put(x, top, glyph(platform::Horizontal));
        put(x, bottom, glyph(platform::Horizontal));
    }
    for (int y = top + 1; y <= bottom - 1; ++y) {
        put(left, y, glyph(platform::Vertical));
        put(right, y, glyph(platform::Vertical));
    }
    // Right-hand corners after left-hand ones: a one-column box shows them.
    put(left, top, glyph(platform::TopLeft));
    put(right, top, glyph(platform::TopRight));
    put(left, bottom, glyph(platform::BottomLeft));
    put(right, bottom, glyph(platform::BottomRight));

    if ((style & BoxFill) != 0) {
        for (int x = left + 1; x <= right - 1; ++x) {
            for (int y = top + 1; y <= bottom - 1; ++y)
                put(x, y, kSpace);
        }
    }
}

void textbox(short x, short y, const char* text, unsigned char framefg, unsigned char bg,
             unsigned char textfg, int flags) {
    char buffer[kTextBufferSize];
    colpair(buffer, textfg, bg);
    const char* source = text != nullptr ? text : "";
    const std::size_t length = std::min(std::strlen(source), kMaxTextLength);
    std::memcpy(buffer + kColourPrefixLength, source, length);
    buffer[kColourPrefixLength + length] = '\0';

    int left = x;
    int row = y;
    if (left == -1) left = scrw() / 2;
    if (row == -1) row = scrh() / 2 - 2;
    const int textLength = static_cast<int>(length);
    if ((flags & BoxCentreX) != 0) left -= (textLength + 1) / 2;
    const int right = left + textLength + 1;
    const auto sx = [](int v) { return static_cast<short>(v); };

    if ((flags & BoxAnimate) != 0) {
        const int span = right - left;
        const auto wait = static_cast<std::uint32_t>(animationPace(span));
        for (int n = span / 2; n >= 1; --n) {
            box(sx(left + n), sx(row), sx(right - n), sx(row + 2), framefg, bg,
                BoxFill | BoxDirect);
            pace(wait);
        }
    }

    box(sx(left), sx(row), sx(right), sx(row + 2), framefg, bg, BoxFill);
    Pm(sx(left + 1), sx(row + 1), buffer);

    if (vpon() && (flags & BoxShadow) != 0) {
        const auto dim = [&](int cx, int cy) {
            if (!inscr(sx(cx), sx(cy))) return;
            if (Cell* cell = workingCell(sx(cx), sx(cy))) darkcell(cell);
        };
        for (int i = left + 1; i <= right + 1; ++i)
            dim(i, row + 3);
        for (int j = row + 1; j <= row + 2; ++j)
            dim(right + 1, j);
    }
}

}  // namespace orvask
