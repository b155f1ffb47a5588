// Virtual pages: the shown page mirrors the console, the working page takes
// page-aware drawing, and Page() sends only the differences to the console.

#include "orvask/pages.h"

#include <algorithm>
#include <new>

#include "library_state.h"
#include "orvask/output.h"
#include "orvask/setup.h"
#include "placed_output.h"
#include "shown_cells.h"

namespace orvask {

namespace {

// A grid of cells stored as `width` columns of `height` consecutive cells.
// The size is the screen size when the page was made; it is kept with the
// page so that releasing and indexing never depend on a later screen size.
struct PageGrid {
    Cell** columns = nullptr;
    int width = 0;
    int height = 0;

    bool contains(int x, int y) const {
        return columns != nullptr && x >= 0 && y >= 0 && x < width && y < height;
    }
    Cell& at(int x, int y) const { return columns[x][y]; }
};

PageGrid shown;
PageGrid working;
// The working page's cells as they were when last drawn. Page() compares
// against these rather than the shown page, which holds the cells as drawn
// (markers resolved): a cell with keep-colour markers is then drawn once,
// in the colours of that moment, and stays until it changes.
PageGrid drawnFrom;

long allocationsLeft = -1;  // negative: no limit

template <typename T>
T* allocate(int count) {
    if (allocationsLeft == 0) return nullptr;
    if (allocationsLeft > 0) --allocationsLeft;
    return new (std::nothrow) T[static_cast<std::size_t>(count)];
}

void release(PageGrid& page) {
    if (page.columns != nullptr) {
        for (int x = 0; x < page.width; ++x)
            delete[] page.columns[x];
        delete[] page.columns;
    }
    page = PageGrid{};
}

// Allocates every block of a page; false (with whatever was allocated left
// in the page for release()) when memory runs out.
bool build(PageGrid& page, int width, int height) {
    page.columns = allocate<Cell*>(width);
    if (page.columns == nullptr) return false;
    page.width = width;
    page.height = height;
    for (int x = 0; x < width; ++x)
        page.columns[x] = nullptr;
    for (int x = 0; x < width; ++x) {
        page.columns[x] = allocate<Cell>(height);
        if (page.columns[x] == nullptr) return false;
    }
    return true;
}

void fillInitial(const PageGrid& page) {
    for (int x = 0; x < page.width; ++x) {
        for (int y = 0; y < page.height; ++y)
            mkcell(&page.at(x, y), 0, LightGrey, Black);
    }
}

// A writable cell of the screen that the working page also holds.
Cell* workingWritable(short x, short y) {
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
    allocationsLeft = count;
}

const Cell* shownUnchanged(short x, short y) {
    if (!working.contains(x, y) || !shown.contains(x, y) || !drawnFrom.contains(x, y)) {
        return nullptr;
    }
    return cellcmp(&working.at(x, y), &drawnFrom.at(x, y)) ? &shown.at(x, y) : nullptr;
}

}  // namespace detail

void vpinit() {
    // Called with no pages in place; should pages exist, they are replaced
    // rather than leaked.
    vpfree();
    const int width = scrw() > 0 ? scrw() : 0;
    const int height = scrh() > 0 ? scrh() : 0;
    if (!build(shown, width, height) || !build(working, width, height) ||
        !build(drawnFrom, width, height)) {
        // The error report clears the screen; it must find no half-built pages.
        vpfree();
        conerror("Not enough memory for virtual paging");
    }
    fillInitial(shown);
    fillInitial(working);
    fillInitial(drawnFrom);
}

void vpfree() {
    release(shown);
    release(working);
    release(drawnFrom);
}

bool vpon() {
    return shown.columns != nullptr;
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
    if (working.columns == nullptr) conerror("There's no page to apply Pxyp().");
    Cell* target = workingWritable(x, y);
    if (target == nullptr) return false;
    *target = cell;
    return true;
}

bool Pxyp(short x, short y, unsigned char glyph, unsigned char fg, unsigned char bg) {
    if (working.columns == nullptr) conerror("There's no page to apply Pxyp().");
    Cell* target = workingWritable(x, y);
    if (target == nullptr) return false;
    mkcell(target, glyph, fg, bg);
    return true;
}

void Page() {
    if (shown.columns == nullptr || working.columns == nullptr) {
        conerror("There's no page to apply Page().");
    }
    // Row by row, so the console sees the changes in reading order. The
    // shown page records each cell as drawn, so it always holds what the
    // screen shows: no markers, no bytes the console acts on.
    for (int y = 0; y < working.height; ++y) {
        for (int x = 0; x < working.width; ++x) {
            const Cell& next = working.at(x, y);
            Cell& source = drawnFrom.at(x, y);
            if (cellcmp(&next, &source) || bottomRight(x, y)) continue;
            source = next;
            Cell& current = shown.at(x, y);
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
    if (paging && working.columns == nullptr) conerror("There's no page to apply clrscr().");
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
    return shown.contains(x, y) ? &shown.at(x, y) : nullptr;
}

Cell* workingCell(short x, short y) {
    return working.contains(x, y) ? &working.at(x, y) : nullptr;
}

}  // namespace orvask
