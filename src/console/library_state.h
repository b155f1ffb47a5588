#pragma once
// Library-internal: the library's process-wide state as the library itself
// and its tests reach it.

namespace orvask::detail {

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

// Each module's share of resetState().
void resetColours();
void resetSetup();
void resetTimers();
void resetRandom();

}  // namespace orvask::detail
