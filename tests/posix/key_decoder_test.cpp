#include "keys/key_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "decode.h"

namespace orvask::platform::keys {
namespace {

using testing::codes;
using testing::decodeAll;
using testing::libraryCode;
using Codes = std::vector<int>;

// How xterm encodes a key and its modifiers.
enum class Form { Ss3Letter, Tilde, CursorLetter };

struct XtermKey {
    const char* name;
    Form form;
    const char* id;  // the letter or the number
    int prefix;
    int plain, shift, ctrl, alt;  // the codes the library sees (1000 + code)
};

// The keys without a character with the codes a Windows console delivers.
constexpr XtermKey kXtermKeys[] = {
    {"F1", Form::Ss3Letter, "P", 0, 1059, 1084, 1094, 1104},
    {"F2", Form::Ss3Letter, "Q", 0, 1060, 1085, 1095, 1105},
    {"F3", Form::Ss3Letter, "R", 0, 1061, 1086, 1096, 1106},
    {"F4", Form::Ss3Letter, "S", 0, 1062, 1087, 1097, 1107},
    {"F5", Form::Tilde, "15", 0, 1063, 1088, 1098, 1108},
    {"F6", Form::Tilde, "17", 0, 1064, 1089, 1099, 1109},
    {"F7", Form::Tilde, "18", 0, 1065, 1090, 1100, 1110},
    {"F8", Form::Tilde, "19", 0, 1066, 1091, 1101, 1111},
    {"F9", Form::Tilde, "20", 0, 1067, 1092, 1102, 1112},
    {"F10", Form::Tilde, "21", 0, 1068, 1093, 1103, 1113},
    {"F11", Form::Tilde, "23", 224, 1133, 1135, 1137, 1139},
    {"F12", Form::Tilde, "24", 224, 1134, 1136, 1138, 1140},
    {"Home", Form::CursorLetter, "H", 224, 1071, 1071, 1119, 1151},
    {"Up", Form::CursorLetter, "A", 224, 1072, 1072, 1141, 1152},
    {"PageUp", Form::Tilde, "5", 224, 1073, 1073, 1134, 1153},
    {"Left", Form::CursorLetter, "D", 224, 1075, 1075, 1115, 1155},
    {"Right", Form::CursorLetter, "C", 224, 1077, 1077, 1116, 1157},
    {"End", Form::CursorLetter, "F", 224, 1079, 1079, 1117, 1159},
    {"Down", Form::CursorLetter, "B", 224, 1080, 1080, 1145, 1160},
    {"PageDown", Form::Tilde, "6", 224, 1081, 1081, 1118, 1161},
    {"Insert", Form::Tilde, "2", 224, 1082, 1082, 1146, 1162},
    {"Delete", Form::Tilde, "3", 224, 1083, 1083, 1147, 1163},
};

// xterm's bytes for a key; `modifier` is its parameter (1 plain, 2 Shift,
// 3 Alt, 5 Ctrl).
std::string xtermBytes(const XtermKey& key, int modifier) {
    const std::string id = key.id;
    const std::string m = std::to_string(modifier);
    switch (key.form) {
        case Form::Ss3Letter:
            return modifier == 1 ? "\x1bO" + id : "\x1b[1;" + m + id;
        case Form::Tilde:
            return modifier == 1 ? "\x1b[" + id + "~" : "\x1b[" + id + ";" + m + "~";
        case Form::CursorLetter:
            return modifier == 1 ? "\x1b[" + id : "\x1b[1;" + m + id;
    }
    return {};
}

TEST(KeyDecoderXterm, EveryKeyWithEveryModifierGivesTheConsoleCodes) {
    for (const XtermKey& key : kXtermKeys) {
        const std::pair<int, int> variants[] = {
            {1, key.plain}, {2, key.shift}, {5, key.ctrl}, {3, key.alt}};
        for (const auto& [modifier, expected] : variants) {
            const auto keys = decodeAll(xtermBytes(key, modifier));
            SCOPED_TRACE(std::string(key.name) + " modifier " + std::to_string(modifier));
            EXPECT_EQ(libraryCode(keys), expected);
            ASSERT_FALSE(keys.empty());
            EXPECT_EQ(keys[0].code, key.prefix);
            EXPECT_EQ(keys[0].alt, modifier == 3);
        }
    }
}

TEST(KeyDecoderXterm, ApplicationModeCursorKeysAndShiftTab) {
    EXPECT_EQ(libraryCode(decodeAll("\x1bOA")), 1072);
    EXPECT_EQ(libraryCode(decodeAll("\x1bOD")), 1075);
    EXPECT_EQ(libraryCode(decodeAll("\x1bOH")), 1071);
    EXPECT_EQ(libraryCode(decodeAll("\x1bOF")), 1079);
    EXPECT_EQ(codes(decodeAll("\x1b[Z")), (Codes{0, 15}));
    EXPECT_EQ(codes(decodeAll("\x1bOM")), (Codes{13}));  // keypad Enter
}

TEST(KeyDecoderXterm, CombinedModifiersFollowTheConsolesPrecedence) {
    // Ctrl wins over Alt and Shift, Alt over Shift.
    EXPECT_EQ(libraryCode(decodeAll("\x1b[1;6A")), 1141);  // Ctrl+Shift+Up
    EXPECT_EQ(libraryCode(decodeAll("\x1b[1;7A")), 1141);  // Ctrl+Alt+Up
    EXPECT_EQ(libraryCode(decodeAll("\x1b[1;4P")), 1104);  // Alt+Shift+F1
    EXPECT_EQ(libraryCode(decodeAll("\x1b[1;9A")), 1152);  // Meta+Up as Alt
    EXPECT_EQ(libraryCode(decodeAll("\x1bO2P")), 1084);    // Shift+F1, older xterm
}

TEST(KeyDecoderOtherTerminals, RxvtSuffixesAndLowerCaseForms) {
    EXPECT_EQ(libraryCode(decodeAll("\x1b[3$", Terminal::Rxvt)), 1083);   // Shift+Delete
    EXPECT_EQ(libraryCode(decodeAll("\x1b[3^", Terminal::Rxvt)), 1147);   // Ctrl+Delete
    EXPECT_EQ(libraryCode(decodeAll("\x1b[5@", Terminal::Rxvt)), 1134);   // Ctrl+Shift+PgUp
    EXPECT_EQ(libraryCode(decodeAll("\x1b[11^", Terminal::Rxvt)), 1094);  // Ctrl+F1
    EXPECT_EQ(libraryCode(decodeAll("\x1b[23$", Terminal::Rxvt)), 1135);  // Shift+F11
    EXPECT_EQ(libraryCode(decodeAll("\x1bOa", Terminal::Rxvt)), 1141);    // Ctrl+Up
    EXPECT_EQ(libraryCode(decodeAll("\x1b[d", Terminal::Rxvt)), 1075);    // Shift+Left
    EXPECT_EQ(libraryCode(decodeAll("\x1b[7~", Terminal::Rxvt)), 1071);   // Home
    EXPECT_EQ(libraryCode(decodeAll("\x1b[8~", Terminal::Rxvt)), 1079);   // End
}

TEST(KeyDecoderOtherTerminals, LinuxConsoleForms) {
    EXPECT_EQ(libraryCode(decodeAll("\x1b[[A", Terminal::Linux)), 1059);
    EXPECT_EQ(libraryCode(decodeAll("\x1b[[E", Terminal::Linux)), 1063);
    EXPECT_EQ(libraryCode(decodeAll("\x1b[1~", Terminal::Linux)), 1071);
    EXPECT_EQ(libraryCode(decodeAll("\x1b[4~", Terminal::Linux)), 1079);
    // Esc Tab is Shift+Tab on the Linux console, Alt+Tab elsewhere.
    EXPECT_EQ(codes(decodeAll("\x1b\t", Terminal::Linux)), (Codes{0, 15}));
    EXPECT_EQ(decodeAll("\x1b\t", Terminal::Any), (std::vector<KeyEvent>{{9, true}}));
}

TEST(KeyDecoderOtherTerminals, ForeignFormsStillDecodeUnderAnotherTerm) {
    // A terminal that calls itself xterm but sends the Linux console's F1.
    EXPECT_EQ(libraryCode(decodeAll("\x1b[[A", Terminal::Any)), 1059);
    EXPECT_EQ(libraryCode(decodeAll("\x1bOa", Terminal::Any)), 1141);
}

TEST(KeyDecoderCharacters, ControlKeysAndPrintableBytes) {
    EXPECT_EQ(codes(decodeAll("aZ5~ ")), (Codes{'a', 'Z', '5', '~', ' '}));
    EXPECT_EQ(codes(decodeAll("\r")), (Codes{13}));
    EXPECT_EQ(codes(decodeAll("\n")), (Codes{10}));  // Ctrl+Enter
    EXPECT_EQ(codes(decodeAll("\t")), (Codes{9}));
    EXPECT_EQ(codes(decodeAll("\x7f")), (Codes{8}));  // Backspace sent as DEL
    EXPECT_EQ(codes(decodeAll("\x08")), (Codes{8}));
    EXPECT_EQ(codes(decodeAll("\x03\x1a\x01")), (Codes{3, 26, 1}));    // Ctrl+C, Ctrl+Z, Ctrl+A
    EXPECT_EQ(codes(decodeAll(std::string("\0x", 2))), (Codes{'x'}));  // NUL is no key
}

TEST(KeyDecoderEsc, LoneEscWaitsForTheTimeoutThenIsEsc) {
    KeyDecoder decoder;
    decoder.feed("\x1b");
    EXPECT_FALSE(decoder.ready());
    EXPECT_TRUE(decoder.holding());
    decoder.settle();
    KeyEvent key{};
    ASSERT_TRUE(decoder.next(key));
    EXPECT_EQ(key, (KeyEvent{27, false}));
    EXPECT_FALSE(decoder.holding());
}

TEST(KeyDecoderEsc, CompleteSequenceNeedsNoTimeoutEvenWhenSplit) {
    KeyDecoder decoder;
    decoder.feed("\x1b[");
    decoder.feed("1;5");
    EXPECT_FALSE(decoder.ready());
    decoder.feed("Ax");
    KeyEvent key{};
    ASSERT_TRUE(decoder.next(key));
    EXPECT_EQ(key.code, 224);
    ASSERT_TRUE(decoder.next(key));
    EXPECT_EQ(key.code, 141);
    ASSERT_TRUE(decoder.next(key));
    EXPECT_EQ(key.code, 'x');
    EXPECT_FALSE(decoder.holding());
}

TEST(KeyDecoderEsc, EscThenACharacterIsAltWithThatCharacter) {
    EXPECT_EQ(decodeAll("\x1bx"), (std::vector<KeyEvent>{{'x', true}}));
    EXPECT_EQ(decodeAll("\x1bQ"), (std::vector<KeyEvent>{{'Q', true}}));
    EXPECT_EQ(decodeAll("\x1b"
                        "1"),
              (std::vector<KeyEvent>{{'1', true}}));
    // Only the key after the Esc carries Alt.
    EXPECT_EQ(decodeAll("\x1b"
                        "ab"),
              (std::vector<KeyEvent>{{'a', true}, {'b', false}}));
    // Esc before a whole sequence: Alt with that key.
    const auto altUp = decodeAll("\x1b\x1b[A");
    EXPECT_EQ(libraryCode(altUp), 1152);
    EXPECT_TRUE(altUp[0].alt);
}

TEST(KeyDecoderEsc, EscBracketOrOAloneIsAltWithThatCharacter) {
    EXPECT_EQ(decodeAll("\x1b["), (std::vector<KeyEvent>{{'[', true}}));
    EXPECT_EQ(decodeAll("\x1bO"), (std::vector<KeyEvent>{{'O', true}}));
}

TEST(KeyDecoderEsc, TwoEscsAreTwoEscKeys) {
    EXPECT_EQ(codes(decodeAll("\x1b\x1b")), (Codes{27, 27}));
}

TEST(KeyDecoderUnknown, UnknownSequencesAreDroppedWhole) {
    EXPECT_EQ(codes(decodeAll("\x1b[99~a")), (Codes{'a'}));
    EXPECT_EQ(codes(decodeAll("\x1b[1;5Xb")), (Codes{'b'}));
    EXPECT_EQ(codes(decodeAll("\x1b[?1;2cc")), (Codes{'c'}));  // a device report
    EXPECT_EQ(codes(decodeAll("\x1bOzd")), (Codes{'d'}));
    EXPECT_EQ(codes(decodeAll("\x1b[200~e")), (Codes{'e'}));
}

TEST(KeyDecoderUnknown, TruncatedSequenceIsDroppedOnTimeout) {
    KeyDecoder decoder;
    decoder.feed("\x1b[1;5");
    decoder.settle();
    EXPECT_FALSE(decoder.ready());
    EXPECT_FALSE(decoder.holding());
    decoder.feed("A");  // the straggler is a plain key now
    KeyEvent key{};
    ASSERT_TRUE(decoder.next(key));
    EXPECT_EQ(key.code, 'A');
}

TEST(KeyDecoderUnknown, SequenceBrokenByAControlByteKeepsThatByte) {
    EXPECT_EQ(codes(decodeAll("\x1b[1\r")), (Codes{13}));
    EXPECT_EQ(libraryCode(decodeAll("\x1b[1\x1b[B")), 1080);
}

TEST(KeyDecoderUnknown, EndlessParameterRunIsCutOff) {
    const std::string noise = "\x1b[" + std::string(100, '1') + "~z";
    EXPECT_EQ(codes(decodeAll(noise)), (Codes{'z'}));
}

TEST(KeyDecoderUnknown, SettlingEndsARunawaySoTheNextKeyArrives) {
    KeyDecoder decoder;
    decoder.feed("\x1b[" + std::string(40, '1'));  // no final byte, then silence
    decoder.settle();
    decoder.feed("x");
    KeyEvent key{};
    ASSERT_TRUE(decoder.next(key));
    EXPECT_EQ(key.code, 'x');
}

TEST(KeyDecoderUtf8, TypedCharactersBecomeCodePageBytes) {
    EXPECT_EQ(codes(decodeAll("\xc3\xa9")), (Codes{130}));               // é
    EXPECT_EQ(codes(decodeAll("\xc3\xbc\xc3\x87")), (Codes{129, 128}));  // ü Ç
    EXPECT_EQ(codes(decodeAll("\xe2\x96\x91")), (Codes{176}));           // ░
    EXPECT_EQ(codes(decodeAll("\xe2\x82\xac"
                              "a")),
              (Codes{'a'}));  // € has no byte: dropped
    EXPECT_EQ(codes(decodeAll("\xea\xb0\x80", Terminal::Any, 949)), (Codes{0xB0, 0xA1}));  // 가
    EXPECT_EQ(codes(decodeAll("\xc3\xa9", Terminal::Any, 949)), (Codes{}));
    // Bytes a reader would take for a key prefix are dropped with their
    // character, not left to swallow the next key: alpha is 224 in code page
    // 437; in code page 949 the Hanja 胥 is 0xE0 0xA1 and the Hangul 겯 is
    // 0xB0 0xE0.
    EXPECT_EQ(codes(decodeAll("\xce\xb1z")), (Codes{'z'}));
    EXPECT_EQ(codes(decodeAll("\xe8\x83\xa5z", Terminal::Any, 949)), (Codes{'z'}));
    EXPECT_EQ(codes(decodeAll("\xea\xb2\xafz", Terminal::Any, 949)), (Codes{'z'}));
}

TEST(KeyDecoderUtf8, SplitCharacterWaitsAndBrokenBytesAreDropped) {
    KeyDecoder decoder;
    decoder.feed("\xc3");
    EXPECT_FALSE(decoder.ready());
    decoder.feed("\xa9");
    KeyEvent key{};
    ASSERT_TRUE(decoder.next(key));
    EXPECT_EQ(key.code, 130);

    EXPECT_EQ(codes(decodeAll("\xa9"
                              "a")),
              (Codes{'a'}));  // stray continuation byte
    EXPECT_EQ(codes(decodeAll("\xc3"
                              "b")),
              (Codes{'b'}));  // lead byte without its rest
    EXPECT_EQ(codes(decodeAll("\xc0\xaf"
                              "c")),
              (Codes{'c'}));                             // overlong form
    EXPECT_EQ(codes(decodeAll("\xe2\x96")), (Codes{}));  // cut short at the end
    EXPECT_EQ(decodeAll("\x1b\xc3\xa9"), (std::vector<KeyEvent>{{130, true}}));  // Alt+é
}

}  // namespace
}  // namespace orvask::platform::keys
