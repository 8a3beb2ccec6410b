#include "flow/sprite_sheets.h"

#include <gtest/gtest.h>

#include "flow/game.h"

namespace quorin {
namespace {

TEST(FrameTable, GroupsAreDefinedAndGapsAreNot) {
  Game game;
  BuildFrameTable(game);
  const Array<FrameDef>& t = game.presentation.frameTable;
  ASSERT_EQ(t.Size(), 4081u);
  const FrameDef f = t[633];
  EXPECT_EQ(f.defined, 1);
  EXPECT_EQ(f.x, 16);
  EXPECT_EQ(f.y, 480);
  EXPECT_EQ(f.width, 16);
  EXPECT_EQ(f.height, 16);
  EXPECT_EQ(f.hotX, 10);
  EXPECT_EQ(f.hotY, 14);
  EXPECT_EQ(t[2].defined, 0);
  const FrameDef monster = t[4 + 12 * 2 + 5];  // kind 3, sixth frame
  EXPECT_EQ(monster.x, 160);
  EXPECT_EQ(monster.y, 192);
  const FrameDef shot = t[312 + 5 * 7 + 3];  // hero shot, sector 7, trail 3
  EXPECT_EQ(shot.x, 112);
  EXPECT_EQ(shot.y, 432);
  EXPECT_EQ(t[195].hotY, -3);
  int defined = 0;
  for (std::size_t id = 0; id < t.Size(); ++id) defined += t[id].defined;
  EXPECT_EQ(defined, 60 + 32 + 4 + 12 * 4 + 8 + 8 + 160 * 2 + 8);
  for (int id : {1, 3, 112, 115, 128, 163, 176, 179, 200, 223, 232, 311, 640, 4080}) EXPECT_EQ(t[id].defined, 0) << id;
}

TEST(GlyphAdvances, EmbeddedWidthsGiveTheFontAdvances) {
  Game game;
  BuildGlyphAdvances(game);
  EXPECT_EQ(TextWidth(game, "A", kFontThin, 0), 10);
  EXPECT_EQ(TextWidth(game, "AB", kFontThin, -2), 18);
  EXPECT_EQ(TextWidth(game, "", kFontThin, -2), 2);
  const char* thin = " !\"#$%&'()*+,-./";
  const int thinAdvance[] = {10, 4, 8, 12, 12, 12, 12, 4, 6, 6, 8, 12, 6, 10, 4, 12};
  for (int k = 0; thin[k]; ++k) {
    EXPECT_EQ(GlyphAdvanceOf(game.presentation, GlyphNumber(thin[k], kFontThin)), thinAdvance[k]) << thin[k];
    EXPECT_EQ(GlyphAdvanceOf(game.presentation, GlyphNumber(thin[k], kFontBoldYellow)), thinAdvance[k] + 2);
  }
  EXPECT_EQ(GlyphAdvanceOf(game.presentation, GlyphNumber('I', kFontThin)), 8);
  EXPECT_EQ(GlyphAdvanceOf(game.presentation, GlyphNumber('M', kFontThin)), 12);
  EXPECT_EQ(GlyphAdvanceOf(game.presentation, GlyphNumber('[', kFontBoldWhite)), 12);
  for (int g = 192; g < 320; ++g) EXPECT_EQ(GlyphAdvanceOf(game.presentation, g), 10) << g;
  EXPECT_EQ(GlyphAdvanceOf(game.presentation, 474), 0);
  EXPECT_EQ(GlyphAdvanceOf(game.presentation, 703), 6);
}

TEST(StartupTables, AimOffsetsAndPointerImages) {
  Game game;
  ReadAimOffsets(game);
  ASSERT_EQ(game.world.aimOffsets.Size(), 32u);
  const int expected[8][2] = {{18, 3}, {16, 12}, {1, 20}, {-14, 12}, {-18, 3}, {-16, -12}, {1, -18}, {18, -12}};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(game.world.aimOffsets[k].dx, expected[k][0]);
    EXPECT_EQ(game.world.aimOffsets[k].dy, expected[k][1]);
  }
  EXPECT_EQ(game.world.aimOffsets[8].dx, 0);
  DefinePointerImages(game);
  EXPECT_EQ(game.shell.pointerImage, 1);
  const PointerImage hand = game.presentation.pointerImages[2];
  EXPECT_EQ(hand.x, 32);
  EXPECT_EQ(hand.y, 224);
  EXPECT_EQ(hand.hotX, 7);
  EXPECT_EQ(game.presentation.pointerImages[0].width, 0);
}

}  // namespace
}  // namespace quorin
