#pragma once
// Library-internal: the loading screen coninit() shows before its first key.

namespace orvask::detail {

// Asks the platform for the high-resolution counter and sets ticksPerMs from
// its frequency (0, the tick count, without one). True when there is one.
bool probeCounter();

// Draws the loading screen straight on the console (the pages do not exist
// yet) and probes the high-resolution counter, which sets ticksPerMs.
void drawLoadingScreen();

}  // namespace orvask::detail
