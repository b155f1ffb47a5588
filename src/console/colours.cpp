// The library's current colours and the colour arithmetic that shadows and
// highlights use.

#include "library_state.h"
#include "orvask/output.h"
#include "orvask/platform/backend.h"

namespace orvask {

namespace {

// The last colours applied to the console, markers already resolved.
unsigned char currentFg = LightGrey;
unsigned char currentBg = Black;

void apply(unsigned char fg, unsigned char bg) {
    platform::backend().setAttribute(static_cast<unsigned char>((bg << 4) | fg));
    currentFg = fg;
    currentBg = bg;
}

}  // namespace

namespace detail {

void resetColours() {
    currentFg = LightGrey;
    currentBg = Black;
}

}  // namespace detail

void setcolor(unsigned char fg, unsigned char bg) {
    if (fg == KeepFg) fg = currentFg;
    if (bg == KeepBg) bg = currentBg;
    apply(fg, bg);
}

void setfg(unsigned char fg) {
    if (fg == KeepFg) fg = currentFg;
    apply(fg, currentBg);
}

void setbg(unsigned char bg) {
    if (bg == KeepBg) bg = currentBg;
    apply(currentFg, bg);
}

unsigned char getfg() {
    return currentFg;
}
unsigned char getbg() {
    return currentBg;
}

unsigned char brighter(unsigned char c) {
    if (c < 8) return static_cast<unsigned char>(c + 8);
    if (c == 8) return LightGrey;
    return White;
}

unsigned char darker(unsigned char c) {
    // Dark blue, red and magenta fall to black; the other dark colours
    // (green, cyan, brown, grey) fall to dark grey; bright ones lose 8.
    static constexpr unsigned char kDarkOf[9] = {Black, Black,    DarkGrey, DarkGrey, Black,
                                                 Black, DarkGrey, DarkGrey, Black};
    if (c <= 8) return kDarkOf[c];
    return static_cast<unsigned char>(c - 8);
}

void darkcell(Cell* cell) {
    cell->fg = darker(cell->fg);
    cell->bg = darker(cell->bg);
}

}  // namespace orvask
