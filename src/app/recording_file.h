#pragma once
// The file a session is recorded into, at the level of the operating
// system's descriptors: created without ever writing through a link,
// written whole lines at a time, cut back to its last whole line when a
// write fails.

#include <cstddef>
#include <cstdint>
#include <string>

namespace avl {

// Creates `path` as a new regular file, or, with `overwrite`, empties an
// existing regular file of the user's own. The file is opened first, without
// following a link, creating nothing that is not a regular file and
// truncating nothing; only the opened file is checked, then emptied, so a
// link or another file put in place between a look and the open is never
// written through. -1, with `error` saying why, when that cannot be done.
int openRecordingFile(const std::string& path, bool overwrite, std::string& error);

// Writes all of `size` bytes; false, with errno set, when a write failed.
bool writeRecordingFile(int fd, const char* bytes, std::size_t size);

// Cuts the file to `length` bytes.
void truncateRecordingFile(int fd, std::int64_t length);

void closeRecordingFile(int fd);

}  // namespace avl
