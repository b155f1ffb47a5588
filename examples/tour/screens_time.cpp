// Random numbers, a timer-paced animation, and the answers once more.

#include <cstdint>
#include <string>

#include "orvask/orvask.h"
#include "tour.h"

namespace tour {

using namespace orvask;

namespace {

void showRolls() {
    struct Roll {
        const char* call;
        int value;
    };
    // clang-format off
    const Roll rolls[] = {
        {"rnd(100)       0..99",     rnd(100)},
        {"rndr(-5, 5)    -5..5",     rndr(-5, 5)},
        {"rnd1(6)        1..6",      rnd1(6)},
        {"dice(3, 6)     3..18",     dice(3, 6)},
        {"coin()         0 or 1",    coin() ? 1 : 0},
        {"onein(6)       1 in 6",    onein(6) ? 1 : 0},
        {"chance(25)     roll or 0", chance(25)},
        {"chancef(12.5)  roll or 0", chancef(12.5)},
    };
    // clang-format on
    for (int i = 0; i < 8; ++i) {
        const auto row = static_cast<short>(5 + i);
        Pm(4, row, (std::string("`y") + rolls[i].call).c_str());
        Pm(34, row, "`W`6", rolls[i].value);
    }
}

}  // namespace

bool randomNumbers(Tour& tour) {
    beginScreen(tour, "Dice and random numbers");
    Pm(2, 2, "Seeded at start-up from the clock (randomize), or with seed(n) to repeat.");
    Pm(2, 15, "`KPress `Wr`K to roll again.");
    do {
        showRolls();
        if (!waitForNext()) return false;
    } while (lastkey == 'r' || lastkey == 'R');
    return true;
}

bool animation(Tour& tour) {
    beginScreen(tour, "Timers");
    Pm(2, 2, "A frame every 40 ms: tmark() at its start, twait(40) at its end, so the");
    Pm(2, 3, "period stays fixed however long the drawing takes. Any key goes on.");
    box(1, 9, 78, 11, DarkGrey, Black, 0);

    int x = 2;
    int step = 1;
    const std::uint32_t start = tnow();
    for (int frame = 1; !keywaiting() && !inputended(); ++frame) {
        tmark();
        Pxyp(static_cast<short>(x), 10, ' ', Black, Black);
        if (x + step < 2 || x + step > 77) step = -step;
        x += step;
        Pxyp(static_cast<short>(x), 10, 'O', Yellow, Black);
        Pm(2, 14, "`yframe `W`6`y   elapsed `W`7`y ms", frame, static_cast<int>(tnow() - start));
        Page();
        twait(40);
    }
    return waitForNext();
}

bool summary(Tour& tour) {
    beginScreen(tour, "Your answers");
    Pm(2, 2, "Everything you typed into the input boxes:");
    short row = 4;
    for (const std::string& answer : tour.answers) {
        Pm(4, row++, ("`W" + visibleMarkup(answer.c_str())).c_str());
    }
    if (tour.answers.empty()) Pm(4, row, "`K(nothing)");
    Pm(2, 20, "That was the tour. Press any key to leave.");
    return waitForNext();
}

}  // namespace tour
