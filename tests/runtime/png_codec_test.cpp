#include "runtime/png_codec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/numeric.h"
#include "tests/runtime/png_test_util.h"

namespace quorin {
namespace {

using testing::PngRecipe;
using testing::WritePng;

constexpr std::uint32_t kOpaque = 0xFF000000;

std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(ColourPack(r, g, b));
}

DecodedImage Decode(const std::vector<unsigned char>& bytes) {
  DecodedImage image;
  EXPECT_TRUE(DecodePng(bytes, image));
  return image;
}

TEST(PngDecode, PaletteColoursArriveExactDespiteAGammaChunk) {
  PngRecipe r;
  r.width = 3;
  r.height = 1;
  r.colourType = PNG_COLOR_TYPE_PALETTE;
  r.palette = {{255, 0, 255}, {10, 20, 30}, {128, 128, 128}};
  r.rows = {{0, 1, 2}};
  const DecodedImage image = Decode(WritePng(r));
  ASSERT_EQ(image.pixels.width, 3);
  EXPECT_FALSE(image.hasAlpha);
  EXPECT_EQ(image.pixels.pixels[0], kOpaque | Rgb(255, 0, 255));
  EXPECT_EQ(image.pixels.pixels[1], kOpaque | Rgb(10, 20, 30));
  EXPECT_EQ(image.pixels.pixels[2], kOpaque | Rgb(128, 128, 128));
}

TEST(PngDecode, FourBitPaletteUnpacksBothNibbles) {
  PngRecipe r;
  r.width = 3;
  r.height = 2;
  r.colourType = PNG_COLOR_TYPE_PALETTE;
  r.bitDepth = 4;
  for (int i = 0; i < 16; ++i)
    r.palette.push_back({static_cast<png_byte>(i * 16), 0, static_cast<png_byte>(255 - i)});
  r.rows = {{0x1F, 0x20}, {0xE3, 0x40}};  // indexes 1 15 2 / 14 3 4
  const DecodedImage image = Decode(WritePng(r));
  ASSERT_EQ(image.pixels.height, 2);
  const int expected[6] = {1, 15, 2, 14, 3, 4};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(image.pixels.pixels[k] & kPixelRgbMask, Rgb(expected[k] * 16, 0, 255 - expected[k])) << k;
  }
}

TEST(PngDecode, GreyIsExpandedToRgbIncludingLowBitDepths) {
  PngRecipe grey8;
  grey8.width = 2;
  grey8.height = 1;
  grey8.colourType = PNG_COLOR_TYPE_GRAY;
  grey8.rows = {{7, 200}};
  DecodedImage image = Decode(WritePng(grey8));
  EXPECT_EQ(image.pixels.pixels[0], kOpaque | Rgb(7, 7, 7));
  EXPECT_EQ(image.pixels.pixels[1], kOpaque | Rgb(200, 200, 200));

  PngRecipe grey2 = grey8;
  grey2.bitDepth = 2;
  grey2.width = 4;
  grey2.rows = {{0b00011011}};  // 0 1 2 3 -> 0 85 170 255
  image = Decode(WritePng(grey2));
  EXPECT_EQ(image.pixels.pixels[1] & kPixelRgbMask, Rgb(85, 85, 85));
  EXPECT_EQ(image.pixels.pixels[3] & kPixelRgbMask, Rgb(255, 255, 255));
}

TEST(PngDecode, SixteenBitChannelsKeepTheirHighByte) {
  PngRecipe r;
  r.width = 1;
  r.height = 1;
  r.bitDepth = 16;
  r.rows = {{0x12, 0xFF, 0xAB, 0x01, 0xFF, 0x80}};
  EXPECT_EQ(Decode(WritePng(r)).pixels.pixels[0], kOpaque | Rgb(0x12, 0xAB, 0xFF));

  PngRecipe rgba = r;
  rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba.rows = {{0, 0, 0x40, 0, 0x80, 0, 0x7F, 0xFF}};
  const DecodedImage image = Decode(WritePng(rgba));
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.pixels.pixels[0], 0x7F000000u | Rgb(0, 0x40, 0x80));
}

TEST(PngDecode, InterlacedImageMatchesTheSamePictureNotInterlaced) {
  const int w = 13, h = 11;  // odd sizes leave some Adam7 passes short
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < w * h; ++i) colours.push_back(Rgb(i % 251, (i * 7) % 256, (i * 13) % 256));
  const DecodedImage plain = Decode(testing::RgbPng(w, h, colours, false));
  const DecodedImage laced = Decode(testing::RgbPng(w, h, colours, true));
  EXPECT_EQ(laced.pixels.pixels, plain.pixels.pixels);
  EXPECT_EQ(plain.pixels.pixels[20] & kPixelRgbMask, colours[20]);
}

