// The SDL device on SDL's dummy video driver: a real window and renderer,
// no display needed.
#include "runtime/sdl/sdl_video.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/screen.h"
#include "runtime/window.h"
#include "tests/support/x_server.h"

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

// Presents a quad of the texture sprite at (x, y), w x h, over a grey clear,
// and reads the window back.
Surface PresentQuad(VideoState& video, SdlVideo& device, std::int32_t x, std::int32_t y, std::int32_t w,
                    std::int32_t h, std::int32_t filtering) {
  ScreenClear(video, 0x202020);
  QuadBegin(video);
  QuadSetFiltering(video, filtering);
  QuadSetSize(video, 0, w, h);
  QuadDraw(video, 0, x, y);
  QuadEnd(video);
  ScreenPresent(video);
  Surface picture;
  EXPECT_TRUE(device.ReadLastPicture(picture));
  for (std::uint32_t& p : picture.pixels) p &= kPixelRgbMask;
  return picture;
}

TEST_F(SdlScreen, OwnStretchShowsExactlySdlsScaledCopy) {
  // A window of the game's shape with the square quad hanging off its
  // bottom, at a whole and at an uneven scale.
  for (const auto& [windowW, windowH] : {std::pair{96, 72}, std::pair{100, 75}}) {
    ASSERT_NE(WindowOpen(windows, 0, 0, 0, windowW, windowH, "Quorin", kGameWindowFlags), 0u);
    ASSERT_EQ(ScreenOpenWindowed(video, WindowNativeHandle(windows, 0), 0, 0, windowW, windowH, 0, 0, 0), 1);
    ASSERT_EQ(device->RendererName(), "software");
    SpriteSetKeyColour(video, kDefaultKey, kMagenta);
    Sprite* texture = SpriteCreate(video, 4082, 64, 64, kSpriteTexture);
    ASSERT_NE(texture, nullptr);
    std::uint32_t seed = 12345;
    for (std::uint32_t& p : texture->surface.pixels) {
      seed = seed * 1664525u + 1013904223u;
      p = (seed >> 8) & kPixelRgbMask;
      if (p == kMagenta) p = 0;
    }
    ASSERT_NE(QuadCreate(video, 0, 4082), nullptr);
    for (const std::int32_t filtering : {0, 1}) {
      device->SetOwnStretch(true);
      const Surface own = PresentQuad(video, *device, 0, 0, windowW, windowW, filtering);
      device->SetOwnStretch(false);
      const Surface sdl = PresentQuad(video, *device, 0, 0, windowW, windowW, filtering);
      ASSERT_EQ(own.width, windowW);
      ASSERT_EQ(own.height, windowH);
      EXPECT_EQ(own.pixels, sdl.pixels) << windowW << " x " << windowH << ", filtering " << filtering;
      EXPECT_NE(own.pixels.front(), own.pixels.back()) << "the picture is the texture, not the clear";
    }
    ScreenClose(video);
    WindowCloseAll(windows);
  }
}

TEST_F(SdlScreen, OwnStretchFollowsEveryChangeOfTexelsAndFiltering) {
  ASSERT_NE(WindowOpen(windows, 0, 0, 0, 48, 36, "Quorin", kGameWindowFlags), 0u);
  ASSERT_EQ(ScreenOpenWindowed(video, WindowNativeHandle(windows, 0), 0, 0, 48, 36, 0, 0, 0), 1);
  SpriteSetKeyColour(video, kDefaultKey, kMagenta);
  Sprite* texture = SpriteCreate(video, 4082, 4, 4, kSpriteTexture);
  ASSERT_NE(texture, nullptr);
  for (std::size_t i = 0; i < texture->surface.pixels.size(); ++i) texture->surface.pixels[i] = 0x101010u * i;
  ASSERT_NE(QuadCreate(video, 0, 4082), nullptr);
  const Surface first = PresentQuad(video, *device, 0, 0, 48, 48, 0);
  EXPECT_EQ(PresentQuad(video, *device, 0, 0, 48, 48, 0).pixels, first.pixels) << "a still picture stays";
  texture->surface.pixels[0] = 0x00FF00;
  const Surface changed = PresentQuad(video, *device, 0, 0, 48, 48, 0);
  EXPECT_EQ(changed.Row(0)[0], 0x00FF00u);
  EXPECT_EQ(changed.Row(35)[47], first.Row(35)[47]);
  // The same texels with the other filtering, and at another size.
  const Surface smooth = PresentQuad(video, *device, 0, 0, 48, 48, 1);
  device->SetOwnStretch(false);
  EXPECT_EQ(PresentQuad(video, *device, 0, 0, 48, 48, 1).pixels, smooth.pixels);
  const Surface smaller = PresentQuad(video, *device, 0, 0, 40, 40, 1);
  device->SetOwnStretch(true);
  EXPECT_EQ(PresentQuad(video, *device, 0, 0, 40, 40, 1).pixels, smaller.pixels);
  // A key-coloured texel turns the quad transparent there: SDL's blend again.
  texture->surface.pixels[11] = kMagenta;  // shown at the bottom right
  const Surface keyed = PresentQuad(video, *device, 0, 0, 48, 48, 0);
  EXPECT_EQ(keyed.Row(35)[47], 0x202020u);
  EXPECT_EQ(keyed.Row(0)[0], 0x00FF00u);
}

