#include "demo_terminal.h"

#include "support/memory_pool.h"

namespace avl::testing {

int ansiFromConsole(int colour) {
    return (colour & 8) | ((colour & 1) << 2) | (colour & 2) | ((colour & 4) >> 2);
}

unsigned char cp437FromScreen(char32_t glyph) {
    if (glyph >= 0x20 && glyph < 0x7F) return static_cast<unsigned char>(glyph);
    if (glyph == U'\u00BB') return 175;  // »
    if (glyph == U'\u00AB') return 174;  // «
    return 0;
}

namespace {

std::vector<std::string> commandLine(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), AVL_DEMO_PATH);
    return arguments;
}

}  // namespace

DemoTerminal::DemoTerminal(bool stdinFromPipe, std::vector<std::string> arguments)
    : term_({.argv = commandLine(std::move(arguments)),
             .cols = 80,
             .rows = 25,
             .stdinFromPipe = stdinFromPipe}) {
    SummonMemoryPool();
    mirror_.emplace();
}

DemoTerminal::~DemoTerminal() {
    mirror_.reset();
    ReleaseMemoryPool();
}

bool DemoTerminal::enterDemo() {
    if (!term_.waitForText("Press any key to continue...")) return false;
    term_.type("x");
    return term_.waitForText("Exit : Esc") && waitForMirror();
}

int DemoTerminal::key(const std::string& name) {
    const std::string bytes = term_harness::xtermKey(name);
    const int rotated = mirror(bytes);
    term_.type(bytes);
    if (rotated > 0) lastRotation_ = mirror_->lastRotation();
    return rotated;
}

void DemoTerminal::paste(const std::vector<std::string>& names) {
    std::string all;
    int rotated = 0;
    for (const std::string& name : names) {
        const std::string bytes = term_harness::xtermKey(name);
        rotated += mirror(bytes);
        all += bytes;
    }
    term_.type(all);
    if (rotated > 0) lastRotation_ = mirror_->lastRotation();
}

void DemoTerminal::assume(const std::string& keys) {
    for (char key : keys)
        mirror(std::string(1, key == '\n' ? '\r' : key));
}

int DemoTerminal::mirror(const std::string& bytes) {
    return bytes.size() == 1 ? mirror_->type(bytes[0]) : 0;
}

std::string DemoTerminal::gridDifferencesFrom(const SearchTree& tree) const {
    return ExpectedGrid(tree).differences([this](int x, int y) {
        const term_harness::Cell cell = term_.cell(x, y);
        const unsigned char glyph = cp437FromScreen(cell.glyph());
        int colour = -1;
        for (int c = 0; c < 16; ++c) {
            if (ansiFromConsole(c) == cell.fg) colour = c;
        }
        return GridCell{glyph, colour};
    });
}

bool DemoTerminal::waitForMirror(term_harness::Millis timeout) {
    return term_.waitUntil(
        [this] {
            if (!gridDifferences().empty()) return false;
            return lastRotation_.empty() || term_.rowText(0).rfind(lastRotation_ + " ", 0) == 0;
        },
        timeout);
}

}  // namespace avl::testing
