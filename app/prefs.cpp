#include "app/prefs.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstdio>
#include <limits>

#include "runtime/file_io.h"
#include "runtime/host.h"

namespace quorin {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (LowerAscii(a[k]) != LowerAscii(b[k])) return false;
  }
  return true;
}

// The local code page is taken as Latin-1; the game's own keys and values are
// ASCII, so this only matters for what a player types into a UTF-8 file.
Text Latin1ToUtf8(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

Text Utf8ToLatin1(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size();) {
    const auto c = static_cast<unsigned char>(text[k]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++k;
      continue;
    }
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    std::uint32_t code = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : c & 0x1F;
    std::size_t next = k + 1;
    bool valid = extra > 0;
    for (int e = 0; e < extra; ++e, ++next) {
      if (next >= text.size() || (static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (static_cast<unsigned char>(text[next]) & 0x3F);
    }
    out.push_back(valid && code <= 0xFF ? static_cast<char>(code) : '?');
    k = valid ? next : k + 1;
  }
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Index of the wanted key line, or -1. The search starts at the first entry
// and ends at the first group header: keys inside groups are never seen.
int FindKey(const PrefsStore& store, std::string_view key) {
  const Text wanted = store.utf8 ? Latin1ToUtf8(key) : Text(key);
  for (std::size_t k = 0; k < store.entries.size(); ++k) {
    const PrefsEntry& entry = store.entries[k];
    if (entry.kind == PrefsEntry::Kind::Group) return -1;
    if (entry.kind == PrefsEntry::Kind::Key && EqualIgnoringCase(entry.key, wanted)) return static_cast<int>(k);
  }
  return -1;
}

PrefsEntry ParseLine(std::string_view line) {
  PrefsEntry entry;
  if (line.front() == ';') {
    line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    entry.kind = PrefsEntry::Kind::Comment;
    entry.key = line;
  } else if (line.front() == '[') {
    line.remove_prefix(1);
    entry.kind = PrefsEntry::Kind::Group;
    entry.key = line.substr(0, line.find(']'));
  } else {
    const std::size_t equals = line.find('=');
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    entry.key = key;
    if (equals != std::string_view::npos) {
      std::string_view value = line.substr(equals + 1);
      while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
      entry.value = value;  // trailing blanks stay in the entry
    }
  }
  return entry;
}

void Reset(PrefsStore& store) { store = PrefsStore{}; }

}  // namespace

std::vector<PrefsEntry> PrefsParse(std::string_view bytes, bool* utf8) {
  const bool bom = bytes.size() >= 3 && bytes.substr(0, 3) == kByteOrderMark;
  if (utf8) *utf8 = bom;
  if (bom) bytes.remove_prefix(3);
  // The loaded text ends at its first zero byte.
  bytes = bytes.substr(0, bytes.find('\0'));

  std::vector<PrefsEntry> entries;
  std::size_t p = 0;
  while (p < bytes.size()) {
    std::size_t end = p;
    while (end < bytes.size() && !IsLineEnd(bytes[end])) ++end;
    std::string_view line = bytes.substr(p, end - p);
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (!line.empty()) entries.push_back(ParseLine(line));
    p = end;
    while (p < bytes.size() && IsLineEnd(bytes[p])) ++p;
  }
  return entries;
}

std::string PrefsFormat(const std::vector<PrefsEntry>& entries, bool utf8) {
  std::string out;
  if (utf8) {
    out += kByteOrderMark;
    out += kLineEnd;
  }
  for (const PrefsEntry& entry : entries) {
    switch (entry.kind) {
      case PrefsEntry::Kind::Group: out += "[" + entry.key + "]"; break;
      case PrefsEntry::Kind::Comment: out += "; " + entry.key; break;
      case PrefsEntry::Kind::Key: out += entry.key + " = " + entry.value; break;
    }
    out += kLineEnd;
  }
  return out;
}

int PrefsOpen(PrefsStore& store, std::string_view path) {
  PrefsClose(store);
  store.path = path;
  std::FILE* file = path.empty() ? nullptr : OpenFile(store.path, "r+b");
  store.mode = PrefsStore::Mode::ReadWrite;
  if (!file) {
    file = path.empty() ? nullptr : OpenFile(store.path, "rb");
    store.mode = PrefsStore::Mode::ReadOnly;
  }
  if (!file) {
    store.mode = PrefsStore::Mode::Missing;
    return 0;
  }
  std::string bytes;
  char buffer[8192];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  const bool readFailed = std::ferror(file) != 0;  // a folder opens but does not read
  std::fclose(file);
  if (readFailed) {
    store.mode = PrefsStore::Mode::Missing;
    return 0;
  }
  store.entries = PrefsParse(bytes, &store.utf8);
  return 1;
}

int PrefsCreate(PrefsStore& store, std::string_view path) {
  PrefsClose(store);
  if (path.empty()) return 0;
  // Only prove that the file can be written here; its contents are replaced
  // whole at close, so a crash in between never leaves it empty.
  const Text name(path);
  std::FILE* file = OpenFile(name, "ab");
  if (!file) return 0;
  std::fclose(file);
  store.mode = PrefsStore::Mode::Created;
  store.path = name;
  return 1;
}

std::int32_t PrefsLeadingInt(std::string_view value) {
  std::size_t p = 0;
  while (p < value.size() && (IsBlank(value[p]) || value[p] == '\v' || value[p] == '\f')) ++p;
  bool negative = false;
  if (p < value.size() && (value[p] == '-' || value[p] == '+')) negative = value[p++] == '-';
  std::int64_t n = 0;
  for (; p < value.size() && IsDigit(value[p]); ++p) {
    n = n * 10 + (value[p] - '0');
    if (n > std::int64_t{1} << 32) n = std::int64_t{1} << 32;  // saturate; clamped below
  }
  if (negative) n = -n;
  if (n > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (n < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(n);
}

namespace {

// Whether an unsigned decimal number (digits, optional point and fraction,
// optional exponent) is at least 1 in magnitude; exact for any exponent.
bool AtLeastOne(std::string_view number) {
  std::size_t p = 0;
  std::int64_t integerDigits = 0;  // after leading zeros
  std::int64_t fractionZeros = 0;  // before the first nonzero fraction digit
  bool nonzero = false;
  for (; p < number.size() && IsDigit(number[p]); ++p) {
    if (number[p] != '0') nonzero = true;
    if (nonzero) ++integerDigits;
  }
  if (p < number.size() && number[p] == '.') {
    for (++p; p < number.size() && IsDigit(number[p]); ++p) {
      if (number[p] != '0') nonzero = true;
      if (!nonzero) ++fractionZeros;
    }
  }
  if (!nonzero) return false;
  std::int64_t exponent = 0;
  if (p < number.size() && (number[p] == 'e' || number[p] == 'E')) {
    ++p;
    const bool negative = p < number.size() && number[p] == '-';
    if (p < number.size() && (number[p] == '-' || number[p] == '+')) ++p;
    for (; p < number.size() && IsDigit(number[p]); ++p) {
      exponent = std::min<std::int64_t>(exponent * 10 + (number[p] - '0'), std::int64_t{1} << 40);
    }
    if (negative) exponent = -exponent;
  }
  // The leading nonzero digit stands for 10^(integerDigits - 1) or
  // 10^(-fractionZeros - 1), times 10^exponent.
  const std::int64_t leadingPower = integerDigits > 0 ? integerDigits - 1 : -fractionZeros - 1;
  return leadingPower + exponent >= 0;
}

}  // namespace

float PrefsLeadingFloat(std::string_view value) {
  std::size_t p = 0;
  while (p < value.size() && (IsBlank(value[p]) || value[p] == '\v' || value[p] == '\f')) ++p;
  const std::size_t start = p;
  if (p < value.size() && (value[p] == '-' || value[p] == '+')) ++p;
  std::size_t digits = 0;
  for (; p < value.size() && IsDigit(value[p]); ++p) ++digits;
  if (p < value.size() && value[p] == '.') {
    ++p;
    for (; p < value.size() && IsDigit(value[p]); ++p) ++digits;
  }
  if (digits == 0) return 0.0f;  // also rules out inf, nan and hexadecimal floats
  if (p < value.size() && (value[p] == 'e' || value[p] == 'E')) {
    std::size_t q = p + 1;
    if (q < value.size() && (value[q] == '-' || value[q] == '+')) ++q;
    if (q < value.size() && IsDigit(value[q])) {
      while (q < value.size() && IsDigit(value[q])) ++q;
      p = q;
    }
  }
  std::string_view number = value.substr(start, p - start);
  const bool negative = number.front() == '-';
  if (number.front() == '-' || number.front() == '+') number.remove_prefix(1);
  double result = 0.0;
#if defined(__cpp_lib_to_chars)
  const bool outOfRange =
      std::from_chars(number.data(), number.data() + number.size(), result, std::chars_format::general).ec ==
      std::errc::result_out_of_range;
#else
  // A standard library without the floating-point from_chars (the browser
  // build's): strtod reads the same checked digits; the game never changes
  // the C locale, so the point is '.'.
  const std::string text(number);
  errno = 0;
  result = std::strtod(text.c_str(), nullptr);
  const bool outOfRange = errno == ERANGE;
  if (outOfRange) result = 0.0;
#endif
  if (outOfRange) {
    // Beyond the double range: the nearest float, as for values beyond the
    // float range alone (infinity, or zero below the smallest).
    result = AtLeastOne(number) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return static_cast<float>(negative ? -result : result);
}

std::int32_t PrefsReadInt(const PrefsStore& store, std::string_view key, std::int32_t fallback) {
  const int k = FindKey(store, key);
  return k < 0 ? fallback : PrefsLeadingInt(store.entries[k].value);
}

float PrefsReadFloat(const PrefsStore& store, std::string_view key, float fallback) {
  const int k = FindKey(store, key);
  return k < 0 ? fallback : PrefsLeadingFloat(store.entries[k].value);
}

Text PrefsReadText(const PrefsStore& store, std::string_view key, std::string_view fallback) {
  const int k = FindKey(store, key);
  if (k < 0) return Text(fallback);
  const std::string_view value = TrimBlanks(store.entries[k].value);
  return store.utf8 ? Utf8ToLatin1(value) : Text(value);
}

void PrefsWriteText(PrefsStore& store, std::string_view key, std::string_view value) {
  if (store.mode == PrefsStore::Mode::Closed) return;
  const Text newKey = store.utf8 ? Latin1ToUtf8(key) : Text(key);
  const Text newValue = store.utf8 ? Latin1ToUtf8(value) : Text(value);
  const int k = FindKey(store, key);
  if (k >= 0) {
    store.entries[k].key = newKey;
    store.entries[k].value = newValue;
  } else {
    // New keys go at the end of the ungrouped section, where lookups see them.
    std::size_t at = 0;
    while (at < store.entries.size() && store.entries[at].kind != PrefsEntry::Kind::Group) ++at;
    store.entries.insert(store.entries.begin() + static_cast<std::ptrdiff_t>(at),
                         PrefsEntry{PrefsEntry::Kind::Key, newKey, newValue});
  }
  store.modified = true;
}

bool PrefsClose(PrefsStore& store) {
  bool write = false;
  switch (store.mode) {
    case PrefsStore::Mode::ReadWrite:
    case PrefsStore::Mode::Missing: write = store.modified; break;
    case PrefsStore::Mode::Created: write = true; break;
    case PrefsStore::Mode::ReadOnly:  // changes to a read-only file are dropped
    case PrefsStore::Mode::Closed: break;
  }
  bool ok = true;
  if (write) ok = WriteFileAtomically(store.path, PrefsFormat(store.entries, store.utf8));
  Reset(store);
  return ok;
}

}  // namespace quorin
