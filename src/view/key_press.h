#pragma once
// One whole key press from the console's unechoed key read.

namespace avl {

struct KeyPress {
    enum class Kind {
        Character,   // a key that produced a character; `code` is its byte 1..255
        Extended,    // a key without a character (arrow, function key, ...);
                     // `code` is the code that followed the 0 or 224 prefix
        EndOfInput,  // the input has ended for good; no key will ever come
    };
    Kind kind = Kind::EndOfInput;
    int code = 0;
};

// Blocks for one key press and reads all of it: the prefix of a key without
// a character and the code after it are taken together, so no half of a key
// is left behind for the next reader. Returns at once at the end of input.
KeyPress readKeyPress();

}  // namespace avl
