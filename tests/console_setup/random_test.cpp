#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include "orvask/platform/memory_console.h"
#include "orvask/timers.h"

namespace orvask {
namespace {

// The generator the library must match, in plain modular arithmetic.
class ReferenceGenerator {
  public:
    explicit ReferenceGenerator(std::uint64_t seed) : state_(seed % kModulus) {}
    int next() {
        state_ = (state_ * 214013 + 2531011) % kModulus;
        return static_cast<int>((state_ / 65536) % 32768);
    }

    // chancef's roll: draws from 30000 on are drawn again.
    int nextRoll() {
        int value = next();
        while (value >= 30000)
            value = next();
        return value % 10000;
    }

  private:
    static constexpr std::uint64_t kModulus = std::uint64_t{1} << 32;
    std::uint64_t state_;
};

TEST(Random, SeededSequenceIsTheSameOnEveryPlatform) {
    seed(1);
    EXPECT_EQ(rnd(32768), 41);
    EXPECT_EQ(rnd(32768), 18467);
    EXPECT_EQ(rnd(32768), 6334);

    for (int s : {0, 12345, -7, INT_MAX}) {
        seed(s);
        ReferenceGenerator reference(static_cast<std::uint32_t>(s));
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(rnd(32768), reference.next()) << "seed " << s;
    }
}

TEST(Random, RandomizeSeedsFromTheTickCount) {
    platform::MemoryConsoleScope console;
    console->setTickBase(424'242);
    console->advance(3'000);
    randomize();
    ReferenceGenerator reference(424'245);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(rnd(32768), reference.next());
}

TEST(Random, EmptyRangesDrawNothing) {
    seed(99);
    ReferenceGenerator reference(99);
    EXPECT_EQ(rnd(0), 0);
    EXPECT_EQ(rnd(-5), 0);
    EXPECT_EQ(rnd1(0), 1);
    EXPECT_EQ(dice(0, 6), 0);
    EXPECT_EQ(dice(3, 0), 0);
    EXPECT_TRUE(onein(0));
    EXPECT_EQ(rnd(32768), reference.next()) << "none of the above drew";

    EXPECT_EQ(rnd(1), 0);
    EXPECT_TRUE(onein(1));
    reference.next();
    reference.next();
    EXPECT_EQ(rnd(32768), reference.next()) << "rnd(1) and onein(1) draw";
}

TEST(Random, ResultsFollowTheDraws) {
    seed(2024);
    ReferenceGenerator ref(2024);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(rnd(6), ref.next() % 6);
        ASSERT_EQ(rnd1(10), ref.next() % 10 + 1);
        ASSERT_EQ(rndr(7, 3), 3 + ref.next() % 5);
        ASSERT_EQ(rndr(-4, 4), -4 + ref.next() % 9);
        const int a = ref.next() % 6 + 1;
        const int b = ref.next() % 6 + 1;
        const int c = ref.next() % 6 + 1;
        ASSERT_EQ(dice(3, 6), a + b + c);
        ASSERT_EQ(coin(), ref.next() % 2 == 1);
        ASSERT_EQ(onein(4), ref.next() % 4 == 0);
        const int roll = ref.next() % 100;
        ASSERT_EQ(chance(30), roll < 30 ? roll + 1 : 0);
        const int fine = ref.nextRoll();
        ASSERT_EQ(chancef(12.345), fine < 1234 ? fine / 100 + 1 : 0);  // 12.34 %
        const int half = ref.nextRoll();
        ASSERT_EQ(chancef(0.5), half < 50 ? 1 : 0);
    }
}

TEST(Random, RangesAreCoveredAndSureThingsAlwaysSucceed) {
    seed(7);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        seen.insert(rndr(7, 3));
        ASSERT_EQ(chance(0), 0);
        ASSERT_EQ(chancef(0.0), 0);
        const int sure = chance(100);
        ASSERT_GE(sure, 1);
        ASSERT_LE(sure, 100);
        const int suref = chancef(100.0);
        ASSERT_GE(suref, 1);
        ASSERT_LE(suref, 100);
    }
    EXPECT_EQ(seen, (std::set<int>{3, 4, 5, 6, 7}));
}

TEST(Random, WideRangesAndFinePercentagesAreDrawnEvenly) {
    // Fixed seeds: the counts are the same on every run, and far inside what
    // an even draw gives (the tolerances are several standard deviations).
    constexpr int kDraws = 200'000;
    seed(20240601);
    int upperHalf = 0;
    int top = 0;
    int tenPercent = 0;
    int halfPercent = 0;
    int wideUpper = 0;
    int diceTopQuarter = 0;
    for (int i = 0; i < kDraws; ++i) {
        const int r = rnd(1'000'000);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 1'000'000);
        upperHalf += r >= 500'000;
        top = std::max(top, r);
        tenPercent += chancef(10.0) != 0;
        halfPercent += chancef(50.0) != 0;
        wideUpper += rndr(INT_MIN, INT_MAX) >= 0;
        diceTopQuarter += dice(1, 40'000) > 30'000;
    }
    EXPECT_NEAR(upperHalf, kDraws / 2, kDraws / 100);
    EXPECT_GE(top, 999'000);
    EXPECT_NEAR(tenPercent, kDraws / 10, kDraws / 200);
    EXPECT_NEAR(halfPercent, kDraws / 2, kDraws / 100);
    EXPECT_NEAR(wideUpper, kDraws / 2, kDraws / 100);
    EXPECT_NEAR(diceTopQuarter, kDraws / 4, kDraws / 100);
}

TEST(Random, ExtremeArgumentsStayDefined) {
    seed(3);
    ReferenceGenerator ref(3);
    // The whole range of 2^32 values from three draws of 15 bits.
    std::uint64_t wide = 0;
    for (int i = 0; i < 3; ++i)
        wide = wide * 32768 + static_cast<std::uint64_t>(ref.next());
    EXPECT_EQ(rndr(INT_MIN, INT_MAX),
              static_cast<int>(INT_MIN + static_cast<std::int64_t>(wide % (1ULL << 32))));
    EXPECT_EQ(rndr(INT_MAX, INT_MAX), INT_MAX);
    ref.next();
    EXPECT_EQ(chancef(std::nan("")), 0);
    ref.nextRoll();
    EXPECT_EQ(chancef(-1e300), 0);
    ref.nextRoll();
    EXPECT_EQ(chancef(1e300), ref.nextRoll() / 100 + 1);
    EXPECT_EQ(chance(INT_MIN), 0);
    ref.next();
    EXPECT_EQ(rnd(32768), ref.next());
}

TEST(Digits, CountsTheDigitsOfTheMagnitudeInEachWidth) {
    EXPECT_EQ(digits(0), 1);
    EXPECT_EQ(digits(static_cast<short>(0)), 1);
    EXPECT_EQ(digits(0L), 1);
    EXPECT_EQ(digits(9), 1);
    EXPECT_EQ(digits(10), 2);
    EXPECT_EQ(digits(99), 2);
    EXPECT_EQ(digits(1000), 4);
    EXPECT_EQ(digits(-999), 3);
    EXPECT_EQ(digits(static_cast<short>(32767)), 5);
    EXPECT_EQ(digits(static_cast<short>(-32767)), 5);
    EXPECT_EQ(digits(std::numeric_limits<short>::min()), 5);
    EXPECT_EQ(digits(INT_MAX), 10);
    EXPECT_EQ(digits(INT_MIN), 10);
    EXPECT_EQ(digits(999'999'999), 9);
    EXPECT_EQ(digits(1'000'000'000), 10);
    EXPECT_EQ(digits(std::numeric_limits<long>::min()), sizeof(long) == 8 ? 19 : 10);
    EXPECT_EQ(digits(std::numeric_limits<long>::max()), sizeof(long) == 8 ? 19 : 10);
    if constexpr (sizeof(long) == 8) {
        // Cast, not suffixed: the branch must compile where long has 32 bits.
        EXPECT_EQ(digits(static_cast<long>(999'999'999'999'999'999LL)), 18)
            << "a double logarithm says 19";
        EXPECT_EQ(digits(static_cast<long>(-1'000'000'000'000'000'000LL)), 19);
    }
}

}  // namespace
}  // namespace orvask
