#pragma once
// A backend whose screen is a ConsoleModel: every output operation lands in
// the model exactly as a Windows console buffer would take it. The in-memory
// console and the terminal backend are both built on it; a subclass adds the
// clocks, the keyboard and the message box, and learns through changed() of
// every change that shows.

#include <cstdint>

#include "orvask/platform/backend.h"
#include "orvask/platform/console_model.h"

namespace orvask::platform {

class ORVASK_PLATFORM_API ModelBackend : public Backend {
  public:
    // A real backend shows the model at its sync points (reading or testing
    // for a key, sleeping, a message box, giving the console back). A program
    // that writes for long without reaching one is shown anyway once its
    // oldest unshown change is kSyncIntervalMs old, or once kLargeOutput bytes
    // are pending.
    static constexpr std::uint32_t kSyncIntervalMs = 100;
    static constexpr std::size_t kLargeOutput = 64 * 1024;

    explicit ModelBackend(Coord size = {80, 25});

    void setCursorPosition(Coord pos) override;
    Coord cursorPosition() override;
    void setAttribute(std::uint8_t attribute) override;
    std::uint8_t attribute() override;
    void write(const char* bytes, std::size_t count) override;
    // Like the Windows console, a size outside 1..100 is refused.
    void setCursorInfo(int size, bool visible) override;
    void setBufferSize(Coord size) override;
    Coord bufferSize() override;
    void setWindowRect(Coord topLeft, Coord bottomRight) override;
    void maximizeWindow() override;
    void setOutputMode(unsigned mode) override;
    int inputCodePage() override;
    void setInputCodePage(int codePage) override;
    int outputCodePage() override;
    void setOutputCodePage(int codePage) override;
    void setTitle(const char* text) override;

    const ConsoleModel& model() const { return model_; }

  protected:
    // Called after every change that shows: cells, cursor, cursor shape,
    // buffer size, output code page, title.
    virtual void changed() {}

    // Every operation on the model runs between enter() and leave(): a
    // subclass that also reads the model from another thread locks it there.
    // Calls may nest.
    virtual void enter() {}
    virtual void leave() {}

    class Hold {
      public:
        explicit Hold(ModelBackend& backend) : backend_(backend) { backend_.enter(); }
        ~Hold() { backend_.leave(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        ModelBackend& backend_;
    };

    ConsoleModel model_;
};

}  // namespace orvask::platform
