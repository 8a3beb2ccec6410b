#include "tools/worldpaint/painter.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <numeric>
#include <set>
#include <string>

#include "tools/worldpaint/plan.h"

namespace quorin::worldpaint {
namespace {

constexpr int kSize = kWorldSize;

// Ledge spacing of a climb: a single jump rises 4.4 cells, a double jump 8.8,
// a double jump with the hover 23; each keeps a wide margin.
constexpr int kStepSingle = 3;
constexpr int kStepDouble = 7;
constexpr int kStepHover = 14;

// Targets of our world.
constexpr int kCheckpointTarget = 91;
constexpr int kHangingTarget = 238;
constexpr int kStandingTarget = 172;
constexpr int kEnemyTargets[5]{1735, 607, 204, 0, 222};
constexpr int kDecorationATarget = 4050;
constexpr int kDecorationBTarget = 3067;
constexpr int kBlueTarget = 36306, kGreenTarget = 42585, kPurpleTarget = 28727, kGreyTarget = 4731;
// The start hall keeps only a few weak monsters and no hazards.
constexpr int kStartAreaMonsters = 8;
constexpr int kStartArea = 24;
constexpr int kCalmDistance = 100;
// Open cells the rooms should make in all, before passages.
constexpr long kRoomAir = 200000;
// Monsters a fruit arena holds.
constexpr int kArenaMonsters = 30;
// Checkpoints laid along the ways to the fruits before the rest go where
// they cover the most.
constexpr int kRouteCheckpoints = 45;
// Monsters of each kind (1, 2, 3, 5) in each fifth of the walking distance:
// the kinds come in one after another and the strength per area rises.
constexpr int kBandQuota[5][4]{
    {200, 0, 0, 0}, {330, 60, 0, 0}, {420, 140, 30, 0}, {425, 200, 74, 40}, {360, 207, 100, 182}};

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
// A slow wobble of 0..n-1 along a line: linear between knots `span` apart.
int Wobble(int along, int salt, int n, int span) {
  const int k = along / span, t = along % span;
  const int a = Roll(k, salt, 7001, n), b = Roll(k + 1, salt, 7001, n);
  return a + ((b - a) * t + span / 2) / span;
}

enum Salt {
  kSaltPlace = 1, kSaltSize, kSaltShape, kSaltLink, kSaltLoop, kSaltLedge, kSaltShaft, kSaltSide, kSaltHazard,
  kSaltEnemy, kSaltKind, kSaltDecoA, kSaltDecoB, kSaltQuiet, kSaltCheckpoint
};

struct Room {
  int left = 0, right = 0, top = 0, floor = 0;  // interior columns left..right, rows top..floor-1
  Region region = kBlue;
  Shape shape = kHallShape;
  Purpose purpose = kPlain;
  int fruit = 0;
  bool sealed = false;
  bool quiet = false;
  int Width() const { return right - left + 1; }
  int Height() const { return floor - top; }
  int Centre() const { return (left + right) / 2; }
  bool Holds(int x, int y) const { return left <= x && x <= right && top <= y && y < floor; }
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
    if (x0 > x1) std::swap(x0, x1);
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Carve(x, y);
  }
};

// Whether a room's shape leaves the cell u columns from its left wall and v
// rows above its floor open. w and h are the interior's size; c is the
// distance from the middle in half cells (0 in the middle, w - 1 at a wall).
bool ShapeOpen(const Room& r, int u, int v, int salt) {
  const int w = r.Width(), h = r.Height();
  const int c = std::abs(2 * u - (w - 1));
  const long W = w, H = h;
  auto ellipse = [](long cx, long cy, long rx, long ry) { return cx * cx * ry * ry + cy * cy * rx * rx <= rx * rx * ry * ry; };
  const int x = r.left + u;
  switch (r.shape) {
    case kHallShape: {
      const int wall = std::min(u, w - 1 - u);
      const int vault = std::max(0, 5 - wall) * std::max(0, 5 - wall) / 3;
      const int swell = Wobble(x, salt, 4, 6);
      return v < std::max(h - vault - swell, 5);
    }
    case kGalleryShape: {
      const int roof = Wobble(x, salt, 4, 5) + (Roll(x, salt, 3, 5) == 0 ? 1 : 0);
      return v < std::max(h - roof, 5);
    }
    case kVaultShape: {
      const int point = c * (h / 3) / std::max(w - 1, 1);
      const int ragged = v > 6 ? Wobble(r.floor - v, salt + (2 * u < w ? 0 : 1), 3, 4) : 0;
      return v < h - point && std::min(u, w - 1 - u) >= ragged;
    }
    case kBuiltShape:
      return v < h - ((u / 3) % 2 == 0 ? 1 : 0);
    case kDome:
      return v < 4 || ellipse(c, 2L * v, W, 2 * H);
    case kTwinArch: {
      const int half = w / 2, uu = u % half;
      const long cc = std::abs(2 * uu - (half - 1));
      return v < h / 3 || ellipse(cc, 2L * v, half, 2 * H);
    }
    case kBell:
      return static_cast<long>(c) * H * 10 <= (W - 1) * (10 * H - 6L * v);
    case kTerraces:
      return v < h - (u * 4 / w) * (h / 5);
    case kFunnel:
      return v < h / 3 + (w - 1 - c) * (2 * h / 3) / std::max(w - 1, 1);
    case kSpire:
      return v < h / 3 || c < w / 4;
    case kCrescent:
      return v < h / 2 + c * (h / 2) / std::max(w - 1, 1);
    case kKeyhole:
      return (v < h / 3 && c < w) || ellipse(c, 2L * (v - h * 2 / 3), W, 2L * (h / 3 + 1));
    case kSawtooth:
      return v < h - (u % 6);
    case kRamp:
      return v < h / 3 + u * (2 * h / 3) / w;
    case kHorseshoe:
      return v < h / 2 || ellipse(c, 2L * (v - h / 2), W, 2L * (h - h / 2));
    case kCathedral: {
      if (v < h / 3) return true;
      return c < w / 3 && v < h - c * (h / 4) / std::max(w / 3, 1);
    }
    case kLantern:
      return (v < 3 && c < w * 2 / 3) || static_cast<long>(c) * H + std::abs(2L * v - H) * (W - 1) <= (W - 1) * H;
    case kMushroom:
      return v >= h / 2 ? v < h - (c * c * 3 / std::max(1L, W * W)) : c < w / 2;
    case kPillars:
      return !(v >= h - 4 && u % 8 >= 3 && u % 8 <= 4);
  }
  return true;
}

void CarveRoom(Rock& rock, const Room& r, int salt) {
  for (int u = 0; u < r.Width(); ++u)
    for (int v = 0; v < r.Height(); ++v)
      if (ShapeOpen(r, u, v, salt)) rock.Carve(r.left + u, r.floor - 1 - v);
}

// The styles of the filler rooms of each region: width and height ranges.
struct Style {
  Shape shape;
  int minWidth, widthSpread, minHeight, heightSpread;
};
constexpr Style kStyles[4]{
    {kHallShape, 24, 28, 14, 14},     // blue halls
    {kGalleryShape, 44, 70, 8, 6},    // green galleries
    {kVaultShape, 16, 20, 26, 32},    // purple vaults
    {kBuiltShape, 11, 12, 7, 3},      // grey built rooms
};

bool Overlaps(const Room& a, const Room& b, int margin) {
  return a.left - margin <= b.right && b.left - margin <= a.right && a.top - margin < b.floor &&
         b.top - margin < a.floor;
}

std::vector<Room> MakeRooms() {
  std::vector<Room> rooms;
  for (const PlannedRoom& p : PlanRooms()) {
    Room r;
    r.left = p.left;
    r.right = p.left + p.width - 1;
    r.top = p.top;
    r.floor = p.top + p.height;
    r.region = p.region;
    r.shape = p.shape;
    r.purpose = p.purpose;
    r.fruit = p.fruit;
    r.sealed = p.sealed;
    r.quiet = p.purpose == kQuiet || p.purpose == kStartHall;
    rooms.push_back(r);
  }
  long air = 0;
  for (const Room& r : rooms) air += static_cast<long>(r.Width()) * r.Height();
  // Filler rooms at hashed spots, large ones first; each takes the style of
  // the region it lands in and keeps a wall of rock from its neighbours.
  for (int pass = 0; pass < 5 && air < kRoomAir; ++pass) {
    for (int i = 0; i < 12000 && air < kRoomAir; ++i) {
      const int cx = 6 + Roll(i, pass, kSaltPlace, kSize - 12), cy = 6 + Roll(i, pass, kSaltPlace + 100, kSize - 12);
      const Region region = RegionAt(cx, cy);
      const Style& s = kStyles[region];
      const int shrink = std::max(4 - pass, 0);
      Room r;
      r.region = region;
      r.shape = s.shape;
      const int w = s.minWidth + Roll(i, pass, kSaltSize, s.widthSpread + 1) * shrink / 4;
      const int h = s.minHeight + Roll(i, pass, kSaltSize + 1, s.heightSpread + 1) * shrink / 4;
      r.left = cx - w / 2;
      r.right = r.left + w - 1;
      r.floor = cy + h / 2;
      r.top = r.floor - h;
      if (r.left < 2 || r.right > kSize - 3 || r.top < 2 || r.floor > kSize - 3) continue;
      if (std::any_of(rooms.begin(), rooms.end(), [&](const Room& o) { return Overlaps(o, r, 3); })) continue;
      // Quiet rooms come in clusters, a breather of a screen or more.
      r.quiet = Roll(cx / 80, cy / 48, kSaltQuiet, 100) < 24;
      rooms.push_back(r);
      air += static_cast<long>(w) * h;
    }
  }
  // Each filler room then grows into the rock around it, a side at a time,
  // up to a few cells, so the walls between rooms stay thin.
  for (std::size_t n = PlanRooms().size(); n < rooms.size(); ++n) {
    for (int k = 0; k < 5; ++k) {
      for (int side = 0; side < 4; ++side) {
        Room g = rooms[n];
        if (side == 0) --g.left;
        if (side == 1) ++g.right;
        if (side == 2 && rooms[n].region != kGreen) --g.top;
        if (side == 3) ++g.floor;
        if (g.left < 2 || g.right > kSize - 3 || g.top < 2 || g.floor > kSize - 3) continue;
        bool free = true;
        for (std::size_t o = 0; o < rooms.size() && free; ++o) free = o == n || !Overlaps(rooms[o], g, 3);
        if (!free) continue;
        air += static_cast<long>(g.Width()) * g.Height() - static_cast<long>(rooms[n].Width()) * rooms[n].Height();
        rooms[n] = g;
      }
    }
  }
  for (const PlannedLandmark& m : PlanLandmarks())
    for (std::size_t n = PlanRooms().size(); n < rooms.size(); ++n)
      if (rooms[n].Holds(m.column, m.row)) rooms[n].shape = m.shape;
  return rooms;
}

// Ledges of one shape, alternating between the two halves of a
// (2 * ledge + 1)-wide column, from a floor up to a higher floor.
struct Stack {
  int x0, lowFloor, highFloor, step, firstSide, ledge, thick;
};
void BuildStack(Rock& rock, const Stack& s) {
  const int rise = s.lowFloor - s.highFloor;
  if (rise <= 2) return;
  const int k = (rise + s.step - 1) / s.step;
  for (int i = 1; i < k; ++i) {
    const int row = s.lowFloor - (i * rise + k / 2) / k;
    const int side = (i + s.firstSide) & 1;
    const int from = side == 0 ? s.x0 : s.x0 + s.ledge + 1;
    for (int t = 0; t < s.thick; ++t)
      for (int x = from; x < from + s.ledge; ++x) rock.Fill(x, row + t);
  }
}

struct Link {
  int a, b;
  LinkKind kind;
};

// The gap of rock between two rooms' boxes.
int Gap(const Room& a, const Room& b) {
  const int dx = std::max({0, a.left - b.right, b.left - a.right});
  const int dy = std::max({0, a.top - b.floor, b.top - a.floor});
  return std::max(dx, dy);
}

std::vector<Link> MakeLinks(const std::vector<Room>& rooms) {
  std::vector<Link> links;
  auto index = [&](const char* name) {
    int i = 0;
    for (const PlannedRoom& p : PlanRooms()) {
      if (std::string(p.name) == name) return i;
      ++i;
    }
    return -1;
  };
  std::vector<int> parent(rooms.size());
  std::iota(parent.begin(), parent.end(), 0);
  auto find = [&](int v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
  };
  for (const PlannedLink& l : PlanLinks()) {
    const int a = index(l.from), b = index(l.to);
    links.push_back({a, b, l.kind});
    parent[find(a)] = find(b);
  }
  struct Candidate {
    int a, b, weight;
  };
  std::vector<Candidate> all;
  for (int a = 0; a < static_cast<int>(rooms.size()); ++a)
    for (int b = a + 1; b < static_cast<int>(rooms.size()); ++b) {
      if (rooms[a].sealed || rooms[b].sealed) continue;
      // A passage may not cut through a sealed room on its way.
      Room span;
      span.left = std::min(rooms[a].left, rooms[b].left), span.right = std::max(rooms[a].right, rooms[b].right);
      span.top = std::min(rooms[a].top, rooms[b].top), span.floor = std::max(rooms[a].floor, rooms[b].floor);
      if (std::any_of(rooms.begin(), rooms.end(), [&](const Room& r) { return r.sealed && Overlaps(r, span, 2); }))
        continue;
      const int g = Gap(rooms[a], rooms[b]);
      if (g <= 40) all.push_back({a, b, g * 64 + Roll(a, b, kSaltLink, 64)});
    }
  std::stable_sort(all.begin(), all.end(), [](const Candidate& x, const Candidate& y) { return x.weight < y.weight; });
  for (const Candidate& c : all) {
    const int ra = find(c.a), rb = find(c.b);
    if (ra != rb) {
      parent[ra] = rb;
      links.push_back({c.a, c.b, kPassage});
    } else if (c.weight < 10 * 64 && Roll(c.a, c.b, kSaltLoop, 100) < 22) {
      links.push_back({c.a, c.b, kPassage});
    }
  }
  return links;
}

// Carves one link and says which ledges it needs (built after all carving).
void CarveLink(Rock& rock, const std::vector<Room>& rooms, const Link& l, int salt, std::vector<Stack>& stacks) {
  const Room* a = &rooms[l.a];
  const Room* b = &rooms[l.b];
  const int overlapLeft = std::max(a->left, b->left), overlapRight = std::min(a->right, b->right);
  const bool stacked = a->floor <= b->top || b->floor <= a->top;
  const Region region = a->region;
  int step = kStepSingle;
  if (region == kPurple && Roll(salt, 3, kSaltLedge, 100) < 50) step = kStepDouble;
  if (l.kind == kGreatShaft) step = kStepHover;
  // Ledges of many shapes: a climb of single jumps needs headroom, so its
  // ledges stay thin; the longer steps take thick slabs and narrow perches.
  int ledge = 3 + Roll(salt, 1, kSaltLedge, 3), thick = 1;
  if (step > kStepSingle) {
    ledge = 2 + Roll(salt, 1, kSaltLedge, 4);
    thick = 1 + Roll(salt, 2, kSaltLedge, 2);
  }
  if (region == kGrey) thick = 1;
  const int stackWidth = 2 * ledge + 1;
  if (stacked && overlapRight - overlapLeft + 1 >= stackWidth + 4) {
    if (a->floor > b->top) std::swap(a, b);  // a above b
    const int lo = overlapLeft + 1, hi = overlapRight - stackWidth;
    const int x0 = lo + Roll(salt, 4, kSaltShaft, std::max(hi - lo + 1, 1));
    rock.CarveRect(x0, a->floor, x0 + stackWidth - 1, b->floor - 1);
    stacks.push_back({x0, b->floor, a->floor, step, Roll(salt, 5, kSaltSide, 2), ledge, thick});
    return;
  }
  if (a->Centre() > b->Centre()) std::swap(a, b);  // a left of b
  const int mouth = std::min(a->floor, b->floor);
  const int height = l.kind == kCrawl ? 3 : 5 + Roll(salt, 6, kSaltLink, 2);
  rock.CarveRect(a->right - stackWidth, mouth - height, b->left + stackWidth, mouth - 1);
  if (a->floor > mouth + 2) {
    const int x0 = a->right - stackWidth + 1;
    rock.CarveRect(x0, mouth - height, a->right, a->floor - 1);
    stacks.push_back({x0, a->floor, mouth, step, 0, ledge, thick});
  } else if (b->floor > mouth + 2) {
    const int x0 = b->left;
    rock.CarveRect(x0, mouth - height, x0 + stackWidth - 1, b->floor - 1);
    stacks.push_back({x0, b->floor, mouth, step, 1, ledge, thick});
  }
}

// Kinds grown from every open cell at once, each region's own, in
// proportion to the rock targets, so the borders follow the caves.
std::vector<std::uint32_t> PaintRegions(const Rock& rock, const std::vector<std::uint8_t>& regionOfAir) {
  const std::uint32_t colours[4]{kBlueRock, kGreenRock, kPurpleRock, kGreyRock};
  const long targets[4]{kBlueTarget, kGreenTarget, kPurpleTarget, kGreyTarget};
  std::vector<std::uint32_t> kind(static_cast<std::size_t>(kSize) * kSize, 0);
  std::vector<std::uint8_t> owner(kind.size(), 255);
  std::deque<int> queues[4];
  long filled[4]{};
  for (int id = 0; id < kSize * kSize; ++id) {
    if (rock.cell[id] != 0) continue;
    owner[id] = regionOfAir[id];
    queues[owner[id]].push_back(id);
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

constexpr int kFar = 1 << 30;

// Lowers `steps` to the walk through open cells from `from` wherever that
// walk is shorter.
void SpreadSteps(const Layout& layout, std::vector<int>& steps, int from) {
  std::deque<int> queue{from};
  steps[from] = 0;
  while (!queue.empty()) {
    const int id = queue.front();
    queue.pop_front();
    const int x = id % kSize, y = id / kSize;
    const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
    for (int d = 0; d < 4; ++d) {
      const int nx = x + dx[d], ny = y + dy[d];
      if (!layout.Inside(nx, ny) || IsRock(layout.At(nx, ny))) continue;
      const int n = ny * kSize + nx;
      if (steps[n] <= steps[id] + 1) continue;
      steps[n] = steps[id] + 1;
      queue.push_back(n);
    }
  }
}

// Steps through open cells from the start: how far a place lies for a
// walker, -1 where it cannot walk.
std::vector<int> OpenDistance(const Layout& layout) {
  std::vector<int> dist(layout.px.size(), kFar);
  SpreadSteps(layout, dist, kStartRow * kSize + kStartColumn);
  for (int& d : dist) d = d == kFar ? -1 : d;
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

  // 1. The plan's rooms and the filler rooms, their links, then the ledges.
  const std::vector<Room> rooms = MakeRooms();
  // A landmark of far country needs a filler room under it; a plan edit
  // that moves the rooms away must not lose it unnoticed.
  for (const PlannedLandmark& m : PlanLandmarks())
    if (std::none_of(rooms.begin() + static_cast<std::ptrdiff_t>(PlanRooms().size()), rooms.end(),
                     [&](const Room& r) { return r.Holds(m.column, m.row); }))
      problem(std::string("the landmark ") + m.name + " lies in no filler room");
  Rock rock;
  for (std::size_t n = 0; n < rooms.size(); ++n) CarveRoom(rock, rooms[n], static_cast<int>(n));
  const std::vector<Link> links = MakeLinks(rooms);
  std::vector<Stack> stacks;
  for (const Link& l : links) CarveLink(rock, rooms, l, l.a * 1024 + l.b, stacks);
  for (const Stack& s : stacks) BuildStack(rock, s);
  // The start stands on rock, each fruit falls through open air onto a floor.
  rock.Fill(kStartColumn, kStartRow + 1);
  rock.Carve(kStartColumn, kStartRow);
  for (const Spot& f : kFruits) {
    rock.Carve(f.column, f.row);
    rock.Carve(f.column, f.row + 1);
    rock.Carve(f.column, f.row + 2);
    rock.Fill(f.column, f.row + 3);
  }

  // Which room each open cell lies in (-1 in passages), and its region.
  std::vector<int> roomOf(static_cast<std::size_t>(kSize) * kSize, -1);
  std::vector<std::uint8_t> regionOfAir(roomOf.size(), 0);
  for (std::size_t n = 0; n < rooms.size(); ++n)
    for (int y = rooms[n].top; y < rooms[n].floor; ++y)
      for (int x = rooms[n].left; x <= rooms[n].right; ++x) roomOf[static_cast<std::size_t>(y) * kSize + x] = static_cast<int>(n);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const std::size_t id = static_cast<std::size_t>(y) * kSize + x;
      regionOfAir[id] = static_cast<std::uint8_t>(roomOf[id] >= 0 ? rooms[roomOf[id]].region : RegionAt(x, y));
    }

  // 2. Rock kinds by region.
  const std::vector<std::uint32_t> kinds = PaintRegions(rock, regionOfAir);
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

  // 4. Checkpoints: first along the ways to the fruits and back, spaced
  // apart, then each where it covers the most, the standing place furthest
  // by walking from the start and the ones before it.
  std::vector<int> checkpointStands;
  {
    auto fitsCheckpoint = [&](int id) {
      const int c = id % kSize, r = id / kSize;
      return both(id) && grid.Cell(c, r) == 1 && IsRock(layout.At(c, r)) && isFree(c, r - 1) &&
             !isReserved(c, r - 1) && isFree(c - 1, r - 1) && isFree(c + 1, r - 1);
    };
    auto spaced = [&](int id, int gap) {
      const int c = id % kSize, r = id / kSize;
      if (std::abs(c - kStartColumn) < gap && std::abs(r - kStartRow - 1) < gap) return false;
      for (int o : checkpointStands)
        if (std::abs(o % kSize - c) < gap && std::abs(o / kSize - r) < gap) return false;
      return true;
    };
    for (int f = 0; f < kFruitCount && static_cast<int>(checkpointStands.size()) < kRouteCheckpoints; ++f) {
      if (fruitStands[f] < 0) continue;
      std::vector<int> route = search.RouteFromStart(fruitStands[f]);
      const std::vector<int> back = search.RouteToStart(fruitStands[f]);
      route.insert(route.end(), back.begin(), back.end());
      for (int id : route) {
        if (static_cast<int>(checkpointStands.size()) >= kRouteCheckpoints) break;
        if (fitsCheckpoint(id) && spaced(id, 28)) checkpointStands.push_back(id);
      }
    }
    std::vector<int> candidates;
    for (int id = 0; id < kSize * kSize; ++id)
      if (search.Forward(id) && fitsCheckpoint(id)) candidates.push_back(id);
    std::vector<int> cover(layout.px.size(), kFar);
    auto spread = [&](int from) { SpreadSteps(layout, cover, from); };
    spread(kStartRow * kSize + kStartColumn);
    for (int id : checkpointStands) spread(id - kSize);
    while (static_cast<int>(checkpointStands.size()) < kCheckpointTarget) {
      int best = -1;
      long bestKey = -1;
      for (int id : candidates) {
        const int d = cover[id - kSize];
        if (d >= kFar || d < 12) continue;
        const long key = static_cast<long>(d) * 16 + Roll(id, 0, kSaltCheckpoint, 16);
        if (key > bestKey) {
          bestKey = key;
          best = id;
        }
      }
      if (best < 0) break;
      checkpointStands.push_back(best);
      spread(best - kSize);
    }
  }
  for (int id : checkpointStands) {
    layout.Set(id % kSize, id / kSize - 1, kCheckpoint);
    reserve(id % kSize, id / kSize - 1);
  }
  if (static_cast<int>(checkpointStands.size()) < kCheckpointTarget)
    problem("only " + std::to_string(checkpointStands.size()) + " checkpoints found room");

  // 5. Hazards wherever no route needs to land or bump its head; denser
  // further on, and wall to wall in the gauntlet.
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
  auto roomAt = [&](int x, int y) -> const Room* {
    const int n = roomOf[static_cast<std::size_t>(y) * kSize + x];
    return n < 0 ? nullptr : &rooms[n];
  };
  auto nearUsed = [&](const std::vector<std::uint8_t>& used, int x, int y) {
    for (int dx = -3; dx <= 3; ++dx)
      if (layout.Inside(x + dx, y) && used[static_cast<std::size_t>(y) * kSize + x + dx]) return true;
    return false;
  };
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
  // A hazard where the search's routes do not go can still spoil a way
  // back from some ledge; such a throw of the hazards is thrown again.
  const Layout bare = layout;
  const std::vector<std::uint8_t> bareReserved = reserved;
  const std::size_t problemsBefore = out.problems.size();
  for (int attempt = 0; attempt < 8; ++attempt) {
    layout = bare;
    reserved = bareReserved;
    out.problems.resize(problemsBefore);
    std::vector<Candidate> hanging, standing;
    for (int y = 1; y < kSize - 1; ++y) {
      for (int x = 1; x < kSize - 1; ++x) {
        if (!isFree(x, y) || isReserved(x, y) || distAt(x, y) < kCalmDistance) continue;
        if (std::abs(x - kStartColumn) <= kStartArea && std::abs(y - kStartRow) <= kStartArea) continue;
        if (clear[static_cast<std::size_t>(y) * kSize + x]) continue;
        const Room* room = roomAt(x, y);
        long key = Roll(x, y, kSaltHazard + 16 * attempt, 1500) - std::min(distAt(x, y), 1500);
        if (room && room->purpose == kGauntlet) key -= 5000;
        if (room && room->quiet) key += 300;
        if (IsRock(layout.At(x, y - 1))) {
          if (head[static_cast<std::size_t>(y - 1) * kSize + x] || grid.Cell(x, y - 1) != 1) continue;
          // A hazard under a pad's rock would take the pad's flag: generation
          // writes the hanging base after the pad.
          if (y >= 2 && (layout.At(x, y - 2) == kCheckpoint || layout.At(x, y - 2) == kStart)) continue;
          hanging.push_back({y * kSize + x, key - (nearUsed(head, x, y - 1) ? 200 : 0)});
        } else if (IsRock(layout.At(x, y + 1))) {
          if (feet[static_cast<std::size_t>(y + 1) * kSize + x] || grid.Cell(x, y + 1) != 1) continue;
          if (IsRock(layout.At(x - 1, y)) || IsRock(layout.At(x + 1, y))) continue;
          standing.push_back({y * kSize + x, key - (nearUsed(feet, x, y + 1) ? 200 : 0)});
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
        const int length = 1 + Roll(x, y, kSaltHazard + 16 * attempt + 1, 4);
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
    const CollisionGrid spiked = BuildCollision(layout);
    ReachSearch again(spiked);
    again.Explore(again.StandId(kStartColumn, kStartRow + 1));
    if (again.ForwardCount() == again.BackCount()) break;
    if (attempt == 7) problem("every throw of the hazards leaves a ledge with no way back");
  }

  // 6. Monsters: a few weak ones by the start, then each fifth of the
  // reachable air by walking distance gets its quota of each kind, the
  // arenas first, every region its own favourites.
  {
    auto openAround = [&](int x, int y) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (!layout.Inside(x + dx, y + dy) || IsRock(layout.At(x + dx, y + dy))) return false;
      return true;
    };
    auto nearCheckpoint = [&](int x, int y) {
      for (int id : checkpointStands)
        if (std::abs(id % kSize - x) <= 3 && std::abs(id / kSize - 1 - y) <= 3) return true;
      return false;
    };
    std::vector<int> reachable;
    for (int id = 0; id < kSize * kSize; ++id)
      if (dist[id] >= 0) reachable.push_back(dist[id]);
    std::sort(reachable.begin(), reachable.end());
    int bandEdge[4];
    for (int b = 0; b < 4; ++b) bandEdge[b] = reachable[reachable.size() * (b + 1) / 5];
    auto band = [&](int d) {
      int b = 0;
      while (b < 4 && d >= bandEdge[b]) ++b;
      return b;
    };
    std::vector<Candidate> calm;
    std::vector<Candidate> wild[5];
    for (int y = 1; y < kSize - 1; ++y) {
      for (int x = 1; x < kSize - 1; ++x) {
        const int d = distAt(x, y);
        if (d < 0 || !isFree(x, y) || isReserved(x, y) || !openAround(x, y) || nearCheckpoint(x, y)) continue;
        const long h = Roll(x, y, kSaltEnemy, 1 << 16);
        if (std::abs(x - kStartColumn) <= kStartArea && std::abs(y - kStartRow) <= kStartArea) {
          if (d >= 24 && y <= kStartRow - 8 && (x + y) % 3 == 0) calm.push_back({y * kSize + x, h});
          continue;
        }
        const Room* room = roomAt(x, y);
        if (room && room->quiet) continue;
        if (d < kCalmDistance) continue;
        // Arenas take their crowd first; monsters keep apart on a loose grid.
        if (x % 2 || y % 2) continue;
        const bool arena = room && room->purpose == kArena;
        wild[band(d)].push_back({y * kSize + x, arena ? h - (1 << 17) : h});
      }
    }
    // Only the first kArenaMonsters of each arena keep their head start.
    for (auto& candidates : wild) {
      std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.key != b.key ? a.key < b.key : a.id < b.id;
      });
      std::map<const Room*, int> crowd;
      for (Candidate& c : candidates) {
        if (c.key >= 0) continue;
        const Room* room = roomAt(c.id % kSize, c.id / kSize);
        if (++crowd[room] > kArenaMonsters) c.key += 1 << 17;
      }
    }
    const std::vector<int> chosen = Choose(calm, kStartAreaMonsters);
    if (static_cast<int>(chosen.size()) < kStartAreaMonsters) problem("the start hall has too little room for monsters");
    for (int id : chosen) layout.Set(id % kSize, id / kSize, kEnemy1);
    const std::uint32_t colours[4]{kEnemy1, kEnemy2, kEnemy3, kEnemy5};
    // Favourites: green swarms of kind 1 with kind 3 hunters, grey kind 2
    // turrets, purple kind 5, the blue heart kind 1 and 2.
    const int favour[4][4]{{2, 1, 0, 0}, {2, 0, 1, 0}, {0, 1, 1, 2}, {0, 2, 0, 0}};
    for (int b = 0; b < 5; ++b) {
      int total = 0;
      for (int k = 0; k < 4; ++k) total += kBandQuota[b][k] - (b == 0 && k == 0 ? kStartAreaMonsters : 0);
      std::vector<int> places = Choose(wild[b], total);
      if (static_cast<int>(places.size()) < total) problem("band " + std::to_string(b + 1) + " has too little room for monsters");
      std::vector<std::uint8_t> taken(places.size(), 0);
      for (int k = 3; k >= 0; --k) {
        const int want = kBandQuota[b][k] - (b == 0 && k == 0 ? kStartAreaMonsters : 0);
        std::vector<Candidate> ranked;
        for (std::size_t i = 0; i < places.size(); ++i) {
          if (taken[i]) continue;
          const int x = places[i] % kSize, y = places[i] / kSize;
          const Room* room = roomAt(x, y);
          const int region = regionOfAir[places[i]];
          long key = Roll(x, y, kSaltKind + k, 1 << 16) - favour[region][k] * (1L << 16);
          if (room && room->purpose == kArena && k >= 2) key -= 3L << 16;
          ranked.push_back({static_cast<int>(i), key});
        }
        for (int i : Choose(ranked, want)) {
          taken[i] = 1;
          layout.Set(places[i] % kSize, places[i] / kSize, colours[k]);
        }
      }
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
