#include "key_decoder.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "glyphs/glyph_table.h"
#include "glyphs/utf8.h"

namespace orvask::platform::keys {

namespace {

constexpr char kEsc = 0x1b;
// Longer than any key sequence; a run without a final byte by then is noise,
// dropped up to and including its final byte.
constexpr std::size_t kMaxSequence = 32;

bool isParameter(unsigned char b) {
    return b >= 0x30 && b <= 0x3F;
}
bool isIntermediate(unsigned char b) {
    return b >= 0x20 && b <= 0x2F;
}
bool isFinal(unsigned char b) {
    return b >= 0x40 && b <= 0x7E;
}

bool isRxvtSuffix(char c, unsigned* modifiers = nullptr) {
    for (const ModifierSuffix& s : rxvtModifierSuffixes()) {
        if (s.suffix == c) {
            if (modifiers != nullptr) *modifiers = s.modifiers;
            return true;
        }
    }
    return false;
}

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The numbers of a parameter string such as "1;5"; an empty field is 0.
std::vector<int> parameters(std::string_view text) {
    std::vector<int> numbers;
    if (text.empty()) return numbers;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        int value = 0;
        std::from_chars(text.data() + start, text.data() + end, value);
        numbers.push_back(value);
        if (end == text.size()) break;
        start = end + 1;
    }
    return numbers;
}

// xterm's modifier parameter: 1 + Shift 1 + Alt 2 + Ctrl 4 + Meta 8.
unsigned modifiersOf(int parameter) {
    return parameter > 1 ? static_cast<unsigned>(parameter - 1) & 0x0F : 0;
}

}  // namespace

void KeyDecoder::feed(const char* bytes, std::size_t count) {
    pending_.append(bytes, count);
    decode(false);
}

void KeyDecoder::settle() {
    skipping_ = false;  // the silence ends a runaway sequence too
    decode(true);
}

bool KeyDecoder::next(KeyEvent& event) {
    if (keys_.empty()) return false;
    event = keys_.front();
    keys_.pop_front();
    return true;
}

void KeyDecoder::decode(bool settling) {
    std::size_t at = 0;
    while (at < pending_.size()) {
        if (skipping_) {
            const auto b = static_cast<unsigned char>(pending_[at]);
            if (isParameter(b) || isIntermediate(b)) {
                ++at;
                continue;
            }
            skipping_ = false;
            if (isFinal(b)) ++at;
            continue;
        }
        const std::size_t used = decodeOne(at, settling);
        if (used == 0) break;
        at += used;
    }
    pending_.erase(0, at);
}

// Decodes the key that starts at `at`; returns the bytes it took, or 0 when
// more bytes are needed to tell.
std::size_t KeyDecoder::decodeOne(std::size_t at, bool settling) {
    if (pending_[at] != kEsc) return decodeCharacter(at, settling, false);
    const std::size_t left = pending_.size() - at;
    if (left == 1) {
        if (!settling) return 0;
        emit(27, false);
        return 1;
    }
    const char second = pending_[at + 1];
    if (second == '[' || second == 'O') return decodeSequence(at, settling, false);
    if (second == kEsc) {
        // Esc Esc: a meta-prefixed sequence (Alt+Up sent as "Esc Esc [ A"),
        // or simply two presses of Esc.
        if (left == 2 && !settling) return 0;
        if (left > 2 && (pending_[at + 2] == '[' || pending_[at + 2] == 'O')) {
            const std::size_t used = decodeSequence(at + 1, settling, true);
            return used == 0 ? 0 : used + 1;
        }
        emit(27, false);
        return 1;
    }
    // A two-byte form of this terminal (the Linux console's Shift+Tab), or
    // Esc and a character within the timeout: Alt and that character.
    if (const KeySequence* row = find(std::string_view(pending_).substr(at, 2))) {
        keys::appendKey(keys_, row->key, row->modifiers);
        return 2;
    }
    const std::size_t used = decodeCharacter(at + 1, settling, true);
    return used == 0 ? 0 : used + 1;
}

std::size_t KeyDecoder::decodeCharacter(std::size_t at, bool settling, bool alt) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(pending_.data()) + at;
    const std::size_t left = pending_.size() - at;
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        if (isKeyPrefix(lead)) return 1;  // Ctrl+Space: no console key, and would read as a prefix
        emit(lead == 0x7F ? 8 : lead, alt);
        return 1;
    }
    const std::size_t length = glyphs::utf8Length(lead);
    if (length == 0) return 1;
    for (std::size_t i = 1; i < std::min(length, left); ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 1;  // broken off: drop the lead byte
    }
    if (left < length) return settling ? left : 0;
    char32_t codePoint = 0;
    if (!glyphs::decodeUtf8(bytes, length, codePoint)) return 1;
    emitCharacter(codePoint, alt);
    return length;
}

void KeyDecoder::emitCharacter(char32_t codePoint, bool alt) {
    for (char c : glyphs::typedBytes(codePage_, codePoint))
        emit(static_cast<unsigned char>(c), alt);
}

