#pragma once
// Installs a console (a MemoryConsole or a subclass of it) as the library's
// backend for the lifetime of the object.

#include "orvask/platform/backend.h"
#include "orvask/platform/memory_console.h"

namespace orvask::testing {

template <typename Console = platform::MemoryConsole>
class InstalledConsole {
  public:
    InstalledConsole() { previous_ = platform::installBackend(&console_); }
    ~InstalledConsole() { platform::installBackend(previous_); }
    InstalledConsole(const InstalledConsole&) = delete;
    InstalledConsole& operator=(const InstalledConsole&) = delete;

    Console& operator*() { return console_; }
    Console* operator->() { return &console_; }

  private:
    Console console_;
    platform::Backend* previous_ = nullptr;
};

}  // namespace orvask::testing
