#include <gtest/gtest.h>

#include "runtime/null/null_video.h"
#include "runtime/screen.h"
#include "tests/runtime/png_test_util.h"

namespace quorin {
namespace {

constexpr std::uint32_t kMagentaPixel = 0xFF00FF;

// A screen on the null device with magenta as the default key, as the game runs it.
class SpriteLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    SpriteSystemInit(video, device);
    ASSERT_EQ(ScreenOpenFullscreen(video, 64, 48, 32, "t", 0, 0), 1);
    SpriteSetKeyColour(video, kDefaultKey, kMagenta);
  }

  // A w x h sprite whose pixel (x, y) is colour 1000 * y + x + 1, with the
  // columns listed in keyed set to magenta.
  void MakeNumbered(std::int32_t id, std::int32_t w, std::int32_t h, std::vector<int> keyed = {}) {
    Sprite* s = SpriteCreate(video, id, w, h, 0);
    ASSERT_NE(s, nullptr);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) s->surface.Row(y)[x] = static_cast<std::uint32_t>(1000 * y + x + 1);
      for (int x : keyed) s->surface.Row(y)[x] = kMagentaPixel;
    }
  }

  // A canvas sprite filled with fill, selected as target.
  Sprite* Canvas(std::int32_t id, std::int32_t w, std::int32_t h, std::uint32_t fill = 7) {
    Sprite* c = SpriteCreate(video, id, w, h, 0);
    SurfaceFill(c->surface, fill);
    DrawTargetSelect(video, id);
    return c;
  }

  NullVideo device;
  VideoState video;
};

TEST_F(SpriteLayer, KeyedBlitAtMinusFiveDrawsColumnsFiveOnwardAtColumnZero) {
  MakeNumbered(1, 16, 2);
  Sprite* canvas = Canvas(2, 40, 4);
  SpriteDrawKeyed(video, 1, -5, 1);
  for (int x = 0; x < 11; ++x)
    EXPECT_EQ(canvas->surface.Row(1)[x], static_cast<std::uint32_t>(x + 5 + 1)) << x;
  EXPECT_EQ(canvas->surface.Row(1)[11], 7u);
  EXPECT_EQ(canvas->surface.Row(2)[0], 1000u + 6);
  EXPECT_EQ(canvas->surface.Row(0)[0], 7u);
}

TEST_F(SpriteLayer, KeyedBlitAtWidthMinusThreeDrawsColumnsZeroToTwo) {
  MakeNumbered(1, 16, 1);
  Sprite* canvas = Canvas(2, 40, 2);
  SpriteDrawKeyed(video, 1, 40 - 3, 0);
  std::vector<std::uint32_t> expected(80, 7);
  expected[37] = 1;
  expected[38] = 2;
  expected[39] = 3;
  EXPECT_EQ(canvas->surface.pixels, expected);  // nothing spills into the next row
}

TEST_F(SpriteLayer, BlitExactlyOffAnyEdgeDrawsNothing) {
  MakeNumbered(1, 16, 8);
  Sprite* canvas = Canvas(2, 40, 20);
  const std::vector<std::uint32_t> before = canvas->surface.pixels;
  for (auto [x, y] : {std::pair{-16, 0}, {40, 0}, {0, -8}, {0, 20}, {-16, -8}, {1000, 1000}, {-100000, 5}}) {
    SpriteDrawKeyed(video, 1, x, y);
    SpriteDraw(video, 1, x, y);
  }
  EXPECT_EQ(canvas->surface.pixels, before);
  SpriteDraw(video, 1, -15, -7);  // one pixel in
  EXPECT_EQ(canvas->surface.Row(0)[0], 7000u + 15 + 1);
  EXPECT_EQ(canvas->surface.Row(0)[1], 7u);
  EXPECT_EQ(canvas->surface.Row(1)[0], 7u);
}

TEST_F(SpriteLayer, KeyedBlitSkipsKeyPixelsAndOpaqueBlitCopiesThem) {
  MakeNumbered(1, 9, 1, {0, 4, 5, 8});
  Sprite* canvas = Canvas(2, 9, 2);
  SpriteDrawKeyed(video, 1, 0, 0);
  SpriteDraw(video, 1, 0, 1);
  const std::uint32_t keyedRow[9] = {7, 2, 3, 4, 7, 7, 7, 8, 7};
  for (int x = 0; x < 9; ++x) EXPECT_EQ(canvas->surface.Row(0)[x], keyedRow[x]) << x;
  EXPECT_EQ(canvas->surface.Row(1)[4], kMagentaPixel);
  // The key ignores a stray top byte, as a keyed copy of an alpha image needs.
  SpriteFind(video, 1)->surface.Row(0)[1] = 0xAB000000 | kMagentaPixel;
  SpriteDrawKeyed(video, 1, 0, 1);
  EXPECT_EQ(canvas->surface.Row(1)[1], 2u);
}