std::size_t KeyDecoder::decodeSequence(std::size_t at, bool settling, bool alt) {
    std::size_t length = 0;
    const KeySequence* row = nullptr;
    unsigned modifiers = 0;
    switch (scan(at, length, row, modifiers)) {
        case Scan::Complete:
            keys::appendKey(keys_, row->key, modifiers | (alt ? mod::Alt : 0u));
            return length;
        case Scan::Unknown:
            return length;
        case Scan::Overlong:
            skipping_ = true;
            return kMaxSequence;
        case Scan::Partial:
            break;
    }
    if (!settling) return 0;
    const std::size_t left = pending_.size() - at;
    if (left == 2) {
        // "Esc [" or "Esc O" and nothing more: Alt+[ or Alt+O.
        emit(static_cast<unsigned char>(pending_[at + 1]), true);
        return 2;
    }
    return left;  // a sequence cut short is dropped whole
}

KeyDecoder::Scan KeyDecoder::scan(std::size_t at, std::size_t& length, const KeySequence*& row,
                                  unsigned& modifiers) const {
    const std::string_view all = std::string_view(pending_).substr(at);
    const bool ss3 = all[1] == 'O';
    const std::size_t limit = std::min(all.size(), kMaxSequence);
    for (std::size_t i = 3; i <= limit; ++i) {
        const std::string_view bytes = all.substr(0, i);
        if (const KeySequence* exact = find(bytes)) {
            row = exact;
            modifiers = exact->modifiers;
            length = i;
            return Scan::Complete;
        }
        const auto b = static_cast<unsigned char>(bytes.back());
        const std::string_view body = bytes.substr(2, i - 3);
        const bool suffix = !ss3 && isRxvtSuffix(bytes.back()) && allDigits(body);
        if (!suffix && (isParameter(b) || (!ss3 && isIntermediate(b)))) continue;
        if (!suffix && !isFinal(b)) {
            // A control byte or Esc inside: the sequence was broken off.
            // Drop what came before; that byte starts afresh.
            length = i - 1;
            return Scan::Unknown;
        }
        if (startsLongerRow(bytes)) continue;  // "Esc [ [" of the Linux console
        length = i;
        row = lookupModified(bytes, modifiers);
        return row != nullptr ? Scan::Complete : Scan::Unknown;
    }
    if (all.size() >= kMaxSequence) return Scan::Overlong;
    return Scan::Partial;
}

// A complete sequence that is no row itself: a base form with modifiers.
const KeySequence* KeyDecoder::lookupModified(std::string_view bytes, unsigned& modifiers) const {
    const char final = bytes.back();
    const std::vector<int> params = parameters(bytes.substr(2, bytes.size() - 3));
    const KeySequence* row = nullptr;
    unsigned extra = 0;
    if (bytes[1] == 'O') {
        // "SS3 2P": Shift+F1 of older xterms and some emulators.
        if (params.empty()) return nullptr;
        row = find(std::string{kEsc, 'O', final});
        extra = modifiersOf(params.back());
    } else if (isRxvtSuffix(final, &extra)) {
        if (params.size() != 1) return nullptr;
        row = find("\x1b[" + std::to_string(params[0]) + "~");
    } else if (final == '~') {
        if (params.size() != 2) return nullptr;
        row = find("\x1b[" + std::to_string(params[0]) + "~");
        extra = modifiersOf(params[1]);
    } else {
        // "CSI 1;5A" and friends; the base form is "CSI A" or "SS3 P".
        if (params.size() != 2 || params[0] != 1) return nullptr;
        row = find(std::string{kEsc, '[', final});
        if (row == nullptr) row = find(std::string{kEsc, 'O', final});
        extra = modifiersOf(params[1]);
    }
    if (row == nullptr) return nullptr;
    modifiers = row->modifiers | extra;
    return row;
}

bool KeyDecoder::eligible(const KeySequence& row, bool fallback) const {
    if (!fallback) return row.terminal == terminal_ || row.terminal == Terminal::Any;
    // Another terminal's rows are a fallback only for CSI and SS3 forms:
    // "Esc Tab" is Shift+Tab on the Linux console but Alt+Tab elsewhere.
    return row.bytes.size() > 2 && (row.bytes[1] == '[' || row.bytes[1] == 'O');
}

const KeySequence* KeyDecoder::find(std::string_view bytes) const {
    for (bool fallback : {false, true}) {
        // This terminal's own rows first, so they win over the shared ones.
        for (bool own : {true, false}) {
            for (const KeySequence& row : keySequences()) {
                if (row.bytes != bytes || !eligible(row, fallback)) continue;
                if (!fallback && own != (row.terminal == terminal_)) continue;
                return &row;
            }
        }
    }
    return nullptr;
}

bool KeyDecoder::startsLongerRow(std::string_view bytes) const {
    for (const KeySequence& row : keySequences()) {
        if (row.bytes.size() > bytes.size() && row.bytes.starts_with(bytes) &&
            eligible(row, true)) {
            return true;
        }
    }
    return false;
}

}  // namespace orvask::platform::keys
