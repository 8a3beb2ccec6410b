// The frame driver in play: a new game, the playing and paused frames, the
// hover sound, the HUD score and both closing scenes, on a small test world.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flow/game.h"
#include "flow/game_states.h"
#include "flow/menus.h"
#include "flow/play_host.h"
#include "flow/sound_cues.h"
#include "flow/sprite_sheets.h"
#include "runtime/null/audio_null.h"
#include "runtime/numeric.h"
#include "world/digest.h"
#include "world/generation.h"
#include "world/tables.h"

namespace quorin {
namespace {

constexpr std::int32_t kRock = ColourPack(128, 128, 192);
constexpr std::int32_t kStart = ColourPack(0, 255, 255);
constexpr std::int32_t kFruit = ColourPack(0, 192, 0);
constexpr std::int32_t kMonster = ColourPack(0, 0, 128);

constexpr int kWidth = 48;
constexpr int kHeight = 40;
constexpr int kStartColumn = 10;
constexpr int kStartRow = 19;

// A walled cave 48 x 40 with a floor on row 20, the start on it, a monster
// far to the right (outside the active window) and the eight fruits on a
// shelf high up.
std::shared_ptr<const LayoutImage> TestLayout() {
  auto layout = std::make_shared<LayoutImage>();
  layout->width = kWidth;
  layout->height = kHeight;
  layout->pixels.assign(static_cast<std::size_t>(kWidth) * kHeight, 0);
  auto set = [&](int c, int r, std::int32_t colour) { layout->pixels[static_cast<std::size_t>(r) * kWidth + c] = colour; };
  for (int c = 0; c < kWidth; ++c) {
    set(c, 0, kRock);
    set(c, 20, kRock);
    set(c, kHeight - 1, kRock);
  }
  for (int r = 0; r < kHeight; ++r) {
    set(0, r, kRock);
    set(kWidth - 1, r, kRock);
  }
  for (int c = 28; c < 40; ++c) set(c, 6, kRock);
  for (int k = 0; k < 8; ++k) set(30 + k, 3, kFruit);
  set(kStartColumn, kStartRow, kStart);
  set(42, 15, kMonster);
  return layout;
}

class PlayFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game.presentation.glyphAdvance.fill(10.0f);
    game.shell.internalHeight = 384;
    game.shell.internalAspect = 4.0f / 3.0f;
    BuildDirectionTable(game.world);
    PrepareTables(game);
    SoundInit(game.sound, &device);
    LoadEmbeddedSounds(game.sound);
    game.flow.layout = TestLayout();
    EnterState(game, kTitleMenu);
  }
  void TearDown() override { SoundShutdown(game.sound); }

  // One main-loop iteration's worth of flow: fresh queues, these controls.
  void Frame(Controls c = {}) {
    game.controls = c;
    ClearDrawQueues(game);
    GameFrame(game);
  }
  void Frames(int n, Controls c = {}) {
    for (int k = 0; k < n; ++k) Frame(c);
  }
  static Controls Escape() {
    Controls c;
    c.escapePressed = 1;
    return c;
  }
  static Controls Button1Pressed() {
    Controls c;
    c.button1Pressed = 1;
    return c;
  }
  // Starts a game from the title with the pointer on START.
  void StartGame() {
    game.flow.menu.ForEach([&](const MenuEntry& e) {
      if (e.id == kMenuStart) {
        game.shell.pointerX = static_cast<float>(e.x + 4);
        game.shell.pointerY = static_cast<float>(e.y + 4);
      }
    });
    Frame(Button1Pressed());
    ASSERT_EQ(game.flow.GameState, kPlaying);
  }
  void PointAtMenuEntry(std::int32_t id) {
    game.flow.menu.ForEach([&](const MenuEntry& e) {
      if (e.id == id) {
        game.shell.pointerX = static_cast<float>(e.x + e.width / 2);
        game.shell.pointerY = static_cast<float>(e.y + 8);
      }
    });
  }
  bool TextQueued(const std::string& text) {
    bool found = false;
    game.presentation.textQueue.ForEach([&](const TextRequest& r) { found = found || r.text == text; });
    return found;
  }
  bool SoundStartedThisFrame(int id) const { return (game.flow.soundsStarted >> id) & 1u; }
  // The frame of the scene (1 = the first) on which the flow is back on the
  // title, holding these controls on every frame; 0 if not within limit.
  int FramesUntilTitle(Controls c, int limit) {
    for (int k = 1; k <= limit; ++k) {
      Frame(c);
      if (game.flow.GameState == kTitleMenu) return k;
    }
    return 0;
  }

