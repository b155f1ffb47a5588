#pragma once
// Time and chance: a millisecond clock, three ways of waiting, dice-style
// random numbers and a digit count. Durations are milliseconds.

#include <cstdint>

#include "orvask/platform/export.h"

namespace orvask {

// The library's time scale (tenths of a millisecond per millisecond). It is
// constant-initialised, so it holds its value before any constructor of a
// program runs, and static objects may pace or delay while being built.
class TimeScale {
  public:
    constexpr TimeScale() = default;
    constexpr int get() const { return value_; }

  private:
    int value_ = 10;
};
extern ORVASK_API const TimeScale timeScale;

// Performance-counter ticks per millisecond; set by coninit, 0 = use the
// tick count.
extern ORVASK_API std::uint32_t ticksPerMs;

ORVASK_API std::uint32_t tnow();                   // milliseconds; only differences matter
ORVASK_API std::uint32_t delay(std::uint32_t ms);  // sleeps; returns the elapsed ms
// Sleeps so that a sequence of calls keeps its average rate; returns this
// call's oversleep in tenths of a millisecond.
ORVASK_API std::uint32_t pace(std::uint32_t ms);
ORVASK_API std::uint32_t tmark();                  // sets the interval mark
ORVASK_API std::uint32_t twait(std::uint32_t ms);  // waits until ms after the mark

ORVASK_API void randomize();  // seeds from the tick count
ORVASK_API void seed(int n);
// Every value of a range is drawn evenly; ranges of up to 32768 values take
// one draw each, the same numbers for a seed as ever.
ORVASK_API int rnd(int n);          // 0..n-1 (0 when n <= 0)
ORVASK_API int rndr(int a, int b);  // a..b inclusive, either order
ORVASK_API int rnd1(int n);         // 1..n (1 when n <= 0)
ORVASK_API int dice(int count, int sides);
ORVASK_API bool coin();
ORVASK_API bool onein(int n);
ORVASK_API int chance(int percent);      // the roll 1..100 on success, 0 otherwise
ORVASK_API int chancef(double percent);  // likewise, to a hundredth of a percent
ORVASK_API int digits(short value);
ORVASK_API int digits(int value);
ORVASK_API int digits(long value);

}  // namespace orvask
