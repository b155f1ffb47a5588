// What the terminal backend writes to bring a terminal up to date: bytes for
// a full-screen change, a one-cell change and no change, and the time of one
// sync of a full 80 x 25 change rendered into memory.
#include <benchmark/benchmark.h>

#include <string>

#include "orvask/platform/console_model.h"
#include "renderer.h"

namespace {

using orvask::platform::CellData;
using orvask::platform::ConsoleModel;
using orvask::platform::Coord;
using orvask::platform::posix::Renderer;

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

void BM_SyncFullScreenChange(benchmark::State& state) {
    ConsoleModel model({80, 25});
    model.cursorVisible = false;
    Renderer renderer;
    std::string out;
    paintFrame(model, 0);
    renderer.render(model, kTerminal, out);
    int frame = 1;
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        paintFrame(model, frame++);
        out.clear();
        state.ResumeTiming();
        renderer.render(model, kTerminal, out);
        benchmark::DoNotOptimize(out.data());
        bytes = out.size();
    }
    state.counters["bytes_per_sync"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SyncFullScreenChange);

void BM_SyncOneCellChange(benchmark::State& state) {
    ConsoleModel model({80, 25});
    model.cursorVisible = false;
    Renderer renderer;
    std::string out;
    paintFrame(model, 0);
    renderer.render(model, kTerminal, out);
    std::uint8_t glyph = 'a';
    std::size_t bytes = 0;
    for (auto _ : state) {
        model.cell(40, 12).glyph = glyph = glyph == 'a' ? 'b' : 'a';
        out.clear();
        renderer.render(model, kTerminal, out);
        benchmark::DoNotOptimize(out.data());
        bytes = out.size();
    }
    state.counters["bytes_per_sync"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SyncOneCellChange);

void BM_SyncNoChange(benchmark::State& state) {
    ConsoleModel model({80, 25});
    model.cursorVisible = false;
    Renderer renderer;
    std::string out;
    paintFrame(model, 0);
    renderer.render(model, kTerminal, out);
    std::size_t bytes = 0;
    for (auto _ : state) {
        out.clear();
        renderer.render(model, kTerminal, out);
        benchmark::DoNotOptimize(out.data());
        bytes = out.size();
    }
    state.counters["bytes_per_sync"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SyncNoChange);

void BM_FirstPaint(benchmark::State& state) {
    ConsoleModel model({80, 25});
    model.cursorVisible = false;
    paintFrame(model, 0);
    std::string out;
    std::size_t bytes = 0;
    for (auto _ : state) {
        Renderer renderer;
        out.clear();
        renderer.render(model, kTerminal, out);
        benchmark::DoNotOptimize(out.data());
        bytes = out.size();
    }
    state.counters["bytes_per_sync"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FirstPaint);

}  // namespace

BENCHMARK_MAIN();
