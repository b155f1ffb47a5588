// The terminal key decoder on arbitrary bytes in arbitrary chunks:
//  * every code lies in the documented ranges: 1..255 for a character, and a
//    0 prefix is always followed, with the same Alt flag, by the code of a
//    function key or Shift+Tab;
//  * the keys are the same whether the bytes come whole or in chunks (taking
//    the keys out between chunks or not), and nothing is held once settled;
//  * a complete known sequence decodes to its key at once, whatever came
//    before it, once that was settled.

#include <fuzzer/FuzzedDataProvider.h>

#include <set>
#include <span>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "keys/key_decoder.h"
#include "keys/key_sequences.h"
#include "keys/key_table.h"

namespace orvask::platform::keys {
namespace {

std::vector<KeyEvent> drain(KeyDecoder& decoder) {
    std::vector<KeyEvent> keys;
    for (KeyEvent key{}; decoder.next(key);)
        keys.push_back(key);
    FUZZ_CHECK(!decoder.ready(), "ready with no key left");
    return keys;
}

// The codes that follow a 0 prefix: F1 to F10 in each modifier, Shift+Tab.
std::set<int> prefixZeroCodes() {
    std::set<int> codes;
    for (const keys::KeyRow& row : keys::kKeyRows) {
        if (row.prefix != kKeyPrefix || row.plain == 0) continue;
        codes.insert({row.plain, row.shift, row.ctrl, row.alt});
    }
    return codes;
}

void checkRanges(const std::vector<KeyEvent>& keys) {
    static const std::set<int> kAfterZero = prefixZeroCodes();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        FUZZ_CHECK(keys[i].code >= 0 && keys[i].code <= 255, "code %d", keys[i].code);
        if (keys[i].code != kKeyPrefix) continue;
        FUZZ_CHECK(i + 1 < keys.size(), "a 0 prefix with no code after it");
        FUZZ_CHECK(kAfterZero.count(keys[i + 1].code) == 1, "code %d after a 0 prefix",
                   keys[i + 1].code);
        FUZZ_CHECK(keys[i + 1].alt == keys[i].alt, "the halves of a key differ in Alt");
        ++i;
    }
}

// What the decoder of `terminal` must make of a row's bytes: the row of
// its own terminal with those bytes, else the shared one.
std::vector<KeyEvent> expectedKeys(std::string_view bytes, Terminal terminal) {
    const KeySequence* chosen = nullptr;
    for (const KeySequence& row : keySequences()) {
        if (row.bytes != bytes) continue;
        if (row.terminal == terminal) {
            chosen = &row;
            break;
        }
        if (row.terminal == Terminal::Any && chosen == nullptr) chosen = &row;
    }
    const bool alt = (chosen->modifiers & (mod::Alt | mod::Meta)) != 0;
    if (chosen->key == Key::KeypadEnter) return {{13, alt}};
    return {{keys::rowOf(chosen->key).prefix, alt},
            {keys::codeUnder(chosen->key, chosen->modifiers), alt}};
}

}  // namespace
}  // namespace orvask::platform::keys

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvask::platform::keys;
    FuzzedDataProvider in(data, size);
    static constexpr Terminal kTerminals[] = {Terminal::Any, Terminal::Linux, Terminal::Rxvt};
    const Terminal terminal = in.PickValueInArray(kTerminals);
    const int codePage = in.ConsumeBool() ? 437 : 949;
    const bool drainBetweenChunks = in.ConsumeBool();
    const std::size_t rowIndex = in.ConsumeIntegral<std::size_t>();
    std::vector<std::size_t> chunks;
    for (int n = in.ConsumeIntegralInRange(0, 16); n > 0; --n)
        chunks.push_back(in.ConsumeIntegralInRange<std::size_t>(0, 8));
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    KeyDecoder whole(terminal);
    whole.setCodePage(codePage);
    whole.feed(bytes);
    whole.settle();
    FUZZ_CHECK(!whole.holding(), "bytes held after settling");
    const std::vector<KeyEvent> keys = drain(whole);
    checkRanges(keys);

    KeyDecoder chunked(terminal);
    chunked.setCodePage(codePage);
    std::vector<KeyEvent> chunkedKeys;
    std::size_t at = 0;
    for (std::size_t i = 0; at < bytes.size(); ++i) {
        const std::size_t length = i < chunks.size() ? chunks[i] : bytes.size() - at;
        chunked.feed(std::string_view(bytes).substr(at, length));
        at += std::min(length, bytes.size() - at);
        if (drainBetweenChunks) {
            for (const KeyEvent& key : drain(chunked))
                chunkedKeys.push_back(key);
        }
    }
    chunked.settle();
    for (const KeyEvent& key : drain(chunked))
        chunkedKeys.push_back(key);
    FUZZ_CHECK(chunkedKeys == keys, "%zu keys whole, %zu in chunks", keys.size(),
               chunkedKeys.size());

    // A known sequence of this terminal after the settled noise.
    std::vector<const KeySequence*> rows;
    for (const KeySequence& row : keySequences()) {
        if (row.terminal == Terminal::Any || row.terminal == terminal) rows.push_back(&row);
    }
    const KeySequence& row = *rows[rowIndex % rows.size()];
    whole.feed(row.bytes);
    const std::vector<KeyEvent> after = drain(whole);
    FUZZ_CHECK(after == expectedKeys(row.bytes, terminal),
               "a known sequence (%zu bytes) decoded to %zu codes after noise", row.bytes.size(),
               after.size());
    return 0;
}
