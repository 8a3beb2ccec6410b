// Text values: 8-bit byte strings; an absent text reads as empty. These are the
// rules behind every number the game shows and every setting it parses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorin {

using Text = std::string;

// Decimal digits, "-" for negative values, no leading zeros, "0" for zero.
Text IntToText(std::int64_t value);
std::int32_t TextLength(std::string_view text);
// Exactly max(width, 0) characters: fill characters, then the start of text
// (a text longer than the width keeps its beginning). Blank fill when empty.
Text TextPadLeft(std::string_view text, std::int32_t width, std::string_view fill);
// Decimal with leading zeros up to at least minDigits digits, never cut; a
// negative value has its sign before the zeros. Every number the game shows
// with leading zeros (high score, score, power) goes through it.
Text ZeroPadded(std::int64_t value, std::int32_t minDigits);
// Up to length characters from the 1-based position start.
Text TextMid(std::string_view text, std::int32_t start, std::int32_t length);
// The characters from the 1-based position start to the end.
Text TextFrom(std::string_view text, std::int32_t start);
// Code 0..255 of the first byte; 0 for an empty text.
std::int32_t TextFirstCode(std::string_view text);
Text TextSpaces(std::int32_t count);
// Blanks and tabs, one sign, then "$" hexadecimal, "%" binary or decimal
// digits up to the first other character; 64-bit wrapping; no digits give 0.
std::int64_t TextToInt(std::string_view text);

}  // namespace quorin
