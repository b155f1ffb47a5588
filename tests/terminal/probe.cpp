// A small program for the end-to-end tests of the terminal backend. It talks
// to the operating system only through the platform seam, so what the tests
// see on the pseudo-terminal is exactly what the backend makes of it.
//
//   probe glyphs  every byte 0..255 of code page 437 in a 16x16 block at (0,0),
//                 white on blue; every attribute 0..255 on an 'x' in a block
//                 at (20,0); cursor at (5,20); waits for a key, then exits
//   probe keys    shows each code readKey() returns and whether Alt was down,
//                 until the input ends (exit 0 when it ends cleanly)
//   probe sync    a screen that changes by key: '0' nothing, '=' rewrites a
//                 row unchanged, '1' toggles the glyph at (40,12) between B and
//                 A, '2' its colour between 0x07 and 0x4E, 'h'/'v' hides or
//                 shows the cursor, 's' writes S at (40,13), then sleeps 3 s,
//                 'm' writes M at (0,20), shows a message box, then "after box",
//                 'w' writes W at (40,14), then works 3 s without a call
//   probe title   a title with control bytes in it; 'n' sets another, 'q' quits
//   probe wait    takes the terminal and waits; keys end it in different ways:
//                 'q' return from main, 'e' exit(3), 's' a wild pointer write,
//                 'a' abort(), 'b' SIGBUS, 'f' SIGFPE
//   probe small   an 80x25 screen with marks in its corners
//   probe busy    shows "busy ready", then only ever sleeps: never reads a key
//   probe rounds  two rounds of coninit (a key) and conexit, each followed by a
//                 line printed on standard output ("printed after round N");
//                 after the first it reads a line in the terminal's own mode
//   probe host    as a host program with its own SIGINT handler, which prints
//                 "host handler ran, notices: N" and exits 7, N counting the
//                 SIGUSR1 its other handler took; shows "host ready" and waits
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <unistd.h>

#include "orvask/platform/backend.h"
#include "orvask/setup.h"

