#pragma once
// Library-internal: the loading screen coninit() shows before its first key.

namespace orvask::detail {

// Draws the loading screen straight on the console (the pages do not exist
// yet) and probes the high-resolution counter, which sets ticksPerMs.
void drawLoadingScreen();

}  // namespace orvask::detail
