// quorin-sim run: the real start-up and main loop, headless, scripted.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <sys/wait.h>

#include "tests/support/stored_picture.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// quorin-sim with its standard error kept in stderr.txt of the current folder.
testing::CommandResult RunSim(const std::string& args) { return testing::RunSim(args + " 2>stderr.txt"); }

// The system pointer moved onto a picture point, in window client pixels of the
// default 768-pixel window. Entering the window only sets the reference; the
// game pointer snaps on the next move, so the pointer arrives in two steps.
std::string Mouse(int frame, int pictureX, int pictureY) {
  const std::string x = std::to_string(pictureX * 3 / 2);
  const std::string y = std::to_string(pictureY * 3 / 2);
  return std::to_string(frame) + " mouse " + x + " " + std::to_string(pictureY * 3 / 2 - 1) + "\n" +
         std::to_string(frame + 1) + " mouse " + x + " " + y + "\n";
}
std::string Click(int frame) {
  return std::to_string(frame) + " button left down\n" + std::to_string(frame + 2) + " button left up\n";
}
std::string Key(int frame, int code) {
  return std::to_string(frame) + " key " + std::to_string(code) + " down\n" + std::to_string(frame + 2) + " key " +
         std::to_string(code) + " up\n";
}

TEST(SimRun, OptionsAreChosenWithThePointerAndSavedOnExit) {
  TempDir dir;
  WriteFile("script.txt", Mouse(2, 420, 250) + Click(4) +  // OPTIONS
                              Mouse(10, 40, 70) + Click(12) +   // LOW
                              Mouse(18, 60, 174) + Click(20) +  // SMOOTHING
                              Key(26, 1) + Key(32, 1));         // back to the title, then quit
  const testing::CommandResult r = RunSim("run --frames 200 --input script.txt");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "frames=33 state=0 quit=1 windowed=1\n");
  EXPECT_EQ(ReadFile("Quorin.cfg"), "AudioVolume = 1\r\nWindowed = 1\r\nSmoothing = 0\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

TEST(SimRun, TitleAndOptionsScreensLookAsStored) {
  TempDir dir;
  WriteFile("script.txt", Mouse(2, 420, 250) + Click(6) + Mouse(10, 40, 70));
  const testing::CommandResult r = RunSim("run --frames 13 --input script.txt --shot 5:title.png --shot 12:options.png");
  EXPECT_EQ(r.out, "frames=13 state=1 quit=0 windowed=1\n");
  Surface title, options;
  ASSERT_TRUE(testing::LoadPicture("title.png", title));
  ASSERT_TRUE(testing::LoadPicture("options.png", options));
  EXPECT_EQ(title.width, 768);
  EXPECT_EQ(title.height, 576);
  testing::ExpectMatchesStoredPicture(title, "sim_title.png");      // OPTIONS lit, the hand over it
  testing::ExpectMatchesStoredPicture(options, "sim_options.png");  // LOW lit
}

TEST(SimRun, FullScreenWithoutHeightEndsWithTheDisplayErrorAndSavesNothing) {
  TempDir dir;
  WriteFile("engine.ini", "Windowed = 0\nFullscreenwidth = 1280\nFullscreenheight = 0\n");
  WriteFile("Quorin.cfg", "HiScore = 77\n");
  const testing::CommandResult r = RunSim("run --frames 50");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(ReadFile("stderr.txt"), "Error: Can't initialize display.\n");
  EXPECT_EQ(r.out, "frames=0 state=0 quit=0 windowed=0\n");
  EXPECT_EQ(ReadFile("Quorin.cfg"), "HiScore = 77\n");
}

TEST(SimRun, StopsAfterTheFramesAndKeepsTheUserFileFormat) {
  TempDir dir;
  WriteFile("Quorin.cfg", "; mine\nAudioVolume = $4\nExtra = 1\n");
  const testing::CommandResult r = RunSim("run --frames 3");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "frames=3 state=0 quit=0 windowed=1\n");
  EXPECT_EQ(ReadFile("Quorin.cfg"), "AudioVolume = 4\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

TEST(SimRun, CloseButtonAndBadScripts) {
  TempDir dir;
  WriteFile("close.txt", "# the window's close button\n5 close\n");
  EXPECT_EQ(RunSim("run --frames 100 --input close.txt").out, "frames=6 state=0 quit=1 windowed=1\n");
  WriteFile("bad.txt", "3 key 999 down\n");
  EXPECT_EQ(RunSim("run --frames 10 --input bad.txt").code, 2);
  EXPECT_EQ(RunSim("run --frames").code, 2);
  EXPECT_EQ(RunSim("run --frames 5 --shot x.png").code, 2);
}

TEST(SimRun, AltEnterAndEscapeFromFullScreenSaveTheMode) {
  TempDir dir;
  // Alt alone for a frame arms the toggle; Enter then switches once.
  WriteFile("toggle.txt", "2 key 56 down\n4 key 28 down\n8 key 28 up\n9 key 56 up\n" + Key(12, 1));
  const testing::CommandResult r = RunSim("run --frames 100 --input toggle.txt");
  EXPECT_EQ(r.out, "frames=13 state=0 quit=1 windowed=0\n");
  EXPECT_NE(ReadFile("Quorin.cfg").find("Windowed = 0\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quorin
