#pragma once
// An in-memory console that lets a test look at the screen at the moments the
// program waits: before every sleep and before every key read.

#include <functional>

#include "expected_grid.h"
#include "orvask/platform/memory_console.h"

namespace avl::testing {

class HookedConsole : public orvask::platform::MemoryConsole {
  public:
    std::function<void(std::uint32_t milliseconds)> beforeSleep;
    std::function<void()> beforeReadKey;

    void sleep(std::uint32_t milliseconds) override {
        if (beforeSleep) beforeSleep(milliseconds);
        MemoryConsole::sleep(milliseconds);
    }
    int readKey() override {
        if (beforeReadKey) beforeReadKey();
        return MemoryConsole::readKey();
    }

    // A screen cell as the grid comparison reads it.
    GridCell gridCell(int x, int y) const { return {glyph(x, y), attributeAt(x, y) & 0x0F}; }
    std::string differencesFrom(const ExpectedGrid& grid) const {
        return grid.differences([this](int x, int y) { return gridCell(x, y); });
    }
};

}  // namespace avl::testing
