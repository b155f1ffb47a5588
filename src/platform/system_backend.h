#pragma once
// The operating system's own backend; each platform folder defines it once.

#include "orvask/platform/backend.h"

namespace orvask::platform {

// Created on the first call and kept until the process ends.
Backend& systemBackend();

}  // namespace orvask::platform
