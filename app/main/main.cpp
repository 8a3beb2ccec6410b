// Entry point of the game.
#include "app/settings.h"
#include "app/startup.h"

int main() {
  using namespace quorin;
  Game game;
  CreateContainers(game);
  ReadEngineSettings(game);
  game.settings.AudioVolume = 3;  // the user file may override it
  LoadUserSettings(game);
  SaveUserSettings(game);
  return 0;
}
