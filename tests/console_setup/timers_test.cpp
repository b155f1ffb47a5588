#include <gtest/gtest.h>

#include <cstdint>

#include "library_state.h"
#include "orvask/platform/memory_console.h"
#include "orvask/timers.h"

namespace orvask {
namespace {

using platform::MemoryConsole;
using platform::MemoryConsoleScope;

// The counter of the memory console, in ticks per millisecond.
constexpr std::uint32_t kCounterTicksPerMs = MemoryConsole::kCounterFrequency / 1000;

// Each test starts on the counter clock with no carry left by earlier pacing.
class Timers : public ::testing::Test {
  protected:
    void SetUp() override {
        detail::resetState();
        ticksPerMs = kCounterTicksPerMs;
        console->advance(250);  // off a millisecond boundary
    }
    void TearDown() override { detail::resetState(); }

    std::uint64_t sleptSince(std::uint64_t before) { return console->sleptMilliseconds() - before; }

    MemoryConsoleScope console;
};

// A static object of a program that reads the time scale while it is being
// built, before main: the scale is constant-initialised, so it is 10 even
// then, whatever the order of dynamic initialisation.
static_assert(TimeScale{}.get() == 10);
struct ReadsTheScaleBeforeMain {
    int seen = timeScale.get();
};
ReadsTheScaleBeforeMain earlyReader;

TEST_F(Timers, TimeScaleIsTenBeforeMain) {
    EXPECT_EQ(earlyReader.seen, 10);
    EXPECT_EQ(timeScale.get(), 10);
}

TEST_F(Timers, ClockUsesTheCounterWhenSetAndTheTickCountOtherwise) {
    console->setTickBase(5'000'000);
    const std::uint64_t us = console->now();
    EXPECT_EQ(tnow(), us / 1000);
    console->advance(123'456);
    EXPECT_EQ(tnow(), (us + 123'456) / 1000);

    ticksPerMs = 0;
    EXPECT_EQ(tnow(), 5'000'000 + (us + 123'456) / 1000);
}

TEST_F(Timers, DelaySleepsInMillisecondStepsOnTheTickCount) {
    ticksPerMs = 1;  // a clock delay() must not use
    std::uint64_t calls = console->sleepCalls();
    EXPECT_EQ(delay(25), 25u);
    EXPECT_EQ(console->sleepCalls() - calls, 25u);

    calls = console->sleepCalls();
    EXPECT_EQ(delay(0), 0u);
    EXPECT_EQ(console->sleepCalls(), calls);

    // Oversleeping steps: 5 ms each, tested after each step.
    console->setSleepOverrun(4'000);
    calls = console->sleepCalls();
    EXPECT_EQ(delay(12), 15u);
    EXPECT_EQ(console->sleepCalls() - calls, 3u);
}

TEST_F(Timers, PaceCarriesOversleepIntoLaterCalls) {
    console->setSleepOverrun(6'000);  // every sleep lasts 6 ms longer
    std::uint64_t slept = console->sleptMilliseconds();
    EXPECT_EQ(pace(40), 60u);  // 46 ms for 40: 60 tenths over
    EXPECT_EQ(sleptSince(slept), 40u);

    slept = console->sleptMilliseconds();
    EXPECT_EQ(pace(40), 60u);  // sleeps 34 (paying 6), takes 40
    EXPECT_EQ(sleptSince(slept), 34u);

    console->setSleepOverrun(0);
    slept = console->sleptMilliseconds();
    EXPECT_EQ(pace(40), 0u);
    EXPECT_EQ(sleptSince(slept), 34u);  // the carry of 60 paid off
    slept = console->sleptMilliseconds();
    pace(40);
    EXPECT_EQ(sleptSince(slept), 40u) << "carry used up";
}

TEST_F(Timers, PaceCarryLargerThanARequestSpansSeveralCalls) {
    console->setSleepOverrun(30'000);
    EXPECT_EQ(pace(10), 300u);  // carry 300 tenths
    console->setSleepOverrun(0);
    const std::uint64_t slept = console->sleptMilliseconds();
    EXPECT_EQ(pace(10), 0u);  // carry 200
    EXPECT_EQ(pace(10), 0u);  // carry 100
    EXPECT_EQ(pace(10), 0u);  // carry 0
    EXPECT_EQ(sleptSince(slept), 0u);
    pace(10);
    EXPECT_EQ(sleptSince(slept), 10u);
}

TEST_F(Timers, PaceZeroSleepsNothing) {
    const std::uint64_t slept = console->sleptMilliseconds();
    EXPECT_EQ(pace(0), 0u);
    EXPECT_EQ(sleptSince(slept), 0u);
}

TEST_F(Timers, TwaitMeasuresFromTheMarkAndReportsTheOvershoot) {
    const std::uint32_t mark = tmark();
    EXPECT_EQ(mark, tnow());
    console->advance(7'000);  // the loop body's work
    EXPECT_EQ(twait(20), 0u);
    EXPECT_EQ(tnow() - mark, 20u);

    // The mark stays: a longer wait measures from the same point.
    console->advance(35'000);  // late: 55 ms after the mark
    const std::uint64_t calls = console->sleepCalls();
    EXPECT_EQ(twait(40), 15u);
    EXPECT_EQ(twait(0), 55u);
    EXPECT_EQ(console->sleepCalls(), calls) << "already past: no sleep";

    // A fresh mark restarts the measure.
    tmark();
    console->setSleepOverrun(2'500);
    EXPECT_EQ(twait(10), 0u);  // 3.5 ms steps: 10.5 ms, read as 10 on the ms clock
    EXPECT_EQ(twait(5), 5u);
}

TEST_F(Timers, TwaitAndDelayWorkAcrossAClockWrap) {
    ticksPerMs = 0;
    console->setTickBase(0xFFFF'FFF0u - static_cast<std::uint32_t>(console->now() / 1000));
    tmark();
    EXPECT_EQ(twait(30), 0u);
    EXPECT_EQ(delay(30), 30u);
}

}  // namespace
}  // namespace orvask
