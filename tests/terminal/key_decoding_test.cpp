// Keys as terminals send them, and the getch-style codes readKey() must make
// of them.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "key_probe.h"
#include "probe_launch.h"
#include "terminfo_strings.h"

namespace terminal_test {
namespace {

using namespace std::chrono_literals;

// Keys without a character: the code after the 0 or 224 prefix, plain and
// with Shift, Ctrl and Alt.
struct ExtendedKey {
    const char* name;
    int plain, shift, ctrl, alt;
};
constexpr ExtendedKey kExtendedKeys[] = {
    {"F1", 59, 84, 94, 104},      {"F2", 60, 85, 95, 105},        {"F3", 61, 86, 96, 106},
    {"F4", 62, 87, 97, 107},      {"F5", 63, 88, 98, 108},        {"F6", 64, 89, 99, 109},
    {"F7", 65, 90, 100, 110},     {"F8", 66, 91, 101, 111},       {"F9", 67, 92, 102, 112},
    {"F10", 68, 93, 103, 113},    {"F11", 133, 135, 137, 139},    {"F12", 134, 136, 138, 140},
    {"Home", 71, 71, 119, 151},   {"Up", 72, 72, 141, 152},       {"PageUp", 73, 73, 134, 153},
    {"Left", 75, 75, 115, 155},   {"Right", 77, 77, 116, 157},    {"End", 79, 79, 117, 159},
    {"Down", 80, 80, 145, 160},   {"PageDown", 81, 81, 118, 161}, {"Insert", 82, 82, 146, 162},
    {"Delete", 83, 83, 147, 163},
};
constexpr int kShiftTab = 15;

KeyProbe keysOn(const std::string& term) {
    term_harness::Options options = probeOptions("keys");
    options.term = term;
    return KeyProbe(std::move(options));
}

TEST(KeyDecoding, XtermExtendedKeysWithEveryModifier) {
    KeyProbe probe = keysOn("xterm-256color");
    for (const ExtendedKey& key : kExtendedKeys) {
        const std::pair<std::string, int> variants[] = {
            {std::string(key.name), key.plain},
            {"Shift+" + std::string(key.name), key.shift},
            {"Ctrl+" + std::string(key.name), key.ctrl},
            {"Alt+" + std::string(key.name), key.alt}};
        for (const auto& [name, code] : variants) {
            const std::string bytes = term_harness::xtermKey(name, false);
            const AltHeld alt = name.starts_with("Alt+") ? AltHeld::Maybe : AltHeld::No;
            EXPECT_TRUE(decodesToExtended(bytes, probe.send(bytes, 2), code, alt)) << name;
        }
    }
    // The same keys in the form xterm uses in application cursor mode.
    for (const auto& [name, code] : {std::pair{"Up", 72},
                                     {"Down", 80},
                                     {"Right", 77},
                                     {"Left", 75},
                                     {"Home", 71},
                                     {"End", 79}}) {
        const std::string bytes = term_harness::xtermKey(name, true);
        EXPECT_TRUE(decodesToExtended(bytes, probe.send(bytes, 2), code)) << name;
    }
    EXPECT_TRUE(decodesToExtended("\x1b[Z", probe.send("\x1b[Z", 2), kShiftTab));
    EXPECT_TRUE(probe.nothingMore());
}

TEST(KeyDecoding, CharactersAndControlKeysAsThemselves) {
    KeyProbe probe = keysOn("xterm-256color");
    // Printable characters, sent in runs as fast typing or a paste delivers them.
    std::string printable;
    for (int c = ' '; c <= '~'; ++c)
        printable += static_cast<char>(c);
    for (std::size_t start = 0; start < printable.size(); start += 16) {
        const std::string run = printable.substr(start, 16);
        const std::vector<KeyRead> got = probe.send(run, static_cast<int>(run.size()));
        std::vector<KeyRead> expected;
        for (char c : run)
            expected.push_back({static_cast<unsigned char>(c), false});
        EXPECT_EQ(got, expected) << spelled(run) << " gave " << describe(got);
    }
    // Ctrl+letter (Ctrl+C and Ctrl+Z too: keys, not signals), Enter, Tab,
    // Backspace in both forms, and the remaining control characters.
    for (int c = 1; c <= 31; ++c) {
        if (c == 0x1b) continue;
        const std::string bytes(1, static_cast<char>(c));
        EXPECT_TRUE(decodesToChar(bytes, probe.send(bytes, 1), c));
    }
    EXPECT_TRUE(decodesToChar("\x7f", probe.send("\x7f", 1), 8)) << "Backspace";
    EXPECT_TRUE(decodesToChar("\r", probe.send("\r", 1), 13)) << "Enter";
    EXPECT_TRUE(probe.nothingMore());
    EXPECT_FALSE(probe.terminal().status().ended()) << probe.terminal().status();
}

TEST(KeyDecoding, EscapeAltAndIncompleteSequences) {
    KeyProbe probe = keysOn("xterm-256color");
    // A lone Esc comes on its own after a short wait, not with the next key.
    EXPECT_TRUE(decodesToChar("\x1b", probe.send("\x1b", 1), 27));
    // Esc and a letter together: Alt+letter, Alt reported during that read only.
    EXPECT_TRUE(decodesToChar("\x1bx", probe.send("\x1bx", 1), 'x', true));
    EXPECT_TRUE(decodesToChar("\x1bQ", probe.send("\x1bQ", 1), 'Q', true));
    EXPECT_TRUE(decodesToChar("x", probe.send("x", 1), 'x', false));
    // An unknown sequence is dropped whole; the key after it is intact.
    EXPECT_TRUE(decodesToChar("\x1b[99~z", probe.send("\x1b[99~z", 1), 'z'));
    EXPECT_TRUE(decodesToChar("\x1b[1;9Wy", probe.send("\x1b[1;9Wy", 1), 'y'));

    // Esc [ and then nothing: once the wait is over, the next key is a key of
    // its own, not the end of that sequence ("\e[a" would be Shift+Up).
    probe.terminal().type("\x1b[");
    std::this_thread::sleep_for(150ms);
    std::vector<KeyRead> got = probe.drain();
    const std::vector<KeyRead> more = probe.send("a", 1);
    got.insert(got.end(), more.begin(), more.end());
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), (KeyRead{'a', false})) << describe(got);
    // Whatever came for "Esc [" itself: nothing, Esc and '[', or Alt+'['.
    const std::vector<KeyRead> before(got.begin(), got.end() - 1);
    const bool acceptable = before.empty() ||
                            before == std::vector<KeyRead>{{27, false}, {'[', false}} ||
                            before == std::vector<KeyRead>{{'[', true}};
    EXPECT_TRUE(acceptable) << "\\e[ then a gave " << describe(got);
    EXPECT_TRUE(probe.nothingMore());
}

