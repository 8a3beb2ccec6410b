// The hostile settings corpus (tests/data/hostile, written by
// tools/scripts/hostile_settings.py): each engine.ini and each user file goes
// through the real start-up, a few frames and the orderly exit. Nothing may
// crash or hang, the only messages are the two fatal ones, and the user file
// left behind is always the five lines of the values in use.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/game_main.h"
#include "runtime/null/audio_null.h"
#include "runtime/null/input_null.h"
#include "runtime/null/null_clock.h"
#include "runtime/null/null_video.h"
#include "runtime/text.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::vector<fs::path> CorpusFiles(const std::string& prefix) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(QUORIN_SOURCE_DIR) / "tests/data/hostile")) {
    if (entry.path().filename().string().starts_with(prefix)) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string FiveLines(const OptionsState& o) {
  return "AudioVolume = " + IntToText(o.volumeChoice) + "\r\nWindowed = " + IntToText(o.windowedChoice) +
         "\r\nSmoothing = " + IntToText(o.smoothingChoice) + "\r\nHiScore = " + IntToText(o.HiScore) +
         "\r\nMaxBounce = " + IntToText(o.MaxBounce) + "\r\n";
}

// One start-up with the file in place, a few frames, and the exit.
void RunWith(const fs::path& file, const std::string& as) {
  SCOPED_TRACE(file.filename().string());
  TempDir dir;
  WriteFile(as, ReadFile(file.string()));
  // A file asking for the per-user folder gets one inside the test folder.
  ::setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
  NullClock clock;
  NullVideo video;
  NullAudioDevice audio;
  NullInputDevice input;
  video.printMessages = false;
  auto game = std::make_unique<Game>();
  MainLoopHooks hooks;
  hooks.beforeIteration = [](Game&, std::int64_t k) { return k < 3; };
  const Platform platform{&clock, &video, &audio, &input};
  GameMain(*game, platform, hooks);
  for (const NullVideo::Message& m : video.Messages()) {
    EXPECT_EQ(m.title, "Error");
    EXPECT_TRUE(m.text == "Can't initialize display." || m.text == "Couldn't create sound buffer") << m.text;
  }
  if (video.Messages().empty() && !game->settings.userFilePath.empty() && game->settings.StoreUserDataLocally) {
    EXPECT_EQ(ReadFile("Quorin.cfg"), FiveLines(game->options));
  }
}

TEST(HostileSettings, CorpusHoldsAtLeastTwoHundredFilesOfBothKinds) {
  EXPECT_GE(CorpusFiles("engine-").size() + CorpusFiles("user-").size(), 200u);
  EXPECT_GE(CorpusFiles("engine-").size(), 50u);
  EXPECT_GE(CorpusFiles("user-").size(), 50u);
}

TEST(HostileSettings, EveryEngineFileStartsRunsAndExits) {
  for (const fs::path& file : CorpusFiles("engine-")) RunWith(file, "engine.ini");
}

TEST(HostileSettings, EveryUserFileStartsRunsAndIsRewrittenWhole) {
  for (const fs::path& file : CorpusFiles("user-")) RunWith(file, "Quorin.cfg");
}

}  // namespace
}  // namespace quorin
