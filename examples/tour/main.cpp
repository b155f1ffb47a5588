// orvask-tour: walks through the Orvask console library one screen at a
// time. Any key goes on, Esc leaves.

#include <iterator>

#include "orvask/orvask.h"
#include "tour.h"

int main() {
    constexpr tour::Screen kScreens[] = {
        tour::welcome,    tour::colours,       tour::glyphs,    tour::frames,  tour::textBoxes,
        tour::inputBoxes, tour::randomNumbers, tour::animation, tour::summary,
    };

    orvask::title("Orvask tour");
    orvask::coninit(437, 80, 25, orvask::ConPages);  // with virtual pages
    orvask::cursor(0);

    tour::Tour tour;
    tour.screens = static_cast<int>(std::size(kScreens));
    for (tour::Screen screen : kScreens) {
        ++tour.screen;
        if (!screen(tour)) break;
    }

    orvask::conexit(80, 25);
    return 0;
}
