#pragma once
// Console set-up, the loading screen, restore and the library's error report.

#include "orvask/platform/export.h"
namespace orvask {

// coninit flags.
inline constexpr int ConPages = 0x01;            // create the virtual pages
inline constexpr int ConNoLoadingScreen = 0x02;  // no loading screen, no key wait

// Sets the console up: code page (437 or 949), screen size, output mode,
// random seed, the loading screen, a key press, a cleared screen. With
// ConNoLoadingScreen, for a program that draws its own start, it shows no
// loading screen and reads no key; the clock is set up all the same.
ORVASK_API void coninit(int codepage, short width, short height, int flags);
// Restores the console, leaves it width by height and hands it back to the
// user (a terminal leaves the program's screen); a later coninit takes it
// again.
ORVASK_API void conexit(short width, short height);
// Shows "ERROR: " and the message, waits for a key, restores the console
// and ends the process with status 1.
[[noreturn]] ORVASK_API void conerror(const char* message);

ORVASK_API void consize(short width, short height);
ORVASK_API void setbufsize(short width, short height);
ORVASK_API void setwinsize(short width, short height);
ORVASK_API void setcp(int codepage);
ORVASK_API int getcp();
ORVASK_API void title(const char* text);

// Glyph tables the frames and the input box draw with; replaced by coninit
// for code page 949. Index: 0 block, 1 horizontal, 2 vertical, 3..6 corners
// (top-left, top-right, bottom-right, bottom-left), 7..10 tees, 11 cross.
extern ORVASK_API unsigned char boxglyphs1[12];  // single lines
extern ORVASK_API unsigned char boxglyphs2[12];  // double lines
// The input box's busy animation (entries 1 to 8 are shown).
extern ORVASK_API char spinner[11];

}  // namespace orvask
