#include "library_state.h"

namespace orvask::detail {

LibraryState& state() {
    static LibraryState* const instance = new LibraryState;
    return *instance;
}

void resetState() {
    state() = LibraryState{};
    resetPublicNames();
}

}  // namespace orvask::detail
