#include "tour.h"

#include "orvask/orvask.h"

namespace tour {

using namespace orvask;

void beginScreen(Tour& tour, const char* title) {
    clrscr(Black);
    box(0, 0, 79, 0, White, DarkBlue, BoxBlank);  // a one-row bar of spaces
    const std::string bar = std::string("``b`HOrvask tour `C- `W") + title;
    Pm(1, 0, bar.c_str());
    Pm(2, 24, "`KScreen `H`0`K of `H`0    `yany key`K: next    `yEsc`K: leave", tour.screen,
       tour.screens);
    // The code of the key that brought us here (see the key codes in keyboard.h).
    Pm(56, 24, "`Klast key code `y`0", lastkey);
}

bool leaving(int key) {
    return key == orvask::key::Esc || key < 0;
}

bool waitForNext() {
    Page();
    getkey();
    return !leaving(lastkey);
}

std::string visibleMarkup(const char* markup) {
    std::string shown;
    for (const char* c = markup; *c != '\0'; ++c) {
        if (*c == '`')
            shown += "`~";  // the code for a literal backtick
        else
            shown += *c;
    }
    return shown;
}

}  // namespace tour
