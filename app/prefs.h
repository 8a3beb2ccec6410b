// The preference store: the line format of both settings files (key lines,
// ";" comments, "[group]" headers), typed reads with defaults, collected
// writes, and the rewrite when the store is closed. One store is open at a
// time; the settings code opens, reads or writes, and closes within one
// operation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace quorin {

struct PrefsEntry {
  enum class Kind { Group, Comment, Key };
  Kind kind = Kind::Key;
  Text key;    // the group name, the comment text, or the key
  Text value;  // key lines only
};

struct PrefsStore {
  enum class Mode {
    Closed,     // nothing open
    ReadWrite,  // loaded; rewritten on close when modified
    ReadOnly,   // loaded; changes are dropped on close
    Missing,    // the file could not be opened: created on close when modified
    Created,    // emptied by PrefsCreate: written on close
  };
  Mode mode = Mode::Closed;
  Text path;
  bool modified = false;
  bool utf8 = false;  // the file began with the UTF-8 byte order mark
  std::vector<PrefsEntry> entries;
};

// Parsing and writing of the format, usable without a file.
std::vector<PrefsEntry> PrefsParse(std::string_view bytes, bool* utf8);
std::string PrefsFormat(const std::vector<PrefsEntry>& entries, bool utf8);

// Non-zero when the file could be opened (read-write or read-only).
int PrefsOpen(PrefsStore& store, std::string_view path);
// Non-zero when the file can be written; the store starts empty.
int PrefsCreate(PrefsStore& store, std::string_view path);
std::int32_t PrefsReadInt(const PrefsStore& store, std::string_view key, std::int32_t fallback);
float PrefsReadFloat(const PrefsStore& store, std::string_view key, float fallback);
Text PrefsReadText(const PrefsStore& store, std::string_view key, std::string_view fallback);
void PrefsWriteText(PrefsStore& store, std::string_view key, std::string_view value);
// Writes a modified store back and empties it. False only when a write was
// due and failed (the old file is then left exactly as it was).
bool PrefsClose(PrefsStore& store);

// The numeric rules of the reads: the leading decimal integer or the leading
// decimal floating-point number of a value; nothing convertible gives 0.
std::int32_t PrefsLeadingInt(std::string_view value);
float PrefsLeadingFloat(std::string_view value);

}  // namespace quorin
