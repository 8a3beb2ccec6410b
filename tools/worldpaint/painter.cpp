#include "tools/worldpaint/painter.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <numeric>
#include <set>

namespace quorin::worldpaint {
namespace {

constexpr int kSize = kWorldSize;

// Lattice of caverns: one node every kNodeSpanX columns and kNodeSpanY rows.
constexpr int kNodesX = 14;
constexpr int kNodesY = 16;
constexpr int kNodeSpanX = 36;
constexpr int kNodeSpanY = 32;
constexpr int kFirstNodeX = 22;
constexpr int kFirstFloor = 26;

// Ledge spacing of a climb: a single jump rises 4.4 cells, a double jump 8.8,
// a double jump with the hover 23; each keeps a wide margin.
constexpr int kStepSingle = 3;
constexpr int kStepDouble = 7;
constexpr int kStepHover = 14;
constexpr int kLedgeWidth = 3;
constexpr int kStackWidth = 2 * kLedgeWidth + 1;

// Targets of our world.
constexpr int kCheckpointTarget = 91;
constexpr int kHangingTarget = 238;
constexpr int kStandingTarget = 172;
constexpr int kEnemyTargets[5]{1735, 607, 204, 0, 222};
constexpr int kDecorationATarget = 4050;
constexpr int kDecorationBTarget = 3067;
constexpr int kBlueTarget = 36306, kGreenTarget = 42585, kPurpleTarget = 28727, kGreyTarget = 4731;
// The start cavern keeps only a few weak monsters and no hazards.
constexpr int kStartAreaMonsters = 8;
constexpr int kCalmDistance = 100;

std::uint32_t Hash(int a, int b, int salt) {
  std::uint32_t h = static_cast<std::uint32_t>(a) * 0x8da6b343u ^ static_cast<std::uint32_t>(b) * 0xd8163841u ^
                    static_cast<std::uint32_t>(salt) * 0xcb1ab31fu;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 12;
  h *= 0x297a2d39u;
  h ^= h >> 15;
  return h;
}
// 0..n-1 from a position.
int Roll(int a, int b, int salt, int n) { return static_cast<int>(Hash(a, b, salt) % static_cast<std::uint32_t>(n)); }

enum Salt {
  kSaltWidth = 1, kSaltHeight, kSaltPassage, kSaltShiftX, kSaltShiftY, kSaltTree, kSaltExtra, kSaltCeiling,
  kSaltTunnel, kSaltShaft, kSaltClimb, kSaltHazard, kSaltEnemy, kSaltKind, kSaltDecoA, kSaltDecoB,
  kSaltSide
};

// Where each rock kind's region grows from: 0 blue, 1 green, 2 purple, 3 grey.
struct Seed {
  int x, y;
  int kind;
};
constexpr Seed kSeeds[]{{305, 157, 0}, {330, 300, 0}, {250, 200, 0}, {70, 110, 1}, {80, 330, 1},
                        {160, 470, 1}, {460, 60, 2},  {450, 380, 2}, {330, 470, 2}, {210, 40, 3}};

// The kind whose seed lies nearest: the caverns take that region's style.
int NearestKind(int x, int y) {
  int best = 0;
  long bestDistance = -1;
  for (const Seed& s : kSeeds) {
    const long d = static_cast<long>(s.x - x) * (s.x - x) + static_cast<long>(s.y - y) * (s.y - y);
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = s.kind;
    }
  }
  return best;
}

struct Room {
  int left = 0, right = 0, top = 0, floor = 0;  // interior columns left..right, rows top..floor-1
  int centre = 0;
  bool passage = false;
  int style = 0;  // the rock kind of its region
};

// Rock (1) or open (0) while carving.
struct Rock {
  std::vector<std::uint8_t> cell = std::vector<std::uint8_t>(static_cast<std::size_t>(kSize) * kSize, 1);
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < kSize && y < kSize; }
  bool At(int x, int y) const { return !Inside(x, y) || cell[static_cast<std::size_t>(y) * kSize + x] != 0; }
  // The outer ring stays rock so that the world is closed.
  void Carve(int x, int y) {
    if (x >= 1 && y >= 1 && x < kSize - 1 && y < kSize - 1) cell[static_cast<std::size_t>(y) * kSize + x] = 0;
  }
  void Fill(int x, int y) {
    if (Inside(x, y)) cell[static_cast<std::size_t>(y) * kSize + x] = 1;
  }
  void CarveRect(int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Carve(x, y);
  }
};

int NodeIndex(int i, int j) { return j * kNodesX + i; }

