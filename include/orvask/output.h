#pragma once
// Console output: the cursor, the current colours and small print operations
// that place one value at a position in given colours.
//
// Colours are the 16 console colours (see Colour below). Wherever a
// foreground is taken, KeepFg (100) stands for the current foreground;
// wherever a background is taken, KeepBg (101) stands for the current
// background. No operation that places output by position writes the
// bottom-right cell of the screen, so printing never scrolls the console.

#include "orvask/platform/export.h"
namespace orvask {

// The 16-colour console palette.
enum Colour : unsigned char {
    Black = 0,
    DarkBlue = 1,
    DarkGreen = 2,
    DarkCyan = 3,
    DarkRed = 4,
    DarkMagenta = 5,
    Brown = 6,
    LightGrey = 7,
    DarkGrey = 8,
    Blue = 9,
    Green = 10,
    Cyan = 11,
    Red = 12,
    Magenta = 13,
    Yellow = 14,
    White = 15,
};

// Keep-colour markers.
inline constexpr unsigned char KeepFg = 100;
inline constexpr unsigned char KeepBg = 101;

// One character cell: three packed bytes, glyph, foreground, background.
struct Cell {
    unsigned char glyph;
    unsigned char fg;
    unsigned char bg;
};
static_assert(sizeof(Cell) == 3, "cells are stored packed");

// --- Screen and cursor ---------------------------------------------------------

ORVASK_API int scrw();  // screen width in cells; 0 until the console is set up
ORVASK_API int scrh();  // screen height in cells; 0 until the console is set up
// True for a writable cell: inside the screen and not the bottom-right cell.
ORVASK_API bool inscr(short x, short y);
// Moves the cursor to a writable cell; false (and nothing moves) otherwise.
ORVASK_API bool gotoxy(short x, short y);
ORVASK_API int wherex();  // the cursor's column, read from the console
ORVASK_API int wherey();  // the cursor's row, read from the console
// 0: hidden; 1: visible full block; 2: visible, size 20; other values: no change.
ORVASK_API void cursor(int mode);

// --- Colours -------------------------------------------------------------------

ORVASK_API void setcolor(unsigned char fg, unsigned char bg);
ORVASK_API void setfg(unsigned char fg);
ORVASK_API void setbg(unsigned char bg);
ORVASK_API unsigned char getfg();
ORVASK_API unsigned char getbg();
ORVASK_API unsigned char brighter(unsigned char c);
ORVASK_API unsigned char darker(unsigned char c);
ORVASK_API void darkcell(Cell* cell);

// --- Print at a position (false: position refused, nothing printed) ------------
// The value is written at the cursor as the console takes it: text past the
// right edge continues on the next row. Output stops before a byte that would
// land on the bottom-right cell or scroll the screen (a newline on the last
// row); the same holds for printing at the cursor.

ORVASK_API bool Pxy(short x, short y, const char* text, unsigned char fg, unsigned char bg);
ORVASK_API bool Pxy(short x, short y, unsigned char ch, unsigned char fg, unsigned char bg);
ORVASK_API bool Pxy(short x, short y, char ch, unsigned char fg, unsigned char bg);
// Note: an int prints as a number; cast a glyph code to unsigned char.
ORVASK_API bool Pxy(short x, short y, int value, unsigned char fg, unsigned char bg);
ORVASK_API bool Pxy(short x, short y, double value, unsigned char fg, unsigned char bg);  // "%1.2f"
ORVASK_API bool Pxy(short x, short y, Cell cell);

// --- Print at the cursor ---------------------------------------------------------

ORVASK_API void Pcur(const char* text, unsigned char fg, unsigned char bg);
ORVASK_API void Pcur(unsigned char ch, unsigned char fg, unsigned char bg);
ORVASK_API void Pcur(char ch, unsigned char fg, unsigned char bg);
ORVASK_API void Pcur(int value, unsigned char fg, unsigned char bg);
ORVASK_API void Pcur(double value, unsigned char fg, unsigned char bg);
ORVASK_API void Pcur(Cell cell);

// Writes `count` newlines at the cursor (nothing for 0 or less). Unlike the
// prints above, these scroll the screen on the last row, as newlines do.
ORVASK_API void Pnl(int count);
// Repeats `ch` from the cursor column up to column endx on the cursor row,
// never into the bottom-right cell. Goes to the working page when paging is on.
ORVASK_API void Pfill(short endx, unsigned char ch);

}  // namespace orvask
