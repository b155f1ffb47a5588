// The terminal renderer on arbitrary console models, changed between
// renders, and arbitrary terminal sizes; its output goes to an emulated
// terminal (libvterm):
//  * when the terminal is large enough, the emulated screen shows every
//    cell of the model (glyph, width and colours; a blank only shows its
//    background, so its foreground is free), the cursor where the
//    model has it (or hidden) and the model's title, if it has one;
//  * when it is too small, the screen asks for the size needed.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzz_check.h"
#include "glyphs/screen_cell.h"
#include "term_harness/screen.h"
#include "terminal/renderer.h"

namespace orvask::platform::terminal {
namespace {

constexpr int kMaxWidth = 40;
constexpr int kMaxHeight = 15;

// The palette index a terminal shows for a console colour (console bits:
// 1 blue, 2 green, 4 red, 8 bright; the ANSI order is red, green, blue).
int paletteIndex(int consoleColour) {
    return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2) |
           (consoleColour & 8);
}

void checkShown(const ConsoleModel& model, const term_harness::Screen& screen) {
    std::vector<ScreenCell> row;
    for (int y = 0; y < model.height(); ++y) {
        screenRow(model, y, row);
        for (int x = 0; x < model.width(); ++x) {
            const ScreenCell& want = row[static_cast<std::size_t>(x)];
            if (want.width == 0) continue;  // the right half of a wide glyph
            const term_harness::Cell got = screen.cell(x, y);
            FUZZ_CHECK(got.glyph() == want.glyph && got.width == want.width,
                       "cell %d,%d shows U+%04X (width %d), the model U+%04X (width %d)", x, y,
                       static_cast<unsigned>(got.glyph()), got.width,
                       static_cast<unsigned>(want.glyph), want.width);
            const bool blank = want.glyph == U' ' && want.width == 1;
            FUZZ_CHECK((blank || got.fg == paletteIndex(want.attribute & 0x0F)) &&
                           got.bg == paletteIndex(want.attribute >> 4),
                       "cell %d,%d shows colours %d on %d, the model attribute %02x", x, y, got.fg,
                       got.bg, want.attribute);
        }
    }
    FUZZ_CHECK(screen.cursorVisible() == model.cursorVisible, "cursor visibility");
    if (model.cursorVisible) {
        const term_harness::Position at = screen.cursor();
        FUZZ_CHECK(at.col == model.cursor().x && at.row == model.cursor().y,
                   "the cursor at %d,%d, the model's at %d,%d", at.col, at.row, model.cursor().x,
                   model.cursor().y);
    }
    // An empty title leaves the terminal's own title alone.
    const std::string title = sanitizeTitle(model.title, model.outputCodePage);
    FUZZ_CHECK(title.empty() || screen.title() == title,
               "the title shows as \"%s\", the model's is \"%s\"", screen.title().c_str(),
               title.c_str());
}

void change(FuzzedDataProvider& in, ConsoleModel& model) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0:
        case 1: {  // a run of cells
            const int y = in.ConsumeIntegralInRange(0, model.height() - 1);
            int x = in.ConsumeIntegralInRange(0, model.width() - 1);
            const auto attribute = in.ConsumeIntegral<std::uint8_t>();
            for (const char c : in.ConsumeRandomLengthString(model.width())) {
                if (x >= model.width()) break;
                model.cell(x++, y) = CellData{static_cast<std::uint8_t>(c), attribute};
            }
            break;
        }
        case 2:
            model.setCursor({static_cast<std::int16_t>(in.ConsumeIntegralInRange(0, kMaxWidth)),
                             static_cast<std::int16_t>(in.ConsumeIntegralInRange(0, kMaxHeight))});
            break;
        case 3:
            model.cursorVisible = in.ConsumeBool();
            model.cursorSize = in.ConsumeIntegralInRange(1, 100);
            break;
        case 4:
            model.outputCodePage = in.ConsumeBool() ? 437 : 949;
            break;
        case 5:
            model.title = in.ConsumeRandomLengthString(40);
            break;
        default:
            model.resize({static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, kMaxWidth)),
                          static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, kMaxHeight))});
            break;
    }
}

}  // namespace
}  // namespace orvask::platform::terminal

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvask::platform;
    using namespace orvask::platform::terminal;
    FuzzedDataProvider in(data, size);
    ConsoleModel model({static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, kMaxWidth)),
                        static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, kMaxHeight))});
    Coord terminal{0, 0};  // unknown: never too small
    term_harness::Screen screen(kMaxWidth, kMaxHeight);
    Renderer renderer;
    std::string out;
    while (in.remaining_bytes() > 0) {
        if (in.ConsumeIntegralInRange(0, 7) == 0) {
            // The terminal is resized; the backend then repaints in full.
            terminal =
                in.ConsumeBool()
                    ? Coord{0, 0}
                    : Coord{static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, kMaxWidth)),
                            static_cast<std::int16_t>(in.ConsumeIntegralInRange(1, kMaxHeight))};
            screen.resize(terminal.x > 0 ? terminal.x : kMaxWidth,
                          terminal.y > 0 ? terminal.y : kMaxHeight);
            renderer.invalidate();
        }
        for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
            change(in, model);
        out.clear();
        renderer.render(model, terminal, out);
        screen.feed(out);
        const bool tooSmall =
            terminal.x > 0 && (terminal.x < model.width() || terminal.y < model.height());
        if (tooSmall) {
            const std::string notice = std::string("The terminal is too small.")
                                           .substr(0, static_cast<std::size_t>(terminal.x));
            FUZZ_CHECK(screen.contains(notice), "no notice on a %dx%d terminal", terminal.x,
                       terminal.y);
        } else {
            checkShown(model, screen);
        }
    }
    return 0;
}
