#include "tools/worldpaint/design.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <map>
#include <set>

namespace quorin::worldpaint {
namespace {

// A screen of play in cells.
constexpr int kScreenWidth = 40, kScreenHeight = 24;
// Free-standing rock pieces up to this size are platforms, not walls.
constexpr int kPlatformCells = 40;

std::string Line(const std::string& name, long value) { return name + " = " + std::to_string(value); }
std::string Line(const std::string& name, const std::string& value) { return name + " = " + value; }

int KindOf(std::uint32_t p) {
  if (p == kEnemy1) return 0;
  if (p == kEnemy2) return 1;
  if (p == kEnemy3) return 2;
  if (p == kEnemy4) return 3;
  if (p == kEnemy5) return 4;
  return -1;
}
int RegionOf(std::uint32_t p) {
  if (p == kBlueRock) return 0;
  if (p == kGreenRock) return 1;
  if (p == kPurpleRock) return 2;
  if (p == kGreyRock) return 3;
  return -1;
}
const char* kRegionNames[4]{"blue", "green", "purple", "grey"};

// Walking steps through cells that `pass` allows, from the sources.
template <typename Pass>
std::vector<int> Walk(int w, int h, const std::vector<int>& sources, Pass pass) {
  std::vector<int> dist(static_cast<std::size_t>(w) * h, -1);
  std::deque<int> queue;
  for (int s : sources) {
    dist[s] = 0;
    queue.push_back(s);
  }
  while (!queue.empty()) {
    const int id = queue.front();
    queue.pop_front();
    const int x = id % w, y = id / w;
    const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
    for (int d = 0; d < 4; ++d) {
      const int nx = x + dx[d], ny = y + dy[d];
      if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
      const int n = ny * w + nx;
      if (dist[n] >= 0 || !pass(n)) continue;
      dist[n] = dist[id] + 1;
      queue.push_back(n);
    }
  }
  return dist;
}

// Share of the variation of `value` that the group explains, percent.
int Explained(const std::vector<int>& group, const std::vector<long>& value) {
  if (value.empty()) return 0;
  double mean = 0;
  for (long v : value) mean += static_cast<double>(v);
  mean /= static_cast<double>(value.size());
  std::map<int, std::pair<double, int>> sums;
  double total = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    total += (static_cast<double>(value[i]) - mean) * (static_cast<double>(value[i]) - mean);
    sums[group[i]].first += static_cast<double>(value[i]);
    sums[group[i]].second += 1;
  }
  double between = 0;
  for (const auto& [g, s] : sums) {
    const double m = s.first / s.second;
    between += s.second * (m - mean) * (m - mean);
  }
  return total > 0 ? static_cast<int>(between * 100 / total + 0.5) : 0;
}

}  // namespace

