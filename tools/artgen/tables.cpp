#include "tools/artgen/tables.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "flow/sheet_layout.h"

namespace quorin::art {

namespace {

// Thin font, characters 32..95.
constexpr std::array<int, 64> kThinAdvances{
    10, 4,  8,  12, 12, 12, 12, 4,  6,  6,  8,  12, 6,  10, 4,  12,  // space .. /
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 4,  6,  8,  10, 8,  10,  // 0 .. ?
    10, 10, 10, 10, 10, 10, 10, 10, 10, 8,  10, 10, 10, 12, 12, 12,  // @ .. O
    10, 10, 10, 10, 12, 10, 12, 12, 12, 12, 12, 8,  12, 8,  8,  10,  // P .. _
};

void PutLe32(std::vector<char>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool WriteBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace

int GlyphAdvancePixels(int g) {
  if (g < 0 || g >= kGlyphCount) return 0;
  if (g < 64) return kThinAdvances[g];
  if (g < 192) {
    const int ch = g % 64 + kFirstTextChar;
    if (ch == '[' || ch == ']') return 12;
    return kThinAdvances[g % 64] + 2;
  }
  if (g < 320) return 10;
  // Unused by any text; kept as the table has always been.
  if (g <= 350) return 6 + (g - 320) * 5 % 9;
  if (g == 474) return 0;
  if (g == 703) return 6;
  return 16;
}

bool WriteGlyphWidths(const std::string& path) {
  std::vector<char> bytes;
  for (int g = 0; g < kGlyphCount; ++g) {
    const float fraction = static_cast<float>(GlyphAdvancePixels(g)) / 16.0f;
    PutLe32(bytes, std::bit_cast<std::uint32_t>(fraction));
  }
  return WriteBytes(path, bytes);
}

bool WriteAimOffsets(const std::string& path) {
  std::vector<char> bytes;
  for (int v : kAimOffsets) PutLe32(bytes, static_cast<std::uint32_t>(v));
  return WriteBytes(path, bytes);
}

}  // namespace quorin::art
