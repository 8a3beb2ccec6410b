// quorin-sim run through whole games: the frame trace, pictures of play,
// the pause menu, the two closing scenes and worlds of the player's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/key_codes.h"
#include "runtime/png_codec.h"
#include "runtime/surface.h"
#include "tests/support/process.h"
#include "tests/support/stored_picture.h"
#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The trace fields, in the order of a trace line.
enum Field {
  kIteration, kGamesStarted, kStateBefore, kStateAfter, kFrameCounter,
  kDirX, kDirY, kButton1, kButton2, kButton1Pressed, kButton2Pressed, kEscapePressed,
  kX, kY, kVx, kVy, kState, kJumpsLeft, kHoverFuel, kHovering, kFiring, kFireTimer, kAimDir, kFacing, kAnim,
  kFallFrames, kInvulnerable, kGravity,
  kPower, kPowerLevel, kScore, kDisplayedScore, kBounces, kComboBonus, kFruitsFound, kSameBounceCount,
  kLastBounceVy, kHiScore, kMaxBounce, kHoverSoundOn,
  kCheckpointColumn, kCheckpointRow, kCameraX, kCameraY, kScreenOffsetX, kScreenOffsetY, kEnemyShotTimer,
  kEnemyShotReload,
  kSoundsStarted,
  kPlayerShots, kPlayerShotsHash, kParticles, kParticlesHash, kPickups, kPickupsHash, kEnemies, kEnemiesHash,
  kEnemyShots, kEnemyShotsHash, kFloatingTexts, kFloatingTextsHash,
  kDrawHash,
  kFieldCount
};
static_assert(kFieldCount == 62);

using TraceRow = std::vector<std::int64_t>;

struct Trace {
  std::vector<TraceRow> rows;
  // The row of an iteration; fails the test when it was not traced.
  const TraceRow& At(std::int64_t iteration) const {
    for (const TraceRow& r : rows) {
      if (r[kIteration] == iteration) return r;
    }
    ADD_FAILURE() << "iteration " << iteration << " is not in the trace";
    static const TraceRow empty(kFieldCount, 0);
    return empty;
  }
  // The first row matching pred, or null.
  template <class P>
  const TraceRow* First(P pred) const {
    for (const TraceRow& r : rows) {
      if (pred(r)) return &r;
    }
    return nullptr;
  }
};

// Every line must hold exactly 62 decimal integers.
Trace ReadTrace(const std::string& path) {
  Trace t;
  std::istringstream in(ReadFile(path));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    TraceRow row;
    for (std::int64_t v; words >> v;) row.push_back(v);
    EXPECT_TRUE(words.eof()) << "not a number in: " << line;
    EXPECT_EQ(row.size(), static_cast<std::size_t>(kFieldCount)) << line;
    row.resize(kFieldCount);
    t.rows.push_back(std::move(row));
  }
  return t;
}

bool SoundStarted(const TraceRow& r, int id) { return (r[kSoundsStarted] >> id) & 1; }

// --- input scripts -----------------------------------------------------------

std::string Down(int frame, int code) {
  return std::to_string(frame) + " key " + std::to_string(code) + " down\n";
}
std::string Up(int frame, int code) { return std::to_string(frame) + " key " + std::to_string(code) + " up\n"; }
// Held from one frame up to (not including) another.
std::string Hold(int from, int to, int code) { return Down(from, code) + Up(to, code); }
// The pointer onto a picture point of the default 768-pixel window, in two moves
// (entering the window only sets the reference).
std::string Mouse(int frame, int pictureX, int pictureY) {
  const std::string x = std::to_string(pictureX * 3 / 2);
  return std::to_string(frame) + " mouse " + x + " " + std::to_string(pictureY * 3 / 2 - 1) + "\n" +
         std::to_string(frame + 1) + " mouse " + x + " " + std::to_string(pictureY * 3 / 2) + "\n";
}
// Button 1 for one frame only, so that play does not see it held.
std::string Click(int frame) {
  return std::to_string(frame) + " button left down\n" + std::to_string(frame + 1) + " button left up\n";
}
// START on the title is chosen at iteration 4; iteration 5 is the first frame of play.
constexpr int kFirstPlayFrame = 5;
std::string StartGame() { return Mouse(1, 440, 226) + Click(4); }

// --- layouts -----------------------------------------------------------------

