#include <gtest/gtest.h>

#include "runtime/null/null_video.h"
#include "runtime/screen.h"
#include "runtime/window.h"

namespace quorin {
namespace {

class Screen : public ::testing::Test {
 protected:
  void SetUp() override { SpriteSystemInit(video, device); }
  NullVideo device;
  VideoState video;
};

TEST_F(Screen, FullscreenRefusesEmptySizesAndLeavesNothingOpen) {
  EXPECT_EQ(ScreenOpenFullscreen(video, 640, 0, 32, "Quorin", 1, 0), 0);
  EXPECT_EQ(ScreenOpenFullscreen(video, 0, 480, 32, "Quorin", 1, 0), 0);
  EXPECT_EQ(ScreenOpenFullscreen(video, -5, 480, 32, "Quorin", 1, 0), 0);
  EXPECT_FALSE(video.screen.open);
  EXPECT_FALSE(device.ScreenOpen());
  EXPECT_EQ(ScreenOpenFullscreen(video, 640, 480, 32, "Quorin", 2, -1), 1);
  EXPECT_EQ(video.screen.flipMode, 2);
  EXPECT_EQ(video.screen.requestedRefresh, 0);
  EXPECT_EQ(video.screen.actualRefresh, 60);
  EXPECT_NE(ScreenWindowHandle(video), 0u);
  EXPECT_EQ(ScreenIsActive(video), 1);
  // Alt+Tab: the screen's window is minimised and loses the focus until it comes back.
  WindowLayer windows;
  WindowSystemInit(windows, device);
  WindowMinimise(windows, ScreenWindowHandle(video));
  EXPECT_TRUE(device.WindowOf(ScreenWindowHandle(video))->minimised);
  EXPECT_EQ(ScreenIsActive(video), 0);
  device.SetFocus(ScreenWindowHandle(video));
  EXPECT_EQ(ScreenIsActive(video), 1);
}

TEST_F(Screen, DesktopsComeFromTheDevicePrimaryFirst) {
  DesktopInfo second;
  second.x = 1920;
  second.width = 1280;
  second.height = 1024;
  device.desktops.push_back(second);
  EXPECT_EQ(DesktopEnumerate(video), 2);
  EXPECT_EQ(DesktopGetWidth(video, 0), 1920);
  EXPECT_EQ(DesktopGetHeight(video, 0), 1080);
  EXPECT_EQ(DesktopGetWidth(video, 1), 1280);
  EXPECT_EQ(DesktopGetWidth(video, 2), 0);
  EXPECT_EQ(DesktopGetHeight(video, -1), 0);
}

TEST_F(Screen, WindowedScreenNeedsAWindowAndFollowsItsFocus) {
  WindowSpec wanted;
  wanted.clientWidth = 300;
  wanted.clientHeight = 200;
  EXPECT_EQ(ScreenOpenWindowed(video, 0, 0, 0, 300, 200, 0, 0, 0), 0);
  const NativeWindow window = device.OpenWindow(wanted);
  ASSERT_EQ(ScreenOpenWindowed(video, window, 0, 0, 300, 200, 0, 0, 0), 1);
  EXPECT_EQ(video.screen.flipMode, 1);
  EXPECT_EQ(video.screen.depth, 32);
  EXPECT_EQ(ScreenWindowHandle(video), window);
  EXPECT_EQ(ScreenIsActive(video), 1);
  device.SetFocus(0);
  EXPECT_EQ(ScreenIsActive(video), 0);
  // Windowed drawing goes on without the focus: the game decides what to skip.
  ScreenClear(video, 0x10);
  EXPECT_EQ(video.screen.backBufferFill, 0x10u);
}

TEST_F(Screen, BackBufferPixelsAreMadeByTheFirstDrawWithThePendingClear) {
  ASSERT_EQ(ScreenOpenFullscreen(video, 6, 4, 32, "Quorin", 0, 0), 1);
  EXPECT_TRUE(video.screen.backBuffer.pixels.empty()) << "clears alone need no pixels";
  ScreenClear(video, 0x123456);
  ScreenPresent(video);
  EXPECT_TRUE(video.screen.backBuffer.pixels.empty());
  Surface shown;
  ASSERT_TRUE(device.ReadPicture(shown));
  EXPECT_EQ(shown.Row(3)[5], 0x123456u);

  Sprite* dot = SpriteCreate(video, 1, 1, 1, 0);
  dot->surface.pixels = {0xABCDEF};
  SpriteDraw(video, 1, 5, 3);
  ASSERT_EQ(video.screen.backBuffer.pixels.size(), 24u);
  EXPECT_EQ(video.screen.backBuffer.Row(0)[0], 0x123456u);
  EXPECT_EQ(video.screen.backBuffer.Row(3)[5], 0xABCDEFu);
  // A grab from a cleared back buffer sees the clear too.
  ScreenClear(video, 0x654321);
  Sprite* grabbed = SpriteGrab(video, 2, 0, 0, 2, 1, 0);
  ASSERT_NE(grabbed, nullptr);
  EXPECT_EQ(grabbed->surface.pixels, (std::vector<std::uint32_t>{0x654321, 0x654321}));
}

// The game's frame: canvas into the texture, one scaled quad, bars around.
TEST_F(Screen, PresentShowsTheBackBufferWithTheScaledQuadOnTop) {
  ASSERT_EQ(ScreenOpenFullscreen(video, 12, 10, 32, "Quorin", 0, 0), 1);
  SpriteSetKeyColour(video, kDefaultKey, kMagenta);
  Sprite* texture = SpriteCreate(video, 4082, 2, 2, kSpriteTexture);
  texture->surface.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF};  // magenta: transparent in a quad
  ASSERT_NE(QuadCreate(video, 0, 4082), nullptr);
  ScreenClear(video, 0x404040);
  ASSERT_EQ(QuadBegin(video), 1);
  QuadSetFiltering(video, 0);
  QuadSetSize(video, 0, 8, 8);
  QuadDraw(video, 0, 2, 1);
  QuadEnd(video);
  texture->surface.pixels[0] = 0;  // the quad took its texels when drawn
  ScreenPresent(video);
  const Surface& picture = device.LastPicture();
  ASSERT_EQ(picture.width, 12);
  ASSERT_EQ(picture.height, 10);
  auto rgb = [&](int x, int y) { return picture.Row(y)[x] & kPixelRgbMask; };
  EXPECT_EQ(rgb(0, 0), 0x404040u);
  EXPECT_EQ(rgb(2, 1), 0x0000FFu);
  EXPECT_EQ(rgb(5, 4), 0x0000FFu);
  EXPECT_EQ(rgb(6, 4), 0x00FF00u);
  EXPECT_EQ(rgb(9, 8), 0x404040u);  // the magenta texel shows what lies under it
  EXPECT_EQ(rgb(2, 8), 0xFF0000u);
  EXPECT_EQ(rgb(10, 1), 0x404040u);
  EXPECT_EQ(device.Presents(), 1);

  // Without a batch, or once the quad forgets its sprite, nothing is drawn.
  QuadDraw(video, 0, 0, 0);
  ScreenPresent(video);
  EXPECT_EQ(device.LastPicture().Row(1)[2] & kPixelRgbMask, 0x404040u);
}

TEST_F(Screen, BilinearQuadBlendsNeighbouringTexels) {
  ASSERT_EQ(ScreenOpenFullscreen(video, 4, 1, 32, "Quorin", 0, 0), 1);
  Sprite* texture = SpriteCreate(video, 1, 2, 1, kSpriteTexture);
  texture->surface.pixels = {0x000000, 0x0000FF};
  QuadCreate(video, 0, 1);
  QuadBegin(video);
  QuadSetFiltering(video, 1);
  QuadSetSize(video, 0, 4, 1);
  QuadDraw(video, 0, 0, 0);
  QuadEnd(video);
  ScreenPresent(video);
  const Surface& picture = device.LastPicture();
  const std::uint32_t red1 = picture.Row(0)[1] & 255, red2 = picture.Row(0)[2] & 255;
  EXPECT_GT(red1, 0u);
  EXPECT_LT(red1, red2);
  EXPECT_LT(red2, 255u);
}

}  // namespace
}  // namespace quorin
