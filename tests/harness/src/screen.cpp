#include "term_harness/screen.h"

#include <vterm.h>

#include <algorithm>

namespace term_harness {

std::string toUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string Cell::utf8() const {
    return toUtf8(glyph());
}

namespace {

int colourIndex(const VTermColor& colour, bool background) {
    if (background ? VTERM_COLOR_IS_DEFAULT_BG(&colour) : VTERM_COLOR_IS_DEFAULT_FG(&colour)) {
        return kDefaultColour;
    }
    if (VTERM_COLOR_IS_INDEXED(&colour)) return colour.indexed.idx;
    return kRgbColour;
}

// The cell to the right of a double-width glyph carries this marker.
constexpr std::uint32_t kWideContinuation = 0xFFFFFFFFu;

}  // namespace

struct Screen::Callbacks {
    static int setTermProp(VTermProp prop, VTermValue* value, void* user) {
        auto* self = static_cast<Screen*>(user);
        switch (prop) {
            case VTERM_PROP_CURSORVISIBLE:
                self->cursorVisible_ = value->boolean != 0;
                break;
            case VTERM_PROP_CURSORBLINK:
                self->cursorBlink_ = value->boolean != 0;
                break;
            case VTERM_PROP_CURSORSHAPE:
                self->cursorShape_ = value->number;
                break;
            case VTERM_PROP_ALTSCREEN:
                self->altScreen_ = value->boolean != 0;
                break;
            case VTERM_PROP_TITLE:
                self->title_ = value->string ? value->string : "";
                break;
            default:
                break;
        }
        return 1;
    }
    static int bell(void* user) {
        ++static_cast<Screen*>(user)->bells_;
        return 1;
    }
    // Sequences libvterm leaves to its user. Kept: xterm's title stack
    // (CSI 22 ; Ps t pushes the title, CSI 23 ; Ps t pops it), which a
    // program uses to give the user's title back.
    static int unrecognisedCsi(const char* leader, const long args[], int argCount,
                               const char* intermediates, char command, void* user) {
        auto* self = static_cast<Screen*>(user);
        if (command != 't' || (leader && *leader) || (intermediates && *intermediates) ||
            argCount < 1) {
            return 0;
        }
        const long op = CSI_ARG(args[0]);
        const long which = argCount > 1 ? CSI_ARG_OR(args[1], 0) : 0;
        if (which != 0 && which != 2) return 1;  // icon name only
        if (op == 22) {
            self->titleStack_.push_back(self->title_);
        } else if (op == 23 && !self->titleStack_.empty()) {
            self->title_ = self->titleStack_.back();
            self->titleStack_.pop_back();
        }
        return 1;
    }
    static void reply(const char* bytes, std::size_t length, void* user) {
        auto* self = static_cast<Screen*>(user);
        if (self->replySink_) self->replySink_(std::string_view(bytes, length));
    }
};

void Screen::VTermDeleter::operator()(VTerm* vt) const {
    vterm_free(vt);
}

Screen::Screen(int cols, int rows) : vt_(vterm_new(rows, cols)), cols_(cols), rows_(rows) {
    VTerm* vt = vt_.get();
    vterm_set_utf8(vt, 1);
    vterm_output_set_callback(vt, &Callbacks::reply, this);
    VTermScreen* screen = vterm_obtain_screen(vt);
    vterm_screen_enable_altscreen(screen, 1);
    static const VTermScreenCallbacks callbacks = [] {
        VTermScreenCallbacks c{};
        c.settermprop = &Callbacks::setTermProp;
        c.bell = &Callbacks::bell;
        return c;
    }();
    vterm_screen_set_callbacks(screen, &callbacks, this);
    static const VTermParserCallbacks fallbacks = [] {
        VTermParserCallbacks c{};
        c.csi = &Callbacks::unrecognisedCsi;
        return c;
    }();
    vterm_screen_set_unrecognised_fallbacks(screen, &fallbacks, this);
    // The reset reports the initial cursor and screen properties.
    vterm_screen_reset(screen, 1);
}

Screen::~Screen() = default;

void Screen::setReplySink(std::function<void(std::string_view)> sink) {
    replySink_ = std::move(sink);
}

void Screen::feed(std::string_view bytes) {
    // libvterm decodes a UTF-8 character cut in two by the reads as two bad
    // ones: hold an incomplete character back until its rest has come.
    std::string whole = std::move(heldBack_);
    whole.append(bytes);
    std::size_t complete = whole.size();
    for (std::size_t back = 1; back <= 3 && back <= whole.size(); ++back) {
        const auto byte = static_cast<unsigned char>(whole[whole.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (length > back) complete = whole.size() - back;
        break;
    }
    heldBack_ = whole.substr(complete);
    whole.resize(complete);
    trackPrivateModes(whole);
    vterm_input_write(vt_.get(), whole.data(), whole.size());
    vterm_screen_flush_damage(vterm_obtain_screen(vt_.get()));
}

// libvterm keeps DECCKM to itself, so follow "ESC [ ? Pm h" and "... l" here.
void Screen::trackPrivateModes(std::string_view bytes) {
    for (char c : bytes) {
        switch (modeScan_) {
            case 0:
                if (c == '\x1b') modeScan_ = 1;
                break;
            case 1:
                modeScan_ = c == '[' ? 2 : (c == '\x1b' ? 1 : 0);
                break;
            case 2:
                if (c == '?') {
                    modeScan_ = 3;
                    modeParams_.clear();
                } else {
                    modeScan_ = c == '\x1b' ? 1 : 0;
                }
                break;
            default:
                if ((c >= '0' && c <= '9') || c == ';') {
                    modeParams_ += c;
                    break;
                }
                if (c == 'h' || c == 'l') {
                    std::size_t start = 0;
                    while (start <= modeParams_.size()) {
                        std::size_t end = modeParams_.find(';', start);
                        if (end == std::string::npos) end = modeParams_.size();
                        if (modeParams_.substr(start, end - start) == "1") {
                            applicationCursorKeys_ = c == 'h';
                        }
                        start = end + 1;
                    }
                }
                modeScan_ = c == '\x1b' ? 1 : 0;
                break;
        }
    }
}

void Screen::resize(int cols, int rows) {
    cols_ = cols;
    rows_ = rows;
    vterm_set_size(vt_.get(), rows, cols);
}

Cell Screen::cell(int col, int row) const {
    Cell out;
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return out;
    VTermScreenCell raw{};
    if (!vterm_screen_get_cell(vterm_obtain_screen(vt_.get()), VTermPos{row, col}, &raw)) {
        return out;
    }
    out.ch = raw.chars[0] == kWideContinuation ? 0 : raw.chars[0];
    out.width = raw.width;
    out.fg = colourIndex(raw.fg, false);
    out.bg = colourIndex(raw.bg, true);
    out.bold = raw.attrs.bold;
    out.underline = raw.attrs.underline != 0;
    out.italic = raw.attrs.italic;
    out.blink = raw.attrs.blink;
    out.reverse = raw.attrs.reverse;
    return out;
}

std::string Screen::rowText(int row) const {
    std::string out;
    for (int col = 0; col < cols_; ++col) {
        const Cell c = cell(col, row);
        out += c.utf8();
        if (c.width > 1) col += c.width - 1;
    }
    return out;
}

std::string Screen::text() const {
    std::string out;
    for (int row = 0; row < rows_; ++row)
        out += rowText(row) + '\n';
    return out;
}

Position Screen::find(std::string_view utf8) const {
    for (int row = 0; row < rows_; ++row) {
        const std::string line = rowText(row);
        const std::size_t at = line.find(utf8);
        if (at == std::string::npos) continue;
        // Count the code points before the match to get its column.
        const int col = static_cast<int>(std::count_if(line.begin(), line.begin() + at, [](char b) {
            return (static_cast<unsigned char>(b) & 0xC0) != 0x80;
        }));
        return {col, row};
    }
    return {-1, -1};
}

Cell Screen::pen() const {
    VTermState* state = vterm_obtain_state(vt_.get());
    VTermValue value{};
    Cell out;
    const auto flag = [&](VTermAttr attr) {
        vterm_state_get_penattr(state, attr, &value);
        return value.boolean != 0;
    };
    vterm_state_get_penattr(state, VTERM_ATTR_FOREGROUND, &value);
    out.fg = colourIndex(value.color, false);
    vterm_state_get_penattr(state, VTERM_ATTR_BACKGROUND, &value);
    out.bg = colourIndex(value.color, true);
    out.bold = flag(VTERM_ATTR_BOLD);
    out.italic = flag(VTERM_ATTR_ITALIC);
    out.blink = flag(VTERM_ATTR_BLINK);
    out.reverse = flag(VTERM_ATTR_REVERSE);
    vterm_state_get_penattr(state, VTERM_ATTR_UNDERLINE, &value);
    out.underline = value.number != 0;
    return out;
}

bool Screen::penIsDefault() const {
    return pen().sameLook(Cell{});
}

Position Screen::cursor() const {
    VTermPos pos{};
    vterm_state_get_cursorpos(vterm_obtain_state(vt_.get()), &pos);
    return {pos.col, pos.row};
}

}  // namespace term_harness
