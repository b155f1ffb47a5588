// Uses the installed Orvask on the in-memory console: prints at a position
// and reads the cell back. Exits 0 when the library works as installed.

#include <cstdio>
#include <cstring>

#include "orvask/orvask.h"
#include "orvask/platform/memory_console.h"

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "orvask_consumer: %s\n", what);
    return 1;
}

}  // namespace

int main() {
    orvask::platform::MemoryConsoleScope console({40, 10});
    orvask::consize(40, 10);
    if (!orvask::Pxy(3, 2, "ok", orvask::Yellow, orvask::DarkBlue)) return fail("Pxy refused");
    if (console->text(3, 2, 2) != "ok") return fail("wrong glyphs");
    if (console->attributeAt(3, 2) != 0x1E) return fail("wrong colours");

    char part[8] = "";
    orvask::strsub(part, "console", 3, 5);
    if (std::strcmp(part, "sol") != 0) return fail("strsub");
    return std::strcmp(orvask::kVersion, "1.2") == 0 ? 0 : fail("version");
}