std::vector<Room> PlanRooms() {
  std::vector<Room> rooms(kNodesX * kNodesY);
  for (int j = 0; j < kNodesY; ++j) {
    for (int i = 0; i < kNodesX; ++i) {
      Room& r = rooms[NodeIndex(i, j)];
      r.centre = kFirstNodeX + kNodeSpanX * i + Roll(i, j, kSaltShiftX, 5) - 2;
      r.floor = kFirstFloor + kNodeSpanY * j + Roll(i, j, kSaltShiftY, 7) - 3;
      r.style = NearestKind(r.centre, r.floor);
      // Green warrens run in long low galleries, purple caves rise in tall
      // vaults, the grey cap is cramped, the blue heart is in between.
      const int passageChance[4]{10, 18, 5, 8};
      const int minHeight[4]{19, 17, 21, 17}, heightSpread[4]{10, 8, 9, 6};
      const int minWidth[4]{27, 30, 26, 26}, widthSpread[4]{7, 5, 8, 6};
      r.passage = Roll(i, j, kSaltPassage, 100) < passageChance[r.style];
      const int width = r.passage ? 32 : minWidth[r.style] + Roll(i, j, kSaltWidth, widthSpread[r.style]);
      const int height = r.passage ? 7 : minHeight[r.style] + Roll(i, j, kSaltHeight, heightSpread[r.style]);
      r.left = r.centre - width / 2;
      r.right = r.left + width - 1;
      r.top = r.floor - height;
    }
  }
  // Landmarks: the start cavern and one cavern round each fruit.
  auto nearest = [](int column, int floor) {
    const int i = std::clamp((column - kFirstNodeX + kNodeSpanX / 2) / kNodeSpanX, 0, kNodesX - 1);
    const int j = std::clamp((floor - kFirstFloor + kNodeSpanY / 2) / kNodeSpanY, 0, kNodesY - 1);
    return NodeIndex(i, j);
  };
  {
    Room& r = rooms[nearest(kStartColumn, kStartRow + 1)];
    r.passage = false;
    r.floor = kStartRow + 1;
    r.centre = kStartColumn;
    r.left = r.centre - 14;
    r.right = r.centre + 13;
    r.top = r.floor - 12;
  }
  for (const Spot& f : kFruits) {
    Room& r = rooms[nearest(f.column, f.row + 3)];
    r.passage = false;
    r.floor = f.row + 3;
    r.top = std::max(1, std::min(r.top, r.floor - 10));
    r.centre = std::clamp(f.column + 7, 14, kSize - 14);
    r.left = std::min(r.centre - 12, f.column - 2);
    r.right = std::max(r.centre + 12, f.column + 2);
  }
  for (Room& r : rooms) {
    r.left = std::max(r.left, 1);
    r.right = std::min(r.right, kSize - 2);
    r.top = std::max(r.top, 1);
    r.floor = std::min(r.floor, kSize - 2);
  }
  return rooms;
}

void CarveRoom(Rock& rock, const Room& r, int salt) {
  for (int x = r.left; x <= r.right; ++x) {
    // A vaulted, ragged roof: lower towards the walls, a slow swell, a
    // little roughness. The floor stays level so that it can be walked.
    const int wall = std::min(x - r.left, r.right - x);
    const int vault = r.passage ? 0 : std::max(0, 4 - wall) * std::max(0, 4 - wall) / 3;
    const int swell = (Roll(x / 5, salt, kSaltCeiling, 4) + Roll(x / 5 + 1, salt, kSaltCeiling, 4)) / 2;
    const int rough = Roll(x, salt, kSaltCeiling, 4) == 0 ? 1 : 0;
    const int top = std::min(r.top + vault + swell + rough, r.floor - 4);
    for (int y = top; y < r.floor; ++y) rock.Carve(x, y);
  }
  // Walls bulge and recede above head height.
  for (int y = r.top; y < r.floor - 8; ++y) {
    const int bulge = Roll(y / 3, salt, kSaltCeiling + 1, 3);
    for (int k = 0; k < bulge; ++k) {
      rock.Fill(r.left + k, y);
      rock.Fill(r.right - k, y);
    }
  }
}

