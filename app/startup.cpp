#include "app/startup.h"

namespace quorin {

void CreateContainers(Game& game) { ArrayCreate(game.settingsTable, kSettingsTableSize); }

}  // namespace quorin
