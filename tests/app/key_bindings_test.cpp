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

TEST(KeyBindings, KeysWithoutACharacterMoveThroughTheHistoryOrDoNothing) {
    const struct {
        int code;
        Action action;
    } cases[] = {
        {75, Action::StepBack},
        {77, Action::StepForward},  // Left, Right
        {71, Action::FirstStep},
        {79, Action::LastStep},        // Home, End
        {60, Action::ToggleTeaching},  // F2
        // Up, Down, Page Down, Delete, F1 and F11 carry the codes of 'H', 'P',
        // 'Q', 'S', ';' and 133; they must not delete anything.
        {72, Action::None},
        {80, Action::None},
        {81, Action::None},
        {83, Action::None},
        {59, Action::None},
        {133, Action::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandFor({KeyPress::Kind::Extended, c.code}).action, c.action) << c.code;
}

TEST(KeyBindings, EndOfInputEndsTheProgram) {
    EXPECT_EQ(commandFor({KeyPress::Kind::EndOfInput, 0}).action, Action::Exit);
}

}  // namespace
}  // namespace avl
