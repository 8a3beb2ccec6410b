#include "flow/menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/game.h"
#include "flow/game_states.h"
#include "flow/sound_cues.h"
#include "flow/sprite_sheets.h"
#include "runtime/null/audio_null.h"
#include "runtime/numeric.h"
#include "world/tables.h"

namespace quorin {
namespace {

// A game on the title screen with 12-pixel glyphs and the sounds loaded.
class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game.presentation.glyphAdvance.fill(12.0f);
    game.shell.internalHeight = 384;
    game.shell.internalAspect = 4.0f / 3.0f;
    game.settings.Windowed = 1;
    game.settings.AudioVolume = 3;
    game.options.volumeChoice = 3;
    game.options.windowedChoice = 1;
    game.options.smoothingChoice = 1;
    SoundInit(game.sound, &device);
    LoadEmbeddedSounds(game.sound);
    ApplyVolume(game);
    EnterState(game, kTitleMenu);
  }
  void TearDown() override { SoundShutdown(game.sound); }

  std::vector<MenuEntry> Entries() {
    std::vector<MenuEntry> out;
    game.flow.menu.ForEach([&](const MenuEntry& e) { out.push_back(e); });
    return out;
  }
  // Points at the middle of an entry and presses button 1 for one frame.
  void Choose(std::int32_t id) {
    for (const MenuEntry& e : Entries()) {
      if (e.id == id) {
        game.shell.pointerX = static_cast<float>(e.x + e.width / 2);
        game.shell.pointerY = static_cast<float>(e.y + 8);
      }
    }
    Frame(true);
  }
  void Frame(bool press = false, bool escape = false) {
    game.controls.button1Pressed = press ? 1 : 0;
    game.controls.escapePressed = escape ? 1 : 0;
    ClearDrawQueues(game);  // a new iteration; what it queues stays for the checks
    GameFrame(game);
  }
  std::vector<int> MarkRows() {
    std::vector<int> rows;
    game.presentation.textQueue.ForEach([&](const TextRequest& r) {
      if (r.text == "X") rows.push_back(r.y);
    });
    return rows;
  }

  NullAudioDevice device;
  Game game;
};

TEST_F(MenuTest, TitleEntriesAreRightAlignedByPictureHeight) {
  std::vector<MenuEntry> e = Entries();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].text, "START");
  EXPECT_EQ(e[0].y, 219);
  EXPECT_EQ(e[1].y, 243);
  EXPECT_EQ(e[2].y, 267);
  for (const MenuEntry& m : e) EXPECT_EQ(m.x + m.width, 460);
  EXPECT_EQ(e[0].width, 5 * 12 - 2 * 4);

  game.shell.internalHeight = 410;
  BuildMenu(game);
  EXPECT_EQ(Entries()[0].y, 232);  // (410 - 118) div 2 + 86
}

TEST_F(MenuTest, HitTestIncludesRightAndBottomEdges) {
  const MenuEntry start = Entries()[0];
  game.shell.pointerX = static_cast<float>(start.x + start.width);
  game.shell.pointerY = static_cast<float>(start.y + start.height);
  MenuPass(game);
  EXPECT_EQ(game.flow.hoveredEntry, kMenuStart);
  game.shell.pointerX += 0.01f;
  MenuPass(game);
  EXPECT_EQ(game.flow.hoveredEntry, 0);
  game.shell.pointerX = static_cast<float>(start.x);
  game.shell.pointerY = static_cast<float>(start.y);
  ClearDrawQueues(game);
  MenuPass(game);
  EXPECT_EQ(game.flow.hoveredEntry, kMenuStart);
  std::vector<int> fonts;
  game.presentation.textQueue.ForEach([&](const TextRequest& r) { fonts.push_back(r.glyphBase); });
  EXPECT_EQ(fonts, (std::vector<int>{kFontBoldWhite, kFontBoldYellow, kFontBoldYellow}));
}

TEST_F(MenuTest, TitleChoicesAndEscape) {
  Frame();
  EXPECT_EQ(game.shell.pointerImage, 1);
  Choose(kMenuOptions);
  EXPECT_EQ(game.flow.GameState, kOptions);
  EXPECT_EQ(game.shell.clearColour, ColourPack(0, 69, 140));
  Frame(false, true);  // Escape on the options screen
  EXPECT_EQ(game.flow.GameState, kTitleMenu);
  Choose(kMenuExit);
  EXPECT_EQ(game.shell.quitFlag, 1);
  game.shell.quitFlag = 0;
  Frame(false, true);
  EXPECT_EQ(game.shell.quitFlag, 1);
}

