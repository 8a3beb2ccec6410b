#include "tools/worldpaint/plan.h"

#include <cstdint>

namespace quorin::worldpaint {

// Interior boxes: left, top, width, height; a fruit room's floor lies three
// rows under its fruit's pixel so that the fruit drops onto it.
const std::vector<PlannedRoom>& PlanRooms() {
  static const std::vector<PlannedRoom> rooms{
      // The blue heart: the start under its dome, two easy fruits close by.
      {"Start dome", kBlue, kDome, kStartHall, 281, 134, 50, 24, 0, false},
      {"Garden hall", kBlue, kCrescent, kFruitRoom, 212, 226, 44, 19, 5, false},
      {"Spire hall", kBlue, kSpire, kQuiet, 176, 146, 50, 34, 0, false},
      {"Chimney top", kBlue, kTerraces, kQuiet, 324, 318, 44, 16, 0, false},
      {"Horseshoe", kBlue, kHorseshoe, kPlain, 330, 70, 30, 36, 0, false},
      {"Nave", kBlue, kCathedral, kQuiet, 200, 360, 60, 30, 0, false},
      // The grey cap: cramped built rooms, an archive at its foot.
      {"Archive", kGrey, kSawtooth, kFruitRoom, 224, 72, 26, 14, 2, false},
      {"Grey keep", kGrey, kPillars, kPlain, 300, 16, 48, 22, 0, false},
      {"Belfry", kGrey, kBell, kPlain, 160, 10, 44, 16, 0, false},
      // The green west: long low galleries, a hermit's nook behind a crawl.
      {"West gallery", kGreen, kGalleryShape, kPlain, 36, 130, 112, 12, 0, false},
      {"Hermit's nook", kGreen, kKeyhole, kSecret, 1, 127, 13, 15, 3, true},
      {"Mushroom cave", kGreen, kMushroom, kQuiet, 60, 196, 44, 30, 0, false},
      {"Hive gallery", kGreen, kRamp, kArena, 30, 318, 124, 19, 6, false},
      {"Twin hollows", kGreen, kTwinArch, kPlain, 20, 30, 60, 20, 0, false},
      {"Toadstool hall", kGreen, kMushroom, kQuiet, 60, 250, 36, 40, 0, false},
      {"Slope", kGreen, kRamp, kPlain, 40, 400, 40, 30, 0, false},
      // The purple east: tall vaults and the great shafts.
      {"Spire top", kPurple, kVaultShape, kPlain, 394, 6, 34, 12, 0, false},
      {"Eyrie", kPurple, kLantern, kSecret, 452, 2, 24, 16, 1, true},
      {"Cathedral", kPurple, kCathedral, kQuiet, 390, 62, 42, 40, 0, false},
      {"Crystal vault", kPurple, kTwinArch, kFruitRoom, 462, 118, 46, 50, 4, false},
      {"Well head", kPurple, kVaultShape, kPlain, 426, 184, 32, 14, 0, false},
      {"Bell well", kPurple, kBell, kQuiet, 418, 262, 52, 30, 0, false},
      {"Thorn run", kPurple, kHallShape, kGauntlet, 388, 372, 46, 9, 0, false},
      {"Deep bell", kPurple, kBell, kPlain, 444, 424, 40, 60, 0, false},
      // The deep south: the pit arena, and beyond it the sunken gallery.
      {"Pit arena", kPurple, kFunnel, kArena, 296, 438, 84, 54, 7, false},
      {"Ossuary", kPurple, kVaultShape, kPlain, 228, 454, 56, 34, 0, true},
      {"Drowned stair", kGreen, kGalleryShape, kPlain, 160, 476, 58, 22, 0, true},
      {"Sunken gallery", kGreen, kHorseshoe, kArena, 2, 492, 150, 16, 8, true},
  };
  return rooms;
}

const std::vector<PlannedLandmark>& PlanLandmarks() {
  static const std::vector<PlannedLandmark> landmarks{
      {"Smoke hall", 132, 49, kSpire},        // green, under the grey cap's west end
      {"Lantern hall", 179, 266, kLantern},   // blue, south-west of the Garden hall
      {"Scree slope", 436, 143, kRamp},       // purple, beside the Crystal vault
      {"Moon hollow", 476, 338, kCrescent},   // purple, above the Deep bell
      {"Terraces", 130, 391, kTerraces},      // green, east of the Slope
  };
  return landmarks;
}

const std::vector<PlannedLink>& PlanLinks() {
  static const std::vector<PlannedLink> links{
      {"Hermit's nook", "West gallery", kCrawl},
      {"Eyrie", "Spire top", kCrawl},
      {"Spire top", "Cathedral", kGreatShaft},
      {"Well head", "Bell well", kGreatShaft},
      {"Chimney top", "Pit arena", kGreatShaft},
      {"Pit arena", "Ossuary", kPassage},
      {"Ossuary", "Drowned stair", kPassage},
      {"Drowned stair", "Sunken gallery", kPassage},
  };
  return links;
}

namespace {

std::uint32_t Mix(int a, int b) {
  std::uint32_t h = static_cast<std::uint32_t>(a) * 0x9e3779b1u ^ static_cast<std::uint32_t>(b) * 0x85ebca77u;
  h ^= h >> 13;
  h *= 0xc2b2ae3du;
  h ^= h >> 16;
  return h;
}

// A slow wander of -amplitude..amplitude along a border, linear between
// knots every 32 cells.
int Wander(int along, int salt, int amplitude) {
  const int knot = along / 32, t = along % 32;
  const int a = static_cast<int>(Mix(knot, salt) % static_cast<std::uint32_t>(2 * amplitude + 1)) - amplitude;
  const int b = static_cast<int>(Mix(knot + 1, salt) % static_cast<std::uint32_t>(2 * amplitude + 1)) - amplitude;
  return a + (b - a) * t / 32;
}

}  // namespace

Region RegionAt(int column, int row) {
  if (row < 50 + Wander(column, 1, 8) && column > 140 + Wander(row, 2, 10) && column < 392 + Wander(row, 3, 8))
    return kGrey;
  if (column < 168 + Wander(row, 4, 16) || (row > 444 + Wander(column, 5, 10) && column < 226 + Wander(row, 6, 10)))
    return kGreen;
  if (column > 398 + Wander(row, 7, 14) || row > 340 + Wander(column, 8, 14)) return kPurple;
  return kBlue;
}

}  // namespace quorin::worldpaint
