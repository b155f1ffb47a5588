// Substring helpers. The range is copied out first, so dst and src may be
// the same string (strsub(s, s, 2, 4) keeps bytes 2 to 4 of s).

#include <cstring>
#include <string>

#include "orvask/inputbox.h"

namespace orvask {

namespace {

// src[start..end] inclusive; an end below start takes the one byte at start.
// The range must lie inside src.
std::string range(const char* src, int start, int end) {
    if (end < start) end = start;
    return std::string(src + start, static_cast<std::size_t>(end - start) + 1);
}

}  // namespace

void strsub(char* dst, const char* src, int start, int end) {
    const std::string part = range(src, start, end);
    std::memcpy(dst, part.c_str(), part.size() + 1);
}

void strsubcat(char* dst, const char* src, int start, int end) {
    const std::string part = range(src, start, end);
    std::memcpy(dst + std::strlen(dst), part.c_str(), part.size() + 1);
}

}  // namespace orvask
