// The screen size, the cursor and the small print operations. Every print
// hands its bytes to the backend before it returns, so cursor moves and
// colour changes made between calls apply to exactly the text after them.
// Printing at a position or at the cursor stops before the byte that would
// land on the bottom-right cell or scroll the screen.

#include "orvask/output.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "library_state.h"
#include "orvask/pages.h"
#include "orvask/platform/backend.h"

namespace orvask {

namespace {

// How many of `count` bytes written at the cursor the console takes before
// one would land on the bottom-right cell or scroll the screen (a newline on
// the last row). Before the screen is sized nothing is held back.
std::size_t bytesBeforeBottomRight(const char* bytes, std::size_t count) {
    const int screenWidth = scrw();
    const int screenHeight = scrh();
    if (screenWidth <= 0 || screenHeight <= 0) return count;
    const platform::Coord at = platform::backend().cursorPosition();
    int x = at.x;
    int y = at.y;
    for (std::size_t i = 0; i < count; ++i) {
        const bool lastRow = y >= screenHeight - 1;
        if (bytes[i] == '\n') {
            if (lastRow) return i;
            x = 0;
            ++y;
            continue;
        }
        if (lastRow && x >= screenWidth - 1) return i;
        if (++x >= screenWidth) {
            x = 0;
            ++y;
        }
    }
    return count;
}

void writeBytes(const char* bytes, std::size_t count) {
    count = bytesBeforeBottomRight(bytes, count);
    if (count > 0) platform::backend().write(bytes, count);
}

void writeByte(unsigned char ch) {
    const char byte = static_cast<char>(ch);
    writeBytes(&byte, 1);
}

// Newlines go to the console as they are: moving down, and scrolling on
// the last row, is what they are for.
void writeNewline() {
    platform::backend().write("\n", 1);
}

void writeText(const char* text) {
    if (text != nullptr) writeBytes(text, std::strlen(text));
}

void writeInt(int value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%d", value);
    if (length > 0) writeBytes(buffer, static_cast<std::size_t>(length));
}

void writeDouble(double value) {
    // The largest finite double needs 309 digits before the point.
    char buffer[330];
    const int length = std::snprintf(buffer, sizeof buffer, "%1.2f", value);
    if (length > 0) {
        writeBytes(buffer, std::min(static_cast<std::size_t>(length), sizeof buffer - 1));
    }
}

// The common shape of every Pxy overload: refuse the position, or colour,
// print and report success.
template <typename Print>
bool printAt(short x, short y, unsigned char fg, unsigned char bg, Print print) {
    if (!gotoxy(x, y)) return false;
    setcolor(fg, bg);
    print();
    return true;
}

}  // namespace

namespace detail {

void recordScreenSize(short width, short height) {
    state().screenWidth = width;
    state().screenHeight = height;
}

}  // namespace detail

int scrw() {
    return detail::state().screenWidth;
}
int scrh() {
    return detail::state().screenHeight;
}

bool inscr(short x, short y) {
    const int screenWidth = scrw();
    const int screenHeight = scrh();
    if (x < 0 || y < 0 || x >= screenWidth || y >= screenHeight) return false;
    return !(x == screenWidth - 1 && y == screenHeight - 1);
}

bool gotoxy(short x, short y) {
    if (!inscr(x, y)) return false;
    platform::backend().setCursorPosition({x, y});
    return true;
}

int wherex() {
    return platform::backend().cursorPosition().x;
}
int wherey() {
    return platform::backend().cursorPosition().y;
}

void cursor(int mode) {
    switch (mode) {
        case 0:
            platform::backend().setCursorInfo(1, false);
            break;
        case 1:
            platform::backend().setCursorInfo(100, true);
            break;
        case 2:
            platform::backend().setCursorInfo(20, true);
            break;
        default:
            break;
    }
}

bool Pxy(short x, short y, const char* text, unsigned char fg, unsigned char bg) {
    return printAt(x, y, fg, bg, [&] { writeText(text); });
}

bool Pxy(short x, short y, unsigned char ch, unsigned char fg, unsigned char bg) {
    return printAt(x, y, fg, bg, [&] { writeByte(ch); });
}

bool Pxy(short x, short y, char ch, unsigned char fg, unsigned char bg) {
    return Pxy(x, y, static_cast<unsigned char>(ch), fg, bg);
}

bool Pxy(short x, short y, int value, unsigned char fg, unsigned char bg) {
    return printAt(x, y, fg, bg, [&] { writeInt(value); });
}

bool Pxy(short x, short y, double value, unsigned char fg, unsigned char bg) {
    return printAt(x, y, fg, bg, [&] { writeDouble(value); });
}

bool Pxy(short x, short y, Cell cell) {
    return Pxy(x, y, cell.glyph, cell.fg, cell.bg);
}

void Pcur(const char* text, unsigned char fg, unsigned char bg) {
    setcolor(fg, bg);
    writeText(text);
}

void Pcur(unsigned char ch, unsigned char fg, unsigned char bg) {
    setcolor(fg, bg);
    writeByte(ch);
}

void Pcur(char ch, unsigned char fg, unsigned char bg) {
    Pcur(static_cast<unsigned char>(ch), fg, bg);
}

void Pcur(int value, unsigned char fg, unsigned char bg) {
    setcolor(fg, bg);
    writeInt(value);
}

void Pcur(double value, unsigned char fg, unsigned char bg) {
    setcolor(fg, bg);
    writeDouble(value);
}

void Pcur(Cell cell) {
    Pcur(cell.glyph, cell.fg, cell.bg);
}

void Pnl(int count) {
    for (int i = 0; i < count; ++i)
        writeNewline();
}

void Pfill(short endx, unsigned char ch) {
    const int screenWidth = scrw();
    const int screenHeight = scrh();
    int last = std::min<int>(endx, screenWidth - 1);
    const int row = wherey();
    // Never into the bottom-right cell, so the fill cannot scroll the screen.
    if (row == screenHeight - 1) last = std::min(last, screenWidth - 2);
    const bool paging = vpon();
    for (int x = wherex(); x <= last; ++x) {
        if (paging) {
            Pxyp(static_cast<short>(x), static_cast<short>(row), ch, KeepFg, KeepBg);
        } else {
            writeByte(ch);
        }
    }
}

}  // namespace orvask
