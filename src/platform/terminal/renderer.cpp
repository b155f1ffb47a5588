#include "renderer.h"

#include <algorithm>

#include "escape_sequences.h"
#include "glyphs/cp949_codec.h"
#include "glyphs/glyph_table.h"
#include "glyphs/utf8.h"
#include "size_notice.h"

namespace orvask::platform::terminal {

using glyphs::appendUtf8;
using glyphs::decodeCp949;
using glyphs::isCp949LeadByte;
using glyphs::screenRow;
using glyphs::singleByteGlyph;

namespace {

constexpr char32_t kUnknownGlyph = 0xFFFFFFFF;  // never equal to a wanted cell
constexpr std::size_t kMaxTitle = 255;

int ansiColour(int consoleColour) {
    return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
}

void appendNumber(std::string& out, int value) {
    out += std::to_string(value);
}

// A blank shows only its background: its foreground may be anything.
bool isBlank(const ScreenCell& cell) {
    return cell.glyph == U' ' && cell.width == 1;
}

bool sameBackground(int a, int b) {
    return (a >> 4) == (b >> 4);
}

// Whether the terminal shows the two cells alike.
bool looksSame(const ScreenCell& a, const ScreenCell& b) {
    return a.glyph == b.glyph && a.width == b.width &&
           (a.attribute == b.attribute || (isBlank(a) && sameBackground(a.attribute, b.attribute)));
}

int fgCode(int attribute) {
    const int fg = attribute & 0x0F;
    return (fg & 8 ? 90 : 30) + ansiColour(fg);
}

int bgCode(int attribute) {
    const int bg = attribute >> 4;
    return (bg & 8 ? 100 : 40) + ansiColour(bg);
}

// "CSI n <final>", with the parameter left out where it is the default 1.
std::string csi(int n, char final) {
    std::string out(seq::kCsi);
    if (n != 1) appendNumber(out, n);
    out += final;
    return out;
}

// The absolute move, with the defaults left out: "CSI H" is the top-left
// corner, "CSI r H" column 1 of row r.
std::string jump(int x, int y) {
    std::string out(seq::kCsi);
    if (y != 0 || x != 0) appendNumber(out, y + 1);
    if (x != 0) {
        out += ';';
        appendNumber(out, x + 1);
    }
    out += seq::kCursorPosition;
    return out;
}

std::string_view cursorStyleSequence(int size) {
    if (size == 25) return seq::kCursorOwnStyle;  // the console default
    if (size >= 50) return seq::kCursorBlock;
    return seq::kCursorUnderline;
}

// Plain colours, the cursor home and every cell blank.
void clearScreen(std::string& out) {
    out += seq::kPlainColours;
    out += seq::kHome;
    out += seq::kClearScreen;
}

// "CSI n m": one SGR colour number.
void appendColour(std::string& out, int code) {
    out += seq::kCsi;
    appendNumber(out, code);
    out += seq::kColours;
}

}  // namespace

std::string colourSequence(std::uint8_t attribute) {
    std::string out(seq::kCsi);
    appendNumber(out, fgCode(attribute));
    out += ';';
    appendNumber(out, bgCode(attribute));
    out += seq::kColours;
    return out;
}

std::string sanitizeTitle(std::string_view title, int codePage) {
    std::string out;
    for (std::size_t i = 0; i < title.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(title[i]);
        std::string glyph;
        if (byte < 0x20 || byte == 0x7F) continue;
        if (codePage == kCodePage949 && isCp949LeadByte(byte) && i + 1 < title.size()) {
            if (const char32_t cp = decodeCp949(byte, static_cast<std::uint8_t>(title[i + 1]))) {
                appendUtf8(glyph, cp);
                ++i;
            }
        }
        if (glyph.empty()) appendUtf8(glyph, singleByteGlyph(codePage, byte));
        if (out.size() + glyph.size() > kMaxTitle) break;
        out += glyph;
    }
    return out;
}

void Renderer::invalidate() {
    valid_ = false;
    noticeShown_ = false;
    cursorX_ = cursorY_ = -1;
    attribute_ = -1;
    visibility_ = Visibility::Unknown;
    cursorSize_ = kDefaultCursorSize;
    title_.reset();
}

void Renderer::render(const ConsoleModel& model, Coord terminal, std::string& out) {
    renderTitle(model, out);
    const bool known = terminal.x > 0 && terminal.y > 0;
    if (known && (terminal.x < model.width() || terminal.y < model.height())) {
        renderNotice(model, terminal, out);
        return;
    }
    if (noticeShown_) {
        noticeShown_ = false;
        valid_ = false;
    }
    if (!valid_ || shownSize_ != model.size() || shownCodePage_ != model.outputCodePage) {
        repaintAll(model, out);
    }
    for (int y = 0; y < model.height(); ++y) {
        screenRow(model, y, want_);
        renderRow(y, want_, terminal, out);
    }
    renderCursor(model, out);
}

void Renderer::repaintAll(const ConsoleModel& model, std::string& out) {
    clearScreen(out);
    attribute_ = -1;
    cursorX_ = cursorY_ = 0;
    shownSize_ = model.size();
    shownCodePage_ = model.outputCodePage;
    shown_.assign(
        static_cast<std::size_t>(model.width()) * static_cast<std::size_t>(model.height()),
        ScreenCell{kUnknownGlyph, 0, 1});
    valid_ = true;
}

void Renderer::renderRow(int y, std::vector<ScreenCell>& want, Coord terminal, std::string& out) {
    const int width = static_cast<int>(want.size());
    ScreenCell* shown =
        shown_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    dirty_.assign(want.size(), false);
    bool any = false;
    for (int x = 0; x < width; ++x) {
        if (!looksSame(want[static_cast<std::size_t>(x)], shown[x]))
            dirty_[static_cast<std::size_t>(x)] = any = true;
    }
    if (!any) return;
    // A wide glyph is drawn whole: redrawing either half, or overwriting half
    // of one the terminal shows, takes in the neighbour.
    for (bool grew = true; grew;) {
        grew = false;
        for (int x = 0; x < width; ++x) {
            if (!dirty_[static_cast<std::size_t>(x)]) continue;
            const auto mark = [&](int at) {
                if (at >= 0 && at < width && !dirty_[static_cast<std::size_t>(at)]) {
                    dirty_[static_cast<std::size_t>(at)] = grew = true;
                }
            };
            const ScreenCell& w = want[static_cast<std::size_t>(x)];
            if (w.width == 0 || shown[x].width == 0) mark(x - 1);
            if (w.width == 2 || shown[x].width == 2) mark(x + 1);
        }
    }
    if (visibility_ != Visibility::Hidden) setVisibility(Visibility::Hidden, out);
    for (int x = 0; x < width; ++x) {
        const ScreenCell& cell = want[static_cast<std::size_t>(x)];
        if (!dirty_[static_cast<std::size_t>(x)] || cell.width == 0) continue;
        moveTo(x, y, out, shown);
        // A blank keeps the pen's foreground: only its background shows.
        const bool keepFg = isBlank(cell) && attribute_ >= 0;
        useAttribute(keepFg
                         ? static_cast<std::uint8_t>((cell.attribute & 0xF0) | (attribute_ & 0x0F))
                         : cell.attribute,
                     out);
        appendUtf8(out, cell.glyph);
        shown[x] = cell;
        if (cell.width == 2 && x + 1 < width) shown[x + 1] = want[static_cast<std::size_t>(x) + 1];
        cursorX_ += cell.width;
        // At the terminal's last column the cursor stays there (or waits to
        // wrap): its position is no longer known for sure. A terminal of
        // unknown size may end right after the model.
        if (cursorX_ >= (terminal.x > 0 ? terminal.x : width)) cursorX_ = cursorY_ = -1;
    }
}

void Renderer::renderCursor(const ConsoleModel& model, std::string& out) {
    if (!model.cursorVisible) {
        setVisibility(Visibility::Hidden, out);
        return;
    }
    if (model.cursorSize != cursorSize_) {
        out += cursorStyleSequence(model.cursorSize);
        cursorSize_ = model.cursorSize;
    }
    const Coord at = model.cursor();
    const bool known = valid_ && at.y < shownSize_.y && shownSize_.x == model.width();
    moveTo(at.x, at.y, out,
           known ? shown_.data() +
                       static_cast<std::size_t>(at.y) * static_cast<std::size_t>(shownSize_.x)
                 : nullptr);
    setVisibility(Visibility::Shown, out);
}

void Renderer::renderTitle(const ConsoleModel& model, std::string& out) {
    // Compared as shown: the code page changes how the same bytes look.
    std::string shown = sanitizeTitle(model.title, model.outputCodePage);
    if (title_ == shown) return;
    out += seq::kTitleStart;
    out += shown;
    out += seq::kTitleEnd;
    title_ = std::move(shown);
}

void Renderer::renderNotice(const ConsoleModel& model, Coord terminal, std::string& out) {
    if (noticeShown_ && noticeTerminal_ == terminal && noticeModel_ == model.size()) return;
    noticeShown_ = true;
    noticeTerminal_ = terminal;
    noticeModel_ = model.size();
    valid_ = false;
    clearScreen(out);
    attribute_ = -1;
    setVisibility(Visibility::Hidden, out);
    for (const NoticeLine& line : sizeNotice(model.size(), terminal)) {
        cursorX_ = cursorY_ = -1;
        moveTo(line.x, line.y, out);
        out += line.text;
    }
    cursorX_ = cursorY_ = -1;
}

void Renderer::moveTo(int x, int y, std::string& out, const ScreenCell* row) {
    if (x == cursorX_ && y == cursorY_) return;
    std::string best = jump(x, y);
    const auto consider = [&best](std::string candidate) {
        if (candidate.size() < best.size()) best = std::move(candidate);
    };
    if (cursorX_ >= 0 && cursorY_ >= 0) {
        // Down by line feeds (the column stays) or a relative step; up by a
        // relative step. The horizontal part then starts from cursorX_.
        std::string vertical;
        if (y > cursorY_) {
            const int down = y - cursorY_;
            vertical = down <= 3 ? std::string(static_cast<std::size_t>(down), '\n')
                                 : csi(down, seq::kCursorDown);
        } else if (y < cursorY_) {
            vertical = csi(cursorY_ - y, seq::kCursorUp);
        }
        const int from = cursorX_;
        if (x == from) consider(vertical);
        if (x == 0) consider(vertical + '\r');
        if (x > from) {
            consider(vertical + csi(x - from, seq::kCursorRight));
            if (auto cells = rewrite(row, from, x)) consider(vertical + *cells);
        }
        if (x < from) {
            const int left = from - x;
            consider(vertical + (left <= 3 ? std::string(static_cast<std::size_t>(left), '\b')
                                           : csi(left, seq::kCursorLeft)));
            if (auto cells = rewrite(row, 0, x)) consider(vertical + '\r' + *cells);
        }
        consider(vertical + csi(x + 1, seq::kCursorColumn));
    }
    out += best;
    cursorX_ = x;
    cursorY_ = y;
}

std::optional<std::string> Renderer::rewrite(const ScreenCell* row, int from, int to) const {
    if (row == nullptr || attribute_ < 0) return std::nullopt;
    std::string bytes;
    for (int x = from; x < to; ++x) {
        const ScreenCell& cell = row[x];
        const bool samePen = cell.attribute == attribute_ ||
                             (isBlank(cell) && sameBackground(cell.attribute, attribute_));
        if (cell.width != 1 || cell.glyph == kUnknownGlyph || !samePen) return std::nullopt;
        appendUtf8(bytes, cell.glyph);
    }
    return bytes;
}

void Renderer::setVisibility(Visibility visibility, std::string& out) {
    if (visibility == visibility_) return;
    out += visibility == Visibility::Shown ? seq::kShowCursor : seq::kHideCursor;
    visibility_ = visibility;
}

void Renderer::useAttribute(std::uint8_t attribute, std::string& out) {
    if (attribute == attribute_) return;
    const bool sameFg = attribute_ >= 0 && fgCode(attribute_) == fgCode(attribute);
    const bool sameBg = attribute_ >= 0 && bgCode(attribute_) == bgCode(attribute);
    if (sameBg) {
        appendColour(out, fgCode(attribute));
    } else if (sameFg) {
        appendColour(out, bgCode(attribute));
    } else {
        out += colourSequence(attribute);
    }
    attribute_ = attribute;
}

}  // namespace orvask::platform::terminal