constexpr std::uint32_t Colour(int r, int g, int b) {
  return static_cast<std::uint32_t>(r | g << 8 | b << 16);
}
constexpr std::uint32_t kGreyRock = Colour(128, 128, 128);
constexpr std::uint32_t kBlueRock = Colour(128, 128, 192);
constexpr std::uint32_t kGreenRock = Colour(128, 192, 128);
constexpr std::uint32_t kPurpleRock = Colour(128, 32, 128);
constexpr std::uint32_t kStart = Colour(0, 255, 255);
constexpr std::uint32_t kCheckpoint = Colour(0, 255, 128);
constexpr std::uint32_t kHazard = Colour(127, 0, 0);
constexpr std::uint32_t kMonster1 = Colour(0, 0, 128);
constexpr std::uint32_t kMonster2 = Colour(0, 0, 144);
constexpr std::uint32_t kDecorationA = Colour(0, 96, 0);
constexpr std::uint32_t kDecorationB = Colour(0, 128, 0);
constexpr std::uint32_t kFruit = Colour(0, 192, 0);

// A small world larger than the view: a rock frame, a floor from row 20 down,
// the start at (8, 19). Unless the test places them itself, the eight fruits
// lie out of reach in a sealed pocket under the floor.
constexpr int kFloorRow = 20;
constexpr int kStartColumn = 8;

class Layout {
 public:
  explicit Layout(bool fruitsOutOfReach = true) : picture_(MakeSurface(64, 40, 0)) {
    Fill(0, 0, 63, 39, kGreyRock);
    Fill(1, 1, 62, kFloorRow - 1, 0);
    Set(kStartColumn, kFloorRow - 1, kStart);
    if (fruitsOutOfReach) {
      Fill(2, 24, 9, 26, 0);
      for (int c = 2; c <= 9; ++c) Set(c, 24, kFruit);
    }
  }
  void Set(int column, int row, std::uint32_t colour) { picture_.Row(row)[column] = colour; }
  void Fill(int c0, int r0, int c1, int r1, std::uint32_t colour) {
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) Set(c, r, colour);
    }
  }
  void Save(const std::string& path) const { ASSERT_TRUE(SavePng(picture_, path)); }

 private:
  Surface picture_;
};

// Walking room with something of everything to draw: rock of every kind,
// decorations, a checkpoint further right and a monster shut in a cage of rock.
Layout PlayWorld() {
  Layout l;
  l.Set(12, 19, kDecorationA);
  l.Set(13, 19, kDecorationA);
  l.Set(20, 19, kDecorationB);
  l.Set(28, 19, kCheckpoint);
  l.Fill(2, 10, 6, 10, kBlueRock);
  l.Fill(29, 8, 31, 9, kGreenRock);
  l.Fill(23, 12, 25, 14, kPurpleRock);
  l.Set(24, 13, kMonster2);
  l.Set(3, 11, kHazard);  // hangs under the blue ledge
  return l;
}

testing::CommandResult Sim(const std::string& args) { return testing::RunSim(args + " 2>stderr.txt"); }

// --- a game of walking, jumping, hovering and firing --------------------------

// The script of the play run, by iteration.
constexpr int kRightFrom = 20, kRightTo = 45;
constexpr int kJump = 55, kSecondJump = 63, kJumpHeldTo = 80;
constexpr int kFireFrom = 95, kFireTo = 120;
constexpr int kPlayFrames = 200;

// The last burst, up and to the left, is still in flight in the later picture.
std::string PlayScript() {
  return StartGame() + Hold(kRightFrom, kRightTo, kKeyRight) + Hold(kJump, kJump + 4, kKeyZ) +
         Hold(kSecondJump, kJumpHeldTo, kKeyZ) + Hold(kFireFrom, kFireTo, kKeyX) + Hold(150, 165, kKeyLeft) +
         Hold(160, 172, kKeyUp) + Hold(162, kPlayFrames, kKeyX);
}

