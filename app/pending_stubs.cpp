#include "flow/game.h"
#include "world/tables.h"
#include "flow/sprite_sheets.h"
namespace quorin { void DetectJoystick(Game&){} void UpdateControls(Game&){} void ShowSystemCursor(Game&, int){}
void BuildSprites(Game&){} void ReleaseAllSprites(Game&){} void RenderFrame(Game&){} void PrepareTables(Game& g){ReadAimOffsets(g); PrepareNoiseField(g.world);} }
