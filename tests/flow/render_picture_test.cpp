// One fixed frame of requests, drawn headless with the real sheets, against
// the picture stored in tests/data. Any change to the art, the cutting of the
// sheets or the render pass shows up here pixel by pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/render.h"
#include "flow/sprite_sheets.h"
#include "runtime/null/null_video.h"
#include "runtime/png_codec.h"
#include "tests/support/stored_picture.h"

namespace quorin {
namespace {


void QueueScene(Game& game) {
  // Ground and cave background.
  for (int k = 0; k < 32; ++k) {
    QueueTile(game, 128 + (k % 2) * 16 + 2 + 8, k * 16, 352);
    QueueTile(game, 128 + (k % 2) * 16 + 32 + 1 + 2 + 8, k * 16, 368);
    QueueTile(game, 576 + (k % 2) * 16 + 2 + 8, k * 16, 240);
    QueueTile(game, 640 + (k % 2) * 16 + 32 + 5 + 2 + 8, k * 16, 256);
  }
  QueueTile(game, kDecorationATiles + 3, 200, 336);
  QueueTile(game, kCheckpointTile, 260, 336);
  QueueTile(game, kHangingHazardTile, -6, 290);  // partly off the left edge

  // The hero, monsters, shots and pickups.
  QueueFrame(game, kHeroLegsFrames + 2, 120, 352);
  QueueFrame(game, kHeroBodyFrames + 2, 120, 352 - 13);
  QueueFrame(game, kJetFlameFrames + 1, 120, 352 - 10);
  for (int kind = 0; kind < 5; ++kind)
    QueueFrame(game, kMonsterFrames + 12 * kind + kind, 40 + 90 * kind, 300);
  for (int d = 0; d < 8; ++d) QueueFrame(game, kHeroShotFrames + 5 * 4 * d, 160 + 20 * d, 320);
  for (int d = 0; d < 4; ++d) QueueFrame(game, kMonsterShotFrames + 5 * 8 * d + 1, 350 + 20 * d, 200);
  for (int g = 0; g < 4; ++g) QueueFrame(game, kGemFrames + g, 300 + 16 * g, 345);
  for (int f = 0; f < 8; ++f) QueueFrame(game, kFruitFrames + f, 20 + 24 * f, 230);
  for (int e = 0; e < 8; ++e) QueueFrame(game, kSparkFrames + 4 * e + e % 4, 280 + 18 * e, 170);
  QueueFrame(game, kBallFrames, 508, 60);  // partly off the right edge

  // HUD pieces and the logo.
  for (int n = 1; n <= 8; ++n) {
    const SheetRect r = FruitIconRect(n);
    QueueSheetClip(game, r.x, r.y, r.width, r.height, 4 + 24 * (n - 1), 4);
  }
  QueueSheetClip(game, kGaugeLeftCap.x, kGaugeLeftCap.y, kGaugeLeftCap.width, kGaugeLeftCap.height, 300, 10);
  for (int k = 0; k < 12; ++k) {
    const SheetRect r = k < 8 ? kGaugeFull : kGaugeEmpty;
    QueueSheetClip(game, r.x, r.y, r.width, r.height, 302 + 2 * k, 10);
  }
  QueueSheetClip(game, kGaugeRightCap.x, kGaugeRightCap.y, kGaugeRightCap.width, kGaugeRightCap.height, 326,
                 10);
  QueueSheetClip(game, kGemIcon.x, kGemIcon.y, kGemIcon.width, kGemIcon.height, 332, 10);
  QueueSheetClip(game, kTitleLogo.x, kTitleLogo.y, kTitleLogo.width, kTitleLogo.height, 250, 60);

  // Texts in every font, aligned three ways.
  QueueText(game, "SCORE 001230", kFontThin, 508, 4, 0, 2);
  QueueText(game, "PAUSED", kFontBoldYellow, 256, 100, 0, 1);
  QueueText(game, "RESUME", kFontBoldWhite, 256, 120, -2, 1);
  QueueText(game, "BOUNCE*3", kFontBoldYellow, 8, 140, 0, 0);
  QueueText(game, "250", kFontRedDigits, 100, 200, -2, 0);
  QueueText(game, "10", kFontYellowDigits, 140, 200, -2, 0);
  QueueText(game, "HI SCORE: 12345", kFontSmall, 256, 30, 0, 1);

  game.shell.pointerImage = kHandPointer;
  game.shell.pointerX = 250.6f;
  game.shell.pointerY = 200.9f;
}

// The scene as the player sees it in a 512-pixel window: the canvas's top
// 384 rows, one to one.
Surface RenderScene() {
  NullVideo device;
  device.printMessages = false;
  Surface picture;
  {
    Game game;
    SpriteSystemInit(game.video, device);
    BuildGlyphAdvances(game);
    BuildFrameTable(game);
    DefinePointerImages(game);
    game.shell.internalHeight = 384;
    game.shell.clearColour = ColourPack(24, 20, 40);
    game.settings.Windowed = 1;
    game.settings.Windowwidth = 512;
    game.settings.SpritesMainMem = 1;
    WindowSpec wanted;
    wanted.clientWidth = 512;
    wanted.clientHeight = 384;
    const NativeWindow window = device.OpenWindow(wanted);
    EXPECT_EQ(ScreenOpenWindowed(game.video, window, 0, 0, 512, 384, 0, 0, 0), 1);
    BuildSprites(game);
    QueueScene(game);
    RenderFrame(game);
    ScreenPresent(game.video);
    picture = device.LastPicture();
    for (std::uint32_t& p : picture.pixels) p &= kPixelRgbMask;
  }
  return picture;
}

TEST(RenderPicture, MatchesTheStoredPicture) {
  const Surface picture = RenderScene();
  ASSERT_EQ(picture.width, 512);
  ASSERT_EQ(picture.height, 384);
  testing::ExpectMatchesStoredPicture(picture, "render_picture.png");
}

}  // namespace
}  // namespace quorin
