// quorin --record, --replay and --world: the real game in a real X window
// (Xvfb) played with xdotool while it records, its recording played again by
// quorin-sim (the same pictures, the same user file); a recorded run played
// back in the window; a world of one's own; a world that cannot be played.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "runtime/png_codec.h"
#include "runtime/surface.h"
#include "tests/support/game_window.h"
#include "tests/support/process.h"
#include "tests/support/stored_picture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ReadFile;
using testing::WriteFile;

const std::string kSource = QUORIN_SOURCE_DIR;
const std::string kLittleCave = kSource + "/examples/worlds/little-cave.png";
// A window of the picture's own width: drawn 1:1, the window shows exactly
// quorin-sim's picture (scaled, SDL's and our stretch differ in the last bit).
const std::string kEngineIni = "Windowwidth = 512\n";
// Bests the runs below must leave alone (or keep, for quorin-sim too).
const std::string kUserFile =
    "AudioVolume = 2\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 777\r\nMaxBounce = 3\r\n";
// Trace fields read here (their place on a trace line).
constexpr int kStateBefore = 2, kStateAfter = 3, kButton1Pressed = 9, kButton2Pressed = 10;
constexpr int kKeyF12 = 88;

std::vector<long long> Fields(const std::string& line) {
  std::istringstream words(line);
  std::vector<long long> row;
  for (long long v; words >> v;) row.push_back(v);
  return row;
}

std::vector<std::vector<long long>> TraceRows(const std::string& path) {
  std::istringstream in(ReadFile(path));
  std::vector<std::vector<long long>> rows;
  for (std::string line; std::getline(in, line);) rows.push_back(Fields(line));
  return rows;
}

// The frames of a script's "key CODE down" lines.
std::vector<long long> KeyDownFrames(const std::string& script, int code) {
  std::istringstream in(script);
  std::vector<long long> frames;
  const std::string wanted = " key " + std::to_string(code) + " down";
  for (std::string line; std::getline(in, line);) {
    const std::size_t at = line.find(wanted);
    if (at != std::string::npos && at + wanted.size() == line.size())
      frames.push_back(std::stoll(line.substr(0, at)));
  }
  return frames;
}

std::vector<fs::path> Screenshots(const fs::path& folder) {
  std::vector<fs::path> shots;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) shots.push_back(entry.path());
  return shots;
}

// Pixels whose colour differs; -1 when the sizes differ or a file is unreadable.
long long DifferingPixels(const std::string& a, const std::string& b) {
  Surface x, y;
  if (!testing::LoadPicture(a, x) || !testing::LoadPicture(b, y) || x.width != y.width ||
      x.height != y.height) {
    return -1;
  }
  long long differing = 0;
  for (std::size_t k = 0; k < x.pixels.size(); ++k) {
    differing += (x.pixels[k] & kPixelRgbMask) != (y.pixels[k] & kPixelRgbMask) ? 1 : 0;
  }
  return differing;
}

bool SanitizedBuild() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return false;
#endif
}

// The game in an X server of the test's own, recording what xdotool does.
class RealWindowRecording : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveTool("Xvfb") || !testing::HaveTool("xdotool")) {
      GTEST_SKIP() << "Xvfb or xdotool missing (./check installs them)";
    }
    xserver.emplace(std::vector<std::string>{"1920x1080x24"});
    ASSERT_FALSE(xserver->display.empty()) << "Xvfb did not start";
    WriteFile("engine.ini", kEngineIni);
    WriteFile("Quorin.cfg", kUserFile);
  }
  void TearDown() override {
    if (game > 0) testing::WaitFor(game, 1ms);
    xserver.reset();
  }

  std::string X(const std::string& command) { return xserver->Run(command); }
  // The game reads the keyboard once a frame: a key is held for many frames.
  void Hold(const std::string& key, std::chrono::milliseconds time) {
    X("xdotool keydown " + key);
    std::this_thread::sleep_for(time);
    X("xdotool keyup " + key);
    std::this_thread::sleep_for(200ms);
  }
  void Tap(const std::string& key) { Hold(key, 300ms); }

  // START on the title (picture 440, 225): the pointer onto it, then a click.
  void ClickStart(const std::string& id) {
    X("xdotool mousemove --window " + id + " 436 225");
    std::this_thread::sleep_for(300ms);
    X("xdotool mousemove --window " + id + " 440 225");
    std::this_thread::sleep_for(400ms);
    X("xdotool click 1");
    std::this_thread::sleep_for(500ms);
  }

  // The software renderer draws the scaled picture as quorin-sim does.
  std::string Start(const std::vector<std::string>& options) {
    return testing::StartGameWindow(*xserver, game, options, {"SDL_RENDER_DRIVER=software"});
  }
  int WaitForExit() {
    const int code = testing::WaitFor(game, 20s);
    game = -1;
    return code;
  }

  // Plays the recording with quorin-sim in a folder of its own, from the same
  // user file, with a shot after the iteration F12 went down in; the trace
  // and the shot land there.
  testing::CommandResult Replay(const std::string& world, long long shotAt, long long frames = 200000) {
    fs::create_directory("sim");
    WriteFile("sim/engine.ini", kEngineIni);
    WriteFile("sim/Quorin.cfg", kUserFile);
    const std::string options = world.empty() ? "" : " --world " + world;
    return testing::RunCommand("cd sim && " + std::string(QUORIN_SIM_PATH) + " run --frames " +
                               std::to_string(frames) + " --input ../run.txt" + options +
                               " --trace trace.txt --shot " + std::to_string(shotAt) + ":shot.png");
  }

  // The live screenshot and quorin-sim's shot of the same iteration.
  void ExpectTheSameScreenshot(long long shotAt) {
    const std::vector<fs::path> shots = Screenshots("screenshots");
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(DifferingPixels(shots[0].string(), "sim/shot.png"), 0) << "iteration " << shotAt;
  }

  std::optional<testing::XServer> xserver;
  pid_t game = -1;
  testing::TempDir dir;
};

