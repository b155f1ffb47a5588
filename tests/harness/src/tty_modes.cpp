#include "term_harness/tty_modes.h"

#include <cstdio>

namespace term_harness {

namespace {

void compareFlags(std::string& out, const char* name, tcflag_t before, tcflag_t after) {
    if (before == after) return;
    char line[96];
    std::snprintf(line, sizeof line, "%s: %#o -> %#o (changed bits %#o)\n", name,
                  static_cast<unsigned>(before), static_cast<unsigned>(after),
                  static_cast<unsigned>(before ^ after));
    out += line;
}

}  // namespace

std::string describeModeDifference(const termios& before, const termios& after) {
    std::string out;
    compareFlags(out, "c_iflag", before.c_iflag, after.c_iflag);
    compareFlags(out, "c_oflag", before.c_oflag, after.c_oflag);
    compareFlags(out, "c_cflag", before.c_cflag, after.c_cflag);
    compareFlags(out, "c_lflag", before.c_lflag, after.c_lflag);
    static constexpr struct {
        int index;
        const char* name;
    } kControlChars[] = {{VINTR, "VINTR"},   {VQUIT, "VQUIT"}, {VERASE, "VERASE"}, {VKILL, "VKILL"},
                         {VEOF, "VEOF"},     {VSUSP, "VSUSP"}, {VMIN, "VMIN"},     {VTIME, "VTIME"},
                         {VSTART, "VSTART"}, {VSTOP, "VSTOP"}};
    for (const auto& cc : kControlChars) {
        if (before.c_cc[cc.index] == after.c_cc[cc.index]) continue;
        char line[64];
        std::snprintf(line, sizeof line, "c_cc[%s]: %u -> %u\n", cc.name,
                      static_cast<unsigned>(before.c_cc[cc.index]),
                      static_cast<unsigned>(after.c_cc[cc.index]));
        out += line;
    }
    return out;
}

bool isCooked(const termios& modes) {
    const tcflag_t wanted = ICANON | ECHO | ISIG;
    return (modes.c_lflag & wanted) == wanted;
}

bool isRaw(const termios& modes) {
    return (modes.c_lflag & (ICANON | ECHO | ISIG)) == 0;
}

}  // namespace term_harness
