// Console set-up and restore, resizing, code pages, and the library's own
// error report.

#include "orvask/setup.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "loading_screen.h"
#include "orvask/keyboard.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/backend.h"
#include "orvask/timers.h"
#include "screen_state.h"

namespace orvask {

unsigned char boxglyphs1[12] = {254, 196, 179, 218, 191, 217, 192, 195, 194, 180, 193, 197};
unsigned char boxglyphs2[12] = {254, 205, 186, 201, 187, 188, 200, 204, 203, 185, 202, 206};
char spinner[11] = "\\|/-\\|/-\\|";

namespace {

// Code page 949 has no line-drawing bytes: both box sets become the same
// set of symbols, and the spinner shows backticks for backslashes.
constexpr int kKoreanCodePage = 949;
constexpr unsigned char kBoxGlyphs949[12] = {35, 6, 5, 1, 2, 4, 3, 24, 21, 22, 20, 16};
constexpr char kSpinner949[11] = "`|/-`|/-`|";

// The error screen leaves the console at the classic size.
constexpr short kRestoreWidth = 80;
constexpr short kRestoreHeight = 25;

// The input code page found by coninit(); 0 while none has been saved, so a
// restore without a set-up leaves the code page alone.
int savedCodePage = 0;

void useCodePage949Glyphs() {
    std::memcpy(boxglyphs1, kBoxGlyphs949, sizeof boxglyphs1);
    std::memcpy(boxglyphs2, kBoxGlyphs949, sizeof boxglyphs2);
    std::memcpy(spinner, kSpinner949, sizeof spinner);
}

}  // namespace

void coninit(int codepage, short width, short height, int flags) {
    savedCodePage = getcp();
    setcp(codepage);
    if (codepage == kKoreanCodePage) useCodePage949Glyphs();
    platform::backend().setOutputMode(platform::kOutputModeDefault);
    // The first resize starts from an unknown (0 by 0) size; the second runs
    // the whole sequence again with the size known.
    consize(width, height);
    consize(width, height);
    randomize();
    setcolor(LightGrey, Black);
    detail::drawLoadingScreen();
    setcolor(LightGrey, Black);
    // Made after the loading screen, so the loading screen is never in them.
    if ((flags & ConPages) != 0) vpinit();
    getkey();
    clrscr(Black);
}

void conexit(short width, short height) {
    if (vpon()) vpfree();
    keyflush();
    setcolor(LightGrey, Black);
    clrscr(Black);
    if (savedCodePage != 0) setcp(savedCodePage);
    consize(width, height);
}

void conerror(const char* message) {
    setcolor(LightGrey, Black);
    clrscr(Black);
    platform::Backend& console = platform::backend();
    constexpr char kHeadline[] = "ERROR: \n";
    console.write(kHeadline, sizeof kHeadline - 1);
    if (message != nullptr) console.write(message, std::strlen(message));
    console.write("\n", 1);

    keyflush();
    getkey();
    conexit(kRestoreWidth, kRestoreHeight);
    std::exit(EXIT_FAILURE);
}

void consize(short width, short height) {
    const bool paging = vpon();
    if (paging) vpfree();
    // The window never may be larger than the buffer: shrink it first.
    setwinsize(static_cast<short>(std::min<int>(width, scrw())),
               static_cast<short>(std::min<int>(height, scrh())));
    setbufsize(width, height);
    setwinsize(width, height);
    platform::backend().maximizeWindow();
    detail::recordScreenSize(width, height);
    if (paging) vpinit();
}

void setbufsize(short width, short height) {
    platform::backend().setBufferSize({width, height});
}

void setwinsize(short width, short height) {
    platform::backend().setWindowRect(
        {0, 0}, {static_cast<short>(width - 1), static_cast<short>(height - 1)});
}

void setcp(int codepage) {
    platform::Backend& console = platform::backend();
    console.setInputCodePage(codepage);
    console.setOutputCodePage(codepage);
}

int getcp() {
    return platform::backend().inputCodePage();
}

void title(const char* text) {
    platform::backend().setTitle(text != nullptr ? text : "");
}

}  // namespace orvask
