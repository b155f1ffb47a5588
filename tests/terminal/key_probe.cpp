#include "key_probe.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace terminal_test {

namespace {
using namespace std::chrono_literals;
// The probe shows the codes on rows 1..22, entry i on row 1 + i % 22.
constexpr int kShownEntries = 22;
}  // namespace

KeyProbe::KeyProbe(term_harness::Options options) : term_(std::move(options)) {
    if (!term_.waitForText("keys read: 0")) {
        ADD_FAILURE() << "the probe did not start:\n" << term_.screenText();
    }
}

int KeyProbe::readCount() const {
    const std::string row = term_.rowText(0);
    const std::string label = "keys read: ";
    if (row.compare(0, label.size(), label) != 0) return -1;
    return std::atoi(row.c_str() + label.size());
}

KeyRead KeyProbe::entry(int index) const {
    const std::string row = term_.rowText(1 + index % kShownEntries);
    int shown = -1, code = 0;
    char alt[8] = "";
    if (std::sscanf(row.c_str(), "key %d: %d %7s", &shown, &code, alt) != 3 || shown != index) {
        ADD_FAILURE() << "row for key " << index << " unreadable: " << row;
        return {-1000, false};
    }
    return {code, std::string(alt) == "alt"};
}

std::vector<KeyRead> KeyProbe::collect() {
    const int count = readCount();
    std::vector<KeyRead> keys;
    if (count - seen_ > kShownEntries) {
        ADD_FAILURE() << count - seen_ << " codes at once; only the last " << kShownEntries
                      << " are shown";
        seen_ = count - kShownEntries;
    }
    for (int i = seen_; i < count; ++i)
        keys.push_back(entry(i));
    if (count > seen_) seen_ = count;
    return keys;
}

std::vector<KeyRead> KeyProbe::send(std::string_view bytes, int expected) {
    if (!term_.type(bytes)) ADD_FAILURE() << "could not type " << spelled(bytes);
    term_.waitUntil([&] { return readCount() >= seen_ + expected; }, 1000ms);
    return collect();
}

std::vector<KeyRead> KeyProbe::drain() {
    term_.waitQuiet(100ms, 1000ms);
    return collect();
}

std::string spelled(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == 0x1B) {
            out += "\\e";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void PrintTo(const KeyRead& key, std::ostream* out) {
    *out << key.code << (key.alt ? " (alt)" : "");
}

std::string describe(const std::vector<KeyRead>& keys) {
    if (keys.empty()) return "nothing";
    std::string out;
    for (const KeyRead& key : keys) {
        if (!out.empty()) out += ' ';
        out += std::to_string(key.code);
        if (key.alt) out += " (alt)";
    }
    return out;
}

testing::AssertionResult decodesToExtended(std::string_view bytes, const std::vector<KeyRead>& got,
                                           int code, AltHeld alt) {
    const bool altOk = alt == AltHeld::Maybe ||
                       std::none_of(got.begin(), got.end(), [](const KeyRead& k) { return k.alt; });
    const bool ok =
        got.size() == 2 && (got[0].code == 0 || got[0].code == 224) && got[1].code == code && altOk;
    if (ok) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << spelled(bytes) << " gave " << describe(got) << ", expected 0 or 224 then " << code;
}

testing::AssertionResult decodesToChar(std::string_view bytes, const std::vector<KeyRead>& got,
                                       int code, bool alt) {
    if (got.size() == 1 && got[0] == KeyRead{code, alt}) return testing::AssertionSuccess();
    return testing::AssertionFailure() << spelled(bytes) << " gave " << describe(got)
                                       << ", expected " << code << (alt ? " (alt)" : "");
}

}  // namespace terminal_test
