// The input box: a framed one-line prompt drawn straight onto the console,
// a spinning cursor while it waits for keys, and on closing the screen put
// back from the shown page (paging on) or the box blanked (paging off).

#include "orvask/inputbox.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "box_effects.h"
#include "orvask/keyboard.h"
#include "orvask/output.h"
#include "orvask/pages.h"
#include "orvask/setup.h"
#include "orvask/timers.h"
#include "placed_output.h"

namespace orvask {

namespace {

constexpr int kYesNoAny = InputYesNo | InputYesNoStrict;
constexpr const char* kSeparator = " : ";
constexpr char kStrictHint[] = "Press 'Y' to confirm.";
constexpr int kHintLength = sizeof kStrictHint - 1;
constexpr int kHintOffset = 10;  // the hint starts this far right of the box
constexpr unsigned char kHintFg = White;
constexpr unsigned char kHintBg = Black;
constexpr std::uint32_t kHintMs = 500;
constexpr std::uint32_t kSpinnerStepMs = 40;
constexpr int kSpinnerSteps = 8;  // entries 1..8 of the spinner are shown
// Frame, prompt and cursor cell take this many columns besides the prompt
// and the field: right = x + P + maxlen + kFrameExtra.
constexpr int kFrameExtra = 5;
constexpr int kStyleOpen = BoxFill | BoxDirect;  // single lines, filled, on the console
constexpr int kStyleBlank = BoxBlank | BoxFill;  // spaces only: erases the box

// Positions are worked out in int and handed to the library as 16-bit
// coordinates; the box is refused beforehand if they would not fit.
short s(int v) {
    return static_cast<short>(v);
}

bool isAsciiLetter(int k) {
    return (k >= 'A' && k <= 'Z') || (k >= 'a' && k <= 'z');
}
bool isAsciiDigit(int k) {
    return k >= '0' && k <= '9';
}

// Where the box stands, after centring.
struct Layout {
    int x;
    int y;
    int right;
    int field;  // first input column
    int row() const { return y + 1; }
};

Layout place(int x, int y, int promptLength, int maxlen, int flags) {
    if (x == -1) x = scrw() / 2 - (promptLength + maxlen + 4) / 2;
    if (y == -1) y = scrh() / 2 - 2;
    int right = x + promptLength + maxlen + kFrameExtra;
    if (flags & BoxCentreX) {
        const int half = (right - x) / 2;
        x -= half;
        right -= half;
    }
    return {x, y, right, x + promptLength + 4};
}

// Dims what the console shows below and right of the box, as read from the
// shown page (which holds the colours as shown); the page itself keeps the
// undimmed cells for the repaint.
void shadowCell(int x, int y) {
    if (!inscr(s(x), s(y))) return;
    const Cell* under = shownCell(s(x), s(y));
    if (under == nullptr) return;
    Pxy(s(x), s(y), under->glyph, darker(under->fg), darker(under->bg));
}

// Keeps the spinner turning until a key is waiting. False when input has
// ended for good, so that no key can ever come.
bool waitForKey(const Layout& b, int pos, int& spin, unsigned char textfg, unsigned char bg) {
    while (!keywaiting()) {
        if (inputended()) return false;
        spin = spin % kSpinnerSteps + 1;
        Pxy(s(b.field + pos), s(b.row()), spinner[spin], textfg, bg);
        pace(kSpinnerStepMs);
    }
    return true;
}

void showStrictHint(const Layout& b) {
    // Clipped at the screen's edge, so that the repaint takes all of it back.
    detail::placeRow(b.x + kHintOffset, b.y + 3, kStrictHint, kHintFg, kHintBg);
    if (!vpon()) return;  // without pages there is nothing to restore it from
    pace(kHintMs);
    Repaint(s(b.x + kHintOffset), s(b.y + 3), s(b.x + kHintOffset + kHintLength - 1), s(b.y + 3));
    keyflush();
}

// Whether a typed character may enter the field in this mode.
bool accepted(int k, int flags) {
    if ((flags & InputIdentifier) && !isAsciiLetter(k) && !isAsciiDigit(k) && k != '-' &&
        k != '_') {
        return false;
    }
    if ((flags & InputNumber) && !isAsciiDigit(k) && k != '-') return false;
    if ((flags & InputNoMinus) && k == '-') return false;
    return true;
}

enum class Outcome { Open, Confirmed, Cancelled };

// The text being entered and what each key does to it. The buffer holds
// `capacity` characters and the terminator.
struct Entry {
    char* buffer;
    int pos;
    int capacity;
    int flags;
    Layout frame;
    unsigned char textfg;
    unsigned char bg;

    // Stores a one-character result where the buffer has room for it.
    void store(char c) {
        if (capacity < 1) return;
        buffer[0] = c;
        pos = 1;
    }

    // Esc, or the end of input: a number box leaves "0", a yes/no box "n";
    // otherwise the text typed so far stays.
    void cancel() {
        if (flags & kYesNoAny) {
            store('n');
        } else if (flags & InputNumber) {
            store('0');
        }
    }

