#pragma once
// When a backend's output watcher shows what the program drew: the rule every
// backend's watcher follows.
//
// Output is held back until a sync point so that the screen only ever shows
// whole frames. A program that prints "Working..." and then computes without
// calling the library must still see its text at once, and a program that is
// drawing must not have half a frame shown: pending output is shown once the
// program has made no call for kIdleFlushMs, about one frame. The backend
// counts the program's calls here, under the lock its watcher shares; the
// watcher asks how long to sleep.

#include <cstdint>

namespace orvask::platform {

class IdleFlush {
  public:
    static constexpr std::uint32_t kIdleFlushMs = 20;
    // Nothing is pending: the watcher sleeps until a change wakes it.
    static constexpr int kUntilChanged = -1;

    explicit IdleFlush(std::uint32_t nowMs) : lastCallMs_(nowMs) {}

    // A call of the program begins and ends; calls may nest.
    void callBegins() { ++depth_; }
    void callEnds(std::uint32_t nowMs) {
        if (--depth_ == 0) lastCallMs_ = nowMs;
    }

    // How long the watcher sleeps before it shows what is pending: 0 when
    // it is to show it now, kUntilChanged when nothing is pending.
    int sleepMs(bool pending, std::uint32_t nowMs) const {
        if (!pending) return kUntilChanged;
        const std::uint32_t idle = nowMs - lastCallMs_;
        return idle >= kIdleFlushMs ? 0 : static_cast<int>(kIdleFlushMs - idle);
    }

  private:
    int depth_ = 0;
    std::uint32_t lastCallMs_;  // when the program's last call ended
};

}  // namespace orvask::platform
