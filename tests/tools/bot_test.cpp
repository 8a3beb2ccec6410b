// The player bot's parts: its rewinding of the real game, the route's
// distances, the macro-actions and the input file it writes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/key_codes.h"
#include "tests/world/small_world.h"
#include "tools/bot/bot_game.h"
#include "tools/bot/explorer.h"
#include "tools/bot/input_file.h"
#include "tools/bot/route.h"
#include "world/digest.h"
#include "world/play_host.h"

namespace quorin::bot {
namespace {

// Running right and firing, with a jump now and then: the hero moves, shots
// fly and the view scrolls.
void Play(BotGame& game, int frames, std::uint8_t direction) {
  for (int t = 0; t < frames; ++t) {
    std::uint8_t keys = direction | kHoldFire;
    if (t % 40 >= 30) keys |= kHoldJump;
    game.Step(keys);
  }
}

TEST(BotGame, RestoreRewindsTheWholeWorldAndPlaysOnIdentically) {
  BotGame game;
  Snapshot start;
  game.Save(start);
  const std::string atStart = WorldDigest(game.world());

  Play(game, 400, kHoldLeft);
  const std::string afterLeft = WorldDigest(game.world());
  ASSERT_NE(afterLeft, atStart);

  game.Restore(start);
  EXPECT_EQ(WorldDigest(game.world()), atStart);
  EXPECT_EQ(game.frames(), 0);
  Play(game, 400, kHoldRight);
  EXPECT_NE(WorldDigest(game.world()), afterLeft);

  game.Restore(start);
  Play(game, 400, kHoldLeft);
  EXPECT_EQ(WorldDigest(game.world()), afterLeft);
  EXPECT_EQ(game.frames(), 400);
}

// The keys of the first frames of play of the recorded run, read back from
// its input file (frame k of play is iteration 5 + k before the pause).
std::vector<std::uint8_t> RecordedKeys(std::size_t frames) {
  std::ifstream in(std::string(QUORIN_SOURCE_DIR) + "/tests/data/winning_run.txt");
  std::vector<std::uint8_t> keys(frames, 0);
  std::uint8_t held = 0;
  std::int64_t filled = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::int64_t iteration = 0;
    std::string what, way;
    int code = 0;
    if (!(words >> iteration >> what) || what != "key" || !(words >> code >> way)) continue;
    const std::int64_t frame = iteration - kFirstPlayIteration;
    if (frame >= static_cast<std::int64_t>(frames)) break;
    for (; filled < frame; ++filled) keys[static_cast<std::size_t>(filled)] = held;
    std::uint8_t bit = 0;
    if (code == kKeyLeft) bit = kHoldLeft;
    if (code == kKeyRight) bit = kHoldRight;
    if (code == kKeyUp) bit = kHoldUp;
    if (code == kKeyDown) bit = kHoldDown;
    if (code == kKeyZ) bit = kHoldJump;
    if (code == kKeyX) bit = kHoldFire;
    held = way == "down" ? (held | bit) : (held & ~bit);
  }
  for (; filled < static_cast<std::int64_t>(frames); ++filled) keys[static_cast<std::size_t>(filled)] = held;
  return keys;
}

TEST(BotGame, RestoreMovesTheCurrentCheckpointTileBack) {
  BotGame game;
  const World& w = game.world();
  Snapshot start;
  game.Save(start);
  const std::int32_t column = w.checkpointColumn, row = w.checkpointRow;
  ASSERT_EQ(w.TileMap.At(column, row), kTileCheckpointCurrent);
  // The recorded run lands on its first pad, by the first fruit, some 1,140
  // frames in.
  bool moved = false;
  for (const std::uint8_t k : RecordedKeys(1500)) {
    game.Step(k);
    if (w.checkpointColumn != column || w.checkpointRow != row) {
      moved = true;
      break;
    }
  }
  ASSERT_TRUE(moved);
  const std::int32_t newColumn = w.checkpointColumn, newRow = w.checkpointRow;
  EXPECT_EQ(w.TileMap.At(column, row), kTileCheckpoint);
  EXPECT_EQ(w.TileMap.At(newColumn, newRow), kTileCheckpointCurrent);
  const std::string there = WorldDigest(w);
  Snapshot later;
  game.Save(later);

  game.Restore(start);
  EXPECT_EQ(w.TileMap.At(column, row), kTileCheckpointCurrent);
  EXPECT_EQ(w.TileMap.At(newColumn, newRow), kTileCheckpoint);
  game.Restore(later);
  EXPECT_EQ(WorldDigest(w), there);
}

TEST(BotGame, FirstFrameSeesButtonOneStillDownFromTheStartClick) {
  BotGame game;
  game.Step(kHoldJump);  // held over from the click: no press
  EXPECT_EQ(game.world().playerInput.button1, 1);
  EXPECT_EQ(game.world().playerInput.button1Pressed, 0);
  game.Step(0);
  game.Step(kHoldJump | kHoldFire);  // both pressed
  EXPECT_EQ(game.world().playerInput.button1Pressed, 1);
  EXPECT_EQ(game.world().playerInput.button2Pressed, 1);
  game.Step(kHoldJump | kHoldFire);  // held
  EXPECT_EQ(game.world().playerInput.button1Pressed, 0);
  EXPECT_EQ(game.world().playerInput.button2Pressed, 0);
}

// A room 12 x 12: rock around, open inside, a standing hazard on the floor.
World Room() {
  World w = test::SmallWorld(12, 12);
  for (int c = 0; c < 12; ++c) {
    for (int r = 0; r < 12; ++r) {
      const bool edge = c == 0 || r == 0 || c == 11 || r == 11;
      w.CollisionMap.At(c, r) = edge ? kCellRock : 0;
    }
  }
  w.CollisionMap.At(9, 11) = kCellRock | kCellHazardOnTop;
  return w;
}

TEST(DistanceField, ClimbingCostsMoreThanFallingAndRockIsFar) {
  const World w = Room();
  const DistanceField field(w, 5, 5);
  EXPECT_EQ(field.At(5, 5), 0);
  EXPECT_EQ(field.At(5, 6), kStepUp);    // from below the goal the hero must climb
  EXPECT_EQ(field.At(5, 4), kStepDown);  // from above it falls
  EXPECT_EQ(field.At(6, 5), kStepAcross);
  EXPECT_EQ(field.At(0, 5), kFar);
  EXPECT_EQ(field.At(-1, 5), kFar);
  EXPECT_EQ(field.At(12, 5), kFar);
  EXPECT_EQ(field.AtUnits(5 * kUnitsPerCell + 4095, 5 * kUnitsPerCell), 0);
  EXPECT_EQ(field.AtUnits(-1, 0), kFar);
}

TEST(DistanceField, AirOverAHazardCostsExtraAndSealedAirIsFar) {
  World w = Room();
  const DistanceField open(w, 2, 10);
  // Along the floor row: the hazard cell's air and its neighbours cost more.
  EXPECT_EQ(open.At(6, 10), 4 * kStepAcross);
  EXPECT_EQ(open.At(8, 10), open.At(7, 10) + kStepAcross + kNearHazard);
  for (int r = 1; r <= 10; ++r) w.CollisionMap.At(6, r) = kCellRock;  // a wall from floor to ceiling
  const DistanceField sealed(w, 2, 10);
  EXPECT_EQ(sealed.At(7, 10), kFar);
  EXPECT_EQ(sealed.At(5, 10), 3 * kStepAcross);
}

TEST(Macro, PressesAreRealPressesAndAimsComeWithTheFirePress) {
  Dice dice(7);
  int jumpPresses = 0, firePresses = 0;
  for (int k = 0; k < 2000; ++k) {
    const std::uint8_t before = static_cast<std::uint8_t>(dice.Below(64));
    const std::vector<std::uint8_t> m = MakeMacro(dice, before);
    ASSERT_FALSE(m.empty());
    std::uint8_t previous = before;
    for (std::size_t t = 0; t < m.size(); ++t) {
      // Never both ways at once.
      EXPECT_NE(m[t] & (kHoldLeft | kHoldRight), kHoldLeft | kHoldRight);
      EXPECT_NE(m[t] & (kHoldUp | kHoldDown), kHoldUp | kHoldDown);
      if ((m[t] & kHoldJump) && !(previous & kHoldJump)) ++jumpPresses;
      if ((m[t] & kHoldFire) && !(previous & kHoldFire)) ++firePresses;
      // Up and down only ever aim: they come with a fire press.
      if (m[t] & (kHoldUp | kHoldDown)) {
        EXPECT_TRUE((m[t] & kHoldFire) && !(previous & kHoldFire));
      }
      previous = m[t];
    }
  }
  // Both buttons are pressed anew often, whatever was held before.
  EXPECT_GT(jumpPresses, 1000);
  EXPECT_GT(firePresses, 500);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') out.push_back(line);
  }
  return out;
}

