#include "runtime/key_codes.h"

#include <gtest/gtest.h>

#include <map>

namespace quorin {
namespace {

TEST(KeyCodes, TheKeysTheGameNamesHaveTheirSetOneCodes) {
  // USB HID usages, which are SDL scancodes.
  EXPECT_EQ(KeyCodeFromUsbUsage(0x29), 1);    // Escape
  EXPECT_EQ(KeyCodeFromUsbUsage(0x2B), 15);   // Tab
  EXPECT_EQ(KeyCodeFromUsbUsage(0x28), 28);   // Return
  EXPECT_EQ(KeyCodeFromUsbUsage(0x1D), 44);   // Z
  EXPECT_EQ(KeyCodeFromUsbUsage(0x1B), 45);   // X
  EXPECT_EQ(KeyCodeFromUsbUsage(0xE2), 56);   // Left Alt
  EXPECT_EQ(KeyCodeFromUsbUsage(0xE6), 184);  // Right Alt
  EXPECT_EQ(KeyCodeFromUsbUsage(0x3D), 62);   // F4
  EXPECT_EQ(KeyCodeFromUsbUsage(0x52), 200);  // Up
  EXPECT_EQ(KeyCodeFromUsbUsage(0x50), 203);  // Left
  EXPECT_EQ(KeyCodeFromUsbUsage(0x4F), 205);  // Right
  EXPECT_EQ(KeyCodeFromUsbUsage(0x51), 208);  // Down
  EXPECT_EQ(KeyCodeFromUsbUsage(0x58), 156);  // Keypad Enter, extended
  EXPECT_EQ(KeyCodeFromUsbUsage(0xE4), 157);  // Right Ctrl, extended
  EXPECT_EQ(KeyCodeFromUsbUsage(0x2C), 57);   // Space
  EXPECT_EQ(KeyCodeFromUsbUsage(0x45), 88);   // F12
}

TEST(KeyCodes, LettersDigitsAndFunctionKeysFollowTheKeyboardRows) {
  const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const int firstCode[] = {16, 30, 44};
  for (int r = 0; r < 3; ++r) {
    for (int i = 0; rows[r][i] != 0; ++i) {
      EXPECT_EQ(KeyCodeFromUsbUsage(0x04 + (rows[r][i] - 'A')), firstCode[r] + i) << rows[r][i];
    }
  }
  for (int d = 0; d < 10; ++d) EXPECT_EQ(KeyCodeFromUsbUsage(0x1E + d), 2 + d);   // 1..9, 0
  for (int f = 0; f < 10; ++f) EXPECT_EQ(KeyCodeFromUsbUsage(0x3A + f), 59 + f);  // F1..F10
}

TEST(KeyCodes, EveryKeyOfAFullKeyboardHasItsOwnCode) {
  std::map<int, int> usageByCode;
  int mapped = 0;
  for (int usage = 0; usage < kUsbUsageCount; ++usage) {
    const int code = KeyCodeFromUsbUsage(usage);
    if (code == 0) continue;
    ++mapped;
    EXPECT_GT(code, 0);
    EXPECT_LT(code, 255);
    auto [it, fresh] = usageByCode.emplace(code, usage);
    // The one deliberate alias: Backslash and the ISO key at the same place.
    if (!fresh) {
      EXPECT_TRUE(it->second == 0x31 && usage == 0x32) << "usage " << usage << " reuses " << code;
    }
  }
  // 104 ANSI keys plus the two ISO ones, and the extras.
  EXPECT_GE(mapped, 106);
  for (int usage = 0x04; usage <= 0x65; ++usage) EXPECT_NE(KeyCodeFromUsbUsage(usage), 0) << usage;
  for (int usage = 0xE0; usage <= 0xE7; ++usage) EXPECT_NE(KeyCodeFromUsbUsage(usage), 0) << usage;
  EXPECT_EQ(KeyCodeFromUsbUsage(-1), 0);
  EXPECT_EQ(KeyCodeFromUsbUsage(0), 0);
  EXPECT_EQ(KeyCodeFromUsbUsage(kUsbUsageCount), 0);
}

}  // namespace
}  // namespace quorin