// Start a game, run, jump, fire, a screenshot, pause, resume, quit with
// Alt+F4: quorin-sim plays the recording to the same picture and the same
// user file, and the trace shows every one of those.
TEST_F(RealWindowRecording, QuorinSimPlaysARecordedGameTheSame) {
  const std::string id = Start({"--record", "run.txt"});
  ASSERT_FALSE(id.empty());
  ClickStart(id);
  X("xdotool keydown Right");
  std::this_thread::sleep_for(700ms);
  Tap("z");
  Hold("x", 600ms);
  X("xdotool keyup Right");
  Tap("z");
  Tap("x");
  std::this_thread::sleep_for(300ms);
  Tap("F12");
  Tap("Escape");
  std::this_thread::sleep_for(500ms);
  Tap("Escape");
  Hold("Left", 500ms);
  X("xdotool keydown Alt_L");
  std::this_thread::sleep_for(300ms);
  Tap("F4");
  X("xdotool keyup Alt_L");
  ASSERT_EQ(WaitForExit(), 0) << ReadFile("game-errors.txt");

  const std::string recorded = ReadFile("run.txt");
  const std::vector<long long> f12 = KeyDownFrames(recorded, kKeyF12);
  ASSERT_EQ(f12.size(), 1u) << recorded;
  const testing::CommandResult sim = Replay("", f12[0]);
  ASSERT_EQ(sim.code, 0);
  EXPECT_NE(sim.out.find(" quit=1 "), std::string::npos) << sim.out;
  EXPECT_EQ(ReadFile("sim/Quorin.cfg"), ReadFile("Quorin.cfg"));
  ExpectTheSameScreenshot(f12[0]);

  bool jumped = false, fired = false, paused = false, resumed = false;
  for (const std::vector<long long>& r : TraceRows("sim/trace.txt")) {
    jumped = jumped || (r[kStateBefore] == 2 && r[kButton1Pressed] == 1);
    fired = fired || (r[kStateBefore] == 2 && r[kButton2Pressed] == 1);
    paused = paused || r[kStateBefore] == 3;
    resumed = resumed || (paused && r[kStateBefore] == 2);
  }
  EXPECT_TRUE(jumped && fired && paused && resumed) << recorded;
}

