#pragma once
// The Windows backend: the console's own calls, one for each operation of
// the seam, on the process's standard handles.
//
// Output goes to the console screen buffer at once (console_output.h);
// keys come from the console's input events or, when standard input is no
// console, from its bytes (key_input.h). The first operation that changes
// the console or reads a key takes it over; restoreConsole() hands it back
// (console_session.h).
//
// When standard output is no console (redirected to a file or a pipe), the
// bytes written go there as they are and the console calls do nothing.

#include <windows.h>

#include "key_input.h"
#include "orvask/platform/backend.h"

namespace orvask::platform::windows {

class ConsoleBackend : public Backend {
  public:
    ConsoleBackend(HANDLE input, HANDLE output);

    // --- Output -------------------------------------------------------------
    void setCursorPosition(Coord pos) override;
    Coord cursorPosition() override;
    void setAttribute(std::uint8_t attribute) override;
    std::uint8_t attribute() override;
    void write(const char* bytes, std::size_t count) override;
    void setCursorInfo(int size, bool visible) override;
    void setBufferSize(Coord size) override;
    Coord bufferSize() override;
    void setWindowRect(Coord topLeft, Coord bottomRight) override;
    void maximizeWindow() override;
    // Virtual-terminal processing stays off, whatever is asked: with it an
    // Esc byte would start a sequence instead of showing as a glyph.
    void setOutputMode(unsigned mode) override;
    int inputCodePage() override;
    void setInputCodePage(int codePage) override;
    int outputCodePage() override;
    void setOutputCodePage(int codePage) override;
    void setTitle(const char* text) override;

    // --- Clocks ---------------------------------------------------------------
    bool performanceFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t performanceCounter() override;
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;

    // --- Keyboard -------------------------------------------------------------
    int readKey() override;
    bool keyWaiting() override;
    bool keyDown(int virtualKey) override;
    bool inputEnded() override { return keys_.ended(); }

    // --- Notification and hand-back -------------------------------------------
    // MessageBoxA, with the warning icon and an OK button.
    void messageBox(const char* caption, const char* text) override;
    void restoreConsole() override;

  private:
    void take();
    bool screenInfo(CONSOLE_SCREEN_BUFFER_INFO& info) const;

    HANDLE input_;
    HANDLE output_;
    bool outputIsConsole_;
    KeyInput keys_;
};

}  // namespace orvask::platform::windows
