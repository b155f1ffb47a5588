#include "app/menu.h"

#include <string>

#include "orvask/markup.h"
#include "orvask/output.h"
#include "view/explanation.h"

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
constexpr short kHistoryRow = 24;

// The pause setting, printed at the cursor right after its label.
void printPauseValue(bool paused, unsigned char hint) {
    if (paused) {
        Pcur("true ", Blue, KeepBg);
    } else {
        Pcur("false", Red, KeepBg);
    }
    Pcur(" (toggle with spacebar)", hint, KeepBg);
}

// The markup with dark grey ("`K") made light grey ("`y").
std::string lightened(const char* markup) {
    std::string text = markup;
    for (std::size_t at = text.find("`K"); at != std::string::npos; at = text.find("`K", at))
        text[at + 1] = 'y';
    return text;
}

}  // namespace

void printMenu(bool paused, bool contrast) {
    for (const MenuLine& line : kMenu) {
        if (contrast) {
            Pm(0, line.row, lightened(line.markup).c_str(), 0, 0, 0, 0, 0, 0, 0, 0);
        } else {
            Pm(0, line.row, line.markup, 0, 0, 0, 0, 0, 0, 0, 0);
        }
        if (line.row == kPauseRow) printPauseValue(paused, contrast ? LightGrey : DarkGrey);
    }
}

void printHistoryRow(int current, int latest) {
    Pm(0, kHistoryRow,
       "`yStep `H`0 `yof `H`0   `G<- `yback   `G-> `yforward   `GHome   `GEnd   `GF2 "
       "`yteaching off",
       current, latest);
    Pfill(kBelowMenuLastColumn, ' ');
}

void clearTeachingRows() {
    for (const short row : {kExplanationRow, kHistoryRow}) {
        gotoxy(0, row);
        Pfill(kBelowMenuLastColumn, ' ');
    }
}

}  // namespace avl
