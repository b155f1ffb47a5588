// avl-demo's command line on a real terminal: answers that leave the
// terminal alone, a prepared start, and a recorded session.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "demo_terminal.h"
#include "term_harness/screen.h"
#include "term_harness/tty_modes.h"

namespace avl::testing {
namespace {

// --help, --version and refusals print and end without taking the terminal.
TEST(DemoCommandLineE2e, AnswersLeaveTheTerminalUntouched) {
    const struct {
        const char* argument;
        int status;
        const char* shown;
    } cases[] = {
        {"--help", 0, "Usage: avl-demo [OPTION]..."},
        {"--version", 0, "Orvask 1.2"},
        {"--slow=99", 2, "Try 'avl-demo --help' for more information."},
    };
    for (const auto& c : cases) {
        term_harness::Terminal term({.argv = {AVL_DEMO_PATH, c.argument}});
        EXPECT_TRUE(term.waitForExit().exitedWith(c.status)) << c.argument;
        EXPECT_TRUE(term.contains(c.shown)) << term.screenText();
        EXPECT_FALSE(term.altScreen()) << c.argument;
        EXPECT_EQ(term.screen().titleStackDepth(), 0u) << c.argument;
        const auto modes = term.ttyModes();
        ASSERT_TRUE(modes.has_value());
        EXPECT_EQ(term_harness::describeModeDifference(term.initialModes(), *modes), "")
            << c.argument;
    }
}

// The prepared keys make the first screen: the finished tree, no animation.
TEST(DemoCommandLineE2e, KeysShowTheFinishedTreeOnTheFirstScreen) {
    const std::string keys = "123abcZ";
    DemoTerminal demo(false, {"--keys", keys});
    demo.assume(keys);
    ASSERT_TRUE(demo.enterDemo()) << demo.gridDifferences() << demo.term().screenText();
    EXPECT_EQ(demo.term().rowText(0).find("rotation"), std::string::npos);
    demo.key("Esc");
    EXPECT_TRUE(demo.term().waitForExit().exitedWith(0));
}

// A small JSON reader, enough to check each line of a recording.
struct Json {
    std::variant<std::nullptr_t, bool, double, std::string, std::vector<Json>> value;
};

class JsonReader {
  public:
    explicit JsonReader(const std::string& text) : text_(text) {}
    // The one value the text holds; false when it is no JSON.
    bool read(Json& out) {
        if (!value(out)) return false;
        space();
        return at_ == text_.size();
    }

  private:
    void space() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
    }
    bool take(char c) {
        space();
        if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
        return false;
    }
    bool value(Json& out) {
        space();
        if (at_ >= text_.size()) return false;
        const char c = text_[at_];
        if (c == '"') {
            std::string s;
            if (!string(s)) return false;
            out.value = s;
            return true;
        }
        if (c == '[' || c == '{') return container(out, c == '{');
        for (const auto& [word, literal] : {std::pair<const char*, Json>{"true", {true}},
                                            {"false", {false}},
                                            {"null", {nullptr}}}) {
            if (text_.compare(at_, std::strlen(word), word) == 0) {
                at_ += std::strlen(word);
                out = literal;
                return true;
            }
        }
        char* end = nullptr;
        const double number = std::strtod(text_.c_str() + at_, &end);
        if (end == text_.c_str() + at_) return false;
        at_ = static_cast<std::size_t>(end - text_.c_str());
        out.value = number;
        return true;
    }
    // Objects are read as their values in order (the keys are checked as strings).
    bool container(Json& out, bool object) {
        ++at_;
        std::vector<Json> items;
        if (!take(object ? '}' : ']')) {
            do {
                if (object) {
                    std::string key;
                    space();
                    if (!string(key) || !take(':')) return false;
                }
                Json item;
                if (!value(item)) return false;
                items.push_back(std::move(item));
            } while (take(','));
            if (!take(object ? '}' : ']')) return false;
        }
        out.value = std::move(items);
        return true;
    }
    bool string(std::string& out) {
        static constexpr std::pair<char, char> kEscapes[] = {
            {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'b', '\b'}, {'f', '\f'}};
        if (at_ >= text_.size() || text_[at_] != '"') return false;
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') return ++at_, true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++at_ >= text_.size()) return false;
            const char escaped = text_[at_];
            if (escaped == 'u') {
                if (at_ + 4 >= text_.size()) return false;
                const unsigned code = std::stoul(text_.substr(at_ + 1, 4), nullptr, 16);
                if (code >= 0x80) return false;  // the recording escapes only ASCII
                out += static_cast<char>(code);
                at_ += 4;
                continue;
            }
            char plain = escaped;  // a quote, a backslash and a slash stand for themselves
            for (const auto& [letter, byte] : kEscapes) {
                if (letter == escaped) plain = byte;
            }
            out += plain;
        }
        return false;
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

// A recorded session is a valid asciicast, and playing it back shows what the
// terminal showed; ended by a signal, it has lost nothing.
TEST(DemoCommandLineE2e, ARecordedSessionPlaysBackAsItWasSeen) {
    namespace fs = std::filesystem;
    const fs::path file =
        fs::path(::testing::TempDir()) / ("avl-demo-session-" + std::to_string(getpid()) + ".cast");
    fs::remove(file);
    DemoTerminal demo(false, {"--record", file.string()});
    ASSERT_TRUE(demo.enterDemo()) << demo.term().screenText();
    for (const char* key : {"m", "f", "t", "c", "a"})
        demo.key(key);
    ASSERT_TRUE(demo.waitForMirror()) << demo.gridDifferences();
    demo.term().waitQuiet();
    std::vector<term_harness::Cell> seen;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 80; ++x)
            seen.push_back(demo.term().cell(x, y));
    }
    ASSERT_TRUE(demo.term().sendSignal(SIGTERM));
    ASSERT_TRUE(demo.term().waitForExit().ended());

