#pragma once
// Whether a standard handle is a console (and not a file, a pipe or none).

#include <windows.h>

namespace orvask::platform::windows {

inline bool isConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetConsoleMode(handle, &mode) != 0;
}

}  // namespace orvask::platform::windows
