#pragma once
// Starting the probe program (probe.cpp) under the harness.

#include <string>

#include "term_harness/terminal.h"

namespace terminal_test {

// The probe in `mode` on an 80x25 xterm-256color.
inline term_harness::Options probeOptions(const std::string& mode) {
    return term_harness::Options{.argv = {TERMINAL_PROBE_PATH, mode}};
}

// The probe in `mode` started from a shell that first set the title to
// kUserTitle and printed kUserPrompt, as the user's terminal would look
// before the program runs.
inline constexpr const char* kUserTitle = "user title";
inline constexpr const char* kUserPrompt = "user@host:~$";
inline term_harness::Options probeFromShell(const std::string& mode) {
    return term_harness::Options{.argv = {"/bin/sh", "-c",
                                          std::string("printf '\\033]2;") + kUserTitle + "\\007" +
                                              kUserPrompt + " '; exec \"$0\" \"$1\"",
                                          TERMINAL_PROBE_PATH, mode}};
}

// Console colour (bit 0 blue, bit 1 green, bit 2 red, bit 3 bright) to the
// ANSI palette index (bit 0 red, bit 1 green, bit 2 blue, bit 3 bright).
constexpr int ansiColour(int console) {
    return ((console & 1) << 2) | (console & 2) | ((console & 4) >> 2) | (console & 8);
}

}  // namespace terminal_test
