#pragma once
// Orvask 1.2, the console library: include this for everything.

#include "orvask/frames.h"
#include "orvask/inputbox.h"
#include "orvask/keyboard.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/setup.h"
#include "orvask/timers.h"

namespace orvask {
inline constexpr const char* kVersion = "1.2";
}