// Ledges one cell thick, alternating between the two halves of a
// kStackWidth-wide column, from a floor up to a higher floor.
void BuildStack(Rock& rock, int x0, int lowFloor, int highFloor, int step, int firstSide) {
  const int rise = lowFloor - highFloor;
  if (rise <= 2) return;
  const int k = (rise + step - 1) / step;
  for (int i = 1; i < k; ++i) {
    const int row = lowFloor - (i * rise + k / 2) / k;
    const int side = (i + firstSide) & 1;
    const int from = side == 0 ? x0 : x0 + kLedgeWidth + 1;
    for (int x = from; x < from + kLedgeWidth; ++x) rock.Fill(x, row);
  }
}

struct Link {
  int a, b;  // node indices, a left of or above b
  bool vertical;
};

// A spanning tree of the lattice from hashed weights, plus some loops.
std::vector<Link> PlanLinks(const std::vector<Room>& rooms) {
  std::vector<Link> all;
  for (int j = 0; j < kNodesY; ++j)
    for (int i = 0; i < kNodesX; ++i) {
      if (i + 1 < kNodesX) all.push_back({NodeIndex(i, j), NodeIndex(i + 1, j), false});
      if (j + 1 < kNodesY) all.push_back({NodeIndex(i, j), NodeIndex(i, j + 1), true});
    }
  auto weight = [&](const Link& l) {
    int w = Roll(l.a, l.b, kSaltTree, 1000);
    // Passages run sideways: their shafts come last.
    if (l.vertical && (rooms[l.a].passage || rooms[l.b].passage)) w += 1000;
    return w;
  };
  std::vector<int> order(all.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return weight(all[x]) < weight(all[y]); });
  std::vector<int> parent(rooms.size());
  std::iota(parent.begin(), parent.end(), 0);
  auto find = [&](int v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
  };
  std::vector<Link> links;
  for (int k : order) {
    const Link& l = all[k];
    const int ra = find(l.a), rb = find(l.b);
    if (ra != rb) {
      parent[ra] = rb;
      links.push_back(l);
    } else if (Roll(l.a, l.b, kSaltExtra, 100) < (l.vertical ? 18 : 40)) {
      links.push_back(l);
    }
  }
  return links;
}

int LatticeDistance(int node, int startNode) {
  return std::abs(node % kNodesX - startNode % kNodesX) + std::abs(node / kNodesX - startNode / kNodesX);
}

void CarveTunnel(Rock& rock, const Room& a, const Room& b, int salt) {
  // The passage runs on the higher floor; the lower cavern climbs to its mouth.
  const int mouth = std::min(a.floor, b.floor);
  int height = 5 + Roll(salt, 0, kSaltTunnel, 2);
  int from = a.right - kStackWidth, to = b.left + kStackWidth;
  // Some neighbours open into one another as a great cavern.
  if (!a.passage && !b.passage && Roll(salt, 1, kSaltTunnel, 100) < 40) {
    height = std::max(height, std::min(mouth - a.top, mouth - b.top) - 3);
    from = a.centre;
    to = b.centre;
  }
  rock.CarveRect(from, mouth - height, to, mouth - 1);
  if (a.floor > mouth + 2) {
    const int x0 = a.right - kStackWidth + 1;
    rock.CarveRect(x0, mouth - height, a.right, a.floor - 1);
    BuildStack(rock, x0, a.floor, mouth, kStepSingle, 0);
  } else if (b.floor > mouth + 2) {
    const int x0 = b.left;
    rock.CarveRect(x0, mouth - height, x0 + kStackWidth - 1, b.floor - 1);
    BuildStack(rock, x0, b.floor, mouth, kStepSingle, 1);
  }
}

void CarveShaft(Rock& rock, const Room& above, const Room& below, int salt, int step) {
  int lo = std::max(above.left, below.left) + kStackWidth + 1;
  int hi = std::min(above.right, below.right) - 2 * kStackWidth;
  if (lo > hi) {
    lo = std::max(above.left, below.left) + 1;
    hi = std::min(above.right, below.right) - kStackWidth;
  }
  if (lo > hi) return;
  const int x0 = lo + Roll(salt, 1, kSaltShaft, hi - lo + 1);
  rock.CarveRect(x0, above.floor, x0 + kStackWidth - 1, below.floor - 1);
  // Some shafts open up into tall halls, the ladder of ledges standing free.
  const int hallChance = above.style == 2 && below.style == 2 ? 50 : 20;
  if (!above.passage && !below.passage && Roll(salt, 3, kSaltShaft, 100) < hallChance) {
    const int left = std::max(above.left, below.left) + 2, right = std::min(above.right, below.right) - 2;
    rock.CarveRect(left, above.floor + 1, right, below.top + 2);
  }
  BuildStack(rock, x0, below.floor, above.floor, step, Roll(salt, 2, kSaltSide, 2));
}

