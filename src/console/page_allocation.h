#pragma once
// Library-internal: lets tests make page allocation fail.

namespace orvask::detail {

// Allows `count` more page blocks (a column array or a column) to be
// allocated before allocation reports failure; a negative count lifts the
// limit.
void limitPageAllocations(long count);

}  // namespace orvask::detail
