#pragma once
// Library-internal: what the console shows of the working page.

#include "orvask/pages.h"

namespace orvask::detail {

// The working page's cell at (x, y) as the console shows it (keep-colour
// values resolved to the colours it was drawn in), when that cell is
// unchanged since Page() last drew it; null when it was never drawn, has
// changed since, or lies off the pages.
const Cell* shownUnchanged(short x, short y);

}  // namespace orvask::detail
