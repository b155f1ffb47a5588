#pragma once
// The one seam between Orvask and the operating system.
//
// Everything the console library does to the screen, the keyboard and the
// clock goes through a Backend. The operations mirror what the Windows
// console offers (cursor, attribute, write at the cursor, buffer and window
// size, code pages, title, clocks, getch/kbhit, key state, message box), so
// the library is written once and each platform supplies one Backend. There
// are three:
//
//   * the POSIX terminal backend (src/platform/posix), the default on Linux
//     and Unix: a console model rendered to the terminal by difference, keys
//     decoded from the terminal's bytes;
//   * the Windows console backend (src/platform/windows), the default on
//     Windows: the console's own calls on the standard handles;
//   * the in-memory console (memory_console.h), which behaves like a Windows
//     console buffer, with scripted keys and a virtual clock: what the tests
//     install (MemoryConsoleScope).
//
// Nothing above this header includes an operating-system header.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvask/platform/console_codes.h"
#include "orvask/platform/export.h"

namespace orvask::platform {

// A cell position or a size, in the 16-bit signed units of the console.
struct Coord {
    std::int16_t x = 0;
    std::int16_t y = 0;
    friend bool operator==(const Coord&, const Coord&) = default;
};

// Windows virtual-key codes, the numbering keyDown() takes.
namespace vk {
inline constexpr int Shift = 0x10;
inline constexpr int Menu = 0x12;  // Alt
}  // namespace vk

// The output mode the console set-up asks for: processed output, wrap at
// the end of a line (the Windows flags 0x01 | 0x02 | 0x04 | 0x10).
inline constexpr unsigned kOutputModeDefault = 0x17;

// The value readKey() returns once the input has ended for good.
inline constexpr int kEndOfInput = -1;

// One whole key from the key read.
struct KeyPress {
    enum class Kind : std::uint8_t {
        Character,   // a key that produced a character; `code` is its byte 1..255
        Extended,    // a key without a character (arrow, function key, ...);
                     // `code` is the code that followed the 0 or 224 prefix
        EndOfInput,  // the input has ended for good; no key will ever come
    };
    Kind kind = Kind::EndOfInput;
    int code = 0;
};

// Receives the bytes a backend sends to the screen (see Backend::tapOutput).
class ORVASK_PLATFORM_API OutputTap {
  public:
    // `bytes` as they go out, in order; one call per write to the screen.
    virtual void sent(std::string_view bytes) = 0;

  protected:
    ~OutputTap() = default;
};

class ORVASK_PLATFORM_API Backend {
  public:
    virtual ~Backend() = default;

    // --- Output: the console screen buffer ---------------------------------

    // Moves the cursor. A position outside the buffer is ignored.
    virtual void setCursorPosition(Coord pos) = 0;
    virtual Coord cursorPosition() = 0;

    // The attribute later writes use: foreground in the low four bits,
    // background in the high four bits.
    virtual void setAttribute(std::uint8_t attribute) = 0;
    virtual std::uint8_t attribute() = 0;

    // Writes bytes at the cursor in the current attribute, advancing the
    // cursor. A newline (10) goes to column 0 of the next row; every other
    // byte, 0 to 255, is stored and shown as a glyph of the output code page.
    // Past the last column the cursor wraps to the next row; past the last
    // row the buffer scrolls up by one row.
    virtual void write(const char* bytes, std::size_t count) = 0;

    // Cursor shape: size 1..100 (percent of the cell) and visibility.
    virtual void setCursorInfo(int size, bool visible) = 0;

    virtual void setBufferSize(Coord size) = 0;
    virtual Coord bufferSize() = 0;
    // The visible window, in absolute buffer coordinates (inclusive).
    virtual void setWindowRect(Coord topLeft, Coord bottomRight) = 0;
    virtual void maximizeWindow() = 0;
    virtual void setOutputMode(unsigned mode) = 0;

    virtual int inputCodePage() = 0;
    virtual void setInputCodePage(int codePage) = 0;
    virtual int outputCodePage() = 0;
    virtual void setOutputCodePage(int codePage) = 0;

    virtual void setTitle(const char* text) = 0;

    // --- Clocks --------------------------------------------------------------

    // The high-resolution counter's frequency in counts per second; false
    // when there is no such counter.
    virtual bool performanceFrequency(std::int64_t& countsPerSecond) = 0;
    virtual std::int64_t performanceCounter() = 0;
    // Milliseconds since an arbitrary start, 32-bit and wrapping.
    virtual std::uint32_t tickCount() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;

    // --- Keyboard ------------------------------------------------------------

    // Blocking, unechoed read of one key code (getch): a character byte
    // 1..255, or for a key without a character its prefix (kKeyPrefix or
    // kGreyKeyPrefix) now and the key's code on the next call. kEndOfInput
    // once input has ended.
    virtual int readKey() = 0;
    // Blocks for one key press and reads all of it: the prefix of a key
    // without a character and the code after it are taken together, so no
    // half of a key is left behind for the next reader. Input that ends
    // between the two halves is the end of input. Every reader of whole keys
    // uses this; the default reads the halves through readKey(), and a
    // backend whose keys arrive whole may hand them over as they are.
    virtual KeyPress readKeyPress();
    // True when the next readKey() returns at once without end of input
    // (kbhit). Consumes nothing.
    virtual bool keyWaiting() = 0;
    // Whether the key with this virtual-key code is held down right now.
    virtual bool keyDown(int virtualKey) = 0;
    // True once the input has ended for good (the terminal closed, a piped
    // script ran out): every readKey() returns kEndOfInput from then on.
    // Lets a program that polls keyWaiting() stop instead of waiting for ever.
    virtual bool inputEnded() { return false; }

    // --- Notification --------------------------------------------------------

    // A blocking message with one acknowledge button and a warning look.
    virtual void messageBox(const char* caption, const char* text) = 0;

    // --- Hand-back -----------------------------------------------------------

    // Gives the console back as the program found it: everything drawn so far
    // shown, then its modes, code pages, cursor and title restored (a
    // terminal leaves its alternate screen), so that what the program prints
    // afterwards lands on the user's own screen. The next output or key read
    // takes the console again. Does nothing where nothing is held.
    virtual void restoreConsole() {}

    // --- Recording -----------------------------------------------------------

    // Hands every byte sent to the screen from now on to `tap` as well (null
    // stops), for recording a session. A backend that sends the screen no
    // bytes of its own (a console of cells) has nothing to hand over.
    virtual void tapOutput(OutputTap* tap) { (void)tap; }
};

// The backend in use. The first call without an installed backend creates
// the operating system's own one (which, for a terminal, takes the terminal
// over until the process ends).
ORVASK_PLATFORM_API Backend& backend();

// Puts `replacement` in place of the backend in use and returns the one it
// replaced (null when none had been chosen yet). Passing null goes back to
// the operating system's own backend on the next backend() call. The caller
// keeps ownership of what it installs.
ORVASK_PLATFORM_API Backend* installBackend(Backend* replacement);

// Installs a backend for the lifetime of the scope, then puts back the one
// it replaced.
class BackendScope {
  public:
    explicit BackendScope(Backend& replacement) : previous_(installBackend(&replacement)) {}
    ~BackendScope() { installBackend(previous_); }
    BackendScope(const BackendScope&) = delete;
    BackendScope& operator=(const BackendScope&) = delete;

  private:
    Backend* previous_;
};

}  // namespace orvask::platform
