#pragma once
// The byte sequences terminals send for keys without a character, as data:
// one row per key and form, labelled by the terminal family that sends it.
//
// Only the base forms are listed; the decoder adds the modifiers that
// terminals encode in parameters (xterm's "CSI 1;5A", "CSI 3;2~", "SS3 2P")
// and rxvt's suffixes ("CSI 3$" Shift, "CSI 3^" Ctrl, "CSI 3@" Ctrl+Shift).

#include <span>
#include <string_view>

#include "key_table.h"

namespace orvask::platform::keys {

enum class Terminal : unsigned char {
    Any,    // sent alike by the xterm family, screen, tmux, rxvt and linux
    Linux,  // the Linux virtual console
    Rxvt,   // rxvt and rxvt-unicode
};

// The terminal family named by a TERM value.
Terminal terminalFamily(std::string_view term);

struct KeySequence {
    Terminal terminal;
    std::string_view bytes;
    Key key;
    unsigned modifiers;
};

// Every row, in table order.
std::span<const KeySequence> keySequences();

// Suffixes rxvt puts in place of '~' to give the modifiers of a key.
struct ModifierSuffix {
    char suffix;
    unsigned modifiers;
};
std::span<const ModifierSuffix> rxvtModifierSuffixes();

}  // namespace orvask::platform::keys
