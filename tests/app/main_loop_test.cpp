#include "app/game_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flow/game_states.h"
#include "flow/sound_cues.h"
#include "runtime/key_codes.h"
#include "runtime/null/audio_null.h"
#include "runtime/null/input_null.h"
#include "runtime/null/null_clock.h"
#include "runtime/null/null_video.h"
#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The game on the null back end in a fresh folder, driven iteration by iteration.
class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { video.printMessages = false; }

  // Runs GameMain for at most `iterations` iterations; `work` runs before each.
  int Run(std::int64_t iterations, std::function<void(std::int64_t)> work = {},
          std::function<void(std::int64_t)> inspect = {}) {
    MainLoopHooks hooks;
    hooks.beforeIteration = [&](Game& g, std::int64_t k) {
      if (k >= iterations) return false;
      if (work) work(k);
      before.push_back({clock.Milliseconds(), g.shell.elapsedMs, video.Presents(), g.shell.spritesBuilt});
      return true;
    };
    hooks.afterIteration = [&](Game& g, std::int64_t) {
      after.push_back({clock.Milliseconds(), g.shell.elapsedMs, video.Presents(), g.shell.spritesBuilt});
      if (inspect) inspect(static_cast<std::int64_t>(after.size()) - 1);
    };
    const Platform platform{&clock, &video, &audio, &input};
    return GameMain(*game, platform, hooks);
  }

  struct Sample {
    std::uint32_t now;
    std::int32_t elapsedMs;
    std::int32_t presents;
    std::int32_t spritesBuilt;
  };

  TempDir dir;
  NullClock clock;
  NullVideo video;
  NullAudioDevice audio;
  NullInputDevice input;
  std::unique_ptr<Game> game = std::make_unique<Game>();
  std::vector<Sample> before, after;
};

TEST_F(MainLoopTest, FirstIterationOpensTheDisplayBeforeAnyWait) {
  Run(1, {}, [&](std::int64_t) {
    EXPECT_TRUE(video.ScreenOpen());
    EXPECT_EQ(game->shell.displayRequest, 3);
    const NullVideo::Window* window = video.WindowOf(video.ScreenWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->wanted.clientWidth, 768);
    EXPECT_EQ(window->wanted.clientHeight, 576);
    EXPECT_EQ(window->wanted.title, "Quorin");
    EXPECT_TRUE(window->wanted.centred);
    EXPECT_FALSE(window->wanted.resizable);
  });
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].now, 16u);  // the first wait runs after the open
  EXPECT_FALSE(video.ScreenOpen());  // closed again at exit
}

TEST_F(MainLoopTest, PacingWaitsToThe16msMarkWithoutCatchUp) {
  Run(6, [&](std::int64_t k) {
    if (k == 3) clock.Advance(50);  // a slow frame
    if (k == 4) clock.Advance(5);
  });
  EXPECT_EQ(after[0].elapsedMs, 16);
  EXPECT_EQ(after[1].elapsedMs, 32);
  EXPECT_EQ(after[2].elapsedMs, 48);
  EXPECT_EQ(after[3].elapsedMs, 98);   // no wait after the slow frame...
  EXPECT_EQ(after[4].elapsedMs, 114);  // ...and the clock restarts from there
  EXPECT_EQ(after[5].elapsedMs, 130);
}

TEST_F(MainLoopTest, FrameSkipAlternatesWaitingAndDrawing) {
  WriteFile("engine.ini", "FrameSkip = 1\n");
  Run(6);
  std::vector<int> presentsPerIteration, elapsed;
  for (std::size_t k = 0; k < after.size(); ++k) {
    presentsPerIteration.push_back(after[k].presents - before[k].presents);
    elapsed.push_back(after[k].elapsedMs);
  }
  // The first iteration also presents the opening clear.
  EXPECT_EQ(presentsPerIteration, (std::vector<int>{0, 1, 0, 1, 0, 1}));
  EXPECT_EQ(elapsed, (std::vector<int>{0, 32, 32, 64, 64, 96}));
}

// Keys reach the game only when the system's events are pumped; in full
// screen with FrameSkip every other iteration neither presents nor draws, and
// must still read the keys as they are now.
TEST_F(MainLoopTest, FullScreenWithFrameSkipReadsKeysOnEveryIteration) {
  WriteFile("engine.ini", "FrameSkip = 1\n");
  WriteFile("Quorin.cfg", "Windowed = 0\r\n");
  input.deliverOnPump = true;
  video.onPump = [&] { input.Deliver(); };
  std::vector<int> button1, drawn;
  Run(
      18,
      [&](std::int64_t k) {
        if (k == 6) input.SetKey(kKeyZ, true);
        if (k == 16) input.SetKey(kKeyZ, false);
      },
      [&](std::int64_t) {
        button1.push_back(game->controls.button1);
        drawn.push_back(game->shell.drawThisFrame);
      });
  ASSERT_EQ(button1.size(), 18u);
  EXPECT_EQ(game->settings.Windowed, 0);
  EXPECT_EQ(drawn[6], 0);  // the press and the release fall on iterations that do not draw
  EXPECT_EQ(drawn[16], 0);
  EXPECT_EQ(button1[5], 0);
  EXPECT_EQ(button1[6], 1);
  EXPECT_EQ(button1[15], 1);
  EXPECT_EQ(button1[16], 0);
}

