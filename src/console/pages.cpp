// Virtual pages: the shown page mirrors the console, the working page takes
// page-aware drawing, and Page() sends only the differences to the console.

#include "orvask/pages.h"

#include <algorithm>
#include <new>
#include <vector>

#include "library_state.h"
#include "orvask/output.h"
#include "orvask/setup.h"
#include "placed_output.h"
#include "shown_cells.h"

namespace orvask {

namespace {

using detail::PageGrid;

// Takes one page block (a column array or a column) from the allocation
// limit; false when the limit is used up.
bool mayAllocate() {
    long& left = detail::state().allocationsLeft;
    if (left == 0) return false;
    if (left > 0) --left;
    return true;
}

// Allocates every block of a page, each cell blank in light grey on black;
// false (with whatever was allocated left in the page) when memory runs out.
bool build(PageGrid& page, int width, int height) {
    try {
        if (!mayAllocate()) return false;
        page.columns.reserve(static_cast<std::size_t>(width));
        page.width = width;
        page.height = height;
        for (int x = 0; x < width; ++x) {
            if (!mayAllocate()) return false;
            page.columns.emplace_back(static_cast<std::size_t>(height), Cell{0, LightGrey, Black});
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// A writable cell of the screen that the working page also holds.
Cell* workingWritable(short x, short y) {
    PageGrid& working = detail::state().working;
    if (!inscr(x, y) || !working.contains(x, y)) return nullptr;
    return &working.at(x, y);
}

bool bottomRight(int x, int y) {
    return x == scrw() - 1 && y == scrh() - 1;
}

// The cell as the console shows it when drawn now: keep-colour markers in
// the current colours, a byte the console would act on as a blank.
Cell asShown(const Cell& cell) {
    return Cell{detail::displayable(cell.glyph), cell.fg == KeepFg ? getfg() : cell.fg,
                cell.bg == KeepBg ? getbg() : cell.bg};
}

}  // namespace

namespace detail {

void limitPageAllocations(long count) {
    state().allocationsLeft = count;
}

const Cell* shownUnchanged(short x, short y) {
    LibraryState& state = detail::state();
    if (!state.working.contains(x, y) || !state.shown.contains(x, y) ||
        !state.drawnFrom.contains(x, y)) {
        return nullptr;
    }
    return cellcmp(&state.working.at(x, y), &state.drawnFrom.at(x, y)) ? &state.shown.at(x, y)
                                                                       : nullptr;
}

}  // namespace detail

void vpinit() {
    // Called with no pages in place; should pages exist, they are replaced
    // rather than leaked.
    vpfree();
    const int width = scrw() > 0 ? scrw() : 0;
    const int height = scrh() > 0 ? scrh() : 0;
    detail::LibraryState& state = detail::state();
    if (!build(state.shown, width, height) || !build(state.working, width, height) ||
        !build(state.drawnFrom, width, height)) {
        // The error report clears the screen; it must find no half-built pages.
        vpfree();
        conerror("Not enough memory for virtual paging");
    }
    state.paging = true;
}

void vpfree() {
    detail::LibraryState& state = detail::state();
    state.paging = false;
    state.shown = PageGrid{};
    state.working = PageGrid{};
    state.drawnFrom = PageGrid{};
}

bool vpon() {
    return detail::state().paging;
}

void mkcell(Cell* cell, unsigned char glyph, unsigned char fg, unsigned char bg) {
    cell->glyph = glyph;
    cell->fg = fg == KeepFg ? getfg() : fg;
    cell->bg = bg == KeepBg ? getbg() : bg;
}

bool cellcmp(const Cell* a, const Cell* b) {
    return a->glyph == b->glyph && a->fg == b->fg && a->bg == b->bg;
}

bool Pxyp(short x, short y, Cell cell) {
    if (!vpon()) conerror("There's no page to apply Pxyp().");
    Cell* target = workingWritable(x, y);
    if (target == nullptr) return false;
    *target = cell;
    return true;
}

bool Pxyp(short x, short y, unsigned char glyph, unsigned char fg, unsigned char bg) {
    if (!vpon()) conerror("There's no page to apply Pxyp().");
    Cell* target = workingWritable(x, y);
    if (target == nullptr) return false;
    mkcell(target, glyph, fg, bg);
    return true;
}

void Page() {
    if (!vpon()) conerror("There's no page to apply Page().");
    detail::LibraryState& state = detail::state();
    PageGrid& working = state.working;
    // Row by row, so the console sees the changes in reading order. The
    // shown page records each cell as drawn, so it always holds what the
    // screen shows: no markers, no bytes the console acts on.
    for (int y = 0; y < working.height; ++y) {
        for (int x = 0; x < working.width; ++x) {
            const Cell& next = working.at(x, y);
            Cell& source = state.drawnFrom.at(x, y);
            if (cellcmp(&next, &source) || bottomRight(x, y)) continue;
            source = next;
            Cell& current = state.shown.at(x, y);
            current = asShown(next);
            Pxy(static_cast<short>(x), static_cast<short>(y), current);
        }
    }
}

void Repaint(short x1, short y1, short x2, short y2) {
    if (x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0) {
        x2 = static_cast<short>(scrw() - 1);
        y2 = static_cast<short>(scrh() - 1);
    }
    // Cells outside the shown page (or no page at all) are skipped, so only
    // the part of the rectangle on the page is visited.
    PageGrid& shown = detail::state().shown;
    const int top = std::max<int>(y1, 0);
    const int bottom = std::min<int>(y2, shown.height - 1);
    const int left = std::max<int>(x1, 0);
    const int right = std::min<int>(x2, shown.width - 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            Pxy(static_cast<short>(x), static_cast<short>(y), shown.at(x, y));
    }
}

void clrscr(unsigned char bg) {
    const bool paging = vpon();
    const unsigned char fg = getfg();
    const unsigned char keptBg = getbg();
    for (int y = 0; y < scrh(); ++y) {
        for (int x = 0; x < scrw(); ++x) {
            const auto cx = static_cast<short>(x);
            const auto cy = static_cast<short>(y);
            if (paging) {
                Pxyp(cx, cy, ' ', Black, bg);
            } else {
                Pxy(cx, cy, ' ', Black, bg);
            }
        }
    }
    gotoxy(0, 0);
    setcolor(fg, keptBg);
}

const Cell* shownCell(short x, short y) {
    PageGrid& shown = detail::state().shown;
    return shown.contains(x, y) ? &shown.at(x, y) : nullptr;
}

Cell* workingCell(short x, short y) {
    PageGrid& working = detail::state().working;
    return working.contains(x, y) ? &working.at(x, y) : nullptr;
}

}  // namespace orvask
