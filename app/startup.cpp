#include "app/startup.h"

#include "flow/frame_layout.h"
#include "flow/sprite_sheets.h"

namespace quorin {

void CreateContainers(Game& game) {
  Presentation& p = game.presentation;
  World& w = game.world;
  ArrayCreate(p.frameTable, kFrameIdLimit);
  ListCreate(p.frameQueue);
  ListCreate(p.tileQueue);
  ListCreate(p.sheetClipQueue);
  ListCreate(p.textQueue);
  ArrayCreate(game.settingsTable, kSettingsTableSize);
  ArrayCreate(p.pointerImages, kPointerImageSlots);
  ArrayCreateMulti(w.directionTable, {kAngleSteps, 2});
  ArrayCreateMulti(p.backgroundMap, {kBackgroundMapSlots, kBackgroundMapSlots});
  ArrayCreateMulti(w.fixedDirectionTable, {kAngleSteps + 1, 2});
  ListCreate(game.flow.menu);
  ArrayCreate(w.aimOffsets, kAimOffsetSlots);
  ArrayCreateMulti(w.noiseField, {kNoiseSize, kNoiseSize});
}

}  // namespace quorin