TEST_F(SdlScreen, OpaqueQuadLeavesTheClearAroundIt) {
  ASSERT_NE(WindowOpen(windows, 0, 0, 0, 64, 48, "Quorin", kGameWindowFlags), 0u);
  ASSERT_EQ(ScreenOpenWindowed(video, WindowNativeHandle(windows, 0), 0, 0, 64, 48, 0, 0, 0), 1);
  SpriteSetKeyColour(video, kDefaultKey, kMagenta);
  Sprite* texture = SpriteCreate(video, 4082, 2, 2, kSpriteTexture);
  ASSERT_NE(texture, nullptr);
  texture->surface.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
  ASSERT_NE(QuadCreate(video, 0, 4082), nullptr);
  const Surface picture = PresentQuad(video, *device, 8, 4, 32, 32, 0);
  EXPECT_EQ(picture.Row(3)[8], 0x202020u);
  EXPECT_EQ(picture.Row(4)[7], 0x202020u);
  EXPECT_EQ(picture.Row(4)[8], 0x0000FFu);
  EXPECT_EQ(picture.Row(35)[39], 0xFFFFFFu);
  EXPECT_EQ(picture.Row(36)[39], 0x202020u);
  EXPECT_EQ(picture.Row(35)[40], 0x202020u);
  // Over the whole window the quad is all there is.
  const Surface covered = PresentQuad(video, *device, 0, 0, 64, 64, 0);
  EXPECT_EQ(covered.Row(0)[0], 0x0000FFu);
  EXPECT_EQ(covered.Row(47)[63], 0xFFFFFFu);
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

// Sets SDL_RENDER_DRIVER for one test, over any value in the environment.
struct RenderDriverHint {
  explicit RenderDriverHint(const char* name) {
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, name, SDL_HINT_OVERRIDE);
  }
  ~RenderDriverHint() { SDL_ResetHint(SDL_HINT_RENDER_DRIVER); }
};

TEST_F(SdlScreen, RendererFollowsTheRenderDriverHint) {
  const RenderDriverHint hint("software");
  EXPECT_EQ(device->RendererName(), "") << "no screen, no renderer";
  ASSERT_NE(WindowOpen(windows, 0, 0, 0, 16, 8, "Quorin", kGameWindowFlags), 0u);
  ASSERT_EQ(ScreenOpenWindowed(video, WindowNativeHandle(windows, 0), 0, 0, 16, 8, 0, 0, 0), 1);
  EXPECT_EQ(device->RendererName(), "software");
  ASSERT_EQ(ScreenOpenFullscreen(video, 32, 24, 32, "Quorin", 1, 0), 1);
  EXPECT_EQ(device->RendererName(), "software");
  ScreenClose(video);
  EXPECT_EQ(device->RendererName(), "");
}

