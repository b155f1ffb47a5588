#pragma once
// The string capabilities of a terminfo entry, as `infocmp -1 -x` lists
// them, with their escapes decoded to the bytes the terminal sends.

#include <map>
#include <string>
#include <string_view>

namespace terminal_test {

// Capability name to bytes; empty when infocmp or the entry is missing.
std::map<std::string, std::string> terminfoStrings(const std::string& term);

// Decodes one terminfo string value (\E, ^X, \072, \, and friends).
std::string decodeTerminfo(std::string_view value);

}  // namespace terminal_test
