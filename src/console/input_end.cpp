#include "orvask/keyboard.h"
#include "orvask/platform/backend.h"

namespace orvask {

bool inputended() {
    return platform::backend().inputEnded();
}

}  // namespace orvask
