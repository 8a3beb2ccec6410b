// The recorded winning run: the bot's input file played by quorin-sim run from
// the title to the planet saved and back, with stored trace lines and pictures
// that show at once when play or the world has changed. After an intended
// change, rewrite both with QUORIN_UPDATE_PICTURES=1 (then look at them), and
// when the run no longer wins, let quorin-bot record a new one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/png_codec.h"
#include "runtime/surface.h"
#include "tests/support/process.h"
#include "tests/support/stored_picture.h"
#include "tests/support/temp_dir.h"
#include "tools/worldpaint/layout.h"

namespace quorin {
namespace {

using testing::TempDir;

const std::string kData = std::string(QUORIN_SOURCE_DIR) + "/tests/data/";
const std::string kRun = kData + "winning_run.txt";
const std::string kStoredLines = kData + "winning_run_trace.txt";

// Trace fields this test reads (their place on a trace line).
constexpr int kIteration = 0, kStateBefore = 2, kStateAfter = 3, kX = 12, kY = 13, kHeroState = 16, kScore = 30,
              kFruitsFound = 34, kHiScore = 37, kCheckpointColumn = 40, kCheckpointRow = 41;

// Iterations of the recorded run the pictures show. Each is checked against
// the trace below, so a new run that moves them fails here first.
constexpr std::int64_t kFirstPlay = 5;
constexpr std::int64_t kBall = 11215;
constexpr std::int64_t kPause = 4030;
constexpr std::int64_t kPlanetSaved = 28473;
constexpr std::int64_t kFrames = 30000;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::int64_t> Fields(const std::string& line) {
  std::istringstream words(line);
  std::vector<std::int64_t> row;
  for (std::int64_t v; words >> v;) row.push_back(v);
  return row;
}

class WinningRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir(false);
    const std::string at = dir_->Path().string() + "/";
    std::string shots;
    for (const auto& [iteration, name] : Pictures()) {
      // A shot after iteration K shows the picture drawn in iteration K - 1.
      shots += " --shot " + std::to_string(iteration + 1) + ":" + at + name;
    }
    result_ = new testing::CommandResult(testing::RunCommand(
        "cd " + at + " && " + QUORIN_SIM_PATH + " run --frames " + std::to_string(kFrames) + " --input " + kRun +
        " --trace trace.txt" + shots + " 2>stderr.txt"));
    std::istringstream in(ReadText(at + "trace.txt"));
    rows_ = new std::map<std::int64_t, std::string>;
    for (std::string line; std::getline(in, line);) (*rows_)[Fields(line).at(kIteration)] = line;
  }
  static void TearDownTestSuite() {
    delete rows_;
    delete result_;
    delete dir_;
  }

  static std::map<std::int64_t, std::string> Pictures() {
    return {{kFirstPlay, "winning_run_first.png"},
            {kBall, "winning_run_ball.png"},
            {kPause, "winning_run_pause.png"},
            {kPlanetSaved, "winning_run_planet_saved.png"}};
  }
  static std::vector<std::int64_t> Row(std::int64_t iteration) {
    const auto it = rows_->find(iteration);
    if (it == rows_->end()) {
      ADD_FAILURE() << "iteration " << iteration << " is not in the trace";
      return std::vector<std::int64_t>(62, -1);
    }
    return Fields(it->second);
  }
  static std::string At(const std::string& name) { return dir_->Path().string() + "/" + name; }

  static TempDir* dir_;
  static testing::CommandResult* result_;
  static std::map<std::int64_t, std::string>* rows_;
};

TempDir* WinningRun::dir_ = nullptr;
testing::CommandResult* WinningRun::result_ = nullptr;
std::map<std::int64_t, std::string>* WinningRun::rows_ = nullptr;

TEST_F(WinningRun, SavesThePlanetWithAllEightFruitsThenQuitsFromTheTitle) {
  ASSERT_EQ(result_->code, 0) << ReadText(At("stderr.txt"));
  ASSERT_FALSE(rows_->empty());
  // The game quits on Escape from the title, before the frame limit.
  EXPECT_EQ(result_->out.rfind("frames=", 0), 0u);
  EXPECT_NE(result_->out.find(" state=0 quit=1 "), std::string::npos) << result_->out;

  std::int64_t saved = -1, ended = -1;
  for (const auto& [iteration, line] : *rows_) {
    const std::vector<std::int64_t> r = Fields(line);
    if (saved < 0 && r[kStateAfter] == 5) {
      saved = iteration;
      EXPECT_EQ(r[kStateBefore], 2);
      EXPECT_EQ(r[kFruitsFound], 8);
    }
    if (r[kStateBefore] == 5 && r[kStateAfter] == 0) ended = iteration;
  }
  ASSERT_GE(saved, 0) << "the planet is never saved";
  ASSERT_GE(ended, 0) << "the planet-saved scene never ends";
  // The scene runs its 1024 frames untouched and ends on the next one.
  EXPECT_EQ(ended - saved, 1025);
  EXPECT_EQ(rows_->rbegin()->first, ended);  // the title is not traced
}

