// Frames and text boxes.

#include "orvask/orvask.h"
#include "tour.h"

namespace tour {

using namespace orvask;

bool frames(Tour& tour) {
    beginScreen(tour, "Frames");
    struct Sample {
        int style;
        unsigned char fg;
        unsigned char bg;
        const char* label;
    };
    const Sample samples[] = {
        {0, White, Black, "`y0 single"},
        {BoxDouble, Yellow, Black, "`y1 double"},
        {BoxFill, White, DarkBlue, "`y4 single+fill"},
        {BoxDouble | BoxFill, Yellow, DarkRed, "`y5 double+fill"},
        {BoxBlank | BoxFill, White, DarkGreen, "`y6 spaces+fill"},
    };
    Pm(2, 2, "box(x1, y1, x2, y2, fg, bg, style) draws between two corners:");
    for (int i = 0; i < 5; ++i) {
        const auto x = static_cast<short>(2 + 15 * i);
        box(x, 5, static_cast<short>(x + 12), 10, samples[i].fg, samples[i].bg, samples[i].style);
        Pm(x, 12, samples[i].label);
    }
    Pm(2, 15, "Style 8 draws straight onto the console even with virtual pages on;");
    Pm(2, 16, "otherwise frames go into the working page and show at the next `WPage()`y.");
    box(2, 18, 77, 22, Cyan, Black, BoxDouble);
    Pm(4, 20, "`CFrames clip at the screen edge and never write the bottom-right cell.");
    return waitForNext();
}

bool textBoxes(Tour& tour) {
    beginScreen(tour, "Text boxes");
    Pm(2, 2, "textbox(x, y, text, framefg, bg, textfg, flags): one line of markup in a frame.");
    Page();  // the opening animations draw on the console, over what it shows now

    textbox(4, 5, "A plain text box", White, DarkBlue, Yellow, 0);
    textbox(4, 10, "With a `Wshadow`y (flag 0x80)", White, DarkBlue, LightGrey, BoxShadow);
    Page();
    textbox(44, 5, "Opening `Manimation`H (0x100)", Yellow, DarkMagenta, White, BoxAnimate);
    Page();
    textbox(40, 16, "`HCentred on column 40, shadow and animation", White, DarkGreen, Yellow,
            BoxCentreX | BoxShadow | BoxAnimate);
    Pm(2, 21, "`KThe animation grows the frame from the middle, one step per `Wpace()`K delay.");
    return waitForNext();
}

}  // namespace tour
