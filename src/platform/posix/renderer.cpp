#include "renderer.h"

#include <algorithm>
#include <utility>

#include "cp949_codec.h"
#include "glyph_table.h"
#include "utf8.h"

namespace orvask::platform::posix {

namespace {

constexpr char32_t kUnknownGlyph = 0xFFFFFFFF;  // never equal to a wanted cell
constexpr std::size_t kMaxTitle = 255;

int ansiColour(int consoleColour) {
    return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
}

void appendNumber(std::string& out, int value) {
    out += std::to_string(value);
}

const char* cursorStyleSequence(int size) {
    if (size == 25) return "\x1b[0 q";  // the console default: the terminal's own style
    if (size >= 50) return "\x1b[2 q";  // steady block
    return "\x1b[4 q";                  // steady underline
}

}  // namespace

std::string colourSequence(std::uint8_t attribute) {
    const int fg = attribute & 0x0F;
    const int bg = attribute >> 4;
    std::string out = "\x1b[";
    appendNumber(out, (fg & 8 ? 90 : 30) + ansiColour(fg));
    out += ';';
    appendNumber(out, (bg & 8 ? 100 : 40) + ansiColour(bg));
    out += 'm';
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
    title_.clear();
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
    out += "\x1b[0m\x1b[H\x1b[2J";
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
        if (!(want[static_cast<std::size_t>(x)] == shown[x]))
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
        moveTo(x, y, out);
        useAttribute(cell.attribute, out);
        appendUtf8(out, cell.glyph);
        shown[x] = cell;
        if (cell.width == 2 && x + 1 < width) shown[x + 1] = want[static_cast<std::size_t>(x) + 1];
        cursorX_ += cell.width;
        // At the last column the terminal keeps its cursor there (or waits to
        // wrap): its position is no longer known for sure.
        if (terminal.x > 0 && cursorX_ >= terminal.x) cursorX_ = cursorY_ = -1;
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
    moveTo(model.cursor().x, model.cursor().y, out);
    setVisibility(Visibility::Shown, out);
}

void Renderer::renderTitle(const ConsoleModel& model, std::string& out) {
    // Compared as the terminal shows it: the same bytes read differently
    // once the code page changes.
    std::string title = sanitizeTitle(model.title, model.outputCodePage);
    if (title == title_) return;
    title_ = std::move(title);
    out += "\x1b]2;";
    out += title_;
    out += '\x07';
}

void Renderer::renderNotice(const ConsoleModel& model, Coord terminal, std::string& out) {
    if (noticeShown_ && noticeTerminal_ == terminal && noticeModel_ == model.size()) return;
    noticeShown_ = true;
    noticeTerminal_ = terminal;
    noticeModel_ = model.size();
    valid_ = false;
    const std::string lines[] = {
        "The terminal is too small.",
        "Please make it at least " + std::to_string(model.width()) + " x " +
            std::to_string(model.height()) + ".",
        "(It is " + std::to_string(terminal.x) + " x " + std::to_string(terminal.y) + " now.)",
    };
    const int count = static_cast<int>(std::size(lines));
    out += "\x1b[0m\x1b[H\x1b[2J";
    attribute_ = -1;
    setVisibility(Visibility::Hidden, out);
    const int top = std::max(0, (terminal.y - count) / 2);
    for (int i = 0; i < count && top + i < terminal.y; ++i) {
        const std::string line = lines[i].substr(0, static_cast<std::size_t>(terminal.x));
        const int left = (terminal.x - static_cast<int>(line.size())) / 2;
        cursorX_ = cursorY_ = -1;
        moveTo(left, top + i, out);
        out += line;
    }
    cursorX_ = cursorY_ = -1;
}

void Renderer::moveTo(int x, int y, std::string& out) {
    if (x == cursorX_ && y == cursorY_) return;
    if (y == cursorY_ && cursorX_ >= 0 && x > cursorX_) {
        out += "\x1b[";
        if (x - cursorX_ > 1) appendNumber(out, x - cursorX_);
        out += 'C';
    } else {
        out += "\x1b[";
        appendNumber(out, y + 1);
        out += ';';
        appendNumber(out, x + 1);
        out += 'H';
    }
    cursorX_ = x;
    cursorY_ = y;
}

void Renderer::setVisibility(Visibility visibility, std::string& out) {
    if (visibility == visibility_) return;
    out += visibility == Visibility::Shown ? "\x1b[?25h" : "\x1b[?25l";
    visibility_ = visibility;
}

void Renderer::useAttribute(std::uint8_t attribute, std::string& out) {
    if (attribute == attribute_) return;
    out += colourSequence(attribute);
    attribute_ = attribute;
}

}  // namespace orvask::platform::posix
