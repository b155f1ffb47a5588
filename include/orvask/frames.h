#pragma once
// Frames and text boxes.

#include "orvask/platform/export.h"
namespace orvask {

// box styles
inline constexpr int BoxDouble = 1;  // double lines
inline constexpr int BoxBlank = 2;   // spaces instead of lines
inline constexpr int BoxFill = 4;    // fill the inside with spaces
inline constexpr int BoxDirect = 8;  // draw on the console even with paging on

// textbox and inputbox flags
inline constexpr int BoxCentreX = 0x40;   // x is the centre, not the left edge
inline constexpr int BoxShadow = 0x80;    // shadow (with paging on)
inline constexpr int BoxAnimate = 0x100;  // opening animation

// Draws the frame between two opposite corners, in either order, clipped to
// the screen.
ORVASK_API void box(short x1, short y1, short x2, short y2, unsigned char fg, unsigned char bg,
                    int style);
// A one-line markup text (at most 94 bytes) in a three-row frame as wide as
// the cells the text prints; x or y of -1 centres on the screen. Keep-colour
// values stand for the colours current at the call. A box whose frame or
// shadow would pass the 16-bit coordinates is refused without drawing.
ORVASK_API void textbox(short x, short y, const char* text, unsigned char framefg, unsigned char bg,
                        unsigned char textfg, int flags);

}  // namespace orvask
