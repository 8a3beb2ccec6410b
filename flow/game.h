// The one Game object: every record of the running program, grouped by
// subsystem. Operations receive it by reference; nothing lives in globals.
#pragma once

#include <cstdint>
#include <future>
#include <memory>

#include "flow/draw_queues.h"
#include "flow/menus.h"
#include "flow/sprite_sheets.h"
#include "runtime/array.h"
#include "runtime/input.h"
#include "runtime/platform.h"
#include "runtime/screen.h"
#include "runtime/sound.h"
#include "runtime/window.h"
#include "runtime/text.h"
#include "world/world.h"

namespace quorin {

// The shell's process-wide variables.
struct ShellState {
  std::int32_t elapsedMs = 0;
  std::uint32_t startTime = 0;
  std::uint32_t lastFrameTime = 0;
  std::int32_t displayRequest = -1;  // -1 first open, 0 armed, 1 toggle, 3 idle
  std::int32_t minimiseRequest = 0;
  std::int32_t quitFlag = 0;
  std::int32_t spritesBuilt = 0;
  std::int32_t drawThisFrame = 1;
  float pointerSpeedFactor = 1.0f;
  std::int32_t lastDesktopX = -1;
  std::int32_t joystickPresent = 0;
  std::int32_t clearColour = 0;
  std::int32_t fatalError = 0;  // a fatal message was shown: leave without saving
  std::int32_t userFileReadOnly = 0;  // a replay reads the user file and never writes it

  // Display geometry.
  std::int32_t desktopWidth = 0;
  std::int32_t desktopHeight = 0;
  std::int32_t screenWidth = 0;
  std::int32_t screenHeight = 0;
  float displayAspect = 0;
  float internalAspect = 0;
  std::int32_t internalHeight = 0;
  std::int32_t windowHeight = 0;

  // The game's own pointer, in internal pixels.
  float pointerX = 0;
  float pointerY = 0;
  std::int32_t pointerImage = 0;  // 0 none, 1 arrow, 2 hand
  std::int32_t lastDesktopY = 0;
  std::int32_t escapeWasDown = 0;
  std::int32_t joystickEscape = 0;  // Start of the game controller held this frame
  std::int32_t screenshotKeyWasDown = 0;
};

// The per-frame controls read from keyboard, joystick and mouse.
struct Controls {
  std::int32_t dirX = 0;
  std::int32_t dirY = 0;
  std::int32_t button1 = 0;
  std::int32_t button2 = 0;
  std::int32_t button1Pressed = 0;
  std::int32_t button2Pressed = 0;
  std::int32_t escapePressed = 0;
};

// The engine.ini settings under their file keys, and the live settings the
// options screen and the user file change.
struct Settings {
  float Cursorspeed = 0;
  std::int32_t SwapButtons = 0;
  std::int32_t JoyCursor = 0;
  std::int32_t Key1 = 0;
  std::int32_t Key2 = 0;
  std::int32_t KeyLeft = 0;
  std::int32_t KeyRight = 0;
  std::int32_t KeyUp = 0;
  std::int32_t KeyDown = 0;
  float FullscreenMouseSpeed = 0;
  std::int32_t TabletMode = 0;
  std::int32_t WindowCursorScaling = 0;
  std::int32_t Fullscreenwidth = 0;
  std::int32_t Fullscreenheight = 0;
  std::int32_t FullscreenAspect = 0;
  std::int32_t InternalAspect = 0;
  std::int32_t Windowwidth = 0;
  std::int32_t Windowed = 0;
  std::int32_t SpritesMainMem = 0;
  std::int32_t BilinearFiltering = 0;
  std::int32_t Vsync = 0;
  std::int32_t RefreshRate = 0;
  std::int32_t FrameSkip = 0;
  std::int32_t JoystickId = 0;
  std::int32_t JoystickButtons = 0;
  std::int32_t StoreUserDataLocally = 0;
  std::int32_t SavePrefsOnExit = 0;

  std::int32_t AudioVolume = 0;  // volume step 0..4, from the user file
  Text userFilePath;             // empty when no usable location exists
};

// One entry of the user file: key and value as texts.
struct SettingsEntry {
  std::int32_t used = 0;
  Text key;
  Text value;
};

constexpr int kSettingsTableSize = 33;

// The values the options screen shows and the user file keeps.
struct OptionsState {
  std::int32_t volumeChoice = 0;
  std::int32_t windowedChoice = 0;
  std::int32_t smoothingChoice = 0;
  std::int32_t HiScore = 0;
  std::int32_t MaxBounce = 0;
};

struct LayoutImage;

// The game flow: the state machine, the menus and the HUD's score.
struct FlowState {
  std::int32_t GameState = 0;
  std::int32_t hoveredEntry = 0;
  std::int32_t hoverSoundOn = 0;
  std::int32_t displayedScore = 0;
  List<MenuEntry> menu;

  // Bit i set when sound i was started during the current GameFrame; the
  // frame clears it when it begins.
  std::uint32_t soundsStarted = 0;
  // EnterState(Playing) calls since start-up.
  std::int32_t gamesStarted = 0;
  // The world new games are generated from; null plays the embedded one.
  std::shared_ptr<const LayoutImage> layout;
};

struct Game {
  ShellState shell;
  Controls controls;
  Settings settings;
  OptionsState options;
  Array<SettingsEntry> settingsTable;
  FlowState flow;
  Presentation presentation;
  World world;

  // The runtime services; the devices under them belong to the platform.
  Platform platform;
  VideoState video;
  WindowLayer windows;
  InputSystem input;
  SoundSystem sound;
  // The sprite sheets as a start-up worker decodes them, until the first
  // BuildSprites takes them.
  std::future<SpriteSheetImages> decodedSheets;
};

}  // namespace quorin