TEST(PngDecode, TransparencyChunkGivesAnAlphaChannel) {
  PngRecipe r;
  r.width = 2;
  r.height = 1;
  r.colourType = PNG_COLOR_TYPE_PALETTE;
  r.palette = {{1, 2, 3}, {4, 5, 6}};
  r.paletteAlpha = {0};  // entry 0 transparent, entry 1 opaque by omission
  r.rows = {{0, 1}};
  DecodedImage image = Decode(WritePng(r));
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.pixels.pixels[0], Rgb(1, 2, 3));
  EXPECT_EQ(image.pixels.pixels[1], kOpaque | Rgb(4, 5, 6));

  PngRecipe grey;
  grey.width = 2;
  grey.height = 1;
  grey.colourType = PNG_COLOR_TYPE_GRAY;
  grey.greyKey = true;
  grey.greyKeyValue = 9;
  grey.rows = {{9, 10}};
  image = Decode(WritePng(grey));
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.pixels.pixels[0] >> 24, 0u);
  EXPECT_EQ(image.pixels.pixels[1], kOpaque | Rgb(10, 10, 10));
}

TEST(PngDecode, CorruptOrTruncatedDataFailsAndLeavesTheOutputAlone) {
  std::vector<std::uint32_t> colours(64 * 64);
  for (std::size_t i = 0; i < colours.size(); ++i)
    colours[i] = static_cast<std::uint32_t>(i * 2654435761u) & kPixelRgbMask;
  const std::vector<unsigned char> good = testing::RgbPng(64, 64, colours);
  ASSERT_GT(good.size(), 100u);

  DecodedImage untouched;
  untouched.pixels = MakeSurface(1, 1, 42);
  auto expectFailure = [&](const std::vector<unsigned char>& bytes, const char* what) {
    DecodedImage out = untouched;
    EXPECT_FALSE(DecodePng(bytes, out)) << what;
    EXPECT_EQ(out.pixels.pixels, untouched.pixels.pixels) << what;
  };
  for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{8}, std::size_t{20}, std::size_t{40},
                          good.size() / 2, good.size() - 13, good.size() - 1}) {
    expectFailure(std::vector<unsigned char>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)),
                  "truncated");
  }
  std::vector<unsigned char> badCrc = good;
  badCrc[29] ^= 0x55;  // inside the header chunk's CRC
  expectFailure(badCrc, "header CRC");
  std::vector<unsigned char> badData = good;
  for (std::size_t i = 60; i < badData.size() - 20; i += 7) badData[i] ^= 0xA5;
  expectFailure(badData, "scrambled image data");
  std::vector<unsigned char> huge = good;
  huge[16] = 0x7F;  // width far beyond any limit (the CRC is wrong as well)
  expectFailure(huge, "huge width");
  std::vector<unsigned char> garbage(good.begin(), good.begin() + 8);
  garbage.resize(500, 0xEE);
  expectFailure(garbage, "garbage after the signature");
}

TEST(PngEncode, RoundTripKeepsEveryColourAndAlphaWhenAsked) {
  Surface s = MakeSurface(5, 3);
  for (std::size_t i = 0; i < s.pixels.size(); ++i)
    s.pixels[i] = static_cast<std::uint32_t>(i * 0x01030507u + 0x10000000u * i);
  DecodedImage back = Decode(EncodePng(s, true));
  EXPECT_TRUE(back.hasAlpha);
  EXPECT_EQ(back.pixels.pixels, s.pixels);
  back = Decode(EncodePng(s, false));
  for (std::size_t i = 0; i < s.pixels.size(); ++i)
    EXPECT_EQ(back.pixels.pixels[i], kOpaque | (s.pixels[i] & kPixelRgbMask));
  EXPECT_TRUE(EncodePng(Surface{}).empty());
}

TEST(PngEncode, SavePngWritesADecodableFile) {
  const Surface s = MakeSurface(3, 2, 0x00FF00FF);
  const std::string path = ::testing::TempDir() + "quorin_save_png_test.png";
  ASSERT_TRUE(SavePng(s, path));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::vector<unsigned char> bytes(4096);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  std::remove(path.c_str());
  EXPECT_EQ(Decode(bytes).pixels.pixels[5], kOpaque | 0xFF00FFu);
  EXPECT_FALSE(SavePng(s, ::testing::TempDir() + "no/such/dir/x.png"));
}

}  // namespace
}  // namespace quorin
