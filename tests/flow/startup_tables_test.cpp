// PrepareTables and the background map it builds from the noise texture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "flow/game.h"
#include "flow/sprite_sheets.h"
#include "runtime/png_codec.h"
#include "world/tables.h"

namespace quorin {
namespace {

constexpr std::uint32_t kBlackPixel = 0x000000;
constexpr std::uint32_t kGreyPixel = 0x808080;
constexpr std::uint32_t kWhitePixel = 0xFFFFFF;

// A 128 x 128 noise picture, black but for the given pixels.
struct NoisePicture {
  Surface pixels = MakeSurface(128, 128, kBlackPixel | kPixelAlphaOpaque);
  NoisePicture& Set(int x, int y, std::uint32_t colour) {
    pixels.Row(y)[x] = colour | kPixelAlphaOpaque;
    return *this;
  }
  std::vector<unsigned char> Png() const { return EncodePng(pixels); }
};

std::int32_t Slot(const Game& game, int x, int y) {
  return game.presentation.backgroundMap.At(x, y);
}

TEST(BackgroundMap, BaseMaskAndParity) {
  Game game;
  NoisePicture noise;
  noise.Set(5, 6, kGreyPixel);  // alone: mask 0, odd column
  // White joins only white; grey joins grey and white.
  noise.Set(10, 11, kWhitePixel).Set(11, 11, kWhitePixel).Set(10, 12, kGreyPixel).Set(10, 10, kGreyPixel);
  BuildBackgroundMapFrom(game, noise.Png());
  ASSERT_EQ(game.presentation.backgroundMap.Size(), 129u * 129u);
  EXPECT_EQ(Slot(game, 5, 6), 576 + 16);
  EXPECT_EQ(Slot(game, 10, 11), 640 + 2 + 32);       // right is white; the grey above does not count
  EXPECT_EQ(Slot(game, 11, 11), 640 + 8 + 16 + 32);  // left is white
  EXPECT_EQ(Slot(game, 10, 12), 576 + 1);            // the white above counts for grey
  EXPECT_EQ(Slot(game, 10, 10), 576 + 4);
  EXPECT_EQ(Slot(game, 6, 6), 0);  // black stays empty
  EXPECT_EQ(Slot(game, 4, 6), 0);
}

TEST(BackgroundMap, NeighboursWrapAround) {
  Game game;
  NoisePicture noise;
  noise.Set(0, 0, kGreyPixel).Set(127, 0, kWhitePixel).Set(0, 127, kGreyPixel).Set(127, 127, kGreyPixel);
  BuildBackgroundMapFrom(game, noise.Png());
  EXPECT_EQ(Slot(game, 0, 0), 576 + 1 + 8);                // up is (0, 127), left is (127, 0)
  EXPECT_EQ(Slot(game, 127, 0), 640 + 16);                 // its right neighbour (0, 0) is grey, not white
  EXPECT_EQ(Slot(game, 0, 127), 576 + 4 + 8 + 32);         // down is (0, 0), left is (127, 127)
  EXPECT_EQ(Slot(game, 127, 127), 576 + 2 + 4 + 16 + 32);  // right is (0, 127), down is (127, 0)
  // The spare 129th row and column are never written.
  for (int k = 0; k < 129; ++k) {
    EXPECT_EQ(Slot(game, 128, k), 0);
    EXPECT_EQ(Slot(game, k, 128), 0);
  }
}

TEST(BackgroundMap, RebuildStartsFromEmptyAndBadDataLeavesItEmpty) {
  Game game;
  NoisePicture noise;
  noise.Set(3, 3, kWhitePixel);
  BuildBackgroundMapFrom(game, noise.Png());
  EXPECT_NE(Slot(game, 3, 3), 0);
  const unsigned char junk[] = {1, 2, 3};
  BuildBackgroundMapFrom(game, junk);
  EXPECT_EQ(Slot(game, 3, 3), 0);
  EXPECT_EQ(game.video.images.Find(-2), nullptr);  // the decoded picture is freed again
}

TEST(BackgroundMap, EmbeddedNoiseGivesOnlyBackgroundTiles) {
  Game game;
  BuildBackgroundMap(game);
  int grey = 0, white = 0;
  for (int x = 0; x < 128; ++x) {
    for (int y = 0; y < 128; ++y) {
      const std::int32_t t = Slot(game, x, y);
      if (t == 0) continue;
      ASSERT_GE(t, 576);
      ASSERT_LE(t, 703);
      EXPECT_EQ((t >> 4) & 1, x % 2) << x << "," << y;
      EXPECT_EQ((t >> 5) & 1, y % 2) << x << "," << y;
      (t < 640 ? grey : white) += 1;
    }
  }
  EXPECT_GT(grey, 0);
  EXPECT_GT(white, 0);
}

TEST(PrepareTables, FillsEveryStartupTable) {
  Game game;
  BuildDirectionTable(game.world);
  game.world.directionTable.At(5, 0) = 0.5f;  // start-up's table is used as it is, not rebuilt
  PrepareTables(game);

  EXPECT_EQ(game.world.aimOffsets[0].dx, 18);
  EXPECT_EQ(game.world.aimOffsets[7].dy, -12);

  const Array<std::int32_t>& field = game.world.noiseField;
  ASSERT_EQ(field.Size(), 1024u * 1024u);
  const auto [lo, hi] = std::minmax_element(field.Data(), field.Data() + field.Size());
  EXPECT_EQ(*lo, -32767);
  EXPECT_EQ(*hi, 32768);
  World seeded;
  PrepareNoiseField(seeded);  // seed 777, step 16, amplitude 6000
  EXPECT_EQ(std::memcmp(field.Data(), seeded.noiseField.Data(), field.Size() * sizeof(std::int32_t)), 0);

  const Array<std::int32_t>& fixed = game.world.fixedDirectionTable;
  ASSERT_EQ(fixed.Size(), 4097u * 2u);
  EXPECT_EQ(fixed.At(0, 0), 4095);
  EXPECT_EQ(fixed.At(0, 1), 0);
  EXPECT_EQ(fixed.At(5, 0), 2047);
  EXPECT_EQ(fixed.At(4096, 0), 0);

  EXPECT_EQ(game.presentation.backgroundMap.Size(), 129u * 129u);
  EXPECT_TRUE(std::any_of(game.presentation.backgroundMap.Data(),
                          game.presentation.backgroundMap.Data() + game.presentation.backgroundMap.Size(),
                          [](std::int32_t t) { return t != 0; }));
}

TEST(PrepareTables, WithoutADirectionTableTheFixedOneStaysZero) {
  Game game;
  PrepareTables(game);
  const Array<std::int32_t>& fixed = game.world.fixedDirectionTable;
  ASSERT_EQ(fixed.Size(), 4097u * 2u);
  EXPECT_TRUE(std::all_of(fixed.Data(), fixed.Data() + fixed.Size(), [](std::int32_t v) { return v == 0; }));
}

}  // namespace
}  // namespace quorin