namespace {

using orvask::platform::Backend;
using orvask::platform::Coord;

constexpr std::uint8_t kPlain = 0x07;

Backend& con() {
    return orvask::platform::backend();
}

void put(int x, int y, std::uint8_t attribute, std::string_view text) {
    con().setCursorPosition(Coord{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
    con().setAttribute(attribute);
    con().write(text.data(), text.size());
}

// Reads keys until the input ends.
void waitForEnd() {
    while (con().readKey() != orvask::platform::kEndOfInput) {
    }
}

int showGlyphs() {
    con().setBufferSize(Coord{80, 25});
    con().setOutputCodePage(437);
    for (int row = 0; row < 16; ++row) {
        std::string bytes;
        for (int col = 0; col < 16; ++col)
            bytes += static_cast<char>(row * 16 + col);
        if (row == 0) {
            // A newline moves the cursor instead of showing a glyph.
            put(0, 0, 0x1F, bytes.substr(0, 10));
            put(11, 0, 0x1F, bytes.substr(11));
        } else {
            put(0, row, 0x1F, bytes);
        }
    }
    for (int attribute = 0; attribute < 256; ++attribute) {
        put(20 + attribute % 16, attribute / 16, static_cast<std::uint8_t>(attribute), "x");
    }
    put(0, 18, kPlain, "glyphs ready");
    con().setCursorPosition(Coord{5, 20});
    con().setCursorInfo(25, true);
    con().readKey();
    return 0;
}

int showKeys() {
    put(0, 0, kPlain, "keys read: 0");
    for (int count = 0;; ++count) {
        const int code = con().readKey();
        const bool alt = con().keyDown(orvask::platform::vk::Menu);
        if (code == orvask::platform::kEndOfInput) break;
        char line[40];
        std::snprintf(line, sizeof line, "key %d: %d %s", count, code, alt ? "alt" : "-");
        put(0, 1 + count % 22, kPlain,
            std::string(line) + std::string(30 - std::strlen(line), ' '));
        std::snprintf(line, sizeof line, "keys read: %d", count + 1);
        put(0, 0, kPlain, line);
    }
    // Once ended, the input stays ended and nothing is waiting.
    const bool clean = !con().keyWaiting() && con().readKey() == orvask::platform::kEndOfInput;
    return clean ? 0 : 2;
}

int syncByKey() {
    put(0, 0, kPlain, "sync ready");
    put(0, 5, 0x1E, std::string(80, '='));
    char glyph = 'B';
    std::uint8_t colour = kPlain;
    for (;;) {
        switch (con().readKey()) {
            case orvask::platform::kEndOfInput:
                return 0;
            case '=':
                put(0, 5, 0x1E, std::string(80, '='));
                break;
            case '1':
                glyph = glyph == 'A' ? 'B' : 'A';
                put(40, 12, colour, std::string(1, glyph));
                break;
            case '2':
                colour = colour == kPlain ? 0x4E : kPlain;
                put(40, 12, colour, std::string(1, glyph));
                break;
            case 'h':
                con().setCursorInfo(25, false);
                break;
            case 'v':
                con().setCursorInfo(25, true);
                break;
            case 's':
                put(40, 13, kPlain, "S");
                con().sleep(3000);
                break;
            case 'w':
                put(40, 14, kPlain, "W");
                ::sleep(3);  // as long work: no call into the library
                break;
            case 'm':
                put(0, 20, kPlain, "M");
                con().messageBox("Probe box", "Box text");
                put(0, 21, kPlain, "after box");
                break;
            default:  // '0' and anything else: no change
                break;
        }
    }
}

int setTitles() {
    con().setTitle("Probe\a ti\x1btle\x7f!");
    put(0, 0, kPlain, "title ready");
    for (;;) {
        const int key = con().readKey();
        if (key == orvask::platform::kEndOfInput || key == 'q') return 0;
        if (key == 'n') con().setTitle("Next title");
    }
}

int waitForExitKey() {
    con().setTitle("Probe waiting");
    con().setCursorInfo(25, false);
    put(0, 0, kPlain, "wait ready");
    put(10, 10, 0xCE, "colour left on");  // the pen is not the default when interrupted
    for (;;) {
        switch (con().readKey()) {
            case orvask::platform::kEndOfInput:
            case 'q':
                return 0;
            case 'e':
                std::exit(3);
            case 's': {
                // A wild write into the unmapped first page. (Not through a null
                // pointer: the undefined-behaviour sanitizer would end the
                // program itself before any fault.)
                volatile std::uintptr_t nowhere = 16;
                *reinterpret_cast<volatile int*>(nowhere) = 1;
                break;
            }
            case 'a':
                std::abort();
            case 'b':
                std::raise(SIGBUS);
                break;
            case 'f':
                std::raise(SIGFPE);
                break;
            default:
                break;
        }
    }
}

int smallScreen() {
    con().setBufferSize(Coord{80, 25});
    put(0, 0, kPlain, "small ready");
    put(78, 24, 0x2F, "Z");
    waitForEnd();
    return 0;
}

int stayBusy() {
    put(0, 0, kPlain, "busy ready");
    for (;;)
        con().sleep(20);
}

// Standard output written directly, as a host program prints once the
// library has given the terminal back.
void printDirectly(std::string_view text) {
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
}

int twoRounds() {
    for (int round = 1; round <= 2; ++round) {
        orvask::coninit(437, 80, 25, 0);
        put(0, 0, kPlain, "round " + std::to_string(round));
        orvask::conexit(80, 25);
        printDirectly("printed after round " + std::to_string(round) + "\r\n");
        if (round == 1) {
            char line[64];
            if (std::fgets(line, sizeof line, stdin) == nullptr) return 3;
        }
    }
    return 0;
}

volatile std::sig_atomic_t hostNotices = 0;

void onHostNotice(int) {
    hostNotices = hostNotices + 1;
}

void onHostInterrupt(int) {
    char line[] = "host handler ran, notices: 0\r\n";
    line[sizeof line - 4] = static_cast<char>('0' + hostNotices % 10);
    printDirectly(line);
    _exit(7);
}

int hostWithHandler() {
    struct sigaction action {};
    action.sa_handler = onHostInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    action.sa_handler = onHostNotice;
    sigaction(SIGUSR1, &action, nullptr);
    put(0, 0, kPlain, "host ready");
    waitForEnd();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "glyphs") return showGlyphs();
    if (mode == "keys") return showKeys();
    if (mode == "sync") return syncByKey();
    if (mode == "title") return setTitles();
    if (mode == "wait") return waitForExitKey();
    if (mode == "small") return smallScreen();
    if (mode == "busy") return stayBusy();
    if (mode == "rounds") return twoRounds();
    if (mode == "host") return hostWithHandler();
    std::fprintf(stderr, "usage: probe glyphs|keys|sync|title|wait|small|busy|rounds|host\n");
    return 64;
}
