#include "flow/game_states.h"

#include "flow/game.h"
#include "flow/menus.h"
#include "flow/sound_cues.h"
#include "runtime/numeric.h"

namespace quorin {

namespace {

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
  if (game.controls.escapePressed) EnterState(game, kPaused);
}

void PausedFrame(Game& game) {
  StopHoverSound(game);
  SetPointerSpeed(game);
  MenuPass(game);
  if (game.controls.button1Pressed) {
    if (game.flow.hoveredEntry == kMenuResume) {
      // Straight back: nothing is reset and the pause entries stay listed.
      game.shell.pointerImage = 0;
      game.flow.GameState = kPlaying;
    } else if (game.flow.hoveredEntry == kMenuExitToTitle) {
      SoundStart(game.sound, kSoundTitle);
      EnterState(game, kTitleMenu);
    }
  } else {
    PointAtHovered(game);
  }
  if (game.controls.escapePressed) {
    game.shell.pointerImage = 0;
    game.flow.GameState = kPlaying;
  }
}

}  // namespace

void EnterState(Game& game, std::int32_t n) {
  StopHoverSound(game);
  game.flow.GameState = n;
  switch (n) {
    case kTitleMenu:
    case kOptions: game.shell.clearColour = ColourPack(0, 69, 140); break;
    case kPlaying:
      game.shell.pointerImage = 0;
      game.shell.clearColour = ColourPack(0, 128, 128);
      game.flow.hoverSoundOn = 0;
      game.flow.displayedScore = 0;
      break;
    default: break;
  }
  BuildMenu(game);
}

void GameFrame(Game& game) {
  switch (game.flow.GameState) {
    case kTitleMenu: TitleFrame(game); break;
    case kOptions: OptionsFrame(game); break;
    case kPlaying: PlayingFrame(game); break;
    case kPaused: PausedFrame(game); break;
    default: break;
  }
}

}  // namespace quorin