  NullAudioDevice device;
  Game game;
};

TEST_F(PlayFlowTest, NewGameEntersAFreshWorldWithTheHeroOnTheStart) {
  game.world.player.score = 900;
  game.flow.displayedScore = 77;
  ListInsert(game.world.Particles);
  game.world.FruitLog[3] = 5;
  StartGame();
  const World& w = game.world;
  EXPECT_EQ(game.flow.gamesStarted, 1);
  EXPECT_EQ(w.WorldWidth, kWidth);
  EXPECT_EQ(w.checkpointColumn, kStartColumn);
  EXPECT_EQ(w.checkpointRow, kStartRow);
  EXPECT_EQ(w.player.x, kStartColumn * 4096 + 2048);
  EXPECT_EQ(w.player.y, kStartRow * 4096);
  EXPECT_EQ(w.player.state, kHeroWalking);
  EXPECT_EQ(w.player.score, 0);
  EXPECT_EQ(game.flow.displayedScore, 0);
  EXPECT_EQ(w.frameCounter, 0);
  EXPECT_EQ(w.enemyShotTimer, 800);
  EXPECT_EQ(w.enemyShotReload, 800);
  EXPECT_EQ(w.FruitLog[3], 0);
  EXPECT_EQ(w.Particles.Count(), 0);
  EXPECT_EQ(w.Enemies.Count(), 1);
  EXPECT_EQ(w.Pickups.Count(), 8);  // the fruits
  EXPECT_EQ(w.internalHeight, 384);
  EXPECT_EQ(game.shell.pointerImage, 0);
  EXPECT_EQ(game.shell.clearColour, ColourPack(0, 128, 128));
  EXPECT_EQ(game.flow.menu.Count(), 0);
  const PlayerInput in = w.playerInput;
  EXPECT_EQ(in.dirX | in.dirY | in.button1 | in.button2 | in.button1Pressed | in.button2Pressed, 0);

  Frame();  // the first playing frame counts
  EXPECT_EQ(game.world.frameCounter, 1);
  EnterState(game, kPlaying);  // and every new game is counted
  EXPECT_EQ(game.flow.gamesStarted, 2);
  EXPECT_EQ(game.world.frameCounter, 0);
}

TEST_F(PlayFlowTest, PlayHostPlaysThroughTheFlowAndKeepsTheBestBounceInTheSettings) {
  StartGame();
  GamePlayHost host(game);
  game.flow.soundsStarted = 0;
  host.StartSound(kSoundGem);
  host.StartSound(kSoundGemDissolves);
  EXPECT_EQ(game.flow.soundsStarted, (1u << kSoundGem) | (1u << kSoundGemDissolves));
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundGem), 1);
  host.MaxBounce() = 9;
  EXPECT_EQ(game.options.MaxBounce, 9);
  host.EnterState(kPaused);
  EXPECT_EQ(game.flow.GameState, kPaused);
  EXPECT_EQ(game.flow.menu.Count(), 2);
  Frame();
  EXPECT_EQ(game.flow.soundsStarted, 0u);  // a new frame starts a new mask
}

TEST_F(PlayFlowTest, WithoutALayoutTheEmbeddedWorldIsPlayed) {
  game.flow.layout = nullptr;
  StartGame();
  EXPECT_EQ(game.world.WorldWidth, 512);
  EXPECT_EQ(game.world.checkpointColumn, 305);
  EXPECT_EQ(game.world.checkpointRow, 157);
  EXPECT_EQ(game.world.Enemies.Count(), 2768);
}

TEST_F(PlayFlowTest, InputIsCopiedAndTheHeroMovesEachPlayingFrame) {
  StartGame();
  Frames(20);  // land on the start
  Controls right;
  right.dirX = 1;
  right.button2 = 1;
  const std::int32_t x0 = game.world.player.x;
  Frame(right);
  EXPECT_EQ(game.world.playerInput.dirX, 1);
  EXPECT_EQ(game.world.playerInput.button2, 1);
  EXPECT_EQ(game.world.player.vx, 72);
  EXPECT_EQ(game.world.player.x, x0 + 72);
  EXPECT_EQ(game.world.frameCounter, 21);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundHeroFire));
  EXPECT_GT(game.presentation.frameQueue.Count(), 0);  // the world is drawn
  Frame();
  EXPECT_FALSE(SoundStartedThisFrame(kSoundHeroFire));  // the mask is per frame
}

