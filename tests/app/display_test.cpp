#include "app/display.h"

#include <gtest/gtest.h>

namespace quorin {
namespace {

Game WithDesktop(int w, int h, int fullscreenAspect, int internalAspect) {
  Game game;
  game.shell.desktopWidth = w;
  game.shell.desktopHeight = h;
  game.settings.FullscreenAspect = fullscreenAspect;
  game.settings.InternalAspect = internalAspect;
  ComputeAspects(game);
  return game;
}

TEST(Aspects, PictureHeightsForEveryCode) {
  const int heights[] = {0, 410, 384, 320, 288, 256};
  for (int code = 1; code <= 5; ++code) {
    EXPECT_EQ(WithDesktop(1920, 1080, 0, code).shell.internalHeight, heights[code]) << code;
  }
  EXPECT_EQ(WithDesktop(1920, 1080, 0, 2).shell.internalAspect, 4.0f / 3.0f);
}

TEST(Aspects, DisplayShapeFromCodeOrDesktop) {
  EXPECT_FLOAT_EQ(WithDesktop(1920, 1080, 0, 2).shell.displayAspect, 1.7777778f);
  EXPECT_FLOAT_EQ(WithDesktop(1920, 1080, 1, 2).shell.displayAspect, 1.25f);
  // 2:1 is a picture shape only: as a display code it means the desktop's shape.
  EXPECT_FLOAT_EQ(WithDesktop(1280, 1024, 5, 2).shell.displayAspect, 1.25f);
  // Other picture codes follow the display.
  const Game game = WithDesktop(1680, 1050, 0, 0);
  EXPECT_FLOAT_EQ(game.shell.internalAspect, 1.6f);
  EXPECT_EQ(game.shell.internalHeight, 320);
  EXPECT_EQ(WithDesktop(1680, 1050, 0, 9).shell.internalHeight, 320);
  EXPECT_GT(WithDesktop(0, 0, 0, 0).shell.internalHeight, 0);  // no desktop known: still a picture
}

TEST(Aspects, WindowClientHeight) {
  EXPECT_EQ(WindowHeightFor(768, 4.0f / 3.0f), 576);
  EXPECT_EQ(WindowHeightFor(768, 1.25f), 614);
  EXPECT_EQ(WindowHeightFor(1000, 16.0f / 9.0f), 562);  // the float 16/9 is a hair above 16/9
}

}  // namespace
}  // namespace quorin
