#pragma once

#include <string>

#include "orvask/platform/backend.h"

namespace avl {

// How the demonstration starts; the defaults are the plain program.
struct DemoOptions {
    // Keys typed before the user takes over (the keyboard's bindings; '\n'
    // and '\r' are Enter), without the rotation animations, so the first
    // screen shows the finished tree. Keys without a binding, and Esc, are
    // the caller's to refuse (see commandFor).
    std::string keys;
    // The pause before rotations is on from the start.
    bool paused = false;
    // Every animation step lasts this many times as long.
    unsigned slowdown = 1;
    // Teaching from the start: each rotation shown as a lesson, and the rows
    // that explain the last step and show the history (F2 toggles it).
    bool teaching = false;
    // No text in dark grey: light grey instead, for a projector.
    bool contrast = false;
    // Receives everything the terminal is sent, for the session's recording.
    orvask::platform::OutputTap* recording = nullptr;
};

// The whole demonstration on the console in use: brings up the memory pool
// and the console (with its loading screen), runs the key loop until Esc or
// the end of input, restores the console, releases the pool and returns the
// exit status, 0.
int runDemo(const DemoOptions& options = {});

}  // namespace avl