    std::ifstream recording(file);
    std::string line;
    ASSERT_TRUE(std::getline(recording, line));
    Json header;
    ASSERT_TRUE(JsonReader(line).read(header)) << line;
    EXPECT_EQ(line.rfind("{\"version\": 2, \"width\": 80, \"height\": 25,", 0), 0u) << line;
    term_harness::Screen replay(80, 25);
    double last = 0;
    int events = 0;
    while (std::getline(recording, line)) {
        Json event;
        ASSERT_TRUE(JsonReader(line).read(event)) << line;
        const auto& fields = std::get<std::vector<Json>>(event.value);
        ASSERT_EQ(fields.size(), 3u) << line;
        const double at = std::get<double>(fields[0].value);
        EXPECT_GE(at, last) << line;
        last = at;
        EXPECT_EQ(std::get<std::string>(fields[1].value), "o");
        replay.feed(std::get<std::string>(fields[2].value));
        ++events;
    }
    EXPECT_GT(events, 5);
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 80; ++x) {
            const term_harness::Cell& was = seen[static_cast<std::size_t>(y * 80 + x)];
            const term_harness::Cell played = replay.cell(x, y);
            ASSERT_EQ(played.glyph(), was.glyph()) << x << "," << y;
            ASSERT_TRUE(played.sameLook(was) || (played.glyph() == U' ' && played.bg == was.bg))
                << x << "," << y;
        }
    }
    fs::remove(file);
}

// A recording that can no longer be written (here a file size limit) stops,
// the session goes on; the file ends with its last whole line, and at the
// end one line on standard error says why, with status 1.
TEST(DemoCommandLineE2e, ARecordingThatCannotBeWrittenStopsNotTheProgram) {
    namespace fs = std::filesystem;
    const fs::path file =
        fs::path(::testing::TempDir()) / ("avl-demo-limited-" + std::to_string(getpid()) + ".cast");
    fs::remove(file);
    term_harness::Terminal term(
        {.argv = {"/bin/sh", "-c", "ulimit -f 8; exec \"$0\" --record \"$1\"", AVL_DEMO_PATH,
                  file.string()}});
    ASSERT_TRUE(term.waitForText("Press any key to continue...")) << term.screenText();
    term.type("x");
    ASSERT_TRUE(term.waitForText("Exit : Esc")) << term.screenText();
    term.type("mfc");
    ASSERT_TRUE(term.waitForText("R rotation at")) << term.screenText();
    term.press("Esc");
    EXPECT_TRUE(term.waitForExit().exitedWith(1)) << term.status();
    EXPECT_TRUE(term.contains("avl-demo: the recording stopped: cannot write"))
        << term.screenText();
    const auto modes = term.ttyModes();
    ASSERT_TRUE(modes.has_value());
    EXPECT_EQ(term_harness::describeModeDifference(term.initialModes(), *modes), "");

    std::ifstream recording(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(recording)), {});
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << "cut in the middle of a line";
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        Json value;
        EXPECT_TRUE(JsonReader(line).read(value)) << line;
    }
    fs::remove(file);
}

}  // namespace
}  // namespace avl::testing
