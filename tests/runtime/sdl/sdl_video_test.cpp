// The SDL device on SDL's dummy video driver: a real window and renderer,
// no display needed.
#include "runtime/sdl/sdl_video.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/screen.h"
#include "runtime/window.h"

namespace quorin {
namespace {

class SdlScreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "dummy", 0); }
  void SetUp() override {
    device = std::make_unique<SdlVideo>();
    ASSERT_TRUE(device->Ready()) << SDL_GetError();
    WindowSystemInit(windows, *device);
    SpriteSystemInit(video, *device);
  }
  void TearDown() override {
    SpriteSystemShutdown(video);
    WindowCloseAll(windows);
    device.reset();
  }
  std::unique_ptr<SdlVideo> device;
  WindowLayer windows;
  VideoState video;
};

TEST_F(SdlScreen, ScaledQuadIsReadBackFromTheRenderer) {
  EXPECT_GE(DesktopEnumerate(video), 1);
  EXPECT_GT(DesktopGetWidth(video, 0), 0);
  ASSERT_NE(WindowOpen(windows, 0, 0, 0, 64, 48, "Quorin", kGameWindowFlags), 0u);
  ASSERT_EQ(ScreenOpenWindowed(video, WindowNativeHandle(windows, 0), 0, 0, 64, 48, 0, 0, 0), 1);
  EXPECT_EQ(ScreenIsActive(video), 1);
  EXPECT_EQ(ScreenWindowHandle(video), WindowNativeHandle(windows, 0));

  SpriteSetKeyColour(video, kDefaultKey, kMagenta);
  Sprite* texture = SpriteCreate(video, 4082, 2, 2, kSpriteTexture);
  ASSERT_NE(texture, nullptr);
  texture->surface.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF};
  ASSERT_NE(QuadCreate(video, 0, 4082), nullptr);
  ScreenClear(video, 0x202020);
  ASSERT_EQ(QuadBegin(video), 1);
  QuadSetFiltering(video, 0);
  QuadSetSize(video, 0, 32, 32);
  QuadDraw(video, 0, 8, 4);
  QuadEnd(video);
  ScreenPresent(video);

  Surface picture;
  ASSERT_TRUE(device->ReadLastPicture(picture));
  ASSERT_EQ(picture.width, 64);
  ASSERT_EQ(picture.height, 48);
  auto rgb = [&](int x, int y) { return picture.Row(y)[x] & kPixelRgbMask; };
  EXPECT_EQ(rgb(0, 0), 0x202020u);
  EXPECT_EQ(rgb(8, 4), 0x0000FFu);
  EXPECT_EQ(rgb(23, 19), 0x0000FFu);
  EXPECT_EQ(rgb(24, 4), 0x00FF00u);
  EXPECT_EQ(rgb(39, 19), 0x00FF00u);
  EXPECT_EQ(rgb(8, 20), 0xFF0000u);
  EXPECT_EQ(rgb(30, 30), 0x202020u);  // magenta texel: transparent
  EXPECT_EQ(rgb(40, 4), 0x202020u);
  EXPECT_EQ(rgb(8, 36), 0x202020u);

  // Bilinear: the step between two texels turns into a ramp.
  QuadBegin(video);
  QuadSetFiltering(video, 1);
  QuadDraw(video, 0, 8, 4);
  QuadEnd(video);
  ScreenPresent(video);
  ASSERT_TRUE(device->ReadLastPicture(picture));
  const std::uint32_t green = (picture.Row(8)[24] >> 8) & 255;
  EXPECT_GT(green, 0u);
  EXPECT_LT(green, 255u);
}

TEST_F(SdlScreen, BackBufferDrawingIsShownUnscaled) {
  ASSERT_NE(WindowOpen(windows, 0, 0, 0, 16, 8, "Quorin", kGameWindowFlags), 0u);
  ASSERT_EQ(ScreenOpenWindowed(video, WindowNativeHandle(windows, 0), 0, 0, 16, 8, 0, 0, 0), 1);
  Sprite* s = SpriteCreate(video, 1, 2, 1, 0);
  s->surface.pixels = {0x123456, 0x654321};
  SpriteSetKeyColour(video, 1, 0x999999);
  ScreenClear(video, 0);
  SpriteDraw(video, 1, 3, 2);
  ScreenPresent(video);
  Surface picture;
  ASSERT_TRUE(device->ReadLastPicture(picture));
  EXPECT_EQ(picture.Row(2)[3] & kPixelRgbMask, 0x123456u);
  EXPECT_EQ(picture.Row(2)[4] & kPixelRgbMask, 0x654321u);
  EXPECT_EQ(picture.Row(2)[5] & kPixelRgbMask, 0u);
}

TEST_F(SdlScreen, CloseButtonYieldsSixteenAndTheWindowStays) {
  const NativeWindow window = WindowOpen(windows, 0, 0, 0, 32, 32, "Quorin", kGameWindowFlags);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(WindowPollEvent(windows), 0);
  int observedCloses = 0;
  device->SetEventObserver([&](const SDL_Event& e) {
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) ++observedCloses;
  });
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  event.window.windowID = static_cast<Uint32>(window);
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  int code = 0;
  for (int i = 0; i < 8 && code == 0; ++i) code = WindowPollEvent(windows);
  EXPECT_EQ(code, kWindowEventClose);
  EXPECT_EQ(observedCloses, 1);
  EXPECT_NE(SDL_GetWindowFromID(static_cast<Uint32>(window)), nullptr);
  EXPECT_EQ(WindowPollEvent(windows), 0);
  device->SetEventObserver(nullptr);
}

TEST_F(SdlScreen, FullscreenOpensAtAnySizeAndClosesItsOwnWindow) {
  EXPECT_EQ(ScreenOpenFullscreen(video, 320, 0, 32, "Quorin", 1, 0), 0);
  ASSERT_EQ(ScreenOpenFullscreen(video, 320, 240, 32, "Quorin", 0, 0), 1);
  const NativeWindow window = ScreenWindowHandle(video);
  ASSERT_NE(window, 0u);
  ScreenClear(video, 0x0000FF);
  ScreenPresent(video);
  Surface picture;
  ASSERT_TRUE(device->ReadLastPicture(picture));
  EXPECT_EQ(picture.Row(100)[100] & kPixelRgbMask, 0x0000FFu);
  ScreenClose(video);
  EXPECT_EQ(SDL_GetWindowFromID(static_cast<Uint32>(window)), nullptr);
}

}  // namespace
}  // namespace quorin
