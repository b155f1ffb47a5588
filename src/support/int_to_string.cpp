#include "support/int_to_string.h"

#include <cstdio>

namespace avl {

std::string IntToString(int value) {
    char buffer[16];  // "-2147483648" and the terminator fit
    const int length = std::snprintf(buffer, sizeof buffer, "%d", value);
    return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace avl
