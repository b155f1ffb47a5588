#pragma once
// Turns the bytes a terminal sends into the key codes of a Windows console
// read: characters as code page bytes, keys without a character as a prefix
// (0 or 224) and a code, each with a flag telling whether Alt was held.
// The POSIX backend decodes its terminal with it; the Windows backend, keys
// that come through a pipe (a terminal without a console, such as mintty).
//
// The contract:
//   * Bytes may come in chunks of any size; the keys are the same however
//     the stream is cut. A complete sequence is decoded as soon as its last
//     byte arrives.
//   * The decoder knows no clock. It holds back the bytes that may still be
//     the start of a sequence (a lone Esc, "Esc [", half a UTF-8 character)
//     until more bytes come, or until the caller settles them. The caller
//     settles only after feeding everything already waiting on the input and
//     then seeing no byte for the Esc timeout (or at the end of input), so a
//     sequence split across reads is never taken apart.
//   * A runaway sequence (no final byte within 32 bytes) is dropped up to
//     its final byte, or up to the next settling, whichever comes first: a
//     key typed after a pause is never lost to it.
//   * A typed character whose code page bytes include 0 or 224 is dropped:
//     a reader would take such a byte for the prefix of a key without a
//     character and swallow the next key with it.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "key_sequences.h"

namespace orvask::platform::keys {

// Bytes held back as the possible start of a sequence are settled once no
// byte has come for this long.
inline constexpr std::uint32_t kEscTimeoutMs = 50;
// Where no physical key state is known, a key that came with Alt keeps Alt
// reading as held until the next key, for at most this long (so that a wait
// for every key to be let go still ends).
inline constexpr std::uint32_t kAltHoldMs = 200;

class KeyDecoder {
  public:
    explicit KeyDecoder(Terminal terminal = Terminal::Any) : terminal_(terminal) {}

    // The code page typed characters are turned into (437 or 949).
    void setCodePage(int codePage) { codePage_ = codePage; }

    void feed(const char* bytes, std::size_t count);
    void feed(std::string_view bytes) { feed(bytes.data(), bytes.size()); }
    // No further byte came within the Esc timeout (or input ended): what is
    // held back is decided now: a lone Esc is the Esc key, "Esc [" is
    // Alt+[, and a truncated sequence is dropped whole. Ends a runaway.
    void settle();

    // Bytes are held back waiting for the rest of a sequence.
    bool holding() const { return !pending_.empty() || skipping_; }
    bool ready() const { return !keys_.empty(); }
    // Takes the next key code; false when there is none.
    bool next(KeyEvent& event);

  private:
    enum class Scan { Complete, Partial, Unknown, Overlong };

    void decode(bool settling);
    std::size_t decodeOne(std::size_t at, bool settling);
    std::size_t decodeCharacter(std::size_t at, bool settling, bool alt);
    std::size_t decodeSequence(std::size_t at, bool settling, bool alt);
    Scan scan(std::size_t at, std::size_t& length, const KeySequence*& row,
              unsigned& modifiers) const;
    const KeySequence* lookupModified(std::string_view bytes, unsigned& modifiers) const;
    const KeySequence* find(std::string_view bytes) const;
    bool startsLongerRow(std::string_view bytes) const;
    bool eligible(const KeySequence& row, bool fallback) const;

    void emit(int code, bool alt) { keys_.push_back({code, alt}); }
    void emitCharacter(char32_t codePoint, bool alt);

    Terminal terminal_;
    int codePage_ = 437;
    std::string pending_;
    bool skipping_ = false;  // dropping the rest of an overlong sequence
    std::deque<KeyEvent> keys_;
};

}  // namespace orvask::platform::keys
