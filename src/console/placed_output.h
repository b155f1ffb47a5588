#pragma once
// Library-internal: output placed glyph by glyph. Each glyph goes to its own
// place on the console, or nowhere when that place is not a writable cell,
// so output that starts off the screen or runs past an edge shows only its
// part on the screen, and never makes the console wrap or scroll.

namespace orvask::detail {

// The glyph the console is handed to show `glyph`: a byte the console would
// act on instead of showing (the newline) is shown as a blank.
unsigned char displayable(unsigned char glyph);

// Writes `glyph` (as displayable() gives it) at (x, y) in the console's
// current attribute when (x, y) is a writable cell, moving the cursor there
// first unless it already is. False, with nothing written, otherwise.
bool placeGlyph(int x, int y, unsigned char glyph);

// Applies fg and bg with setcolor, then places the bytes of `text` on row y,
// the first at column x and each next one column further right.
void placeRow(int x, int y, const char* text, unsigned char fg, unsigned char bg);

}  // namespace orvask::detail
