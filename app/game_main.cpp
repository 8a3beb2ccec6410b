#include "app/game_main.h"

#include <future>
#include <memory>
#include <vector>

#include "app/controls.h"
#include "app/display.h"
#include "app/screenshot.h"
#include "app/settings.h"
#include "app/startup.h"
#include "flow/game_states.h"
#include "flow/render.h"
#include "flow/sound_cues.h"
#include "flow/sprite_sheets.h"
#include "runtime/numeric.h"
#include "runtime/tasks.h"
#include "world/tables.h"

namespace quorin {

namespace {

constexpr std::string_view kGameTitle = "Quorin";
constexpr std::string_view kErrorTitle = "Error";
constexpr std::string_view kDisplayError = "Can't initialize display.";
constexpr std::string_view kSoundError = "Couldn't create sound buffer";
constexpr std::int32_t kFullscreenDepth = 32;
constexpr int kFullscreenClears = 3;
constexpr std::int32_t kBlack = 0;

std::uint32_t Now(const Game& game) { return game.platform.clock->Milliseconds(); }
void Sleep(const Game& game, std::uint32_t ms) { game.platform.clock->Sleep(ms); }

void Fatal(Game& game, std::string_view text) {
  MessageShow(game.windows, kErrorTitle, text, 0);
  game.shell.fatalError = 1;
}

// Waits in 1 ms sleeps until period ms have passed since the last paced
// frame. A late frame is not made up for: the clock restarts from now.
void WaitForFrame(Game& game, std::uint32_t period) {
  ShellState& shell = game.shell;
  while (Now(game) - shell.lastFrameTime < period) Sleep(game, kPacingSleepMs);
  shell.lastFrameTime = Now(game);
  shell.elapsedMs = static_cast<std::int32_t>(shell.lastFrameTime - shell.startTime);
}

void Pace(Game& game) {
  ShellState& shell = game.shell;
  if (game.settings.FrameSkip == 0) {
    WaitForFrame(game, kFramePeriodMs);
    return;
  }
  shell.drawThisFrame = 1 - shell.drawThisFrame;
  if (shell.drawThisFrame == 1) WaitForFrame(game, kSkippedFramePeriodMs);
}

}  // namespace

bool DisplayOpen(Game& game) {
  ShellState& shell = game.shell;
  const Settings& s = game.settings;
  ComputeAspects(game);
  shell.windowHeight = WindowHeightFor(s.Windowwidth, shell.internalAspect);
  if (s.Windowed != 0) {
    const NativeWindow window =
        WindowOpen(game.windows, 0, 0, 0, s.Windowwidth, shell.windowHeight, kGameTitle, kGameWindowFlags);
    if (window == 0 ||
        !ScreenOpenWindowed(game.video, window, 0, 0, s.Windowwidth, shell.windowHeight, 0, 0, 0)) {
      Fatal(game, kDisplayError);
      return false;
    }
  } else {
    if (!ScreenOpenFullscreen(game.video, shell.screenWidth, shell.screenHeight, kFullscreenDepth, kGameTitle,
                              s.Vsync, s.RefreshRate)) {
      Fatal(game, kDisplayError);
      return false;
    }
    for (int k = 0; k < kFullscreenClears; ++k) {
      ScreenClear(game.video, kBlack);
      ScreenPresent(game.video);
    }
    ShowSystemCursor(game, 0);
  }
  shell.spritesBuilt = 0;
  return true;
}

bool DisplayReopen(Game& game, std::int32_t toggle) {
  ShellState& shell = game.shell;
  if (shell.displayRequest == -1) {
    shell.displayRequest = 3;
  } else {
    ReleaseAllSprites(game);
    ScreenClose(game.video);
    if (game.settings.Windowed != 0) WindowClose(game.windows, 0);
  }
  if (toggle != 0) game.settings.Windowed = 1 - game.settings.Windowed;
  return DisplayOpen(game);
}

bool SystemStartup(Game& game) {
  ShellState& shell = game.shell;
  DesktopEnumerate(game.video);
  shell.desktopWidth = DesktopGetWidth(game.video, 0);
  shell.desktopHeight = DesktopGetHeight(game.video, 0);
  game.platform.video->SetDesktopComposition(false);
  BuildDirectionTable(game.world);
  BuildGlyphAdvances(game);
  ReadEngineSettings(game);
  shell.spritesBuilt = 0;
  shell.joystickPresent = 0;
  shell.lastDesktopX = -1;
  shell.pointerSpeedFactor = 1.0f;
  shell.displayRequest = -1;
  shell.minimiseRequest = 0;
  shell.quitFlag = 0;
  shell.drawThisFrame = 1;
  game.settings.AudioVolume = kStartupVolume;
  shell.clearColour = kBlack;
  if (shell.screenWidth == 0) {  // only the width is tested
    shell.screenWidth = shell.desktopWidth;
    shell.screenHeight = shell.desktopHeight;
  }
  ComputeAspects(game);
  KeyboardInit(game.input);
  DetectJoystick(game);
  SpriteSystemInit(game.video, *game.platform.video);
  QuadInit(game.video);
  // The sound-device probe: without an output the game does not start.
  if (!SoundInit(game.sound, game.platform.audio) || !SoundDeviceOpen(game.sound)) {
    Fatal(game, kSoundError);
    return false;
  }
  game.platform.clock->HoldFineTimer(true);
  shell.startTime = shell.lastFrameTime = Now(game);
  return true;
}

void MainLoopStep(Game& game, const MainLoopHooks& hooks) {
  ShellState& shell = game.shell;
  if (shell.displayRequest == -1) {
    if (!DisplayReopen(game, 0)) return;
  } else if (shell.displayRequest == 1) {
    shell.displayRequest = 3;
    if (!DisplayReopen(game, 1)) return;
  }
  if (game.settings.Windowed != 0) {
    while (const std::int32_t event = WindowPollEvent(game.windows)) {
      if (event == kWindowCloseEvent) shell.quitFlag = 1;
    }
  }
  Pace(game);
  if (shell.drawThisFrame) ScreenPresent(game.video);

  if (ScreenIsActive(game.video)) {
    if (shell.spritesBuilt == 0) {
      BuildSprites(game);
      shell.spritesBuilt = 1;
    }
    if (hooks.beforeControls) hooks.beforeControls(game);
    UpdateControls(game);
    ScreenshotKey(game);
    if (hooks.beforeGameFrame) hooks.beforeGameFrame(game);
    GameFrame(game);
    if (hooks.afterGameFrame) hooks.afterGameFrame(game);
    if (shell.drawThisFrame) RenderFrame(game);
    ClearDrawQueues(game);
    if (shell.minimiseRequest == 1) {
      shell.minimiseRequest = 2;
      WindowMinimise(game.windows, ScreenWindowHandle(game.video));
    }
  } else {
    if (shell.spritesBuilt == 1) {  // only on the transition
      ReleaseAllSprites(game);
      SoundStop(game.sound, -1);
      shell.spritesBuilt = 0;
    }
    Sleep(game, kUnfocusedSleepMs);
  }
}

void SystemShutdown(Game& game) {
  ReleaseAllSprites(game);
  ScreenClose(game.video);
  game.platform.clock->HoldFineTimer(false);
  game.platform.video->SetDesktopComposition(true);
}

void RuntimeShutdown(Game& game) {
  MusicStop();
  WindowCloseAll(game.windows);
  SoundShutdown(game.sound);
  JoystickShutdown(game.input);
  QuadFreeAll(game.video);
  ImageFreeAll(game.video);
  SpriteSystemShutdown(game.video);
  KeyboardShutdown(game.input);
  InputLibraryRelease(game.input);
}

bool GameStart(Game& game, const Platform& platform, const MainLoopHooks& hooks) {
  game.platform = platform;
  const auto step = [&](std::string_view name) {
    if (hooks.afterStartupStep) hooks.afterStartupStep(game, name);
  };
  // Decoding the sounds is most of our start-up and needs nothing from the
  // rest of it: a worker decodes while start-up goes on, and the sounds go in
  // place just before the first one plays. Nothing looks at them in between,
  // so this is the same as loading them at their own step.
  std::future<std::vector<std::unique_ptr<Sound>>> decodedSounds =
      std::async(kBackgroundLaunch, DecodeEmbeddedSounds);
  // The sprite sheets likewise, for the first BuildSprites.
  game.decodedSheets = std::async(kBackgroundLaunch, DecodeSpriteSheets);
  // The runtime services that need their devices before start-up proper.
  game.video.device = platform.video;
  WindowSystemInit(game.windows, *platform.video);
  game.input.device = platform.input;
  CreateContainers(game);
  step("CreateContainers");

  if (!SystemStartup(game)) {
    RuntimeShutdown(game);
    return false;
  }
  step("SystemStartup");
  LoadUserSettings(game);
  step("LoadUserSettings");
  DefinePointerImages(game);
  BuildFrameTable(game);
  step("BuildFrameTable");
  PrepareTables(game);
  step("PrepareTables");
  InstallEmbeddedSounds(game.sound, decodedSounds.get());
  ApplyVolume(game);
  step("LoadEmbeddedSounds");
  SoundStart(game.sound, kSoundTitle);
  EnterState(game, kTitleMenu);
  step("EnterState");
  return true;
}

bool GameIterate(Game& game, const MainLoopHooks& hooks, std::int64_t iteration) {
  if (game.shell.quitFlag != 0) return false;
  if (hooks.beforeIteration && !hooks.beforeIteration(game, iteration)) return false;
  MainLoopStep(game, hooks);
  if (game.shell.fatalError) return false;
  if (hooks.afterIteration) hooks.afterIteration(game, iteration);
  return true;
}

std::uint32_t MsUntilNextStep(const Game& game, std::uint32_t now) {
  const ShellState& shell = game.shell;
  std::uint32_t period = kFramePeriodMs;
  if (game.settings.FrameSkip != 0) {
    if (shell.drawThisFrame == 1) return 0;  // the next step is not drawn and does not wait
    period = kSkippedFramePeriodMs;
  }
  const std::uint32_t waited = now - shell.lastFrameTime;
  return waited >= period ? 0 : period - waited;
}

void GameFinish(Game& game) {
  if (game.shell.fatalError) {  // the exit path: nothing is saved
    RuntimeShutdown(game);
    return;
  }
  if (game.shell.userFileReadOnly == 0) SaveUserSettings(game);
  SystemShutdown(game);
  RuntimeShutdown(game);
}

int GameMain(Game& game, const Platform& platform, const MainLoopHooks& hooks) {
  if (!GameStart(game, platform, hooks)) return 0;
  for (std::int64_t iteration = 0; GameIterate(game, hooks, iteration); ++iteration) {
  }
  GameFinish(game);
  return 0;
}

}  // namespace quorin
