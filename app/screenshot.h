// F12 saves the picture on screen as a PNG in a "screenshots" folder beside
// the user file.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "flow/game.h"

namespace quorin {

inline constexpr std::string_view kScreenshotFolder = "screenshots";

// The folder beside the user file (the working directory when the user file
// has no folder of its own).
std::filesystem::path ScreenshotFolder(const Game& game);
// "Quorin 2026-12-08 16-20-46.png"; a second shot in the same second gets
// " 2", " 3", ... before the extension (attempt 1 is the plain name).
std::string ScreenshotFileName(const std::tm& when, int attempt);

// MainLoopStep, after UpdateControls: on the frame F12 goes down, writes the
// picture the last present showed and plays a short sound. Nothing else
// changes; a shot that cannot be written is silent.
void ScreenshotKey(Game& game);
// The shot itself; the path written, or empty on failure.
std::filesystem::path TakeScreenshot(Game& game);

}  // namespace quorin
