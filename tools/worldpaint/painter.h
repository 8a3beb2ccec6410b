// The world painter: our level design, drawn by rules from fixed seeds with
// integer arithmetic only, so every run on every machine paints the same
// image. Called by quorin-worldpaint and by the tests.
#pragma once

#include <string>
#include <vector>

#include "tools/worldpaint/layout.h"
#include "tools/worldpaint/reach.h"

namespace quorin::worldpaint {

inline constexpr int kWorldSize = 512;
inline constexpr int kStartColumn = 305;
inline constexpr int kStartRow = 157;
inline constexpr int kFruitCount = 8;
struct Spot {
  int column, row;
};
// Fruit pixels in scan order, so they become fruits 1..8.
inline constexpr Spot kFruits[kFruitCount]{{463, 15}, {235, 83}, {3, 139}, {479, 165},
                                           {232, 242}, {95, 334}, {336, 489}, {10, 505}};

// What generation will make of a layout, counted from its pixels.
struct Figures {
  int rock = 0, blue = 0, green = 0, purple = 0, grey = 0, otherRock = 0;
  int starts = 0, checkpoints = 0, padsOnRock = 0;
  int hazards = 0, hanging = 0, standing = 0;
  int enemies = 0;
  int enemyKinds[5]{};
  int decorationA = 0, decorationB = 0, fruits = 0;
  int empty = 0, otherColours = 0;
};
Figures CountFigures(const Layout& layout);
// The figures as printed, one `name = value` line each.
std::vector<std::string> DescribeFigures(const Figures& f);
// Every figure outside the margins our world keeps, as a sentence.
std::vector<std::string> CheckMargins(const Figures& f);

struct Painting {
  Layout layout;
  ReachReport reach;
  std::vector<std::string> problems;  // margins, reach and the placement rules
};
Painting PaintWorld();

}  // namespace quorin::worldpaint