TEST_F(SpriteLayer, ClipSelectsTheSourceRectangleAndMinusOnesRestoreIt) {
  MakeNumbered(1, 16, 16);
  Sprite* canvas = Canvas(2, 20, 20, 0);
  SpriteClip(video, 1, 4, 2, 3, 2);
  const Sprite* s = SpriteFind(video, 1);
  EXPECT_EQ(s->width, 3);
  EXPECT_EQ(s->height, 2);
  SpriteDraw(video, 1, 10, 10);
  EXPECT_EQ(canvas->surface.Row(10)[10], 2000u + 5);
  EXPECT_EQ(canvas->surface.Row(11)[12], 3000u + 7);
  EXPECT_EQ(canvas->surface.Row(12)[10], 0u);
  EXPECT_EQ(canvas->surface.Row(10)[13], 0u);
  // Clipped and partly off the left edge: the cut starts inside the clip.
  SpriteDraw(video, 1, -1, 0);
  EXPECT_EQ(canvas->surface.Row(0)[0], 2000u + 6);
  EXPECT_EQ(canvas->surface.Row(0)[2], 0u);

  SpriteClip(video, 1, -1, -1, -1, -1);
  EXPECT_EQ(s->clipX, 0);
  EXPECT_EQ(s->width, 16);
  EXPECT_EQ(s->height, 16);
}

TEST_F(SpriteLayer, ClipLargerThanTheSurfaceIsShortenedAndKeptInside) {
  MakeNumbered(1, 16, 16);
  SpriteClip(video, 1, 10, 12, 100, 100);
  const Sprite* s = SpriteFind(video, 1);
  EXPECT_EQ(s->width, 6);
  EXPECT_EQ(s->height, 4);
  // Negative or outside positions would make blits read outside the surface.
  SpriteClip(video, 1, -3, 40, 5, 5);
  EXPECT_EQ(s->clipX, 0);
  EXPECT_EQ(s->clipY, 16);
  EXPECT_EQ(s->height, 0);
  Sprite* canvas = Canvas(2, 8, 8, 0);
  SpriteDraw(video, 1, 0, 0);
  EXPECT_EQ(canvas->surface.Row(0)[0], 0u);
}

TEST_F(SpriteLayer, GrabCopiesARectangleAndRefusesOneCrossingAnEdge) {
  MakeNumbered(1, 16, 16);
  DrawTargetSelect(video, 1);
  Sprite* g = SpriteGrab(video, 10, 12, 3, 4, 5, 0);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->surface.Row(0)[0], 3000u + 13);
  EXPECT_EQ(g->surface.Row(4)[3], 7000u + 16);
  EXPECT_EQ(g->key, kMagentaPixel);
  EXPECT_NE(SpriteGrab(video, 11, 0, 0, 16, 16, 0), nullptr);  // exactly the whole target
  EXPECT_EQ(SpriteGrab(video, 12, 13, 0, 4, 4, 0), nullptr);   // crosses the right edge
  EXPECT_EQ(SpriteGrab(video, 12, 0, 13, 4, 4, 0), nullptr);   // crosses the bottom edge
  EXPECT_EQ(SpriteGrab(video, 12, -1, 0, 4, 4, 0), nullptr);
  EXPECT_EQ(SpriteGrab(video, 12, 0, 0, 0, 4, 0), nullptr);
  EXPECT_EQ(SpriteFind(video, 12), nullptr);
  // A grab under a used identifier replaces that sprite.
  ASSERT_NE(SpriteGrab(video, 10, 0, 0, 2, 2, 0), nullptr);
  EXPECT_EQ(SpriteFind(video, 10)->realWidth, 2);
}

TEST_F(SpriteLayer, GrabOfTheBackBufferSeesAPendingClear) {
  ScreenClear(video, ColourPack(1, 2, 3));
  Sprite* g = SpriteGrab(video, 5, 60, 40, 4, 8, 0);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->surface.Row(7)[3], static_cast<std::uint32_t>(ColourPack(1, 2, 3)));
  EXPECT_EQ(SpriteGrab(video, 6, 61, 0, 4, 4, 0), nullptr);
}

