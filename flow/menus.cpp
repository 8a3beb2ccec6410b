#include "flow/menus.h"

#include "flow/game.h"
#include "flow/game_states.h"
#include "flow/sound_cues.h"
#include "runtime/text.h"

namespace quorin {

namespace {

constexpr std::int32_t kEntryHeight = 16;
constexpr std::int32_t kEntrySpacing = -2;
constexpr std::int32_t kTitleRightEdge = 460;
constexpr std::int32_t kPictureCentreX = 256;
constexpr std::int32_t kHiScoreDigits = 7;  // at least; a longer score shows whole

void AddEntry(Game& game, std::int32_t id, std::string_view text, std::int32_t x, std::int32_t y) {
  MenuEntry& e = ListInsert(game.flow.menu);
  e.id = id;
  e.x = x;
  e.y = y;
  e.width = TextWidth(game, text, kFontBoldWhite, kEntrySpacing);
  e.height = kEntryHeight;
  e.text = text;
}

// Entries whose x depends on their own width.
void AddRightAligned(Game& game, std::int32_t id, std::string_view text, std::int32_t y) {
  AddEntry(game, id, text, kTitleRightEdge - TextWidth(game, text, kFontBoldWhite, kEntrySpacing), y);
}

void AddCentred(Game& game, std::int32_t id, std::string_view text, std::int32_t y) {
  AddEntry(game, id, text, kPictureCentreX - TextWidth(game, text, kFontBoldWhite, kEntrySpacing) / 2, y);
}

}  // namespace

void BuildMenu(Game& game) {
  ListClearAll(game.flow.menu);
  const std::int32_t h = game.shell.internalHeight;
  switch (game.flow.GameState) {
    case kTitleMenu: {
      const std::int32_t top = (h - 118) / 2;
      AddRightAligned(game, kMenuStart, "START", top + 86);
      AddRightAligned(game, kMenuOptions, "OPTIONS", top + 110);
      AddRightAligned(game, kMenuExit, "EXIT", top + 134);
      break;
    }
    case kOptions:
      AddEntry(game, 17, "[ ] OFF", 16, 48);
      AddEntry(game, 18, "[ ] LOW", 16, 64);
      AddEntry(game, 19, "[ ] MEDIUM", 16, 80);
      AddEntry(game, 20, "[ ] HIGH", 16, 96);
      AddEntry(game, 21, "[ ] MAX", 16, 112);
      AddEntry(game, kMenuFullscreen, "[ ] FULLSCREEN", 16, 152);
      AddEntry(game, kMenuSmoothing, "[ ] SMOOTHING", 16, 168);
      AddEntry(game, kMenuReturn, "RETURN TO MAIN MENU", 16, 192);
      break;
    case kPaused:
      AddCentred(game, kMenuResume, "RESUME GAME", h / 2 - 20);
      AddCentred(game, kMenuExitToTitle, "EXIT TO MAIN MENU", h / 2 + 4);
      break;
    default: break;
  }
}

void MenuPass(Game& game) {
  FlowState& flow = game.flow;
  flow.hoveredEntry = 0;
  const float px = game.shell.pointerX;
  const float py = game.shell.pointerY;
  ListRewind(flow.menu);
  while (MenuEntry* e = ListStep(flow.menu)) {
    if (e->x <= px && px <= e->x + e->width && e->y <= py && py <= e->y + e->height) flow.hoveredEntry = e->id;
    QueueText(game, e->text, flow.hoveredEntry == e->id ? kFontBoldWhite : kFontBoldYellow, e->x, e->y, kEntrySpacing, 0);
  }
}

void QueueTitleScreen(Game& game) {
  const std::int32_t h = game.shell.internalHeight;
  // On a 5:4 picture the character art stands on the bottom edge.
  QueueSheetClip(game, 0, 256, 320, 256, 16, game.shell.internalAspect < 1.3f ? h - 256 : 128);
  QueueSheetClip(game, 64, 160, 400, 96, 56, 28);
  // A world of one's own keeps its bests for the session only, and says so.
  const Text line = Text(game.flow.layout ? "SESSION HI SCORE: " : "HI SCORE: ") +
                    ZeroPadded(game.options.HiScore, kHiScoreDigits) +
                    "     MAX BOUNCE: " + IntToText(game.options.MaxBounce);
  QueueText(game, line, kFontSmall, kPictureCentreX, 8, kEntrySpacing, 1);
  QueueSheetClip(game, 340, 486, 168, 26, 340, h - 28);
}

void QueueOptionsScreen(Game& game) {
  const OptionsState& o = game.options;
  QueueText(game, "OPTIONS", kFontThin, 16, 8, 0, 0);
  QueueText(game, "SOUND VOLUME:", kFontThin, 16, 32, 0, 0);
  QueueText(game, "DISPLAY:", kFontThin, 16, 136, 0, 0);
  QueueText(game, "X", kFontBoldWhite, 25, o.volumeChoice * 16 + 48, -1, 0);
  if (o.windowedChoice == 0) QueueText(game, "X", kFontBoldWhite, 25, 152, -1, 0);
  if (o.smoothingChoice != 0) QueueText(game, "X", kFontBoldWhite, 25, 168, -1, 0);
}

void ApplyOptionChoice(Game& game) {
  OptionsState& o = game.options;
  const std::int32_t oldVolume = o.volumeChoice;
  const std::int32_t chosen = game.flow.hoveredEntry;
  if (chosen >= kMenuVolumeOff && chosen <= kMenuVolumeMax) {
    o.volumeChoice = chosen - kMenuVolumeOff;
  } else if (chosen == kMenuFullscreen) {
    o.windowedChoice = 1 - o.windowedChoice;
  } else if (chosen == kMenuSmoothing) {
    o.smoothingChoice = 1 - o.smoothingChoice;
    game.settings.BilinearFiltering = o.smoothingChoice;
  } else if (chosen == kMenuReturn) {
    EnterState(game, kTitleMenu);
  }
  if (o.volumeChoice != oldVolume) {
    game.settings.AudioVolume = o.volumeChoice;
    ApplyVolume(game);
  }
  if (game.settings.Windowed != o.windowedChoice) game.shell.displayRequest = 1;
}

}  // namespace quorin
