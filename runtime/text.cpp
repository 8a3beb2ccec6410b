#include "runtime/text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quorin {

Text IntToText(std::int64_t value) {
  char digits[24];
  int n = 0;
  // Work on the unsigned magnitude so the smallest value has no overflow.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  Text out;
  out.reserve(static_cast<std::size_t>(n) + 1);
  if (value < 0) out.push_back('-');
  while (n > 0) out.push_back(digits[--n]);
  return out;
}

std::int32_t TextLength(std::string_view text) { return static_cast<std::int32_t>(text.size()); }

Text TextPadLeft(std::string_view text, std::int32_t width, std::string_view fill) {
  const std::size_t w = width < 0 ? 0 : static_cast<std::size_t>(width);
  const std::size_t n = std::min(text.size(), w);
  const char fillChar = fill.empty() ? ' ' : fill.front();
  Text out(w - n, fillChar);
  out.append(text.substr(0, n));
  return out;
}

Text ZeroPadded(std::int64_t value, std::int32_t minDigits) {
  Text out = IntToText(value);
  const std::size_t sign = value < 0 ? 1 : 0;
  const std::size_t digits = out.size() - sign;
  if (minDigits > 0 && digits < static_cast<std::size_t>(minDigits)) {
    out.insert(sign, static_cast<std::size_t>(minDigits) - digits, '0');
  }
  return out;
}

Text TextMid(std::string_view text, std::int32_t start, std::int32_t length) {
  if (length <= 0) return {};
  const std::size_t skip = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (skip >= text.size()) return {};
  return Text(text.substr(skip, static_cast<std::size_t>(length)));
}

Text TextFrom(std::string_view text, std::int32_t start) {
  // In 64 bits: a very negative start would overflow the length.
  const std::int64_t length = std::int64_t{TextLength(text)} - start + 1;
  const std::int64_t longest = std::numeric_limits<std::int32_t>::max();
  return TextMid(text, start, static_cast<std::int32_t>(std::min(length, longest)));
}

std::int32_t TextFirstCode(std::string_view text) {
  return text.empty() ? 0 : static_cast<unsigned char>(text.front());
}

Text TextSpaces(std::int32_t count) { return count <= 0 ? Text() : Text(static_cast<std::size_t>(count), ' '); }

std::int64_t TextToInt(std::string_view text) {
  std::size_t p = 0;
  while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '-' || text[p] == '+')) {
    negative = text[p] == '-';
    ++p;
  }
  std::uint64_t base = 10;
  if (p < text.size() && text[p] == '$') {
    base = 16;
    ++p;
  } else if (p < text.size() && text[p] == '%') {
    base = 2;
    ++p;
  }
  std::uint64_t value = 0;  // unsigned: overflow wraps instead of being undefined
  for (; p < text.size(); ++p) {
    const char c = text[p];
    std::uint64_t digit;
    if (c >= '0' && c <= '9') digit = static_cast<std::uint64_t>(c - '0');
    else if (c >= 'a' && c <= 'f') digit = static_cast<std::uint64_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') digit = static_cast<std::uint64_t>(c - 'A' + 10);
    else break;
    if (digit >= base) break;
    value = value * base + digit;
  }
  if (negative) value = 0 - value;
  return static_cast<std::int64_t>(value);
}

}  // namespace quorin