TEST_F(MainLoopTest, FocusLossReleasesOnceAndRebuildsOnReturn) {
  int stopsSeen = 0;
  Run(8, [&](std::int64_t k) {
    if (k == 3) video.SetFocus(0);
    if (k == 6) video.SetFocus(video.ScreenWindow());
    if (k == 5) stopsSeen = game->shell.spritesBuilt;
  });
  EXPECT_EQ(after[2].spritesBuilt, 1);
  EXPECT_EQ(after[3].spritesBuilt, 0);
  EXPECT_EQ(after[4].spritesBuilt, 0);
  EXPECT_EQ(stopsSeen, 0);
  EXPECT_EQ(after[3].now - before[3].now, 16u + 40u - (before[3].now - after[2].now));
  EXPECT_EQ(after[6].spritesBuilt, 1);
}

// The headless driver traces each game-flow step while its requests are
// still queued; iterations without the focus run no step.
TEST_F(MainLoopTest, GameFrameHooksSeeTheQueuedFrameOnFocusedIterationsOnly) {
  std::vector<std::int64_t> stepped;
  std::vector<int> queuedTexts, leftTexts;
  std::int64_t current = 0;
  MainLoopHooks hooks;
  hooks.beforeIteration = [&](Game&, std::int64_t k) {
    current = k;
    if (k == 2) video.SetFocus(0);
    if (k == 4) video.SetFocus(video.ScreenWindow());
    return k < 6;
  };
  hooks.beforeGameFrame = [&](Game& g) {
    stepped.push_back(current);
    EXPECT_EQ(g.presentation.textQueue.Count(), 0);
  };
  hooks.afterGameFrame = [&](Game& g) { queuedTexts.push_back(g.presentation.textQueue.Count()); };
  hooks.afterIteration = [&](Game& g, std::int64_t) { leftTexts.push_back(g.presentation.textQueue.Count()); };
  const Platform platform{&clock, &video, &audio, &input};
  GameMain(*game, platform, hooks);
  EXPECT_EQ(stepped, (std::vector<std::int64_t>{0, 1, 4, 5}));
  ASSERT_EQ(queuedTexts.size(), 4u);
  for (const int n : queuedTexts) EXPECT_GT(n, 0);  // the title screen's texts
  EXPECT_EQ(leftTexts, (std::vector<int>(6, 0)));
}

// A host that owns the loop (the browser's animation frames) polls every
// millisecond here and runs an iteration only when its pacing would not wait:
// the iterations fall on GameMain's marks, none of them sleeps, and quitting
// ends the loop with the user file saved.
TEST_F(MainLoopTest, HostDrivenLoopStepsOnGameMainsMarksWithoutWaiting) {
  for (const bool frameSkip : {false, true}) {
    SCOPED_TRACE(frameSkip ? "FrameSkip" : "every frame drawn");
    WriteFile("engine.ini", frameSkip ? "FrameSkip = 1\n" : "");
    NullClock host;
    auto g = std::make_unique<Game>();
    const Platform platform{&host, &video, &audio, &input};
    ASSERT_TRUE(GameStart(*g, platform));
    std::vector<int> elapsed;
    std::vector<std::uint32_t> early;
    for (std::int64_t k = 0; k < 6;) {
      const std::uint32_t due = MsUntilNextStep(*g, host.Milliseconds());
      if (due != 0) {
        early.push_back(due);
        host.Advance(1);
        continue;
      }
      const std::uint32_t now = host.Milliseconds();
      ASSERT_TRUE(GameIterate(*g, {}, k++));
      EXPECT_EQ(host.Milliseconds(), now) << "iteration " << k - 1 << " waited";
      elapsed.push_back(g->shell.elapsedMs);
    }
    EXPECT_EQ(elapsed, frameSkip ? (std::vector<int>{0, 32, 32, 64, 64, 96})
                                 : (std::vector<int>{16, 32, 48, 64, 80, 96}));
    ASSERT_FALSE(early.empty());
    EXPECT_EQ(*std::max_element(early.begin(), early.end()), frameSkip ? 32u : 16u);
    EXPECT_EQ(*std::min_element(early.begin(), early.end()), 1u);
    g->shell.quitFlag = 1;
    EXPECT_FALSE(GameIterate(*g, {}, 6));
    GameFinish(*g);
    EXPECT_TRUE(std::filesystem::exists("Quorin.cfg"));
    std::filesystem::remove("Quorin.cfg");
  }
}

