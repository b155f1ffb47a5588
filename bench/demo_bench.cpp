// What one key press of avl-demo costs on a terminal: the bytes the terminal
// receives and the CPU time, for a scripted session of 200 keys, on the path
// the program really takes: the terminal backend with its sync points and
// its renderer, writing into a file where a terminal would be. A clock that
// never waits stands in for the animation's sleeps.
//
// Beside it, the settled screens of that session (the screen as it stands
// when the program waits for its next key) drawn once by our renderer and
// once by ncurses in a pseudo-terminal: the bytes each needs for the same
// screens.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/demo.h"
#include "orvask/platform/backend.h"
#include "posix/terminal_backend.h"
#include "terminal/renderer.h"

#ifdef HAVE_NCURSESW
#include <curses.h>
#include <poll.h>
#include <pty.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <thread>

#include "glyphs/glyph_table.h"
#endif

namespace {

using orvask::platform::ConsoleModel;
using orvask::platform::posix::Clock;
using orvask::platform::posix::TerminalBackend;
using orvask::platform::terminal::Renderer;

constexpr int kSessionKeys = 200;
constexpr orvask::platform::Coord kTerminal{80, 25};

enum class KeyKind { InsertPlain, InsertRotating, AlreadyThere, Delete, Other, Count };

// Time passes only by waiting, and waiting takes none: a wait that finds
// nothing ready is over at once, its whole timeout later (a sleep).
class InstantClock final : public Clock {
  public:
    std::int64_t nanoseconds() noexcept override { return now_; }
    int poll(pollfd* fds, nfds_t count, int timeoutMs) override {
        const int ready = ::poll(fds, count, 0);
        if (ready != 0 || timeoutMs <= 0) return ready;
        now_ += std::int64_t{timeoutMs} * 1'000'000;
        ++sleeps;
        return 0;
    }
    int sleeps = 0;

  private:
    std::int64_t now_ = 1'000'000'000;
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

// What each key of the script does to a tree that starts empty.
std::vector<KeyKind> classify(const std::string& script, const std::vector<bool>& rotated) {
    std::vector<KeyKind> kinds;
    std::set<char> present;
    const std::string shiftedDigits = ")!@#$%^&*(";
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char key = script[i];
        KeyKind kind = KeyKind::Other;
        if ((key >= '0' && key <= '9') || (key >= 'a' && key <= 'z')) {
            kind = present.insert(key).second
                       ? (rotated[i] ? KeyKind::InsertRotating : KeyKind::InsertPlain)
                       : KeyKind::AlreadyThere;
        } else if (key == '\r') {
            present.clear();
        } else {
            const auto digit = shiftedDigits.find(key);
            present.erase(digit != std::string::npos ? static_cast<char>('0' + digit)
                                                     : static_cast<char>(key + 32));
            kind = KeyKind::Delete;
        }
        kinds.push_back(kind);
    }
    return kinds;
}

// The terminal backend with the bytes and CPU time of each main-loop key
// accounted to that key, and the screen kept as it stood at each key read.
class SessionBackend : public TerminalBackend {
  public:
    SessionBackend(int keys, int output, InstantClock& clock)
        : TerminalBackend(keys, output, "xterm-256color", clock), output_(output), clock_(clock) {}

    int readKey() override {
        settled.push_back(model());
        const std::clock_t cpuBefore = std::clock();
        const int key = TerminalBackend::readKey();  // syncs first
        const std::size_t written = outputSize();
        bytes.push_back(written - writtenAtLastRead_);
        rotated.push_back(clock_.sleeps != sleepsAtLastRead_);
        cpuSeconds.push_back(static_cast<double>(cpuBefore - cpuAtLastRead_) / CLOCKS_PER_SEC);
        writtenAtLastRead_ = written;
        sleepsAtLastRead_ = clock_.sleeps;
        cpuAtLastRead_ = std::clock();
        return key;
    }

    // Per read: the bytes, rotation and CPU of the work since the read before.
    std::vector<std::size_t> bytes;
    std::vector<bool> rotated;
    std::vector<double> cpuSeconds;
    std::vector<ConsoleModel> settled;

  private:
    std::size_t outputSize() const {
        struct stat info {};
        fstat(output_, &info);
        return static_cast<std::size_t>(info.st_size);
    }