std::string KeyLine(std::int64_t iteration, int code, bool down) {
  return std::to_string(iteration) + " key " + std::to_string(code) + (down ? " down" : " up");
}

TEST(InputFile, ShortRunStartsOnTheClickAndReleasesEverythingAtItsEnd) {
  const std::vector<std::uint8_t> keys = {kHoldRight, kHoldRight | kHoldJump, kHoldRight, 0};
  const std::vector<std::string> lines = Lines(InputFileText(keys, false));
  const std::vector<std::string> expected = {
      "1 mouse 660 338", "2 mouse 660 339", "4 button left down", "5 button left up",
      KeyLine(5, kKeyRight, true), KeyLine(6, kKeyZ, true), KeyLine(7, kKeyZ, false), KeyLine(8, kKeyRight, false)};
  EXPECT_EQ(lines, expected);
}

TEST(InputFile, LongRunPausesAfterItsPauseFrameAndQuitsAfterTheScene) {
  const std::size_t frames = static_cast<std::size_t>(kPauseAfterFrame) + 3;
  std::vector<std::uint8_t> keys(frames, kHoldLeft);
  keys.back() = kHoldLeft | kHoldFire;  // the last frame, after the pause
  const std::vector<std::string> lines = Lines(InputFileText(keys, true));
  const std::int64_t pause = kFirstPlayIteration + kPauseAfterFrame;
  const std::int64_t last = pause + kPauseIterations + 2;
  EXPECT_EQ(IterationOfFrame(kPauseAfterFrame, frames), pause);
  EXPECT_EQ(IterationOfFrame(kPauseAfterFrame + 1, frames), pause + kPauseIterations + 1);
  EXPECT_EQ(IterationOfFrame(static_cast<std::int64_t>(frames) - 1, frames), last);
  const std::vector<std::string> expected = {
      "1 mouse 660 338", "2 mouse 660 339", "4 button left down", "5 button left up",
      KeyLine(5, kKeyLeft, true),
      KeyLine(pause, kKeyEscape, true),
      KeyLine(pause + 1, kKeyEscape, false),
      KeyLine(pause + kPauseIterations, kKeyEscape, true),
      KeyLine(pause + kPauseIterations + 1, kKeyEscape, false),
      KeyLine(last, kKeyX, true),
      KeyLine(last + 1, kKeyLeft, false),
      KeyLine(last + 1, kKeyX, false),
      KeyLine(last + 1 + kQuitAfterScene, kKeyEscape, true),
      KeyLine(last + 3 + kQuitAfterScene, kKeyEscape, false)};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(QuitIteration(frames), last + 1 + kQuitAfterScene);
}

TEST(InputFile, RunOfExactlyThePauseFrameDoesNotPause) {
  const std::vector<std::uint8_t> keys(static_cast<std::size_t>(kPauseAfterFrame) + 1, 0);
  EXPECT_EQ(InputFileText(keys, false).find(" key " + std::to_string(kKeyEscape)), std::string::npos);
  EXPECT_EQ(IterationOfFrame(kPauseAfterFrame, keys.size()), kFirstPlayIteration + kPauseAfterFrame);
}

}  // namespace
}  // namespace quorin::bot
