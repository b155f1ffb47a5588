// Uses Orvask as a program outside the project does, on the in-memory
// console: prints at a position and reads the cell back. 0 when the library
// works. Built against the installed package, in a host's build and in the
// build tree.

#include <cstdio>
#include <cstring>

#include "orvask/orvask.h"
#include "orvask/platform/memory_console.h"

// Only the public headers may be on a user's include path.
#if __has_include("library_state.h") || __has_include("terminal/renderer.h") || \
                                                      __has_include("system_backend.h")
#error "the library's private headers are on the include path"
#endif

#ifndef ORVASK_EXPECTED_VERSION
#error "build with -DORVASK_EXPECTED_VERSION=\"major.minor\""
#endif

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "orvask_consumer: %s\n", what);
    return 1;
}

}  // namespace

int orvaskConsumerCheck() {
    orvask::platform::MemoryConsoleScope console({40, 10});
    orvask::consize(40, 10);
    if (!orvask::Pxy(3, 2, "ok", orvask::Yellow, orvask::DarkBlue)) return fail("Pxy refused");
    if (console->text(3, 2, 2) != "ok") return fail("wrong glyphs");
    if (console->attributeAt(3, 2) != 0x1E) return fail("wrong colours");

    char part[8] = "";
    orvask::strsub(part, "console", 3, 5);
    if (std::strcmp(part, "sol") != 0) return fail("strsub");
    return std::strcmp(orvask::kVersion, ORVASK_EXPECTED_VERSION) == 0 ? 0 : fail("version");
}
