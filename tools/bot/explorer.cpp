#include "tools/bot/explorer.h"

#include "world/play_host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unordered_map>

namespace quorin::bot {

namespace {

// A kept state and the way to it.
struct Node {
  std::int32_t parent = -1;
  std::vector<std::uint8_t> keys;  // the frames from the parent
  std::int32_t hurts = 0;
};

struct Entry {
  std::int32_t node = 0;
  std::unique_ptr<Snapshot> snapshot;
  std::int32_t distance = kFar;
  std::int64_t frames = 0;
  std::int32_t visits = 0;
  std::int32_t power = 0;
  std::uint8_t lastKeys = 0;
  std::int32_t hurts = 0;
};

// A hurt hero is a ball at most this long before the bot has burst it.
constexpr int kMaxBallFrames = 400;
// The search's taste: a state tried often gives way to others, a way with
// hurts counts as much longer.
constexpr double kVisitWeight = 24.0;
constexpr double kHurtWeight = 150.0;

// Regions of 2 x 2 cells, apart for a hero standing and one in the air.
std::int64_t RegionOf(const Player& p) {
  const std::int64_t column = (p.x >> kCellShift) >> 1;
  const std::int64_t row = (p.y >> kCellShift) >> 1;
  const std::int64_t standing = p.jumpsLeft == 2 ? 1 : 0;
  return (row * 4096 + column) * 2 + standing;
}

std::uint8_t Dir(int dx, int dy) {
  std::uint8_t k = 0;
  if (dx < 0) k |= kHoldLeft;
  if (dx > 0) k |= kHoldRight;
  if (dy < 0) k |= kHoldUp;
  if (dy > 0) k |= kHoldDown;
  return k;
}

}  // namespace

std::vector<std::uint8_t> MakeMacro(Dice& dice, std::uint8_t previousKeys) {
  static constexpr int kLengths[] = {4, 8, 12, 16, 24, 32};
  const int length = kLengths[dice.Below(6)];
  const int dx = dice.Below(3) - 1;
  std::vector<std::uint8_t> frames(static_cast<std::size_t>(length), Dir(dx, 0));

  // Button 1: nothing, held on (a press when it was up, the hover when it was
  // down), one jump of some height, or a double jump going on into the hover.
  const bool jumpWasDown = (previousKeys & kHoldJump) != 0;
  switch (dice.Below(5)) {
    case 0: break;
    case 1:
      for (auto& f : frames) f |= kHoldJump;
      break;
    case 2: {
      const int from = jumpWasDown ? 1 : 0;
      const int hold = 2 + dice.Below(14);
      for (int t = from; t < std::min(length, from + hold); ++t) frames[t] |= kHoldJump;
      break;
    }
    default: {
      const int from = jumpWasDown ? 1 : 0;
      const int first = 2 + dice.Below(12);
      for (int t = from; t < std::min(length, from + first); ++t) frames[t] |= kHoldJump;
      for (int t = from + first + 1; t < length; ++t) frames[t] |= kHoldJump;
      break;
    }
  }

  // Button 2: kept as it was, let go, or pressed anew with an aim in one of
  // eight directions (the aim is taken from the directions on the press).
  const bool fireWasDown = (previousKeys & kHoldFire) != 0;
  switch (dice.Below(4)) {
    case 0:
      break;
    case 1:
    case 2: {
      const int from = fireWasDown ? 1 : 0;
      const int ax = dice.Below(3) - 1;
      const int ay = dice.Below(3) - 1;
      for (int t = from; t < length; ++t) frames[t] |= kHoldFire;
      if (from < length) frames[from] = static_cast<std::uint8_t>((frames[from] & ~(kHoldLeft | kHoldRight)) | Dir(ax, ay));
      break;
    }
    default:
      if (fireWasDown) {
        for (auto& f : frames) f |= kHoldFire;
      }
      break;
  }
  return frames;
}

LegResult SearchLeg(BotGame& game, const DistanceField& field, const GoalTest& goal, const LegOptions& options,
                    Dice& dice) {
  LegResult result;
  std::vector<Node> nodes;
  std::vector<Entry> entries;
  std::unordered_map<std::int64_t, std::int32_t> byRegion;

  auto distanceOf = [&](const World& w) { return field.AtUnits(w.player.x, w.player.y); };

  Snapshot start;
  game.Save(start);
  nodes.push_back(Node{});
  {
    Entry e;
    e.node = 0;
    e.snapshot = std::make_unique<Snapshot>(start);
    e.distance = distanceOf(game.world());
    e.frames = game.frames();
    entries.push_back(std::move(e));
    byRegion[RegionOf(game.world().player)] = 0;
  }
  result.bestDistance = entries[0].distance;

  auto wayTo = [&](std::int32_t node, const std::vector<std::uint8_t>& tail) {
    std::vector<std::int32_t> chain;
    for (std::int32_t n = node; n > 0; n = nodes[static_cast<std::size_t>(n)].parent) chain.push_back(n);
    std::vector<std::uint8_t> keys;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      const auto& k = nodes[static_cast<std::size_t>(*it)].keys;
      keys.insert(keys.end(), k.begin(), k.end());
    }
    keys.insert(keys.end(), tail.begin(), tail.end());
    return keys;
  };

