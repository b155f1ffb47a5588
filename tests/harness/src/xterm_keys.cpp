#include "term_harness/xterm_keys.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace term_harness {

namespace {

// How a key without a character is encoded.
enum class Form {
    Cursor,  // CSI final (SS3 final in application mode); CSI 1;m final with modifiers
    Ss3,     // SS3 final; CSI 1;m final with modifiers (F1..F4)
    Tilde,   // CSI n ~; CSI n;m ~ with modifiers
};

struct SpecialKey {
    std::string_view name;
    Form form;
    int number;  // the n of CSI n ~
    char final;
};

constexpr SpecialKey kSpecialKeys[] = {
    {"up", Form::Cursor, 1, 'A'},    {"down", Form::Cursor, 1, 'B'},
    {"right", Form::Cursor, 1, 'C'}, {"left", Form::Cursor, 1, 'D'},
    {"home", Form::Cursor, 1, 'H'},  {"end", Form::Cursor, 1, 'F'},
    {"insert", Form::Tilde, 2, '~'}, {"delete", Form::Tilde, 3, '~'},
    {"pageup", Form::Tilde, 5, '~'}, {"pagedown", Form::Tilde, 6, '~'},
    {"pgup", Form::Tilde, 5, '~'},   {"pgdn", Form::Tilde, 6, '~'},
    {"f1", Form::Ss3, 1, 'P'},       {"f2", Form::Ss3, 1, 'Q'},
    {"f3", Form::Ss3, 1, 'R'},       {"f4", Form::Ss3, 1, 'S'},
    {"f5", Form::Tilde, 15, '~'},    {"f6", Form::Tilde, 17, '~'},
    {"f7", Form::Tilde, 18, '~'},    {"f8", Form::Tilde, 19, '~'},
    {"f9", Form::Tilde, 20, '~'},    {"f10", Form::Tilde, 21, '~'},
    {"f11", Form::Tilde, 23, '~'},   {"f12", Form::Tilde, 24, '~'},
};

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    // xterm's modifier parameter: 1 + Shift 1 + Alt 2 + Ctrl 4.
    int parameter() const { return 1 + (shift ? 1 : 0) + (alt ? 2 : 0) + (ctrl ? 4 : 0); }
    bool any() const { return shift || ctrl || alt; }
};

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

[[noreturn]] void unknown(std::string_view name, const char* why) {
    throw std::invalid_argument("xtermKey(\"" + std::string(name) + "\"): " + why);
}

std::string special(const SpecialKey& key, Modifiers mods, bool application) {
    const std::string csi = "\x1b[";
    if (mods.any()) {
        return csi + std::to_string(key.number) + ';' + std::to_string(mods.parameter()) +
               key.final;
    }
    switch (key.form) {
        case Form::Cursor:
            return (application ? std::string("\x1bO") : csi) + key.final;
        case Form::Ss3:
            return std::string("\x1bO") + key.final;
        case Form::Tilde:
            return csi + std::to_string(key.number) + '~';
    }
    return {};
}

// Keys that produce a control character.
std::string control(std::string_view word, Modifiers mods, std::string_view name) {
    std::string bytes;
    if (word == "enter" || word == "return") {
        bytes = "\r";
    } else if (word == "esc" || word == "escape") {
        bytes = "\x1b";
    } else if (word == "backspace") {
        bytes = mods.ctrl ? "\x08" : "\x7f";
        mods.ctrl = false;
    } else if (word == "tab") {
        if (mods.shift) {
            if (mods.ctrl || mods.alt) unknown(name, "xterm sends no such Tab");
            return "\x1b[Z";
        }
        bytes = "\t";
    } else if (word == "space") {
        bytes = mods.ctrl ? std::string(1, '\0') : " ";
        mods.ctrl = false;
    } else {
        return {};
    }
    if (mods.ctrl || (mods.shift && bytes != " ")) unknown(name, "xterm sends no such key");
    return (mods.alt ? "\x1b" : "") + bytes;
}

}  // namespace

std::string xtermKey(std::string_view name, bool applicationCursorKeys) {
    if (name.empty()) unknown(name, "empty key name");
    Modifiers mods;
    std::string_view rest = name;
    // Peel "Mod+" prefixes; a lone "+" is the plus key itself.
    for (std::size_t plus; rest.size() > 1 && (plus = rest.find('+')) != std::string_view::npos;) {
        const std::string mod = lower(rest.substr(0, plus));
        if (mod == "shift") {
            mods.shift = true;
        } else if (mod == "ctrl" || mod == "control") {
            mods.ctrl = true;
        } else if (mod == "alt" || mod == "meta") {
            mods.alt = true;
        } else {
            unknown(name, "unknown modifier");
        }
        rest = rest.substr(plus + 1);
    }

    if (rest.size() == 1) {
        char c = rest[0];
        if (mods.shift && std::islower(static_cast<unsigned char>(c))) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (mods.ctrl) {
            const char base = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (base < '@' || base > '_') unknown(name, "no control character for this key");
            c = static_cast<char>(base & 0x1F);
        }
        return (mods.alt ? std::string("\x1b") : std::string()) + c;
    }

    const std::string word = lower(rest);
    for (const SpecialKey& key : kSpecialKeys) {
        if (key.name == word) return special(key, mods, applicationCursorKeys);
    }
    std::string bytes = control(word, mods, name);
    if (bytes.empty()) unknown(name, "unknown key");
    return bytes;
}

}  // namespace term_harness
