// Placeholder until the terminal backend lands: the in-memory console with
// the message box sent to standard error.
#include <cstdio>

#include "orvask/platform/memory_console.h"
#include "system_backend.h"

namespace orvask::platform {

namespace {
class StderrConsole : public MemoryConsole {
public:
    void messageBox(const char* caption, const char* text) override {
        std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    }
};
}  // namespace

Backend& systemBackend() {
    static StderrConsole console;
    return console;
}

}  // namespace orvask::platform
