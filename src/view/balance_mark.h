#pragma once
// How a key's balance shows in a wide slot (" k "): an arrow on the blank
// beside the key, pointing at the taller subtree. The tree view and the
// lessons both draw it from here.

#include "orvask/output.h"

namespace avl {

struct BalanceMark {
    unsigned char glyph;    // code page 437
    orvask::Colour colour;  // for a lean of 1
    int column;             // within the slot's three columns
};

inline constexpr BalanceMark kLeftHeavyMark = {174, orvask::Blue, 0};  // «, left of the key
inline constexpr BalanceMark kRightHeavyMark = {175, orvask::Red, 2};  // », right of the key

// The mark of a key with this balance (positive: left-heavy); null when it
// is balanced.
constexpr const BalanceMark* balanceMark(int balance) {
    if (balance > 0) return &kLeftHeavyMark;
    if (balance < 0) return &kRightHeavyMark;
    return nullptr;
}

}  // namespace avl
