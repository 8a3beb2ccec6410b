#include "tools/worldpaint/reach.h"

#include <algorithm>
#include <cstdio>
#include <deque>

namespace quorin::worldpaint {
namespace {

constexpr int kWalkAccel = 72;
constexpr int kMaxSpeedX = 1280;
constexpr int kGroundBrake = 384;
constexpr int kAirBrake = 32;
constexpr int kJumpSpeed = 2047;
constexpr int kGravity = 200;
constexpr int kRiseGravity = 110;
constexpr int kMaxFallSpeed = 2378;
constexpr int kHoverFuel = 48;  // power level 0: the least the hero ever has
// Long drops through stacked shafts take many frames; a run that has not
// landed by then is given up.
constexpr int kMaxFrames = 1500;

bool Blocked(const CollisionGrid& g, int x, int y) { return g.CellAt(x, y) != 0; }

void Record(const CollisionGrid& g, int x, int y, std::vector<int>* into) {
  if (!into || x < 0 || y < 0) return;
  const int c = x >> 12, r = y >> 12;
  if (c < g.width && r < g.height && g.Cell(c, r) != 0) into->push_back(r * g.width + c);
}

// Runs a script on a hero; `observe(t, hero, onGround)` returns true to stop.
// Returns false when the hero is hurt.
template <typename Observe>
bool Simulate(const CollisionGrid& grid, Hero& hero, const Script& s, Contacts* contacts, Observe observe) {
  bool prevHeld = false;
  bool leftGround = false;
  for (int t = 0; t < kMaxFrames; ++t) {
    HeroInput in;
    in.held = s.Held(t);
    in.pressed = in.held && !prevHeld;
    prevHeld = in.held;
    const bool steering = s.dirTo < 0 ? !leftGround : (t >= s.dirFrom && t < s.dirTo);
    const bool after = s.dirTo < 0 ? leftGround : t >= s.dirTo;
    if (steering)
      in.dirX = s.dir;
    else if (s.brake && after && hero.vx * s.dir > 0)
      in.dirX = -s.dir;
    bool landed = false;
    if (StepHero(hero, in, grid, landed, contacts) != 0) return false;
    if (hero.jumpsLeft != 2) leftGround = true;
    if (observe(t, hero, hero.jumpsLeft == 2)) return true;
  }
  return true;
}

Hero HeroOn(int column, int floorRow, int fuel = kHoverFuel) {
  Hero h;
  h.hoverFuel = h.fuelLimit = fuel;
  h.x = column * kCellUnits + kCellUnits / 2;
  h.y = floorRow * kCellUnits - kHeroHalfHeight - 1;
  return h;
}

}  // namespace

CollisionGrid BuildCollision(const Layout& layout) {
  CollisionGrid g;
  g.width = layout.width;
  g.height = layout.height;
  g.cells.assign(static_cast<std::size_t>(g.width) * g.height, 0);
  auto cell = [&](int c, int r) -> std::int32_t* {
    if (c < 0 || r < 0 || c >= g.width || r >= g.height) return nullptr;
    return &g.cells[static_cast<std::size_t>(r) * g.width + c];
  };
  for (int r = 0; r < layout.height; ++r) {
    for (int c = 0; c < layout.width; ++c) {
      const std::uint32_t p = layout.At(c, r);
      if (IsRock(p)) {
        *cell(c, r) += 1;
      } else if (p == kStart || p == kCheckpoint) {
        if (auto* below = cell(c, r + 1)) *below = kPadBit;
      } else if (p == kHazard) {
        if (r > 0 && IsRock(layout.At(c, r - 1))) {
          *cell(c, r - 1) = kHazardBelowBit;
        } else if (r + 1 < layout.height && IsRock(layout.At(c, r + 1))) {
          *cell(c, r + 1) = kHazardAboveBit;
        }
      }
    }
  }
  return g;
}

int StepHero(Hero& h, const HeroInput& in, const CollisionGrid& g, bool& landed, Contacts* contacts) {
  landed = false;
  int hurt = 0;
  h.vx += in.dirX * kWalkAccel;
  if (in.pressed && h.jumpsLeft > 0) {
    h.jumpsLeft -= 1;
    h.vy = -kJumpSpeed;
  }
  int brake = kAirBrake;
  if (h.jumpsLeft == 2) {
    brake = kGroundBrake;
    h.hoverFuel = std::min(h.hoverFuel + 2, h.fuelLimit);
  }
  if (in.dirX == 1 && h.vx < 0) {
    h.vx += brake;
  } else if (in.dirX == -1 && h.vx > 0) {
    h.vx -= brake;
  } else if (in.dirX == 0) {
    if (h.vx > 0) h.vx = std::max(h.vx - brake, 0);
    if (h.vx < 0) h.vx = std::min(h.vx + brake, 0);
  }
  h.vx = std::clamp(h.vx, -kMaxSpeedX, kMaxSpeedX);
  if (in.held) {
    h.vy += h.vy < 0 ? kRiseGravity : kGravity;
    if (h.jumpsLeft == 0 && h.hoverFuel > 0) {
      if (h.vy > 0)
        h.vy = h.vy - (h.vy >> 2) - 256;
      else if (h.vy > -512)
        h.vy -= 192;
      else if (h.vy > -1280)
        h.vy -= 128;
      h.hoverFuel -= 1;
    }
  } else {
    h.vy += kGravity;
  }
  h.x += h.vx;
  if (h.vx > 0) {
    const int e = h.x + kHeroHalfWidth;
    if (Blocked(g, e, h.y - kHeroHalfHeight) || Blocked(g, e, h.y + kHeroHalfHeight) || Blocked(g, e, h.y)) {
      h.x = (e >> 12 << 12) - kHeroHalfWidth - 1;
      h.vx = 0;
    }
  } else if (h.vx < 0) {
    const int e = h.x - kHeroHalfWidth;
    if (Blocked(g, e, h.y - kHeroHalfHeight) || Blocked(g, e, h.y + kHeroHalfHeight) || Blocked(g, e, h.y)) {
      h.x = (((e >> 12) + 1) << 12) + kHeroHalfWidth;
      h.vx = 0;
    }
  }
  h.vy = std::min(h.vy, kMaxFallSpeed);
  h.y += h.vy;
  if (h.vy > 0) {
    const int f = h.y + kHeroHalfHeight;
    const int a = g.CellAt(h.x - kHeroHalfWidth, f), b = g.CellAt(h.x + kHeroHalfWidth, f),
              m = g.CellAt(h.x, f);
    if (a != 0 || b != 0 || m != 0) {
      if (contacts) {
        Record(g, h.x - kHeroHalfWidth, f, &contacts->feet);
        Record(g, h.x + kHeroHalfWidth, f, &contacts->feet);
        Record(g, h.x, f, &contacts->feet);
      }
      if (((a | b | m) & kHazardAboveBit) != 0) {
        hurt = 1;
      } else {
        h.y = (f >> 12 << 12) - kHeroHalfHeight - 1;
        h.jumpsLeft = 2;
        h.vy = 0;
        landed = true;
      }
    }
  } else if (h.vy < 0) {
    const int t = h.y - kHeroHalfHeight;
    const int a = g.CellAt(h.x - kHeroHalfWidth, t), b = g.CellAt(h.x + kHeroHalfWidth - 1, t),
              m = g.CellAt(h.x, t);
    if (a != 0 || b != 0 || m != 0) {
      if (contacts) {
        Record(g, h.x - kHeroHalfWidth, t, &contacts->head);
        Record(g, h.x + kHeroHalfWidth - 1, t, &contacts->head);
        Record(g, h.x, t, &contacts->head);
      }
      if (((a | b | m) & kHazardBelowBit) != 0) {
        hurt = 2;
      } else {
        h.y = (((t >> 12) + 1) << 12) + kHeroHalfHeight;
        h.vy = 0;
      }
    }
  }
  if (h.vy > 0 && h.jumpsLeft == 2) h.jumpsLeft = 1;
  return hurt;
}

Measured MeasureReach() {
  // Open space over a long flat floor.
  CollisionGrid g;
  g.width = 400;
  g.height = 40;
  g.cells.assign(static_cast<std::size_t>(g.width) * g.height, 0);
  const int floorRow = 38;
  for (int c = 0; c < g.width; ++c) g.cells[static_cast<std::size_t>(floorRow) * g.width + c] = 1;
  const int column = 40;

  auto rise = [&](const Script& s, int fuel) {
    Hero h = HeroOn(column, floorRow, fuel);
    const int y0 = h.y;
    int top = y0;
    Simulate(g, h, s, nullptr, [&](int t, const Hero& hero, bool onGround) {
      top = std::min(top, hero.y);
      return t > 0 && onGround;
    });
    return y0 - top;
  };
  auto run = [&](const Script& s, int vx) {
    Hero h = HeroOn(column, floorRow);
    h.vx = vx;
    const int x0 = h.x;
    Simulate(g, h, s, nullptr, [&](int t, const Hero&, bool onGround) { return t > 0 && onGround; });
    return h.x - x0;
  };

  Measured m;
  Script single;
  single.hold1 = kMaxFrames;
  m.jumpRise = rise(single, kHoverFuel);
  for (int p = 2; p <= 40; ++p) {
    Script s;
    s.hold1 = p - 1;
    s.press2 = p;
    s.hold2 = kMaxFrames;
    // The double jump on its own: no fuel, so holding adds no thrust.
    const int r = rise(s, 0);
    if (r > m.doubleRise) {
      m.doubleRise = r;
      m.doublePress = p;
    }
  }
  m.hoverPress = m.doublePress;
  m.hoverRelease = kMaxFrames;
  m.hoverRehold = -1;
  for (int p = 2; p <= 40; ++p) {
    Script held;
    held.hold1 = p - 1;
    held.press2 = p;
    held.hold2 = kMaxFrames;
    const int r = rise(held, kHoverFuel);
    if (r > m.hoverRise) {
      m.hoverRise = r;
      m.hoverPress = p;
    }
  }
  for (int p = 2; p <= 40; ++p) {
    for (int h2 = 1; h2 <= 30; ++h2) {
      for (int gap = 1; gap <= 30; ++gap) {
        Script s;
        s.hold1 = p - 1;
        s.press2 = p;
        s.hold2 = h2;
        s.rehold = p + h2 + gap;
        const int r = rise(s, kHoverFuel);
        if (r > m.hoverRise) {
          m.hoverRise = r;
          m.hoverPress = p;
          m.hoverRelease = h2;
          m.hoverRehold = s.rehold;
        }
      }
    }
  }
  {
    Script best;
    best.hold1 = m.hoverPress - 1;
    best.press2 = m.hoverPress;
    best.hold2 = m.hoverRelease;
    best.rehold = m.hoverRehold;
    m.checkedHoverRise = rise(best, kCheckedHoverFuel);
  }
  Script ahead = single;
  ahead.dir = 1;
  ahead.dirTo = kMaxFrames;
  m.jumpRun = run(ahead, 0);
  m.jumpRunFull = run(ahead, kMaxSpeedX);
  Script far = ahead;
  far.hold1 = m.hoverPress - 1;
  far.press2 = m.hoverPress;
  far.hold2 = m.hoverRelease;
  far.rehold = m.hoverRehold;
  m.doubleRun = run(far, kMaxSpeedX);
  return m;
}

ReachSearch::ReachSearch(const CollisionGrid& grid) : grid_(grid), measured_(MeasureReach()) {
  MakeScripts();
  const std::size_t n = static_cast<std::size_t>(grid_.width) * grid_.height;
  forward_.assign(n, 0);
  back_.assign(n, 0);
  parent_.assign(n, Edge{-1, -1});
  next_.assign(n, Edge{-1, -1});
  edges_.assign(n, {});
}

void ReachSearch::MakeScripts() {
  const Measured& m = measured_;
  constexpr int kForever = kMaxFrames;
  struct Window {
    int from, to;
    bool brake;
  };
  // Jumps: held windows of the button, then the horizontal windows tried with each.
  struct Jump {
    int hold1, press2, hold2, rehold;
    std::vector<Window> windows;
  };
  const std::vector<Jump> jumps{
      {kForever, -1, 0, -1, {{0, kForever, false}, {0, 6, true}, {0, 14, true}, {10, kForever, false},
                             {12, 20, true}, {20, kForever, false}, {24, 32, true}}},
      {3, -1, 0, -1, {{0, kForever, false}, {0, 8, true}, {6, kForever, false}}},
      {m.doublePress - 1, m.doublePress, kForever, -1,
       {{0, kForever, false}, {0, 10, true}, {16, kForever, false}, {24, kForever, false},
        {30, 38, true}, {40, kForever, false}, {44, 52, true}}},
      {8, 9, kForever, -1, {{0, kForever, false}, {12, kForever, false}}},
      {m.doublePress - 1, m.doublePress, 2, -1, {{0, kForever, false}, {20, kForever, false}, {30, 40, true}}},
      {m.hoverPress - 1, m.hoverPress, m.hoverRelease, m.hoverRehold,
       {{0, kForever, false}, {20, kForever, false}, {40, kForever, false}, {50, 60, true},
        {60, kForever, false}, {70, 80, true}}},
  };
  scripts_.clear();
  for (int dir : {-1, 1}) {
    scripts_.push_back({dir, 0, kForever, false, 0, -1, 0, -1});
    scripts_.push_back({dir, 0, -1, true, 0, -1, 0, -1});
  }
  for (const Jump& j : jumps) {
    scripts_.push_back({0, 0, 0, false, j.hold1, j.press2, j.hold2, j.rehold});
    for (int dir : {-1, 1})
      for (const Window& w : j.windows)
        scripts_.push_back({dir, w.from, w.to, w.brake, j.hold1, j.press2, j.hold2, j.rehold});
  }
}

bool ReachSearch::ValidStand(int column, int floorRow) const {
  if (column < 0 || column >= grid_.width || floorRow < 2 || floorRow >= grid_.height) return false;
  const int floor = grid_.Cell(column, floorRow);
  return floor != 0 && (floor & kHazardAboveBit) == 0 && grid_.Cell(column, floorRow - 1) == 0 &&
         grid_.Cell(column, floorRow - 2) == 0;
}

int ReachSearch::Run(int from, const Script& s, Contacts* contacts) const {
  const int column = from % grid_.width, floorRow = from / grid_.width;
  Hero h = HeroOn(column, floorRow, kCheckedHoverFuel);
  bool airborne = false;
  int result = -1;
  auto snap = [&](const Hero& hero) {
    const int fr = (hero.y + kHeroHalfHeight + 1) >> 12;
    for (int c : {hero.x >> 12, (hero.x - kHeroHalfWidth) >> 12, (hero.x + kHeroHalfWidth) >> 12})
      if (ValidStand(c, fr)) return StandId(c, fr);
    return -1;
  };
  const bool ok = Simulate(grid_, h, s, contacts, [&](int t, const Hero& hero, bool onGround) {
    if (!onGround) {
      airborne = true;
      return false;
    }
    if (airborne) {
      result = snap(hero);
      return true;
    }
    // Still on the first floor: a new column with its own footing is a step.
    const int c = hero.x >> 12;
    if (c != column && ValidStand(c, floorRow)) {
      result = StandId(c, floorRow);
      return true;
    }
    return t > 90;  // pushed against a wall
  });
  return ok ? result : -1;
}

void ReachSearch::Explore(int start) {
  start_ = start;
  std::fill(forward_.begin(), forward_.end(), 0);
  std::fill(back_.begin(), back_.end(), 0);
  edgeCount_ = 0;
  if (start < 0 || !ValidStand(start % grid_.width, start / grid_.width)) return;
  std::deque<int> queue{start};
  forward_[start] = 1;
  std::vector<int> order;
  while (!queue.empty()) {
    const int u = queue.front();
    queue.pop_front();
    order.push_back(u);
    auto& out = edges_[u];
    out.clear();
    for (int i = 0; i < static_cast<int>(scripts_.size()); ++i) {
      const int v = Run(u, scripts_[i], nullptr);
      if (v < 0 || v == u) continue;
      if (std::any_of(out.begin(), out.end(), [v](const Edge& e) { return e.to == v; })) continue;
      out.push_back({v, i});
      ++edgeCount_;
      if (!forward_[v]) {
        forward_[v] = 1;
        parent_[v] = {u, i};
        queue.push_back(v);
      }
    }
  }
  // The way back: a search over the reversed edges from the start.
  std::vector<std::vector<Edge>> incoming(forward_.size());
  for (int u : order)
    for (const Edge& e : edges_[u]) incoming[e.to].push_back({u, e.script});
  back_[start] = 1;
  queue.push_back(start);
  while (!queue.empty()) {
    const int v = queue.front();
    queue.pop_front();
    for (const Edge& e : incoming[v]) {
      if (back_[e.to]) continue;
      back_[e.to] = 1;
      next_[e.to] = {v, e.script};
      queue.push_back(e.to);
    }
  }
}

int ReachSearch::ForwardCount() const { return static_cast<int>(std::count(forward_.begin(), forward_.end(), 1)); }
int ReachSearch::BackCount() const { return static_cast<int>(std::count(back_.begin(), back_.end(), 1)); }

std::vector<int> ReachSearch::RouteFromStart(int id) const {
  std::vector<int> route;
  if (id < 0 || !forward_[id]) return route;
  for (int v = id; v != start_; v = parent_[v].to) route.push_back(v);
  route.push_back(start_);
  std::reverse(route.begin(), route.end());
  return route;
}

std::vector<int> ReachSearch::RouteToStart(int id) const {
  std::vector<int> route;
  if (id < 0 || !back_[id]) return route;
  for (int v = id; v != start_; v = next_[v].to) route.push_back(v);
  route.push_back(start_);
  return route;
}

void ReachSearch::RouteContacts(int id, Contacts& out) const {
  if (id < 0) return;
  if (forward_[id])
    for (int v = id; v != start_; v = parent_[v].to) Run(parent_[v].to, scripts_[parent_[v].script], &out);
  if (back_[id])
    for (int v = id; v != start_; v = next_[v].to) Run(v, scripts_[next_[v].script], &out);
}

std::string Cells(int units) {
  char text[32];
  const int hundredths = (units * 100 + kCellUnits / 2) / kCellUnits;
  std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
  return text;
}

ReachReport CheckReach(const Layout& layout) {
  ReachReport report;
  auto problem = [&](const std::string& text) { report.problems.push_back(text); };
  const CollisionGrid grid = BuildCollision(layout);
  ReachSearch search(grid);
  int start = -1, starts = 0;
  struct Target {
    std::string what;
    int column, row;
  };
  std::vector<Target> targets;
  int fruitNumber = 0;
  for (int r = 0; r < layout.height; ++r) {
    for (int c = 0; c < layout.width; ++c) {
      const std::uint32_t p = layout.At(c, r);
      if (p == kStart) {
        ++starts;
        start = search.StandId(c, r + 1);
        if (!search.ValidStand(c, r + 1)) problem("the start at " + std::to_string(c) + "," + std::to_string(r) + " has no footing");
      } else if (p == kCheckpoint) {
        targets.push_back({"checkpoint", c, r});
        ++report.checkpoints;
      } else if (p == kFruit) {
        targets.push_back({"fruit " + std::to_string(++fruitNumber), c, r});
        ++report.fruits;
      }
    }
  }
  if (starts != 1) problem("the layout has " + std::to_string(starts) + " start markers");
  if (starts == 1) search.Explore(start);
  report.stands = search.ForwardCount();
  report.returning = search.BackCount();
  report.edges = search.EdgeCount();
  for (const Target& t : targets) {
    const std::string where = t.what + " at " + std::to_string(t.column) + "," + std::to_string(t.row);
    std::vector<int> places;
    if (t.what == "checkpoint") {
      places.push_back(search.ValidStand(t.column, t.row + 1) ? search.StandId(t.column, t.row + 1) : -1);
    } else {
      // A fruit appears in the cell below its pixel, falls in its column and
      // hops on the first floor; the hero collects it standing on that floor
      // within a cell of it.
      if (grid.Cell(t.column, t.row + 1) != 0) {
        problem(where + " starts inside a blocked cell");
        continue;
      }
      int floor = t.row + 2;
      while (floor < grid.height && grid.Cell(t.column, floor) == 0) ++floor;
      for (int c = t.column - 1; c <= t.column + 1; ++c)
        if (search.ValidStand(c, floor)) places.push_back(search.StandId(c, floor));
    }
    bool reached = false, back = false;
    for (int id : places) {
      if (id < 0 || starts != 1) continue;
      if (search.Forward(id)) {
        reached = true;
        if (search.Back(id)) back = true;
      }
    }
    if (!reached)
      problem(where + " cannot be reached from the start");
    else if (!back)
      problem(where + " is a trap: the hero cannot get back to the start");
  }
  report.ok = report.problems.empty();
  return report;
}

}  // namespace quorin::worldpaint
