#pragma once
// What every screen of the tour shares: the title bar, the footer, the wait
// for the next key, and the inputs collected on the way.

#include <string>
#include <vector>

namespace tour {

struct Tour {
    int screen = 0;   // the screen shown now, from 1
    int screens = 0;  // how many there are
    // Every input the user gave, as "what: answer", for the closing screen.
    std::vector<std::string> answers;
};

// A screen: draws itself, waits, and returns false when the user leaves.
using Screen = bool (*)(Tour&);

// Clears the working page and draws the title bar and the footer.
void beginScreen(Tour& tour, const char* title);
// Shows the page and waits for a key. False when the user leaves with Esc
// or the input has ended.
bool waitForNext();
// True for a key that ends the tour: Esc, or the end of input.
bool leaving(int key);
// The markup text with every backtick made visible, to show markup source.
std::string visibleMarkup(const char* markup);

bool welcome(Tour& tour);
bool colours(Tour& tour);
bool glyphs(Tour& tour);
bool frames(Tour& tour);
bool textBoxes(Tour& tour);
bool inputBoxes(Tour& tour);
bool randomNumbers(Tour& tour);
bool animation(Tour& tour);
bool summary(Tour& tour);

}  // namespace tour
