// Console set-up and restore, resizing, code pages, and the library's own
// error report.

#include "orvask/setup.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "library_state.h"
#include "loading_screen.h"
#include "orvask/keyboard.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/backend.h"
#include "orvask/timers.h"

namespace orvask {

namespace {
// The tables start out as the code page 437 sets, constant-initialised so
// that drawing before coninit (even from a static constructor) finds them.
constexpr const platform::BoxGlyphs& k1 = platform::kBoxSingle437;
constexpr const platform::BoxGlyphs& k2 = platform::kBoxDouble437;
constexpr char kSpinner437[11] = "\\|/-\\|/-\\|";
}  // namespace

// clang-format off
unsigned char boxglyphs1[12] = {k1[0], k1[1], k1[2], k1[3], k1[4], k1[5],
                                k1[6], k1[7], k1[8], k1[9], k1[10], k1[11]};
unsigned char boxglyphs2[12] = {k2[0], k2[1], k2[2], k2[3], k2[4], k2[5],
                                k2[6], k2[7], k2[8], k2[9], k2[10], k2[11]};
char spinner[11] = {kSpinner437[0], kSpinner437[1], kSpinner437[2], kSpinner437[3],
                    kSpinner437[4], kSpinner437[5], kSpinner437[6], kSpinner437[7],
                    kSpinner437[8], kSpinner437[9], '\0'};
// clang-format on

namespace {

// Under code page 949 both box sets become its one set of symbols, and the
// spinner shows backticks for backslashes.
constexpr char kSpinner949[11] = "`|/-`|/-`|";

// The error screen leaves the console at the classic size.
constexpr short kRestoreWidth = 80;
constexpr short kRestoreHeight = 25;

void useCodePage949Glyphs() {
    std::memcpy(boxglyphs1, platform::kBox949.data(), sizeof boxglyphs1);
    std::memcpy(boxglyphs2, platform::kBox949.data(), sizeof boxglyphs2);
    std::memcpy(spinner, kSpinner949, sizeof spinner);
}

}  // namespace

namespace detail {

void resetPublicNames() {
    std::memcpy(boxglyphs1, platform::kBoxSingle437.data(), sizeof boxglyphs1);
    std::memcpy(boxglyphs2, platform::kBoxDouble437.data(), sizeof boxglyphs2);
    std::memcpy(spinner, kSpinner437, sizeof spinner);
    lastkey = 0;
    ticksPerMs = 0;
}

}  // namespace detail

void coninit(int codepage, short width, short height, int flags) {
    detail::state().savedCodePage = getcp();
    setcp(codepage);
    if (codepage == platform::kCodePage949) useCodePage949Glyphs();
    platform::backend().setOutputMode(platform::kOutputModeDefault);
    // The first resize starts from an unknown (0 by 0) size; the second runs
    // the whole sequence again with the size known.
    consize(width, height);
    consize(width, height);
    randomize();
    setcolor(LightGrey, Black);
    const bool loadingScreen = (flags & ConNoLoadingScreen) == 0;
    if (loadingScreen) {
        detail::drawLoadingScreen();
    } else {
        detail::probeCounter();
    }
    setcolor(LightGrey, Black);
    // Made after the loading screen, so the loading screen is never in them.
    if ((flags & ConPages) != 0) vpinit();
    if (loadingScreen) getkey();
    clrscr(Black);
}

void conexit(short width, short height) {
    if (vpon()) vpfree();
    keyflush();
    setcolor(LightGrey, Black);
    clrscr(Black);
    if (const int saved = detail::state().savedCodePage; saved != 0) setcp(saved);
    consize(width, height);
    platform::backend().restoreConsole();
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
