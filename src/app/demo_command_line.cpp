#include "app/demo_command_line.h"

#include <array>
#include <charconv>

#include "app/key_bindings.h"
#include "cli/command_line.h"
#include "orvask/version.h"

namespace avl {

namespace {

constexpr int kMinSlowdown = 1;
constexpr int kMaxSlowdown = 10;

enum Index { Help, Version, Keys, Pause, Slow, Teach, Contrast, Record, Force };
constexpr std::array<cli::Option, 9> kOptions = {{
    {'h', "help", "", "show this help and exit"},
    {0, "version", "", "show the version of the demo and of Orvask and exit"},
    {0, "keys", "KEYS", "type KEYS first, without the animations"},
    {0, "pause", "", "start with the pause before rotations on"},
    {0, "slow", "N", "make every animation step last N times as long (1 to 10)"},
    {0, "teach", "", "explain every step and show each rotation as it moves (F2)"},
    {0, "contrast", "", "no dark grey text, for a projector"},
    {0, "record", "FILE", "record the session into FILE (asciicast version 2)"},
    {0, "force", "", "with --record, overwrite FILE if it exists"},
}};

// What a character of --keys stands for, in an error message.
std::string shown(char key) {
    const auto byte = static_cast<unsigned char>(key);
    if (byte >= 0x20 && byte < 0x7F) return std::string("'") + key + "'";
    static constexpr char kHex[] = "0123456789abcdef";
    return std::string("'\\x") + kHex[byte >> 4] + kHex[byte & 15] + "'";
}

// An empty string when every key of --keys means something to the demo and
// none would end it.
std::string checkKeys(const std::string& keys) {
    for (char key : keys) {
        const int code = key == '\n' ? '\r' : static_cast<unsigned char>(key);
        const Action action = commandFor({KeyPress::Kind::Character, code}).action;
        if (action == Action::None || action == Action::Exit) {
            return "invalid argument for '--keys': " + shown(key) + " is no key of the demo";
        }
    }
    return {};
}

}  // namespace

DemoCommandLine parseDemoCommandLine(int argc, const char* const* argv) {
    DemoCommandLine line;
    const cli::Parsed parsed = cli::parse(kOptions, argc, argv);
    // In command-line order, as getopt would hand them over: --help before a
    // bad option is still answered.
    for (const cli::Given& given : parsed.options) {
        if (!line.error.empty()) break;
        switch (given.option - kOptions.data()) {
            case Help:
                line.request = DemoCommandLine::Request::Help;
                return line;
            case Version:
                line.request = DemoCommandLine::Request::Version;
                return line;
            case Keys:
                line.options.keys = given.value;
                line.error = checkKeys(given.value);
                break;
            case Pause:
                line.options.paused = true;
                break;
            case Slow: {
                int n = 0;
                const char* end = given.value.data() + given.value.size();
                const auto [rest, failed] = std::from_chars(given.value.data(), end, n);
                if (failed != std::errc() || rest != end || n < kMinSlowdown || n > kMaxSlowdown) {
                    line.error = "invalid argument '" + given.value +
                                 "' for '--slow' (a whole number from 1 to 10)";
                }
                line.options.slowdown = static_cast<unsigned>(n);
                break;
            }
            case Teach:
                line.options.teaching = true;
                break;
            case Contrast:
                line.options.contrast = true;
                break;
            case Record:
                line.recordPath = given.value;
                if (given.value.empty()) line.error = "invalid argument '' for '--record'";
                break;
            case Force:
                line.overwriteRecording = true;
                break;
        }
    }
    if (line.error.empty()) line.error = parsed.error;
    if (line.error.empty() && !parsed.operands.empty()) {
        line.error = "unexpected argument '" + parsed.operands.front() + "'";
    }
    if (!line.error.empty()) line.request = DemoCommandLine::Request::Error;
    return line;
}

std::string demoUsage() {
    return "Usage: avl-demo [OPTION]...\n"
           "Watch an AVL tree keep itself balanced: every insertion and deletion is drawn,\n"
           "every rotation announced and animated.\n"
           "\n" +
           cli::describe(kOptions) +
           "\n"
           "Keys: 0-9 and a-z insert; with Shift (A-Z, )!@#$%^&*() they delete;\n"
           "Enter deletes every key; Space toggles the pause; Esc quits.\n"
           "Left and Right step back and forth through the keys that changed the tree\n"
           "(Right replays a step, animated), Home goes back to the empty tree, End to\n"
           "the latest step; F2 turns teaching on and off.\n"
           "KEYS takes the same keys as steps; a newline in it is Enter.\n"
           "\n"
           "Exit status: 0 when ended with Esc or at the end of the input,\n"
           "1 after a fatal error (written to Log.txt) or when the recording could not\n"
           "be written to the end, 2 for a bad command line.\n";
}

std::string demoVersion() {
    return cli::versionReport(std::string("avl-demo (AVL Tree Demo) ") + AVL_DEMO_VERSION +
                              "\nOrvask " + orvask::kFullVersion);
}

}  // namespace avl
