// Takes the console over through the library, shows a frame, then ends as
// its argument says: abort, terminate (an uncaught exception), overflow (of
// the stack) or fault (an access violation, status 9). Status 7 if it did
// not. With busy, it prints "Working..." and then works for a while without
// calling the library (no sync point), and ends with status 0; with return,
// it returns at once, with status 0, without a sync point.
#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "orvask/keyboard.h"
#include "orvask/output.h"
#include "orvask/setup.h"

namespace {

constexpr int kDidNotCrash = 7;
constexpr DWORD kBusyMs = 5000;
constexpr UINT kCrashed = 9;

LONG WINAPI endQuietly(EXCEPTION_POINTERS*) {
    ExitProcess(kCrashed);
}

int deeper(int n, int limit) {
    volatile char pad[512];
    pad[0] = static_cast<char>(n);
    return n < limit ? deeper(n + 1, limit) + pad[0] : 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The program's own crash filter, which the library's must pass the crash
    // on to. It ends the program quietly: the system's crash report (Wine's
    // debugger) would print on the console once it is given back.
    SetUnhandledExceptionFilter(endQuietly);
    orvask::title("About to crash");
    orvask::setcp(437);
    orvask::consize(80, 25);
    orvask::cursor(1);
    orvask::Pxy(0, 0, "About to crash", 15, 4);
    const std::string how = argc > 1 ? argv[1] : "";
    if (how == "return") return 0;
    if (how == "busy") {
        orvask::Pxy(0, 1, "Working...", 7, 0);
        Sleep(kBusyMs);  // a long computation, for the library
        return 0;
    }
    orvask::keywaiting();  // a sync point: the frame shows
    if (how == "abort") std::abort();
    if (how == "terminate") throw std::runtime_error("nobody catches this");
    if (how == "overflow") deeper(0, std::atoi("2000000000"));
    if (how == "fault") *static_cast<volatile int*>(nullptr) = 1;
    return kDidNotCrash;
}
