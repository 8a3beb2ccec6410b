#include "app/controls.h"

#include <algorithm>
#include <cmath>

#include "app/display.h"
#include "runtime/input.h"
#include "runtime/key_codes.h"
#include "runtime/window.h"

namespace quorin {
namespace {

constexpr float kPictureWidthF = static_cast<float>(kPictureWidth);
constexpr std::int32_t kGameWindowId = 0;
constexpr std::int32_t kNoDesktopPosition = -1;  // lastDesktopX: no reference yet
constexpr int kPointerOutside = -1;              // WindowPointerX outside the client area

// displayRequest values written here (the main loop owns the others).
constexpr std::int32_t kDisplayArmed = 0;
constexpr std::int32_t kDisplayToggle = 1;
// minimiseRequest: 1 asks the main loop to minimise once (it then sets 2).
constexpr std::int32_t kMinimiseIdle = 0;
constexpr std::int32_t kMinimiseWanted = 1;

bool Down(const Game& game, int code) {
  return KeyIsHeld(game.input, code) != 0;
}

void RecordDesktopPointer(Game& game) {
  game.shell.lastDesktopX = DesktopPointerX(game.input);
  game.shell.lastDesktopY = DesktopPointerY(game.input);
}

bool DesktopPointerMoved(Game& game, int x, int y) {
  return x != game.shell.lastDesktopX || y != game.shell.lastDesktopY;
}

// Pointer inside the window: the game draws its own and hides the system's.
// Absolute: the system pointer's client position is the game pointer's place.
// Relative (WindowCursorScaling): desktop motion moves the game pointer and
// the system pointer is put back under it, so pointerSpeedFactor can slow it.
void WindowedPointer(Game& game) {
  ShellState& shell = game.shell;
  const Settings& settings = game.settings;
  const NativeWindow window = WindowNativeHandle(game.windows, kGameWindowId);
  if (WindowPointerX(game.input, window) == kPointerOutside) {
    ShowSystemCursor(game, 1);
    shell.lastDesktopX = kNoDesktopPosition;
    shell.lastDesktopY = kNoDesktopPosition;
    return;
  }
  ShowSystemCursor(game, 0);
  const int wx = WindowPointerX(game.input, window);
  const int wy = WindowPointerY(game.input, window);
  const int dx0 = DesktopPointerX(game.input);
  const int dy0 = DesktopPointerY(game.input);
  if (!DesktopPointerMoved(game, dx0, dy0)) return;

  const float width = static_cast<float>(settings.Windowwidth);
  // A window of no width shows no picture; the pointer has nowhere to go.
  if (shell.lastDesktopX != kNoDesktopPosition && settings.Windowwidth > 0) {
    if (settings.WindowCursorScaling != 0) {
      const float scale = kPictureWidthF / width * shell.pointerSpeedFactor;
      shell.pointerX += static_cast<float>(dx0 - shell.lastDesktopX) * scale;
      shell.pointerY += static_cast<float>(dy0 - shell.lastDesktopY) * scale;
      // Before the clamp: pushing past an edge puts the system pointer outside
      // the client area, which lets the mouse leave the window.
      SystemCursorPlaceInWindow(game.input, window,
                                static_cast<int>(std::trunc(shell.pointerX / kPictureWidthF * width)),
                                static_cast<int>(std::trunc(shell.pointerY / kPictureWidthF * width)));
    } else {
      shell.pointerX = static_cast<float>(wx) / width * kPictureWidthF;
      shell.pointerY = static_cast<float>(wy) / width * kPictureWidthF;
    }
  }
  // Read again: after a cursor move this is the new place.
  RecordDesktopPointer(game);
}

// The desktop rectangle that shows the full screen. Without a display mode of
// the screen's size the screen is scaled onto the whole display, so the
// pointer, read in desktop pixels, is mapped through this, not through
// screenWidth x screenHeight.
struct ScreenOutputArea {
  std::int32_t x, y, width, height;
};

ScreenOutputArea OutputArea(const Game& game) {
  const ScreenState& s = game.video.screen;
  if (!s.open || s.outputWidth <= 0 || s.outputHeight <= 0) {
    return {0, 0, game.shell.screenWidth, game.shell.screenHeight};
  }
  return {s.outputX, s.outputY, s.outputWidth, s.outputHeight};
}

// A desktop point in the screen's own pixels: the screen's picture fills its
// output, or is enlarged into it and centred (bars on two sides).
void DesktopToScreen(const Game& game, float& px, float& py) {
  const ScreenOutputArea out = OutputArea(game);
  const float screenW = static_cast<float>(game.shell.screenWidth);
  const float screenH = static_cast<float>(game.shell.screenHeight);
  const float outW = static_cast<float>(out.width);
  const float outH = static_cast<float>(out.height);
  if (out.width == game.shell.screenWidth && out.height == game.shell.screenHeight) {
    px -= static_cast<float>(out.x);
    py -= static_cast<float>(out.y);
    return;
  }
  const float scale = std::min(outW / screenW, outH / screenH);
  px = (px - static_cast<float>(out.x) - (outW - screenW * scale) / 2) / scale;
  py = (py - static_cast<float>(out.y) - (outH - screenH * scale) / 2) / scale;
}

// Absolute (TabletMode): the system pointer's place on the screen maps onto
// the picture as it is placed on the screen, bars included.
void TabletPointer(Game& game) {
  ShellState& shell = game.shell;
  const float screenW = static_cast<float>(shell.screenWidth);
  const float screenH = static_cast<float>(shell.screenHeight);
  const float display = shell.displayAspect;
  const float internal = shell.internalAspect;
  if (shell.screenWidth <= 0 || shell.screenHeight <= 0 || !(display > 0) || !(internal > 0)) return;
  float px = static_cast<float>(DesktopPointerX(game.input));
  float py = static_cast<float>(DesktopPointerY(game.input));
  DesktopToScreen(game, px, py);
  if (internal == display) {
    shell.pointerX = px / screenW * kPictureWidthF;
    shell.pointerY = py / screenH * kPictureWidthF / display;
  } else if (internal > display) {
    const float band = screenH * display / internal;  // picture height on screen
    py -= (screenH - band) / 2;
    shell.pointerX = px / screenW * kPictureWidthF;
    shell.pointerY = py / screenH * kPictureWidthF / display;
  } else {
    const float band = screenW * internal / display;  // picture width on screen
    px -= (screenW - band) / 2;
    shell.pointerX = px / band * kPictureWidthF;
    shell.pointerY = py / screenH * kPictureWidthF / internal;
  }
}

// Full screen, relative (TabletMode 0): desktop motion moves the game pointer,
// and the hidden system cursor goes back to the screen centre so motion never
// stops at a screen edge.
void FullscreenPointer(Game& game) {
  ShellState& shell = game.shell;
  const Settings& settings = game.settings;
  const int dx0 = DesktopPointerX(game.input);
  const int dy0 = DesktopPointerY(game.input);
  if (!DesktopPointerMoved(game, dx0, dy0)) return;
  if (settings.TabletMode != 0) {
    TabletPointer(game);
  } else {
    // Without a reference (the pointer had left the window before the switch)
    // this movement only sets one, instead of a jump measured from -1.
    // Scaled by the window width, as in a window, so both modes feel alike.
    if (shell.lastDesktopX != kNoDesktopPosition && settings.Windowwidth > 0) {
      const float scale = kPictureWidthF / static_cast<float>(settings.Windowwidth) *
                          settings.FullscreenMouseSpeed * shell.pointerSpeedFactor;
      shell.pointerX += static_cast<float>(dx0 - shell.lastDesktopX) * scale;
      shell.pointerY += static_cast<float>(dy0 - shell.lastDesktopY) * scale;
    }
    const ScreenOutputArea out = OutputArea(game);
    SystemCursorPlace(game.input, out.x + out.width / 2, out.y + out.height / 2);
  }
  RecordDesktopPointer(game);
}

// The direction keys or the joystick steer the pointer at Cursorspeed pixels
// a frame, never faster on a diagonal.
void DirectionPointer(Game& game) {
  const Controls& c = game.controls;
  ShellState& shell = game.shell;
  if (game.settings.JoyCursor == 0 || (c.dirX == 0 && c.dirY == 0)) return;
  const float x = static_cast<float>(c.dirX);
  const float y = static_cast<float>(c.dirY);
  const float angle = std::atan2(y, x);
  const float m = std::min(std::sqrt(x * x + y * y), 1.0f);
  const float step = game.settings.Cursorspeed * m * shell.pointerSpeedFactor;
  shell.pointerX += std::cos(angle) * step;
  shell.pointerY += std::sin(angle) * step;
}

// Written so that a NaN (from absurd speed settings) also lands on a bound.
float ClampPointer(float value, float high) {
  if (!(value >= 0)) return 0;
  if (!(value <= high)) return high;
  return value;
}

}  // namespace

void DetectJoystick(Game& game) {
  if (JoystickInit(game.input) > 0) game.shell.joystickPresent = 1;
}

void ReadJoystick(Game& game) {
  const int id = game.settings.JoystickId;
  Controls& c = game.controls;
  JoystickPoll(game.input, id);
  c.dirX = JoystickDirX(game.input, id);
  c.dirY = JoystickDirY(game.input, id);
  // The device reports 32 buttons; higher numbers never read as held.
  const int buttons = std::min(game.settings.JoystickButtons, kJoystickButtons);
  for (int k = 1; k <= buttons; ++k) {
    if (JoystickButtonHeld(game.input, id, k) == 0) continue;
    if (k % 2 == 1) {
      c.button1 = 1;
    } else {
      c.button2 = 1;
    }
  }
}

void ReadKeyboard(Game& game) {
  Controls& c = game.controls;
  ShellState& shell = game.shell;
  const Settings& s = game.settings;
  KeyboardPoll(game.input);

  if (Down(game, s.Key1)) c.button1 = 1;
  if (Down(game, s.Key2)) c.button2 = 1;
  // Added to the joystick's directions; UpdateControls clamps the sum.
  if (Down(game, s.KeyLeft)) c.dirX -= 1;
  if (Down(game, s.KeyRight)) c.dirX += 1;
  if (Down(game, s.KeyUp)) c.dirY -= 1;
  if (Down(game, s.KeyDown)) c.dirY += 1;

  const bool escape = Down(game, kKeyEscape);
  c.escapePressed = (escape && shell.escapeWasDown == 0) ? 1 : 0;
  shell.escapeWasDown = escape ? 1 : 0;

  if (!Down(game, kKeyLeftAlt)) return;
  if (Down(game, kKeyReturn)) {
    // Enter belongs to the combination, not to button 1.
    c.button1 = 0;
    // Only an armed request toggles, so Alt+Enter held toggles once.
    if (shell.displayRequest == kDisplayArmed) shell.displayRequest = kDisplayToggle;
  } else {
    shell.displayRequest = kDisplayArmed;
  }
  // In a window the desktop handles Alt+Tab itself.
  if (Down(game, kKeyTab) && s.Windowed == 0) {
    if (shell.minimiseRequest == kMinimiseIdle) shell.minimiseRequest = kMinimiseWanted;
  } else {
    shell.minimiseRequest = kMinimiseIdle;
  }
  if (Down(game, kKeyF4)) shell.quitFlag = 1;
}

void UpdateControls(Game& game) {
  Controls& c = game.controls;
  ShellState& shell = game.shell;
  const std::int32_t previous1 = c.button1;
  const std::int32_t previous2 = c.button2;
  c.button1 = 0;
  c.button2 = 0;
  c.dirX = 0;
  c.dirY = 0;

  if (shell.joystickPresent != 0) ReadJoystick(game);
  ReadKeyboard(game);
  if (MouseButtonDown(game.input, kMouseLeft) != 0) c.button1 = 1;
  if (MouseButtonDown(game.input, kMouseRight) != 0) c.button2 = 1;
  // After every source, so keyboard and joystick buttons swap too.
  if (game.settings.SwapButtons != 0) std::swap(c.button1, c.button2);

  c.button1Pressed = (c.button1 == 1 && previous1 == 0) ? 1 : 0;
  c.button2Pressed = (c.button2 == 1 && previous2 == 0) ? 1 : 0;

  if (game.settings.Windowed != 0) {
    WindowedPointer(game);
  } else {
    FullscreenPointer(game);
  }

  c.dirX = std::clamp(c.dirX, -1, 1);
  c.dirY = std::clamp(c.dirY, -1, 1);
  DirectionPointer(game);

  const float bottom = shell.internalAspect > 0 ? kPictureWidthF / shell.internalAspect : kPictureWidthF;
  shell.pointerX = ClampPointer(shell.pointerX, kPictureWidthF);
  shell.pointerY = ClampPointer(shell.pointerY, bottom);
}

void ShowSystemCursor(Game& game, std::int32_t show) {
  // The cursor layer keeps a plain shown/hidden state, so one call settles it.
  SystemCursorShow(game.input, show != 0 ? 1 : 0);
}

}  // namespace quorin