// One run shared by the checks of this suite. A shot taken after iteration K
// shows the picture drawn in iteration K - 1.
class SimPlay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir(false);
    const std::string at = dir_->Path().string() + "/";
    PlayWorld().Save(at + "world.png");
    WriteFile(at + "script.txt", PlayScript());
    const std::string args = "run --frames " + std::to_string(kPlayFrames) + " --world " + at +
                             "world.png --input " + at + "script.txt --trace " + at + "trace.txt --shot " +
                             std::to_string(kFirstPlayFrame + 1) + ":" + at + "first.png --shot " +
                             std::to_string(kPlayFrames - 1) + ":" + at + "later.png";
    result_ = new testing::CommandResult(
        testing::RunCommand("cd " + at + " && " + QUORIN_SIM_PATH + " " + args + " 2>stderr.txt"));
    trace_ = new Trace(ReadTrace(at + "trace.txt"));
  }
  static void TearDownTestSuite() {
    delete trace_;
    delete result_;
    delete dir_;
  }
  static std::string File(const std::string& name) { return dir_->File(name); }

  static TempDir* dir_;
  static testing::CommandResult* result_;
  static Trace* trace_;
};
TempDir* SimPlay::dir_ = nullptr;
testing::CommandResult* SimPlay::result_ = nullptr;
Trace* SimPlay::trace_ = nullptr;

TEST_F(SimPlay, TracesEveryIterationFromTheFirstFrameOfPlay) {
  ASSERT_EQ(result_->code, 0) << ReadFile(File("stderr.txt"));
  EXPECT_EQ(result_->out, "frames=200 state=2 quit=0 windowed=1\n");
  ASSERT_EQ(trace_->rows.size(), static_cast<std::size_t>(kPlayFrames - kFirstPlayFrame));
  const TraceRow& first = trace_->rows.front();
  EXPECT_EQ(first[kIteration], kFirstPlayFrame);
  EXPECT_EQ(first[kGamesStarted], 1);
  EXPECT_EQ(first[kStateBefore], 2);
  EXPECT_EQ(first[kStateAfter], 2);
  EXPECT_EQ(first[kFrameCounter], 1);
  EXPECT_EQ(first[kCheckpointColumn], kStartColumn);
  EXPECT_EQ(first[kCheckpointRow], kFloorRow - 1);
  EXPECT_EQ(first[kEnemyShotReload], 800);
  EXPECT_EQ(first[kEnemies], 1);
  EXPECT_EQ(first[kPickups], 8);  // the fruits
  EXPECT_NE(first[kDrawHash], 0);
  for (std::size_t k = 1; k < trace_->rows.size(); ++k) {
    const TraceRow& r = trace_->rows[k];
    EXPECT_EQ(r[kIteration], trace_->rows[k - 1][kIteration] + 1);
    EXPECT_EQ(r[kFrameCounter], trace_->rows[k - 1][kFrameCounter] + 1);
    EXPECT_EQ(r[kGamesStarted], 1);
  }
}

TEST_F(SimPlay, HoldingRightAddsTheWalkAccelerationUpToTheLimitAndReleasingStops) {
  EXPECT_EQ(trace_->At(kRightFrom - 1)[kVx], 0);
  for (int k = 0; k < 17; ++k) {
    const TraceRow& r = trace_->At(kRightFrom + k);
    EXPECT_EQ(r[kDirX], 1);
    EXPECT_EQ(r[kVx], 72 * (k + 1)) << "iteration " << kRightFrom + k;
  }
  EXPECT_EQ(trace_->At(kRightFrom + 17)[kVx], 1280);
  EXPECT_EQ(trace_->At(kRightTo - 1)[kVx], 1280);
  EXPECT_EQ(trace_->At(kRightTo - 1)[kFacing], 0);
  EXPECT_EQ(trace_->At(kRightTo + 2)[kVx], 128);
  EXPECT_EQ(trace_->At(kRightTo + 3)[kVx], 0);
  EXPECT_GT(trace_->At(kRightTo + 3)[kX], trace_->At(kRightFrom)[kX]);
}

TEST_F(SimPlay, JumpThenDoubleJumpInTheAir) {
  const TraceRow& before = trace_->At(kJump - 1);
  EXPECT_EQ(before[kJumpsLeft], 2);
  EXPECT_EQ(before[kVy], 0);
  // The jump speed, then one frame of the lighter gravity while the button is held.
  const TraceRow& jump = trace_->At(kJump);
  EXPECT_EQ(jump[kButton1Pressed], 1);
  EXPECT_EQ(jump[kVy], -2047 + 110);
  EXPECT_EQ(jump[kJumpsLeft], 1);
  EXPECT_TRUE(SoundStarted(jump, 7));
  EXPECT_EQ(trace_->At(kJump + 1)[kVy], -2047 + 2 * 110);
  const TraceRow& second = trace_->At(kSecondJump);
  EXPECT_EQ(second[kJumpsLeft], 0);
  EXPECT_EQ(second[kVy], -2047 + 110);
  EXPECT_TRUE(SoundStarted(second, 7));
  EXPECT_LT(second[kY], before[kY]);
}

