#pragma once
// A virtual terminal screen (libvterm underneath) that the harness feeds with
// everything the program under test writes. It answers the questions an
// end-to-end test asks: which glyph and colours a cell shows, where the
// cursor is and whether it is visible, the window title, whether the
// alternate screen is active.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct VTerm;  // libvterm

namespace term_harness {

// Colour values of a cell besides a palette index 0..255.
inline constexpr int kDefaultColour = -1;  // the terminal's default (SGR 39 / 49)
inline constexpr int kRgbColour = -2;      // a direct RGB colour

struct Cell {
    // The first code point shown in the cell; 0 for a cell that was erased or
    // never written (a terminal shows it as a blank).
    char32_t ch = 0;
    int width = 1;
    // Palette index 0..15 for the ANSI colours (8..15 the bright ones), up to
    // 255 for the 256-colour palette, or kDefaultColour / kRgbColour.
    int fg = kDefaultColour;
    int bg = kDefaultColour;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool blink = false;
    bool reverse = false;

    // Same colours and attributes (the character is not compared).
    bool sameLook(const Cell& other) const {
        return fg == other.fg && bg == other.bg && bold == other.bold &&
               underline == other.underline && italic == other.italic && blink == other.blink &&
               reverse == other.reverse;
    }
    // The glyph with an empty cell taken as a space.
    char32_t glyph() const { return ch == 0 ? U' ' : ch; }
    // The glyph as UTF-8.
    std::string utf8() const;
};

// UTF-8 encoding of one code point.
std::string toUtf8(char32_t codePoint);

struct Position {
    int col = 0;
    int row = 0;
    friend bool operator==(const Position&, const Position&) = default;
};

class Screen {
  public:
    Screen(int cols, int rows);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Interprets bytes the program wrote, in pieces cut anywhere (a UTF-8
    // character cut in two shows once its rest has come).
    void feed(std::string_view bytes);
    // Where the terminal's own replies go (answers to status and device
    // queries). Without a sink they are dropped.
    void setReplySink(std::function<void(std::string_view)> sink);
    void resize(int cols, int rows);

    int cols() const { return cols_; }
    int rows() const { return rows_; }

    // A cell; positions outside the screen give an empty cell.
    Cell cell(int col, int row) const;
    // One row as UTF-8, every cell included (empty cells as spaces).
    std::string rowText(int row) const;
    // Every row, each followed by a newline.
    std::string text() const;
    // The first position whose row contains `utf8`, or col = row = -1.
    Position find(std::string_view utf8) const;
    bool contains(std::string_view utf8) const { return find(utf8).row >= 0; }

    // The attributes the next character would get (ch unused): all default
    // (kDefaultColour, no bold, ...) after an SGR reset.
    Cell pen() const;
    bool penIsDefault() const;

    Position cursor() const;
    bool cursorVisible() const { return cursorVisible_; }
    // libvterm's numbering: 1 block, 2 underline, 3 bar.
    int cursorShape() const { return cursorShape_; }
    bool cursorBlink() const { return cursorBlink_; }
    // The window title (OSC 0 / OSC 2), following xterm's title stack.
    const std::string& title() const { return title_; }
    std::size_t titleStackDepth() const { return titleStack_.size(); }
    bool altScreen() const { return altScreen_; }
    // DECCKM: arrow keys (and Home/End) are sent in their SS3 form.
    bool applicationCursorKeys() const { return applicationCursorKeys_; }
    int bells() const { return bells_; }

  private:
    struct Callbacks;
    void trackPrivateModes(std::string_view bytes);

    struct VTermDeleter {
        void operator()(VTerm* vt) const;
    };
    std::unique_ptr<VTerm, VTermDeleter> vt_;
    std::function<void(std::string_view)> replySink_;
    std::string heldBack_;  // the start of a UTF-8 character whose rest is still to come
    int cols_;
    int rows_;
    bool cursorVisible_ = true;
    int cursorShape_ = 1;
    bool cursorBlink_ = false;
    std::string title_;
    std::vector<std::string> titleStack_;
    bool altScreen_ = false;
    bool applicationCursorKeys_ = false;
    int bells_ = 0;
    // State of the scan for "ESC [ ? n ; ... h/l" across feeds.
    int modeScan_ = 0;
    std::string modeParams_;
};

}  // namespace term_harness
