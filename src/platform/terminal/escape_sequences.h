#pragma once
// Every escape sequence written to a terminal, one per row. The renderer
// (a terminal's frames, and the frames a recording holds on either system)
// and the POSIX terminal session build their output from these and nothing
// else; a sequence with a number puts it between kCsi and the row's final
// byte.

#include <string_view>

namespace orvask::platform::terminal::seq {

// --- Fixed sequences --------------------------------------------------------------

// clang-format off
inline constexpr std::string_view kPushTitle       = "\x1b[22;0t";   // save the window title
inline constexpr std::string_view kPopTitle        = "\x1b[23;0t";   // restore the saved title
inline constexpr std::string_view kAltScreen       = "\x1b[?1049h";  // alternate screen
inline constexpr std::string_view kMainScreen      = "\x1b[?1049l";  // back to the main screen
inline constexpr std::string_view kWrapOff         = "\x1b[?7l";     // the last column never wraps
inline constexpr std::string_view kWrapOn          = "\x1b[?7h";     // automatic wrap, the default
inline constexpr std::string_view kPlainColours    = "\x1b[0m";      // plain default colours
inline constexpr std::string_view kHome            = "\x1b[H";       // cursor to the top left
inline constexpr std::string_view kClearScreen     = "\x1b[2J";      // every cell blank
inline constexpr std::string_view kShowCursor      = "\x1b[?25h";    // cursor visible
inline constexpr std::string_view kHideCursor      = "\x1b[?25l";    // cursor hidden
inline constexpr std::string_view kCursorOwnStyle  = "\x1b[0 q";     // the terminal's own cursor
inline constexpr std::string_view kCursorBlock     = "\x1b[2 q";     // steady block cursor
inline constexpr std::string_view kCursorUnderline = "\x1b[4 q";     // steady underline cursor
inline constexpr std::string_view kTitleStart      = "\x1b]2;";      // window title: text follows
inline constexpr std::string_view kTitleEnd        = "\x07";         // ends the title's text

// --- Sequences with numbers: kCsi, the numbers (';' between), the final -----------

inline constexpr std::string_view kCsi = "\x1b[";
inline constexpr char kCursorUp       = 'A';  // n rows up
inline constexpr char kCursorDown     = 'B';  // n rows down
inline constexpr char kCursorRight    = 'C';  // n columns right
inline constexpr char kCursorLeft     = 'D';  // n columns left
inline constexpr char kCursorColumn   = 'G';  // to column n (from 1)
inline constexpr char kCursorPosition = 'H';  // to row;column (from 1)
inline constexpr char kColours        = 'm';  // SGR: 30-37/90-97 fg, 40-47/100-107 bg
// clang-format on

// --- Taking the terminal over and giving it back ----------------------------------

// One change of the terminal and its undo. The take-over writes the `setUp`
// column top to bottom; the hand-back writes the `restore` column bottom to
// top, so every change is undone in the reverse order of making it. A row
// with an empty set-up undoes what the renderer may change later.
struct PairedSequence {
    std::string_view setUp;
    std::string_view restore;
};

inline constexpr PairedSequence kSession[] = {
    {kPushTitle, kPopTitle},
    {kAltScreen, kMainScreen},
    {kWrapOff, kWrapOn},
    {{}, kCursorOwnStyle},  // the renderer shapes the cursor
    {{}, kShowCursor},      // and hides it
    {kPlainColours, kPlainColours},
    {kHome, {}},  // the alternate screen starts blank; leaving it shows the user's
    {kClearScreen, {}},
};

}  // namespace orvask::platform::terminal::seq