TEST_F(SimPlay, HoldingJumpAfterBothJumpsHoversOnTheFuel) {
  // Hover thrust comes with the held button once both jumps are used.
  const TraceRow& start = trace_->At(kSecondJump);
  EXPECT_EQ(start[kHovering], 1);
  EXPECT_EQ(start[kHoverFuel], 47);
  for (int k = kSecondJump + 1; k < kJumpHeldTo; ++k) {
    const TraceRow& r = trace_->At(k);
    EXPECT_EQ(r[kHovering], 1) << "iteration " << k;
    EXPECT_EQ(r[kHoverFuel], trace_->At(k - 1)[kHoverFuel] - 1) << "iteration " << k;
    EXPECT_EQ(r[kHoverSoundOn], 1) << "iteration " << k;
  }
  // The loop starts on the frame after the first hovering one, once.
  EXPECT_TRUE(SoundStarted(trace_->At(kSecondJump + 1), 6));
  EXPECT_FALSE(SoundStarted(trace_->At(kSecondJump + 2), 6));
  const TraceRow& after = trace_->At(kJumpHeldTo);
  EXPECT_EQ(after[kHovering], 0);
  EXPECT_EQ(trace_->At(kJumpHeldTo + 1)[kHoverSoundOn], 0);
}

TEST_F(SimPlay, FiringPutsShotsInTheListEveryEighthFrame) {
  EXPECT_EQ(trace_->At(kFireFrom - 1)[kPlayerShots], 0);
  int fired = 0;
  for (int k = kFireFrom; k < kFireTo; ++k) {
    const TraceRow& r = trace_->At(k);
    EXPECT_EQ(r[kFiring], 1);
    EXPECT_EQ(r[kAimDir], 0);  // facing right, no direction held
    if (SoundStarted(r, 13)) {
      ++fired;
      EXPECT_EQ(r[kFireTimer], 1) << "iteration " << k;
    }
  }
  EXPECT_EQ(fired, 4);  // frames 1, 9, 17 and 25 of the burst at power level 0
  EXPECT_GT(trace_->At(kFireFrom)[kPlayerShots], 0);
  EXPECT_NE(trace_->At(kFireFrom)[kPlayerShotsHash], trace_->At(kFireFrom + 1)[kPlayerShotsHash]);
  EXPECT_EQ(trace_->At(kFireTo)[kFiring], 0);
}

TEST_F(SimPlay, FirstFrameAndAFewSecondsOfPlayLookAsStored) {
  Surface first, later;
  ASSERT_TRUE(testing::LoadPicture(File("first.png"), first));
  ASSERT_TRUE(testing::LoadPicture(File("later.png"), later));
  testing::ExpectMatchesStoredPicture(first, "sim_play_first.png");
  testing::ExpectMatchesStoredPicture(later, "sim_play_later.png");
}

TEST_F(SimPlay, TheSameRunTracesTheSameFile) {
  TempDir dir;
  PlayWorld().Save("world.png");
  WriteFile("script.txt", PlayScript());
  ASSERT_EQ(Sim("run --frames " + std::to_string(kPlayFrames) +
                " --world world.png --input script.txt --trace again.txt")
                .code,
            0);
  const std::string again = ReadFile("again.txt");
  EXPECT_FALSE(again.empty());
  EXPECT_TRUE(again == ReadFile(File("trace.txt")));
}

// Without --world a new game is made from the built-in layout.
TEST(SimBuiltInWorld, ANewGameStartsOnItsStartMarkerWithEveryMonsterAndFruit) {
  TempDir dir;
  WriteFile("script.txt", StartGame());
  const testing::CommandResult r = Sim("run --frames 8 --input script.txt --trace trace.txt");
  ASSERT_EQ(r.code, 0) << ReadFile("stderr.txt");
  const Trace t = ReadTrace("trace.txt");
  ASSERT_EQ(t.rows.size(), 3u);
  const TraceRow& first = t.rows.front();
  EXPECT_EQ(first[kIteration], kFirstPlayFrame);
  EXPECT_EQ(first[kCheckpointColumn], 305);
  EXPECT_EQ(first[kCheckpointRow], 157);
  EXPECT_EQ(first[kX], 305 * 4096 + 2048);
  EXPECT_EQ(first[kEnemies], 2768);
  EXPECT_EQ(first[kPickups], 8);
}

