#include "flow/draw_queues.h"

#include <gtest/gtest.h>

#include <vector>

#include "flow/game.h"
#include "flow/picture_quad.h"

namespace quorin {
namespace {

Game WithAdvances() {
  Game game;
  game.presentation.glyphAdvance.fill(10.0f);
  game.presentation.glyphAdvance[GlyphNumber('I', kFontThin)] = 8.0f;
  game.presentation.glyphAdvance[GlyphNumber('.', kFontThin)] = 4.9f;  // advances are whole pixels
  return game;
}

TEST(TextWidth, AdvancesPlusSpacingBetweenCharacters) {
  const Game game = WithAdvances();
  EXPECT_EQ(TextWidth(game, "A", kFontThin, 0), 10);
  EXPECT_EQ(TextWidth(game, "AB", kFontThin, -2), 18);
  EXPECT_EQ(TextWidth(game, "", kFontThin, -2), 2);
  EXPECT_EQ(TextWidth(game, "I.", kFontThin, 1), 13);
  EXPECT_EQ(TextWidth(game, "\x01", kFontThin, 0), 0);  // below the font: no advance
}

TEST(QueueText, AlignmentPlacesTheLeftEdge) {
  Game game = WithAdvances();
  game.presentation.glyphAdvance[GlyphNumber('W', kFontThin)] = 11.0f;
  QueueText(game, "AW", kFontThin, 256, 10, 0, 1);  // width 21
  QueueText(game, "AW", kFontThin, 256, 20, 0, 2);
  QueueText(game, "AW", kFontThin, 256, 30, 0, 0);
  QueueText(game, "AW", kFontThin, -7, 40, 0, 1);  // halving truncates toward zero
  std::vector<int> xs;
  game.presentation.textQueue.ForEach([&](const TextRequest& r) { xs.push_back(r.x); });
  EXPECT_EQ(xs, (std::vector<int>{246, 235, 256, -17}));
}

TEST(DrawQueues, KeepCallOrderAndEmptyTogether) {
  Game game;
  for (int k = 0; k < 5; ++k) QueueFrame(game, 100 + k, k, 0);
  QueueTile(game, 37, 16, 32);
  QueueSheetClip(game, 0, 160, 2, 10, 5, 6);
  QueueText(game, "HI", kFontSmall, 0, 0, 0, 0);
  std::vector<int> frames;
  game.presentation.frameQueue.ForEach([&](const FrameRequest& r) { frames.push_back(r.frame); });
  EXPECT_EQ(frames, (std::vector<int>{100, 101, 102, 103, 104}));
  ClearDrawQueues(game);
  const Presentation& p = game.presentation;
  EXPECT_EQ(p.frameQueue.Count() + p.tileQueue.Count() + p.sheetClipQueue.Count() + p.textQueue.Count(), 0);
  QueueFrame(game, 7, 0, 0);  // a fresh iteration starts at the head
  EXPECT_EQ(game.presentation.frameQueue.Count(), 1);
}

TEST(PictureQuad, WindowAndTheThreeFullScreenShapes) {
  Game game;
  game.settings.Windowed = 1;
  game.settings.Windowwidth = 768;
  PictureQuad q = ComputePictureQuad(game);
  EXPECT_EQ(q.width, 768);
  EXPECT_EQ(q.height, 768);
  EXPECT_EQ(q.left, 0);

  game.settings.Windowed = 0;
  game.shell.internalAspect = 4.0f / 3.0f;
  game.shell.displayAspect = 4.0f / 3.0f;  // same shape: fills the screen
  game.shell.screenWidth = 1024;
  game.shell.screenHeight = 768;
  q = ComputePictureQuad(game);
  EXPECT_EQ(q.width, 1024);
  EXPECT_EQ(q.height, 1024);
  EXPECT_EQ(q.top, 0);

  game.shell.displayAspect = 16.0f / 9.0f;  // wider display: bars left and right
  game.shell.screenWidth = 1920;
  game.shell.screenHeight = 1080;
  q = ComputePictureQuad(game);
  EXPECT_EQ(q.width, 1440);
  EXPECT_EQ(q.height, 1440);
  EXPECT_EQ(q.left, 240);
  EXPECT_EQ(q.top, 0);

  game.shell.displayAspect = 1.25f;  // taller display: bars above and below
  game.shell.screenWidth = 1280;
  game.shell.screenHeight = 1024;
  q = ComputePictureQuad(game);
  EXPECT_EQ(q.width, 1280);
  EXPECT_EQ(q.height, 1280);
  EXPECT_EQ(q.left, 0);
  EXPECT_EQ(q.top, 32);

  game.shell.displayAspect = 16.0f / 10.0f;  // 1.6 vs 2.0: half-pixel offsets round to even
  game.shell.internalAspect = 2.0f;
  game.shell.screenWidth = 1440;
  game.shell.screenHeight = 901;
  q = ComputePictureQuad(game);
  EXPECT_EQ(q.top, 90);  // (901 - 720.8) / 2 = 90.1
}

}  // namespace
}  // namespace quorin
