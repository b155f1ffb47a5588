// Dice-style random numbers and the decimal digit count.
//
// The generator is the classic linear congruential one of the Windows C
// runtime, written out here so that a seed gives the same sequence on every
// platform: state = state * 214013 + 2531011 (mod 2^32), each draw the bits
// 16..30 of the new state (0..32767). The state is 1 until seeded.
//
// A range of up to 32768 values takes one draw modulo its size, as it always
// has, so a seeded program draws the same numbers on every version. Wider
// ranges, and chancef's ten thousand hundredths, are drawn evenly instead:
// draws that would favour part of the range are drawn again.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "library_state.h"
#include "orvask/platform/backend.h"
#include "orvask/timers.h"

namespace orvask {

namespace {

constexpr std::uint64_t kDrawValues = 32768;

int draw() {
    std::uint32_t& generatorState = detail::state().generatorState;
    generatorState = generatorState * 214013u + 2531011u;
    return static_cast<int>((generatorState >> 16) & 0x7FFFu);
}

// 0..n-1, each value equally likely, for any n from 1 to 2^32. Up to 32768
// values: one draw modulo n. Beyond: three draws make a 45-bit number, and
// numbers from the last, incomplete run of n are drawn again.
std::uint64_t uniform(std::uint64_t n) {
    if (n <= kDrawValues) return static_cast<std::uint64_t>(draw()) % n;
    constexpr std::uint64_t kWide = kDrawValues * kDrawValues * kDrawValues;
    const std::uint64_t limit = kWide - kWide % n;
    for (;;) {
        std::uint64_t wide = 0;
        for (int i = 0; i < 3; ++i)
            wide = wide * kDrawValues + static_cast<std::uint64_t>(draw());
        if (wide < limit) return wide % n;
    }
}

// Decimal digits of a magnitude; 0 has one digit. Counted exactly in
// integers, where a decimal logarithm in double precision would miscount
// 64-bit values just below a power of ten.
template <typename Unsigned>
int digitCount(Unsigned magnitude) {
    int count = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++count;
    }
    return count;
}

// The magnitude of v in the unsigned type of its own width, so the most
// negative value has a magnitude too (32768 for a 16-bit -32768).
template <typename Signed>
auto magnitude(Signed v) {
    using Unsigned = std::make_unsigned_t<Signed>;
    const Unsigned bits = static_cast<Unsigned>(v);
    return v < 0 ? static_cast<Unsigned>(Unsigned{0} - bits) : bits;
}

}  // namespace

void randomize() {
    seed(static_cast<int>(platform::backend().tickCount()));
}

void seed(int n) {
    detail::state().generatorState = static_cast<std::uint32_t>(n);
}

int rnd(int n) {
    return n > 0 ? static_cast<int>(uniform(static_cast<std::uint64_t>(n))) : 0;
}

int rndr(int a, int b) {
    const std::int64_t lo = a < b ? a : b;
    const std::int64_t hi = a < b ? b : a;
    // Up to 2^32 values (rndr(INT_MIN, INT_MAX)).
    const auto span = static_cast<std::uint64_t>(hi - lo + 1);
    return static_cast<int>(lo + static_cast<std::int64_t>(uniform(span)));
}

int rnd1(int n) {
    return rnd(n) + 1;
}

int dice(int count, int sides) {
    if (count < 1 || sides < 1) return 0;
    std::int64_t sum = 0;
    for (int i = 0; i < count; ++i)
        sum += static_cast<std::int64_t>(uniform(static_cast<std::uint64_t>(sides))) + 1;
    return static_cast<int>(std::min<std::int64_t>(sum, std::numeric_limits<int>::max()));
}

bool coin() {
    return draw() % 2 == 1;
}

bool onein(int n) {
    return rnd(n) == 0;
}

int chance(int percent) {
    const int roll = draw() % 100;
    return roll < percent ? roll + 1 : 0;
}

int chancef(double percent) {
    // 32768 draws do not split evenly into ten thousand rolls: the draws
    // from 30000 on are drawn again, so every roll is equally likely.
    constexpr int kRolls = 10000;
    constexpr int kEvenDraws = static_cast<int>(kDrawValues) / kRolls * kRolls;
    int value = draw();
    while (value >= kEvenDraws)
        value = draw();
    const int roll = value % kRolls;
    // The threshold in hundredths of a percent, truncated; out-of-range and
    // NaN percentages are clamped instead of converted (which would be
    // undefined for values beyond int).
    const double scaled = percent * 100.0;
    int threshold = 0;
    if (scaled >= 10000.0) {
        threshold = 10000;
    } else if (scaled > 0.0) {
        threshold = static_cast<int>(std::trunc(scaled));
    }
    return roll < threshold ? roll / 100 + 1 : 0;
}

int digits(short value) {
    return digitCount(magnitude(value));
}
int digits(int value) {
    return digitCount(magnitude(value));
}
int digits(long value) {
    return digitCount(magnitude(value));
}

}  // namespace orvask
