#include "app/key_bindings.h"

#include <array>

#include "orvask/keyboard.h"

namespace avl {

namespace {

namespace key = orvask::key;

// Shift+digit on the US layout, indexed by the digit.
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

using BindingTable = std::array<Command, 256>;

constexpr BindingTable makeBindings() {
    BindingTable table{};
    for (char c = '0'; c <= '9'; ++c)
        table[c] = {Action::Insert, static_cast<Key>(c)};
    for (char c = 'a'; c <= 'z'; ++c)
        table[c] = {Action::Insert, static_cast<Key>(c)};
    for (char c = 'A'; c <= 'Z'; ++c)
        table[c] = {Action::Delete, static_cast<Key>(c + 32)};
    for (int digit = 0; digit < 10; ++digit) {
        const auto shifted = static_cast<unsigned char>(kShiftedDigits[digit]);
        table[shifted] = {Action::Delete, static_cast<Key>('0' + digit)};
    }
    table[key::Enter] = {Action::DeleteAll, 0};
    table[key::Space] = {Action::TogglePause, 0};
    table[key::Esc] = {Action::Exit, 0};
    return table;
}

// Indexed by the character byte. Bytes 128..255 stay unbound: keys are
// signed 8-bit characters, and no binding is negative.
constexpr BindingTable kBindings = makeBindings();

// Keys without a character, by their key code.
struct ExtendedBinding {
    int code;
    Action action;
};
constexpr ExtendedBinding kExtendedBindings[] = {
    {key::Left, Action::StepBack},         {key::Right, Action::StepForward},
    {key::Home, Action::FirstStep},        {key::End, Action::LastStep},
    {key::F1 + 1, Action::ToggleTeaching},  // F2
};

}  // namespace

Command commandFor(const KeyPress& press) {
    switch (press.kind) {
        case KeyPress::Kind::EndOfInput:
            return {Action::Exit, 0};
        case KeyPress::Kind::Extended:
            for (const ExtendedBinding& binding : kExtendedBindings) {
                if (press.code == binding.code - key::Extended) return {binding.action, 0};
            }
            return {};
        case KeyPress::Kind::Character:
            break;
    }
    if (press.code < 0 || press.code >= static_cast<int>(kBindings.size())) return {};
    return kBindings[static_cast<std::size_t>(press.code)];
}

}  // namespace avl
