// What the terminal backend writes to bring a terminal up to date: bytes for
// a full-screen change (every cell a new glyph and colour, the worst case;
// and new text in one colour per row), a one-cell change and no change, and
// the time of one sync of each, rendered into memory.
#include <benchmark/benchmark.h>

#include <string>

#include "orvask/platform/console_model.h"
#include "terminal/renderer.h"

namespace {

using orvask::platform::CellData;
using orvask::platform::ConsoleModel;
using orvask::platform::Coord;
using orvask::platform::terminal::Renderer;

constexpr Coord kTerminal{80, 25};

// Fills every cell with a glyph and colour that depend on `frame`, so
// consecutive frames differ in every cell, including non-ASCII glyphs.
void paintFrame(ConsoleModel& model, int frame) {
    for (int y = 0; y < model.height(); ++y) {
        for (int x = 0; x < model.width(); ++x) {
            const int n = x + y * 3 + frame;
            model.cell(x, y) = CellData{static_cast<std::uint8_t>(32 + n % 200),
                                        static_cast<std::uint8_t>(1 + n % 15)};
        }
    }
}

// A terminal that already shows frame 0 of an 80 x 25 model.
struct ShownScreen {
    ConsoleModel model{{80, 25}};
    Renderer renderer;
    std::string out;

    ShownScreen() {
        model.cursorVisible = false;
        paintFrame(model, 0);
        renderer.render(model, kTerminal, out);
    }
    // One sync; returns the bytes it wrote.
    std::size_t sync() {
        out.clear();
        renderer.render(model, kTerminal, out);
        benchmark::DoNotOptimize(out.data());
        return out.size();
    }
};

void reportBytes(benchmark::State& state, std::size_t bytes) {
    state.counters["bytes_per_sync"] = static_cast<double>(bytes);
}

void BM_SyncFullScreenChange(benchmark::State& state) {
    ShownScreen screen;
    int frame = 1;
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        paintFrame(screen.model, frame++);
        state.ResumeTiming();
        bytes = screen.sync();
    }
    reportBytes(state, bytes);
}
BENCHMARK(BM_SyncFullScreenChange);

// A typical full change: new text everywhere, one colour per row.
void BM_SyncFullScreenTextChange(benchmark::State& state) {
    ShownScreen screen;
    int frame = 1;
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++frame;
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 80; ++x) {
                screen.model.cell(x, y) =
                    CellData{static_cast<std::uint8_t>('a' + (x + frame) % 26),
                             static_cast<std::uint8_t>(y % 2 ? 0x1F : 0x07)};
            }
        }
        state.ResumeTiming();
        bytes = screen.sync();
    }
    reportBytes(state, bytes);
}
BENCHMARK(BM_SyncFullScreenTextChange);

void BM_SyncOneCellChange(benchmark::State& state) {
    ShownScreen screen;
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::uint8_t& glyph = screen.model.cell(40, 12).glyph;
        glyph = glyph == 'a' ? 'b' : 'a';
        bytes = screen.sync();
    }
    reportBytes(state, bytes);
}
BENCHMARK(BM_SyncOneCellChange);

void BM_SyncNoChange(benchmark::State& state) {
    ShownScreen screen;
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = screen.sync();
    reportBytes(state, bytes);
}
BENCHMARK(BM_SyncNoChange);

// The first paint after start, a resize or a continue: every cell is sent.
void BM_FirstPaint(benchmark::State& state) {
    ShownScreen screen;
    std::size_t bytes = 0;
    for (auto _ : state) {
        screen.renderer.invalidate();
        bytes = screen.sync();
    }
    reportBytes(state, bytes);
}
BENCHMARK(BM_FirstPaint);

}  // namespace

BENCHMARK_MAIN();