    // Yes/no: every key but a lenient or strict 'y' answers at once.
    Outcome answer(int k) {
        if (k == 'y' && !(flags & InputYesNo)) {
            showStrictHint(frame);
            return Outcome::Open;
        }
        store(k == 'Y' || k == 'y' ? 'Y' : 'n');
        return Outcome::Confirmed;
    }

    Outcome type(int k) {
        switch (k) {
            case key::Esc:
                cancel();
                return Outcome::Cancelled;
            case key::Enter:
                return Outcome::Confirmed;
            case key::Backspace:
                if (pos > 0) --pos;
                // Clears the old cursor cell; the spinner moves onto the
                // removed character. A field without room for a character
                // has no such cell: the next one is the frame.
                if (pos < capacity) Pxy(s(frame.field + pos + 1), s(frame.row()), ' ', textfg, bg);
                buffer[pos] = '\0';
                return Outcome::Open;
            default:
                insert(k);
                return Outcome::Open;
        }
    }

    void insert(int k) {
        // Codes from the extended offset on are keys without a character
        // (arrows, function keys, Alt+letter).
        if (k >= key::Extended) return;
        if ((flags & InputIdentifier) && k == key::Space) k = lastkey = '_';
        if (pos >= capacity || !accepted(k, flags)) return;
        const char shown = (flags & InputPassword) ? '*' : static_cast<char>(k);
        Pxy(s(frame.field + pos), s(frame.row()), shown, textfg, bg);
        buffer[pos++] = static_cast<char>(k);
    }
};

// A box must lie within the 16-bit coordinates of the console, with its
// shadow when it has one and the hint when it is strict; a larger one would
// wrap round and be drawn in the wrong place.
bool fitsCoordinates(const Layout& b, int flags) {
    int rightmost = b.right;
    int bottom = b.y + 2;
    if (flags & BoxShadow) {
        rightmost = b.right + 1;
        bottom = b.y + 3;
    }
    if ((flags & kYesNoAny) == InputYesNoStrict) {
        rightmost = std::max(rightmost, b.x + kHintOffset + kHintLength - 1);
        bottom = b.y + 3;
    }
    return b.x >= SHRT_MIN && b.y >= SHRT_MIN && rightmost <= SHRT_MAX && bottom <= SHRT_MAX;
}

}  // namespace

int inputbox(short x0, short y0, const char* prompt, char* buffer, int maxlen,
             unsigned char framefg, unsigned char bg, unsigned char textfg, int flags) {
    if (buffer == nullptr) return 0;
    if (prompt == nullptr) prompt = "";
    const bool yesNo = (flags & kYesNoAny) != 0;
    // A yes/no box answers in one character whatever maxlen says: its buffer
    // holds two bytes. Refused sizes draw nothing; a buffer known to hold a
    // byte is left empty.
    if (yesNo) maxlen = 1;
    if (maxlen < 0) return 0;
    const std::size_t promptBytes = std::strlen(prompt);
    const auto refuse = [buffer] {
        buffer[0] = '\0';
        return 0;
    };
    if (promptBytes > SHRT_MAX || maxlen > SHRT_MAX) return refuse();
    const Layout b = place(x0, y0, static_cast<int>(promptBytes), maxlen, flags);
    if (!fitsCoordinates(b, flags)) return refuse();

    const bool paging = vpon();
    if (paging) Page();  // the shown page must match the console before we cover it

    if (flags & BoxAnimate) detail::openingAnimation(b.x, b.y, b.right, framefg, bg);
    box(s(b.x), s(b.y), s(b.right), s(b.y + 2), framefg, bg, kStyleOpen);
    if (paging && (flags & BoxShadow)) detail::forEachShadowCell(b.x, b.y, b.right, shadowCell);
    // Prompt and separator are clipped at the screen's edges: nothing may
    // land outside the rectangle that closing restores.
    const int promptLength = static_cast<int>(promptBytes);
    detail::placeRow(b.x + 1, b.row(), prompt, textfg, bg);
    detail::placeRow(b.x + 1 + promptLength, b.row(), kSeparator, textfg, bg);

    Entry entry{buffer, 0, maxlen, flags, b, textfg, bg};
    int spin = 0;
    keyflush();  // a key still held from before must not answer the box

    Outcome outcome = Outcome::Open;
    while (outcome == Outcome::Open) {
        // At the end of input no key can ever come: cancel instead of
        // spinning for ever.
        const bool keyCame = waitForKey(b, entry.pos, spin, textfg, bg);
        if (keyCame) getkey();
        if (!keyCame || lastkey < 0) {
            entry.cancel();
            outcome = Outcome::Cancelled;
        } else {
            outcome = yesNo ? entry.answer(lastkey) : entry.type(lastkey);
        }
    }
    buffer[entry.pos] = '\0';

    if (paging) {
        const int shadow = (flags & BoxShadow) ? 1 : 0;
        Repaint(s(b.x), s(b.y), s(b.right + shadow), s(b.y + 2 + shadow));
    } else {
        box(s(b.x), s(b.y), s(b.right), s(b.y + 2), getfg(), Black, kStyleBlank);
    }
    return outcome == Outcome::Cancelled ? 0 : 1;
}

}  // namespace orvask
