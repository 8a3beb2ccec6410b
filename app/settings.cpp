#include "app/settings.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/prefs.h"
#include "runtime/host.h"

namespace quorin {

namespace {

constexpr EngineKey Int(std::string_view key, std::int32_t fallback, std::int32_t Settings::*field) {
  return {key, static_cast<float>(fallback), field, nullptr};
}
constexpr EngineKey Float(std::string_view key, float fallback, float Settings::*field) {
  return {key, fallback, nullptr, field};
}

constexpr EngineKey kEngineKeys[] = {
    Float("Cursorspeed", 6.0f, &Settings::Cursorspeed),
    Int("SwapButtons", 0, &Settings::SwapButtons),
    Int("JoyCursor", 1, &Settings::JoyCursor),
    Int("Key1", 44, &Settings::Key1),
    Int("Key2", 45, &Settings::Key2),
    Int("KeyLeft", 203, &Settings::KeyLeft),
    Int("KeyRight", 205, &Settings::KeyRight),
    Int("KeyUp", 200, &Settings::KeyUp),
    Int("KeyDown", 208, &Settings::KeyDown),
    Float("FullscreenMouseSpeed", 0.8f, &Settings::FullscreenMouseSpeed),
    Int("TabletMode", 0, &Settings::TabletMode),
    Int("WindowCursorScaling", 0, &Settings::WindowCursorScaling),
    Int("Fullscreenwidth", 0, &Settings::Fullscreenwidth),
    Int("Fullscreenheight", 0, &Settings::Fullscreenheight),
    Int("FullscreenAspect", 0, &Settings::FullscreenAspect),
    Int("InternalAspect", 2, &Settings::InternalAspect),
    Int("Windowwidth", 768, &Settings::Windowwidth),
    Int("Windowed", 1, &Settings::Windowed),
    Int("SpritesMainMem", 1, &Settings::SpritesMainMem),
    Int("BilinearFiltering", 1, &Settings::BilinearFiltering),
    Int("Vsync", 1, &Settings::Vsync),
    Int("RefreshRate", 0, &Settings::RefreshRate),
    Int("FrameSkip", 0, &Settings::FrameSkip),
    Int("JoystickId", 0, &Settings::JoystickId),
    Int("JoystickButtons", 16, &Settings::JoystickButtons),
    Int("StoreUserDataLocally", 1, &Settings::StoreUserDataLocally),
    Int("SavePrefsOnExit", 0, &Settings::SavePrefsOnExit),
};

// The user file's entries: index, key.
constexpr std::string_view kUserKeys[] = {"AudioVolume", "Windowed", "Smoothing", "HiScore", "MaxBounce"};
// HiScore and MaxBounce, which a world of one's own does not save.
constexpr std::size_t kSessionOnlyFrom = 3;

std::int32_t Low32(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

}  // namespace

std::span<const EngineKey> EngineKeys() { return kEngineKeys; }

std::optional<std::string> ProcessEnvironment(std::string_view name) {
  return HostEnvironment(name);
}

Text UserFilePathFor(std::int32_t storeLocally, const EnvironmentLookup& environment) {
  if (storeLocally != 0) return Text(kUserFileName);
  return HostUserFilePath(kUserFolderName, kUserFileName, environment);
}

void ReadEngineSettings(Game& game) {
  Settings& s = game.settings;
  PrefsStore store;
  PrefsOpen(store, kEngineSettingsFile);
  for (const EngineKey& k : kEngineKeys) {
    if (k.floatField) {
      s.*k.floatField = PrefsReadFloat(store, k.key, k.fallback);
    } else {
      s.*k.intField = PrefsReadInt(store, k.key, static_cast<std::int32_t>(k.fallback));
    }
  }
  game.shell.screenWidth = s.Fullscreenwidth;
  game.shell.screenHeight = s.Fullscreenheight;
  PrefsClose(store);
  s.userFilePath = UserFilePathFor(s.StoreUserDataLocally, ProcessEnvironment);
}

void SetUserSetting(Game& game, std::int32_t index, std::string_view key, std::string_view value) {
  if (index < 0 || static_cast<std::size_t>(index) >= game.settingsTable.Size()) return;
  SettingsEntry& entry = game.settingsTable[static_cast<std::size_t>(index)];
  entry.used = 1;
  entry.key = key;
  entry.value = value;
}

void ReadUserFile(Game& game) {
  PrefsStore store;
  PrefsOpen(store, game.settings.userFilePath);
  for (std::size_t k = 0; k < game.settingsTable.Size(); ++k) {
    SettingsEntry& entry = game.settingsTable[k];
    if (entry.used) entry.value = PrefsReadText(store, entry.key, entry.value);
  }
  PrefsClose(store);
}

bool WriteUserFile(Game& game) {
  PrefsStore store;
  if (!PrefsCreate(store, game.settings.userFilePath)) return false;
  for (std::size_t k = 0; k < game.settingsTable.Size(); ++k) {
    const SettingsEntry& entry = game.settingsTable[k];
    if (entry.used) PrefsWriteText(store, entry.key, entry.value);
  }
  return PrefsClose(store);
}

void LoadUserSettings(Game& game) {
  Settings& s = game.settings;
  OptionsState& o = game.options;
  SetUserSetting(game, 0, kUserKeys[0], IntToText(s.AudioVolume));
  SetUserSetting(game, 1, kUserKeys[1], IntToText(s.Windowed));
  SetUserSetting(game, 2, kUserKeys[2], IntToText(s.BilinearFiltering));
  SetUserSetting(game, 3, kUserKeys[3], "0");
  SetUserSetting(game, 4, kUserKeys[4], "0");
  ReadUserFile(game);
  std::int32_t* const choices[] = {&o.volumeChoice, &o.windowedChoice, &o.smoothingChoice, &o.HiScore, &o.MaxBounce};
  for (std::size_t k = 0; k < std::size(choices); ++k) {
    *choices[k] = k < game.settingsTable.Size() ? Low32(TextToInt(game.settingsTable[k].value)) : 0;
  }
  s.AudioVolume = o.volumeChoice;
  s.Windowed = o.windowedChoice;
  s.BilinearFiltering = o.smoothingChoice;
  // The bests of a world of one's own count for this session only: the
  // built-in world's stay in the file as they were.
  if (game.flow.layout) o.HiScore = o.MaxBounce = 0;
}

bool SaveUserSettings(Game& game) {
  OptionsState& o = game.options;
  o.windowedChoice = game.settings.Windowed;
  const std::int32_t values[] = {o.volumeChoice, o.windowedChoice, o.smoothingChoice, o.HiScore, o.MaxBounce};
  const std::size_t kept = game.flow.layout ? kSessionOnlyFrom : std::size(values);
  for (std::size_t k = 0; k < kept; ++k) {
    SetUserSetting(game, static_cast<std::int32_t>(k), kUserKeys[k], IntToText(values[k]));
  }
  return WriteUserFile(game);
}

}  // namespace quorin