// The little cave with --world, recorded: running right takes the eight
// fruits, the planet is saved, Escape ends the scene and quits; the
// bests in the user file are the built-in world's still, and quorin-sim plays
// the recording on the same world to the same scene and the same file.
TEST_F(RealWindowRecording, TheExampleWorldIsPlayedToThePlanetSavedAndItsBestsAreNotKept) {
  const std::string id = Start({"--world", kLittleCave, "--record", "run.txt"});
  ASSERT_FALSE(id.empty());
  ClickStart(id);
  // The eighth fruit comes two seconds in; the scene lasts sixteen.
  Hold("Right", 5000ms);
  Tap("F12");
  // Escape ends the scene at once, and quits from the title.
  std::this_thread::sleep_for(1000ms);
  Tap("Escape");
  std::this_thread::sleep_for(500ms);
  Tap("Escape");
  ASSERT_EQ(WaitForExit(), 0) << ReadFile("game-errors.txt");
  EXPECT_EQ(ReadFile("Quorin.cfg"), kUserFile);

  const std::string recorded = ReadFile("run.txt");
  EXPECT_NE(recorded.find("# world: --world " + kLittleCave + "\n"), std::string::npos) << recorded;
  const std::vector<long long> f12 = KeyDownFrames(recorded, kKeyF12);
  ASSERT_EQ(f12.size(), 1u) << recorded;
  const testing::CommandResult sim = Replay(kLittleCave, f12[0]);
  ASSERT_EQ(sim.code, 0);
  EXPECT_NE(sim.out.find(" state=0 quit=1 "), std::string::npos) << sim.out;
  EXPECT_EQ(ReadFile("sim/Quorin.cfg"), kUserFile);
  ExpectTheSameScreenshot(f12[0]);
  long long savedAt = -1;
  for (const std::vector<long long>& r : TraceRows("sim/trace.txt")) {
    if (savedAt < 0 && r[kStateBefore] == 2 && r[kStateAfter] == 5) savedAt = r[0];
  }
  EXPECT_GE(savedAt, 0) << "the planet is never saved";
  EXPECT_LT(savedAt, f12[0]) << "the screenshot is not of the scene";
}

// The file is written as the game goes: a game killed in play leaves a
// whole recording, which quorin-sim plays.
TEST_F(RealWindowRecording, AKilledGameLeavesAWholeRecording) {
  const std::string id = Start({"--record", "run.txt"});
  ASSERT_FALSE(id.empty());
  ClickStart(id);
  Hold("Right", 1000ms);
  ::kill(game, SIGKILL);
  testing::WaitFor(game, 5s);
  game = -1;
  const std::string recorded = ReadFile("run.txt");
  ASSERT_FALSE(recorded.empty());
  EXPECT_EQ(recorded.back(), '\n');
  EXPECT_NE(recorded.find(" key 205 up\n"), std::string::npos) << recorded;
  // Past the last event (the release of Right): the hero stands in play.
  const std::size_t last = recorded.rfind('\n', recorded.size() - 2);
  const long long frames = std::stoll(recorded.substr(last + 1)) + 100;
  const testing::CommandResult sim = Replay("", 0, frames);
  EXPECT_EQ(sim.code, 0);
  EXPECT_NE(sim.out.find("frames=" + std::to_string(frames) + " state=2 quit=0 "), std::string::npos)
      << sim.out;
}

// A replay takes nothing from the devices: F12 in play takes no shot (nor
// does Escape pause), Alt+F4 ends it; with nothing to play, Escape on the
// title ends it. The user file stays.
TEST_F(RealWindowRecording, AReplayIgnoresTheDevicesButForTheWaysOut) {
  WriteFile("run.txt", "1 mouse 440 225\n2 mouse 440 226\n4 button left down\n5 button left up\n");
  std::string id = Start({"--replay", "run.txt"});
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(500ms);
  Tap("F12");
  Tap("Escape");
  X("xdotool keydown Alt_L");
  std::this_thread::sleep_for(300ms);
  Tap("F4");
  X("xdotool keyup Alt_L");
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_FALSE(fs::exists("screenshots"));

  WriteFile("run.txt", "");
  id = Start({"--replay", "run.txt"});
  ASSERT_FALSE(id.empty());
  Tap("Escape");
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_EQ(ReadFile("Quorin.cfg"), kUserFile);
}

