#include "flow/game.h"
#include "world/tables.h"
#include "flow/sprite_sheets.h"
namespace quorin { void BuildSprites(Game&){} void ReleaseAllSprites(Game&){} void RenderFrame(Game&){} void PrepareTables(Game& g){ReadAimOffsets(g); PrepareNoiseField(g.world);} }
