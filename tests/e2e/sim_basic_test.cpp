// quorin-sim's foundation commands, run as a separate process as scripts use them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

using testing::TempDir;
using testing::WriteFile;

testing::CommandResult Sim(const std::string& args) { return testing::RunSim(args); }

TEST(SimRng, PrintsOneDrawPerLine) {
  EXPECT_EQ(Sim("rng 777 3").out, "683405308\n837479372\n3437716506\n");
  EXPECT_EQ(Sim("rng 777 8 99").out, "15\n19\n80\n99\n83\n5\n92\n95\n");
  EXPECT_EQ(Sim("rng 0 2 -1").out, "2341539169\n3366969473\n");
  EXPECT_EQ(Sim("rng 5 0").out, "");
  EXPECT_EQ(Sim("rng 777 2>/dev/null").code, 2);
  EXPECT_EQ(Sim("rng x 3 2>/dev/null").code, 2);
}

TEST(SimSettings, PrintsWhatTheGameReadsAndWritesNothing) {
  TempDir dir;
  WriteFile("engine.ini", "Cursorspeed = 2.5\nWindowed = 0\nFullscreenMouseSpeed = 1e-1\n");
  WriteFile("Quorin.cfg", "AudioVolume = $2\nSmoothing = 0\nHiScore = 77\n");
  const testing::CommandResult run = Sim("settings");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out,
            "Cursorspeed = 2.5\nSwapButtons = 0\nJoyCursor = 1\nKey1 = 44\nKey2 = 45\nKeyLeft = 203\n"
            "KeyRight = 205\nKeyUp = 200\nKeyDown = 208\nFullscreenMouseSpeed = 0.100000001\nTabletMode = 0\n"
            "WindowCursorScaling = 0\nFullscreenwidth = 0\nFullscreenheight = 0\nFullscreenAspect = 0\n"
            "InternalAspect = 2\nWindowwidth = 768\nWindowed = 0\nSpritesMainMem = 1\nBilinearFiltering = 1\n"
            "Vsync = 1\nRefreshRate = 0\nFrameSkip = 0\nJoystickId = 0\nJoystickButtons = 16\n"
            "StoreUserDataLocally = 1\nSavePrefsOnExit = 0\nuserFilePath = Quorin.cfg\nAudioVolume = 2\n"
            "Windowed = 0\nSmoothing = 0\nHiScore = 77\nMaxBounce = 0\n");
  EXPECT_EQ(testing::ReadFile("Quorin.cfg"), "AudioVolume = $2\nSmoothing = 0\nHiScore = 77\n");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 2u);
}

}  // namespace
}  // namespace quorin
