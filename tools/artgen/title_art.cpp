// The title scene: the hero on a rocky rise firing at two monsters, gems and a
// fruit at its feet, painted small from the actor frames and enlarged so it
// keeps the game's pixel look.
#include <array>

#include "flow/frame_layout.h"
#include "flow/sheet_layout.h"
#include "tools/artgen/sheets.h"

namespace quorin::art {

namespace {

constexpr int kScale = 4;

FrameRect FindFrame(int id) {
  for (const FrameGroup& g : kFrameGroups)
    if (id >= g.first && id < g.first + g.count) return FrameInGroup(g, id - g.first);
  return {};
}

// Draws frame id with its hot spot at (x, y), as the game does.
void Stamp(Image& scene, const Image& actors, int id, int x, int y) {
  const FrameRect r = FindFrame(id);
  Over(scene, Crop(actors, r.x, r.y, r.width, r.height), x - r.hotX, y - r.hotY);
}

}  // namespace

Image PaintTitleArt(const Image& actors) {
  const int w = kTitleArt.width / kScale, h = kTitleArt.height / kScale;
  Image scene(w, h);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{
           {4, 6}, {14, 2}, {37, 9}, {58, 3}, {71, 24}, {8, 30}, {47, 28}, {76, 8}, {29, 4}, {64, 40}}) {
    scene.Set(x, y, (x + y) % 3 ? kGrey3 : kWhite);
  }
  // The rise the hero stands on, in blue stone with a lit top.
  Image hill(w, h);
  FillPolygon(hill, {{-1, 65}, {-1, 49}, {10, 46.5f}, {34, 46.5f}, {50, 48}, {66, 45}, {81, 43}, {81, 65}},
              kBlue2);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (hill.At(x, y) == kBlue2) {
        if (!hill.Filled(x, y - 1) || !hill.Filled(x, y - 2))
          hill.Set(x, y, kBlue4);
        else if (Hash(x / 3, y / 2, 5) % 5 == 0)
          hill.Set(x, y, kBlue1);
        else if (Hash(x, y, 9) % 7 == 0)
          hill.Set(x, y, kBlue3);
      }
  Outline(hill, kInk, false);
  Over(scene, hill, 0, 0);

  constexpr int kHeroX = 18, kHeroY = 34;
  Stamp(scene, actors, kFruitFrames + 7, 7, 47);
  Stamp(scene, actors, kHeroLegsFrames, kHeroX, kHeroY);
  Stamp(scene, actors, kHeroAimFrames + 7, kHeroX, kHeroY);
  Stamp(scene, actors, kHeroShotFrames + 28 * kShotVariants + 2, kHeroX + 20, kHeroY - 14);
  Stamp(scene, actors, kHeroShotFrames + 28 * kShotVariants, kHeroX + 23, kHeroY - 17);
  Stamp(scene, actors, kMonsterFrames + 12 + 5, 46, 10);  // a bat, facing the hero
  Stamp(scene, actors, kSparkFrames + 1, kHeroX + 26, kHeroY - 20);
  Stamp(scene, actors, kGemFrames + 0, 66, 44);
  Stamp(scene, actors, kGemFrames + 2, 71, 44);
  Stamp(scene, actors, kGemFrames + 1, 76, 44);
  Stamp(scene, actors, kMonsterFrames + 4 * 12 + 8 + 2, 60, 25);  // the demon, charging a shot
  Stamp(scene, actors, kMonsterShotFrames + 16 * kShotVariants + 2, 49, 29);
  Stamp(scene, actors, kMonsterShotFrames + 16 * kShotVariants, 44, 29);
  return Enlarge(scene, kScale);
}

}  // namespace quorin::art
