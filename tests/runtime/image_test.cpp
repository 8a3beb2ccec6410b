#include <gtest/gtest.h>

#include "runtime/screen.h"
#include "tests/runtime/png_test_util.h"

namespace quorin {
namespace {

// Images need no screen and no device.
class Images : public ::testing::Test {
 protected:
  std::vector<unsigned char> Picture() {
    PngRecipe r;
    r.width = 3;
    r.height = 2;
    r.colourType = PNG_COLOR_TYPE_PALETTE;
    r.palette = {{255, 0, 255}, {128, 128, 128}, {255, 255, 255}, {0, 0, 0}};
    r.rows = {{0, 1, 2}, {3, 2, 1}};
    return testing::WritePng(r);
  }
  using PngRecipe = testing::PngRecipe;
  VideoState video;
};

TEST_F(Images, HandleFromMinusOneServesAsTheIdentifier) {
  const std::int32_t handle = ImageLoadFromMemory(video, -1, Picture());
  ASSERT_NE(handle, 0);
  EXPECT_EQ(ImageExists(video, handle), 1);
  EXPECT_EQ(ImageGetWidth(video, handle), 3);
  EXPECT_EQ(ImageGetHeight(video, handle), 2);
  const std::int32_t second = ImageLoadFromMemory(video, -1, Picture());
  EXPECT_NE(second, handle);
  // A live handle can be loaded over; a freed one is gone.
  EXPECT_NE(ImageLoadFromMemory(video, handle, Picture()), 0);
  ImageFree(video, handle);
  EXPECT_EQ(ImageExists(video, handle), 0);
  EXPECT_EQ(ImageGetWidth(video, handle), 0);
  EXPECT_EQ(ImageLoadFromMemory(video, handle, Picture()), 0);
  EXPECT_EQ(ImageExists(video, second), 1);
  ImageFreeAll(video);
  EXPECT_EQ(ImageExists(video, second), 0);
}

TEST_F(Images, ReadPixelGivesRedLowColourValues) {
  ASSERT_EQ(ImageLoadFromMemory(video, 3, Picture()), 1);
  const DrawingOutput output = ImageAsDrawTarget(video, 3);
  ASSERT_TRUE(output);
  ASSERT_EQ(DrawingBegin(video, output), 1);
  EXPECT_EQ(DrawingReadPixel(video, 0, 0), 16711935);
  EXPECT_EQ(DrawingReadPixel(video, 1, 0), ColourPack(128, 128, 128));
  EXPECT_EQ(DrawingReadPixel(video, 2, 0), ColourPack(255, 255, 255));
  EXPECT_EQ(DrawingReadPixel(video, 0, 1), 0);
  EXPECT_EQ(DrawingReadPixel(video, 2, 1), ColourPack(128, 128, 128));
  EXPECT_EQ(DrawingReadPixel(video, 3, 0), 0);
  EXPECT_EQ(DrawingReadPixel(video, 0, -1), 0);
  DrawingEnd(video);
  EXPECT_EQ(DrawingReadPixel(video, 0, 0), 0);
}

TEST_F(Images, FreeingTheImageEndsItsDrawing) {
  ImageLoadFromMemory(video, 0, Picture());
  ASSERT_EQ(DrawingBegin(video, ImageAsDrawTarget(video, 0)), 1);
  ImageFree(video, 0);
  EXPECT_EQ(DrawingReadPixel(video, 0, 0), 0);
  EXPECT_FALSE(ImageAsDrawTarget(video, 0));
  EXPECT_EQ(DrawingBegin(video, ImageAsDrawTarget(video, 0)), 0);
}

TEST_F(Images, CorruptDataCreatesNothing) {
  std::vector<unsigned char> png = Picture();
  png.resize(png.size() - 20);
  EXPECT_EQ(ImageLoadFromMemory(video, -1, png), 0);
  EXPECT_EQ(ImageLoadFromMemory(video, 4, png), 0);
  EXPECT_EQ(ImageExists(video, 4), 0);
  EXPECT_EQ(ImageLoadFromMemory(video, 4, {}), 0);
  int count = 0;
  video.images.ForEach([&](std::int32_t, const Image&) { ++count; });
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace quorin