TEST_F(PlayFlowTest, EscapeStillPlaysItsFrameAndPausesTheNext) {
  StartGame();
  Frames(20);
  Controls c;
  c.dirX = 1;
  Frames(5, c);
  const std::int32_t x0 = game.world.player.x;
  const std::int32_t vx0 = game.world.player.vx;
  c.escapePressed = 1;
  Frame(c);
  EXPECT_EQ(game.flow.GameState, kPaused);
  EXPECT_EQ(game.world.frameCounter, 26);
  EXPECT_EQ(game.world.player.x, x0 + vx0 + 72);
  EXPECT_GT(game.presentation.frameQueue.Count(), 0);
  EXPECT_FALSE(TextQueued("RESUME GAME"));  // the pause menu shows from the next frame

  c.escapePressed = 0;
  const std::int32_t x1 = game.world.player.x;
  Frame(c);
  EXPECT_EQ(game.world.player.x, x1);
  EXPECT_EQ(game.world.frameCounter, 26);
  EXPECT_TRUE(TextQueued("RESUME GAME"));
}

TEST_F(PlayFlowTest, PauseAndResumeLeaveTheGameAsItWas) {
  StartGame();
  Frames(20);
  Controls c;
  c.dirX = 1;
  Frames(10, c);
  game.world.player.score = 350;
  Frame(Escape());
  const World before = game.world;
  const std::string digest = WorldDigest(game.world);

  Frames(30);  // paused, pointer nowhere
  EXPECT_EQ(game.flow.GameState, kPaused);
  EXPECT_EQ(game.shell.pointerImage, 1);
  Frame(Escape());
  EXPECT_EQ(game.flow.GameState, kPlaying);
  EXPECT_EQ(game.shell.pointerImage, 0);
  EXPECT_EQ(WorldDigest(game.world), digest);
  EXPECT_EQ(game.world.player.x, before.player.x);
  EXPECT_EQ(game.world.player.score, 350);

  Frame(Escape());
  Frames(3);
  PointAtMenuEntry(kMenuResume);
  Frame(Button1Pressed());
  EXPECT_EQ(game.flow.GameState, kPlaying);
  EXPECT_EQ(game.shell.pointerImage, 0);
  EXPECT_EQ(game.flow.menu.Count(), 2);  // the pause entries stay, idle
  EXPECT_EQ(game.world.player.score, 350);
  EXPECT_EQ(game.flow.gamesStarted, 1);
}

TEST_F(PlayFlowTest, FloatingTextsAloneMoveWhilePaused) {
  StartGame();
  Frames(20);
  Frame(Escape());
  FloatingText& t = ListInsert(game.world.FloatingTexts);
  t = {"POWER UP", 0, 0, game.world.player.x, game.world.player.y, -1536, 128, 40};
  World before = game.world;
  Frame();
  EXPECT_EQ(game.world.FloatingTexts.Current()->y, before.player.y - 1536 + 128);
  EXPECT_EQ(game.world.FloatingTexts.Current()->life, 39);
  before.FloatingTexts = game.world.FloatingTexts;
  EXPECT_EQ(WorldDigest(game.world), WorldDigest(before));
}

TEST_F(PlayFlowTest, ExitToMainMenuPlaysTheTitleSound) {
  StartGame();
  Frame(Escape());
  Frame();
  PointAtMenuEntry(kMenuExitToTitle);
  Frame(Button1Pressed());
  EXPECT_EQ(game.flow.GameState, kTitleMenu);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundTitle));
  EXPECT_EQ(game.options.HiScore, 0);
}

TEST_F(PlayFlowTest, HoverSoundStopsOnPauseAndComesBackWhileStillHovering) {
  StartGame();
  Frames(20);
  ASSERT_EQ(game.world.player.jumpsLeft, 2);
  Controls jump;
  jump.button1 = 1;
  jump.button1Pressed = 1;
  Frame(jump);
  Controls hold;
  hold.button1 = 1;
  Frame(hold);
  Frame(jump);  // the second jump: no jumps left, the button held, thrust
  ASSERT_EQ(game.world.player.hovering, 1);
  EXPECT_EQ(game.flow.hoverSoundOn, 0);  // the loop follows one frame later
  Frame(hold);
  EXPECT_EQ(game.flow.hoverSoundOn, 1);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundHover));
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundHover), 1);
  Frame(hold);
  EXPECT_FALSE(SoundStartedThisFrame(kSoundHover));  // started once, looping

  Controls pause = hold;
  pause.escapePressed = 1;
  Frame(pause);
  EXPECT_EQ(game.flow.hoverSoundOn, 0);
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundHover), 0);
  Frame(hold);
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundHover), 0);
  Frame(pause);  // resumed; the hero still hovers from its last played frame
  EXPECT_EQ(game.flow.GameState, kPlaying);
  Frame(hold);
  EXPECT_EQ(game.flow.hoverSoundOn, 1);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundHover));
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundHover), 1);

  Frame();  // released: thrust ends this frame, the loop the next
  EXPECT_EQ(game.world.player.hovering, 0);
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundHover), 1);
  Frame();
  EXPECT_EQ(game.flow.hoverSoundOn, 0);
  EXPECT_EQ(SoundIsPlaying(game.sound, kSoundHover), 0);
}

