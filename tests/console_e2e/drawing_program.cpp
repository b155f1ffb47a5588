// Draws a small scene with virtual pages for the end-to-end test: a markup
// line, a filled double-line box and a shadowed text box on a dark cyan
// ground. Waits for a key after the loading screen and after the scene.

#include "orvask/orvask.h"

int main() {
    using namespace orvask;
    title("Orvask drawing");
    coninit(437, 80, 25, ConPages);

    clrscr(DarkCyan);
    Pm(2, 1, "`HOrvask `Wdrawing `Rtest");
    box(4, 4, 30, 9, Yellow, DarkBlue, BoxDouble | BoxFill);
    textbox(40, 12, "Shadowed", Cyan, DarkBlue, White, BoxShadow);
    Page();

    getkey();
    conexit(80, 25);
    return 0;
}
