#include "app/key_bindings.h"

#include <gtest/gtest.h>

#include <string>

namespace avl {
namespace {

Command typed(int code) { return commandFor({KeyPress::Kind::Character, code}); }

TEST(KeyBindings, DigitsAndLettersInsertThemselves) {
    for (char c : std::string("0123456789abcdefghijklmnopqrstuvwxyz")) {
        EXPECT_EQ(typed(c), (Command{Action::Insert, static_cast<Key>(c)})) << c;
    }
}

TEST(KeyBindings, CapitalsAndShiftedDigitsDelete) {
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_EQ(typed(c), (Command{Action::Delete, static_cast<Key>(c - 'A' + 'a')})) << c;
    }
    const std::string shifted = ")!@#$%^&*(";
    for (std::size_t digit = 0; digit < shifted.size(); ++digit) {
        EXPECT_EQ(typed(shifted[digit]), (Command{Action::Delete, static_cast<Key>('0' + digit)}))
            << shifted[digit];
    }
}

TEST(KeyBindings, ControlKeys) {
    EXPECT_EQ(typed(13).action, Action::DeleteAll);
    EXPECT_EQ(typed(32).action, Action::TogglePause);
    EXPECT_EQ(typed(27).action, Action::Exit);
}

TEST(KeyBindings, EverythingElseDoesNothing) {
    int bound = 0;
    for (int code = 1; code <= 255; ++code) bound += typed(code).action != Action::None;
    EXPECT_EQ(bound, 10 + 26 + 26 + 10 + 3);
    for (int code : {int{'-'}, int{'_'}, int{'~'}, 8, 9, 10, 127, 128, 200, 224, 255}) {
        EXPECT_EQ(typed(code).action, Action::None) << code;
    }
}

TEST(KeyBindings, KeysWithoutACharacterDoNothing) {
    // Up, Left, Right, Down, Home, Page Down and Delete carry the codes of
    // 'H', 'K', 'M', 'P', 'G', 'Q' and 'S'; they must not delete anything.
    for (int code : {72, 75, 77, 80, 71, 81, 83, 59, 133}) {
        EXPECT_EQ(commandFor({KeyPress::Kind::Extended, code}).action, Action::None) << code;
    }
}

TEST(KeyBindings, EndOfInputEndsTheProgram) {
    EXPECT_EQ(commandFor({KeyPress::Kind::EndOfInput, 0}).action, Action::Exit);
}

}  // namespace
}  // namespace avl
