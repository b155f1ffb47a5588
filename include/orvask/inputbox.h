#pragma once
// The input box: a framed one-line prompt with a spinning cursor.

#include "orvask/frames.h"
#include "orvask/platform/export.h"

namespace orvask {

// inputbox flags (BoxCentreX, BoxShadow and BoxAnimate apply as well)
inline constexpr int InputNumber = 0x01;       // digits and '-'; Esc leaves "0"
inline constexpr int InputPassword = 0x02;     // shown as '*'
inline constexpr int InputYesNo = 0x04;        // 'Y'/'y' yes, anything else no
inline constexpr int InputYesNoStrict = 0x08;  // only 'Y' yes; 'y' shows a hint
inline constexpr int InputIdentifier = 0x10;   // letters, digits, '-', '_'; space as '_'
inline constexpr int InputNoMinus = 0x20;      // '-' refused

// Reads up to maxlen bytes into buffer (maxlen + 1 bytes); nothing is ever
// written past buffer[maxlen], so the "0" of a cancelled number needs a
// maxlen of at least 1. A yes/no box answers in a buffer of 2 bytes ("Y" or
// "n") whatever maxlen says. A box that cannot be placed in 16-bit
// coordinates returns 0 with an empty buffer; a negative maxlen returns 0
// and leaves the buffer alone. x or y of
// -1 centres on the screen. Returns 1 when confirmed, 0 when cancelled with
// Esc. The box draws nothing outside the screen and, with pages on, puts
// back every cell it covered when it closes.
ORVASK_API int inputbox(short x, short y, const char* prompt, char* buffer, int maxlen,
                        unsigned char framefg, unsigned char bg, unsigned char textfg, int flags);

// dst = src[start..end] (inclusive; end below start copies one byte).
ORVASK_API void strsub(char* dst, const char* src, int start, int end);
// dst += src[start..end].
ORVASK_API void strsubcat(char* dst, const char* src, int start, int end);

}  // namespace orvask