// --- the pause menu ------------------------------------------------------------

TEST(SimPause, EscapeAndTheResumeEntryContinueTheSameGame) {
  TempDir dir;
  PlayWorld().Save("world.png");
  constexpr int kPause = 40, kResume = 64, kPauseAgain = 80, kEscapeResume = 90;
  WriteFile("script.txt", StartGame() + Hold(20, 120, kKeyRight) + Hold(kPause, kPause + 2, kKeyEscape) +
                              Mouse(kResume - 6, 256, 178) + Click(kResume) +
                              Hold(kPauseAgain, kPauseAgain + 2, kKeyEscape) +
                              Hold(kEscapeResume, kEscapeResume + 2, kKeyEscape));
  const testing::CommandResult r = Sim("run --frames 100 --world world.png --input script.txt --trace trace.txt");
  ASSERT_EQ(r.code, 0) << ReadFile("stderr.txt");
  EXPECT_EQ(r.out, "frames=100 state=2 quit=0 windowed=1\n");
  const Trace t = ReadTrace("trace.txt");

  // Escape still plays its own frame to the end.
  const TraceRow& escape = t.At(kPause);
  EXPECT_EQ(escape[kStateBefore], 2);
  EXPECT_EQ(escape[kStateAfter], 3);
  EXPECT_EQ(escape[kFrameCounter], t.At(kPause - 1)[kFrameCounter] + 1);
  EXPECT_GT(escape[kX], t.At(kPause - 1)[kX]);
  EXPECT_EQ(escape[kVx], 1280);
  for (int k = kPause + 1; k <= kResume; ++k) {
    const TraceRow& paused = t.At(k);
    EXPECT_EQ(paused[kStateBefore], 3) << "iteration " << k;
    for (const Field f : {kFrameCounter, kX, kY, kVx, kVy, kScore, kPickupsHash, kEnemiesHash, kParticlesHash,
                          kCameraX, kCameraY}) {
      EXPECT_EQ(paused[f], escape[f]) << "field " << f << " at iteration " << k;
    }
  }
  EXPECT_EQ(t.At(kResume)[kStateAfter], 2);
  // The first frame after RESUME GAME goes on from where the game stopped.
  const TraceRow& resumed = t.At(kResume + 1);
  EXPECT_EQ(resumed[kStateBefore], 2);
  EXPECT_EQ(resumed[kGamesStarted], 1);
  EXPECT_EQ(resumed[kFrameCounter], escape[kFrameCounter] + 1);
  EXPECT_EQ(resumed[kX], escape[kX] + 1280);

  EXPECT_EQ(t.At(kPauseAgain)[kStateAfter], 3);
  EXPECT_EQ(t.At(kEscapeResume)[kStateBefore], 3);
  EXPECT_EQ(t.At(kEscapeResume)[kStateAfter], 2);
  EXPECT_EQ(t.At(kEscapeResume + 1)[kFrameCounter], t.At(kPauseAgain)[kFrameCounter] + 1);
  EXPECT_EQ(t.rows.back()[kGamesStarted], 1);
}

// EXIT TO MAIN MENU clicked in the same frame as Escape, on the built-in world.
TEST(SimPause, ExitToTheTitleWithEscapeInTheSameFrameEndsOnTheTitle) {
  TempDir dir;
  WriteFile("script.txt", "1 mouse 660 338\n2 mouse 660 339\n4 button left down\n5 button left up\n"
                          "60 key 1 down\n61 key 1 up\n70 mouse 385 303\n71 mouse 385 304\n"
                          "80 button left down\n80 key 1 down\n81 button left up\n81 key 1 up\n");
  const testing::CommandResult r = Sim("run --frames 100 --input script.txt --trace trace.txt");
  ASSERT_EQ(r.code, 0) << ReadFile("stderr.txt");
  EXPECT_EQ(r.out, "frames=100 state=0 quit=0 windowed=1\n");
  const Trace t = ReadTrace("trace.txt");
  const TraceRow& exit = t.At(80);
  EXPECT_EQ(exit[kStateBefore], 3);
  EXPECT_EQ(exit[kStateAfter], 0);
  EXPECT_TRUE(SoundStarted(exit, 5));
  EXPECT_EQ(t.rows.back()[kIteration], 80);  // the title is not traced
}

