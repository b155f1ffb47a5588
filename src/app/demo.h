#pragma once

namespace avl {

// The whole demonstration on the console in use: brings up the memory pool
// and the console (with its loading screen), runs the key loop until Esc or
// the end of input, restores the console, releases the pool and returns the
// exit status, 0.
int runDemo();

}  // namespace avl
