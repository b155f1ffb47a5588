#pragma once
// The notice both real backends show in place of the program's screen while
// the terminal or console window is smaller than that screen.

#include <string>
#include <vector>

#include "orvask/platform/backend.h"

namespace orvask::platform {

// One line of the notice and where it goes.
struct NoticeLine {
    int x;
    int y;
    std::string text;
};

// Its lines, each cut to the width it has and centred in it, the block of
// them centred vertically; rows that do not fit are left out. `needed` is the
// program's screen size, `actual` the size it has; positions count from the
// top-left corner of what is shown.
std::vector<NoticeLine> sizeNotice(Coord needed, Coord actual);

}  // namespace orvask::platform
