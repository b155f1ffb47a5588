#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "draw_fixture.h"
#include "orvask/markup.h"
#include "orvask/output.h"
#include "orvask/pages.h"

namespace orvask::test {
namespace {

// Random markup: plain bytes, codes of both levels, number codes, glyphs
// and, often, a backtick or two right before the terminator.
std::unique_ptr<char[]> randomMarkup(std::mt19937& rng, std::size_t& size) {
    static constexpr char kCodeBytes[] = "kbgcrmpwyKBGCRMPWHYSsd*-|<>^v~ 0123456789`!aZ";
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> choice(0, 9);
    std::uniform_int_distribution<int> anyByte(1, 255);
    std::uniform_int_distribution<std::size_t> codeByte(0, sizeof kCodeBytes - 2);

    std::string text;
    const int n = length(rng);
    for (int i = 0; i < n; ++i) {
        const int kind = choice(rng);
        if (kind < 3) {
            text.push_back(static_cast<char>(anyByte(rng)));
        } else if (kind < 6) {
            text.push_back('`');
            text.push_back(kCodeBytes[codeByte(rng)]);
        } else if (kind < 8) {
            text += "``";
            text.push_back(kCodeBytes[codeByte(rng)]);
        } else {
            text.push_back('`');
        }
    }
    if (choice(rng) < 3) text += choice(rng) < 5 ? "`" : "``";

    // Exactly the bytes of the text and its terminator: a read past the end
    // lands outside the allocation.
    size = text.size() + 1;
    auto buffer = std::make_unique<char[]>(size);
    text.copy(buffer.get(), text.size());
    buffer[text.size()] = '\0';
    return buffer;
}

class MarkupFuzzTest : public DrawTest {
  protected:
    MarkupFuzzTest() : DrawTest({20, 5}) {}

    void printRandomTexts(unsigned seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> column(-2, 21);
        std::uniform_int_distribution<int> row(-1, 5);
        std::uniform_int_distribution<int> argument(-2000000000, 2000000000);
        for (int round = 0; round < 3000; ++round) {
            std::size_t size = 0;
            const auto text = randomMarkup(rng, size);
            con().setCursorPosition({0, 0});
            Pm(static_cast<short>(column(rng)), static_cast<short>(row(rng)), text.get(),
               argument(rng), argument(rng), argument(rng), argument(rng), argument(rng),
               argument(rng), argument(rng), argument(rng));
            ASSERT_LT(getfg(), 16) << "round " << round;
            ASSERT_LT(getbg(), 16) << "round " << round;
        }
    }
};

TEST_F(MarkupFuzzTest, DirectOutputNeverReadsPastTheText) {
    printRandomTexts(1);
}

TEST_F(MarkupFuzzTest, PagedOutputNeverTouchesTheConsoleOrTheBottomRightCell) {
    vpinit();
    printRandomTexts(2);
    EXPECT_EQ(con().bytesWritten(), 0u);
    const Cell* corner = workingCell(19, 4);
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->glyph, 0);
    EXPECT_EQ(corner->fg, LightGrey);
    EXPECT_EQ(corner->bg, Black);
}

}  // namespace
}  // namespace orvask::test
