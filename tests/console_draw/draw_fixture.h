#pragma once
// A fresh in-memory console of a chosen size for every test, with the
// library's screen size, colours and pages reset to match.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "library_state.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/memory_console.h"

namespace orvask::test {

inline std::uint8_t attr(unsigned char fg, unsigned char bg) {
    return static_cast<std::uint8_t>((bg << 4) | fg);
}

class DrawTest : public ::testing::Test {
  protected:
    explicit DrawTest(platform::Coord size = {80, 25}) : console_(size) {
        detail::resetState();
        detail::recordScreenSize(size.x, size.y);
        console_->setCursorPosition({0, 0});
        console_->takeOutput();
    }
    ~DrawTest() override { detail::resetState(); }

    platform::MemoryConsole& con() { return *console_; }
    std::uint8_t glyph(int x, int y) { return console_->glyph(x, y); }
    std::uint8_t attrAt(int x, int y) { return console_->attributeAt(x, y); }
    std::string text(int x, int y, int length) { return console_->text(x, y, length); }
    platform::Coord cursorPos() { return console_->cursorPosition(); }

    // Fills the console with a marker so that untouched cells are visible.
    void paintConsole(char marker) {
        for (int y = 0; y < con().model().height(); ++y) {
            for (int x = 0; x < con().model().width(); ++x) {
                con().model().cell(x, y) = {static_cast<std::uint8_t>(marker), 0x07};
            }
        }
    }

    platform::MemoryConsoleScope console_;
};

// A small screen keeps whole-screen checks short.
class SmallScreenTest : public DrawTest {
  protected:
    SmallScreenTest() : DrawTest({12, 6}) {}
};

}  // namespace orvask::test
