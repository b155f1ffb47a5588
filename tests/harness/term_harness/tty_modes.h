#pragma once
// Comparing terminal modes (termios) taken before and after a program ran.

#include <termios.h>

#include <string>

namespace term_harness {

// Lists what differs between two sets of modes in the fields a program
// changes when it takes the terminal over (input, output, control and local
// flags, the control characters that canonical input and signals use).
// Empty when they agree.
std::string describeModeDifference(const termios& before, const termios& after);

// Whether input is cooked: canonical, echoed, with signal keys.
bool isCooked(const termios& modes);
// Whether input is raw in the sense a full-screen program needs: no
// canonical input, no echo, no signal keys.
bool isRaw(const termios& modes);

}  // namespace term_harness
