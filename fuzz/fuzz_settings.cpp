// Both settings files on disk, as the game reads them at start-up and writes
// the user file at exit. The first byte splits the input: that share of the
// rest is engine.ini, the remainder the user file. The saved user file must
// always be exactly the five lines of the values in use.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "app/settings.h"
#include "app/startup.h"
#include "runtime/file_io.h"
#include "runtime/text.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A folder of our own, on memory when the machine has it (saving flushes to
  // disk), holding the user folder too so nothing outside it is touched.
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (base / "quorin-fuzz-settings-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) std::abort();
  fs::current_path(pattern);
  ::setenv("HOME", pattern.c_str(), 1);
  ::setenv("XDG_DATA_HOME", pattern.c_str(), 1);
  return 0;
}

namespace {

void Put(const char* path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path, "wb");
  if (!file) std::abort();
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorin;
  if (size == 0) return 0;
  const std::size_t rest = size - 1;
  const std::size_t engineSize = rest * data[0] / 255;
  Put("engine.ini", data + 1, engineSize);

  // One game for the whole run (it is large); what the settings code reads
  // and writes starts afresh each time.
  static Game& game = []() -> Game& {
    auto* g = new Game;
    CreateContainers(*g);
    return *g;
  }();
  game.settings = Settings{};
  game.options = OptionsState{};
  for (std::size_t k = 0; k < game.settingsTable.Size(); ++k) game.settingsTable[k] = SettingsEntry{};
  ReadEngineSettings(game);
  game.settings.AudioVolume = 3;
  if (!game.settings.userFilePath.empty()) Put(game.settings.userFilePath.c_str(), data + 1 + engineSize, rest - engineSize);
  LoadUserSettings(game);
  if (game.settings.userFilePath.empty()) return 0;
  if (!SaveUserSettings(game)) std::abort();

  const OptionsState& o = game.options;
  const std::string expected = "AudioVolume = " + IntToText(o.volumeChoice) + "\r\nWindowed = " +
                               IntToText(o.windowedChoice) + "\r\nSmoothing = " + IntToText(o.smoothingChoice) +
                               "\r\nHiScore = " + IntToText(o.HiScore) + "\r\nMaxBounce = " + IntToText(o.MaxBounce) +
                               "\r\n";
  std::string saved;
  if (!ReadWholeFile(game.settings.userFilePath, saved) || saved != expected) std::abort();
  return 0;
}
