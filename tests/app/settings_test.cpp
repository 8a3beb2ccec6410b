#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/startup.h"
#include "tests/support/temp_dir.h"
#include "world/generation.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

Game Started() {
  Game game;
  CreateContainers(game);
  ReadEngineSettings(game);
  game.settings.AudioVolume = 3;
  return game;
}

Game ReadWith(const std::string& engineIni) {
  WriteFile("engine.ini", engineIni);
  return Started();
}

TEST(EngineSettings, MissingFileGivesEveryDefault) {
  TempDir dir;
  const Game game = Started();
  const Settings& s = game.settings;
  for (const EngineKey& k : EngineKeys()) {
    if (k.floatField) EXPECT_EQ(s.*k.floatField, k.fallback) << k.key;
    else EXPECT_EQ(s.*k.intField, static_cast<std::int32_t>(k.fallback)) << k.key;
  }
  EXPECT_EQ(EngineKeys().size(), 27u);
  EXPECT_EQ(s.Cursorspeed, 6.0f);
  EXPECT_EQ(s.FullscreenMouseSpeed, 0.8f);
  EXPECT_EQ(s.Key1, 44);
  EXPECT_EQ(s.KeyDown, 208);
  EXPECT_EQ(s.Windowwidth, 768);
  EXPECT_EQ(s.InternalAspect, 2);
  EXPECT_EQ(s.JoystickButtons, 16);
  EXPECT_EQ(s.Windowed, 1);
  EXPECT_EQ(s.userFilePath, "Quorin.cfg");
}

TEST(EngineSettings, LineFormsReadAsAPlayerExpects) {
  TempDir dir;
  struct Case {
    const char* ini;
    std::int32_t Settings::*field;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"windowed=0\n", &Settings::Windowed, 0},
      {"WINDOWED = 0\n", &Settings::Windowed, 0},
      {" \t Windowed \t = \t 0 \t \n", &Settings::Windowed, 0},
      {"Windowed =\n", &Settings::Windowed, 0},
      {"Vsync\n", &Settings::Vsync, 0},
      {"Key1 = 16\nKey2 = 3\nKey1 = 30\n", &Settings::Key1, 16},
      {"[Display]\nVsync = 0\n", &Settings::Vsync, 1},
      {"Vsync = 2\n[Display]\nVsync = 0\n", &Settings::Vsync, 2},
      {"\xEF\xBB\xBFWindowed = 0\r\n", &Settings::Windowed, 0},
      {"Windowwidth = 0x400\n", &Settings::Windowwidth, 0},
      {"Windowwidth = $400\n", &Settings::Windowwidth, 0},
      {"Windowwidth = 1024 ; wide\n", &Settings::Windowwidth, 1024},
  };
  for (const Case& c : cases) {
    const Game game = ReadWith(c.ini);
    EXPECT_EQ(game.settings.*c.field, c.expected) << c.ini;
  }
  EXPECT_EQ(ReadWith("Cursorspeed = 2.5\n").settings.Cursorspeed, 2.5f);
  EXPECT_EQ(ReadWith("Cursorspeed = abc\n").settings.Cursorspeed, 0.0f);
  EXPECT_EQ(ReadWith("Cursorspeed = inf\n").settings.Cursorspeed, 0.0f);
}

TEST(EngineSettings, FullScreenSizeIsCopiedToTheScreenSize) {
  TempDir dir;
  const Game game = ReadWith("Fullscreenwidth = 1280\nFullscreenheight = 0\n");
  EXPECT_EQ(game.shell.screenWidth, 1280);
  EXPECT_EQ(game.shell.screenHeight, 0);
}

TEST(UserSettings, MissingFileGivesDefaultsFromEngineSettings) {
  TempDir dir;
  Game game = ReadWith("Windowed = 0\nBilinearFiltering = 0\n");
  LoadUserSettings(game);
  EXPECT_EQ(game.options.volumeChoice, 3);
  EXPECT_EQ(game.settings.AudioVolume, 3);
  EXPECT_EQ(game.settings.Windowed, 0);
  EXPECT_EQ(game.options.windowedChoice, 0);
  EXPECT_EQ(game.settings.BilinearFiltering, 0);
  EXPECT_EQ(game.options.HiScore, 0);
  EXPECT_FALSE(fs::exists("Quorin.cfg"));  // loading never writes
}

TEST(UserSettings, ValuesAreReadAsTextThenNumbers) {
  TempDir dir;
  WriteFile("Quorin.cfg", "AudioVolume = $3\r\nwindowed=0\nSmoothing = %0\nHiScore = 12345 pts\nMaxBounce = -7\n");
  Game game = ReadWith("");
  LoadUserSettings(game);
  EXPECT_EQ(game.settings.AudioVolume, 3);
  EXPECT_EQ(game.settings.Windowed, 0);
  EXPECT_EQ(game.settings.BilinearFiltering, 0);
  EXPECT_EQ(game.options.HiScore, 12345);
  EXPECT_EQ(game.options.MaxBounce, -7);

  WriteFile("Quorin.cfg", "AudioVolume = 7\nHiScore = $100000001\nMaxBounce = lots\n");
  game = ReadWith("");
  LoadUserSettings(game);
  EXPECT_EQ(game.settings.AudioVolume, 7);  // not clamped here
  EXPECT_EQ(game.options.HiScore, 1);       // cut to the low 32 bits
  EXPECT_EQ(game.options.MaxBounce, 0);
}

