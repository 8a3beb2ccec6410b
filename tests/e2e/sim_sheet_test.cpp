// quorin-sim's start-up noise digest and contact sheet, run as a separate process.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/png_codec.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

int RunSim(const std::string& args, std::string* out = nullptr) {
  const testing::CommandResult r = testing::RunSim(args);
  if (out) *out = r.out;
  return r.code;
}

// The field every world is built from: it must never change.
TEST(SimNoise, DigestOfTheStartupField) {
  std::string out;
  EXPECT_EQ(RunSim("noise", &out), 0);
  EXPECT_EQ(out, "c471b13c21618a34616a4593acb24a02340401d22ea0c1f70e8325f2ef6e02e8\n");
}

TEST(SimSheet, WritesWholePagesOfTheRenderedSheets) {
  testing::TempDir dir;
  ASSERT_EQ(RunSim("sheet sheet.png"), 0);
  const std::string bytes = testing::ReadFile("sheet.png");
  DecodedImage image;
  ASSERT_TRUE(DecodePng(std::vector<unsigned char>(bytes.begin(), bytes.end()), image));
  EXPECT_EQ(image.pixels.width, 1024);
  EXPECT_EQ(image.pixels.height % 512, 0);
  EXPECT_GE(image.pixels.height, 1024);
  // Magenta is the key colour: none of it may reach the picture.
  int magenta = 0;
  for (std::uint32_t p : image.pixels.pixels) magenta += (p & kPixelRgbMask) == 0xFF00FFu;
  EXPECT_EQ(magenta, 0);

  EXPECT_EQ(RunSim("sheet 2>/dev/null"), 2);
  EXPECT_NE(RunSim("sheet /nonexistent-dir/x.png 2>/dev/null"), 0);
}

}  // namespace
}  // namespace quorin
