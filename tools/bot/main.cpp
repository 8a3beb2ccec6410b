// quorin-bot: plays a new game of our world to the planet saved on the real
// game frames, and writes what it pressed as a quorin-sim run input file.
//
//   quorin-bot [--out FILE] [--seed N] [--expansions N] [--resume FILE.keys]
// Beside FILE it writes FILE.keys, the keys of every frame, which --resume
// plays before searching on.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tools/bot/bot_game.h"
#include "tools/bot/explorer.h"
#include "tools/bot/input_file.h"
#include "tools/bot/route.h"
#include "world/play_host.h"

namespace quorin::bot {
namespace {

// A screen round a fruit, in cells, and what a hit point of its guard
// weighs against steps of the route.
constexpr std::int32_t kGuardReachX = 20, kGuardReachY = 12;
constexpr std::int32_t kGuardWeight = 12;

struct FruitPlace {
  std::int32_t number = 0;
  std::int32_t column = 0;
  std::int32_t row = 0;
};

std::vector<FruitPlace> FruitsLeft(const World& w) {
  std::vector<FruitPlace> out;
  w.Pickups.ForEach([&](const Pickup& p) {
    if (p.kind == kPickupFruit) out.push_back({p.variant, p.x >> kCellShift, p.y >> kCellShift});
  });
  return out;
}

// The live monsters' strength (hit points) within a screen of a fruit: the
// bot takes the quiet fruits first and saves the guarded ones for later, so
// its run climbs from easy country into hard.
std::int32_t GuardAround(const World& w, const FruitPlace& f) {
  std::int32_t strength = 0;
  w.Enemies.ForEach([&](const Enemy& e) {
    const std::int32_t dx = (e.x >> kCellShift) - f.column, dy = (e.y >> kCellShift) - f.row;
    if (dx >= -kGuardReachX && dx <= kGuardReachX && dy >= -kGuardReachY && dy <= kGuardReachY) strength += e.hitPoints;
  });
  return strength;
}

double Minutes(std::int64_t frames) { return static_cast<double>(frames) * 16.0 / 60000.0; }

// Plays a won leg again from its start, telling what happens on the way.
// Returns false when the replay does not end where the search did.
bool ReplayLeg(BotGame& game, const Snapshot& start, const std::vector<std::uint8_t>& keys, int& deaths) {
  const World& w = game.world();
  game.Restore(start);
  const std::int32_t fruitsBefore = w.player.fruitsFound;
  for (const std::uint8_t k : keys) {
    const std::int32_t column = w.checkpointColumn, row = w.checkpointRow;
    const bool walking = w.player.state == kHeroWalking;
    game.Step(k);
    if (column != w.checkpointColumn || row != w.checkpointRow) {
      std::printf("  checkpoint (%d, %d) at frame %lld\n", w.checkpointColumn, w.checkpointRow,
                  static_cast<long long>(game.frames()));
    }
    if (walking && w.player.state != kHeroWalking && game.state() == kPlaying) {
      ++deaths;
      std::printf("  hurt at (%d, %d), frame %lld, power left %d\n", w.player.x >> kCellShift,
                  w.player.y >> kCellShift, static_cast<long long>(game.frames()), w.player.power);
    }
  }
  return game.state() == kPlanetSaved || w.player.fruitsFound > fruitsBefore;
}

int Run(int argc, char** argv) {
  std::string out = "bot-run.txt";
  std::uint64_t seed = 12;
  std::int64_t expansions = 30000;
  std::string resume;  // frames of an earlier run to play first
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--out" && k + 1 < argc) out = argv[++k];
    else if (arg == "--seed" && k + 1 < argc) seed = std::strtoull(argv[++k], nullptr, 10);
    else if (arg == "--expansions" && k + 1 < argc) expansions = std::strtoll(argv[++k], nullptr, 10);
    else if (arg == "--resume" && k + 1 < argc) resume = argv[++k];
    else {
      std::fprintf(stderr, "usage: quorin-bot [--out FILE] [--seed N] [--expansions N] [--resume FILE.keys]\n");
      return 2;
    }
  }
  const auto began = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  };

