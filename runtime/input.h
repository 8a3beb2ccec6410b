// The input layer: the keyboard snapshot taken once a frame, joysticks read
// as a digital direction and buttons, the mouse pointer in the game window or
// on the desktop. The control code (UpdateControls) is the only caller during
// play; start-up runs KeyboardInit and JoystickInit.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/input_device.h"
#include "runtime/key_codes.h"

namespace quorin {

inline constexpr std::uint8_t kKeyHeld = 128;
// Axis values must lie strictly beyond this to count as a direction.
inline constexpr int kJoystickDeadZone = 500;

// KeyboardDevice state: not created, created (not yet read), readable.
inline constexpr int kKeyboardNone = 0;
inline constexpr int kKeyboardCreated = 1;
inline constexpr int kKeyboardAcquired = 2;

struct KeyboardDevice {
  int state = kKeyboardNone;
  bool lastPollOk = false;  // queries answer only after a successful poll
  std::uint8_t keys[kKeyCodeCount] = {};
};

struct JoystickDevice {
  int lX = 0;  // -1000..1000 as of the last successful poll
  int lY = 0;
  std::array<std::uint8_t, kJoystickButtons> buttons{};  // 128 while held
  std::uint8_t start = 0;  // 128 while a game controller's Start is held
};

// Owned by the game; the device is the platform's.
struct InputSystem {
  InputDevice* device = nullptr;
  KeyboardDevice keyboard;
  std::vector<JoystickDevice> joysticks;
  bool joysticksOpened = false;
};

// Nonzero when the keyboard exists (made on the first call).
int KeyboardInit(InputSystem& input);
// 1 when a fresh snapshot was read; 0 (and every key reads up) otherwise.
int KeyboardPoll(InputSystem& input);
// 128 while the key is held, else 0; -1 gives 1 when any key 0..254 is held.
// Everything reads 0 unless the last poll succeeded.
int KeyIsHeld(const InputSystem& input, int code);
void KeyboardShutdown(InputSystem& input);
// Nothing is loaded at run time; kept for the exit sequence.
void InputLibraryRelease(InputSystem& input);

// Number of usable joysticks; a second call first closes them all.
int JoystickInit(InputSystem& input);
// 1 when a fresh state was read; otherwise the last state stays.
int JoystickPoll(InputSystem& input, int n);
// -1 below -500, 1 above 500, else 0 (and 0 for a missing joystick).
int JoystickDirX(const InputSystem& input, int n);
int JoystickDirY(const InputSystem& input, int n);
// Buttons from 1 to 32: 128 while held, else 0.
int JoystickButtonHeld(const InputSystem& input, int n, int button);
// 128 while the Start button of game controller n is held, else 0 (always 0
// for a joystick without a controller mapping).
int JoystickStartHeld(const InputSystem& input, int n);
// 1 when a joystick was plugged in or pulled out since the last JoystickInit.
int JoystickDevicesChanged(InputSystem& input);
void JoystickShutdown(InputSystem& input);

// Pointer in the window's client area, or -1 when it lies outside (left of or
// above the origin, at or beyond the width or height) or there is no window.
int WindowPointerX(InputSystem& input, NativeWindow window);
int WindowPointerY(InputSystem& input, NativeWindow window);
int DesktopPointerX(InputSystem& input);
int DesktopPointerY(InputSystem& input);
// 1 when the physical button (1 left, 2 right) is held or was pressed since
// the last ask.
int MouseButtonDown(InputSystem& input, int button);

void SystemCursorShow(InputSystem& input, int show);
void SystemCursorPlace(InputSystem& input, int desktopX, int desktopY);
void SystemCursorPlaceInWindow(InputSystem& input, NativeWindow window, int clientX, int clientY);

}  // namespace quorin
