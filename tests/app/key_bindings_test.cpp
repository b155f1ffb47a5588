#include "app/key_bindings.h"

#include <gtest/gtest.h>

namespace avl {
namespace {

Command typed(int code) {
    return commandFor({KeyPress::Kind::Character, code});
}

TEST(KeyBindings, OnlyTheDemoKeysAreBound) {
    // 36 inserting keys, 26 capitals, 10 shifted digits, Enter, Space, Esc.
    int bound = 0;
    for (int code = 1; code <= 255; ++code)
        bound += typed(code).action != Action::None;
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
