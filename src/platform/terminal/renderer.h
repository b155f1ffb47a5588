#pragma once
// Brings a terminal up to date with a console model by difference.
//
// The renderer remembers what the terminal shows (cells, colours, cursor,
// title, cursor style) and writes only the escape sequences and UTF-8 text
// that turn that into the model, so a sync that changes nothing writes
// nothing. Every change takes its shortest form: no colour sequence while
// the pen already matches, and only the half of it that changed; no cursor
// move where the cursor already is, and of the moves the shortest (a jump,
// a relative step, a carriage return or line feed, or rewriting the few
// unchanged cells in between when that is shorter). The model is drawn at the terminal's top-left
// corner; when the terminal is smaller than the model, a centred notice asks for the size needed
// instead, and the drawing comes back in full once it fits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "glyphs/screen_cell.h"
#include "orvask/platform/console_model.h"

namespace orvask::platform::terminal {

using glyphs::ScreenCell;

class Renderer {
  public:
    // Appends to `out` what makes the terminal show `model`. `terminal` is
    // the terminal's size in cells; {0, 0} when unknown (output that is no
    // terminal), which never counts as too small.
    void render(const ConsoleModel& model, Coord terminal, std::string& out);

    // Forgets what the terminal shows: the next render repaints everything.
    // For a terminal that was left and taken over again, or resized.
    void invalidate();

  private:
    enum class Visibility : std::uint8_t { Unknown, Hidden, Shown };

    void renderNotice(const ConsoleModel& model, Coord terminal, std::string& out);
    void repaintAll(const ConsoleModel& model, std::string& out);
    void renderRow(int y, std::vector<ScreenCell>& want, Coord terminal, std::string& out);
    void renderCursor(const ConsoleModel& model, std::string& out);
    void renderTitle(const ConsoleModel& model, std::string& out);
    // Moves the terminal's cursor to (x, y); `row` is what the terminal shows
    // on row y (its cells may be rewritten to get there), or null.
    void moveTo(int x, int y, std::string& out, const ScreenCell* row = nullptr);
    // The bytes that rewrite row[from..to) as shown, or nothing when they
    // cannot be rewritten in the pen as it is.
    std::optional<std::string> rewrite(const ScreenCell* row, int from, int to) const;
    void setVisibility(Visibility visibility, std::string& out);
    void useAttribute(std::uint8_t attribute, std::string& out);

    // What the terminal shows; meaningful only while valid_.
    std::vector<ScreenCell> shown_;
    Coord shownSize_{0, 0};
    int shownCodePage_ = 0;
    bool valid_ = false;
    bool noticeShown_ = false;
    Coord noticeTerminal_{0, 0};
    Coord noticeModel_{0, 0};
    int cursorX_ = -1;  // where the terminal's cursor is; -1 when unknown
    int cursorY_ = -1;
    int attribute_ = -1;  // the terminal's colours as a console attribute; -1 unknown
    Visibility visibility_ = Visibility::Unknown;
    int cursorSize_ = kDefaultCursorSize;
    std::optional<std::string> title_;  // as sent; nothing while unknown
    std::vector<ScreenCell> want_;
    std::vector<bool> dirty_;

    // The console's default cursor size, shown as the terminal's own style.
    static constexpr int kDefaultCursorSize = 25;
};

// The title as the terminal's title sequence may carry it: control bytes
// dropped, the rest as UTF-8 glyphs of the code page, at most 255 bytes.
std::string sanitizeTitle(std::string_view title, int codePage);

// The SGR sequence that selects a console attribute's colours (console bit
// order: 1 blue, 2 green, 4 red, 8 bright; ANSI's is red, green, blue).
std::string colourSequence(std::uint8_t attribute);

}  // namespace orvask::platform::terminal
