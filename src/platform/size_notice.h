#pragma once
// The notice both real backends show in place of the program's screen while
// the terminal or console window is smaller than that screen.

#include <array>
#include <string>

#include "orvask/platform/backend.h"

namespace orvask::platform {

// Its lines, to be shown centred: `needed` is the program's screen size,
// `actual` the size it has.
std::array<std::string, 3> sizeNotice(Coord needed, Coord actual);

}  // namespace orvask::platform