    int output_;
    InstantClock& clock_;
    std::size_t writtenAtLastRead_ = 0;
    int sleepsAtLastRead_ = 0;
    std::clock_t cpuAtLastRead_ = 0;
};

struct Session {
    std::vector<std::size_t> bytes[static_cast<int>(KeyKind::Count)];
    std::size_t totalBytes = 0;
    double cpuSeconds = 0;
    std::vector<ConsoleModel> settled;  // at each main-loop key read
};

int scratchFile() {
    char path[] = "/tmp/demo_bench_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) std::abort();
    unlink(path);
    return fd;
}

Session runSession(const std::string& script) {
    int keys[2];
    if (pipe(keys) != 0) std::abort();
    const std::string typed = "x" + script + "\x1b";  // the loading screen's key first
    if (write(keys[1], typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) {
        std::abort();
    }
    close(keys[1]);
    const int output = scratchFile();

    InstantClock clock;
    Session session;
    {
        SessionBackend backend(keys[0], output, clock);
        orvask::platform::BackendScope installed(backend);
        avl::runDemo();
        // Read 0 is the loading screen's; read k (1..200) comes after the
        // work of key k - 1, read 201 after the last key's.
        const std::vector<bool> rotated(backend.rotated.begin() + 2, backend.rotated.end());
        const std::vector<KeyKind> kinds = classify(script, rotated);
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            session.bytes[static_cast<int>(kinds[i])].push_back(backend.bytes[i + 2]);
            session.totalBytes += backend.bytes[i + 2];
            session.cpuSeconds += backend.cpuSeconds[i + 2];
        }
        session.settled.assign(backend.settled.begin() + 1, backend.settled.end());
    }
    close(keys[0]);
    close(output);
    return session;
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
    Session session;
    double cpu = 0;
    for (auto _ : state) {
        session = runSession(script);
        cpu += session.cpuSeconds;
    }
    const auto& of = [&](KeyKind kind) -> const auto& {
        return session.bytes[static_cast<int>(kind)];
    };
    state.counters["bytes_total"] = static_cast<double>(session.totalBytes);
    state.counters["insert_plain_bytes_avg"] = average(of(KeyKind::InsertPlain));
    state.counters["insert_plain_bytes_max"] = largest(of(KeyKind::InsertPlain));
    state.counters["insert_rotating_bytes_avg"] = average(of(KeyKind::InsertRotating));
    state.counters["already_there_bytes_max"] = largest(of(KeyKind::AlreadyThere));
    state.counters["delete_bytes_avg"] = average(of(KeyKind::Delete));
    state.counters["keys_insert_plain"] = static_cast<double>(of(KeyKind::InsertPlain).size());
    state.counters["keys_insert_rotating"] =
        static_cast<double>(of(KeyKind::InsertRotating).size());
    state.counters["keys_already_there"] = static_cast<double>(of(KeyKind::AlreadyThere).size());
    state.counters["keys_delete"] = static_cast<double>(of(KeyKind::Delete).size());
    state.counters["cpu_us_per_key"] =
        cpu / static_cast<double>(state.iterations()) / kSessionKeys * 1e6;
    state.SetItemsProcessed(state.iterations() * kSessionKeys);
}
BENCHMARK(BM_DemoSession)->Unit(benchmark::kMillisecond);

// The settled screens through our renderer: a full first screen, then the
// differences from each to the next.
std::size_t ourBytes(const std::vector<ConsoleModel>& screens) {
    Renderer renderer;
    std::string out;
    std::size_t total = 0;
    for (const ConsoleModel& screen : screens) {
        out.clear();
        renderer.render(screen, kTerminal, out);
        total += out.size();
    }
    return total;
}

#ifdef HAVE_NCURSESW
// The same screens through ncurses (xterm-256color, the 16 colours as colour
// pairs, the glyphs as wide characters), counted as a terminal receives them.
// What ncurses writes to set itself up is not counted.
std::size_t ncursesBytes(const std::vector<ConsoleModel>& screens) {
    int master = -1;
    int slave = -1;
    winsize size{static_cast<unsigned short>(kTerminal.y), static_cast<unsigned short>(kTerminal.x),
                 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) return 0;
    std::atomic<std::size_t> received{0};
    std::atomic<bool> finished{false};
    std::thread reader([&] {
        char buffer[65536];
        while (!finished) {
            pollfd ready{master, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0) continue;
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0) break;
            received += static_cast<std::size_t>(n);
        }
    });
    // Until the terminal has had everything written so far.
    const auto settle = [&] {
        std::size_t seen = received;
        for (int quiet = 0; quiet < 5;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            quiet = received == seen ? quiet + 1 : 0;
            seen = received;
        }
        return seen;
    };

    std::setlocale(LC_CTYPE, "C.UTF-8");
    FILE* out = fdopen(dup(slave), "w");
    FILE* in = fdopen(dup(slave), "r");
    SCREEN* terminal = newterm("xterm-256color", out, in);
    set_term(terminal);
    start_color();
    raw();
    noecho();
    curs_set(0);
    leaveok(stdscr, TRUE);
    const auto ansi = [](int c) { return ((c & 1) << 2) | (c & 2) | ((c & 4) >> 2) | (c & 8); };
    for (int attribute = 0; attribute < 256; ++attribute) {
        init_pair(static_cast<short>(attribute + 1), static_cast<short>(ansi(attribute & 15)),
                  static_cast<short>(ansi(attribute >> 4)));
    }
    refresh();
    const std::size_t setUp = settle();

    for (const ConsoleModel& screen : screens) {
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                const auto& cell = screen.cell(x, y);
                const wchar_t glyph[2] = {
                    static_cast<wchar_t>(orvask::platform::glyphs::singleByteGlyph(
                        screen.outputCodePage, cell.glyph)),
                    0};
                cchar_t shown;
                setcchar(&shown, glyph, A_NORMAL, static_cast<short>(cell.attribute + 1), nullptr);
                mvadd_wch(y, x, &shown);
            }
        }
        refresh();
    }
    const std::size_t total = settle() - setUp;

    endwin();
    delscreen(terminal);
    std::fclose(out);
    std::fclose(in);
    close(slave);
    finished = true;
    reader.join();
    close(master);
    return total;
}
#endif

void BM_SettledScreensOursAgainstNcurses(benchmark::State& state) {
    const std::vector<ConsoleModel> screens = runSession(sessionScript()).settled;
    std::size_t ours = 0;
    for (auto _ : state)
        ours = ourBytes(screens);
    state.counters["screens"] = static_cast<double>(screens.size());
    state.counters["ours_bytes"] = static_cast<double>(ours);
#ifdef HAVE_NCURSESW
    const std::size_t theirs = ncursesBytes(screens);
    state.counters["ncurses_bytes"] = static_cast<double>(theirs);
    state.counters["ncurses_to_ours"] = static_cast<double>(theirs) / static_cast<double>(ours);
#else
    state.SetLabel("ncurses not found at build time: its figure is left out");
#endif
}
BENCHMARK(BM_SettledScreensOursAgainstNcurses)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