// --- the closing scenes ----------------------------------------------------------

// A kind-1 monster in a low tunnel right of the start, where the hero's shots
// fly; a standing hazard to the left.
Layout GameOverWorld() {
  Layout l;
  l.Fill(12, kFloorRow - 2, 25, kFloorRow - 2, kGreyRock);
  l.Set(25, kFloorRow - 1, kGreyRock);
  l.Set(16, kFloorRow - 1, kMonster1);
  l.Set(3, kFloorRow - 1, kHazard);
  return l;
}

TEST(SimClosing, ShootingAMonsterThenLosingKeepsItsTenPointsAsTheHighScore) {
  TempDir dir;
  GameOverWorld().Save("world.png");
  constexpr int kQuit = 260;
  WriteFile("script.txt", StartGame() + Hold(10, 40, kKeyX) + Hold(50, 90, kKeyLeft) + Hold(200, 202, kKeyZ) +
                              Hold(kQuit, kQuit + 2, kKeyEscape));
  const testing::CommandResult r = Sim("run --frames 400 --world world.png --input script.txt --trace trace.txt");
  ASSERT_EQ(r.code, 0) << ReadFile("stderr.txt");
  EXPECT_EQ(r.out, "frames=" + std::to_string(kQuit + 1) + " state=0 quit=1 windowed=1\n");
  const Trace t = ReadTrace("trace.txt");

  const TraceRow* kill = t.First([](const TraceRow& row) { return row[kEnemies] == 0; });
  ASSERT_NE(kill, nullptr);
  EXPECT_EQ((*kill)[kScore], 10);
  EXPECT_TRUE(SoundStarted(*kill, 9));
  EXPECT_EQ((*kill)[kStateAfter], 2);

  const TraceRow* over = t.First([](const TraceRow& row) { return row[kStateAfter] == 4; });
  ASSERT_NE(over, nullptr);
  EXPECT_EQ((*over)[kStateBefore], 2);
  EXPECT_EQ((*over)[kPower], 0);
  EXPECT_EQ((*over)[kScore], 10);
  EXPECT_EQ((*over)[kDisplayedScore], 10);
  EXPECT_TRUE(SoundStarted(*over, 3));
  EXPECT_GT((*over)[kIteration], 50);

  const TraceRow& leave = t.At(200);
  EXPECT_EQ(leave[kStateBefore], 4);
  EXPECT_EQ(leave[kStateAfter], 0);
  EXPECT_EQ(leave[kHiScore], 10);
  EXPECT_TRUE(SoundStarted(leave, 5));
  EXPECT_EQ(t.rows.back()[kIteration], 200);  // the title is not traced
  EXPECT_EQ(ReadFile("Quorin.cfg"),
            "AudioVolume = 3\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 10\r\nMaxBounce = 0\r\n");
}

// The first shot is still flying down the tunnel when the hero, walking on,
// meets the hazard beside the start.
Layout ShotInFlightWorld() {
  Layout l;
  l.Fill(12, kFloorRow - 2, 26, kFloorRow - 2, kGreyRock);
  l.Set(26, kFloorRow - 1, kGreyRock);
  l.Set(20, kFloorRow - 1, kMonster1);
  l.Set(10, kFloorRow - 1, kHazard);
  return l;
}

TEST(SimClosing, PointsScoredDuringGameOverShowAtOnce) {
  TempDir dir;
  ShotInFlightWorld().Save("world.png");
  WriteFile("script.txt", StartGame() + Hold(10, 14, kKeyX) + Down(12, kKeyRight));
  const testing::CommandResult r = Sim("run --frames 100 --world world.png --input script.txt --trace trace.txt");
  ASSERT_EQ(r.code, 0) << ReadFile("stderr.txt");
  const Trace t = ReadTrace("trace.txt");
  const TraceRow* over = t.First([](const TraceRow& row) { return row[kStateAfter] == 4; });
  ASSERT_NE(over, nullptr);
  EXPECT_EQ((*over)[kScore], 0);
  const TraceRow* kill = t.First([](const TraceRow& row) { return row[kEnemies] == 0; });
  ASSERT_NE(kill, nullptr);
  EXPECT_EQ((*kill)[kStateBefore], 4);
  EXPECT_EQ((*kill)[kScore], 10);
  for (const TraceRow& row : t.rows) {
    if (row[kStateBefore] != 4) continue;
    EXPECT_EQ(row[kDisplayedScore], row[kScore]) << "iteration " << row[kIteration];
  }
}

