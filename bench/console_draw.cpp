// Drawing costs on the in-memory console (80 by 25): the page flush by
// difference, the markup printer and a full frame.

#include <benchmark/benchmark.h>

#include "library_state.h"
#include "orvask/frames.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/memory_console.h"

namespace {

using namespace orvask;

class Screen {
  public:
    explicit Screen(bool paging) {
        detail::recordScreenSize(80, 25);
        setcolor(LightGrey, Black);
        if (paging) vpinit();
    }
    ~Screen() {
        vpfree();
        detail::recordScreenSize(0, 0);
    }
    platform::MemoryConsole& console() { return *scope_; }

  private:
    platform::MemoryConsoleScope scope_;
};

// An unchanged screen: Page() compares 2000 cells and writes nothing.
void PageUnchanged(benchmark::State& state) {
    Screen screen(true);
    for (auto _ : state)
        Page();
    state.counters["bytes/frame"] =
        benchmark::Counter(static_cast<double>(screen.console().bytesWritten()) /
                           static_cast<double>(state.iterations()));
}
BENCHMARK(PageUnchanged);

// Every cell changes every frame: the worst case of the flush.
void PageEveryCellChanged(benchmark::State& state) {
    Screen screen(true);
    unsigned char bg = 0;
    for (auto _ : state) {
        clrscr(bg);
        bg = static_cast<unsigned char>((bg + 1) & 7);
        Page();
    }
    state.SetItemsProcessed(state.iterations() * (80 * 25 - 1));
}
BENCHMARK(PageEveryCellChanged);

// One status line changes per frame; the rest of the screen stays.
void PageOneLineChanged(benchmark::State& state) {
    Screen screen(true);
    int n = 0;
    for (auto _ : state) {
        Pm(0, 24, "`HFrame `G`6 `yof `C`0", ++n, 1000000);
        Page();
    }
}
BENCHMARK(PageOneLineChanged);

void MarkupMenuLineDirect(benchmark::State& state) {
    Screen screen(false);
    for (auto _ : state)
        Pm(3, 16, "`yExit `H: `GEsc  `yInsert `H: `G0`y-`G9`y, `Ga`y-`Gz");
}
BENCHMARK(MarkupMenuLineDirect);

void TextboxWithShadowPaged(benchmark::State& state) {
    Screen screen(true);
    for (auto _ : state) {
        textbox(-1, -1, "`HSaved `yto `Cdisk", White, DarkBlue, LightGrey, BoxCentreX | BoxShadow);
        Page();
    }
}
BENCHMARK(TextboxWithShadowPaged);

}  // namespace

BENCHMARK_MAIN();