  for (std::int64_t round = 0; round < options.maxExpansions; ++round) {
    // Near the goal first; a state tried often gives way to others.
    std::size_t pick = 0;
    double best = 1e300;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const Entry& e = entries[i];
      const double score = e.distance + kVisitWeight * std::sqrt(static_cast<double>(e.visits)) +
                           kHurtWeight * e.hurts + dice.Below(24);
      if (score < best) {
        best = score;
        pick = i;
      }
    }
    Entry& from = entries[pick];
    from.visits += 1;
    game.Restore(*from.snapshot);
    const std::int32_t fromNode = from.node;
    const std::int32_t fromHurts = nodes[static_cast<std::size_t>(fromNode)].hurts;
    const std::vector<std::uint8_t> macro = MakeMacro(dice, from.lastKeys);

    std::int32_t hurts = fromHurts;
    bool dead = false;
    std::vector<std::uint8_t> played;
    played.reserve(macro.size());
    for (std::size_t t = 0; t < macro.size() && !dead; ++t) {
      const bool wasWalking = game.world().player.state == kHeroWalking;
      game.Step(macro[t]);
      played.push_back(macro[t]);
      ++result.framesSimulated;
      if (game.state() == kGameOver) {
        dead = true;
        break;
      }
      if (wasWalking && game.state() == kPlaying && game.world().player.state != kHeroWalking) {
        if (!options.allowHurt) {
          dead = true;
          break;
        }
        ++hurts;
        // The ball is burst as soon as the fire button may burst it; the hero
        // comes back on the checkpoint.
        for (int k = 0; k < kMaxBallFrames && game.state() == kPlaying &&
                        game.world().player.state != kHeroWalking;
             ++k) {
          const std::uint8_t key = (k > 16 && (k & 1) == 0) ? kHoldFire : 0;
          game.Step(key);
          played.push_back(key);
          ++result.framesSimulated;
        }
        if (game.state() != kPlaying && !goal(game)) {
          dead = true;
          break;
        }
        break;
      }
      if (goal(game)) {
        result.reached = true;
        result.expansions = round + 1;
        result.keys = wayTo(fromNode, played);
        result.hurts = hurts;
        return result;
      }
      if (game.state() != kPlaying) dead = true;
    }
    if (dead) continue;
    const World& w = game.world();
    if (w.player.state != kHeroWalking) continue;  // rest only where the hero stands again

    const std::int32_t distance = distanceOf(w);
    if (distance >= kFar) continue;
    const std::int64_t region = RegionOf(w.player);
    const auto found = byRegion.find(region);
    // Per region the better state: fewer hurts, then nearer, then with more
    // power, then sooner.
    bool keep = found == byRegion.end();
    if (!keep) {
      const Entry& old = entries[static_cast<std::size_t>(found->second)];
      const std::int32_t oldHurts = nodes[static_cast<std::size_t>(old.node)].hurts;
      keep = hurts < oldHurts ||
             (hurts == oldHurts &&
              (distance < old.distance ||
               (distance == old.distance &&
                (w.player.power > old.power || (w.player.power == old.power && game.frames() < old.frames)))));
    }
    if (keep) {
      Node n;
      n.parent = fromNode;
      n.keys = played;
      n.hurts = hurts;
      nodes.push_back(std::move(n));
      Entry e;
      e.node = static_cast<std::int32_t>(nodes.size() - 1);
      e.snapshot = std::make_unique<Snapshot>();
      game.Save(*e.snapshot);
      e.distance = distance;
      e.frames = game.frames();
      e.power = w.player.power;
      e.lastKeys = played.back();
      e.hurts = hurts;
      if (found == byRegion.end()) {
        byRegion[region] = static_cast<std::int32_t>(entries.size());
        entries.push_back(std::move(e));
      } else {
        e.visits = entries[static_cast<std::size_t>(found->second)].visits;
        entries[static_cast<std::size_t>(found->second)] = std::move(e);
      }
      if (distance < result.bestDistance) {
        result.bestDistance = distance;
        result.bestColumn = w.player.x >> kCellShift;
        result.bestRow = w.player.y >> kCellShift;
      }
    }
    if (options.reportEvery > 0 && (round + 1) % options.reportEvery == 0) {
      std::printf("    search %lld: %zu places kept, nearest %d at (%d, %d), %lld frames simulated\n",
                  static_cast<long long>(round + 1), entries.size(), result.bestDistance, result.bestColumn,
                  result.bestRow, static_cast<long long>(result.framesSimulated));
      std::fflush(stdout);
    }
  }
  result.expansions = options.maxExpansions;
  game.Restore(start);
  return result;
}

}  // namespace quorin::bot