TEST(KeyDecoding, KeysFromAPipeDecodeTheSame) {
    term_harness::Options options = probeOptions("keys");
    options.stdinFromPipe = true;
    KeyProbe probe(std::move(options));
    EXPECT_TRUE(probe.terminal().altScreen()) << "output is still a terminal";
    for (const auto& [name, code] : {std::pair{"Up", 72},
                                     {"F5", 63},
                                     {"Shift+F3", 86},
                                     {"Ctrl+Left", 115},
                                     {"Alt+Delete", 163}}) {
        const std::string bytes = term_harness::xtermKey(name);
        EXPECT_TRUE(decodesToExtended(bytes, probe.send(bytes, 2), code, AltHeld::Maybe)) << name;
    }
    EXPECT_TRUE(decodesToChar("a", probe.send("a", 1), 'a'));
    EXPECT_TRUE(decodesToChar("\x1bk", probe.send("\x1bk", 1), 'k', true));
    EXPECT_TRUE(decodesToChar("\x1b", probe.send("\x1b", 1), 27));
    EXPECT_TRUE(decodesToChar("\r", probe.send("\r", 1), 13));
    EXPECT_TRUE(probe.nothingMore());
}

// --- Sequences from the terminfo entries of common terminals ----------------

// Capability name to the code its key must give.
struct CapabilityCode {
    const char* name;
    int code;
    AltHeld alt = AltHeld::No;
};
constexpr CapabilityCode kEditingCapabilities[] = {
    // plain
    {"kcuu1", 72},
    {"kcud1", 80},
    {"kcub1", 75},
    {"kcuf1", 77},
    {"khome", 71},
    {"kend", 79},
    {"kpp", 73},
    {"knp", 81},
    {"kich1", 82},
    {"kdch1", 83},
    {"kcbt", kShiftTab},
    {"kcbt2", kShiftTab},
    // with Shift: the plain codes
    {"kUP", 72},
    {"kri", 72},
    {"kDN", 80},
    {"kind", 80},
    {"kLFT", 75},
    {"kRIT", 77},
    {"kHOM", 71},
    {"kEND", 79},
    {"kPRV", 73},
    {"kNXT", 81},
    {"kIC", 82},
    {"kDC", 83},
    // with Ctrl
    {"kUP5", 141},
    {"kDN5", 145},
    {"kLFT5", 115},
    {"kRIT5", 116},
    {"kHOM5", 119},
    {"kEND5", 117},
    {"kPRV5", 134},
    {"kNXT5", 118},
    {"kIC5", 146},
    {"kDC5", 147},
    // with Alt
    {"kUP3", 152, AltHeld::Maybe},
    {"kDN3", 160, AltHeld::Maybe},
    {"kLFT3", 155, AltHeld::Maybe},
    {"kRIT3", 157, AltHeld::Maybe},
    {"kHOM3", 151, AltHeld::Maybe},
    {"kEND3", 159, AltHeld::Maybe},
    {"kPRV3", 153, AltHeld::Maybe},
    {"kNXT3", 161, AltHeld::Maybe},
    {"kIC3", 162, AltHeld::Maybe},
    {"kDC3", 163, AltHeld::Maybe},
};

