#include "app/screenshot.h"

#include <chrono>
#include <cstdio>
#include <system_error>

#include "runtime/host.h"
#include "runtime/input.h"
#include "runtime/key_codes.h"
#include "runtime/png_codec.h"
#include "runtime/sound.h"
#include "world/play_host.h"

namespace quorin {
namespace {

// The gem pickup: short and friendly, and it says "got it".
constexpr int kScreenshotSound = kSoundGem;
constexpr int kMaxAttempts = 100;

std::tm LocalNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  return HostLocalTime(now);
}

}  // namespace

std::filesystem::path ScreenshotFolder(const Game& game) {
  const std::filesystem::path userFile = PathFromUtf8(game.settings.userFilePath);
  return userFile.parent_path() / kScreenshotFolder;
}

std::string ScreenshotFileName(const std::tm& when, int attempt) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d-%02d-%02d", when.tm_year + 1900, when.tm_mon + 1,
                when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
  std::string name = "Quorin " + std::string(stamp);
  if (attempt > 1) name += " " + std::to_string(attempt);
  return name + ".png";
}

std::filesystem::path TakeScreenshot(Game& game) {
  namespace fs = std::filesystem;
  Surface picture;
  if (game.platform.video == nullptr || !game.platform.video->ReadPicture(picture)) return {};
  const fs::path folder = ScreenshotFolder(game);
  std::error_code ec;
  if (!folder.empty()) fs::create_directories(folder, ec);
  const std::tm when = LocalNow();
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const fs::path path = folder / ScreenshotFileName(when, attempt);
    if (fs::exists(path, ec)) continue;
    return SavePng(picture, PathToUtf8(path)) ? path : fs::path{};
  }
  return {};
}

void ScreenshotKey(Game& game) {
  const bool down = KeyIsHeld(game.input, kKeyF12) != 0;
  const bool pressed = down && game.shell.screenshotKeyWasDown == 0;
  game.shell.screenshotKeyWasDown = down ? 1 : 0;
  if (pressed && !TakeScreenshot(game).empty()) SoundStart(game.sound, kScreenshotSound);
}

}  // namespace quorin