TEST_F(MainLoopTest, FullScreenWidthWithoutHeightIsAFatalDisplayError) {
  WriteFile("engine.ini", "Windowed = 0\nFullscreenwidth = 1280\nFullscreenheight = 0\n");
  WriteFile("Quorin.cfg", "Windowed = 0\r\nHiScore = 5\r\n");
  EXPECT_EQ(Run(10), 0);
  EXPECT_TRUE(after.empty());
  ASSERT_EQ(video.Messages().size(), 1u);
  EXPECT_EQ(video.Messages()[0].title, "Error");
  EXPECT_EQ(video.Messages()[0].text, "Can't initialize display.");
  EXPECT_EQ(ReadFile("Quorin.cfg"), "Windowed = 0\r\nHiScore = 5\r\n");  // not saved
}

TEST_F(MainLoopTest, MissingSoundDeviceIsFatalBeforeTheDisplay) {
  audio.failOpen = true;
  EXPECT_EQ(Run(10), 0);
  EXPECT_TRUE(before.empty());
  ASSERT_EQ(video.Messages().size(), 1u);
  EXPECT_EQ(video.Messages()[0].text, "Couldn't create sound buffer");
  EXPECT_FALSE(std::filesystem::exists("Quorin.cfg"));
}

TEST_F(MainLoopTest, TitleSoundStartsWithEverySoundDecodedAtTheUsersVolume) {
  WriteFile("Quorin.cfg", "AudioVolume = 1\r\n");
  std::vector<std::string> steps;
  MainLoopHooks hooks;
  hooks.afterStartupStep = [&](Game&, std::string_view name) { steps.emplace_back(name); };
  bool checked = false;
  hooks.beforeIteration = [&](Game& g, std::int64_t) -> bool {
    // Start-up is over: the title sound plays and nothing is pending.
    EXPECT_EQ(SoundIsPlaying(g.sound, kSoundTitle), 1);
    const int volume = g.sound.volumeTable[static_cast<std::size_t>(VolumePercent(1))];
    for (int id = 0; id < kSoundEffectCount; ++id) {
      const Sound* s = SoundFind(g.sound, id);
      EXPECT_NE(s, nullptr) << id;
      if (s) {
        EXPECT_EQ(s->volume, volume) << id;
      }
    }
    checked = true;
    return false;
  };
  const Platform platform{&clock, &video, &audio, &input};
  EXPECT_EQ(GameMain(*game, platform, hooks), 0);
  EXPECT_TRUE(checked);
  // The sounds are in place before the title sound, after the user file.
  const auto at = [&](std::string_view name) { return std::find(steps.begin(), steps.end(), name) - steps.begin(); };
  EXPECT_LT(at("LoadUserSettings"), at("LoadEmbeddedSounds"));
  EXPECT_LT(at("LoadEmbeddedSounds"), at("EnterState"));
  EXPECT_EQ(steps.back(), "EnterState");
}

TEST_F(MainLoopTest, CloseButtonQuitsAfterFinishingTheIterationAndSaves) {
  Run(100, [&](std::int64_t k) {
    if (k == 4) video.InjectClose(video.ScreenWindow());
  });
  EXPECT_EQ(after.size(), 5u);
  EXPECT_EQ(game->shell.quitFlag, 1);
  EXPECT_EQ(after[4].presents - before[4].presents, 1);
  EXPECT_EQ(game->presentation.textQueue.Count(), 0);  // the queues were still emptied
  EXPECT_EQ(ReadFile("Quorin.cfg"), "AudioVolume = 3\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

TEST_F(MainLoopTest, DisplayRequestTogglesTheModeAndRebuildsSprites) {
  Run(
      4, [&](std::int64_t k) { if (k == 2) game->shell.displayRequest = 1; },
      [&](std::int64_t k) {
        if (k != 2) return;
        EXPECT_EQ(game->settings.Windowed, 0);
        EXPECT_TRUE(video.ScreenFullscreen());
        EXPECT_EQ(game->shell.displayRequest, 3);
        EXPECT_EQ(video.WindowCount(), 1u);  // the game window went, the full-screen one came
      });
  EXPECT_EQ(after[2].spritesBuilt, 1);
  EXPECT_EQ(ReadFile("Quorin.cfg").find("Windowed = 0\r\n") != std::string::npos, true);
}

}  // namespace
}  // namespace quorin
