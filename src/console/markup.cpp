// The colour markup printer: one pass over a text, a backtick and the byte
// after it select colours, glyphs or an integer argument.

#include "orvask/markup.h"

#include <array>
#include <climits>
#include <cstdio>

#include "markup_width.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/platform/backend.h"
#include "orvask/setup.h"
#include "placed_output.h"

namespace orvask {

namespace {

constexpr unsigned char kBacktick = '`';
// Stands for a backtick in the output, so that a text can print one.
constexpr unsigned char kBacktickGlyph = 255;
constexpr int kArgumentCount = 8;

// The letters of the 16 colours in palette order, as colcode writes them.
constexpr char kColourLetters[] = "kbgcrmwyKBGCRMWH";

// What a byte after one backtick means.
enum class Code : unsigned char {
    Foreground,  // value: the colour
    Alarm,       // white on dark red
    Sea,         // dark cyan, background back to the console's
    Plain,       // light grey, background back to the console's
    Glyph,       // value: the glyph; alt: the glyph under code page 949
    Number,      // value: the field width (0 = natural)
    Background,  // a second backtick: the next byte is a background code
};

struct CodeEntry {
    Code code = Code::Foreground;
    unsigned char value = Black;  // bytes outside the table mean black
    unsigned char alt = 0;
};

// What a byte after two backticks means.
enum class BgCode : unsigned char { Ignored, Background, Glyph };

struct BgEntry {
    BgCode code = BgCode::Ignored;
    unsigned char value = 0;
    unsigned char alt = 0;
};

struct ColourLetter {
    char letter;
    unsigned char colour;
};

// Both levels share the colour letters, aliases included.
constexpr ColourLetter kColourTable[] = {
    {'k', 0},  {'b', 1},  {'g', 2},  {'c', 3},  {'r', 4},  {'m', 5},  {'p', 5},
    {'w', 6},  {'y', 7},  {'K', 8},  {'B', 9},  {'G', 10}, {'C', 11}, {'R', 12},
    {'M', 13}, {'P', 13}, {'W', 14}, {'H', 15}, {'Y', 15},
};

constexpr std::size_t at(char c) {
    return static_cast<unsigned char>(c);
}

constexpr std::array<CodeEntry, 256> makeFirstLevel() {
    std::array<CodeEntry, 256> table{};
    for (const ColourLetter& entry : kColourTable) {
        table[at(entry.letter)] = {Code::Foreground, entry.colour, 0};
    }
    table[at('S')] = {Code::Alarm, 0, 0};
    table[at('s')] = {Code::Sea, 0, 0};
    table[at('d')] = {Code::Plain, 0, 0};
    table[at('*')] = {Code::Glyph, 15, 15};
    table[at('-')] = {Code::Glyph, 29, 29};
    table[at('|')] = {Code::Glyph, 18, 18};
    table[at('<')] = {Code::Glyph, 27, 27};
    table[at('>')] = {Code::Glyph, 26, 26};
    table[at('^')] = {Code::Glyph, 24, 24};
    table[at('v')] = {Code::Glyph, 25, 31};
    table[at('~')] = {Code::Glyph, kBacktickGlyph, kBacktickGlyph};
    table[at(' ')] = {Code::Glyph, ' ', ' '};
    for (char digit = '0'; digit <= '9'; ++digit) {
        table[at(digit)] = {Code::Number, static_cast<unsigned char>(digit - '0'), 0};
    }
    table[kBacktick] = {Code::Background, 0, 0};
    return table;
}

constexpr std::array<BgEntry, 256> makeSecondLevel() {
    std::array<BgEntry, 256> table{};
    for (const ColourLetter& entry : kColourTable) {
        table[at(entry.letter)] = {BgCode::Background, entry.colour, 0};
    }
    table[at('<')] = {BgCode::Glyph, 17, 17};
    table[at('>')] = {BgCode::Glyph, 16, '>'};
    table[at('^')] = {BgCode::Glyph, 30, 30};
    table[at('v')] = {BgCode::Glyph, 31, 31};
    return table;
}

constexpr std::array<CodeEntry, 256> kFirstLevel = makeFirstLevel();
constexpr std::array<BgEntry, 256> kSecondLevel = makeSecondLevel();

unsigned char glyphFor(unsigned char glyph, unsigned char glyph949) {
    return getcp() == platform::kCodePage949 ? glyph949 : glyph;
}

// One call of the printer: the read position, the place and the colours.
class Printer {
  public:
    Printer(short x, short y, const char* text, const int (&args)[kArgumentCount])
        : text_(text), args_(args), x_(x), y_(y), fg_(getfg()), bg_(getbg()) {}

    void run() {
        gotoxy(x_, y_);
        // The right edge is tested once per step; a step may still emit a
        // number field or a trailing byte past it.
        while (x_ <= scrw() - 1) {
            const auto c = byteAt(i_);
            if (c == 0 || !step(c)) {
                // Leave the last markup colours current.
                setcolor(fg_, bg_);
                return;
            }
        }
    }

    // The cells the whole text prints, without the right edge: one per
    // emitted glyph, number fields in their width.
    int measure() {
        measuring_ = true;
        while (true) {
            const auto c = byteAt(i_);
            if (c == 0 || !step(c)) return cells_;
        }
    }

  private:
    unsigned char byteAt(std::size_t i) const { return static_cast<unsigned char>(text_[i]); }

    void emit(unsigned char glyph) {
        if (measuring_) {
            ++cells_;
        } else if (glyph == '\n' && !vpon()) {
            newLine();
        } else {
            Pmch(glyph, fg_, bg_, x_, y_);
        }
    }