  BotGame game;
  Dice dice(seed);
  std::vector<std::uint8_t> run;
  int deaths = 0;
  std::int64_t simulated = 0;
  bool won = false;
  if (!resume.empty()) {
    std::ifstream in(resume);
    for (int k; in >> k;) {
      run.push_back(static_cast<std::uint8_t>(k));
      game.Step(run.back());
    }
    std::printf("resumed %zu frames: %d fruits\n", run.size(), game.world().player.fruitsFound);
  }
  std::printf("new game: hero at (%d, %d)\n", game.world().player.x >> kCellShift,
              game.world().player.y >> kCellShift);

  for (;;) {
    const std::vector<FruitPlace> left = FruitsLeft(game.world());
    if (left.empty()) break;
    // The fruit nearest by the route over the grid, its guard counted as
    // extra distance.
    const World& w = game.world();
    std::vector<DistanceField> fields;
    std::size_t target = 0;
    std::int32_t nearest = kFar;
    std::int64_t cheapest = -1;
    for (std::size_t i = 0; i < left.size(); ++i) {
      fields.emplace_back(w, left[i].column, left[i].row);
      const std::int32_t d = fields.back().AtUnits(w.player.x, w.player.y);
      const std::int64_t cost = static_cast<std::int64_t>(d) + static_cast<std::int64_t>(kGuardWeight) * GuardAround(w, left[i]);
      if (cheapest < 0 || cost < cheapest) {
        cheapest = cost;
        nearest = d;
        target = i;
      }
    }
    const FruitPlace goalFruit = left[target];
    const std::int32_t fruitsBefore = w.player.fruitsFound;
    std::printf("leg %d: fruit %d at (%d, %d), route distance %d, from (%d, %d) [%.1f s]\n", fruitsBefore + 1,
                goalFruit.number, goalFruit.column, goalFruit.row, nearest, w.player.x >> kCellShift,
                w.player.y >> kCellShift, seconds());
    std::fflush(stdout);

    Snapshot legStart;
    game.Save(legStart);
    LegOptions options;
    options.maxExpansions = expansions;
    const GoalTest goal = [fruitsBefore](const BotGame& g) {
      return g.state() == kPlanetSaved || g.world().player.fruitsFound > fruitsBefore;
    };
    LegResult leg = SearchLeg(game, fields[target], goal, options, dice);
    simulated += leg.framesSimulated;
    if (!leg.reached) {
      std::printf("  NOT REACHED: nearest route distance %d at (%d, %d) after %lld expansions\n", leg.bestDistance,
                  leg.bestColumn, leg.bestRow, static_cast<long long>(leg.expansions));
      break;
    }
    if (!ReplayLeg(game, legStart, leg.keys, deaths)) {
      std::printf("  replay of the leg differs from its search\n");
      return 1;
    }
    run.insert(run.end(), leg.keys.begin(), leg.keys.end());
    const Player& p = game.world().player;
    std::printf("  fruit %d collected at frame %lld (%.2f min), %zu frames, power %d, score %d, %lld expansions\n",
                p.fruitsFound, static_cast<long long>(game.frames()), Minutes(game.frames()), leg.keys.size(),
                p.power, p.score, static_cast<long long>(leg.expansions));
    std::fflush(stdout);
    if (game.state() == kPlanetSaved) {
      won = true;
      break;
    }
  }

  won = game.state() == kPlanetSaved;
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file << InputFileText(run, won);
  file.close();
  std::ofstream raw(out + ".keys", std::ios::trunc);
  for (const std::uint8_t k : run) raw << static_cast<int>(k) << '\n';
  std::printf("%s: fruits %d, frames %zu (%.2f min of play), deaths %d, frames simulated %lld, %.1f s; wrote %s\n",
              won ? "PLANET SAVED" : "not won", game.world().player.fruitsFound, run.size(), Minutes(
                  static_cast<std::int64_t>(run.size())), deaths, static_cast<long long>(simulated), seconds(),
              out.c_str());
  if (won) std::printf("planet-saved scene entered on iteration %lld\n",
                       static_cast<long long>(IterationOfFrame(static_cast<std::int64_t>(run.size()) - 1, run.size())));
  return (won && file) ? 0 : 1;
}

}  // namespace
}  // namespace quorin::bot

int main(int argc, char** argv) { return quorin::bot::Run(argc, argv); }
