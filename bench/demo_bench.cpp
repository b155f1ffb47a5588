// What one key press of avl-demo costs: the bytes a terminal receives and the
// CPU time, for a scripted session of 200 keys.
//
// The demo runs on the in-memory console with a virtual clock, so its fixed
// sleeps take no time; the terminal backend's renderer turns the console into
// terminal bytes at the same points the terminal backend syncs (before every
// key read and every sleep), into memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/demo.h"
#include "orvask/platform/memory_console.h"
#include "posix/renderer.h"

namespace {

using orvask::platform::Backend;
using orvask::platform::MemoryConsole;
using orvask::platform::posix::Renderer;

constexpr int kSessionKeys = 200;

enum class KeyKind { InsertPlain, InsertRotating, AlreadyThere, Delete, Other };

// The memory console, synced to a renderer like a terminal, with the bytes
// and CPU time of every main-loop key accounted to that key.
class RenderingConsole : public MemoryConsole {
  public:
    std::string sink;
    std::size_t rendered = 0;
    int sleeps = 0;

    void sync() {
        renderer_.render(model(), {80, 25}, sink);
        rendered += sink.size();
        sink.clear();
    }
    void sleep(std::uint32_t milliseconds) override {
        sync();
        ++sleeps;
        MemoryConsole::sleep(milliseconds);
    }
    int readKey() override {
        sync();
        if (onKeyRead) onKeyRead();
        return MemoryConsole::readKey();
    }
    std::function<void()> onKeyRead;

  private:
    Renderer renderer_;
};

// A fixed session: mostly insertions, some deletions (Shift), a few keys
// already in the tree and one Enter.
std::string sessionScript() {
    std::mt19937 random(7);
    const std::string keys = "0123456789abcdefghijklmnopqrstuvwxyz";
    const std::string shiftedDigits = ")!@#$%^&*(";
    std::string script;
    while (script.size() < kSessionKeys) {
        const char key = keys[random() % keys.size()];
        if (script.size() == kSessionKeys / 2) {
            script += '\r';
        } else if (random() % 4 == 0) {
            script += key <= '9' ? shiftedDigits[key - '0'] : static_cast<char>(key - 32);
        } else {
            script += key;
        }
    }
    return script;
}

struct Figures {
    std::vector<std::size_t> bytes[5];
    double cpuSeconds = 0;
};

Figures runSession(const std::string& script) {
    RenderingConsole console;
    Backend* previous = orvask::platform::installBackend(&console);
    console.pushKeys({'x'});  // the loading screen
    console.pushText(script);
    console.pushKeys({27});

    Figures figures;
    std::set<char> present;
    int keyIndex = -2;  // the loading screen's read, then the first loop read
    std::size_t bytesAtRead = 0;
    int sleepsAtRead = 0;
    std::clock_t cpuAtRead = 0;
    console.onKeyRead = [&] {
        const std::clock_t now = std::clock();
        if (keyIndex >= 0 && keyIndex < static_cast<int>(script.size())) {
            const char key = script[static_cast<std::size_t>(keyIndex)];
            const std::size_t bytes = console.rendered - bytesAtRead;
            const bool rotated = console.sleeps != sleepsAtRead;
            KeyKind kind = KeyKind::Other;
            if ((key >= '0' && key <= '9') || (key >= 'a' && key <= 'z')) {
                if (present.count(key) != 0) {
                    kind = KeyKind::AlreadyThere;
                } else {
                    kind = rotated ? KeyKind::InsertRotating : KeyKind::InsertPlain;
                    present.insert(key);
                }
            } else if (key == '\r') {
                present.clear();
            } else {
                const std::string shiftedDigits = ")!@#$%^&*(";
                const auto digit = shiftedDigits.find(key);
                const char target = digit != std::string::npos ? static_cast<char>('0' + digit)
                                                               : static_cast<char>(key + 32);
                present.erase(target);
                kind = KeyKind::Delete;
            }
            figures.bytes[static_cast<int>(kind)].push_back(bytes);
            figures.cpuSeconds += static_cast<double>(now - cpuAtRead) / CLOCKS_PER_SEC;
        }
        ++keyIndex;
        bytesAtRead = console.rendered;
        sleepsAtRead = console.sleeps;
        cpuAtRead = std::clock();
    };
    avl::runDemo();
    orvask::platform::installBackend(previous);
    return figures;
}

double average(const std::vector<std::size_t>& values) {
    if (values.empty()) return 0;
    double sum = 0;
    for (std::size_t v : values)
        sum += static_cast<double>(v);
    return sum / static_cast<double>(values.size());
}

double largest(const std::vector<std::size_t>& values) {
    return values.empty() ? 0
                          : static_cast<double>(*std::max_element(values.begin(), values.end()));
}

void BM_DemoSession(benchmark::State& state) {
    const std::string script = sessionScript();
    Figures figures;
    double cpu = 0;
    for (auto _ : state) {
        figures = runSession(script);
        cpu += figures.cpuSeconds;
    }
    const auto& plain = figures.bytes[static_cast<int>(KeyKind::InsertPlain)];
    const auto& rotating = figures.bytes[static_cast<int>(KeyKind::InsertRotating)];
    const auto& there = figures.bytes[static_cast<int>(KeyKind::AlreadyThere)];
    const auto& deleted = figures.bytes[static_cast<int>(KeyKind::Delete)];
    state.counters["insert_plain_bytes_avg"] = average(plain);
    state.counters["insert_plain_bytes_max"] = largest(plain);
    state.counters["insert_rotating_bytes_avg"] = average(rotating);
    state.counters["already_there_bytes_max"] = largest(there);
    state.counters["delete_bytes_avg"] = average(deleted);
    state.counters["keys_insert_plain"] = static_cast<double>(plain.size());
    state.counters["keys_insert_rotating"] = static_cast<double>(rotating.size());
    state.counters["keys_already_there"] = static_cast<double>(there.size());
    state.counters["keys_delete"] = static_cast<double>(deleted.size());
    state.counters["cpu_us_per_key"] =
        cpu / static_cast<double>(state.iterations()) / kSessionKeys * 1e6;
    state.SetItemsProcessed(state.iterations() * kSessionKeys);
}
BENCHMARK(BM_DemoSession)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
