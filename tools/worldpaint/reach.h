// The hero's reach over a layout: the collision cells that generation makes
// from the image, the hero's walking movement integrated frame by frame on
// them, and a search over standing places that says which fruits and
// checkpoints the hero can reach from the start and come back from. The
// painter uses it to place things on the routes; `--check` runs it on any
// layout image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/worldpaint/layout.h"

namespace quorin::worldpaint {

inline constexpr int kCellUnits = 4096;
inline constexpr int kOutsideCell = 128;
inline constexpr int kPadBit = 2;
inline constexpr int kHazardBelowBit = 4;
inline constexpr int kHazardAboveBit = 8;

// The collision cells generation writes for a layout (writes that would fall
// outside the map are skipped).
struct CollisionGrid {
  int width = 0;
  int height = 0;
  std::vector<std::int32_t> cells;  // row-major here; only the addressing matters

  int Cell(int column, int row) const {
    if (column < 0 || row < 0 || column >= width || row >= height) return kOutsideCell;
    return cells[static_cast<std::size_t>(row) * width + column];
  }
  int CellAt(int x, int y) const {
    if (x < 0 || y < 0) return kOutsideCell;
    return Cell(x >> 12, y >> 12);
  }
};
CollisionGrid BuildCollision(const Layout& layout);

// The part of the hero's record that walking movement reads and writes.
struct Hero {
  int x = 0, y = 0, vx = 0, vy = 0;
  int jumpsLeft = 2;
  int hoverFuel = 48;
  int fuelLimit = 48;  // power level 0: powerLevel*24 + 48
};
// The search keeps 8 of the 48 frames of hover fuel in reserve (about 2.5
// cells of rise), so no route depends on a perfect hover.
inline constexpr int kCheckedHoverFuel = 40;
struct HeroInput {
  int dirX = 0;
  bool held = false;     // jump button held
  bool pressed = false;  // jump button went down this frame
};
inline constexpr int kHeroHalfWidth = 512;
inline constexpr int kHeroHalfHeight = 3328;

// Blocked cells the hero's feet or head met while moving, as row*width+column.
struct Contacts {
  std::vector<int> feet;
  std::vector<int> head;
};

// One walking frame (power level 0). Returns the hurt kind: 0 none, 1 landed
// on a hazard, 2 hit a hazard from below. `landed` says the feet met a floor.
int StepHero(Hero& hero, const HeroInput& input, const CollisionGrid& grid, bool& landed,
             Contacts* contacts = nullptr);

// The hero's reach measured by running the movement in open space from rest.
struct Measured {
  int jumpRise = 0;        // feet rise of a single held jump, units
  int doubleRise = 0;      // best double jump
  int hoverRise = 0;       // best double jump followed by the hover
  int checkedHoverRise = 0;  // the same with the fuel the search allows
  int jumpRun = 0;         // distance of a single jump holding a direction from rest
  int jumpRunFull = 0;     // the same from full running speed
  int doubleRun = 0;       // distance of a double jump with hover from full speed
  int doublePress = 0;     // frame of the second press for the highest double jump
  int hoverPress = 0;      // second press, release and re-hold frames of the highest hover
  int hoverRelease = 0;
  int hoverRehold = 0;
};
Measured MeasureReach();

// A way of pressing the controls from rest: a direction held for a window of
// frames (optionally counter-steered to a stop afterwards) and up to three
// windows in which the jump button is held.
struct Script {
  int dir = 0, dirFrom = 0, dirTo = 0;  // dirTo < 0: until the hero leaves the ground
  bool brake = false;                   // counter-steer after dirTo until stopped
  int hold1 = 0;                        // frames the first press is held (0: no jump)
  int press2 = -1, hold2 = 0;           // second press
  int rehold = -1;                      // held again from here to the end (hover)

  bool Held(int t) const {
    return (hold1 > 0 && t < hold1) || (press2 >= 0 && t >= press2 && t < press2 + hold2) ||
           (rehold >= 0 && t >= rehold);
  }
};

// A standing place: the hero centred on `column`, feet on the blocked cell
// (column, floorRow); id = floorRow * width + column.
struct ReachReport {
  bool ok = false;
  std::vector<std::string> problems;
  int stands = 0;     // standing places reached from the start
  int returning = 0;  // of those, places from which the start can be reached again
  int edges = 0;
  int fruits = 0;
  int checkpoints = 0;
};

class ReachSearch {
 public:
  explicit ReachSearch(const CollisionGrid& grid);

  // Explores every standing place reachable from `start`, then which of them
  // lead back to it.
  void Explore(int start);
  bool ValidStand(int column, int floorRow) const;
  int StandId(int column, int floorRow) const { return floorRow * grid_.width + column; }
  bool Forward(int id) const { return forward_[id] != 0; }
  bool Back(int id) const { return back_[id] != 0; }
  int ForwardCount() const;
  int BackCount() const;
  int EdgeCount() const { return edgeCount_; }
  // Standing places along a route, start first / the given place first.
  std::vector<int> RouteFromStart(int id) const;
  std::vector<int> RouteToStart(int id) const;
  // Cells the hero's feet and head meet on the routes to and back from `id`.
  void RouteContacts(int id, Contacts& out) const;
  const Measured& Measure() const { return measured_; }

 private:
  struct Edge {
    int to;
    int script;
  };
  // Runs one script from a standing place; the place it ends on, or -1.
  int Run(int from, const Script& s, Contacts* contacts) const;
  void MakeScripts();

  const CollisionGrid& grid_;
  Measured measured_;
  std::vector<Script> scripts_;
  std::vector<std::uint8_t> forward_, back_;
  std::vector<Edge> parent_, next_;  // forward tree and the way back
  std::vector<std::vector<Edge>> edges_;
  int start_ = -1;
  int edgeCount_ = 0;
};

// Every check on a layout: exactly one start with footing, every fruit's cell
// below open air, and every fruit and checkpoint reachable from the start
// with a way back to it.
ReachReport CheckReach(const Layout& layout);

// Units as cells with two decimals, for the printed figures.
std::string Cells(int units);

}  // namespace quorin::worldpaint