TEST_F(SdlScreen, ARenderDriverThatCannotStartFallsBackToSoftware) {
  // The dummy video driver has no graphics library: these cannot start here.
  for (const char* name : {"opengl", "opengles2", "no-such-driver"}) {
    const RenderDriverHint hint(name);
    ASSERT_NE(WindowOpen(windows, 0, 0, 0, 16, 8, "Quorin", kGameWindowFlags), 0u);
    ASSERT_EQ(ScreenOpenWindowed(video, WindowNativeHandle(windows, 0), 0, 0, 16, 8, 0, 0, 0), 1) << name;
    EXPECT_EQ(device->RendererName(), "software") << name;
    ScreenClear(video, 0x00FF00);
    ScreenPresent(video);
    Surface picture;
    ASSERT_TRUE(device->ReadLastPicture(picture)) << name;
    EXPECT_EQ(picture.Row(4)[8] & kPixelRgbMask, 0x00FF00u) << name;
    ScreenClose(video);
    WindowCloseAll(windows);
  }
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

TEST_F(SdlScreen, ScaledFullScreenSitsCentredBetweenEqualBars) {
  // The dummy display has only its 1024 x 768 desktop mode, so 320 x 200 is
  // scaled onto the desktop.
  ASSERT_EQ(ScreenOpenFullscreen(video, 320, 200, 32, "Quorin", 0, 0), 1);
  ScreenClear(video, 0x0000FF);
  ScreenPresent(video);
  Surface picture;
  ASSERT_TRUE(device->ReadLastPicture(picture));
  ASSERT_GT(picture.height * 320, picture.width * 200) << "expects a display taller than 16:10";
  // Full width, so the picture is 200 x (width / 320) rows high.
  const int pictureRows = picture.width * 200 / 320;
  const int top = (picture.height - pictureRows) / 2;
  ASSERT_GT(top, 0);
  auto rgb = [&](int x, int y) { return picture.Row(y)[x] & kPixelRgbMask; };
  for (int x : {0, picture.width / 2, picture.width - 1}) {
    EXPECT_EQ(rgb(x, 0), 0u);
    EXPECT_EQ(rgb(x, top - 1), 0u);
    EXPECT_EQ(rgb(x, top), 0x0000FFu);
    EXPECT_EQ(rgb(x, top + pictureRows - 1), 0x0000FFu);
    EXPECT_EQ(rgb(x, top + pictureRows), 0u);
    EXPECT_EQ(rgb(x, picture.height - 1), 0u);
  }
  EXPECT_EQ(picture.height - (top + pictureRows), top);  // equal bars

  // Presenting again keeps the bars where they are.
  ScreenPresent(video);
  ASSERT_TRUE(device->ReadLastPicture(picture));
  EXPECT_EQ(rgb(0, top - 1), 0u);
  EXPECT_EQ(rgb(0, top), 0x0000FFu);
}

TEST_F(SdlScreen, ClosingTheFullScreenWindowDestroysItOnce) {
  ASSERT_EQ(ScreenOpenFullscreen(video, 320, 240, 32, "Quorin", 0, 0), 1);
  const NativeWindow window = ScreenWindowHandle(video);
  ASSERT_NE(window, 0u);
  SDL_ClearError();
  device->CloseWindow(window);
  EXPECT_STREQ(SDL_GetError(), "");  // SDL says "Invalid window" when handed a destroyed one
  EXPECT_EQ(device->ScreenWindow(), 0u);
  EXPECT_EQ(SDL_GetWindowFromID(static_cast<Uint32>(window)), nullptr);
  device->CloseWindow(window);
  device->CloseScreen();
  EXPECT_STREQ(SDL_GetError(), "");
}

// An X server of our own with two screens, both at the desktop origin, of
// different sizes; SDL lists screen 0 (the default one) first.
class SdlTwoDisplays : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "Xvfb missing (./check installs it)";
    xserver.emplace(std::vector<std::string>{"640x480x24", "800x600x24"});
    ASSERT_FALSE(xserver->display.empty()) << "Xvfb did not start";
    Remember("DISPLAY");
    Remember("SDL_VIDEODRIVER");
    setenv("DISPLAY", xserver->display.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    xserver.reset();
  }
  void Remember(const char* name) {
    const char* value = std::getenv(name);
    saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  std::optional<testing::XServer> xserver;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(SdlTwoDisplays, DesktopZeroIsSdlsFirstDisplayNotTheLastOneAtTheOrigin) {
  VideoState video;
  {
    SdlVideo device;
    ASSERT_TRUE(device.Ready()) << SDL_GetError();
    SpriteSystemInit(video, device);
    ASSERT_EQ(SDL_GetNumVideoDisplays(), 2);
    SDL_Rect first;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &first), 0);
    ASSERT_EQ(DesktopEnumerate(video), 2);
    EXPECT_EQ(DesktopGetWidth(video, 0), first.w);
    EXPECT_EQ(DesktopGetHeight(video, 0), first.h);
    EXPECT_EQ(DesktopGetWidth(video, 0) + DesktopGetWidth(video, 1), 640 + 800);
    SpriteSystemShutdown(video);
  }
}

}  // namespace
}  // namespace quorin
