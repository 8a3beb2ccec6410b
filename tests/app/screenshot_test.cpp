// F12: the picture on screen as a PNG in "screenshots" beside the user file.
#include "app/screenshot.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <vector>

#include "app/game_main.h"
#include "runtime/key_codes.h"
#include "runtime/null/audio_null.h"
#include "runtime/null/input_null.h"
#include "runtime/null/null_clock.h"
#include "runtime/png_codec.h"
#include "runtime/sdl/sdl_video.h"
#include "runtime/sound.h"
#include "tests/support/temp_dir.h"
#include "world/play_host.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Shots(const fs::path& folder) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  return found;
}

bool Decode(const fs::path& path, DecodedImage& image) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodePng(data, image);
}

TEST(ScreenshotNames, DateAndTimeWithZeroPaddingAndACountForRepeats) {
  std::tm when{};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 0;
  when.tm_mday = 5;
  when.tm_hour = 7;
  when.tm_min = 8;
  when.tm_sec = 9;
  EXPECT_EQ(ScreenshotFileName(when, 1), "Quorin 2026-01-05 07-08-09.png");
  EXPECT_EQ(ScreenshotFileName(when, 2), "Quorin 2026-01-05 07-08-09 2.png");
  when.tm_mon = 11;
  when.tm_mday = 31;
  when.tm_hour = 23;
  when.tm_min = 59;
  when.tm_sec = 59;
  EXPECT_EQ(ScreenshotFileName(when, 1), "Quorin 2026-12-31 23-59-59.png");
}

TEST(ScreenshotNames, TheFolderSitsBesideTheUserFile) {
  Game game;
  game.settings.userFilePath = "/home/player/.local/share/Brightvault/Quorin.cfg";
  EXPECT_EQ(ScreenshotFolder(game), fs::path("/home/player/.local/share/Brightvault/screenshots"));
  game.settings.userFilePath = "Quorin.cfg";
  EXPECT_EQ(ScreenshotFolder(game), fs::path("screenshots"));
  game.settings.userFilePath.clear();  // no usable user folder: the working directory
  EXPECT_EQ(ScreenshotFolder(game), fs::path("screenshots"));
}

// The real start-up and loop on SDL's dummy video driver; F12 is pressed by hand.
class ScreenshotKeyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "dummy", 0); }

  // Runs `iterations` iterations; F12 is held on the iterations `held` says.
  void Run(std::int64_t iterations, const std::function<bool(std::int64_t)>& held,
           const std::function<void(Game&, SdlVideo&, std::int64_t)>& after = {}) {
    SdlVideo video;
    ASSERT_TRUE(video.Ready()) << SDL_GetError();
    const Platform platform{&clock, &video, &audio, &input};
    auto game = std::make_unique<Game>();
    MainLoopHooks hooks;
    hooks.beforeIteration = [&](Game&, std::int64_t k) {
      if (k >= iterations) return false;
      input.SetKey(kKeyF12, held(k));
      return true;
    };
    hooks.afterIteration = [&](Game& g, std::int64_t k) {
      if (after) after(g, video, k);
    };
    GameMain(*game, platform, hooks);
  }

  testing::TempDir dir;
  NullClock clock;
  NullAudioDevice audio;
  NullInputDevice input;
};

TEST_F(ScreenshotKeyTest, F12WritesThePresentedPictureAsAPngAndPlaysTheGemSound) {
  constexpr std::int64_t kShotIteration = 20;
  Surface presented;
  bool soundPlayed = false;
  Run(kShotIteration + 2, [](std::int64_t k) { return k == kShotIteration; },
      [&](Game& g, SdlVideo& video, std::int64_t k) {
        if (k != kShotIteration) return;
        ASSERT_TRUE(video.ReadLastPicture(presented));
        soundPlayed = SoundIsPlaying(g.sound, kSoundGem) != 0;
      });
  const std::vector<fs::path> shots = Shots("screenshots");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(std::regex_match(shots[0].filename().string(),
                               std::regex(R"(Quorin \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.png)")))
      << shots[0];
  DecodedImage image;
  ASSERT_TRUE(Decode(shots[0], image));
  EXPECT_EQ(image.pixels.width, 768);  // the window, not the 512-pixel canvas
  EXPECT_EQ(image.pixels.height, 576);
  ASSERT_EQ(image.pixels.width, presented.width);
  ASSERT_EQ(image.pixels.height, presented.height);
  std::size_t differing = 0;
  bool anyColour = false;
  for (std::size_t i = 0; i < presented.pixels.size(); ++i) {
    const std::uint32_t want = presented.pixels[i] & kPixelRgbMask;
    const std::uint32_t got = image.pixels.pixels[i] & kPixelRgbMask;
    if (want != got) ++differing;
    if (got != 0) anyColour = true;
  }
  EXPECT_EQ(differing, 0u);
  EXPECT_TRUE(anyColour) << "the title screen came out black";
  EXPECT_TRUE(soundPlayed);
}

TEST_F(ScreenshotKeyTest, HoldingF12TakesOneShotAndASecondPressAnother) {
  // Held for five iterations, released, pressed again: two files, never more,
  // even when both fall into the same second.
  Run(16, [](std::int64_t k) { return (k >= 5 && k < 10) || k == 13; });
  const std::vector<fs::path> shots = Shots("screenshots");
  EXPECT_EQ(shots.size(), 2u);
}

TEST_F(ScreenshotKeyTest, WithoutF12NoFolderIsMade) {
  Run(8, [](std::int64_t) { return false; });
  EXPECT_FALSE(fs::exists("screenshots"));
}

}  // namespace
}  // namespace quorin
