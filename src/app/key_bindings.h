#pragma once
// What each key does in the demonstration.

#include "orvask/platform/backend.h"
#include "tree/tree_node.h"

namespace avl {

// One whole key press, as the console's key read delivers it.
using KeyPress = orvask::platform::KeyPress;

enum class Action {
    None,         // nothing but the redraw
    Insert,       // insert `key`
    Delete,       // delete `key`
    DeleteAll,    // delete every key
    TogglePause,  // flip the pause before rotations
    Exit,         // end the program
    // The history of the steps that changed the tree:
    StepBack,        // show the tree as it stood one step earlier
    StepForward,     // replay the next step, animated
    FirstStep,       // back to the start
    LastStep,        // on to the latest step
    ToggleTeaching,  // flip the teaching mode
};

struct Command {
    Action action = Action::None;
    Key key = 0;
    friend bool operator==(const Command&, const Command&) = default;
};

// The bindings: '0'..'9' and 'a'..'z' insert themselves; 'A'..'Z' (Shift or
// Caps Lock) delete the lower-case letter; the US layout's Shift+digit
// characters ")!@#$%^&*(" delete '0'..'9'; Enter deletes all, Space toggles
// the pause, Esc ends. Left and Right step back and forth through the
// history, Home and End go to its start and its latest step, F2 toggles the
// teaching mode. Every other character, and every other key without a
// character (Up, Down, the other function keys), does nothing. The end of
// input ends the program as Esc does.
Command commandFor(const KeyPress& press);

}  // namespace avl
