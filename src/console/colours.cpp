// The library's current colours and the colour arithmetic that shadows and
// highlights use.

#include "library_state.h"
#include "orvask/output.h"
#include "orvask/platform/backend.h"

namespace orvask {

namespace {

void apply(unsigned char fg, unsigned char bg) {
    platform::backend().setAttribute(static_cast<unsigned char>((bg << 4) | fg));
    detail::state().currentFg = fg;
    detail::state().currentBg = bg;
}

}  // namespace

void setcolor(unsigned char fg, unsigned char bg) {
    if (fg == KeepFg) fg = getfg();
    if (bg == KeepBg) bg = getbg();
    apply(fg, bg);
}

void setfg(unsigned char fg) {
    if (fg == KeepFg) fg = getfg();
    apply(fg, getbg());
}

void setbg(unsigned char bg) {
    if (bg == KeepBg) bg = getbg();
    apply(getfg(), bg);
}

unsigned char getfg() {
    return detail::state().currentFg;
}
unsigned char getbg() {
    return detail::state().currentBg;
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
