// The desktop icon cut from the actors sheet and its sizes.
#include "tools/iconmaker/icon.h"

#include <gtest/gtest.h>

#include "runtime/embedded.h"
#include "runtime/png_codec.h"

namespace quorin {
namespace {

Surface ActorsSheet() {
  const EmbeddedFile* file = FindEmbeddedFile("actors.png");
  DecodedImage image;
  if (file == nullptr || !DecodePng(file->bytes, image)) return {};
  return image.pixels;
}

std::uint32_t Alpha(std::uint32_t pixel) { return pixel >> 24; }

TEST(HeroIcon, IsASquareWithTransparentCornersAndAnOpaqueHero) {
  const Surface icon = HeroIcon(ActorsSheet());
  ASSERT_GT(icon.width, 0);
  EXPECT_EQ(icon.width, icon.height);
  const std::int32_t last = icon.width - 1;
  for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
    EXPECT_EQ(icon.Row(y)[x], 0u) << x << "," << y;
  }
  std::size_t opaque = 0;
  for (const std::uint32_t p : icon.pixels) {
    EXPECT_TRUE(Alpha(p) == 0 || Alpha(p) == 255);
    if (Alpha(p) == 255) {
      ++opaque;
      EXPECT_NE(p & kPixelRgbMask, 0xFF00FFu) << "key colour left in the icon";
    }
  }
  EXPECT_GT(opaque, static_cast<std::size_t>(icon.width * icon.height / 8));
}

TEST(HeroIcon, ASheetTooSmallForTheHeroGivesNoIcon) {
  EXPECT_EQ(HeroIcon(MakeSurface(64, 64, 0xFF000000u)).width, 0);
}

TEST(ScaleIcon, EnlargesByWholeBlocksCentred) {
  Surface src = MakeSurface(2, 2, 0);
  src.Row(0)[0] = 0xFF0000FFu;
  src.Row(1)[1] = 0xFF00FF00u;
  const Surface out = ScaleIcon(src, 5);  // blocks of 2, one pixel of margin split 0 / 1
  ASSERT_EQ(out.width, 5);
  EXPECT_EQ(out.Row(0)[0], 0xFF0000FFu);
  EXPECT_EQ(out.Row(1)[1], 0xFF0000FFu);
  EXPECT_EQ(out.Row(2)[2], 0xFF00FF00u);
  EXPECT_EQ(out.Row(3)[3], 0xFF00FF00u);
  EXPECT_EQ(out.Row(4)[4], 0u);
  EXPECT_EQ(out.Row(0)[2], 0u);
}

TEST(ScaleIcon, ShrinksByAveragingOnlyTheVisiblePixels) {
  Surface src = MakeSurface(2, 2, 0);
  src.Row(0)[0] = 0xFF0000C8u;  // red 200, opaque; the other three transparent
  const Surface out = ScaleIcon(src, 1);
  ASSERT_EQ(out.width, 1);
  // The colour stays the visible pixel's own (not darkened by the clear ones);
  // the coverage becomes a quarter.
  EXPECT_EQ(out.Row(0)[0] & kPixelRgbMask, 0xC8u);
  EXPECT_EQ(Alpha(out.Row(0)[0]), 64u);
}

TEST(ScaleIcon, EverySizeComesOutAtThatSize) {
  const Surface icon = HeroIcon(ActorsSheet());
  for (const std::int32_t size : kIconSizes) {
    const Surface out = ScaleIcon(icon, size);
    EXPECT_EQ(out.width, size);
    EXPECT_EQ(out.height, size);
    EXPECT_FALSE(EncodePng(out, true).empty());
  }
}

TEST(WindowsIcon, HoldsEverySizeAsAPngTheDirectoryPointsAt) {
  const std::vector<unsigned char> ico = WindowsIconFile(HeroIcon(ActorsSheet()));
  const auto u16 = [&ico](std::size_t at) { return ico.at(at) | ico.at(at + 1) << 8; };
  const auto u32 = [&u16](std::size_t at) { return static_cast<std::size_t>(u16(at) | u16(at + 2) << 16); };
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(u16(0), 0);
  EXPECT_EQ(u16(2), 1);
  ASSERT_EQ(u16(4), static_cast<int>(kWindowsIconSizes.size()));
  std::size_t end = 6 + 16 * kWindowsIconSizes.size();
  for (std::size_t i = 0; i < kWindowsIconSizes.size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    const std::int32_t side = kWindowsIconSizes[i];
    EXPECT_EQ(ico.at(entry), side == 256 ? 0 : side);
    EXPECT_EQ(u16(entry + 6), 32);
    const std::size_t size = u32(entry + 8), offset = u32(entry + 12);
    EXPECT_EQ(offset, end) << "images follow each other";
    end = offset + size;
    ASSERT_LE(end, ico.size());
    DecodedImage image;
    ASSERT_TRUE(DecodePng(std::vector<unsigned char>(ico.begin() + offset, ico.begin() + end), image));
    EXPECT_EQ(image.pixels.width, side);
    EXPECT_EQ(image.pixels.height, side);
  }
  EXPECT_EQ(end, ico.size());
}

}  // namespace
}  // namespace quorin
