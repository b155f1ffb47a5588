#pragma once
// The state of a Windows console screen buffer, kept in memory: a grid of
// cells (a glyph byte and an attribute each), the cursor, the current
// attribute and the console settings the library changes. The in-memory
// console is this model alone; the terminal backend keeps one and renders it.

#include <cstdint>
#include <string>
#include <vector>

#include "orvask/platform/backend.h"

namespace orvask::platform {

struct CellData {
    std::uint8_t glyph = ' ';
    std::uint8_t attribute = 0x07;
    friend bool operator==(const CellData&, const CellData&) = default;
};

class ORVASK_PLATFORM_API ConsoleModel {
  public:
    explicit ConsoleModel(Coord size = {80, 25});

    Coord size() const { return size_; }
    int width() const { return size_.x; }
    int height() const { return size_.y; }
    // Changes the buffer size. Cells that stay inside keep their content,
    // new cells are blank in light grey on black, and the cursor is pulled
    // inside. Sizes below 1 by 1 are raised to 1.
    void resize(Coord size);

    Coord cursor() const { return cursor_; }
    // Ignored when the position lies outside the buffer.
    void setCursor(Coord pos);

    std::uint8_t attribute() const { return attribute_; }
    void setAttribute(std::uint8_t attribute) { attribute_ = attribute; }

    // Console output semantics: see Backend::write.
    void write(const char* bytes, std::size_t count);
    void put(std::uint8_t byte);

    const CellData& cell(int x, int y) const { return cells_[index(x, y)]; }
    CellData& cell(int x, int y) { return cells_[index(x, y)]; }
    // The glyphs of one row as a string of bytes.
    std::string rowText(int y) const;

    // Settings recorded as the console would hold them.
    int cursorSize = 25;
    bool cursorVisible = true;
    Coord windowTopLeft{0, 0};
    Coord windowBottomRight{79, 24};
    bool windowMaximized = false;
    unsigned outputMode = kOutputModeDefault;
    int inputCodePage = 437;
    int outputCodePage = 437;
    std::string title;

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(size_.x) +
               static_cast<std::size_t>(x);
    }
    void newLine();
    void scrollUp();

    Coord size_;
    Coord cursor_{0, 0};
    std::uint8_t attribute_ = 0x07;
    std::vector<CellData> cells_;
};

}  // namespace orvask::platform
