#include "key_sequences.h"

#include <array>

namespace orvask::platform::keys {

namespace {

using enum Key;
using T = Terminal;

constexpr std::array kRows = std::to_array<KeySequence>({
    // Cursor keys: normal mode (CSI) and application mode (SS3).
    {T::Any, "\x1b[A", Up, 0},
    {T::Any, "\x1b[B", Down, 0},
    {T::Any, "\x1b[C", Right, 0},
    {T::Any, "\x1b[D", Left, 0},
    {T::Any, "\x1b[H", Home, 0},
    {T::Any, "\x1b[F", End, 0},
    {T::Any, "\x1bOA", Up, 0},
    {T::Any, "\x1bOB", Down, 0},
    {T::Any, "\x1bOC", Right, 0},
    {T::Any, "\x1bOD", Left, 0},
    {T::Any, "\x1bOH", Home, 0},
    {T::Any, "\x1bOF", End, 0},
    // The editing keypad, VT220 style.
    {T::Any, "\x1b[1~", Home, 0},  // screen, tmux, linux
    {T::Any, "\x1b[2~", Insert, 0},
    {T::Any, "\x1b[3~", Delete, 0},
    {T::Any, "\x1b[4~", End, 0},  // screen, tmux, linux
    {T::Any, "\x1b[5~", PageUp, 0},
    {T::Any, "\x1b[6~", PageDown, 0},
    {T::Any, "\x1b[7~", Home, 0},  // rxvt
    {T::Any, "\x1b[8~", End, 0},   // rxvt
    // Function keys.
    {T::Any, "\x1bOP", F1, 0},
    {T::Any, "\x1bOQ", F2, 0},
    {T::Any, "\x1bOR", F3, 0},
    {T::Any, "\x1bOS", F4, 0},
    {T::Any, "\x1b[P", F1, 0},  // base of xterm's "CSI 1;2P"
    {T::Any, "\x1b[Q", F2, 0},
    {T::Any, "\x1b[R", F3, 0},
    {T::Any, "\x1b[S", F4, 0},
    {T::Any, "\x1b[11~", F1, 0},  // rxvt, old xterm
    {T::Any, "\x1b[12~", F2, 0},
    {T::Any, "\x1b[13~", F3, 0},
    {T::Any, "\x1b[14~", F4, 0},
    {T::Any, "\x1b[15~", F5, 0},
    {T::Any, "\x1b[17~", F6, 0},
    {T::Any, "\x1b[18~", F7, 0},
    {T::Any, "\x1b[19~", F8, 0},
    {T::Any, "\x1b[20~", F9, 0},
    {T::Any, "\x1b[21~", F10, 0},
    {T::Any, "\x1b[23~", F11, 0},  // also Shift+F1 under rxvt and linux
    {T::Any, "\x1b[24~", F12, 0},  // also Shift+F2 under rxvt and linux
    {T::Any, "\x1b[Z", BackTab, 0},
    {T::Any, "\x1bOM", KeypadEnter, 0},
    // rxvt and the Linux console shift F1 to F10 onto F11 to F20: Shift+F1
    // and Shift+F2 are F11 and F12 there, Shift+F3 to F10 these.
    {T::Any, "\x1b[25~", F3, mod::Shift},
    {T::Any, "\x1b[26~", F4, mod::Shift},
    {T::Any, "\x1b[28~", F5, mod::Shift},
    {T::Any, "\x1b[29~", F6, mod::Shift},
    {T::Any, "\x1b[31~", F7, mod::Shift},
    {T::Any, "\x1b[32~", F8, mod::Shift},
    {T::Any, "\x1b[33~", F9, mod::Shift},
    {T::Any, "\x1b[34~", F10, mod::Shift},
    // The Linux console: F1 to F5, Shift+Tab.
    {T::Linux, "\x1b[[A", F1, 0},
    {T::Linux, "\x1b[[B", F2, 0},
    {T::Linux, "\x1b[[C", F3, 0},
    {T::Linux, "\x1b[[D", F4, 0},
    {T::Linux, "\x1b[[E", F5, 0},
    {T::Linux, "\x1b\t", BackTab, 0},
    // rxvt: modified cursor keys.
    {T::Rxvt, "\x1b[a", Up, mod::Shift},
    {T::Rxvt, "\x1b[b", Down, mod::Shift},
    {T::Rxvt, "\x1b[c", Right, mod::Shift},
    {T::Rxvt, "\x1b[d", Left, mod::Shift},
    {T::Rxvt, "\x1bOa", Up, mod::Ctrl},
    {T::Rxvt, "\x1bOb", Down, mod::Ctrl},
    {T::Rxvt, "\x1bOc", Right, mod::Ctrl},
    {T::Rxvt, "\x1bOd", Left, mod::Ctrl},
});

constexpr std::array kRxvtSuffixes = std::to_array<ModifierSuffix>({
    {'$', mod::Shift},
    {'^', mod::Ctrl},
    {'@', mod::Ctrl | mod::Shift},
});

}  // namespace

Terminal terminalFamily(std::string_view term) {
    if (term == "linux" || term.starts_with("linux-")) return Terminal::Linux;
    if (term.starts_with("rxvt")) return Terminal::Rxvt;
    return Terminal::Any;
}

std::span<const KeySequence> keySequences() {
    return kRows;
}

std::span<const ModifierSuffix> rxvtModifierSuffixes() {
    return kRxvtSuffixes;
}

}  // namespace orvask::platform::keys