TEST(UserSettings, SaveWritesExactlyFiveLinesReplacingTheOldFile) {
  TempDir dir;
  WriteFile("Quorin.cfg", "; my notes\nAudioVolume = 2\nExtra = 1\n[Later]\nHiScore = 1\n");
  Game game = ReadWith("");
  LoadUserSettings(game);
  EXPECT_EQ(game.options.volumeChoice, 2);
  game.settings.Windowed = 0;  // toggled to full screen with Alt+Enter
  game.options.HiScore = 4200;
  game.options.MaxBounce = 17;
  ASSERT_TRUE(SaveUserSettings(game));
  EXPECT_EQ(ReadFile("Quorin.cfg"),
            "AudioVolume = 2\r\nWindowed = 0\r\nSmoothing = 1\r\nHiScore = 4200\r\nMaxBounce = 17\r\n");
}

// A world of one's own starts its bests at zero and never saves them; the
// built-in world's stay in the file as they were, written as read.
TEST(UserSettings, AWorldOfOnesOwnKeepsItsBestsForTheSessionOnly) {
  TempDir dir;
  WriteFile("Quorin.cfg", "AudioVolume = 2\nHiScore = 0004200\nMaxBounce = 17\n");
  Game game = ReadWith("");
  game.flow.layout = std::make_shared<LayoutImage>();
  LoadUserSettings(game);
  EXPECT_EQ(game.options.HiScore, 0);
  EXPECT_EQ(game.options.MaxBounce, 0);
  game.options.volumeChoice = 4;
  game.options.HiScore = 9000;
  game.options.MaxBounce = 30;
  ASSERT_TRUE(SaveUserSettings(game));
  EXPECT_EQ(ReadFile("Quorin.cfg"),
            "AudioVolume = 4\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 0004200\r\nMaxBounce = 17\r\n");
}

TEST(UserSettings, UnwritableLocationSavesNothing) {
  TempDir dir;
  Game game = ReadWith("");
  game.settings.userFilePath = "no/such/folder/Quorin.cfg";
  LoadUserSettings(game);
  EXPECT_EQ(game.settings.AudioVolume, 3);
  EXPECT_FALSE(SaveUserSettings(game));
  game.settings.userFilePath.clear();
  EXPECT_FALSE(SaveUserSettings(game));
  EXPECT_FALSE(fs::exists("no"));
  EXPECT_FALSE(fs::exists("Quorin.cfg"));
}

TEST(UserFolder, LocalOrPerUserDataFolder) {
  TempDir dir;
  std::map<std::string, std::string> env;
  const EnvironmentLookup lookup = [&](std::string_view name) -> std::optional<std::string> {
    auto it = env.find(std::string(name));
    if (it == env.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(UserFilePathFor(1, lookup), "Quorin.cfg");
  EXPECT_EQ(UserFilePathFor(-3, lookup), "Quorin.cfg");

  EXPECT_EQ(UserFilePathFor(0, lookup), "");  // nowhere to keep it

  env["HOME"] = (dir.Path() / "home").string();
  fs::create_directory(env["HOME"]);
  EXPECT_EQ(UserFilePathFor(0, lookup), env["HOME"] + "/.local/share/Brightvault/Quorin.cfg");
  EXPECT_TRUE(fs::is_directory(env["HOME"] + "/.local/share/Brightvault"));

  env["XDG_DATA_HOME"] = (dir.Path() / "data").string();
  EXPECT_EQ(UserFilePathFor(0, lookup), env["XDG_DATA_HOME"] + "/Brightvault/Quorin.cfg");
  EXPECT_TRUE(fs::is_directory(env["XDG_DATA_HOME"] + "/Brightvault"));

  env["XDG_DATA_HOME"] = "relative/data";  // ignored
  EXPECT_EQ(UserFilePathFor(0, lookup), env["HOME"] + "/.local/share/Brightvault/Quorin.cfg");
}

TEST(UserFolder, PerUserFileRoundTrips) {
  TempDir dir;
  const std::string data = (dir.Path() / "data").string();
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  Game game = ReadWith("StoreUserDataLocally = 0\n");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(game.settings.userFilePath, data + "/Brightvault/Quorin.cfg");
  LoadUserSettings(game);
  game.options.HiScore = 99;
  ASSERT_TRUE(SaveUserSettings(game));
  Game again = ReadWith("StoreUserDataLocally = 0\n");
  again.settings.userFilePath = game.settings.userFilePath;
  LoadUserSettings(again);
  EXPECT_EQ(again.options.HiScore, 99);
  EXPECT_FALSE(fs::exists("Quorin.cfg"));
}

}  // namespace
}  // namespace quorin
