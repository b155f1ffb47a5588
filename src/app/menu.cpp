#include "app/menu.h"

#include "orvask/markup.h"
#include "orvask/output.h"

namespace avl {

namespace {

using namespace orvask;

struct MenuLine {
    short row;
    const char* markup;
};

constexpr MenuLine kMenu[] = {
    {16, "`BAVL Tree `HDemonstration `yby `RO`Hrvask team `K(orvask@example.org)"},
    {17, "`yInsert an element `H: `G0`g~`G9 `gor `Ga`g~`Gz"},
    {18, "`yDelete an element `H: `G0`g~`G9 `gor `Ga`g~`Gz, `gwhile `Gshift `gkey is pressed."},
    {19, "`yDelete all element `H: `GEnter"},
    {20, "`yPause before rotation `H: "},
    {21, "`yExit `H: `GEsc"},
};

constexpr short kPauseRow = 20;

// The pause setting, printed at the cursor right after its label.
void printPauseValue(bool paused) {
    if (paused) {
        Pcur("true ", Blue, KeepBg);
    } else {
        Pcur("false", Red, KeepBg);
    }
    Pcur(" (toggle with spacebar)", DarkGrey, KeepBg);
}

}  // namespace

void printMenu(bool paused) {
    for (const MenuLine& line : kMenu) {
        Pm(0, line.row, line.markup, 0, 0, 0, 0, 0, 0, 0, 0);
        if (line.row == kPauseRow) printPauseValue(paused);
    }
}

}  // namespace avl