TEST_F(SpriteLayer, TablesGrowReplaceAndIgnoreEmptyIdentifiers) {
  EXPECT_NE(SpriteCreate(video, 5000, 2, 2, 0), nullptr);
  EXPECT_EQ(video.sprites.Capacity() % kSpriteTableStep, 0u);
  EXPECT_GT(video.sprites.Capacity(), 5000u);
  Sprite* replaced = SpriteCreate(video, 5000, 3, 1, 0);
  EXPECT_EQ(SpriteFind(video, 5000), replaced);
  EXPECT_EQ(replaced->realWidth, 3);
  // Operations on empty identifiers do nothing.
  SpriteFree(video, 4999);
  SpriteClip(video, 77, 0, 0, 1, 1);
  SpriteDraw(video, 77, 0, 0);
  SpriteSetKeyColour(video, 77, 0);
  DrawTargetSelect(video, 77);
  EXPECT_EQ(video.screen.target, nullptr);
  EXPECT_EQ(QuadCreate(video, 0, 77), nullptr);
  SpriteFree(video, 5000);
  EXPECT_EQ(SpriteFind(video, 5000), nullptr);
  EXPECT_EQ(SpriteCreate(video, 1, 0, 5, 0), nullptr);
  EXPECT_EQ(SpriteCreate(video, -1, 4, 4, 0), nullptr);
}

TEST_F(SpriteLayer, FreeingTheTargetFallsBackToTheBackBuffer) {
  Canvas(3, 8, 8);
  SpriteFree(video, 3);
  EXPECT_EQ(video.screen.target, nullptr);
  EXPECT_EQ(video.screen.targetWidth, 64);
  MakeNumbered(1, 4, 4);
  SpriteDraw(video, 1, 0, 0);  // lands on the back buffer, not on freed memory
  EXPECT_EQ(video.screen.backBuffer.Row(0)[0], 1u);
}

TEST_F(SpriteLayer, RawBufferSpritesAreNeverDrawnNorTargets) {
  Sprite* raw = SpriteCreate(video, 1, 4, 4, kSpriteRawBuffer);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->depth, kRawBufferDepth);
  EXPECT_EQ(raw->grey.size(), 16u);
  Sprite* canvas = Canvas(2, 8, 8, 9);
  SpriteDraw(video, 1, 0, 0);
  DrawTargetSelect(video, 1);
  EXPECT_EQ(video.screen.target, canvas);
  EXPECT_EQ(canvas->surface.Row(0)[0], 9u);
}

TEST_F(SpriteLayer, ScreenClearFillsTheTargetWithTheColourValue) {
  Sprite* canvas = Canvas(2, 3, 3, 0);
  ScreenClear(video, ColourPack(10, 20, 30));
  EXPECT_EQ(canvas->surface.Row(2)[2], 0x1E140Au);
}

TEST_F(SpriteLayer, DrawingASpriteOntoItselfCopiesTheOriginalPixels) {
  MakeNumbered(1, 8, 1);
  DrawTargetSelect(video, 1);
  SpriteDraw(video, 1, 2, 0);
  const Sprite* s = SpriteFind(video, 1);
  const std::uint32_t expected[8] = {1, 2, 1, 2, 3, 4, 5, 6};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(s->surface.Row(0)[x], expected[x]) << x;
}

TEST_F(SpriteLayer, LoadedSheetKeepsMagentaAsTheKey) {
  const std::vector<std::uint32_t> colours = {kMagentaPixel, 0x112233, 0x445566, kMagentaPixel};
  const std::vector<unsigned char> png = testing::RgbPng(2, 2, colours);
  Sprite* s = SpriteLoadFromMemoryPlain(video, 4081, png);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->surface.pixels, colours);
  EXPECT_TRUE(s->hasKey);
  Sprite* canvas = Canvas(2, 2, 2, 5);
  SpriteDrawKeyed(video, 4081, 0, 0);
  EXPECT_EQ(canvas->surface.pixels, (std::vector<std::uint32_t>{5, 0x112233, 0x445566, 5}));

  Sprite* grey = SpriteLoadFromMemory(video, 7, png, kSpriteRawBuffer);
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->grey[1], (0x33 + 0x22 + 0x11) / 3);
  // Bad data creates nothing and leaves the identifier's old sprite alone.
  const std::vector<unsigned char> broken(png.begin(), png.begin() + 30);
  EXPECT_EQ(SpriteLoadFromMemoryPlain(video, 4081, broken), nullptr);
  EXPECT_EQ(SpriteFind(video, 4081), s);
  EXPECT_EQ(SpriteLoadFromMemoryPlain(video, 9, broken), nullptr);
  EXPECT_EQ(SpriteFind(video, 9), nullptr);
}

TEST_F(SpriteLayer, ADecodedImageBecomesTheSpriteAsIfLoadedFromItsData) {
  const std::vector<std::uint32_t> colours = {kMagentaPixel, 0x112233, 0x445566, 0x778899};
  DecodedImage image;
  ASSERT_TRUE(DecodePng(testing::RgbPng(2, 2, colours), image));
  Sprite* s = SpriteLoadDecoded(video, 5, image, kSpriteSystemMemory);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->surface.pixels, colours) << "the decoder's opaque alpha byte is dropped";
  EXPECT_EQ(s->width, 2);
  EXPECT_EQ(s->realHeight, 2);
  EXPECT_EQ(s->flags, kSpriteSystemMemory);
  EXPECT_TRUE(s->hasKey);
  EXPECT_EQ(s->key, kMagentaPixel);
  // Pixels that do not fill width x height are refused, and nothing changes.
  DecodedImage torn = image;
  torn.pixels.pixels.pop_back();
  EXPECT_EQ(SpriteLoadDecoded(video, 5, torn, 0), nullptr);
  EXPECT_EQ(SpriteFind(video, 5), s);
  ScreenClose(video);
  EXPECT_EQ(SpriteLoadDecoded(video, 5, image, 0), nullptr) << "no screen, no sprite";
}