    // A newline in direct output goes on as the console takes one: the next
    // glyph lands at the start of the next row, where the cursor is moved.
    // Nothing is handed to the console, so on the last row the rest of the
    // text falls off the screen instead of scrolling it.
    void newLine() {
        setcolor(fg_, bg_);
        if (y_ == SHRT_MAX) {
            x_ = SHRT_MAX;  // no row below: the next edge test ends the text
            return;
        }
        x_ = 0;
        ++y_;
        gotoxy(x_, y_);
    }

    // Interprets the code or byte at the read position. False when the
    // text ends inside a code: it ends there as at its terminator.
    bool step(unsigned char c) {
        if (c != kBacktick) {
            emit(c);
            ++i_;
            return true;
        }
        const auto k = byteAt(i_ + 1);
        if (k == 0) return false;
        const CodeEntry& entry = kFirstLevel[k];
        switch (entry.code) {
            case Code::Glyph:
                emit(glyphFor(entry.value, entry.alt));
                i_ += 2;
                return true;
            case Code::Background:
                return backgroundCode();
            case Code::Number:
                i_ += 2;
                number(entry.value);
                break;
            case Code::Alarm:
                fg_ = White;
                bg_ = DarkRed;
                i_ += 2;
                break;
            case Code::Sea:
                fg_ = DarkCyan;
                bg_ = getbg();
                i_ += 2;
                break;
            case Code::Plain:
                fg_ = LightGrey;
                bg_ = getbg();
                i_ += 2;
                break;
            case Code::Foreground:
                fg_ = entry.value;
                i_ += 2;
                break;
        }
        trailingByte();
        return true;
    }

    bool backgroundCode() {
        const auto k = byteAt(i_ + 2);
        if (k == 0) return false;
        const BgEntry& entry = kSecondLevel[k];
        i_ += 3;
        if (entry.code == BgCode::Glyph) {
            emit(glyphFor(entry.value, entry.alt));
            return true;
        }
        if (entry.code == BgCode::Background) bg_ = entry.value;
        trailingByte();
        return true;
    }

    // The byte right after a colour or number code is printed in the same
    // step; a backtick there starts the next code instead.
    void trailingByte() {
        const auto t = byteAt(i_);
        if (t == 0 || t == kBacktick) return;
        emit(t);
        ++i_;
    }

    // Inserts the next argument, in its natural width or cut/padded to a
    // field of `width` columns. A text has one argument per number code; a
    // code beyond the eighth prints nothing.
    void number(int width) {
        if (++argument_ >= kArgumentCount) return;
        char buffer[20];
        const int value = args_[argument_];
        const int length = width == 0 ? std::snprintf(buffer, sizeof buffer, "%d", value)
                                      : std::snprintf(buffer, sizeof buffer, "%*d", width, value);
        const int shown = width == 0 ? length : width;
        for (int n = 0; n < shown && n < length; ++n)
            emit(static_cast<unsigned char>(buffer[n]));
    }

    const char* text_;
    const int (&args_)[kArgumentCount];
    short x_;
    short y_;
    unsigned char fg_;
    unsigned char bg_;
    std::size_t i_ = 0;
    int argument_ = -1;
    bool measuring_ = false;
    int cells_ = 0;
};

constexpr int kNoArguments[kArgumentCount] = {};

}  // namespace

namespace detail {

int markupWidth(const char* text) {
    return Printer(0, 0, text != nullptr ? text : "", kNoArguments).measure();
}

}  // namespace detail

// Both ways a glyph lands at its own place (x, y), or nowhere when that is
// not a writable cell. Past the right edge (a number field or the byte after
// a code, emitted in one step) the console itself writes on at the start of
// the next row, as it wraps; a page has no next row for it.
void Pmch(unsigned char glyph, unsigned char fg, unsigned char bg, short& x, short y) {
    const unsigned char shown = glyph == kBacktickGlyph ? kBacktick : glyph;
    const bool paging = vpon();
    if (!paging) setcolor(fg, bg);
    if (glyph == kBacktick) return;
    if (paging) {
        Pxyp(x, y, shown, fg, bg);
    } else if (const int width = scrw(); width > 0 && x >= width) {
        // Past the right edge the console goes on at the start of the next
        // row; a row off the screen has no next row on it.
        if (y >= 0) detail::placeGlyph(x % width, y + x / width, shown);
    } else {
        detail::placeGlyph(x, y, shown);
    }
    ++x;
}

void Pm(short x, short y, const char* text, int a1, int a2, int a3, int a4, int a5, int a6, int a7,
        int a8) {
    const int args[kArgumentCount] = {a1, a2, a3, a4, a5, a6, a7, a8};
    Printer(x, y, text != nullptr ? text : "", args).run();
}

void Pmc(const char* text, int a1, int a2, int a3, int a4, int a5, int a6, int a7, int a8) {
    Pm(static_cast<short>(wherex()), static_cast<short>(wherey()), text, a1, a2, a3, a4, a5, a6, a7,
       a8);
}

void colcode(char* dst, unsigned char colour) {
    dst[0] = static_cast<char>(kBacktick);
    dst[1] = colour < 16 ? kColourLetters[colour] : 'y';
    dst[2] = '\0';
}

void colpair(char* dst, unsigned char fg, unsigned char bg) {
    colcode(dst, fg);
    dst[2] = static_cast<char>(kBacktick);
    colcode(dst + 3, bg);
}

}  // namespace orvask
