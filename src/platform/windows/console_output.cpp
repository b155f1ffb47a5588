#include "console_output.h"

namespace orvask::platform::windows {

namespace {

bool actedOn(unsigned char byte) {
    return byte == '\a' || byte == '\b' || byte == '\t' || byte == '\r';
}

void writeRun(HANDLE output, const char* bytes, std::size_t count) {
    while (count > 0) {
        // Whole runs, in pieces a DWORD can count.
        const DWORD piece = count > 0x10000 ? 0x10000 : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteConsoleA(output, bytes, piece, &written, nullptr) || written == 0) return;
        bytes += written;
        count -= written;
    }
}

void writeGlyph(HANDLE output, char glyph) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(output, &info)) return;
    const COORD at = info.dwCursorPosition;
    DWORD done = 0;
    WriteConsoleOutputCharacterA(output, &glyph, 1, at, &done);
    FillConsoleOutputAttribute(output, info.wAttributes, 1, at, &done);
    if (at.X + 1 < info.dwSize.X) {
        SetConsoleCursorPosition(output, COORD{static_cast<SHORT>(at.X + 1), at.Y});
    } else {
        writeRun(output, "\n", 1);  // wraps to the next row, scrolling at the bottom
    }
}

}  // namespace

void writeToConsole(HANDLE output, const char* bytes, std::size_t count) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!actedOn(static_cast<unsigned char>(bytes[i]))) continue;
        writeRun(output, bytes + start, i - start);
        writeGlyph(output, bytes[i]);
        start = i + 1;
    }
    writeRun(output, bytes + start, count - start);
}

}  // namespace orvask::platform::windows