// Kinds grown from seeds in turn, each in proportion to its rock target, so
// that every kind reads as one place.
std::vector<std::uint32_t> PaintRegions(const Rock& rock) {
  const std::uint32_t colours[4]{kBlueRock, kGreenRock, kPurpleRock, kGreyRock};
  const long targets[4]{kBlueTarget, kGreenTarget, kPurpleTarget, kGreyTarget};
  std::vector<std::uint32_t> kind(static_cast<std::size_t>(kSize) * kSize, 0);
  std::vector<std::uint8_t> owner(kind.size(), 255);
  std::deque<int> queues[4];
  long filled[4]{};
  for (const Seed& s : kSeeds) {
    const int id = s.y * kSize + s.x;
    owner[id] = static_cast<std::uint8_t>(s.kind);
    queues[s.kind].push_back(id);
    if (rock.At(s.x, s.y)) ++filled[s.kind];
  }
  for (;;) {
    int pick = -1;
    for (int k = 0; k < 4; ++k) {
      if (queues[k].empty()) continue;
      if (pick < 0 || filled[k] * targets[pick] < filled[pick] * targets[k]) pick = k;
    }
    if (pick < 0) break;
    const int id = queues[pick].front();
    queues[pick].pop_front();
    const int x = id % kSize, y = id / kSize;
    const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
    for (int d = 0; d < 4; ++d) {
      const int nx = x + dx[d], ny = y + dy[d];
      if (nx < 0 || ny < 0 || nx >= kSize || ny >= kSize) continue;
      const int n = ny * kSize + nx;
      if (owner[n] != 255) continue;
      owner[n] = static_cast<std::uint8_t>(pick);
      if (rock.At(nx, ny)) ++filled[pick];
      queues[pick].push_back(n);
    }
  }
  for (std::size_t i = 0; i < kind.size(); ++i) kind[i] = colours[owner[i] == 255 ? 0 : owner[i]];
  return kind;
}

// Steps through open cells from the start: how far a place lies for a walker.
std::vector<int> OpenDistance(const Layout& layout) {
  std::vector<int> dist(layout.px.size(), -1);
  std::deque<int> queue;
  const int s = kStartRow * kSize + kStartColumn;
  dist[s] = 0;
  queue.push_back(s);
  while (!queue.empty()) {
    const int id = queue.front();
    queue.pop_front();
    const int x = id % kSize, y = id / kSize;
    const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
    for (int d = 0; d < 4; ++d) {
      const int nx = x + dx[d], ny = y + dy[d];
      if (!layout.Inside(nx, ny) || IsRock(layout.At(nx, ny))) continue;
      const int n = ny * kSize + nx;
      if (dist[n] >= 0) continue;
      dist[n] = dist[id] + 1;
      queue.push_back(n);
    }
  }
  return dist;
}

struct Candidate {
  int id;
  long key;
};

// The `count` candidates with the smallest keys, ties by position.
std::vector<int> Choose(std::vector<Candidate> c, int count) {
  std::sort(c.begin(), c.end(), [](const Candidate& a, const Candidate& b) {
    return a.key != b.key ? a.key < b.key : a.id < b.id;
  });
  std::vector<int> out;
  for (int i = 0; i < count && i < static_cast<int>(c.size()); ++i) out.push_back(c[i].id);
  return out;
}

}  // namespace

Figures CountFigures(const Layout& layout) {
  Figures f;
  for (int y = 0; y < layout.height; ++y) {
    for (int x = 0; x < layout.width; ++x) {
      const std::uint32_t p = layout.At(x, y);
      if (IsRock(p)) {
        ++f.rock;
        if (p == kBlueRock) ++f.blue;
        else if (p == kGreenRock) ++f.green;
        else if (p == kPurpleRock) ++f.purple;
        else if (p == kGreyRock) ++f.grey;
        else ++f.otherRock;
      } else if (p == kStart || p == kCheckpoint) {
        (p == kStart ? f.starts : f.checkpoints) += 1;
        if (p == kCheckpoint && IsRock(layout.At(x, y + 1)) && y + 1 < layout.height) ++f.padsOnRock;
      } else if (p == kHazard) {
        ++f.hazards;
        if (y > 0 && IsRock(layout.At(x, y - 1))) ++f.hanging;
        else if (y + 1 < layout.height && IsRock(layout.At(x, y + 1))) ++f.standing;
      } else if (IsEnemy(p)) {
        ++f.enemies;
        if (p == kEnemy1) ++f.enemyKinds[0];
        else if (p == kEnemy2) ++f.enemyKinds[1];
        else if (p == kEnemy3) ++f.enemyKinds[2];
        else if (p == kEnemy4) ++f.enemyKinds[3];
        else if (p == kEnemy5) ++f.enemyKinds[4];
      } else if (p == kDecorationA) {
        ++f.decorationA;
      } else if (p == kDecorationB) {
        ++f.decorationB;
      } else if (p == kFruit) {
        ++f.fruits;
      } else if (p == kEmpty) {
        ++f.empty;
      } else {
        ++f.otherColours;
      }
    }
  }
  return f;
}