// The eight fruits in a row on the way right, a cell and a half above the floor.
Layout FruitWorld() {
  Layout l(false);
  for (int c = 12; c <= 19; ++c) l.Set(c, kFloorRow - 2, kFruit);
  l.Set(22, kFloorRow - 1, kDecorationB);
  return l;
}

TEST(SimClosing, EightFruitsSaveThePlanet) {
  TempDir dir;
  FruitWorld().Save("world.png");
  constexpr int kShot = 180;
  WriteFile("script.txt", StartGame() + Hold(10, 60, kKeyRight) + Hold(kShot + 10, kShot + 12, kKeyEscape));
  const testing::CommandResult r = Sim("run --frames 200 --world world.png --input script.txt --trace trace.txt "
                                       "--shot " + std::to_string(kShot) + ":saved.png");
  ASSERT_EQ(r.code, 0) << ReadFile("stderr.txt");
  EXPECT_EQ(r.out, "frames=200 state=0 quit=0 windowed=1\n");
  const Trace t = ReadTrace("trace.txt");

  const TraceRow* saved = t.First([](const TraceRow& row) { return row[kStateAfter] == 5; });
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ((*saved)[kStateBefore], 2);
  EXPECT_EQ((*saved)[kFruitsFound], 8);
  EXPECT_EQ((*saved)[kScore], 128 * (1 + 2 + 3 + 4 + 5 + 6 + 7 + 8));
  EXPECT_EQ((*saved)[kDisplayedScore], 4608);
  EXPECT_EQ((*saved)[kPickups], 0);
  EXPECT_TRUE(SoundStarted(*saved, 0));
  EXPECT_TRUE(SoundStarted(*saved, 2));
  const TraceRow& scene = t.At(kShot);
  EXPECT_EQ(scene[kStateBefore], 5);
  EXPECT_EQ(scene[kState], 99);
  const TraceRow& leave = t.At(kShot + 10);
  EXPECT_EQ(leave[kStateAfter], 0);
  EXPECT_EQ(leave[kHiScore], 4608);

  Surface picture;
  ASSERT_TRUE(testing::LoadPicture("saved.png", picture));
  testing::ExpectMatchesStoredPicture(picture, "sim_planet_saved.png");
}

// --- worlds of the player's own -----------------------------------------------------

TEST(SimWorld, RefusesAFileThatIsNotALayoutAndStartsNothing) {
  TempDir dir;
  WriteFile("notes.png", "these are words, not pixels\n");
  testing::CommandResult r = Sim("run --frames 10 --world notes.png");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadFile("stderr.txt"), "Error: notes.png is not a PNG image\n");
  EXPECT_FALSE(std::filesystem::exists("Quorin.cfg"));

  r = Sim("run --frames 10 --world missing.png");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(ReadFile("stderr.txt").rfind("Error: ", 0), 0u);
}

TEST(SimWorld, RefusesALayoutBreakingALimitWithTheReason) {
  TempDir dir;
  Layout seven;
  seven.Set(9, 24, 0);  // one fruit short
  seven.Save("seven.png");
  const testing::CommandResult r = Sim("run --frames 10 --world seven.png");
  EXPECT_EQ(r.code, 1);
  const std::string error = ReadFile("stderr.txt");
  EXPECT_EQ(error.rfind("Error: seven.png: ", 0), 0u) << error;
  EXPECT_NE(error.find("fruit"), std::string::npos) << error;
  EXPECT_EQ(error.back(), '\n');
  EXPECT_FALSE(std::filesystem::exists("Quorin.cfg"));

  // The same world with its eighth fruit plays.
  Layout eight;
  eight.Save("eight.png");
  EXPECT_EQ(Sim("run --frames 10 --world eight.png").code, 0);
}

}  // namespace
}  // namespace quorin
