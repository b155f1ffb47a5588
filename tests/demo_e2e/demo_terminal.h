#pragma once
// avl-demo running in a pseudo-terminal, with a tree in the test process that
// mirrors every key, so the screen can be compared with what the tree engine
// itself holds.

#include <optional>
#include <string>
#include <vector>

#include "demo_mirror.h"
#include "term_harness/terminal.h"

namespace avl::testing {

// The palette index a terminal shows for a console colour (console bit
// order blue, green, red; ANSI's red, green, blue; bit 3 bright in both).
int ansiFromConsole(int colour);
// The code page 437 byte of a glyph the terminal shows (0 for others).
unsigned char cp437FromScreen(char32_t glyph);

class DemoTerminal {
  public:
    // Starts avl-demo with `arguments`.
    explicit DemoTerminal(bool stdinFromPipe = false, std::vector<std::string> arguments = {});
    ~DemoTerminal();
    DemoTerminal(const DemoTerminal&) = delete;
    DemoTerminal& operator=(const DemoTerminal&) = delete;

    term_harness::Terminal& term() { return term_; }
    // Leaves the loading screen and waits for the empty tree and the menu.
    bool enterDemo();

    // Types one key at the demo (a name as term_harness::xtermKey takes it)
    // and applies the same binding to the mirror. Returns how many rotations
    // the mirror did.
    int key(const std::string& name);
    // Types the keys (names as key() takes them) in one write, as a paste
    // arrives, and applies them to the mirror.
    void paste(const std::vector<std::string>& names);
    // Applies keys the program was given another way (--keys) to the mirror.
    void assume(const std::string& keys);
    // Differences between the terminal's grid and the mirror's (or another
    // tree's); empty when they agree.
    std::string gridDifferences() const { return gridDifferencesFrom(mirror_->tree()); }
    std::string gridDifferencesFrom(const SearchTree& tree) const;
    // Waits until the grid shows the mirror (and, after a rotation, the top
    // line its last message).
    bool waitForMirror(term_harness::Millis timeout = term_harness::kDefaultTimeout);

    const AvlTree& mirror() const { return mirror_->tree(); }
    bool paused() const { return mirror_->paused(); }
    // The message of the last rotation a key typed or pasted made.
    const std::string& lastRotation() const { return lastRotation_; }

  private:
    // Applies the binding of the key these bytes make to the mirror; returns
    // how many rotations it made.
    int mirror(const std::string& bytes);

    term_harness::Terminal term_;
    std::optional<DemoMirror> mirror_;  // made once the pool is there
    std::string lastRotation_;
};

}  // namespace avl::testing
