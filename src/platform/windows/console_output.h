#pragma once
// Writing bytes to a console screen buffer so that every byte but the
// newline shows as a glyph of the output code page.
//
// Runs of ordinary bytes go out whole through WriteConsoleA, which moves the
// cursor, wraps and scrolls. The few bytes a console acts on instead of
// showing them (bell, backspace, tab, carriage return) are placed as glyphs
// at the cursor in the current attribute, and the cursor moves on as it
// would after any other glyph.

#include <windows.h>

#include <cstddef>

namespace orvask::platform::windows {

void writeToConsole(HANDLE output, const char* bytes, std::size_t count);

}  // namespace orvask::platform::windows