TEST_F(WinningRun, KeepsTheFinalScoreAsTheHighScoreInTheUserFile) {
  ASSERT_FALSE(rows_->empty());
  const std::vector<std::int64_t> last = Fields(rows_->rbegin()->second);
  EXPECT_GT(last[kScore], 0);
  EXPECT_EQ(last[kHiScore], last[kScore]);
  const std::string user = ReadText(At("Quorin.cfg"));
  EXPECT_NE(user.find("\r\nHiScore = " + std::to_string(last[kScore]) + "\r\n"), std::string::npos) << user;
}

TEST_F(WinningRun, PicturedIterationsShowWhatTheyAreNamedFor) {
  EXPECT_EQ(Row(kFirstPlay)[kStateBefore], 2);
  EXPECT_EQ(rows_->count(kFirstPlay - 1), 0u) << "the title is traced";
  EXPECT_EQ(Row(kBall)[kHeroState], 2);
  EXPECT_EQ(Row(kPause)[kStateBefore], 3);
  EXPECT_EQ(Row(kPlanetSaved)[kStateBefore], 5);
}

TEST_F(WinningRun, TraceMatchesTheStoredLines) {
  const char* update = std::getenv("QUORIN_UPDATE_PICTURES");
  if (update && *update && std::string(update) != "0") {
    // A line of every kind of moment: play, the ball, the pause, the last
    // fruit, the scene, its end.
    std::vector<std::int64_t> keep = {kFirstPlay, kBall, kPause, kPlanetSaved, 10000, 20000};
    for (const auto& [iteration, line] : *rows_) {
      const std::vector<std::int64_t> r = Fields(line);
      if (r[kStateAfter] == 5 && r[kStateBefore] == 2) keep.push_back(iteration);
    }
    keep.push_back(rows_->rbegin()->first);
    std::ofstream out(kStoredLines, std::ios::binary | std::ios::trunc);
    for (const std::int64_t k : keep) out << rows_->at(k) << '\n';
    GTEST_SKIP() << "rewrote " << kStoredLines;
  }
  std::istringstream stored(ReadText(kStoredLines));
  int compared = 0;
  for (std::string line; std::getline(stored, line); ++compared) {
    const std::int64_t iteration = Fields(line).at(kIteration);
    const auto it = rows_->find(iteration);
    ASSERT_NE(it, rows_->end()) << "iteration " << iteration << " is not in the trace";
    EXPECT_EQ(it->second, line) << "iteration " << iteration;
  }
  EXPECT_GE(compared, 7);
}

// The journey the world suggests: never more than a minute from one new
// checkpoint to the next, and the monsters near the hero (their strength,
// kind 1 to 5, as the layout places them within a screen of the hero)
// stronger in the second half of the run than in the first, and strongest
// in its last fifth.
TEST_F(WinningRun, ReachesANewCheckpointEachMinuteAndMeetsStrongerMonstersLater) {
  worldpaint::Layout world;
  ASSERT_TRUE(worldpaint::ReadLayoutPng(std::string(QUORIN_SOURCE_DIR) + "/assets/world.png", world));
  std::vector<long> strength(world.px.size(), 0);
  const std::uint32_t kinds[] = {worldpaint::kEnemy1, worldpaint::kEnemy2, worldpaint::kEnemy3, worldpaint::kEnemy4,
                                 worldpaint::kEnemy5};
  for (std::size_t i = 0; i < world.px.size(); ++i)
    for (int k = 0; k < 5; ++k) strength[i] += world.px[i] == kinds[k] ? k + 1 : 0;

  std::vector<long> threat;
  std::set<std::pair<std::int64_t, std::int64_t>> reached;
  std::int64_t lastNew = -1, longest = 0;
  for (const auto& [iteration, line] : *rows_) {
    const std::vector<std::int64_t> r = Fields(line);
    if (r[kStateBefore] != 2) continue;
    if (reached.insert({r[kCheckpointColumn], r[kCheckpointRow]}).second) {
      if (lastNew >= 0) longest = std::max(longest, iteration - lastNew);
      lastNew = iteration;
    }
    // A screen is 40 x 24 cells; a cell is 4096 units of position.
    const int column = static_cast<int>(r[kX] >> 12), row = static_cast<int>(r[kY] >> 12);
    long near = 0;
    for (int y = row - 12; y < row + 12; ++y)
      for (int x = column - 20; x < column + 20; ++x)
        if (world.Inside(x, y)) near += strength[static_cast<std::size_t>(y) * world.width + x];
    threat.push_back(near);
  }
  EXPECT_LE(longest, 3600);
  ASSERT_GE(threat.size(), 10u);
  auto mean = [&](std::size_t from, std::size_t to) {
    long sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += threat[i];
    return static_cast<double>(sum) / static_cast<double>(to - from);
  };
  const std::size_t n = threat.size();
  EXPECT_GT(mean(n / 2, n), mean(0, n / 2));
  for (int fifth = 0; fifth < 4; ++fifth) EXPECT_GT(mean(n * 4 / 5, n), mean(n * fifth / 5, n * (fifth + 1) / 5)) << fifth;
}

TEST_F(WinningRun, PicturesMatchTheStoredOnes) {
  for (const auto& [iteration, name] : Pictures()) {
    Surface picture;
    ASSERT_TRUE(testing::LoadPicture(At(name), picture)) << name;
    testing::ExpectMatchesStoredPicture(picture, name);
  }
}

}  // namespace
}  // namespace quorin
