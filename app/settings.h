// The two settings files: engine.ini (read once at start-up, never written)
// and the user file "Quorin.cfg" (read at start-up, rewritten at every
// orderly exit).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "flow/game.h"
#include "runtime/host.h"

namespace quorin {

inline constexpr std::string_view kEngineSettingsFile = "engine.ini";
inline constexpr std::string_view kUserFileName = "Quorin.cfg";
inline constexpr std::string_view kUserFolderName = "Brightvault";

// One engine.ini key: exactly one of the two fields is set.
struct EngineKey {
  std::string_view key;
  float fallback;
  std::int32_t Settings::*intField;
  float Settings::*floatField;
};

// The engine.ini keys in the order they are read.
std::span<const EngineKey> EngineKeys();

// Reads every engine.ini key (defaults for a missing file or key) and fixes
// the user file path, creating the user folder when it is needed.
void ReadEngineSettings(Game& game);

// Where the user file lives: the working directory when storeLocally is
// nonzero, else the per-user data folder (created when missing). Empty when
// no usable folder exists: the game then runs on defaults and saves nothing.
Text UserFilePathFor(std::int32_t storeLocally, const EnvironmentLookup& environment);
std::optional<std::string> ProcessEnvironment(std::string_view name);

void LoadUserSettings(Game& game);
// Writes the user file; false when it could not be written (nothing saved).
bool SaveUserSettings(Game& game);
void SetUserSetting(Game& game, std::int32_t index, std::string_view key, std::string_view value);
void ReadUserFile(Game& game);
bool WriteUserFile(Game& game);

}  // namespace quorin
