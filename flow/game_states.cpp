#include "flow/game_states.h"

#include <algorithm>

#include "flow/draw_world.h"
#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/menus.h"
#include "flow/play_host.h"
#include "flow/sound_cues.h"
#include "runtime/numeric.h"
#include "world/effects.h"
#include "world/enemies.h"
#include "world/generation.h"
#include "world/map.h"
#include "world/player.h"

namespace quorin {

namespace {

// The monsters' shared shot timer and its reload at the start of a game.
constexpr std::int32_t kEnemyShotReload = 800;
// The closing scenes count anim down from these; button 1 ends them once
// anim is below the second value (the 42nd and the 258th frame).
constexpr std::int32_t kGameOverFrames = 512;
constexpr std::int32_t kGameOverLocked = 472;
constexpr std::int32_t kPlanetSavedFrames = 1024;
constexpr std::int32_t kPlanetSavedLocked = 768;
// The invisible body of the closing scenes floats down slowly.
constexpr std::int32_t kSceneGravity = 48;
constexpr std::int32_t kPictureCentreX = kPictureWidth / 2;
constexpr std::int32_t kSceneTextSpacing = -2;

void StopHoverSound(Game& game) {
  if (game.flow.hoverSoundOn == 1) {
    SoundStop(game.sound, kSoundHover);
    game.flow.hoverSoundOn = 0;
  }
}

void SetPointerSpeed(Game& game) {
  game.shell.pointerSpeedFactor = game.controls.button2 ? kSlowPointerFactor : 1.0f;
}

void PointAtHovered(Game& game) { game.shell.pointerImage = game.flow.hoveredEntry != 0 ? 2 : 1; }

void ClearFruitLog(World& world) { std::fill(std::begin(world.FruitLog), std::end(world.FruitLog), 0); }

// A new game: the hero's new-game values, empty lists, a fresh world, the
// hero standing on the start.
void EnterPlaying(Game& game) {
  World& w = game.world;
  game.shell.pointerImage = 0;
  game.shell.clearColour = ColourPack(0, 128, 128);
  PlayerNewGame(w.player);
  game.flow.hoverSoundOn = 0;
  ClearFruitLog(w);
  ListClearAll(w.PlayerShots);
  ListClearAll(w.Particles);
  ListClearAll(w.Pickups);
  ListClearAll(w.Enemies);
  ListClearAll(w.EnemyShots);
  ListClearAll(w.FloatingTexts);
  w.frameCounter = 0;
  w.enemyShotReload = kEnemyShotReload;
  w.enemyShotTimer = kEnemyShotReload;
  game.flow.displayedScore = 0;
  w.internalHeight = game.shell.internalHeight;
  if (game.flow.layout) GenerateWorld(w, *game.flow.layout);
  else GenerateWorld(w);
  w.player.x = w.checkpointColumn * kUnitsPerCell + kUnitsPerCell / 2;
  w.player.y = w.checkpointRow * kUnitsPerCell;  // the top edge of the start cell
  w.playerInput = PlayerInput{};
  ++game.flow.gamesStarted;
}

// Both closing scenes take the hero out of play; its body flies on unseen so
// the view drifts.
void TakeHeroOutOfPlay(Game& game, std::int32_t frames) {
  Player& p = game.world.player;
  p.state = kHeroBursting;
  p.bounces = 0;
  p.comboBonus = 0;
  game.flow.displayedScore = p.score;
  p.anim = frames;
}

void EnterGameOver(Game& game) {
  World& w = game.world;
  Player& p = w.player;
  StartSoundCue(game, kSoundGameOver);
  TakeHeroOutOfPlay(game, kGameOverFrames);
  p.vy = -1024;
  AddPickup(w, kPickupDebris, kBurstHalfFramesB, p.x, p.y, (p.vx >> 1) - 240, -1536, 0);
  AddPickup(w, kPickupDebris, kBurstHalfFramesA, p.x, p.y, (p.vx >> 1) + 240, -1800, 0);
  p.gravity = kSceneGravity;
}

void EnterPlanetSaved(Game& game) {
  World& w = game.world;
  StartSoundCue(game, kSoundPlanetSaved);
  ListClearAll(w.Enemies);
  TakeHeroOutOfPlay(game, kPlanetSavedFrames);
  w.player.gravity = kSceneGravity;
  ClearFruitLog(w);
}

void UpdateHoverSound(Game& game) {
  const bool hovering = game.world.player.hovering != 0;
  if (hovering && game.flow.hoverSoundOn == 0) {
    StartSoundCue(game, kSoundHover, kSoundLoop);
    game.flow.hoverSoundOn = 1;
  } else if (!hovering && game.flow.hoverSoundOn == 1) {
    SoundStop(game.sound, kSoundHover);
    game.flow.hoverSoundOn = 0;
  }
}

// The HUD's score counts up toward the real one, faster the further behind.
void CatchUpScore(Game& game) {
  const std::int32_t score = game.world.player.score;
  std::int32_t& shown = game.flow.displayedScore;
  if (score <= shown) return;
  const std::int32_t d = score - shown;
  shown += d > 200 ? 19 : d > 100 ? 7 : d > 40 ? 3 : 1;
}

void TitleFrame(Game& game) {
  StopHoverSound(game);
  if (game.controls.escapePressed) game.shell.quitFlag = 1;
  SetPointerSpeed(game);
  MenuPass(game);
  PointAtHovered(game);
  if (game.controls.button1Pressed) {
    switch (game.flow.hoveredEntry) {
      case kMenuStart: EnterState(game, kPlaying); break;
      case kMenuOptions: EnterState(game, kOptions); break;
      case kMenuExit: game.shell.quitFlag = 1; break;
      default: break;
    }
  }
  QueueTitleScreen(game);
}

void OptionsFrame(Game& game) {
  game.options.windowedChoice = game.settings.Windowed;
  if (game.controls.escapePressed) EnterState(game, kTitleMenu);
  SetPointerSpeed(game);
  QueueOptionsScreen(game);
  MenuPass(game);
  PointAtHovered(game);
  if (game.controls.button1Pressed) ApplyOptionChoice(game);
}

void PlayingFrame(Game& game) {
  World& w = game.world;
  const Controls& c = game.controls;
  UpdateHoverSound(game);
  // Paused from the next frame on; this one still plays in full.
  if (c.escapePressed) EnterState(game, kPaused);
  ++w.frameCounter;
  w.playerInput = {c.dirX, c.dirY, c.button1, c.button2, c.button1Pressed, c.button2Pressed};
  GamePlayHost host(game);
  PlayerUpdate(w, host);
  UpdatePlayerShots(w);
  UpdatePickups(w, host);
  UpdateEnemies(w, host);
  UpdateEnemyShots(w, host);
  UpdateParticles(w);
  UpdateFloatingTexts(w);
  CatchUpScore(game);
  DrawWorld(game);
}

void PausedFrame(Game& game) {
  StopHoverSound(game);
  SetPointerSpeed(game);
  UpdateFloatingTexts(game.world);  // the texts keep rising; nothing else moves
  DrawWorld(game);
  MenuPass(game);
  if (game.controls.button1Pressed) {
    if (game.flow.hoveredEntry == kMenuResume) {
      // Straight back: nothing is reset and the pause entries stay listed.
      game.shell.pointerImage = 0;
      game.flow.GameState = kPlaying;
    } else if (game.flow.hoveredEntry == kMenuExitToTitle) {
      StartSoundCue(game, kSoundTitle);
      EnterState(game, kTitleMenu);
    }
  } else {
    PointAtHovered(game);
  }
  // A chosen entry has already left the pause; Escape must not undo half of it.
  if (game.flow.GameState != kPaused) return;
  if (game.controls.escapePressed) {
    game.shell.pointerImage = 0;
    game.flow.GameState = kPlaying;
  }
}

// The hero's body, out of play, keeps flying and bouncing off rock.
void FlyHiddenBody(World& w) {
  Player& p = w.player;
  bool bounced = false;
  p.vx = std::max(-p.maxSpeedX, std::min(p.vx, p.maxSpeedX));
  p.x += p.vx;
  if (CellAt(w, p.x, p.y) != 0) {
    p.vx = -(p.vx >> 1);
    p.x += p.vx;
    bounced = true;
  }
  p.vy = std::min(p.vy, p.maxFallSpeed);
  p.y += p.vy;
  if (CellAt(w, p.x, p.y) != 0) {
    p.y -= p.vy;
    if (!bounced) p.vy = -(2 * p.vy / 3);
  }
  p.vy += p.gravity >> 1;
}

void ClosingFrame(Game& game, bool planetSaved) {
  World& w = game.world;
  Player& p = w.player;
  GamePlayHost host(game);
  UpdatePlayerShots(w);
  UpdatePickups(w, host);
  UpdateEnemies(w, host);
  UpdateEnemyShots(w, host);
  UpdateParticles(w);
  UpdateFloatingTexts(w);
  // A shot still in flight can score; the HUD shows it at once, as the high score will.
  game.flow.displayedScore = p.score;

  const std::int32_t locked = planetSaved ? kPlanetSavedLocked : kGameOverLocked;
  const Controls& c = game.controls;
  if (c.escapePressed || p.anim == 0 || (c.button1Pressed && p.anim < locked)) {
    if (p.score > game.options.HiScore) game.options.HiScore = p.score;
    StartSoundCue(game, kSoundTitle);
    EnterState(game, kTitleMenu);  // this frame still finishes the scene's work
  }

  FlyHiddenBody(w);
  UpdateCamera(w);
  DrawWorld(game);
  --p.anim;

  const std::int32_t mid = game.shell.internalHeight / 2;
  if (planetSaved) {
    QueueText(game, "YOU FOUND ALL THE FRUITS!", kFontBoldYellow, kPictureCentreX, mid - 12, kSceneTextSpacing, 1);
    QueueText(game, "THE PLANET IS SAVED!", kFontBoldYellow, kPictureCentreX, mid + 12, kSceneTextSpacing, 1);
  } else {
    QueueText(game, "GAME OVER", kFontBoldYellow, kPictureCentreX, mid, kSceneTextSpacing, 1);
  }
  if (p.score > game.options.HiScore && (p.anim & 8)) {
    QueueText(game, "NEW HIGH SCORE!", kFontBoldYellow, kPictureCentreX, 4, kSceneTextSpacing, 1);
  }
}

}  // namespace

void EnterState(Game& game, std::int32_t n) {
  StopHoverSound(game);
  game.flow.GameState = n;
  switch (n) {
    case kTitleMenu:
    case kOptions: game.shell.clearColour = ColourPack(0, 69, 140); break;
    case kPlaying: EnterPlaying(game); break;
    case kGameOver: EnterGameOver(game); break;
    case kPlanetSaved: EnterPlanetSaved(game); break;
    default: break;
  }
  BuildMenu(game);
}

void GameFrame(Game& game) {
  game.flow.soundsStarted = 0;
  switch (game.flow.GameState) {
    case kTitleMenu: TitleFrame(game); break;
    case kOptions: OptionsFrame(game); break;
    case kPlaying: PlayingFrame(game); break;
    case kPaused: PausedFrame(game); break;
    case kGameOver: ClosingFrame(game, false); break;
    case kPlanetSaved: ClosingFrame(game, true); break;
    default: break;
  }
}

}  // namespace quorin
