#pragma once
// Orvask, the console library: include this for everything.

#include "orvask/frames.h"
#include "orvask/inputbox.h"
#include "orvask/keyboard.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/setup.h"
#include "orvask/timers.h"
#include "orvask/version.h"
