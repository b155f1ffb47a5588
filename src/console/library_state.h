#pragma once
// Library-internal: the library's process-wide state in one object, as the
// library itself and its tests reach it. Only the names the library's users
// are promised (lastkey, the box glyph tables, the spinner, ticksPerMs,
// timeScale) live outside it, as the globals the public headers declare.

#include <cstdint>
#include <vector>

#include "orvask/output.h"

namespace orvask::detail {

// A grid of cells stored as `width` columns of `height` consecutive cells.
// The size is the screen size when the page was made; it is kept with the
// page so that releasing and indexing never depend on a later screen size.
struct PageGrid {
    std::vector<std::vector<Cell>> columns;
    int width = 0;
    int height = 0;

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Cell& at(int x, int y) {
        return columns[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
    }
};

struct LibraryState {
    // The screen size scrw()/scrh() report; only consize() records a new one.
    int screenWidth = 0;
    int screenHeight = 0;

    // The last colours applied to the console, markers already resolved.
    unsigned char currentFg = LightGrey;
    unsigned char currentBg = Black;

    // The input code page found by coninit(); 0 while none has been saved,
    // so a restore without a set-up leaves the code page alone.
    int savedCodePage = 0;

    // The virtual pages: the shown page mirrors the console, the working
    // page takes page-aware drawing, and drawnFrom holds the working page's
    // cells as they were when last drawn (Page() compares against these).
    // `paging` is true while the three exist.
    bool paging = false;
    PageGrid shown;
    PageGrid working;
    PageGrid drawnFrom;
    // How many more page blocks may be allocated; negative: no limit.
    long allocationsLeft = -1;

    // Oversleep that pace() still owes to later calls, in tenths of a
    // millisecond; never negative.
    std::int32_t paceCarry = 0;
    // The interval mark of tmark()/twait(), in tnow() milliseconds.
    std::uint32_t markTime = 0;

    // The random generator's state; 1 until seeded.
    std::uint32_t generatorState = 1;
};

// The one instance; made on first use and never destroyed, so the library
// works until the very end of the process.
LibraryState& state();

// Records the screen size that scrw()/scrh() report. Only consize() records
// a new size.
void recordScreenSize(short width, short height);

// Allows `count` more page blocks (a column array or a column) to be
// allocated before allocation reports failure; a negative count lifts the
// limit. Lets tests make page allocation fail.
void limitPageAllocations(long count);

// Puts every piece of process-wide state back as a fresh process has it: no
// pages and no allocation limit, a 0 by 0 screen, current colours 7 on 0 (the
// console itself is not touched), the code page 437 glyph tables and spinner,
// no saved code page, lastkey 0, the tick-count clock with no pacing carry
// and the mark at 0, and the random generator unseeded. For test fixtures.
void resetState();

// The promised globals back at their start values (part of resetState()).
void resetPublicNames();

}  // namespace orvask::detail
