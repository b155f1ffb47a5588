#pragma once
// Installs a console (a MemoryConsole or a subclass of it) as the library's
// backend for the lifetime of the object.

#include "orvask/platform/backend.h"
#include "orvask/platform/memory_console.h"

namespace orvask::testing {

template <typename Console = platform::MemoryConsole>
class InstalledConsole {
  public:
    Console& operator*() { return console_; }
    Console* operator->() { return &console_; }

  private:
    Console console_;
    platform::BackendScope installed_{console_};
};

}  // namespace orvask::testing
