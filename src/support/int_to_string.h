#pragma once

#include <string>

namespace avl {

// Signed decimal text of `value` ("%d": a minus sign for negatives, no
// grouping), as numbers appear in log lines. Reentrant.
std::string IntToString(int value);

}  // namespace avl
