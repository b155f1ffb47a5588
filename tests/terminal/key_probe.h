#pragma once
// The probe in "keys" mode, driven one key at a time: send the bytes a
// terminal sends, get back what readKey() returned for them.

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "term_harness/terminal.h"

namespace terminal_test {

struct KeyRead {
    int code = 0;
    bool alt = false;  // keyDown(Alt) right after the read
    friend bool operator==(const KeyRead&, const KeyRead&) = default;
};
void PrintTo(const KeyRead& key, std::ostream* out);

class KeyProbe {
  public:
    explicit KeyProbe(term_harness::Options options);

    // Types `bytes` and waits until at least `expected` more codes have been
    // read (or a timeout). Returns every code read since the previous call.
    std::vector<KeyRead> send(std::string_view bytes, int expected);
    // Waits until the probe has been idle for a while and returns the codes
    // read since the previous call.
    std::vector<KeyRead> drain();
    // True when drain() finds nothing: no code beyond those already returned.
    bool nothingMore() { return drain().empty(); }

    term_harness::Terminal& terminal() { return term_; }

  private:
    int readCount() const;
    KeyRead entry(int index) const;
    std::vector<KeyRead> collect();

    term_harness::Terminal term_;
    int seen_ = 0;
};

// Bytes with control characters spelled out ("\e[1;2P") for messages.
std::string spelled(std::string_view bytes);
// "224 72 (alt)" style rendering of what was read.
std::string describe(const std::vector<KeyRead>& keys);

// Whether keyDown(Alt) may be true while a key is read: never for a key
// typed without Alt; for one typed with Alt the key really is held.
enum class AltHeld { No, Maybe };

// What readKey() must give for a key without a character: the prefix 0 or
// 224, then `code`.
testing::AssertionResult decodesToExtended(std::string_view bytes, const std::vector<KeyRead>& got,
                                           int code, AltHeld alt = AltHeld::No);
// Exactly one code, `code`, with Alt reported as `alt`.
testing::AssertionResult decodesToChar(std::string_view bytes, const std::vector<KeyRead>& got,
                                       int code, bool alt = false);

}  // namespace terminal_test
