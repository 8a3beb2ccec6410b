// Where every animation frame sits on the actors sheet. Plain data shared by the
// art generator (which paints into these rectangles), BuildFrameTable (which cuts
// them) and the sheet contract test, so the three can never disagree.
#pragma once

#include <array>

#include "flow/sheet_layout.h"

namespace quorin {

inline constexpr int kFrameIdLimit = 4081;  // FrameTable size: ids 1..4080
inline constexpr int kFontSheetSprite = 4081;
inline constexpr int kFirstTileSprite = 4096;

// A run of frames with consecutive ids. Frame i of the group (i = 0..count-1) has
// id first + i and its top-left corner at
//   x = x0 + (i % run) * runStepX + (i / run) * nextStepX,
//   y = y0 + (i % run) * runStepY + (i / run) * nextStepY.
// One pattern covers rows of frames, the monster grid and the column-major shot sets.
struct FrameGroup {
  int first;
  int count;
  int x0, y0;
  int run;
  int runStepX, runStepY;
  int nextStepX, nextStepY;
  int width, height;
  int hotX, hotY;
};

struct FrameRect {
  int id;
  int x, y, width, height;
  int hotX, hotY;
};

constexpr FrameRect FrameInGroup(const FrameGroup& g, int i) {
  return {g.first + i,
          g.x0 + (i % g.run) * g.runStepX + (i / g.run) * g.nextStepX,
          g.y0 + (i % g.run) * g.runStepY + (i / g.run) * g.nextStepY,
          g.width,
          g.height,
          g.hotX,
          g.hotY};
}

// First ids of the groups that other code names.
inline constexpr int kMonsterFrames = 4;  // 12 per kind: 4 right, 4 left, 4 shooting
inline constexpr int kSparkFrames = 64;
inline constexpr int kSmokeFrames = 68;
inline constexpr int kSplinterFramesA = 72;
inline constexpr int kSplinterFramesB = 76;
inline constexpr int kFlashRingFrames = 80;
inline constexpr int kBallFrames = 84;
inline constexpr int kBurstHalfFramesA = 88;
inline constexpr int kBurstHalfFramesB = 92;
inline constexpr int kGemFrames = 96;        // size classes 0..3
inline constexpr int kHeroBodyFrames = 100;  // +16 facing left
inline constexpr int kHeroLegsFrames = 164;  // body frame + 64
inline constexpr int kJetFlameFrames = 192;  // +4 facing left
inline constexpr int kHeroAimFrames = 224;   // + aim direction 0..7
inline constexpr int kHeroShotFrames = 312;  // 5 per heading sector of 128
inline constexpr int kMonsterShotFrames = 472;
inline constexpr int kFruitFrames = 632;  // fruit n is 631 + n
inline constexpr int kShotVariants = 5;   // the shot and four fading trail frames
inline constexpr int kShotHeadings = 32;

inline constexpr std::array<FrameGroup, 16> kFrameGroups{{
    // first count x0   y0  run  runStep  nextStep  w   h  hot
    {4, 60, 0, 128, 12, 32, 0, 0, 32, 32, 32, 16, 16},  // monsters, one kind per row
    {64, 32, 0, 464, 32, 16, 0, 0, 0, 14, 14, 8, 8},    // small effects
    {96, 1, 388, 120, 1, 0, 0, 0, 0, 6, 8, 2, 7},       // power gems
    {97, 1, 404, 116, 1, 0, 0, 0, 0, 8, 12, 4, 11},
    {98, 1, 418, 106, 1, 0, 0, 0, 0, 10, 22, 6, 21},
    {99, 1, 432, 92, 1, 0, 0, 0, 0, 14, 36, 8, 35},
    {100, 12, 0, 0, 12, 32, 0, 0, 0, 32, 24, 16, 19},     // hero body, right
    {116, 12, 0, 32, 12, 32, 0, 0, 0, 32, 24, 16, 19},    // hero body, left
    {164, 12, 0, 64, 12, 32, 0, 0, 0, 32, 16, 16, 3},     // hero legs, right
    {180, 12, 0, 80, 12, 32, 0, 0, 0, 32, 16, 16, 3},     // hero legs, left
    {192, 4, 256, 96, 4, 32, 0, 0, 0, 32, 16, 16, -3},    // jet flame, right
    {196, 4, 256, 112, 4, 32, 0, 0, 0, 32, 16, 16, -3},   // jet flame, left
    {224, 8, 0, 96, 8, 32, 0, 0, 0, 32, 32, 16, 19},      // hero aiming
    {312, 160, 0, 384, 5, 0, 16, 16, 0, 16, 16, 10, 10},  // hero shots
    {472, 160, 0, 304, 5, 0, 16, 16, 0, 16, 16, 10, 10},  // monster shots
    {632, 8, 0, 480, 8, 16, 0, 0, 0, 16, 16, 10, 14},     // fruits
}};

// Pointer images on the font sheet: index 1 the arrow, 2 the hand.
struct PointerRect {
  int index;
  int x, y, width, height;
  int hotX, hotY;
};
inline constexpr std::array<PointerRect, 2> kPointerImages{{
    {1, 0, 224, 20, 20, 2, 2},
    {2, 32, 224, 20, 20, 7, 2},
}};

}  // namespace quorin
