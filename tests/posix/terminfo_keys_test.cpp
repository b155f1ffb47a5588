// The key sequences terminfo lists for the common terminals, decoded into
// the console codes their capability names stand for.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "decode.h"
#include "keys/key_decoder.h"

#ifdef HAVE_TERMINFO
#include <curses.h>
#include <term.h>
#endif

namespace orvask::platform::keys {
namespace {

using testing::decodeAll;
using testing::libraryCode;

#ifdef HAVE_TERMINFO

// The console codes (1000 + code) of a key: plain, Shift, Ctrl, Alt.
struct Codes {
    int plain, shift, ctrl, alt;
};

const std::map<std::string, Codes>& namedKeys() {
    static const std::map<std::string, Codes> keys = {
        {"kcuu1", {1072, 1072, 1141, 1152}}, {"kcud1", {1080, 1080, 1145, 1160}},
        {"kcub1", {1075, 1075, 1115, 1155}}, {"kcuf1", {1077, 1077, 1116, 1157}},
        {"khome", {1071, 1071, 1119, 1151}}, {"kend", {1079, 1079, 1117, 1159}},
        {"kpp", {1073, 1073, 1134, 1153}},   {"knp", {1081, 1081, 1118, 1161}},
        {"kich1", {1082, 1082, 1146, 1162}}, {"kdch1", {1083, 1083, 1147, 1163}},
    };
    return keys;
}

// The extended names of modified keys (kUP, kUP3 ... kUP7) by base key.
const std::map<std::string, std::string>& modifiedNames() {
    static const std::map<std::string, std::string> names = {
        {"kUP", "kcuu1"}, {"kDN", "kcud1"}, {"kLFT", "kcub1"}, {"kRIT", "kcuf1"}, {"kHOM", "khome"},
        {"kEND", "kend"}, {"kPRV", "kpp"},  {"kNXT", "knp"},   {"kIC", "kich1"},  {"kDC", "kdch1"},
    };
    return names;
}

// The code of a key under ncurses' modifier suffix (2 Shift, 3 Alt,
// 4 Shift+Alt, 5 Ctrl, 6 Ctrl+Shift, 7 Ctrl+Alt), Ctrl winning over Alt.
int modifiedCode(const Codes& codes, int suffix) {
    if (suffix >= 5) return codes.ctrl;
    if (suffix >= 3) return codes.alt;
    return codes.shift;
}

int functionKeyCode(int n, int modifier) {
    // modifier: 0 plain, 1 Shift, 2 Ctrl, 3 Alt
    if (n <= 10) {
        const int base[] = {1059, 1084, 1094, 1104};
        return base[modifier] + n - 1;
    }
    const int f11[] = {1133, 1135, 1137, 1139};
    return f11[modifier] + (n - 11);
}

// What kfN means: xterm's family numbers the modified F-keys in blocks of
// twelve; rxvt and the Linux console shift F1-F10 onto F11-F20.
int functionCapabilityCode(const std::string& term, int n) {
    const bool xtermStyle = term.find("xterm") != std::string::npos ||
                            term.find("tmux") != std::string::npos ||
                            term.find("screen") != std::string::npos;
    if (n <= 12) return functionKeyCode(n, 0);
    if (!xtermStyle) return n <= 20 ? functionKeyCode(n - 10, 1) : -1;
    const int key = (n - 1) % 12 + 1;
    switch ((n - 1) / 12) {
        case 1:
            return functionKeyCode(key, 1);  // Shift
        case 2:
            return functionKeyCode(key, 2);  // Ctrl
        case 3:
            return functionKeyCode(key, 2);  // Ctrl+Shift
        case 4:
            return functionKeyCode(key, 3);  // Alt
        case 5:
            return functionKeyCode(key, 3);  // Alt+Shift
    }
    return -1;
}

class TerminfoKeys : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        int error = 0;
        if (setupterm(const_cast<char*>(GetParam()), -1, &error) != OK) {
            GTEST_SKIP() << "no terminfo entry for " << GetParam();
        }
    }
    void TearDown() override {
        if (cur_term != nullptr) del_curterm(cur_term);
        cur_term = nullptr;
    }

    // The capability's string, or empty when the terminal has none.
    static std::string capability(const std::string& name) {
        const char* value = tigetstr(const_cast<char*>(name.c_str()));
        if (value == nullptr || value == reinterpret_cast<char*>(-1)) return {};
        return value;
    }

    void expectDecodes(const std::string& name, int expected) {
        const std::string bytes = capability(name);
        if (bytes.empty()) return;
        ++checked_;
        EXPECT_EQ(libraryCode(decodeAll(bytes, terminalFamily(GetParam()))), expected)
            << GetParam() << " " << name;
    }

    int checked_ = 0;
};

TEST_P(TerminfoKeys, EditingAndCursorKeys) {
    for (const auto& [name, codes] : namedKeys())
        expectDecodes(name, codes.plain);
    expectDecodes("kcbt", 1015);
    EXPECT_GE(checked_, 10);
}

TEST_P(TerminfoKeys, FunctionKeysWithModifiers) {
    for (int n = 1; n <= 63; ++n) {
        const int expected = functionCapabilityCode(GetParam(), n);
        if (expected > 0) expectDecodes("kf" + std::to_string(n), expected);
    }
    EXPECT_GE(checked_, 12);
}

TEST_P(TerminfoKeys, ExtendedModifiedKeys) {
    for (const auto& [extended, base] : modifiedNames()) {
        const Codes& codes = namedKeys().at(base);
        expectDecodes(extended, codes.shift);
        for (int suffix = 3; suffix <= 7; ++suffix) {
            expectDecodes(extended + std::to_string(suffix), modifiedCode(codes, suffix));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Terminals, TerminfoKeys,
                         ::testing::Values("xterm-256color", "screen-256color", "tmux-256color",
                                           "linux", "rxvt-unicode"),
                         [](const auto& param) {
                             std::string name = param.param;
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });

#endif  // HAVE_TERMINFO

}  // namespace
}  // namespace orvask::platform::keys
