// The world's plan: the places a player should remember, written by hand.
// The painter realises it (organic edges, ledges, props) and fills the rest
// of each region with rooms in that region's own style.
#pragma once

#include <vector>

namespace quorin::worldpaint {

enum Region { kBlue = 0, kGreen = 1, kPurple = 2, kGrey = 3 };

// How a room is cut: the regions' own styles, then the one-of-a-kind shapes
// of the landmarks and the fruit rooms.
enum Shape {
  kHallShape,      // blue: a rounded vault over a level floor
  kGalleryShape,   // green: long and low, a wandering roof and floor
  kVaultShape,     // purple: tall, pointed roof, ragged walls
  kBuiltShape,     // grey: square cut, a crenellated roof
  kDome,           // half a circle
  kTwinArch,       // two vaults side by side
  kBell,           // narrow top flaring to a wide floor
  kTerraces,       // the roof steps down from one end to the other
  kFunnel,         // the roof rises to a point in the middle
  kSpire,          // a low wide hall with a tall chimney in the middle
  kCrescent,       // the roof sweeps up at both ends
  kKeyhole,        // a round chamber over a narrow floor room
  kSawtooth,       // a roof of repeated teeth
  kRamp,           // one slope from a low end to a high one
  kHorseshoe,      // high walls, a round hump of a roof
  kCathedral,      // a very tall pointed nave with low aisles
  kLantern,        // a diamond standing on its floor
  kMushroom,       // a wide cap over a narrow stem
  kPillars,        // a built hall with stubs hanging from its roof
};

enum Purpose {
  kPlain,
  kStartHall,
  kFruitRoom,  // `fruit` says which
  kArena,      // a fruit room crowded with monsters
  kSecret,     // a fruit room behind a narrow passage only
  kGauntlet,   // hazards from wall to wall
  kQuiet,      // no monsters: a breather between fights
};

struct PlannedRoom {
  const char* name;
  Region region;
  Shape shape;
  Purpose purpose;
  int left, top, width, height;  // interior; the floor is the rock row top + height
  int fruit;                     // 1..8 for fruit rooms, else 0
  bool sealed;                   // joined only by the links of the plan
};

enum LinkKind { kPassage, kCrawl, kGreatShaft };

struct PlannedLink {
  const char* from;
  const char* to;
  LinkKind kind;
};

// A room the painter made that the plan gives a shape of its own, so that
// far country has a place to remember too: the filler room over the
// column and row takes the shape; its box, and so every other room, stays.
struct PlannedLandmark {
  const char* name;
  int column, row;
  Shape shape;
};

const std::vector<PlannedRoom>& PlanRooms();
const std::vector<PlannedLandmark>& PlanLandmarks();
const std::vector<PlannedLink>& PlanLinks();

// The region a place belongs to when the plan does not say: the borders
// wander, they are not straight seams.
Region RegionAt(int column, int row);

}  // namespace quorin::worldpaint