TEST_F(MenuTest, VolumeIsHeardAtOnceAndItsMarkMovesNextFrame) {
  Choose(kMenuOptions);
  Frame();
  EXPECT_EQ(MarkRows(), (std::vector<int>{96, 168}));  // HIGH, smoothing on
  Choose(18);                                          // LOW
  EXPECT_EQ(game.settings.AudioVolume, 1);
  EXPECT_EQ(SoundFind(game.sound, kSoundTitle)->volume, -3398);
  Frame();
  EXPECT_EQ(MarkRows(), (std::vector<int>{64, 168}));
}

TEST_F(MenuTest, SmoothingAtOnceFullScreenThroughTheDisplayRequest) {
  Choose(kMenuOptions);
  game.shell.displayRequest = 3;
  game.settings.BilinearFiltering = 1;
  Choose(kMenuSmoothing);
  EXPECT_EQ(game.settings.BilinearFiltering, 0);
  EXPECT_EQ(game.options.smoothingChoice, 0);
  Choose(kMenuFullscreen);
  EXPECT_EQ(game.shell.displayRequest, 1);
  EXPECT_EQ(game.settings.Windowed, 1);  // the main loop switches, not the menu
  Frame();
  EXPECT_EQ(MarkRows(), (std::vector<int>{96}));  // still windowed: no mark yet, mode mirrored back
  game.settings.Windowed = 0;                     // the switch happened
  Frame();
  EXPECT_EQ(MarkRows(), (std::vector<int>{96, 152}));
  Choose(kMenuReturn);
  EXPECT_EQ(game.flow.GameState, kTitleMenu);
}

TEST_F(MenuTest, PauseResumesTheSameGameOrLeavesToTheTitle) {
  // A new game generates a world: it needs the start-up tables of play.
  BuildDirectionTable(game.world);
  PrepareTables(game);
  Choose(kMenuStart);
  EXPECT_EQ(game.flow.GameState, kPlaying);
  EXPECT_EQ(game.shell.pointerImage, 0);
  EXPECT_EQ(game.flow.menu.Count(), 0);
  Frame(false, true);
  EXPECT_EQ(game.flow.GameState, kPaused);
  std::vector<MenuEntry> e = Entries();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].y, 384 / 2 - 20);
  EXPECT_EQ(e[0].x, 256 - e[0].width / 2);
  Choose(kMenuResume);
  EXPECT_EQ(game.flow.GameState, kPlaying);
  EXPECT_EQ(game.flow.menu.Count(), 2);  // pause entries stay, idle
  Frame(false, true);
  Frame(false, true);  // Escape on the pause screen resumes too
  EXPECT_EQ(game.flow.GameState, kPlaying);
  Frame(false, true);
  Choose(kMenuExitToTitle);
  EXPECT_EQ(game.flow.GameState, kTitleMenu);
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundTitle), 1);
}

TEST_F(MenuTest, TitleScreenArtAndHighScoreLine) {
  game.options.HiScore = 4200;
  game.options.MaxBounce = 17;
  Frame();
  std::vector<SheetClipRequest> clips;
  game.presentation.sheetClipQueue.ForEach([&](const SheetClipRequest& c) { clips.push_back(c); });
  ASSERT_EQ(clips.size(), 3u);
  EXPECT_EQ(clips[0].dstY, 128);
  EXPECT_EQ(clips[2].dstY, 384 - 28);
  std::vector<std::string> texts;
  game.presentation.textQueue.ForEach([&](const TextRequest& r) { texts.push_back(r.text); });
  EXPECT_EQ(texts.back(), "HI SCORE: 0004200     MAX BOUNCE: 17");

  game.shell.internalAspect = 1.25f;
  game.shell.internalHeight = 410;
  ClearDrawQueues(game);
  QueueTitleScreen(game);
  EXPECT_EQ(game.presentation.sheetClipQueue.Current()->dstY, 410 - 28);
  game.presentation.sheetClipQueue.Rewind();
  EXPECT_EQ(ListStep(game.presentation.sheetClipQueue)->dstY, 154);
}

TEST_F(MenuTest, HighScoreLineShowsEveryDigitOfALongScore) {
  auto line = [&] {
    Frame();
    std::vector<std::string> texts;
    game.presentation.textQueue.ForEach([&](const TextRequest& r) { texts.push_back(r.text); });
    return texts.back();
  };
  game.options.HiScore = 12345678;
  EXPECT_EQ(line(), "HI SCORE: 12345678     MAX BOUNCE: 0");
  game.options.HiScore = 1234567;
  EXPECT_EQ(line(), "HI SCORE: 1234567     MAX BOUNCE: 0");
  game.options.HiScore = 0;
  EXPECT_EQ(line(), "HI SCORE: 0000000     MAX BOUNCE: 0");
}

}  // namespace
}  // namespace quorin
