// The console's key events as the key read delivers them.

#include "windows/key_events.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace orvask::platform::windows {
namespace {

KEY_EVENT_RECORD keyDown(WORD virtualKey, wchar_t character, DWORD state = 0, WORD repeat = 1) {
    KEY_EVENT_RECORD event{};
    event.bKeyDown = TRUE;
    event.wRepeatCount = repeat;
    event.wVirtualKeyCode = virtualKey;
    event.uChar.UnicodeChar = character;
    event.dwControlKeyState = state;
    return event;
}

std::vector<int> codesOf(const KEY_EVENT_RECORD& event) {
    std::deque<KeyEvent> events;
    KeyTranslator().translate(event, events);
    std::vector<int> codes;
    for (const KeyEvent& e : events)
        codes.push_back(e.code);
    return codes;
}

using Codes = std::vector<int>;

TEST(KeyEvents, KeysWithoutACharacterComeAsPrefixAndCode) {
    struct Case {
        const char* name;
        KEY_EVENT_RECORD event;
        Codes codes;
    };
    const Case cases[] = {
        {"F1", keyDown(VK_F1, 0), {0, 59}},
        {"Shift+F10", keyDown(VK_F10, 0, SHIFT_PRESSED), {0, 93}},
        {"Alt+F1", keyDown(VK_F1, 0, LEFT_ALT_PRESSED), {0, 104}},
        {"F11", keyDown(VK_F11, 0), {224, 133}},
        {"Ctrl+F12", keyDown(VK_F12, 0, RIGHT_CTRL_PRESSED), {224, 138}},
        {"grey Up", keyDown(VK_UP, 0, ENHANCED_KEY), {224, 72}},
        {"Ctrl+Alt+Up: Ctrl wins",
         keyDown(VK_UP, 0, ENHANCED_KEY | LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED),
         {224, 141}},
        {"Shift+Home", keyDown(VK_HOME, 0, ENHANCED_KEY | SHIFT_PRESSED), {224, 71}},
        {"Ctrl+Page Up", keyDown(VK_PRIOR, 0, ENHANCED_KEY | LEFT_CTRL_PRESSED), {224, 134}},
        {"Alt+Delete", keyDown(VK_DELETE, 0, ENHANCED_KEY | RIGHT_ALT_PRESSED), {224, 163}},
        {"keypad Delete, Num Lock off", keyDown(VK_DELETE, 0), {0, 83}},
        {"Shift+Tab", keyDown(VK_TAB, '\t', SHIFT_PRESSED), {0, 15}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(codesOf(c.event), c.codes) << c.name;
}

TEST(KeyEvents, KeysWithACharacterComeAsThatByte) {
    struct Case {
        const char* name;
        KEY_EVENT_RECORD event;
        Codes codes;
    };
    const Case cases[] = {
        {"a", keyDown('A', 'a'), {'a'}},
        {"Alt+a: the letter, Alt is read apart", keyDown('A', 'a', LEFT_ALT_PRESSED), {'a'}},
        {"Ctrl+C", keyDown('C', 3, LEFT_CTRL_PRESSED), {3}},
        {"Enter", keyDown(VK_RETURN, '\r'), {13}},
        {"Tab", keyDown(VK_TAB, '\t'), {9}},
        {"a character of the code page", keyDown(0, L'é'), {130}},
        {"one the code page lacks", keyDown(0, L'€'), {}},
        {"one whose byte would read as a prefix (224)", keyDown(0, L'α'), {}},
        {"Esc reported without its character", keyDown(VK_ESCAPE, 0), {27}},
        {"Esc", keyDown(VK_ESCAPE, 27), {27}},
        {"held key repeats", keyDown('X', 'x', 0, 3), {'x', 'x', 'x'}},
        {"held F2 repeats", keyDown(VK_F2, 0, 0, 2), {0, 60, 0, 60}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(codesOf(c.event), c.codes) << c.name;
}

TEST(KeyEvents, ReleasesAndLoneModifiersDeliverNothing) {
    KEY_EVENT_RECORD released = keyDown('A', 'a');
    released.bKeyDown = FALSE;
    EXPECT_EQ(codesOf(released), Codes{});
    EXPECT_EQ(codesOf(keyDown(VK_SHIFT, 0, SHIFT_PRESSED)), Codes{});
    EXPECT_EQ(codesOf(keyDown(VK_MENU, 0, LEFT_ALT_PRESSED)), Codes{});
    EXPECT_EQ(codesOf(keyDown(VK_CAPITAL, 0)), Codes{});
    EXPECT_EQ(codesOf(keyDown('2', 0, LEFT_CTRL_PRESSED)), Codes{}) << "no character 0";
}

TEST(KeyEvents, CharactersSpreadOverEventsComeWhole) {
    const KEY_EVENT_RECORD altDown = keyDown(VK_MENU, 0, LEFT_ALT_PRESSED);
    KEY_EVENT_RECORD altUpWithCharacter = keyDown(VK_MENU, L'é');
    altUpWithCharacter.bKeyDown = FALSE;
    struct Case {
        const char* name;
        int codePage;
        std::vector<KEY_EVENT_RECORD> events;
        Codes codes;
    };
    const Case cases[] = {
        {"a character beyond 16 bits, in two halves, that the code page lacks",
         437,
         {keyDown(0, 0xD83D), keyDown(0, 0xDE00), keyDown('A', 'a')},
         {'a'}},
        {"half a character alone", 437, {keyDown(0, 0xDE00)}, {}},
        {"Alt and keypad digits: the character comes with the release of Alt",
         437,
         {altDown, keyDown(VK_NUMPAD1, 0, LEFT_ALT_PRESSED),
          keyDown(VK_NUMPAD3, 0, LEFT_ALT_PRESSED), keyDown(VK_NUMPAD0, 0, LEFT_ALT_PRESSED),
          altUpWithCharacter},
         {130}},
        {"keypad digits with Num Lock off are no Alt+End",
         437,
         {keyDown(VK_END, 0, LEFT_ALT_PRESSED), altUpWithCharacter},
         {130}},
        {"a Hangul syllable under code page 949", 949, {keyDown(0, L'한')}, {0xC7, 0xD1}},
    };
    for (const Case& c : cases) {
        KeyTranslator translator;
        translator.setCodePage(c.codePage);
        std::deque<KeyEvent> events;
        for (const KEY_EVENT_RECORD& event : c.events)
            translator.translate(event, events);
        Codes codes;
        for (const KeyEvent& e : events)
            codes.push_back(e.code);
        EXPECT_EQ(codes, c.codes) << c.name;
    }
}

}  // namespace
}  // namespace orvask::platform::windows
