#include "glyphs/glyph_table.h"

#include <gtest/gtest.h>

#include <string>

#include "cp437_table.h"
#include "glyphs/cp949_codec.h"
#include "glyphs/utf8.h"

namespace orvask::platform::glyphs {
namespace {

TEST(GlyphTable, CodePage437MatchesTheReferenceForAll256Bytes) {
    const auto reference = test_data::loadCp437Table();
    ASSERT_TRUE(reference) << "missing or incomplete: " << test_data::kCp437TablePath;
    for (int byte = 0; byte < 256; ++byte) {
        char32_t expected = (*reference)[static_cast<std::size_t>(byte)];
        if (expected == 0) expected = U' ';  // byte 0 shows as a blank cell
        EXPECT_EQ(singleByteGlyph(kCodePage437, static_cast<std::uint8_t>(byte)), expected)
            << "byte " << byte;
    }
}

TEST(GlyphTable, CodePage949ShowsTheLibrarysBoxBytesAsBoxDrawing) {
    const std::pair<std::uint8_t, char32_t> boxes[] = {
        {6, U'─'},  {5, U'│'},  {1, U'┌'},  {2, U'┐'},  {4, U'┘'},  {3, U'└'},
        {24, U'├'}, {21, U'┬'}, {22, U'┤'}, {20, U'┴'}, {16, U'┼'},
    };
    for (const auto& [byte, glyph] : boxes) {
        EXPECT_EQ(singleByteGlyph(kCodePage949, byte), glyph) << int{byte};
    }
    EXPECT_EQ(singleByteGlyph(kCodePage949, '#'), U'#');
    EXPECT_EQ(singleByteGlyph(kCodePage949, '>'), U'>');
    EXPECT_EQ(singleByteGlyph(kCodePage949, 31), U'▼');
    EXPECT_EQ(singleByteGlyph(kCodePage949, 0), U' ');
    // A high byte standing alone is no character under 949.
    EXPECT_EQ(singleByteGlyph(kCodePage949, 0xB0), U'\uFFFD');
}

TEST(GlyphTable, NoByteOfAnyCodePageShowsAsAControlCharacter) {
    for (int codePage : {kCodePage437, kCodePage949, 850}) {
        for (int byte = 0; byte < 256; ++byte) {
            const char32_t glyph = singleByteGlyph(codePage, static_cast<std::uint8_t>(byte));
            EXPECT_FALSE(glyph < 0x20 || (glyph >= 0x7F && glyph < 0xA0))
                << codePage << " byte " << byte;
        }
    }
}

TEST(GlyphTable, TypedCharactersFindTheirByte) {
    std::uint8_t byte = 0;
    EXPECT_TRUE(singleByteFor(kCodePage437, U'é', byte));
    EXPECT_EQ(byte, 130);
    EXPECT_TRUE(singleByteFor(kCodePage437, U'☺', byte));
    EXPECT_EQ(byte, 1);
    EXPECT_TRUE(singleByteFor(kCodePage437, U'\u00A0', byte));
    EXPECT_EQ(byte, 255);
    EXPECT_FALSE(singleByteFor(kCodePage437, U'€', byte));
    EXPECT_FALSE(singleByteFor(kCodePage437, U'\x1b', byte));  // no control codes
}

TEST(Cp949Codec, DecodesAndEncodesDoubleByteCharacters) {
    EXPECT_EQ(decodeCp949(0xB0, 0xA1), U'가');
    EXPECT_EQ(decodeCp949(0xC7, 0xD1), U'한');
    EXPECT_EQ(decodeCp949(0xB0, 0x20), 0u);  // no trail byte
    EXPECT_EQ(encodeCp949(U'한'), "\xC7\xD1");
    EXPECT_EQ(encodeCp949(U'€'), "\xA2\xE6");
    EXPECT_EQ(encodeCp949(U'☃'), "");
}

TEST(Utf8, EncodesEveryLength) {
    std::string out;
    for (char32_t cp : {U'A', U'é', U'─', U'\U0001F600'})
        appendUtf8(out, cp);
    EXPECT_EQ(out, "A\xc3\xa9\xe2\x94\x80\xf0\x9f\x98\x80");
    char32_t back = 0;
    EXPECT_TRUE(decodeUtf8(reinterpret_cast<const unsigned char*>(out.data()) + 6, 4, back));
    EXPECT_EQ(back, U'\U0001F600');
    const unsigned char surrogate[] = {0xED, 0xA0, 0x80};
    EXPECT_FALSE(decodeUtf8(surrogate, 3, back));
}

}  // namespace
}  // namespace orvask::platform::glyphs