std::vector<std::string> DesignFigures(const Layout& l) {
  std::vector<std::string> out;
  const int w = l.width, h = l.height;
  const std::size_t n = static_cast<std::size_t>(w) * h;
  std::vector<std::uint8_t> rock(n);
  for (std::size_t i = 0; i < n; ++i) rock[i] = IsRock(l.px[i]) ? 1 : 0;

  // Platforms: small rock pieces standing free.
  std::vector<std::uint8_t> platform(n, 0);
  std::map<std::string, int> platformShapes;
  int platforms = 0;
  {
    std::vector<std::uint8_t> seen(n, 0);
    for (std::size_t s = 0; s < n; ++s) {
      if (!rock[s] || seen[s]) continue;
      std::vector<int> cells{static_cast<int>(s)};
      seen[s] = 1;
      bool border = false;
      for (std::size_t k = 0; k < cells.size() && cells.size() <= kPlatformCells; ++k) {
        const int x = cells[k] % w, y = cells[k] / w;
        if (x == 0 || y == 0 || x == w - 1 || y == h - 1) border = true;
        const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
          const int nx = x + dx[d], ny = y + dy[d];
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          const int m = ny * w + nx;
          if (rock[m] && !seen[m]) {
            seen[m] = 1;
            cells.push_back(m);
          }
        }
      }
      if (border || cells.size() > kPlatformCells) {
        // The rest of a large piece: mark it all seen.
        std::deque<int> q(cells.begin(), cells.end());
        while (!q.empty()) {
          const int id = q.front();
          q.pop_front();
          const int x = id % w, y = id / w;
          const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
          for (int d = 0; d < 4; ++d) {
            const int nx = x + dx[d], ny = y + dy[d];
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            const int m = ny * w + nx;
            if (rock[m] && !seen[m]) {
              seen[m] = 1;
              q.push_back(m);
            }
          }
        }
        continue;
      }
      ++platforms;
      int x0 = w, y0 = h, x1 = 0, y1 = 0;
      for (int c : cells) {
        platform[c] = 1;
        x0 = std::min(x0, c % w), x1 = std::max(x1, c % w), y0 = std::min(y0, c / w), y1 = std::max(y1, c / w);
      }
      std::string bitmap = std::to_string(x1 - x0 + 1) + "x" + std::to_string(y1 - y0 + 1) + ":";
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) bitmap += rock[static_cast<std::size_t>(y) * w + x] ? '#' : '.';
      ++platformShapes[bitmap];
    }
  }
  auto open = [&](std::size_t i) { return !rock[i] || platform[i]; };

  // 1. Self-similarity: 32 x 32 windows of rock and air with a near-twin
  // (under 10% of cells differing) elsewhere in the world.
  {
    struct Window {
      int x, y;
      std::array<std::uint32_t, 32> rows;
    };
    std::vector<Window> windows;
    for (int y = 0; y + 32 <= h; y += 16)
      for (int x = 0; x + 32 <= w; x += 16) {
        Window win{x, y, {}};
        int rocks = 0;
        for (int r = 0; r < 32; ++r)
          for (int c = 0; c < 32; ++c)
            if (rock[static_cast<std::size_t>(y + r) * w + x + c]) {
              win.rows[r] |= 1u << c;
              ++rocks;
            }
        if (rocks >= 103 && rocks <= 1024 - 103) windows.push_back(win);
      }
    int twinned = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
      for (std::size_t j = 0; j < windows.size(); ++j) {
        if (std::abs(windows[i].x - windows[j].x) < 32 && std::abs(windows[i].y - windows[j].y) < 32) continue;
        int diff = 0;
        for (int r = 0; r < 32 && diff < 103; ++r) diff += std::popcount(windows[i].rows[r] ^ windows[j].rows[r]);
        if (diff < 103) {
          ++twinned;
          break;
        }
      }
    }
    out.push_back(Line("self_similar_windows_percent", windows.empty() ? 0 : twinned * 100L / static_cast<long>(windows.size())));
  }

  // 2. Lattice: how much more the air agrees with itself one period away
  // than at the dip before it, per mille, down the rows and along them.
  for (int axis = 0; axis < 2; ++axis) {
    long air = 0;
    for (std::size_t i = 0; i < n; ++i) air += rock[i] ? 0 : 1;
    const double p = static_cast<double>(air) / static_cast<double>(n);
    const double chance = p * p + (1 - p) * (1 - p);
    std::vector<double> excess(65, 0);
    for (int s = 8; s <= 64; ++s) {
      long agree = 0, count = 0;
      for (int y = 0; y < h - (axis == 0 ? s : 0); ++y)
        for (int x = 0; x < w - (axis == 1 ? s : 0); ++x) {
          const std::size_t a = static_cast<std::size_t>(y) * w + x;
          const std::size_t b = axis == 0 ? a + static_cast<std::size_t>(s) * w : a + s;
          agree += rock[a] == rock[b] ? 1 : 0;
          ++count;
        }
      excess[s] = static_cast<double>(agree) / static_cast<double>(count) - chance;
    }
    int period = 0;
    double peak = 0;
    for (int s = 16; s <= 64; ++s) {
      double dip = excess[8];
      for (int e = 8; e < s; ++e) dip = std::min(dip, excess[e]);
      if (excess[s] - dip > peak) {
        peak = excess[s] - dip;
        period = s;
      }
    }
    const std::string name = axis == 0 ? "lattice_rows" : "lattice_columns";
    out.push_back(Line(name + "_peak_permille", static_cast<long>(peak * 1000 + 0.5)));
    out.push_back(Line(name + "_period", period));
  }

  // 3. Rooms: open space at least seven cells thick in every direction
  // (platforms count as open), each piece with the passages nearest it.
  std::vector<int> sum(static_cast<std::size_t>(w + 1) * (h + 1), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      sum[static_cast<std::size_t>(y + 1) * (w + 1) + x + 1] = (open(static_cast<std::size_t>(y) * w + x) ? 0 : 1) +
                                                            sum[static_cast<std::size_t>(y) * (w + 1) + x + 1] +
                                                            sum[static_cast<std::size_t>(y + 1) * (w + 1) + x] -
                                                            sum[static_cast<std::size_t>(y) * (w + 1) + x];
  auto blockedIn = [&](int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0), x1 = std::min(x1, w - 1), y1 = std::min(y1, h - 1);
    return sum[static_cast<std::size_t>(y1 + 1) * (w + 1) + x1 + 1] - sum[static_cast<std::size_t>(y0) * (w + 1) + x1 + 1] -
           sum[static_cast<std::size_t>(y1 + 1) * (w + 1) + x0] + sum[static_cast<std::size_t>(y0) * (w + 1) + x0];
  };
  std::vector<int> label(n, -1);
  int rooms = 0;
  {
    std::vector<std::uint8_t> core(n, 0);
    for (int y = 3; y < h - 3; ++y)
      for (int x = 3; x < w - 3; ++x) core[static_cast<std::size_t>(y) * w + x] = blockedIn(x - 3, y - 3, x + 3, y + 3) == 0;
    std::vector<int> coreLabel(n, -1);
    for (std::size_t s = 0; s < n; ++s) {
      if (!core[s] || coreLabel[s] >= 0) continue;
      std::vector<int> cells{static_cast<int>(s)};
      coreLabel[s] = rooms;
      for (std::size_t k = 0; k < cells.size(); ++k) {
        const int x = cells[k] % w, y = cells[k] / w;
        const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
          const int m = (y + dy[d]) * w + x + dx[d];
          if (core[m] && coreLabel[m] < 0) {
            coreLabel[m] = rooms;
            cells.push_back(m);
          }
        }
      }
      if (cells.size() < 30) {
        for (int c : cells) coreLabel[c] = -2;
        continue;
      }
      ++rooms;
    }
    std::deque<int> queue;
    for (std::size_t i = 0; i < n; ++i)
      if (coreLabel[i] >= 0) {
        label[i] = coreLabel[i];
        queue.push_back(static_cast<int>(i));
      }
    while (!queue.empty()) {
      const int id = queue.front();
      queue.pop_front();
      const int x = id % w, y = id / w;
      const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
      for (int d = 0; d < 4; ++d) {
        const int nx = x + dx[d], ny = y + dy[d];
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        const int m = ny * w + nx;
        if (label[m] >= 0 || !open(m)) continue;
        label[m] = label[id];
        queue.push_back(m);
      }
    }
  }
  struct RoomInfo {
    long area = 0;
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    int regionVotes[4]{};
    int region = 0;
    std::set<int> next;
    int monsters = 0, checkpoints = 0, fruits = 0, strength = 0;
    std::uint32_t signature = 0;
    bool landmark = false;
  };
  std::vector<RoomInfo> info(static_cast<std::size_t>(rooms));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * w + x;
      const int r = label[i];
      if (r < 0) continue;
      RoomInfo& ri = info[r];
      ++ri.area;
      ri.x0 = std::min(ri.x0, x), ri.x1 = std::max(ri.x1, x), ri.y0 = std::min(ri.y0, y), ri.y1 = std::max(ri.y1, y);
      const std::uint32_t p = l.px[i];
      const int k = KindOf(p);
      if (k >= 0) ++ri.monsters, ri.strength += k + 1;
      if (p == kCheckpoint || p == kStart) ++ri.checkpoints;
      if (p == kFruit) ++ri.fruits;
      const int dx[4]{1, -1, 0, 0}, dy[4]{0, 0, 1, -1};
      for (int d = 0; d < 4; ++d) {
        const int nx = x + dx[d], ny = y + dy[d];
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        const std::size_t m = static_cast<std::size_t>(ny) * w + nx;
        if (label[m] >= 0 && label[m] != r) ri.next.insert(label[m]);
        const int g = RegionOf(l.px[m]);
        if (g >= 0) ++ri.regionVotes[g];
      }
    }
  for (RoomInfo& ri : info) {
    ri.region = static_cast<int>(std::max_element(ri.regionVotes, ri.regionVotes + 4) - ri.regionVotes);
    // A 4 x 4 picture of the room in its box, and how long it is.
    const int bw = ri.x1 - ri.x0 + 1, bh = ri.y1 - ri.y0 + 1;
    for (int gy = 0; gy < 4; ++gy)
      for (int gx = 0; gx < 4; ++gx) {
        int in = 0, all = 0;
        for (int y = ri.y0 + gy * bh / 4; y < ri.y0 + (gy + 1) * bh / 4; ++y)
          for (int x = ri.x0 + gx * bw / 4; x < ri.x0 + (gx + 1) * bw / 4; ++x) {
            ++all;
            in += label[static_cast<std::size_t>(y) * w + x] == static_cast<int>(&ri - info.data()) ? 1 : 0;
          }
        if (all > 0 && in * 2 > all) ri.signature |= 1u << (gy * 4 + gx);
      }
    const int aspect = bw >= 4 * bh ? 4 : bw >= 2 * bh ? 3 : bw >= bh ? 2 : 2 * bw >= bh ? 1 : 0;
    ri.signature |= static_cast<std::uint32_t>(aspect) << 16;
  }
  // Rooms look alike with the same aspect, at most two of the sixteen cells
  // differing, and less than twice the other's size: a hall is not mistaken
  // for a closet of its outline.
  auto alike = [](const RoomInfo& a, const RoomInfo& b) {
    return (a.signature >> 16) == (b.signature >> 16) && std::popcount((a.signature ^ b.signature) & 0xffffu) <= 2 &&
           std::max(a.area, b.area) < 2 * std::min(a.area, b.area);
  };
  std::set<std::uint32_t> signatures;
  std::vector<long> areas, shapes;
  std::vector<int> regions;
  std::vector<int> heights[4];
  for (RoomInfo& ri : info) {
    signatures.insert(ri.signature);
    areas.push_back(ri.area);
    const int bw = ri.x1 - ri.x0 + 1, bh = ri.y1 - ri.y0 + 1;
    shapes.push_back(bw * 100L / (bw + bh));
    regions.push_back(ri.region);
    heights[ri.region].push_back(bh);
    bool unique = true;
    for (const RoomInfo& o : info)
      if (&o != &ri && alike(o, ri)) unique = false;
    ri.landmark = unique && ri.area >= 1200;
  }
  std::vector<long> sorted = areas;
  std::sort(sorted.begin(), sorted.end());
  out.push_back(Line("rooms", rooms));
  if (!sorted.empty()) {
    out.push_back(Line("room_area_smallest", sorted.front()));
    out.push_back(Line("room_area_median", sorted[sorted.size() / 2]));
    out.push_back(Line("room_area_largest", sorted.back()));
    out.push_back(Line("room_area_largest_to_smallest", sorted.back() / std::max(1L, sorted.front())));
  }
  out.push_back(Line("room_shapes_distinct", static_cast<long>(signatures.size())));
  for (int g = 0; g < 4; ++g) {
    std::sort(heights[g].begin(), heights[g].end());
    out.push_back(Line(std::string("room_height_median_") + kRegionNames[g],
                       heights[g].empty() ? 0 : heights[g][heights[g].size() / 2]));
  }
  out.push_back(Line("region_explains_room_size_percent", Explained(regions, areas)));
  out.push_back(Line("region_explains_room_shape_percent", Explained(regions, shapes)));

  // 4. Region differences: straight roofs and floors (seven cells level
  // under or over rock) per region, and how much the monster kinds depend
  // on the region (Cramer's V, percent).
  {
    long straight[4]{}, edges[4]{};
    for (int y = 1; y < h - 1; ++y)
      for (int x = 3; x < w - 3; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        if (rock[i]) continue;
        for (int side : {-1, 1}) {
          const std::size_t b = i + static_cast<std::size_t>(side * w);
          const int g = RegionOf(l.px[b]);
          if (g < 0) continue;
          ++edges[g];
          bool flat = true;
          for (int k = -3; k <= 3 && flat; ++k) flat = !rock[i + k] && rock[b + k];
          straight[g] += flat ? 1 : 0;
        }
      }
    for (int g = 0; g < 4; ++g)
      out.push_back(Line(std::string("straight_edges_percent_") + kRegionNames[g], edges[g] ? straight[g] * 100 / edges[g] : 0));
    long table[4][5]{}, total = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const int k = KindOf(l.px[i]);
      if (k < 0 || label[i] < 0) continue;
      ++table[info[label[i]].region][k];
      ++total;
    }
    double chi = 0;
    int usedRows = 0, usedColumns = 0;
    long rowSum[4]{}, columnSum[5]{};
    for (int g = 0; g < 4; ++g)
      for (int k = 0; k < 5; ++k) rowSum[g] += table[g][k], columnSum[k] += table[g][k];
    for (int g = 0; g < 4; ++g) usedRows += rowSum[g] > 0;
    for (int k = 0; k < 5; ++k) usedColumns += columnSum[k] > 0;
    for (int g = 0; g < 4; ++g)
      for (int k = 0; k < 5; ++k) {
        if (!rowSum[g] || !columnSum[k]) continue;
        const double e = static_cast<double>(rowSum[g]) * static_cast<double>(columnSum[k]) / static_cast<double>(total);
        chi += (static_cast<double>(table[g][k]) - e) * (static_cast<double>(table[g][k]) - e) / e;
      }
    const int m = std::min(usedRows, usedColumns) - 1;
    const double v = total > 0 && m > 0 ? std::sqrt(chi / static_cast<double>(total) / m) : 0;
    out.push_back(Line("region_decides_monster_kind_percent", static_cast<long>(v * 100 + 0.5)));
  }

  // 5. Set pieces.
  int startId = -1;
  std::vector<int> fruitIds, checkpointIds;
  for (std::size_t i = 0; i < n; ++i) {
    if (l.px[i] == kStart) startId = static_cast<int>(i);
    if (l.px[i] == kFruit) fruitIds.push_back(static_cast<int>(i));
    if (l.px[i] == kCheckpoint) checkpointIds.push_back(static_cast<int>(i));
  }
  {
    // Runs of five or more neighbouring columns (or rows), each with an open
    // stretch (platforms aside) of `least` cells or more, the stretches
    // overlapping; runs wider than `widest` lines are not counted.
    auto runs = [&](bool columns, int least, int widest) {
      const int lines = columns ? w : h, along = columns ? h : w;
      auto at = [&](int line, int k) {
        return columns ? static_cast<std::size_t>(k) * w + line : static_cast<std::size_t>(line) * w + k;
      };
      int found = 0, run = 0, prevStart = -1, prevEnd = -1;
      for (int line = 0; line <= lines; ++line) {
        int bestStart = -1, bestEnd = -1;
        if (line < lines) {
          for (int k = 0, start = -1; k <= along; ++k) {
            const bool o = k < along && open(at(line, k));
            if (o && start < 0) start = k;
            if (!o && start >= 0) {
              if (k - start > bestEnd - bestStart) bestStart = start, bestEnd = k;
              start = -1;
            }
          }
        }
        const bool big = bestEnd - bestStart >= least;
        if (big && run > 0 && bestStart < prevEnd && prevStart < bestEnd) {
          ++run;
        } else {
          if (run >= 5 && run <= widest) ++found;
          run = big ? 1 : 0;
        }
        prevStart = bestStart, prevEnd = bestEnd;
      }
      return found;
    };
    // Great shafts 48 cells or more on end (a wall of open columns is no
    // shaft); long galleries 96 or more along.
    out.push_back(Line("great_shafts", runs(true, 48, 60)));
    out.push_back(Line("long_galleries", runs(false, 96, w)));
    std::string roomMonsters;
    int arenas = 0;
    std::set<std::uint32_t> fruitShapes;
    for (int f : fruitIds) {
      const int r = f + w < static_cast<int>(n) && label[f + w] >= 0 ? label[f + w] : label[f];
      const int m = r >= 0 ? info[r].monsters : 0;
      roomMonsters += (roomMonsters.empty() ? "" : " ") + std::to_string(m);
      arenas += m >= 25 ? 1 : 0;
      if (r >= 0) fruitShapes.insert(info[r].signature);
    }
    out.push_back(Line("fruit_room_monsters", roomMonsters));
    out.push_back(Line("fruit_arenas", arenas));
    out.push_back(Line("fruit_room_shapes_distinct", static_cast<long>(fruitShapes.size())));
    int most = 0;
    for (int y0 = 0; y0 + kScreenHeight <= h; y0 += 2)
      for (int x0 = 0; x0 + kScreenWidth <= w; x0 += 2) {
        int count = 0;
        for (int y = y0; y < y0 + kScreenHeight; ++y)
          for (int x = x0; x < x0 + kScreenWidth; ++x) count += l.px[static_cast<std::size_t>(y) * w + x] == kHazard;
        most = std::max(most, count);
      }
    out.push_back(Line("hazards_most_on_a_screen", most));
    // Secrets: fruits the hero cannot walk to without a crawl, a stretch of
    // nine or more cells at most three high.
    std::vector<int> low(n, 0);
    for (int x = 0; x < w; ++x)
      for (int y = 0, top = -1; y <= h; ++y) {
        const bool o = y < h && !rock[static_cast<std::size_t>(y) * w + x];
        if (o && top < 0) top = y;
        if (!o && top >= 0) {
          for (int k = top; k < y; ++k) low[static_cast<std::size_t>(k) * w + x] = y - top <= 3;
          top = -1;
        }
      }
    std::vector<std::uint8_t> crawl(n, 0);
    for (int y = 0; y < h; ++y)
      for (int x = 4; x < w - 4; ++x) {
        bool all = true;
        for (int k = -4; k <= 4 && all; ++k) all = low[static_cast<std::size_t>(y) * w + x + k] != 0;
        crawl[static_cast<std::size_t>(y) * w + x] = all;
      }
    int secrets = 0;
    if (startId >= 0) {
      const std::vector<int> walk = Walk(w, h, {startId}, [&](int i) { return !rock[i] && !crawl[i]; });
      for (int f : fruitIds) secrets += walk[f] < 0 ? 1 : 0;
    }
    out.push_back(Line("secret_fruits", secrets));
    int commonest = 0;
    for (const auto& [shape, count] : platformShapes) commonest = std::max(commonest, count);
    out.push_back(Line("platforms", platforms));
    out.push_back(Line("platform_shapes", static_cast<long>(platformShapes.size())));
    out.push_back(Line("platform_commonest_shape_percent", platforms ? commonest * 100L / platforms : 0));
  }

  // Walking steps through the air from the start (none without a start):
  // the journey's bands and the rooms the hero can enter.
  const std::vector<int> dist =
      startId >= 0 ? Walk(w, h, {startId}, [&](int i) { return !rock[i]; }) : std::vector<int>(n, -1);

  // 6. The journey: fifths of the reachable air by walking distance from
  // the start, what each holds, and quiet screens.
  if (startId >= 0) {
    std::vector<int> reach;
    for (int d : dist)
      if (d >= 0) reach.push_back(d);
    std::sort(reach.begin(), reach.end());
    int edge[4];
    for (int b = 0; b < 4; ++b) edge[b] = reach[reach.size() * (b + 1) / 5];
    auto band = [&](int d) {
      int b = 0;
      while (b < 4 && d >= edge[b]) ++b;
      return b;
    };
    long air[5]{}, kinds[5][5]{}, hazards[5]{}, strength[5]{};
    for (std::size_t i = 0; i < n; ++i) {
      if (dist[i] < 0) continue;
      const int b = band(dist[i]);
      ++air[b];
      const int k = KindOf(l.px[i]);
      if (k >= 0) ++kinds[b][k], strength[b] += k + 1;
      if (l.px[i] == kHazard) ++hazards[b];
    }
    int firstBand[5]{0, 0, 0, 0, 0}, mixing = 0;
    for (int b = 0; b < 5; ++b) {
      long all = 0;
      for (int k = 0; k < 5; ++k) all += kinds[b][k];
      std::string mix;
      int big = 0;
      for (int k = 0; k < 5; ++k) {
        if (!kinds[b][k]) continue;
        mix += (mix.empty() ? "" : " ") + std::to_string(k + 1) + ":" + std::to_string(kinds[b][k]);
        if (kinds[b][k] * 10 >= all) ++big;
        if (!firstBand[k] && kinds[b][k] * 20 >= all) firstBand[k] = b + 1;
      }
      mixing += big >= 2 ? 1 : 0;
      const std::string name = "band" + std::to_string(b + 1);
      out.push_back(Line(name + "_kinds", mix.empty() ? std::string("none") : mix));
      out.push_back(Line(name + "_strength_per_1000_cells", air[b] ? strength[b] * 1000 / air[b] : 0));
      out.push_back(Line(name + "_hazards_per_10000_cells", air[b] ? hazards[b] * 10000 / air[b] : 0));
    }
    for (int k : {1, 2, 4})
      out.push_back(Line("kind" + std::to_string(k + 1) + "_first_band", firstBand[k]));
    out.push_back(Line("bands_mixing_two_kinds", mixing));
    std::string fruitBands;
    for (int f : fruitIds)
      fruitBands += (fruitBands.empty() ? "" : " ") + std::to_string(dist[f] >= 0 ? band(dist[f]) + 1 : 0);
    out.push_back(Line("fruit_bands", fruitBands));
    int screens = 0, quiet = 0;
    for (int y0 = 0; y0 < h; y0 += kScreenHeight)
      for (int x0 = 0; x0 < w; x0 += kScreenWidth) {
        int cells = 0, monsters = 0;
        for (int y = y0; y < std::min(h, y0 + kScreenHeight); ++y)
          for (int x = x0; x < std::min(w, x0 + kScreenWidth); ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            cells += dist[i] >= 0;
            monsters += KindOf(l.px[i]) >= 0;
          }
        if (cells < 100) continue;
        ++screens;
        quiet += monsters == 0;
      }
    out.push_back(Line("quiet_screens_percent", screens ? quiet * 100L / screens : 0));

    // 7. Checkpoint cover: walking steps from the nearest checkpoint.
    std::vector<int> sources = checkpointIds;
    sources.push_back(startId);
    const std::vector<int> cover = Walk(w, h, sources, [&](int i) { return !rock[i]; });
    int far = 0;
    long within = 0, reached = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (dist[i] < 0) continue;
      ++reached;
      far = std::max(far, cover[i]);
      within += cover[i] >= 0 && cover[i] <= 120;
    }
    out.push_back(Line("checkpoint_farthest_steps", far));
    out.push_back(Line("checkpoint_within_120_percent", reached ? within * 100 / reached : 0));
  }

  // 8. Landmarks: large rooms of a shape no other room has, and rooms more
  // than three rooms away from one; a room sealed off from the start's air
  // is no part of the journey and is not counted.
  {
    std::vector<bool> entered(info.size(), startId < 0);
    for (std::size_t i = 0; i < n; ++i)
      if (dist[i] >= 0 && label[i] >= 0) entered[label[i]] = true;
    int landmarks = 0;
    std::vector<int> hops(info.size(), -1);
    std::deque<int> queue;
    for (std::size_t r = 0; r < info.size(); ++r)
      if (info[r].landmark) {
        ++landmarks;
        hops[r] = 0;
        queue.push_back(static_cast<int>(r));
      }
    while (!queue.empty()) {
      const int r = queue.front();
      queue.pop_front();
      for (int o : info[r].next)
        if (hops[o] < 0) {
          hops[o] = hops[r] + 1;
          queue.push_back(o);
        }
    }
    int beyond = 0;
    for (std::size_t r = 0; r < info.size(); ++r) beyond += entered[r] && (hops[r] < 0 || hops[r] > 3);
    out.push_back(Line("landmarks", landmarks));
    out.push_back(Line("rooms_beyond_three_of_a_landmark", beyond));
    // 9. Dead ends: rooms with one way in, and those holding a fruit, a
    // checkpoint or the gems of ten monsters.
    int dead = 0, rewarded = 0;
    for (const RoomInfo& ri : info) {
      if (ri.next.size() != 1) continue;
      ++dead;
      rewarded += ri.fruits > 0 || ri.checkpoints > 0 || ri.monsters >= 10;
    }
    out.push_back(Line("dead_end_percent", rooms ? dead * 100L / rooms : 0));
    out.push_back(Line("dead_ends_rewarded_percent", dead ? rewarded * 100L / dead : 0));
  }
  return out;
}

}  // namespace quorin::worldpaint
