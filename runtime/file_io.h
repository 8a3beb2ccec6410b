// Whole-file reading and crash-safe replacing, for the settings files.
#pragma once

#include <string>
#include <string_view>

namespace quorin {

// The whole file into out; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Replaces the file's contents so that a kill or a full disk at any moment
// leaves either the old file or the new one, never a torn one: the bytes go to
// a temporary file beside it, are flushed to disk, and the temporary file is
// renamed over the old one. On failure the old file is untouched and false is
// returned. A link is followed, so the file it points at is replaced.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace quorin
