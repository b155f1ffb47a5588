#include "library_state.h"

#include "orvask/keyboard.h"
#include "orvask/pages.h"

namespace orvask::detail {

void resetState() {
    vpfree();
    limitPageAllocations(-1);
    recordScreenSize(0, 0);
    resetColours();
    resetSetup();
    resetTimers();
    resetRandom();
    lastkey = 0;
}

}  // namespace orvask::detail
