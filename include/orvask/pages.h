#pragma once
// Virtual pages: an optional double buffer for the whole screen. Drawing
// goes into the working page; Page() brings the console up to date by
// drawing only the cells that differ from the shown page, which mirrors the
// console. Paging is switched on by coninit's flag 1.

#include "orvask/output.h"
#include "orvask/platform/export.h"

namespace orvask {

ORVASK_API void vpinit();  // creates both pages at the screen size (set-up use)
ORVASK_API void vpfree();  // releases both pages (set-up use)
ORVASK_API bool vpon();    // true while the pages exist

// Stores a cell, resolving KeepFg/KeepBg against the current colours.
ORVASK_API void mkcell(Cell* cell, unsigned char glyph, unsigned char fg, unsigned char bg);
ORVASK_API bool cellcmp(const Cell* a, const Cell* b);

// Writes a cell into the working page (unaltered / markers resolved).
// False for positions that are not writable cells.
ORVASK_API bool Pxyp(short x, short y, Cell cell);
ORVASK_API bool Pxyp(short x, short y, unsigned char glyph, unsigned char fg, unsigned char bg);

// Draws every changed cell of the working page and records it as shown.
// Keep-colour markers are drawn in the current colours of the moment, and a
// byte the console would act on (a newline) as a blank; the shown page
// records the cell as drawn, so it always holds what the screen shows.
ORVASK_API void Page();
// Redraws the shown page's cells in the rectangle (all zeros: whole screen).
ORVASK_API void Repaint(short x1, short y1, short x2, short y2);
// Fills the screen (the working page with paging on) with spaces on bg and
// moves the cursor to (0, 0); the current colours are kept.
ORVASK_API void clrscr(unsigned char bg);

// Read access to a cell of the shown or the working page; null when paging
// is off or the position lies outside the screen. For overlays that need to
// know what is under them.
ORVASK_API const Cell* shownCell(short x, short y);
ORVASK_API Cell* workingCell(short x, short y);

}  // namespace orvask