std::vector<std::string> DescribeFigures(const Figures& f) {
  auto line = [](const char* name, int v) { return std::string(name) + " = " + std::to_string(v); };
  return {line("rock", f.rock),          line("rock_blue", f.blue),         line("rock_green", f.green),
          line("rock_purple", f.purple), line("rock_grey", f.grey),         line("start", f.starts),
          line("checkpoints", f.checkpoints), line("checkpoints_on_rock", f.padsOnRock),
          line("hazards", f.hazards),    line("hazards_hanging", f.hanging), line("hazards_standing", f.standing),
          line("enemies", f.enemies),    line("enemies_kind1", f.enemyKinds[0]),
          line("enemies_kind2", f.enemyKinds[1]), line("enemies_kind3", f.enemyKinds[2]),
          line("enemies_kind4", f.enemyKinds[3]), line("enemies_kind5", f.enemyKinds[4]),
          line("decoration_a", f.decorationA), line("decoration_b", f.decorationB), line("fruits", f.fruits),
          line("empty", f.empty)};
}

std::vector<std::string> CheckMargins(const Figures& f) {
  std::vector<std::string> out;
  // Within `percent` of `target`, both ends included.
  auto near = [&](const char* name, int value, int target, int percent) {
    const long lo = static_cast<long>(target) * (100 - percent), hi = static_cast<long>(target) * (100 + percent);
    if (value * 100L < lo || value * 100L > hi)
      out.push_back(std::string(name) + " " + std::to_string(value) + " is not within " +
                    std::to_string(percent) + "% of " + std::to_string(target));
  };
  auto exact = [&](const char* name, int value, int target) {
    if (value != target)
      out.push_back(std::string(name) + " " + std::to_string(value) + " is not " + std::to_string(target));
  };
  near("rock", f.rock, 112349, 10);
  near("blue rock", f.blue, kBlueTarget, 15);
  near("green rock", f.green, kGreenTarget, 15);
  near("purple rock", f.purple, kPurpleTarget, 15);
  near("grey rock", f.grey, kGreyTarget, 15);
  exact("other rock", f.otherRock, 0);
  exact("start markers", f.starts, 1);
  if (f.checkpoints < 80) out.push_back("only " + std::to_string(f.checkpoints) + " checkpoints");
  near("checkpoints", f.checkpoints, kCheckpointTarget, 15);
  exact("checkpoints off rock", f.checkpoints - f.padsOnRock, 0);
  near("hazards", f.hazards, kHangingTarget + kStandingTarget, 15);
  near("hanging hazards", f.hanging, kHangingTarget, 15);
  near("standing hazards", f.standing, kStandingTarget, 15);
  exact("hazards with no rock", f.hazards - f.hanging - f.standing, 0);
  exact("enemies", f.enemies, 2768);
  for (int k = 0; k < 5; ++k) {
    const std::string name = "enemies of kind " + std::to_string(k + 1);
    exact(name.c_str(), f.enemyKinds[k], kEnemyTargets[k]);
  }
  near("decorations A", f.decorationA, kDecorationATarget, 15);
  near("decorations B", f.decorationB, kDecorationBTarget, 15);
  exact("fruits", f.fruits, kFruitCount);
  exact("pixels of other colours", f.otherColours, 0);
  return out;
}

