// The input box in each of its modes; every answer is shown back.

#include <iterator>
#include <string>

#include "orvask/orvask.h"
#include "tour.h"

namespace tour {

using namespace orvask;

namespace {

struct Mode {
    const char* prompt;
    int maxlen;
    int flags;
    const char* what;
};

constexpr Mode kModes[] = {
    {"Your name", 20, 0, "text"},
    {"A whole number", 6, InputNumber, "number (0x01)"},
    {"Your age", 3, InputNumber | InputNoMinus, "unsigned (0x01|0x20)"},
    {"A variable name", 16, InputIdentifier, "identifier (0x10)"},
    {"A password", 12, InputPassword, "password (0x02)"},
    {"Like it? (y/n)", 1, InputYesNo, "yes/no (0x04)"},
    {"Really? (Y/n)", 1, InputYesNoStrict, "strict yes/no (0x08)"},
};

}  // namespace

bool inputBoxes(Tour& tour) {
    beginScreen(tour, "Input boxes");
    Pm(2, 2, "inputbox(x, y, prompt, buffer, maxlen, framefg, bg, textfg, flags)");
    Pm(2, 3, "`KEnter confirms, Esc cancels, Backspace deletes; the box puts back what");
    Pm(2, 4, "`Kwas under it when it closes.");

    for (int i = 0; i < static_cast<int>(std::size(kModes)); ++i) {
        const Mode& mode = kModes[i];
        const auto row = static_cast<short>(6 + i);
        Pm(4, row, (std::string("`K") + mode.what).c_str());

        char buffer[32] = "";
        const int flags = mode.flags | BoxShadow | BoxAnimate;
        const bool confirmed =
            inputbox(-1, 16, mode.prompt, buffer, mode.maxlen, White, DarkBlue, Yellow, flags) == 1;
        if (inputended()) return false;

        const std::string answer = confirmed ? buffer : std::string(buffer) + " (cancelled)";
        Pm(28, row, ("`W" + visibleMarkup(answer.c_str())).c_str());
        tour.answers.push_back(std::string(mode.what) + ": " + answer);
    }
    Pm(2, 20, "`GEvery answer is above.");
    return waitForNext();
}

}  // namespace tour