TEST_F(PlayFlowTest, DisplayedScoreCatchesUpBy19Then7Then3Then1) {
  StartGame();
  Frames(20);
  game.world.player.score = 1000;
  std::vector<int> steps;
  for (int k = 0; k < 200 && game.flow.displayedScore < 1000; ++k) {
    const std::int32_t shown = game.flow.displayedScore;
    Frame();
    steps.push_back(game.flow.displayedScore - shown);
  }
  std::vector<int> expected;
  expected.insert(expected.end(), 43, 19);  // 1000 down to 183
  expected.insert(expected.end(), 12, 7);   // 183 to 99
  expected.insert(expected.end(), 20, 3);   // 99 to 39
  expected.insert(expected.end(), 39, 1);
  EXPECT_EQ(steps, expected);
  Frame();
  EXPECT_EQ(game.flow.displayedScore, 1000);
  game.world.player.score = 990;  // never counts down
  Frame();
  EXPECT_EQ(game.flow.displayedScore, 1000);
}

TEST_F(PlayFlowTest, GameOverEntryTakesTheHeroOutWithTwoHalves) {
  StartGame();
  Frames(20);
  Player& p = game.world.player;
  p.score = 500;
  p.vx = 100;
  p.bounces = 3;
  p.comboBonus = 20;
  const std::int32_t pickups = game.world.Pickups.Count();
  game.flow.soundsStarted = 0;
  EnterState(game, kGameOver);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundGameOver));
  EXPECT_EQ(game.flow.displayedScore, 500);
  EXPECT_EQ(p.state, kHeroBursting);
  EXPECT_EQ(p.bounces, 0);
  EXPECT_EQ(p.comboBonus, 0);
  EXPECT_EQ(p.anim, 512);
  EXPECT_EQ(p.vy, -1024);
  EXPECT_EQ(p.gravity, 48);
  ASSERT_EQ(game.world.Pickups.Count(), pickups + 2);
  std::vector<Pickup> halves;
  game.world.Pickups.ForEach([&](const Pickup& k) {
    if (k.kind == kPickupDebris) halves.push_back(k);
  });
  ASSERT_EQ(halves.size(), 2u);
  EXPECT_EQ(halves[0].variant, 92);
  EXPECT_EQ(halves[0].vx, 50 - 240);
  EXPECT_EQ(halves[0].vy, -1536);
  EXPECT_EQ(halves[1].variant, 88);
  EXPECT_EQ(halves[1].vx, 50 + 240);
  EXPECT_EQ(halves[1].vy, -1800);
  EXPECT_EQ(halves[0].x, p.x);
}

TEST_F(PlayFlowTest, PlanetSavedEntryClearsMonstersAndTheFruitLog) {
  StartGame();
  game.world.FruitLog[0] = 4;
  game.world.player.score = 4608;
  EnterState(game, kPlanetSaved);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundPlanetSaved));
  EXPECT_EQ(game.world.Enemies.Count(), 0);
  EXPECT_EQ(game.world.FruitLog[0], 0);
  EXPECT_EQ(game.world.player.anim, 1024);
  EXPECT_EQ(game.world.player.gravity, 48);
  EXPECT_EQ(game.flow.displayedScore, 4608);
  Frame();
  EXPECT_TRUE(TextQueued("YOU FOUND ALL THE FRUITS!"));
  EXPECT_TRUE(TextQueued("THE PLANET IS SAVED!"));
  int fruitIcons = 0;
  game.presentation.sheetClipQueue.ForEach([&](const SheetClipRequest& r) { fruitIcons += r.srcY == 96; });
  EXPECT_EQ(fruitIcons, 8);
}

TEST_F(PlayFlowTest, GameOverIgnoresButtonOneForFortyOneFrames) {
  StartGame();
  EnterState(game, kGameOver);
  EXPECT_EQ(FramesUntilTitle(Button1Pressed(), 600), 42);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundTitle));
}

