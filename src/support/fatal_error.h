#pragma once
// The one way the runtime support ends the program on an unrecoverable
// failure.

#include <string>

namespace avl {

inline constexpr const char* kFatalErrorCaption = "Vornel Crashed";

// Writes "FATAL_ERROR : " + message to the log, then " FILE : " + file when
// `file` is not null and " LINE : " + line when `line` is not -1; shows
// `message` in a blocking message box captioned "Vornel Crashed"; gives the
// console back and writes "Vornel Crashed: " + message to standard error, so
// the message is seen even when the box was not; and ends the process with
// exit status 1 (normal exit: exit handlers and static destructors run).
// Every log line is on disk before the box appears.
// A null `message` counts as an empty one.
[[noreturn]] void FatalError(const std::string& message, const char* file, int line);
[[noreturn]] void FatalError(const char* message, const char* file, int line);

}  // namespace avl
