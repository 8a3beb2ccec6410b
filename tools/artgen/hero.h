// The hero, drawn in "hero space": the hero point is (0, 0), y grows downward,
// the head tops out at y = -19 and the soles rest on y = 12. Drawn facing right;
// left-facing frames are mirrored about the hot spot.
#pragma once

#include "tools/artgen/image.h"

namespace quorin::art {

// Hero space is painted into a 32 x 40 image whose row 20 and column 16 are the
// hero point.
inline constexpr int kHeroSpaceW = 32;
inline constexpr int kHeroSpaceH = 40;
inline constexpr int kHeroOriginX = 16;
inline constexpr int kHeroOriginY = 20;

struct UpperPose {
  float bob = 0;  // vertical shift of the whole upper body
  float nearHandX = 1, nearHandY = 0;
  float farHandX = -1, farHandY = 0;
  bool gun = false;  // aiming: a blaster from the near hand
  float gunX0 = 0, gunY0 = 0, gunX1 = 0, gunY1 = 0;
};

struct LegPose {
  float hip = 0;               // hips move up (negative) in the passing frames
  float nearX = 2, nearY = 9;  // ankle positions
  float farX = -2, farY = 9;
};

// scale enlarges hero space (the title art uses a big hero).
Image PaintHeroUpper(const UpperPose& pose, int scale = 1);
Image PaintHeroLegs(const LegPose& pose, int scale = 1);

}  // namespace quorin::art