TEST_F(PlayFlowTest, GameOverEndsAtOnceOnEscapeOrUntouchedOnFrame513) {
  StartGame();
  EnterState(game, kGameOver);
  EXPECT_EQ(FramesUntilTitle(Escape(), 600), 1);
  StartGame();
  EnterState(game, kGameOver);
  Frame();
  EXPECT_TRUE(TextQueued("GAME OVER"));
  EXPECT_EQ(FramesUntilTitle({}, 600), 512);  // the 513th frame of the scene
  EXPECT_TRUE(SoundStartedThisFrame(kSoundTitle));
}

TEST_F(PlayFlowTest, PlanetSavedIgnoresButtonOneFor257FramesAndEndsOnFrame1025) {
  StartGame();
  EnterState(game, kPlanetSaved);
  EXPECT_EQ(FramesUntilTitle(Button1Pressed(), 1200), 258);
  StartGame();
  EnterState(game, kPlanetSaved);
  EXPECT_EQ(FramesUntilTitle(Escape(), 1200), 1);
  StartGame();
  EnterState(game, kPlanetSaved);
  EXPECT_EQ(FramesUntilTitle({}, 1200), 1025);
}

TEST_F(PlayFlowTest, OnlyABetterScoreIsShownAsNewAndKept) {
  struct Case {
    std::int32_t score, hiScore;
    bool kept;
  };
  for (const Case& c : {Case{0, 0, false}, Case{300, 300, false}, Case{301, 300, true}}) {
    StartGame();
    game.options.HiScore = c.hiScore;
    game.world.player.score = c.score;
    EnterState(game, kGameOver);
    int shown = 0;
    for (int k = 0; k < 100; ++k) {
      Frame();
      shown += TextQueued("NEW HIGH SCORE!");
    }
    EXPECT_EQ(shown > 0, c.kept) << c.score;
    EXPECT_EQ(FramesUntilTitle(Escape(), 1), 1);
    EXPECT_EQ(game.options.HiScore, c.kept ? c.score : c.hiScore) << c.score;
    EXPECT_FALSE(TextQueued("NEW HIGH SCORE!"));  // the last frame already counts it kept
  }
}

TEST_F(PlayFlowTest, NewHighScoreBlinksEveryEightFrames) {
  StartGame();
  game.options.HiScore = 10;
  game.world.player.score = 20;
  EnterState(game, kGameOver);
  std::vector<int> shown;
  for (int k = 1; k <= 32; ++k) {
    Frame();
    if (TextQueued("NEW HIGH SCORE!")) shown.push_back(k);
  }
  // anim after frame k is 512 - k: bit 3 set for 511..504 (frames 1..8) and 495..488 (17..24).
  std::vector<int> expected;
  for (int k = 1; k <= 8; ++k) expected.push_back(k);
  for (int k = 17; k <= 24; ++k) expected.push_back(k);
  EXPECT_EQ(shown, expected);
}

TEST_F(PlayFlowTest, TheInvisibleBodyDriftsAndTheViewFollows) {
  StartGame();
  Frames(20);
  EnterState(game, kGameOver);
  const std::int32_t y0 = game.world.player.y;
  const std::int32_t cameraY0 = game.world.cameraY;
  Frame();
  // Up by 1024, then gravity 48 halved.
  EXPECT_EQ(game.world.player.y, y0 - 1024);
  EXPECT_EQ(game.world.player.vy, -1024 + 24);
  EXPECT_NE(game.world.cameraY, cameraY0);
  for (int k = 0; k < 300; ++k) {
    Frame();
    const World& w = game.world;
    ASSERT_GT(w.player.y, 0);  // stays inside the cave
    ASSERT_LT(w.player.y, kHeight * 4096);
  }
}

TEST_F(PlayFlowTest, HurtWithNoPowerEndsTheGameWithinThePlayingFrame) {
  StartGame();
  Frames(20);
  game.world.player.invulnerable = 0;
  game.world.player.power = 0;
  // A monster right on the hero.
  Enemy& e = ListInsert(game.world.Enemies);
  e.kind = 1;
  e.mode = kEnemyRoaming;
  e.x = game.world.player.x;
  e.y = game.world.player.y;
  e.radius = 3072;
  e.hitPoints = 1;
  Frame();
  EXPECT_EQ(game.flow.GameState, kGameOver);
  EXPECT_TRUE(SoundStartedThisFrame(kSoundGameOver));
  EXPECT_EQ(game.world.player.state, kHeroBursting);
  EXPECT_EQ(game.world.frameCounter, 21);
}

}  // namespace
}  // namespace quorin
