#pragma once
// Brings a console screen buffer up to date with a console model by
// difference, in one rectangle.
//
// The painter remembers the cells the buffer shows and hands back only the
// rectangle around those that differ, as the cells one WriteConsoleOutputW
// call writes: a frame that changes nothing writes nothing, one that changes
// a few cells writes the smallest rectangle holding them all. Glyphs are
// those of the model's output code page (glyphs/screen_cell.h), as UTF-16;
// a wide character of code page 949 takes two cells, marked as its leading
// and trailing halves the way the console keeps them.

#include <windows.h>

#include <vector>

#include "glyphs/screen_cell.h"
#include "orvask/platform/console_model.h"

namespace orvask::platform::windows {

class ScreenPainter {
  public:
    // Fills `cells` with the rectangle `region` of `frame` (a buffer of the
    // frame's size, in rows of the rectangle's width) that holds every cell
    // the buffer does not show yet, and takes those cells as shown. False,
    // leaving both alone, when the buffer shows the frame already.
    bool paint(const ConsoleModel& frame, std::vector<CHAR_INFO>& cells, SMALL_RECT& region);

    // Forgets what the buffer shows: the next paint is the whole frame.
    void invalidate() { shownSize_ = {0, 0}; }

  private:
    void convert(const ConsoleModel& frame);

    std::vector<CHAR_INFO> shown_;
    Coord shownSize_{0, 0};  // the size of the frame shown; {0, 0}: none known
    std::vector<CHAR_INFO> want_;
    std::vector<glyphs::ScreenCell> row_;
};

}  // namespace orvask::platform::windows