Painting PaintWorld() {
  Painting out;
  auto problem = [&](const std::string& text) { out.problems.push_back(text); };

  // 1. Caverns, passages and shafts.
  const std::vector<Room> rooms = PlanRooms();
  Rock rock;
  for (std::size_t n = 0; n < rooms.size(); ++n) CarveRoom(rock, rooms[n], static_cast<int>(n));
  const int startNode = [&] {
    for (std::size_t n = 0; n < rooms.size(); ++n)
      if (rooms[n].floor == kStartRow + 1 && rooms[n].centre == kStartColumn) return static_cast<int>(n);
    return 0;
  }();
  const std::vector<Link> links = PlanLinks(rooms);
  for (const Link& l : links)
    if (!l.vertical) CarveTunnel(rock, rooms[l.a], rooms[l.b], l.a * 64 + l.b);
  for (const Link& l : links) {
    if (!l.vertical) continue;
    const int d = LatticeDistance(l.a, startNode);
    const int roll = Roll(l.a, l.b, kSaltClimb, 100);
    int step = kStepSingle;
    if (d >= 7 && roll < 35) step = kStepHover;
    else if (d >= 4 && roll < 60) step = kStepDouble;
    CarveShaft(rock, rooms[l.a], rooms[l.b], l.a * 64 + l.b, step);
  }
  // The start stands on rock, each fruit falls through open air onto a floor.
  rock.Fill(kStartColumn, kStartRow + 1);
  rock.Carve(kStartColumn, kStartRow);
  for (const Spot& f : kFruits) {
    rock.Carve(f.column, f.row);
    rock.Carve(f.column, f.row + 1);
  }

  // 2. Rock kinds by region, then the landmarks.
  const std::vector<std::uint32_t> kinds = PaintRegions(rock);
  Layout& layout = out.layout;
  layout = Layout(kSize, kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (rock.At(x, y)) layout.Set(x, y, kinds[static_cast<std::size_t>(y) * kSize + x]);
  layout.Set(kStartColumn, kStartRow, kStart);
  for (const Spot& f : kFruits) layout.Set(f.column, f.row, kFruit);
  auto isFree = [&](int x, int y) { return layout.Inside(x, y) && layout.At(x, y) == kEmpty; };
  std::vector<std::uint8_t> reserved(layout.px.size(), 0);
  auto reserve = [&](int x, int y) {
    if (layout.Inside(x, y)) reserved[static_cast<std::size_t>(y) * kSize + x] = 1;
  };
  auto isReserved = [&](int x, int y) { return reserved[static_cast<std::size_t>(y) * kSize + x] != 0; };
  for (const Spot& f : kFruits)
    for (int y = f.row + 1; y < kSize && !IsRock(layout.At(f.column, y)); ++y) reserve(f.column, y);

  // 3. The hero's reach on the bare caves.
  const CollisionGrid grid = BuildCollision(layout);
  ReachSearch search(grid);
  const int start = search.StandId(kStartColumn, kStartRow + 1);
  search.Explore(start);
  auto both = [&](int id) { return id >= 0 && search.Forward(id) && search.Back(id); };
  std::vector<int> fruitStands;
  for (const Spot& f : kFruits) {
    int floor = f.row + 2;
    while (floor < kSize && grid.Cell(f.column, floor) == 0) ++floor;
    int best = -1;
    for (int c : {f.column, f.column - 1, f.column + 1})
      if (best < 0 && search.ValidStand(c, floor) && both(search.StandId(c, floor))) best = search.StandId(c, floor);
    if (best < 0) problem("fruit at " + std::to_string(f.column) + "," + std::to_string(f.row) + " is out of reach");
    fruitStands.push_back(best);
  }

  // 4. Checkpoints along the routes to the fruits and back, spaced apart.
  std::vector<int> checkpointStands;
  auto spaced = [&](int id, int gap) {
    const int c = id % kSize, r = id / kSize;
    if (std::abs(c - kStartColumn) < gap && std::abs(r - kStartRow - 1) < gap) return false;
    for (int o : checkpointStands)
      if (std::abs(o % kSize - c) < gap && std::abs(o / kSize - r) < gap) return false;
    return true;
  };
  auto fitsCheckpoint = [&](int id) {
    const int c = id % kSize, r = id / kSize;
    return both(id) && grid.Cell(c, r) == 1 && IsRock(layout.At(c, r)) && isFree(c, r - 1) && !isReserved(c, r - 1);
  };
  for (int gap : {20, 16, 13, 10}) {
    for (int f = 0; f < kFruitCount && static_cast<int>(checkpointStands.size()) < kCheckpointTarget; ++f) {
      if (fruitStands[f] < 0) continue;
      std::vector<int> route = search.RouteFromStart(fruitStands[f]);
      const std::vector<int> back = search.RouteToStart(fruitStands[f]);
      route.insert(route.end(), back.begin(), back.end());
      for (int id : route) {
        if (static_cast<int>(checkpointStands.size()) >= kCheckpointTarget) break;
        if (fitsCheckpoint(id) && spaced(id, gap)) checkpointStands.push_back(id);
      }
    }
  }
  for (int id : checkpointStands) {
    layout.Set(id % kSize, id / kSize - 1, kCheckpoint);
    reserve(id % kSize, id / kSize - 1);
  }
  if (static_cast<int>(checkpointStands.size()) < kCheckpointTarget)
    problem("only " + std::to_string(checkpointStands.size()) + " checkpoints found room on the routes");

  // 5. Hazards wherever no route needs to land or bump its head.
  std::vector<std::uint8_t> feet(layout.px.size(), 0), head(layout.px.size(), 0);
  {
    Contacts contacts;
    for (int id : fruitStands) search.RouteContacts(id, contacts);
    for (int id : checkpointStands) search.RouteContacts(id, contacts);
    for (int id : contacts.feet) feet[id] = 1;
    for (int id : contacts.head) head[id] = 1;
  }
  const std::vector<int> dist = OpenDistance(layout);
  auto distAt = [&](int x, int y) { return dist[static_cast<std::size_t>(y) * kSize + x]; };
  // Near a used floor or roof a hazard guards the way; further off it decorates.
  auto nearUsed = [&](const std::vector<std::uint8_t>& used, int x, int y) {
    for (int dx = -3; dx <= 3; ++dx)
      if (layout.Inside(x + dx, y) && used[static_cast<std::size_t>(y) * kSize + x + dx]) return true;
    return false;
  };
  // Checkpoints and fruits keep a hazard-free margin, so a respawn or a
  // collection never lands beside a spike.
  std::vector<std::uint8_t> clear(layout.px.size(), 0);
  auto keepClear = [&](int column, int top, int bottom) {
    for (int y = std::max(top, 0); y <= std::min(bottom, kSize - 1); ++y)
      for (int x = std::max(column - 2, 0); x <= std::min(column + 2, kSize - 1); ++x)
        clear[static_cast<std::size_t>(y) * kSize + x] = 1;
  };
  keepClear(kStartColumn, kStartRow - 1, kStartRow + 1);
  for (int id : checkpointStands) keepClear(id % kSize, id / kSize - 2, id / kSize);
  for (int f = 0; f < kFruitCount; ++f)
    if (fruitStands[f] >= 0) keepClear(kFruits[f].column, kFruits[f].row, fruitStands[f] / kSize);
  std::vector<Candidate> hanging, standing;
  for (int y = 1; y < kSize - 1; ++y) {
    for (int x = 1; x < kSize - 1; ++x) {
      if (!isFree(x, y) || isReserved(x, y) || distAt(x, y) < kCalmDistance) continue;
      if (clear[static_cast<std::size_t>(y) * kSize + x]) continue;
      const long jitter = Roll(x, y, kSaltHazard, 400);
      if (IsRock(layout.At(x, y - 1))) {
        if (head[static_cast<std::size_t>(y - 1) * kSize + x] || grid.Cell(x, y - 1) != 1) continue;
        // A hazard under a pad's rock would take the pad's flag: generation
        // writes the hanging base after the pad.
        if (y >= 2 && (layout.At(x, y - 2) == kCheckpoint || layout.At(x, y - 2) == kStart)) continue;
        hanging.push_back({y * kSize + x, jitter - (nearUsed(head, x, y - 1) ? 300 : 0)});
      } else if (IsRock(layout.At(x, y + 1))) {
        if (feet[static_cast<std::size_t>(y + 1) * kSize + x] || grid.Cell(x, y + 1) != 1) continue;
        if (IsRock(layout.At(x - 1, y)) || IsRock(layout.At(x + 1, y))) continue;
        standing.push_back({y * kSize + x, jitter - (nearUsed(feet, x, y + 1) ? 300 : 0)});
      }
    }
  }
  // Hazards come in short rows: each chosen seed grows sideways while it can.
  auto placeHazards = [&](std::vector<Candidate>& candidates, int target, bool hangs) {
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
      return a.key != b.key ? a.key < b.key : a.id < b.id;
    });
    std::set<int> allowed;
    for (const Candidate& c : candidates) allowed.insert(c.id);
    int placed = 0;
    for (const Candidate& c : candidates) {
      if (placed >= target) break;
      const int x = c.id % kSize, y = c.id / kSize;
      if (!isFree(x, y)) continue;
      const int length = 1 + Roll(x, y, kSaltHazard + 1, 4);
      for (int k = 0; k < length && placed < target; ++k) {
        const int id = c.id + k;
        if (!allowed.count(id) || !isFree(x + k, y)) break;
        layout.Set(x + k, y, kHazard);
        reserve(x + k, y);
        ++placed;
      }
    }
    if (placed < target)
      problem(std::string(hangs ? "hanging" : "standing") + " hazards: only " + std::to_string(placed) + " placed");
  };
  placeHazards(hanging, kHangingTarget, true);
  placeHazards(standing, kStandingTarget, false);

  // 6. Monsters in open air, weak ones near the start, strong ones far away.
  {
    auto openAround = [&](int x, int y) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (!layout.Inside(x + dx, y + dy) || IsRock(layout.At(x + dx, y + dy))) return false;
      return true;
    };
    auto nearCheckpoint = [&](int x, int y) {
      if (std::abs(x - kStartColumn) <= 4 && std::abs(y - kStartRow) <= 4) return true;
      for (int id : checkpointStands)
        if (std::abs(id % kSize - x) <= 3 && std::abs(id / kSize - 1 - y) <= 3) return true;
      return false;
    };
    std::vector<Candidate> calm, wild;
    for (int y = 1; y < kSize - 1; ++y) {
      for (int x = 1; x < kSize - 1; ++x) {
        const int d = distAt(x, y);
        if (d < 0 || !isFree(x, y) || isReserved(x, y) || !openAround(x, y) || nearCheckpoint(x, y)) continue;
        const long h = Roll(x, y, kSaltEnemy, 1 << 16);
        if (d >= 24 && d < kCalmDistance)
          calm.push_back({y * kSize + x, h});
        else if (d >= kCalmDistance)
          // The smallest keys win: a cell's chance grows with its weight, so
          // the monsters crowd closer together further away.
          wild.push_back({y * kSize + x, h * 1000 / (100 + std::min(d, 1500) / 5)});
      }
    }
    std::vector<int> chosen = Choose(calm, kStartAreaMonsters);
    if (static_cast<int>(chosen.size()) < kStartAreaMonsters) problem("the start area has too little room for monsters");
    const int total = std::accumulate(std::begin(kEnemyTargets), std::end(kEnemyTargets), 0);
    std::vector<int> far = Choose(wild, total - static_cast<int>(chosen.size()));
    if (static_cast<int>(far.size()) + static_cast<int>(chosen.size()) < total) problem("too little open air for the monsters");
    // Kinds by distance with some spread: the nearest get the weakest.
    std::vector<Candidate> ranked;
    for (int id : far) ranked.push_back({id, distAt(id % kSize, id / kSize) + Roll(id, 0, kSaltKind, 120)});
    std::vector<int> order = Choose(ranked, static_cast<int>(ranked.size()));
    for (int id : chosen) layout.Set(id % kSize, id / kSize, kEnemy1);
    const std::uint32_t colours[5]{kEnemy1, kEnemy2, kEnemy3, kEnemy4, kEnemy5};
    std::size_t next = 0;
    for (int k = 0; k < 5; ++k) {
      const int want = kEnemyTargets[k] - (k == 0 ? static_cast<int>(chosen.size()) : 0);
      for (int n = 0; n < want && next < order.size(); ++n, ++next)
        layout.Set(order[next] % kSize, order[next] / kSize, colours[k]);
    }
  }

  // 7. Decorations: A stands on floors, B hangs from roofs.
  {
    std::vector<Candidate> onFloor, underRoof;
    for (int y = 1; y < kSize - 1; ++y) {
      for (int x = 1; x < kSize - 1; ++x) {
        if (!isFree(x, y) || isReserved(x, y)) continue;
        if (IsRock(layout.At(x, y + 1)) && !IsRock(layout.At(x, y - 1)))
          onFloor.push_back({y * kSize + x, Roll(x, y, kSaltDecoA, 1 << 20)});
        else if (IsRock(layout.At(x, y - 1)) && !IsRock(layout.At(x, y + 1)))
          underRoof.push_back({y * kSize + x, Roll(x, y, kSaltDecoB, 1 << 20)});
      }
    }
    const std::vector<int> a = Choose(onFloor, kDecorationATarget), b = Choose(underRoof, kDecorationBTarget);
    for (int id : a) layout.Set(id % kSize, id / kSize, kDecorationA);
    for (int id : b) layout.Set(id % kSize, id / kSize, kDecorationB);
  }

  // 8. The finished layout must keep every promise.
  for (const std::string& m : CheckMargins(CountFigures(layout))) problem(m);
  out.reach = CheckReach(layout);
  for (const std::string& p : out.reach.problems) problem(p);
  return out;
}

}  // namespace quorin::worldpaint