TEST_F(SpriteLayer, AlphaFlagIsDroppedForAnImageWithoutAlpha) {
  const std::vector<std::uint32_t> colours = {0x112233, kMagentaPixel, 0x445566, 0x778899};
  Sprite* s =
      SpriteLoadFromMemory(video, 4082, testing::RgbPng(2, 2, colours), kSpriteAlpha | kSpriteTexture);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->flags, kSpriteTexture);
  EXPECT_TRUE(s->hasKey);
  ASSERT_NE(QuadCreate(video, 0, 4082), nullptr);
  ScreenClear(video, 0x0000AA);
  ASSERT_EQ(QuadBegin(video), 1);
  QuadSetFiltering(video, 0);
  QuadDraw(video, 0, 4, 6);
  QuadEnd(video);
  ScreenPresent(video);
  const Surface& picture = device.LastPicture();
  auto rgb = [&](int x, int y) { return picture.Row(y)[x] & kPixelRgbMask; };
  EXPECT_EQ(rgb(4, 6), 0x112233u);  // drawn, not invisible
  EXPECT_EQ(rgb(5, 7), 0x778899u);
  EXPECT_EQ(rgb(5, 6), 0x0000AAu);  // magenta stays the key

  // An image with alpha keeps the flag and its alpha.
  testing::PngRecipe rgba;
  rgba.width = 1;
  rgba.height = 1;
  rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba.rows = {{0x10, 0x20, 0x30, 0x80}};
  Sprite* withAlpha =
      SpriteLoadFromMemory(video, 4083, testing::WritePng(rgba), kSpriteAlpha | kSpriteTexture);
  ASSERT_NE(withAlpha, nullptr);
  EXPECT_EQ(withAlpha->flags, kSpriteAlpha | kSpriteTexture);
  EXPECT_FALSE(withAlpha->hasKey);
  EXPECT_EQ(withAlpha->surface.pixels[0] >> 24, 0x80u);
}

TEST_F(SpriteLayer, QuadNeedsATextureSprite) {
  SpriteCreate(video, 0, 16, 16, 0);
  SpriteCreate(video, 4082, 16, 16, kSpriteTexture);
  EXPECT_EQ(QuadCreate(video, 0, 0), nullptr);
  Quad* quad = QuadCreate(video, 0, 4082);
  ASSERT_NE(quad, nullptr);
  EXPECT_EQ(quad->width, 16);
  SpriteFree(video, 4082);
  EXPECT_EQ(quad->sprite, nullptr);  // a later QuadDraw draws nothing
}

TEST_F(SpriteLayer, ScreenCloseFreesEverySprite) {
  for (int id : {0, 1, 63, 64, 4081, 4082, 5119})
    SpriteCreate(video, id, 4, 4, id == 4082 ? kSpriteTexture : 0);
  QuadCreate(video, 0, 4082);
  DrawTargetSelect(video, 4081);
  ScreenClose(video);
  int left = 0;
  video.sprites.ForEach([&](std::int32_t, const Sprite&) { ++left; });
  EXPECT_EQ(left, 0);
  for (int id : {0, 1, 63, 64, 4081, 4082, 5119}) EXPECT_EQ(SpriteFind(video, id), nullptr);
  EXPECT_EQ(video.quads.Find(0)->sprite, nullptr);
  EXPECT_EQ(video.screen.target, nullptr);
  EXPECT_EQ(video.screen.defaultKey, kMagentaPixel);
  // Without a screen nothing is created.
  EXPECT_EQ(SpriteCreate(video, 1, 4, 4, 0), nullptr);
}

TEST_F(SpriteLayer, InactiveFullScreenDrawsNothing) {
  MakeNumbered(1, 4, 4);
  device.SetFocus(0);
  ScreenPresent(video);
  EXPECT_EQ(ScreenIsActive(video), 0);
  ScreenClear(video, 0x123456);
  SpriteDraw(video, 1, 0, 0);
  EXPECT_TRUE(video.screen.backBufferPlain);
  EXPECT_EQ(video.screen.backBufferFill, 0u);
  device.SetFocus(ScreenWindowHandle(video));
  EXPECT_EQ(ScreenIsActive(video), 1);
}

}  // namespace
}  // namespace quorin
