#pragma once
// An in-memory console of exactly the library's screen size that fails the
// run when it is handed a byte that would land on the bottom-right cell or
// scroll the screen (a newline on the last row, or a wrap past the last
// cell): the library promises that no output does either. The library's
// state is reset to a fresh process with this screen size, and the console
// is the library's backend for its lifetime.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "library_state.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/backend.h"
#include "orvask/platform/memory_console.h"

namespace orvask::fuzz {

// A screen of 1-60 columns by 1-20 rows, read from the fuzzer's input.
inline platform::Coord ConsumeScreenSize(FuzzedDataProvider& in) {
    const auto width = static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, 60));
    return {width, static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, 20))};
}

// Whether direct output may have written `cell` (a row-major index) after
// a print on row `row`: a number field (at most 11 characters and its
// trailing byte) run past the right edge of that row goes on at the start
// of the next, as the console wraps it. Pages refuse that wrap.
inline bool mayWrapAfterRow(long row, platform::Coord screen, long cell) {
    constexpr long kLongestRun = 12;
    if (row < 0 || row >= screen.y - 1) return false;
    const long start = (row + 1) * screen.x;
    return cell >= start && cell < start + kLongestRun;
}

class GuardedConsole : public platform::MemoryConsole {
  public:
    explicit GuardedConsole(platform::Coord size) : MemoryConsole(size) {
        detail::resetState();
        detail::recordScreenSize(size.x, size.y);
        setCursorPosition({0, 0});
    }
    ~GuardedConsole() override { detail::resetState(); }

    void write(const char* bytes, std::size_t count) override {
        const int w = model().width();
        const int h = model().height();
        for (std::size_t i = 0; i < count; ++i) {
            const platform::Coord at = cursorPosition();
            const bool lastRow = at.y == h - 1;
            if (bytes[i] == '\n') {
                FUZZ_CHECK(!lastRow, "a newline on the last row scrolls the screen");
            } else {
                FUZZ_CHECK(!(lastRow && at.x == w - 1), "a byte lands on the bottom-right cell");
            }
            MemoryConsole::write(bytes + i, 1);
        }
    }

    // Every cell as a freshly made page holds it, so that the screen and the
    // pages agree from the start.
    void blankAsFreshPages() {
        for (int y = 0; y < model().height(); ++y) {
            for (int x = 0; x < model().width(); ++x)
                model().cell(x, y) = {0, 0x07};
        }
    }

    // With pages on, after Page() or a full Repaint: every cell but the
    // bottom-right one shows exactly what the shown page records.
    void checkShownPageMatches() const {
        for (int y = 0; y < model().height(); ++y) {
            for (int x = 0; x < model().width(); ++x) {
                if (x == model().width() - 1 && y == model().height() - 1) continue;
                const Cell* page = shownCell(static_cast<short>(x), static_cast<short>(y));
                FUZZ_CHECK(page != nullptr, "no shown page at %d,%d", x, y);
                const auto attribute = static_cast<std::uint8_t>((page->bg << 4) | page->fg);
                FUZZ_CHECK(cell(x, y).glyph == page->glyph && cell(x, y).attribute == attribute,
                           "the screen shows %02x/%02x at %d,%d, the shown page %02x/%02x",
                           cell(x, y).glyph, cell(x, y).attribute, x, y, page->glyph, attribute);
            }
        }
    }

    // The glyphs of the whole screen, row after row.
    std::string glyphs() const {
        std::string all;
        for (int y = 0; y < model().height(); ++y)
            all += rowText(y);
        return all;
    }

  private:
    platform::BackendScope installed_{*this};
};

}  // namespace orvask::fuzz