// The bot's winning run played back in the window on the real clock (about
// seven minutes), F12 added to it at the iteration of the stored
// planet-saved picture: the screenshot is quorin-sim's picture of that
// iteration in the same window, whose picture in the default window is the
// stored one; the run quits from the title by itself, and the user file is
// left as it was.
TEST(RealWindowReplay, TheWinningRunReachesThePlanetSavedInTheWindow) {
  if (SanitizedBuild()) GTEST_SKIP() << "seven minutes of real time: the release suite plays it";
  if (!testing::HaveTool("Xvfb")) GTEST_SKIP() << "Xvfb missing (./check installs it)";
  const std::string data = kSource + "/tests/data/";
  // The stored trace keeps one line from inside the scene: the picture's.
  long long pictured = -1;
  {
    std::istringstream in(ReadFile(data + "winning_run_trace.txt"));
    for (std::string line; std::getline(in, line);) {
      const std::vector<long long> r = Fields(line);
      if (r.size() > kStateAfter && r[kStateBefore] == 5 && r[kStateAfter] == 5) pictured = r[0];
    }
  }
  ASSERT_GE(pictured, 0) << "no stored trace line inside the planet-saved scene";
  testing::TempDir dir;
  testing::XServer xserver({"1920x1080x24"});
  ASSERT_FALSE(xserver.display.empty()) << "Xvfb did not start";
  WriteFile("engine.ini", kEngineIni);
  WriteFile("Quorin.cfg", kUserFile);
  // The run clicks START of the default window, 768 pixels wide: the same
  // place in this one. F12 in the iteration after the pictured one: its shot
  // is the picture drawn in that one.
  const std::string shotAt = std::to_string(pictured + 1);
  std::string run;
  {
    std::istringstream in(ReadFile(data + "winning_run.txt"));
    for (std::string line; std::getline(in, line);) {
      long long frame = 0, x = 0, y = 0;
      char word[8] = {};
      if (std::sscanf(line.c_str(), "%lld %7s %lld %lld", &frame, word, &x, &y) == 4 &&
          std::string(word) == "mouse") {
        line = std::to_string(frame) + " mouse " + std::to_string(x * 512 / 768) + " " +
               std::to_string(y * 512 / 768);
      }
      run += line + "\n";
    }
  }
  WriteFile("run.txt", run + shotAt + " key 88 down\n" + std::to_string(pictured + 3) + " key 88 up\n");
  const pid_t game = testing::Spawn({QUORIN_GAME_PATH, "--replay", "run.txt"},
                                    {"DISPLAY=" + xserver.display, "SDL_AUDIODRIVER=dummy",
                                     "SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software"},
                                    "game-errors.txt");
  // quorin-sim meanwhile: the same window, and the default one.
  for (const char* folder : {"sim", "default"}) {
    fs::create_directory(folder);
    WriteFile(std::string(folder) + "/Quorin.cfg", kUserFile);
  }
  WriteFile("sim/engine.ini", kEngineIni);
  for (const std::string& input : {std::string("../run.txt"), data + "winning_run.txt"}) {
    const std::string folder = input == "../run.txt" ? "sim" : "default";
    const testing::CommandResult sim =
        testing::RunCommand("cd " + folder + " && " + QUORIN_SIM_PATH + " run --frames 30000 --input " +
                            input + " --shot " + shotAt + ":shot.png");
    EXPECT_NE(sim.out.find(" state=0 quit=1 "), std::string::npos) << folder << ": " << sim.out;
  }
  EXPECT_EQ(DifferingPixels("default/shot.png", data + "winning_run_planet_saved.png"), 0);

  ASSERT_EQ(testing::WaitFor(game, 20min), 0) << ReadFile("game-errors.txt");
  EXPECT_EQ(ReadFile("Quorin.cfg"), kUserFile);
  const std::vector<fs::path> shots = Screenshots("screenshots");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(DifferingPixels(shots[0].string(), "sim/shot.png"), 0);
}

// A world with one pixel of a colour outside the code: the game's error
// message names the pixel and the rule (on the dummy video driver the message
// goes to the error stream), the game ends at once and writes nothing.
TEST(BrokenWorld, IsRefusedWithTheReasonAndNothingIsWritten) {
  testing::TempDir dir;
  Surface layout;
  ASSERT_TRUE(testing::LoadPicture(kLittleCave, layout));
  layout.Row(7)[12] = 0x030201;  // red 1, green 2, blue 3
  ASSERT_TRUE(SavePng(layout, "broken.png"));
  WriteFile("text.png", "a cave\n");
  // A headless driver: the text goes to stderr, with no box tried (SDL's X11
  // box forks, which once hung the sanitizer build in a full run).
  // SDL's own allocations there are not ours to check.
  auto game = [](const std::string& options) {
    return testing::RunCommand(
        "env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 " +
        std::string(QUORIN_GAME_PATH) + " " + options + " 2>&1");
  };
  const testing::CommandResult run = game("--world broken.png");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out,
            "Error: broken.png: colour (1, 2, 3) at column 12, row 7 is not one of the fifteen layout "
            "colours\n");
  // Not an image at all, and no file.
  EXPECT_EQ(game("--world text.png").out, "Error: text.png is not a PNG image\n");
  EXPECT_EQ(game("--replay none.txt").out, "Error: cannot read none.txt\n");
  EXPECT_FALSE(fs::exists("Quorin.cfg"));
}

}  // namespace
}  // namespace quorin