// How a terminal numbers its function keys beyond F12.
enum class FunctionKeys {
    ByModifier,  // xterm: kf13..24 Shift+F1..F12, kf25..36 Ctrl, kf49..60 Alt
    Vt220,       // linux, rxvt: Shift+F1/F2 send F11/F12, so kf13..20 are Shift+F3..F10
};

struct TerminalEntry {
    const char* name;
    FunctionKeys functionKeys;
    std::size_t minimumChecked;  // guards against an entry that failed to load
};

struct ExpectedCode {
    std::string capability;
    int code;
    AltHeld alt;
};

void PrintTo(const TerminalEntry& entry, std::ostream* out) {
    *out << entry.name;
}

std::vector<ExpectedCode> expectedCodes(const TerminalEntry& entry) {
    std::vector<ExpectedCode> codes;
    for (const CapabilityCode& cap : kEditingCapabilities) {
        codes.push_back({cap.name, cap.code, cap.alt});
    }
    for (int n = 1; n <= 12; ++n) {
        const ExtendedKey& key = kExtendedKeys[n - 1];
        const auto kf = [](int number) { return "kf" + std::to_string(number); };
        codes.push_back({kf(n), key.plain, AltHeld::No});
        if (entry.functionKeys == FunctionKeys::ByModifier) {
            codes.push_back({kf(12 + n), key.shift, AltHeld::No});
            codes.push_back({kf(24 + n), key.ctrl, AltHeld::No});
            codes.push_back({kf(48 + n), key.alt, AltHeld::Maybe});
        } else if (n >= 3 && n <= 10) {
            codes.push_back({kf(10 + n), key.shift, AltHeld::No});
        }
    }
    return codes;
}

class TerminfoKeys : public testing::TestWithParam<TerminalEntry> {};

TEST_P(TerminfoKeys, EveryListedKeyDecodes) {
    const TerminalEntry& entry = GetParam();
    const std::map<std::string, std::string> caps = terminfoStrings(entry.name);
    ASSERT_FALSE(caps.empty()) << "no terminfo entry for " << entry.name
                               << " (infocmp missing, or install ncurses-term)";
    KeyProbe probe = keysOn(entry.name);
    std::size_t checked = 0;
    for (const ExpectedCode& expected : expectedCodes(entry)) {
        const auto cap = caps.find(expected.capability);
        if (cap == caps.end()) continue;
        EXPECT_TRUE(
            decodesToExtended(cap->second, probe.send(cap->second, 2), expected.code, expected.alt))
            << expected.capability;
        ++checked;
    }
    if (const auto backspace = caps.find("kbs"); backspace != caps.end()) {
        EXPECT_TRUE(decodesToChar(backspace->second, probe.send(backspace->second, 1), 8)) << "kbs";
        ++checked;
    }
    EXPECT_GE(checked, entry.minimumChecked);
    EXPECT_TRUE(probe.nothingMore());
}

INSTANTIATE_TEST_SUITE_P(
    Terminals, TerminfoKeys,
    testing::Values(TerminalEntry{"xterm-256color", FunctionKeys::ByModifier, 90},
                    TerminalEntry{"screen-256color", FunctionKeys::ByModifier, 20},
                    TerminalEntry{"tmux-256color", FunctionKeys::ByModifier, 90},
                    TerminalEntry{"linux", FunctionKeys::Vt220, 28},
                    TerminalEntry{"rxvt-unicode", FunctionKeys::Vt220, 40}),
    [](const testing::TestParamInfo<TerminalEntry>& entry) {
        std::string name = entry.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

}  // namespace
}  // namespace terminal_test
