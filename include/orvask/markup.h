#pragma once
// The colour markup printer. A backtick and the byte after it change the
// foreground, the background (two backticks and a letter), draw a glyph or
// insert one of eight integer arguments:
//
//   `k `b `g `c `r `m `w `y `K `B `G `C `R `M `W `H   foreground 0..15
//   ``k ... ``H                                        background 0..15
//   `0 natural width, `1..`9 fixed width               next integer argument
//   `~ a backtick   `* `- `| `< `> `^ `v ``< ``> ``^ ``v   glyphs
//
// Each glyph lands at its own place, one column after the other: the part of
// a text that falls outside the writable cells is dropped (printing stops at
// the right edge), and the bottom-right cell is never written. With paging
// on, output goes to the working page; otherwise straight to the console,
// where it shows just as the working page would after Page(), except that a
// number field (or the byte after a code) that one step prints past the
// right edge goes on at the start of the next row, as the console wraps it
// (never onto the bottom-right cell, never scrolling). Control bytes
// are glyphs like any other, except a newline in direct output, which goes on
// at the start of the next row (and moves the cursor there) as the console
// takes one, without ever scrolling it; in a page a newline shows as a blank.

#include "orvask/platform/export.h"
namespace orvask {

ORVASK_API void Pm(short x, short y, const char* text, int a1 = 0, int a2 = 0, int a3 = 0,
                   int a4 = 0, int a5 = 0, int a6 = 0, int a7 = 0, int a8 = 0);
// Pm at the cursor.
ORVASK_API void Pmc(const char* text, int a1 = 0, int a2 = 0, int a3 = 0, int a4 = 0, int a5 = 0,
                    int a6 = 0, int a7 = 0, int a8 = 0);

// Writes the two-byte markup code of a colour and a NUL into dst (3 bytes).
ORVASK_API void colcode(char* dst, unsigned char colour);
// Writes the codes selecting fg and bg, and a NUL, into dst (6 bytes).
ORVASK_API void colpair(char* dst, unsigned char fg, unsigned char bg);

// The printer's emitter: prints one glyph at (x, y) if that is a writable cell
// and advances x; a backtick prints nothing and leaves x alone.
ORVASK_API void Pmch(unsigned char glyph, unsigned char fg, unsigned char bg, short& x, short y);

}  // namespace orvask
