// The sprite set cut per display and the render pass, on the headless screen.
#include "flow/render.h"

#include <gtest/gtest.h>

#include <future>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/sprite_sheets.h"
#include "runtime/embedded.h"
#include "runtime/null/null_video.h"
#include "runtime/png_codec.h"

namespace quorin {
namespace {

constexpr std::int32_t kRed = ColourPack(220, 30, 30);
constexpr std::int32_t kGreen = ColourPack(30, 200, 40);
constexpr std::int32_t kBlue = ColourPack(40, 60, 230);
constexpr std::int32_t kYellow = ColourPack(240, 220, 20);
constexpr std::int32_t kCyan = ColourPack(20, 220, 220);
constexpr std::int32_t kWhite = ColourPack(250, 250, 250);
constexpr std::int32_t kBackground = ColourPack(40, 44, 60);
constexpr std::int32_t kScratch = 9000;  // outside the game's numbering

class Render : public ::testing::Test {
 protected:
  void SetUp() override {
    device.printMessages = false;
    SpriteSystemInit(game.video, device);
    BuildGlyphAdvances(game);
    BuildFrameTable(game);
    DefinePointerImages(game);
    game.shell.pointerImage = 0;
    game.shell.clearColour = kBackground;
    game.shell.internalHeight = 384;
    game.settings.SpritesMainMem = 1;
  }

  void OpenWindowed(int width) {
    WindowSpec wanted;
    wanted.clientWidth = width;
    wanted.clientHeight = width * 3 / 4;
    const NativeWindow window = device.OpenWindow(wanted);
    ASSERT_EQ(ScreenOpenWindowed(game.video, window, 0, 0, wanted.clientWidth, wanted.clientHeight, 0, 0, 0), 1);
    game.settings.Windowed = 1;
    game.settings.Windowwidth = width;
  }

  std::set<int> SpriteIds() const {
    std::set<int> ids;
    game.video.sprites.ForEach([&](std::int32_t id, const Sprite&) { ids.insert(id); });
    return ids;
  }

  // Replaces sprite id with a plain block of colour.
  void PutSolid(int id, int width, int height, std::int32_t colour) {
    ASSERT_NE(SpriteCreate(game.video, id, width, height, 0), nullptr);
    DrawTargetSelect(game.video, id);
    ScreenClear(game.video, colour);
    DrawTargetSelect(game.video, kBackBuffer);
  }

  // A font sheet that is all key colour: regions are painted in by Paint.
  void BlankFontSheet() { PutSolid(kFontSheetSprite, 512, 512, kMagenta); }
  void Paint(int x, int y, int width, int height, std::int32_t colour) {
    PutSolid(kScratch, width, height, colour);
    DrawTargetSelect(game.video, kFontSheetSprite);
    SpriteDraw(game.video, kScratch, x, y);
    DrawTargetSelect(game.video, kBackBuffer);
    SpriteFree(game.video, kScratch);
  }

  std::int32_t Canvas(int x, int y) const {
    return static_cast<std::int32_t>(SpriteFind(game.video, kCanvasSprite)->surface.Row(y)[x] &
                                     kPixelRgbMask);
  }

