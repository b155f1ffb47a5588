#pragma once
// Whether a standard handle is a console (and not a file, a pipe or none),
// and whether that console is Wine's.

#include <windows.h>

namespace orvask::platform::windows {

inline bool isConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetConsoleMode(handle, &mode) != 0;
}

// Wine's console in a terminal differs from Windows' in ways the backend
// makes up for: it reports no key held down, and does not redraw the
// terminal when a buffer comes back in front.
inline bool underWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace orvask::platform::windows
