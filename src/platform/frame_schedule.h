#pragma once
// When a backend shows what the program drew: the rules both real backends
// follow, kept by each under the lock its output watcher shares.
//
// Output is held back until a sync point (a key read or test, a sleep, a
// message box, the hand-back) so that the screen only ever shows whole
// frames. A program that writes for long without reaching one is shown
// anyway once the oldest unshown change is ModelBackend::kSyncIntervalMs old
// or ModelBackend::kLargeOutput bytes are pending. A program that prints
// "Working..." and then computes without calling the library must still see
// its text at once, and a program that is drawing must not have half a frame
// shown: the output watcher shows pending output once the program has made
// no call for kIdleFlushMs, about one frame.
//
// The times are milliseconds of the backend's clock, handed in as a callable
// so that the clock is read only when the answer needs it.

#include <cstddef>
#include <cstdint>

#include "orvask/platform/model_backend.h"

namespace orvask::platform {

class FrameSchedule {
  public:
    static constexpr std::uint32_t kIdleFlushMs = 20;
    // Nothing is pending: the watcher sleeps until a change wakes it.
    static constexpr int kUntilChanged = -1;

    explicit FrameSchedule(std::uint32_t nowMs) : lastCallMs_(nowMs) {}

    // The model changed. True when nothing was pending before, so a watcher
    // asleep until the next change is to be woken.
    template <class Now>
    bool changed(const Now& now) {
        if (pending_) return false;
        pending_ = true;
        pendingSinceMs_ = now();
        return true;
    }

    // `count` bytes were written; true when they are to be shown now,
    // although the program reached no sync point.
    template <class Now>
    bool wrote(std::size_t count, const Now& now) {
        written_ += count;
        return written_ >= ModelBackend::kLargeOutput ||
               now() - pendingSinceMs_ >= ModelBackend::kSyncIntervalMs;
    }

    // Whether the model has changes the screen does not show.
    bool pending() const { return pending_; }
    // What was pending is shown (or, once the console is given back for
    // good, dropped).
    void shown() {
        pending_ = false;
        written_ = 0;
    }

    // A call of the program begins and ends; calls may nest.
    void callBegins() { ++depth_; }
    template <class Now>
    void callEnds(const Now& now) {
        if (--depth_ == 0) lastCallMs_ = now();
    }

    // How long the watcher sleeps before it shows what is pending: 0 when
    // it is to show it now, kUntilChanged when there is nothing it may show
    // (`showable`: something is pending and the screen is the program's).
    int sleepMs(bool showable, std::uint32_t nowMs) const {
        if (!showable) return kUntilChanged;
        const std::uint32_t idle = nowMs - lastCallMs_;
        return idle >= kIdleFlushMs ? 0 : static_cast<int>(kIdleFlushMs - idle);
    }

  private:
    bool pending_ = false;
    std::uint32_t pendingSinceMs_ = 0;  // when the oldest unshown change was made
    std::size_t written_ = 0;           // bytes written since the last frame
    int depth_ = 0;
    std::uint32_t lastCallMs_;  // when the program's last call ended
};

}  // namespace orvask::platform