  NullVideo device;  // outlives the game, which points at it
  Game game;
};

Surface EmbeddedSheet(std::string_view name) {
  DecodedImage image;
  const EmbeddedFile* file = FindEmbeddedFile(name);
  EXPECT_NE(file, nullptr) << name;
  if (file) {
    EXPECT_TRUE(DecodePng(file->bytes, image));
  }
  return image.pixels;
}

// The pixels of a sprite against a rectangle of a decoded sheet.
bool SameAsSheet(const Sprite& sprite, const Surface& sheet, int x, int y) {
  for (int row = 0; row < sprite.realHeight; ++row) {
    for (int col = 0; col < sprite.realWidth; ++col) {
      if ((sprite.surface.Row(row)[col] & kPixelRgbMask) != (sheet.Row(y + row)[x + col] & kPixelRgbMask)) {
        return false;
      }
    }
  }
  return true;
}

// --- The sprite set ---------------------------------------------------------

TEST_F(Render, BuildSpritesCutsTheNumberingAndReleaseFreesExactlyIt) {
  OpenWindowed(512);
  BuildSprites(game);

  std::set<int> expected{kCanvasSprite, kFontSheetSprite, kPresentTextureSprite};
  for (int id = 1; id < kFrameIdLimit; ++id) {
    if (game.presentation.frameTable[static_cast<std::size_t>(id)].defined) expected.insert(id);
  }
  for (int t = 0; t < kTileCount; ++t) expected.insert(kFirstTileSprite + t);
  EXPECT_EQ(SpriteIds(), expected);  // no scratch sheet left behind, no frame 2
  ASSERT_NE(game.video.quads.Find(kPictureQuad), nullptr);
  EXPECT_EQ(game.video.quads.Find(kPictureQuad)->sprite, SpriteFind(game.video, kPresentTextureSprite));

  const Sprite* tile37 = SpriteFind(game.video, 4133);
  ASSERT_NE(tile37, nullptr);
  EXPECT_EQ(tile37->realWidth, 16);
  EXPECT_TRUE(SameAsSheet(*tile37, EmbeddedSheet(kTilesSheetFile), 80, 16));
  EXPECT_FALSE(SameAsSheet(*tile37, EmbeddedSheet(kTilesSheetFile), 16, 80));  // not row and column swapped
  EXPECT_EQ(tile37->key, static_cast<std::uint32_t>(kMagenta));
  const Sprite* fruit2 = SpriteFind(game.video, 633);
  ASSERT_NE(fruit2, nullptr);
  EXPECT_TRUE(SameAsSheet(*fruit2, EmbeddedSheet(kActorsSheetFile), 16, 480));
  const Sprite* gem3 = SpriteFind(game.video, 99);
  ASSERT_NE(gem3, nullptr);
  EXPECT_EQ(gem3->realWidth, 14);
  EXPECT_EQ(gem3->realHeight, 36);
  EXPECT_NE(SpriteFind(game.video, kPresentTextureSprite)->flags & kSpriteTexture, 0);

  ReleaseAllSprites(game);
  EXPECT_TRUE(SpriteIds().empty());
  EXPECT_EQ(game.video.quads.Find(kPictureQuad), nullptr);

  // Focus back: the same set again.
  BuildSprites(game);
  EXPECT_EQ(SpriteIds(), expected);
}

// Every sprite as the game sees it: size, clip, key, flags and pixels.
std::map<int, std::tuple<int, int, int, int, std::uint32_t, bool, std::vector<std::uint32_t>>> SpriteSet(
    const VideoState& video) {
  std::map<int, std::tuple<int, int, int, int, std::uint32_t, bool, std::vector<std::uint32_t>>> set;
  video.sprites.ForEach([&](std::int32_t id, const Sprite& s) {
    set[id] = {s.width, s.height, s.flags, s.depth, s.key, s.hasKey, s.surface.pixels};
  });
  return set;
}

TEST_F(Render, SheetsDecodedAheadGiveTheSameSpritesAsDecodingThemThere) {
  OpenWindowed(512);
  BuildSprites(game);
  const auto inline_ = SpriteSet(game.video);
  ASSERT_GT(inline_.size(), 1000u);
  EXPECT_EQ(game.video.screen.target, nullptr) << "the back buffer is selected after the cutting";

  ReleaseAllSprites(game);
  game.decodedSheets = std::async(std::launch::async, DecodeSpriteSheets);
  BuildSprites(game);
  EXPECT_FALSE(game.decodedSheets.valid()) << "taken by the first build";
  EXPECT_EQ(SpriteSet(game.video), inline_);
  EXPECT_EQ(game.video.screen.target, nullptr);

  // A sheet missing from what was decoded ahead is decoded there.
  ReleaseAllSprites(game);
  SpriteSheetImages partial = DecodeSpriteSheets();
  partial.tiles.reset();
  std::promise<SpriteSheetImages> ahead;
  ahead.set_value(std::move(partial));
  game.decodedSheets = ahead.get_future();
  BuildSprites(game);
  EXPECT_EQ(SpriteSet(game.video), inline_);

  // Later builds decode again.
  ReleaseAllSprites(game);
  BuildSprites(game);
  EXPECT_EQ(SpriteSet(game.video), inline_);
}

TEST_F(Render, ADisplayReopenNeedsTheSetRebuilt) {
  OpenWindowed(512);
  BuildSprites(game);
  const std::set<int> before = SpriteIds();
  OpenWindowed(768);  // the toggle closes the old screen, and with it every sprite
  EXPECT_TRUE(SpriteIds().empty());
  BuildSprites(game);
  EXPECT_EQ(SpriteIds(), before);
  RenderFrame(game);
  ScreenPresent(game.video);
  EXPECT_EQ(device.LastPicture().width, 768);
}

TEST_F(Render, SpritesMainMemOnlyChoosesWhereSpritesLive) {
  OpenWindowed(512);
  game.settings.SpritesMainMem = kSpriteRawBuffer;  // a stray value must not make the canvas undrawable
  BuildSprites(game);
  EXPECT_NE(SpriteFind(game.video, kCanvasSprite)->depth, kRawBufferDepth);
  EXPECT_NE(SpriteFind(game.video, 4133)->depth, kRawBufferDepth);
  QueueTile(game, kRockTileBase[0] + 15, 0, 0);  // solid blue rock
  RenderFrame(game);
  EXPECT_NE(Canvas(0, 0), kBackground);
}

TEST_F(Render, NoScreenNoSprites) {
  BuildSprites(game);  // the display failed to open: nothing to cut, nothing to crash on
  EXPECT_TRUE(SpriteIds().empty());
  RenderFrame(game);
  ReleaseAllSprites(game);
}

// --- The render pass --------------------------------------------------------

TEST_F(Render, FrameLandsAtItsHotSpotAndTheCanvasIsCleared) {
  OpenWindowed(512);
  BuildSprites(game);
  PutSolid(100, 32, 24, kGreen);  // hero body: hot spot (16, 19)
  QueueFrame(game, 100, 100, 50);
  RenderFrame(game);
  EXPECT_EQ(Canvas(84, 31), kGreen);
  EXPECT_EQ(Canvas(115, 54), kGreen);
  EXPECT_EQ(Canvas(83, 31), kBackground);
  EXPECT_EQ(Canvas(84, 30), kBackground);
  EXPECT_EQ(Canvas(116, 54), kBackground);
  EXPECT_EQ(Canvas(115, 55), kBackground);
  ClearDrawQueues(game);
  RenderFrame(game);  // nothing carries over into the next picture
  EXPECT_EQ(Canvas(84, 31), kBackground);
}

TEST_F(Render, PointerCornerIsTheTruncatedPositionLessTheHotSpot) {
  OpenWindowed(512);
  BuildSprites(game);
  BlankFontSheet();
  Paint(0, 224, 20, 20, kWhite);  // arrow, hot spot (2, 2)
  Paint(32, 224, 20, 20, kCyan);  // hand, hot spot (7, 2)
  game.shell.pointerX = 10.7f;
  game.shell.pointerY = 3.2f;
  game.shell.pointerImage = kArrowPointer;
  RenderFrame(game);
  EXPECT_EQ(Canvas(8, 1), kWhite);
  EXPECT_EQ(Canvas(27, 20), kWhite);
  EXPECT_EQ(Canvas(7, 1), kBackground);
  EXPECT_EQ(Canvas(8, 0), kBackground);
  EXPECT_EQ(Canvas(28, 20), kBackground);
  EXPECT_EQ(Canvas(8, 21), kBackground);

  game.shell.pointerImage = kHandPointer;
  RenderFrame(game);
  EXPECT_EQ(Canvas(3, 1), kCyan);
  EXPECT_EQ(Canvas(2, 1), kBackground);
  EXPECT_EQ(Canvas(22, 20), kCyan);

  game.shell.pointerImage = 0;
  RenderFrame(game);
  EXPECT_EQ(Canvas(8, 1), kBackground);
}

TEST_F(Render, LayersStackTilesFramesClipsTextsPointer) {
  OpenWindowed(512);
  BuildSprites(game);
  PutSolid(kFirstTileSprite + 5, 16, 16, kRed);
  PutSolid(kFirstTileSprite + 6, 16, 16, kBlue);
  PutSolid(100, 32, 24, kGreen);
  BlankFontSheet();
  Paint(100, 300, 16, 16, kCyan);                          // a clip region
  Paint(GlyphCellX(33), GlyphCellY(33), 16, 16, kYellow);  // "A" of the thin font
  Paint(0, 224, 20, 20, kWhite);                           // arrow

  // Queued top layer first, all over (40, 40).
  game.shell.pointerX = 42;
  game.shell.pointerY = 42;
  game.shell.pointerImage = kArrowPointer;
  QueueText(game, "A", kFontThin, 40, 40, 0, 0);
  QueueSheetClip(game, 100, 300, 16, 16, 40, 40);
  QueueFrame(game, 100, 40 + 16, 40 + 19);
  QueueTile(game, 6, 40, 40);
  QueueTile(game, 5, 40, 40);  // same layer: queued later is on top

  Presentation& p = game.presentation;
  const std::int32_t expected[] = {kWhite, kYellow, kCyan, kGreen, kRed, kBackground};
  for (std::int32_t colour : expected) {
    RenderFrame(game);
    EXPECT_EQ(Canvas(45, 45), colour);
    // Take the top layer away for the next round.
    if (game.shell.pointerImage)
      game.shell.pointerImage = 0;
    else if (p.textQueue.Count())
      ListClearAll(p.textQueue);
    else if (p.sheetClipQueue.Count())
      ListClearAll(p.sheetClipQueue);
    else if (p.frameQueue.Count())
      ListClearAll(p.frameQueue);
    else
      ListClearAll(p.tileQueue);
  }
}

TEST_F(Render, TextPenMovesByAdvancePlusSpacing) {
  OpenWindowed(512);
  BuildSprites(game);
  BlankFontSheet();
  // Only the left 4 columns of each cell are inked, so neighbours never overlap.
  Paint(GlyphCellX(33), GlyphCellY(33), 4, 16, kYellow);  // A, advance 10
  Paint(GlyphCellX(34), GlyphCellY(34), 4, 16, kCyan);    // B
  Paint(0, 0, 4, 16, kRed);                               // cell 0: what a stray code would show
  QueueText(game, "AB", kFontThin, 100, 60, 3, 0);
  // A code below the font has no cell and no advance; the spacing still counts, as in TextWidth.
  QueueText(game,
            "A\x01"
            "B",
            kFontThin, 100, 90, 3, 0);
  RenderFrame(game);
  EXPECT_EQ(Canvas(100, 60), kYellow);
  EXPECT_EQ(Canvas(104, 60), kBackground);
  EXPECT_EQ(Canvas(112, 60), kBackground);
  EXPECT_EQ(Canvas(113, 60), kCyan);  // 100 + 10 + 3
  EXPECT_EQ(Canvas(115, 90), kBackground);
  EXPECT_EQ(Canvas(116, 90), kCyan);
  EXPECT_EQ(TextWidth(game,
                      "A\x01"
                      "B",
                      kFontThin, 3),
            16 + 10);
  for (int x = 100; x < 140; ++x) EXPECT_NE(Canvas(x, 95), kRed) << x;
}

TEST_F(Render, IdsOutsideTheNumberingDrawNothing) {
  OpenWindowed(512);
  BuildSprites(game);
  PutSolid(kFirstTileSprite + 5, 16, 16, kRed);
  QueueTile(game, 5, 0, 0);
  QueueFrame(game, 0, 100, 100);     // the canvas itself
  QueueFrame(game, 4082, 100, 100);  // the present texture
  QueueFrame(game, 2, 100, 100);     // undefined
  QueueTile(game, -15, 200, 200);    // would be the font sheet
  QueueTile(game, 1024, 200, 200);
  RenderFrame(game);
  for (int y = 0; y < 384; ++y) {
    for (int x = 0; x < 512; ++x) {
      const std::int32_t expected = (x < 16 && y < 16) ? kRed : kBackground;
      if (Canvas(x, y) != expected) {
        ADD_FAILURE() << "pixel " << x << "," << y;
        return;
      }
    }
  }
}

TEST_F(Render, OnlyTheUsedRowsReachTheScreenScaledByTheQuad) {
  OpenWindowed(1024);  // twice the picture: 1024 x 768
  BuildSprites(game);
  PutSolid(kFirstTileSprite + 5, 16, 16, kRed);
  QueueTile(game, 5, 0, 380);  // crosses the bottom of the used canvas
  QueueTile(game, 5, 500, 0);
  RenderFrame(game);
  const Sprite* texture = SpriteFind(game.video, kPresentTextureSprite);
  EXPECT_EQ(texture->surface.Row(383)[0] & kPixelRgbMask, static_cast<std::uint32_t>(kRed));
  EXPECT_EQ(texture->surface.Row(384)[0] & kPixelRgbMask, 0u);  // rows below stay black
  EXPECT_EQ(Canvas(0, 384), kRed);

  ScreenPresent(game.video);
  const Surface& picture = device.LastPicture();
  ASSERT_EQ(picture.width, 1024);
  ASSERT_EQ(picture.height, 768);
  int wrong = 0;
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) {
      wrong += (picture.Row(y)[x] & kPixelRgbMask) != static_cast<std::uint32_t>(Canvas(x / 2, y / 2));
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(Render, FullScreenOfAnotherShapeHasBlackBars) {
  ASSERT_EQ(ScreenOpenFullscreen(game.video, 1920, 1080, 32, "Quorin", 1, 0), 1);
  game.settings.Windowed = 0;
  game.shell.screenWidth = 1920;
  game.shell.screenHeight = 1080;
  game.shell.displayAspect = 16.0f / 9.0f;
  game.shell.internalAspect = 4.0f / 3.0f;
  BuildSprites(game);
  RenderFrame(game);
  ScreenPresent(game.video);
  const Surface& picture = device.LastPicture();
  ASSERT_EQ(picture.width, 1920);
  for (int y : {0, 540, 1079}) {
    EXPECT_EQ(picture.Row(y)[239] & kPixelRgbMask, 0u) << y;
    EXPECT_EQ(picture.Row(y)[240] & kPixelRgbMask, static_cast<std::uint32_t>(kBackground)) << y;
    EXPECT_EQ(picture.Row(y)[1679] & kPixelRgbMask, static_cast<std::uint32_t>(kBackground)) << y;
    EXPECT_EQ(picture.Row(y)[1680] & kPixelRgbMask, 0u) << y;
  }
}

}  // namespace
}  // namespace quorin
